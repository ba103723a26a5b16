#include "prvdrinfo/foundation/property_bag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "support/bag_test_classes.h"

namespace prvdrinfo {
namespace {

using testing::TestPoint;
using testing::TestShape;

class PropertyBagTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::RegisterBagTestClasses(); }
};

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

struct TypedValue {
  const char* name;
  Variant value;
};

std::vector<TypedValue> EveryValueType() {
  return {
      {"Empty", Variant()},
      {"Null", Variant::Null()},
      {"IntegerMin", Variant(std::numeric_limits<int16_t>::min())},
      {"IntegerMax", Variant(std::numeric_limits<int16_t>::max())},
      {"IntegerZero", Variant(int16_t{0})},
      {"LongMin", Variant(std::numeric_limits<int32_t>::min())},
      {"LongMax", Variant(std::numeric_limits<int32_t>::max())},
      {"LongSmall", Variant(int32_t{23})},
      {"LongNegative", Variant(int32_t{-24})},
      {"True", Variant(true)},
      {"False", Variant(false)},
      {"Double", Variant(0.1)},
      {"DoubleTiny", Variant(std::numeric_limits<double>::denorm_min())},
      {"DoubleHuge", Variant(-std::numeric_limits<double>::max())},
      {"DoubleInfinite", Variant(std::numeric_limits<double>::infinity())},
      {"Date", Variant::FromDate(45292.75)},
      {"DateBefore1899", Variant::FromDate(-1.5)},
      {"Currency", Variant(Currency::FromString("-12.3456"))},
      {"CurrencyMax", Variant(Currency::FromScaled(std::numeric_limits<int64_t>::max()))},
      {"CurrencyMin", Variant(Currency::FromScaled(std::numeric_limits<int64_t>::min()))},
      {"Text", Variant("Zürich 東京 \xF0\x9F\x99\x82")},
      {"TextEmpty", Variant("")},
      {"TextWithNul", Variant(std::string("a\0b", 3))},
      {"Bytes", Variant(Bytes{0, 1, 0xFE, 0xFF})},
      {"BytesEmpty", Variant(Bytes{})},
      {"BytesLarge", Variant(Bytes(70000, 0xAB))},
      {"Nothing", Variant(std::shared_ptr<IObject>())},
  };
}

TEST_F(PropertyBagTest, EveryValueTypeSurvivesContentsWithItsOwnType) {
  PropertyBag bag;
  for (const auto& [name, value] : EveryValueType()) bag.WriteProperty(name, value);
  const Bytes bytes = bag.Contents();

  PropertyBag loaded;
  loaded.SetContents(bytes);
  ASSERT_EQ(loaded.Count(), EveryValueType().size());
  size_t position = 0;
  for (const auto& [name, value] : EveryValueType()) {
    SCOPED_TRACE(name);
    EXPECT_EQ(loaded.Entries()[position++].key, name);  // order kept
    const Variant read = loaded.ReadProperty(name);
    EXPECT_EQ(read.Type(), value.Type());
    EXPECT_TRUE(read == value);
  }
  EXPECT_EQ(loaded.Contents(), bytes);
}

TEST_F(PropertyBagTest, NaNAndNegativeZeroKeepTheirBits) {
  PropertyBag bag;
  bag.WriteProperty("NaN", std::numeric_limits<double>::quiet_NaN());
  bag.WriteProperty("NegativeZero", -0.0);
  PropertyBag loaded;
  loaded.SetContents(bag.Contents());
  EXPECT_TRUE(std::isnan(loaded.ReadDouble("NaN")));
  EXPECT_TRUE(std::signbit(loaded.ReadDouble("NegativeZero")));
  EXPECT_EQ(loaded.Contents(), bag.Contents());
}

TEST_F(PropertyBagTest, SameContentGivesSameBytesAndOrderIsKept) {
  auto fill = [](PropertyBag& bag, bool reversed) {
    std::vector<std::pair<std::string, Variant>> values = {
        {"Caption", Variant("View")}, {"Width", Variant(int32_t{120})}, {"Visible", Variant(true)}};
    if (reversed) std::reverse(values.begin(), values.end());
    for (const auto& [key, value] : values) bag.WriteProperty(key, value);
  };
  PropertyBag a, b, c;
  fill(a, false);
  fill(b, false);
  fill(c, true);
  EXPECT_EQ(a.Contents(), b.Contents());
  EXPECT_EQ(a.Contents(), a.Contents());
  EXPECT_NE(a.Contents(), c.Contents());
  EXPECT_EQ(c.Entries().front().key, "Visible");
}

TEST_F(PropertyBagTest, ValueEqualToItsDefaultIsNotStored) {
  PropertyBag empty;
  PropertyBag bag;
  bag.WriteProperty("Caption", "", "");
  bag.WriteProperty("Width", int32_t{0}, int32_t{0});
  bag.WriteProperty("Rate", Currency::FromScaled(5), Currency::FromScaled(5));
  bag.WriteProperty("Owner", std::shared_ptr<IObject>(), std::shared_ptr<IObject>());
  EXPECT_EQ(bag.Count(), 0u);
  EXPECT_EQ(bag.Contents(), empty.Contents());
  EXPECT_EQ(bag.ReadLong("Width", 77), 77);  // reading back yields the default

  // Same value, other type: stored.
  bag.WriteProperty("Kind", int16_t{3}, int32_t{3});
  bag.WriteProperty("When", Variant::FromDate(2.0), 2.0);
  EXPECT_EQ(bag.Count(), 2u);
  EXPECT_EQ(bag.ReadProperty("Kind").Type(), VariantType::Integer);

  // Without a default a key is always stored.
  bag.WriteProperty("Zero", int32_t{0});
  EXPECT_TRUE(bag.Exists("Zero"));
}

TEST_F(PropertyBagTest, WritingTheDefaultRemovesAnEarlierValueAndKeepsTheOthersInOrder) {
  PropertyBag bag;
  bag.WriteProperty("A", 1);
  bag.WriteProperty("B", 2);
  bag.WriteProperty("C", 3);
  bag.WriteProperty("b", 0, 0);
  ASSERT_EQ(bag.Count(), 2u);
  EXPECT_EQ(bag.Entries()[0].key, "A");
  EXPECT_EQ(bag.Entries()[1].key, "C");
  EXPECT_EQ(bag.ReadLong("c"), 3);  // the index still points at the right entry
  EXPECT_FALSE(bag.Exists("B"));
}

TEST_F(PropertyBagTest, KeysCompareWithoutRegardToCase) {
  PropertyBag bag;
  bag.WriteProperty("EditabilityLinkedColumNGuid", "{A}");
  bag.WriteProperty("Straße", 1);
  PropertyBag loaded;
  loaded.SetContents(bag.Contents());
  EXPECT_EQ(loaded.ReadText("EditabilityLinkedColumnGuid"), "{A}");
  EXPECT_EQ(loaded.ReadLong("STRASSE"), 1);  // full case folding: ß is ss

  // Writing a key again in another spelling replaces the value in its place.
  bag.WriteProperty("Other", 9);
  bag.WriteProperty("EDITABILITYLINKEDCOLUMNGUID", "{B}");
  ASSERT_EQ(bag.Count(), 3u);
  EXPECT_EQ(bag.Entries()[0].key, "EDITABILITYLINKEDCOLUMNGUID");
  EXPECT_EQ(bag.ReadText("editabilitylinkedcolumnguid"), "{B}");
}

TEST_F(PropertyBagTest, MissingKeysGiveTheDefault) {
  PropertyBag bag;
  EXPECT_TRUE(bag.ReadProperty("Nope").IsEmpty());
  EXPECT_TRUE(bag.ReadProperty("Nope", Variant(int32_t{4})) == Variant(int32_t{4}));
  EXPECT_EQ(bag.ReadText("Nope", "x"), "x");
  EXPECT_EQ(bag.ReadCurrency("Nope", Currency::FromScaled(1)), Currency::FromScaled(1));
  EXPECT_TRUE(bag.ReadBytes("Nope").empty());
  EXPECT_EQ(bag.ReadObject<TestPoint>("Nope"), nullptr);
}

TEST_F(PropertyBagTest, TypedReadsCoerceAsTheRuntimeDoes) {
  PropertyBag bag;
  bag.WriteProperty("Text", "12");
  bag.WriteProperty("Big", int32_t{70000});
  bag.WriteProperty("Bytes", Bytes{1});
  bag.WriteProperty("Null", Variant::Null());
  bag.WriteProperty("Flag", true);
  bag.WriteProperty("Point", std::make_shared<TestPoint>());
  EXPECT_EQ(bag.ReadLong("Text"), 12);
  EXPECT_EQ(bag.ReadText("Flag"), "True");
  EXPECT_EQ(bag.ReadDouble("Big"), 70000.0);

  struct Case {
    const char* what;
    std::function<void()> read;
    int32_t number;
  };
  const std::vector<Case> failures = {
      {"Long too big for an Integer", [&] { bag.ReadInteger("Big"); }, err::kOverflow},
      {"Bytes as Long", [&] { bag.ReadLong("Bytes"); }, err::kTypeMismatch},
      {"Null as text", [&] { bag.ReadText("Null"); }, err::kInvalidUseOfNull},
      {"nested object as Long", [&] { bag.ReadLong("Point"); }, err::kTypeMismatch},
      {"nested object as bytes", [&] { bag.ReadBytes("Point"); }, err::kTypeMismatch},
  };
  for (const auto& c : failures) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CaptureError(c.read).Number(), c.number);
  }
}

TEST_F(PropertyBagTest, NestedObjectsComeBackAsNewInstancesOfTheirClass) {
  auto shape = std::make_shared<TestShape>();
  shape->name = "Square";
  shape->origin = std::make_shared<TestPoint>();
  shape->origin->x = -5;
  shape->origin->y = 7;
  shape->origin->label = "o";

  PropertyBag bag;
  bag.WriteProperty("Shape", shape);
  shape->name = "changed after writing";  // the bag holds what was written
  PropertyBag loaded;
  loaded.SetContents(bag.Contents());

  const auto first = loaded.ReadObject<TestShape>("shape");
  const auto second = loaded.ReadObject<TestShape>("Shape");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_NE(first, shape);
  EXPECT_EQ(first->name, "Square");
  ASSERT_NE(first->origin, nullptr);
  EXPECT_EQ(first->origin->x, -5);
  EXPECT_EQ(first->origin->y, 7);
  EXPECT_EQ(first->origin->label, "o");
  EXPECT_EQ(first->corner, nullptr);  // Nothing stays Nothing

  // Each read is fresh: changing one instance does not reach the next read.
  first->origin->x = 100;
  EXPECT_EQ(loaded.ReadObject<TestShape>("Shape")->origin->x, -5);
  EXPECT_EQ(loaded.Entries()[0].nested->className, "TestShape");
}

TEST_F(PropertyBagTest, ObjectsThatCannotBeStoredOrRestoredRaise) {
  struct Plain : IObject {};
  PropertyBag bag;
  EXPECT_EQ(CaptureError([&] { bag.WriteProperty("Plain", std::make_shared<Plain>()); }).Number(),
            err::kTypeMismatch);
  EXPECT_FALSE(bag.Exists("Plain"));

  bag.WriteProperty("Point", std::make_shared<TestPoint>());
  EXPECT_EQ(CaptureError([&] { bag.ReadObject<TestShape>("Point"); }).Number(), err::kTypeMismatch);

  PropertyBag::Entry unknown;
  unknown.key = "Ghost";
  unknown.nested =
      std::make_shared<NestedObject>(NestedObject{"NoSuchClass", std::make_shared<PropertyBag>()});
  bag.AppendDecoded(unknown);
  const CError e = CaptureError([&] { bag.ReadProperty("Ghost"); });
  EXPECT_EQ(e.Number(), err::kCannotCreateObject);
  EXPECT_NE(e.Description().find("NoSuchClass"), std::string::npos);
}

// An object that holds itself would save itself forever.
class Loop : public CPersistable {
 public:
  std::string ClassName() const override { return "Loop"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    bag.WriteProperty("Next", next.lock());
  }
  void Class_ReadProperties(const PropertyBag&) override {}
  std::weak_ptr<Loop> next;
};

TEST_F(PropertyBagTest, AnObjectCycleRaisesInsteadOfRecursingForever) {
  auto loop = std::make_shared<Loop>();
  loop->next = loop;
  PropertyBag bag;
  const CError e = CaptureError([&] { bag.WriteProperty("Loop", loop); });
  EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
  EXPECT_FALSE(bag.Exists("Loop"));
}

TEST_F(PropertyBagTest, NestingUpToTheLimitIsStoredAndRead) {
  // A chain of PropertyBag::kMaxDepth objects, each inside the one before.
  std::shared_ptr<const NestedObject> inner;
  for (int level = 0; level < PropertyBag::kMaxDepth; ++level) {
    auto properties = std::make_shared<PropertyBag>();
    if (inner) {
      PropertyBag::Entry entry;
      entry.key = "Inner";
      entry.nested = inner;
      properties->AppendDecoded(entry);
    }
    inner = std::make_shared<NestedObject>(NestedObject{"TestPoint", properties});
  }
  PropertyBag bag;
  PropertyBag::Entry top;
  top.key = "Top";
  top.nested = inner;
  bag.AppendDecoded(top);
  PropertyBag loaded;
  loaded.SetContents(bag.Contents());
  EXPECT_EQ(loaded.Contents(), bag.Contents());

  // One more level is refused when writing, so no bytes exist that cannot be read.
  PropertyBag deeper;
  auto properties = std::make_shared<PropertyBag>();
  properties->AppendDecoded(top);
  PropertyBag::Entry outer;
  outer.key = "Top";
  outer.nested = std::make_shared<NestedObject>(NestedObject{"TestPoint", properties});
  deeper.AppendDecoded(outer);
  EXPECT_EQ(CaptureError([&] { deeper.Contents(); }).Number(), err::kInvalidProcedureCall);
}

TEST_F(PropertyBagTest, UndecodableContentsLeaveTheBagUnchanged) {
  PropertyBag bag;
  bag.WriteProperty("Keep", "me");
  const Bytes before = bag.Contents();
  for (const Bytes& bad : {Bytes{}, Bytes{0x00}, Bytes(before.begin(), before.end() - 1)}) {
    const CError e = CaptureError([&] { bag.SetContents(bad); });
    EXPECT_EQ(e.Number(), err::kInvalidBagContents);
    EXPECT_EQ(e.Description().rfind("Invalid property bag contents: ", 0), 0u) << e.Description();
    EXPECT_EQ(bag.Contents(), before);
    EXPECT_EQ(bag.ReadText("keep"), "me");
  }
}

TEST_F(PropertyBagTest, IllFormedUtf8IsStoredAsReplacementCharacters) {
  PropertyBag bag;
  bag.WriteProperty("Bad\xFF", "a\xC3(b");
  EXPECT_EQ(bag.ReadText("Bad\xEF\xBF\xBD"), "a\xEF\xBF\xBD(b");
  PropertyBag loaded;
  loaded.SetContents(bag.Contents());
  EXPECT_EQ(loaded.ReadText("Bad\xEF\xBF\xBD"), "a\xEF\xBF\xBD(b");
}

TEST_F(PropertyBagTest, ClearAndAppendDecodedKeepTheIndexRight) {
  PropertyBag bag;
  bag.WriteProperty("A", 1);
  bag.Clear();
  EXPECT_EQ(bag.Count(), 0u);
  EXPECT_FALSE(bag.Exists("A"));
  bag.AppendDecoded({"Key", Variant(int32_t{5}), nullptr});
  EXPECT_EQ(bag.ReadLong("KEY"), 5);
  EXPECT_EQ(CaptureError([&] {
              bag.AppendDecoded({"kEY", Variant(), nullptr});
            }).Number(),
            err::kInvalidBagContents);
}

}  // namespace
}  // namespace prvdrinfo
