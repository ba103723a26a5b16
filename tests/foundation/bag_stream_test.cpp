// A bag streams its writes as bytes; what one pass cannot follow (a key written again, a
// written key left out, a read, a copy) makes it hold its entries from then on. Whichever
// way a save goes, its bytes must be those of the plain save it amounts to, and a write
// that fails must leave nothing behind.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/foundation/persistable.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using Save = std::function<void(PropertyBag&)>;

// A class whose save routine is whatever the case needs.
class Scripted : public CPersistable {
 public:
  static constexpr const char* kClassName = "BagStreamTestScripted";
  explicit Scripted(Save save = {}) : save_(std::move(save)) {}
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    if (save_) save_(bag);
  }
  void Class_ReadProperties(const PropertyBag&) override {}

 private:
  Save save_;
};

class NotPersistable : public IObject {};

Bytes Saved(Save save) { return Scripted(std::move(save)).Serialize(); }

std::shared_ptr<Scripted> Object(Save save) { return std::make_shared<Scripted>(std::move(save)); }

std::shared_ptr<Scripted> Nested(int level) {
  return Object([level](PropertyBag& bag) {
    bag.WriteProperty("Level", int32_t{level});
    if (level > 0) bag.WriteProperty("Inner", Variant(Nested(level - 1)));
  });
}

const Save kFails = [](PropertyBag& bag) {
  bag.WriteProperty("Before", int32_t{1});
  static constexpr ErrorSite kSite{"3V1N9O0P9TPOA2VJOUQ3LTDW7", "Scripted.Save"};
  kSite.Raise(5, "Cannot save this.");
};

void WriteMany(PropertyBag& bag) {
  for (int i = 0; i < 300; ++i) bag.WriteProperty("Key" + std::to_string(i), int32_t{i});
}

TEST(BagStream, ASaveThatHoldsItsEntriesGivesTheBytesOfThePlainSave) {
  ClassRegistry::Register<Scripted>(Scripted::kClassName);
  struct Case {
    const char* name;
    Save save;
    Save plain;  // the same content, written once each in final order
  };
  const std::vector<Case> cases = {
      {"a key written again in another case",
       [](PropertyBag& bag) {
         bag.WriteProperty("Caption", std::string("first"));
         bag.WriteProperty("After", int32_t{1});
         bag.WriteProperty("CAPTION", std::string("second"));
         bag.WriteProperty("Last", true);
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("CAPTION", std::string("second"));
         bag.WriteProperty("After", int32_t{1});
         bag.WriteProperty("Last", true);
       }},
      {"an ill-formed key written again as it is stored",
       [](PropertyBag& bag) {
         bag.WriteProperty("K\xC3", int32_t{1});
         bag.WriteProperty("k\xEF\xBF\xBD", int32_t{2});
       },
       [](PropertyBag& bag) { bag.WriteProperty("k\xEF\xBF\xBD", int32_t{2}); }},
      {"keys that fold alike across scripts",
       [](PropertyBag& bag) {
         bag.WriteProperty(
             "\xE2\x84\xAA"
             "elvin",
             int32_t{1});  // the Kelvin sign folds to k
         bag.WriteProperty("kelvin", int32_t{2});
       },
       [](PropertyBag& bag) { bag.WriteProperty("kelvin", int32_t{2}); }},
      {"a written key left out at its default",
       [](PropertyBag& bag) {
         bag.WriteProperty("Width", int32_t{5});
         bag.WriteProperty("Height", int32_t{6});
         bag.WriteProperty("width", int32_t{0}, int32_t{0});
         bag.WriteProperty("Text", std::string("x"), std::string("x"));
         bag.WriteProperty("Depth", int32_t{7});
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("Height", int32_t{6});
         bag.WriteProperty("Depth", int32_t{7});
       }},
      {"the bag read while it is written",
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         if (bag.Exists("a")) bag.WriteProperty("B", bag.ReadLong("A") + 1);
         bag.WriteProperty("Count", int32_t(bag.Count()));
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         bag.WriteProperty("B", int32_t{2});
         bag.WriteProperty("Count", int32_t{2});
       }},
      {"an object read back",
       [](PropertyBag& bag) {
         bag.WriteProperty("Tree", Variant(Nested(2)));
         bag.WriteProperty("Class", bag.ReadObject<Scripted>("Tree")->ClassName());
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("Tree", Variant(Nested(2)));
         bag.WriteProperty("Class", std::string(Scripted::kClassName));
       }},
      {"a nested object that reads its own bag",
       [](PropertyBag& bag) {
         bag.WriteProperty("Before", int32_t{1});
         bag.WriteProperty("Child", Variant(Object([](PropertyBag& child) {
                             child.WriteProperty("Inner", Variant(Nested(3)));
                             child.WriteProperty("Seen", child.Exists("inner"));
                           })));
         bag.WriteProperty("After", int32_t{2});
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("Before", int32_t{1});
         bag.WriteProperty("Child", Variant(Object([](PropertyBag& child) {
                             child.WriteProperty("Inner", Variant(Nested(3)));
                             child.WriteProperty("Seen", true);
                           })));
         bag.WriteProperty("After", int32_t{2});
       }},
      {"many keys, one written again",
       [](PropertyBag& bag) {
         WriteMany(bag);
         bag.WriteProperty("key7", int32_t{-7});
       },
       [](PropertyBag& bag) {
         for (int i = 0; i < 300; ++i) {
           bag.WriteProperty(i == 7 ? std::string("key7") : "Key" + std::to_string(i),
                             int32_t{i == 7 ? -7 : i});
         }
       }},
      {"cleared midway",
       [](PropertyBag& bag) {
         bag.WriteProperty("Gone", int32_t{1});
         bag.Clear();
         bag.WriteProperty("Kept", int32_t{2});
       },
       [](PropertyBag& bag) { bag.WriteProperty("Kept", int32_t{2}); }},
      {"read, cleared, then written again",
       [](PropertyBag& bag) {
         bag.WriteProperty("Gone", int32_t{1});
         bag.Exists("Gone");
         bag.Clear();
         bag.WriteProperty("Kept", int32_t{2});
         bag.WriteProperty("kept", int32_t{3});
       },
       [](PropertyBag& bag) { bag.WriteProperty("kept", int32_t{3}); }},
      {"contents loaded midway",
       [](PropertyBag& bag) {
         bag.WriteProperty("Gone", int32_t{1});
         PropertyBag other;
         other.WriteProperty("Loaded", std::string("yes"));
         bag.SetContents(other.Contents());
         bag.WriteProperty("After", int32_t{2});
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("Loaded", std::string("yes"));
         bag.WriteProperty("After", int32_t{2});
       }},
      {"the bag copied midway",
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         const PropertyBag copy = bag;
         bag.WriteProperty("B", int32_t(copy.Count()));
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         bag.WriteProperty("B", int32_t{1});
       }},
      {"a write that failed, then others",
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         for (const Variant& bad : {Variant(std::make_shared<NotPersistable>()),
                                    Variant(Object(kFails)), Variant(Object([](PropertyBag& child) {
                                      child.WriteProperty("Fine", Variant(Nested(1)));
                                      child.WriteProperty("Fails", Variant(Object(kFails)));
                                    }))}) {
           try {
             bag.WriteProperty("Bad", bad);
           } catch (const CError&) {
           }
         }
         bag.WriteProperty("Bad", std::string("written at last"));
       },
       [](PropertyBag& bag) {
         bag.WriteProperty("A", int32_t{1});
         bag.WriteProperty("Bad", std::string("written at last"));
       }},
  };
  for (const Case& c : cases) EXPECT_EQ(Saved(c.save), Saved(c.plain)) << c.name;
}

// The entries a bag takes back are what it streamed: encoded again, they give the same
// bytes.
TEST(BagStream, EntriesTakenBackEncodeAsTheyStreamed) {
  struct Case {
    const char* name;
    Save save;
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
      {"ill-formed text and keys",
       [](PropertyBag& bag) {
         bag.WriteProperty("K\xC3", std::string("v\xFF\xFE"));
         bag.WriteProperty("L\xFF", Variant(std::string("\xED\xA0\x80")));
       }},
      {"many keys", WriteMany},
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
    PropertyBag held;
    c.save(held);
    held.Entries();
    EXPECT_EQ(held.Contents(), Saved(c.save)) << c.name;

    PropertyBag streamed;
    c.save(streamed);
    EXPECT_EQ(streamed.Contents(), Saved(c.save)) << c.name;
    EXPECT_EQ(PropertyBag(streamed).Contents(), Saved(c.save)) << c.name;
  }
}

TEST(BagStream, FailuresKeepTheirNumberAndDescription) {
  struct Case {
    const char* name;
    Save save;
    int32_t number;
    const char* description;
  };
  const std::vector<Case> cases = {
      {"an object that cannot be saved",
       [](PropertyBag& bag) {
         bag.WriteProperty("Object", Variant(std::make_shared<NotPersistable>()));
       },
       err::kTypeMismatch, "Type mismatch"},
      {"a failing save routine", kFails, 5, "Cannot save this."},
      {"a failing nested save routine",
       [](PropertyBag& bag) { bag.WriteProperty("Child", Variant(Object(kFails))); }, 5,
       "Cannot save this."},
      {"objects nested without end",
       [](PropertyBag& bag) { bag.WriteProperty("Tree", Variant(Nested(200))); },
       err::kInvalidProcedureCall, "Objects nested deeper than 64 levels cannot be stored."},
      {"a nested object that writes into the bag that holds it",
       [](PropertyBag& bag) {
         PropertyBag* outer = &bag;
         bag.WriteProperty(
             "Child", Variant(Object([outer](PropertyBag&) { outer->WriteProperty("X", 1); })));
       },
       err::kInvalidProcedureCall,
       "A property bag cannot be used while an object is written into it."},
  };
  for (const Case& c : cases) {
    const CError e = testing::ErrorOf([&] { Saved(c.save); });
    EXPECT_EQ(e.Number(), c.number) << c.name;
    EXPECT_EQ(e.Description(), c.description) << c.name;
  }
}

TEST(BagStream, AWrittenBagReadFromSeveralThreadsAtOnce) {
  for (int round = 0; round < 20; ++round) {
    PropertyBag bag;
    WriteMany(bag);
    std::vector<int32_t> read(4, -1);
    std::vector<std::thread> readers;
    for (size_t t = 0; t < read.size(); ++t) {
      readers.emplace_back([&, t] {
        read[t] = static_cast<const PropertyBag&>(bag).ReadLong("key" + std::to_string(100 + t));
      });
    }
    for (auto& reader : readers) reader.join();
    for (size_t t = 0; t < read.size(); ++t) EXPECT_EQ(read[t], static_cast<int32_t>(100 + t));
  }
}

}  // namespace
}  // namespace prvdrinfo
