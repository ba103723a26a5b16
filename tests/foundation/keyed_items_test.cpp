#include "prvdrinfo/foundation/keyed_items.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

// Never registered: loading it would fail, reading what was stored must not.
class Unregistered : public CPersistable {
 public:
  std::string ClassName() const override { return "Unregistered"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    bag.WriteProperty("N", int32_t{5});
  }
  void Class_ReadProperties(const PropertyBag&) override {}
};

TEST(ReadKeyedItems, GivesTheEntriesAsStoredWithoutCreatingObjects) {
  KeyedCollection items;
  items.Add(Variant("first"), "A");
  items.Add(Variant(int16_t{2}));
  items.Add(Variant(std::make_shared<Unregistered>()), "obj");
  const auto entries = ReadKeyedItems(items.Content());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].key, "A");
  EXPECT_EQ(entries[0].value, Variant("first"));
  EXPECT_EQ(entries[1].key, "");
  EXPECT_EQ(entries[1].value, Variant(int16_t{2}));
  ASSERT_TRUE(entries[2].nested);
  EXPECT_EQ(entries[2].nested->className, "Unregistered");
  EXPECT_EQ(entries[2].nested->properties->ReadLong("n"), 5);

  KeyedCollection loaded;
  EXPECT_NE(testing::ErrorNumberOf([&] { loaded.SetContent(items.Content()); }), 0);
}

TEST(ReadKeyedItems, BytesThatDoNotDecodeRaiseInvalidContents) {
  KeyedCollection items;
  items.Add(Variant("x"), "k");
  Bytes cut = items.Content();
  cut.pop_back();
  for (const Bytes& bytes : {Bytes{}, Bytes{'h', 'i'}, cut}) {
    const CError e = testing::ErrorOf([&] { ReadKeyedItems(bytes); });
    EXPECT_EQ(e.Number(), err::kInvalidBagContents);
    EXPECT_EQ(e.Description().rfind("Invalid property bag contents: ", 0), 0u) << e.Description();
  }
}

}  // namespace
}  // namespace prvdrinfo
