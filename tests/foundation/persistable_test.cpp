#include "prvdrinfo/foundation/persistable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/error.h"
#include "support/bag_test_classes.h"

namespace prvdrinfo {
namespace {

using testing::TestPoint;
using testing::TestShape;

template <class Body>
CError CaptureError(Body&& body) {
  try {
    body();
  } catch (const CError& e) {
    return e;
  }
  ADD_FAILURE() << "no CError raised";
  return CError(0, "", "none");
}

class PersistableTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::RegisterBagTestClasses(); }

  static std::shared_ptr<TestShape> SampleShape() {
    auto shape = std::make_shared<TestShape>();
    shape->name = "Triangle";
    shape->origin = std::make_shared<TestPoint>();
    shape->origin->x = 3;
    shape->origin->y = -4;
    shape->corner = std::make_shared<TestPoint>();
    shape->corner->label = "far";
    return shape;
  }
};

TEST_F(PersistableTest, DeserializedCopySerializesToTheSameBytes) {
  const auto shape = SampleShape();
  const Bytes bytes = shape->Serialize();
  TestShape copy;
  copy.Deserialize(bytes);
  EXPECT_EQ(copy.name, "Triangle");
  ASSERT_NE(copy.origin, nullptr);
  EXPECT_EQ(copy.origin->y, -4);
  EXPECT_NE(copy.origin, shape->origin);
  EXPECT_EQ(copy.corner->label, "far");
  EXPECT_EQ(copy.Serialize(), bytes);

  const Variant v = shape->SerializeV();
  EXPECT_EQ(v.Type(), VariantType::ByteArray);
  EXPECT_EQ(v.AsBytes(), bytes);
  TestShape viaVariant;
  viaVariant.DeserializeV(v);
  EXPECT_EQ(viaVariant.Serialize(), bytes);
}

TEST_F(PersistableTest, FieldsAtTheirDefaultsAreAbsentAndLoadAsDefaults) {
  TestPoint fresh;
  PropertyBag bag;
  bag.SetContents(fresh.Serialize());
  EXPECT_EQ(bag.Count(), 0u);

  TestPoint loaded;
  loaded.x = 5;
  loaded.label = "changed";
  loaded.Deserialize(fresh.Serialize());
  EXPECT_EQ(loaded.x, 0);
  EXPECT_EQ(loaded.label, "point");
}

TEST_F(PersistableTest, UndecodableBytesRaiseAndLeaveTheObjectUnchanged) {
  const Bytes good = SampleShape()->Serialize();
  const std::vector<Bytes> bad = {
      {},
      {0x00},
      Bytes(good.begin(), good.end() - 1),
      bag_codec::EncodeKeyedItems({}),
  };
  for (const Bytes& bytes : bad) {
    auto shape = SampleShape();
    const CError e = CaptureError([&] { shape->Deserialize(bytes); });
    EXPECT_EQ(e.Number(), err::kInvalidBagContents);
    EXPECT_EQ(shape->Serialize(), good);
  }
}

TEST_F(PersistableTest, DeserializeVNeedsAByteArray) {
  const Bytes good = SampleShape()->Serialize();
  for (const Variant& v : {Variant(), Variant("bytes?"), Variant(int32_t{1}), Variant::Null(),
                           Variant(std::static_pointer_cast<IObject>(SampleShape()))}) {
    auto shape = SampleShape();
    EXPECT_EQ(CaptureError([&] { shape->DeserializeV(v); }).Number(), err::kTypeMismatch);
    EXPECT_EQ(shape->Serialize(), good);
  }
}

TEST_F(PersistableTest, NestedObjectOfAnotherClassFailsTheLoadMidway) {
  PropertyBag bag;
  bag.WriteProperty("Name", "Kept");
  bag.WriteProperty("Origin", std::make_shared<TestShape>());  // a shape where a point belongs
  TestShape shape;
  shape.name = "Before";
  EXPECT_EQ(CaptureError([&] { shape.Deserialize(bag.Contents()); }).Number(), err::kTypeMismatch);
  EXPECT_EQ(shape.name, "Kept");  // set before the failing field, and not rolled back
}

TEST_F(PersistableTest, UnknownClassRaises429NamingTheClass) {
  PropertyBag::Entry entry{"Origin", Variant(),
                           std::make_shared<NestedObject>(
                               NestedObject{"CNoSuchThing", std::make_shared<PropertyBag>()})};
  PropertyBag bag;
  bag.AppendDecoded(entry);
  TestShape shape;
  const CError e = CaptureError([&] { shape.Deserialize(bag.Contents()); });
  EXPECT_EQ(e.Number(), err::kCannotCreateObject);
  EXPECT_NE(e.Description().find("'CNoSuchThing'"), std::string::npos) << e.Description();
  EXPECT_FALSE(ClassRegistry::IsRegistered("CNoSuchThing"));
}

// A load routine that fails three calls down: Class_ReadProperties -> ReadParts ->
// ReadCount -> a typed read of text that is no number.
constexpr ErrorSite kReadParts{"E930BWAV4L5D95XUJ6CHR7R1P", "Deep.ReadParts"};
constexpr ErrorSite kReadCount{"37GGQTKIA8WPLULJUEOQKQUNZ", "Deep.ReadCount"};
constexpr ErrorSite kDeepLoad{"O0BHPY3GPCSIY7XF2IZQ1JVDM", "Deep.Class_ReadProperties"};

class Deep : public CPersistable {
 public:
  std::string ClassName() const override { return "Deep"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    bag.WriteProperty("Count", "many");
  }
  void Class_ReadProperties(const PropertyBag& bag) override {
    kDeepLoad.Guard([&] { ReadParts(bag); });
  }

 private:
  void ReadParts(const PropertyBag& bag) {
    kReadParts.Guard([&] { count_ = ReadCount(bag); });
  }
  static int32_t ReadCount(const PropertyBag& bag) {
    return kReadCount.Guard([&] { return bag.ReadLong("Count"); });
  }
  int32_t count_ = 0;
};

TEST_F(PersistableTest, AnErrorThreeCallsDeepReachesTheCallerWithItsFirstNumberAndText) {
  Deep deep;
  const CError e = CaptureError([&] { deep.Deserialize(deep.Serialize()); });
  EXPECT_EQ(e.Number(), err::kTypeMismatch);
  EXPECT_EQ(e.Description(), "Type mismatch");
  std::vector<std::string> ids;
  for (const auto& location : e.Locations()) ids.push_back(location.id);
  const std::vector<std::string> chain = {"37GGQTKIA8WPLULJUEOQKQUNZ", "E930BWAV4L5D95XUJ6CHR7R1P",
                                          "O0BHPY3GPCSIY7XF2IZQ1JVDM"};
  const auto first = std::find(ids.begin(), ids.end(), chain.front());
  ASSERT_NE(first, ids.end());
  EXPECT_TRUE(std::equal(chain.begin(), chain.end(), first)) << e.Report();
  EXPECT_GT(first - ids.begin(), 0);  // the raising site inside the bag comes first
  EXPECT_LT(static_cast<size_t>(first - ids.begin()) + chain.size(),
            ids.size());  // then Deserialize's
}

// Keeps a child as the child's own serialized bytes, as classes that deep-copy through
// bytes do; crafted bytes can nest such loads far deeper than any honest object.
class Matryoshka : public CPersistable {
 public:
  std::string ClassName() const override { return "Matryoshka"; }
  void Class_WriteProperties(PropertyBag& bag) const override { bag.WriteProperty("Inner", inner); }
  void Class_ReadProperties(const PropertyBag& bag) override {
    inner = bag.ReadBytes("Inner");
    levels = 1;
    if (inner.empty()) return;
    Matryoshka child;
    child.Deserialize(inner);
    levels += child.levels;
  }
  Bytes inner;
  int levels = 0;
};

Bytes MatryoshkaBytes(int levels) {
  Bytes bytes;
  for (int i = 0; i < levels; ++i) {
    Matryoshka doll;
    doll.inner = bytes;
    bytes = doll.Serialize();
  }
  return bytes;
}

TEST_F(PersistableTest, LoadsNestedThroughBytesStopAtTheLoadDepthLimit) {
  Matryoshka doll;
  doll.Deserialize(MatryoshkaBytes(200));
  EXPECT_EQ(doll.levels, 200);
  Matryoshka deep;
  EXPECT_EQ(CaptureError([&] { deep.Deserialize(MatryoshkaBytes(300)); }).Number(),
            err::kInvalidBagContents);
  // The counter is back at zero afterwards.
  Matryoshka again;
  again.Deserialize(MatryoshkaBytes(200));
  EXPECT_EQ(again.levels, 200);
}

TEST_F(PersistableTest, RegistryCreatesRegisteredClassesAndTheLastRegistrationWins) {
  struct Other : TestPoint {
    std::string ClassName() const override { return "PersistableTest.Swapped"; }
  };
  ClassRegistry::Register<TestPoint>("PersistableTest.Swapped");
  EXPECT_TRUE(ClassRegistry::IsRegistered("PersistableTest.Swapped"));
  EXPECT_EQ(ClassRegistry::Create("PersistableTest.Swapped")->ClassName(), "TestPoint");
  ClassRegistry::Register<Other>("PersistableTest.Swapped");
  EXPECT_EQ(ClassRegistry::Create("PersistableTest.Swapped")->ClassName(),
            "PersistableTest.Swapped");

  // Class names are exact: the registry is not a case-insensitive lookup.
  EXPECT_FALSE(ClassRegistry::IsRegistered("testpoint"));

  ClassRegistry::Register("PersistableTest.Null", [] { return std::shared_ptr<IPersistable>(); });
  EXPECT_EQ(CaptureError([] { ClassRegistry::Create("PersistableTest.Null"); }).Number(),
            err::kCannotCreateObject);
  EXPECT_EQ(
      CaptureError([] { ClassRegistry::Register("PersistableTest.Empty", nullptr); }).Number(),
      err::kInvalidProcedureCall);
}

TEST_F(PersistableTest, RegistryServesSeveralThreadsAtOnce) {
  std::atomic<int> created{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &created] {
      for (int i = 0; i < 200; ++i) {
        ClassRegistry::Register<TestPoint>("PersistableTest.Thread" + std::to_string(t) + "." +
                                           std::to_string(i % 10));
        if (ClassRegistry::Create(TestPoint::kClassName)) ++created;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(created.load(), 800);
}

}  // namespace
}  // namespace prvdrinfo
