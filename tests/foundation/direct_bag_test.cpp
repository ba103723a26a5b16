// Saving encodes each write as it comes; where a save routine does what one pass cannot
// follow, the bag path takes over. Either way the bytes, and any error, must be those of
// the bag path.
#include "foundation/direct_bag.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

// A class whose save routine is whatever the case needs.
class Scripted : public CPersistable {
 public:
  static constexpr const char* kClassName = "DirectBagTestScripted";
  explicit Scripted(std::function<void(PropertyBag&)> save = {}) : save_(std::move(save)) {}
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    if (save_) save_(bag);
  }
  void Class_ReadProperties(const PropertyBag&) override {}

 private:
  std::function<void(PropertyBag&)> save_;
};

class NotPersistable : public IObject {};

Bytes BagPathBytes(const CPersistable& object) {
  const DirectBag::BagPathOnly reference;
  return object.Serialize();
}

std::shared_ptr<Scripted> Nested(int level) {
  return std::make_shared<Scripted>([level](PropertyBag& bag) {
    bag.WriteProperty("Level", int32_t{level});
    if (level > 0) bag.WriteProperty("Inner", Variant(Nested(level - 1)));
  });
}

TEST(DirectBag, SavesGiveTheBagPathsBytes) {
  struct Case {
    const char* name;
    std::function<void(PropertyBag&)> save;
  };
  const std::vector<Case> cases = {
      {"nothing written", [](PropertyBag&) {}},
      {"every value type",
       [](PropertyBag& bag) {
         bag.WriteProperty("Empty", Variant());
         bag.WriteProperty("Null", Variant::Null());
         bag.WriteProperty("Bool", true);
         bag.WriteProperty("Integer", int16_t{-7});
         bag.WriteProperty("Long", int32_t{-2147483647 - 1});
         bag.WriteProperty("Double", -0.0);
         bag.WriteProperty("Date", Variant::FromDate(45000.25));
         bag.WriteProperty("Currency", Currency::FromScaled(-123456789));
         bag.WriteProperty("Text", std::string("plain"));
         bag.WriteProperty("Literal", "literal");
         bag.WriteProperty("Bytes", Variant(Bytes{0, 1, 2, 255}));
         bag.WriteProperty("Nothing", Variant(std::shared_ptr<IObject>()));
       }},
      {"defaults left out",
       [](PropertyBag& bag) {
         bag.WriteProperty("Same", int32_t{3}, int32_t{3});
         bag.WriteProperty("Other", int32_t{4}, int32_t{3});
         bag.WriteProperty("SameText", std::string("a"), std::string("a"));
         bag.WriteProperty("OtherText", std::string("b"), std::string("a"));
       }},
      {"ill-formed text and key", [](PropertyBag& bag) { bag.WriteProperty("K\xC3", std::string("v\xFF\xFE")); }},
      {"a key written twice in another case",
       [](PropertyBag& bag) {
         bag.WriteProperty("Caption", std::string("first"));
         bag.WriteProperty("After", int32_t{1});
         bag.WriteProperty("CAPTION", std::string("second"));
       }},
      {"a written key erased by its default",
       [](PropertyBag& bag) {
         bag.WriteProperty("Width", int32_t{5});
         bag.WriteProperty("Height", int32_t{6});
         bag.WriteProperty("width", int32_t{0}, int32_t{0});
       }},
      {"the bag read while it is written",
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         if (bag.Exists("A")) bag.WriteProperty("B", int32_t{2});
         bag.WriteProperty("Count", int32_t(bag.Count()));
       }},
      {"keys folding alike across scripts",
       [](PropertyBag& bag) {
         bag.WriteProperty("\xE2\x84\xAA" "elvin", int32_t{1});  // the Kelvin sign folds to k
         bag.WriteProperty("kelvin", int32_t{2});
       }},
      {"many keys",
       [](PropertyBag& bag) {
         for (int i = 0; i < 300; ++i) bag.WriteProperty("Key" + std::to_string(i), int32_t{i});
       }},
      {"nested objects", [](PropertyBag& bag) { bag.WriteProperty("Tree", Variant(Nested(40))); }},
      {"a keyed collection of objects",
       [](PropertyBag& bag) {
         KeyedCollection items;
         for (int i = 0; i < 30; ++i) items.Add(Variant(Nested(i % 3)), "item" + std::to_string(i));
         items.Add(Variant(std::string("a text")), "text");
         WriteKeyedCollection(bag, "Items", items);
       }},
  };
  for (const Case& c : cases) {
    const Scripted object(c.save);
    EXPECT_EQ(object.Serialize(), BagPathBytes(object)) << c.name;
  }
}

TEST(DirectBag, FailuresAreTheBagPathsFailures) {
  struct Case {
    const char* name;
    std::function<void(PropertyBag&)> save;
  };
  const std::vector<Case> cases = {
      {"an object that cannot be saved",
       [](PropertyBag& bag) { bag.WriteProperty("Object", Variant(std::make_shared<NotPersistable>())); }},
      {"a failing save routine",
       [](PropertyBag& bag) {
         bag.WriteProperty("Before", int32_t{1});
         static constexpr ErrorSite kSite{"3V1N9O0P9TPOA2VJOUQ3LTDW7", "Scripted.Save"};
         kSite.Raise(5, "Cannot save this.");
       }},
      {"objects nested without end", [](PropertyBag& bag) { bag.WriteProperty("Tree", Variant(Nested(200))); }},
  };
  for (const Case& c : cases) {
    const Scripted object(c.save);
    const CError direct = testing::ErrorOf([&] { object.Serialize(); });
    const CError reference = testing::ErrorOf([&] { BagPathBytes(object); });
    EXPECT_EQ(direct.Number(), reference.Number()) << c.name;
    EXPECT_EQ(direct.Description(), reference.Description()) << c.name;
    ASSERT_EQ(direct.Locations().size(), reference.Locations().size()) << c.name;
    for (size_t i = 0; i < direct.Locations().size(); ++i) {
      EXPECT_EQ(direct.Locations()[i].id, reference.Locations()[i].id) << c.name;
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
