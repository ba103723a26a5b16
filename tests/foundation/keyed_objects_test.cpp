#include "prvdrinfo/foundation/keyed_objects.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/bag_test_classes.h"
#include "support/error_capture.h"
#include "support/keyed_test_thing.h"

namespace prvdrinfo {
namespace {

using testing::KeyedTestThing;

class KeyedObjectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KeyedTestThing::Register();
    testing::RegisterBagTestClasses();
  }
};

std::shared_ptr<KeyedTestThing> Thing(const std::string& name, int32_t number = 0) {
  auto thing = std::make_shared<KeyedTestThing>();
  thing->name = name;
  thing->number = number;
  return thing;
}

// "name@key" for every item in order, through range-for and the iterator's key.
std::vector<std::string> Listing(const KeyedObjects<KeyedTestThing>& things) {
  std::vector<std::string> listing;
  for (auto it = things.begin(); it != things.end(); ++it) {
    listing.push_back(((*it) ? (*it)->name : std::string("Nothing")) + "@" + it.Key());
  }
  return listing;
}

KeyedObjects<KeyedTestThing> Abc() {
  KeyedObjects<KeyedTestThing> things;
  things.Add(Thing("a"), "KA");
  things.Add(Thing("b"), "KB");
  things.Add(Thing("c"), "KC");
  return things;
}

Bytes BytesOf(const KeyedObjects<KeyedTestThing>& things) {
  PropertyBag bag;
  things.WriteTo(bag, "Things");
  return bag.Contents();
}

TEST_F(KeyedObjectsTest, InsertsWhereAskedAndFindsByKeyWithoutRegardToCase) {
  struct Case {
    const char* what;
    std::function<void(KeyedObjects<KeyedTestThing>&)> insert;
    std::vector<std::string> listing;
  };
  const Case cases[] = {
      {"Add", [](auto& t) { t.Add(Thing("x"), "KX"); }, {"a@KA", "b@KB", "c@KC", "x@KX"}},
      {"Add without key", [](auto& t) { t.Add(Thing("x")); }, {"a@KA", "b@KB", "c@KC", "x@"}},
      {"AddBefore 0",
       [](auto& t) { t.AddBefore(Thing("x"), "KX", 0); },
       {"x@KX", "a@KA", "b@KB", "c@KC"}},
      {"AddAfter last",
       [](auto& t) { t.AddAfter(Thing("x"), "KX", 2); },
       {"a@KA", "b@KB", "c@KC", "x@KX"}},
      {"AddAfterKey",
       [](auto& t) { t.AddAfterKey(Thing("x"), "KX", "kb"); },
       {"a@KA", "b@KB", "x@KX", "c@KC"}},
  };
  for (const Case& c : cases) {
    auto things = Abc();
    c.insert(things);
    EXPECT_EQ(Listing(things), c.listing) << c.what;
    for (int32_t i = 0; i < things.Count(); ++i) {
      const std::string key = things.KeyByIndex(i);
      if (key.empty()) continue;
      EXPECT_EQ(things.IndexOfKey(key), i) << c.what << " " << key;
      EXPECT_EQ(things.Item(key), things.ItemByIndex(i)) << c.what << " " << key;
    }
  }
  auto things = Abc();
  const auto b = things.ItemByIndex(1);
  EXPECT_EQ(things.Item("kB"), b);  // the very object, not a copy
  EXPECT_TRUE(things.Exists("kc"));
  EXPECT_FALSE(things.Exists("kd"));
  EXPECT_EQ(things.IndexOfKey("kd"), -1);
}

TEST_F(KeyedObjectsTest, RemovesByKeyPositionOrAll) {
  auto things = Abc();
  things.Remove("kb");
  EXPECT_EQ(Listing(things), (std::vector<std::string>{"a@KA", "c@KC"}));
  things.RemoveByIndex(0);
  EXPECT_EQ(Listing(things), (std::vector<std::string>{"c@KC"}));
  EXPECT_EQ(things.IndexOfKey("KC"), 0);
  things.RemoveAll();
  EXPECT_EQ(things.Count(), 0);
  things.Add(Thing("a"), "KA");  // the old keys went with their items
  EXPECT_EQ(things.Count(), 1);
}

TEST_F(KeyedObjectsTest, FailuresRaiseTheKeyedCollectionErrorsAndChangeNothing) {
  struct Case {
    const char* what;
    std::function<void(KeyedObjects<KeyedTestThing>&)> call;
    int32_t number;
    const char* description;
  };
  constexpr const char* kDuplicate =
      "This key is already associated with an element of this collection";
  constexpr const char* kAbsent = "Invalid procedure call or argument";
  constexpr const char* kRange = "Subscript out of range";
  const Case cases[] = {
      {"Add of a key in another case", [](auto& t) { t.Add(Thing("x"), "ka"); }, 457, kDuplicate},
      {"AddBefore of a present key", [](auto& t) { t.AddBefore(Thing("x"), "KC", 0); }, 457,
       kDuplicate},
      {"AddBefore past the end", [](auto& t) { t.AddBefore(Thing("x"), "KX", 3); }, 9, kRange},
      {"AddAfter before the start", [](auto& t) { t.AddAfter(Thing("x"), "KX", -1); }, 9, kRange},
      {"AddAfterKey of an absent key", [](auto& t) { t.AddAfterKey(Thing("x"), "KX", "KD"); }, 5,
       kAbsent},
      {"Item of an absent key", [](auto& t) { t.Item("KD"); }, 5, kAbsent},
      {"Item of no key", [](auto& t) { t.Item(""); }, 5, kAbsent},
      {"ItemByIndex past the end", [](auto& t) { t.ItemByIndex(3); }, 9, kRange},
      {"KeyByIndex before the start", [](auto& t) { t.KeyByIndex(-1); }, 9, kRange},
      {"Remove of an absent key", [](auto& t) { t.Remove("KD"); }, 5, kAbsent},
      {"RemoveByIndex past the end", [](auto& t) { t.RemoveByIndex(3); }, 9, kRange},
  };
  for (const Case& c : cases) {
    auto things = Abc();
    const Bytes before = BytesOf(things);
    try {
      c.call(things);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), c.number) << c.what;
      EXPECT_EQ(e.Description(), c.description) << c.what;
    }
    EXPECT_EQ(BytesOf(things), before) << c.what;
  }
}

// The bytes are those of an untyped collection of the same objects, so a class that moves
// onto KeyedObjects keeps the bytes it stored before.
TEST_F(KeyedObjectsTest, WritesTheBytesOfTheKeyedCollectionAndReadsThemBack) {
  auto things = Abc();
  things.Add(Thing("unkeyed", 7));
  things.ItemByIndex(0)->tags->Add(Variant("red"), "colour");
  KeyedCollection untyped;
  for (auto it = things.begin(); it != things.end(); ++it) untyped.Add(Variant(*it), it.Key());
  PropertyBag expected;
  WriteKeyedCollection(expected, "Things", untyped);
  EXPECT_EQ(BytesOf(things), expected.Contents());

  KeyedObjects<KeyedTestThing> back;
  back.Add(Thing("stale"), "KS");
  PropertyBag stored;
  stored.SetContents(expected.Contents());
  back.ReadFrom(stored, "Things");
  EXPECT_EQ(Listing(back), (std::vector<std::string>{"a@KA", "b@KB", "c@KC", "unkeyed@"}));
  EXPECT_NE(back.Item("KA"), things.Item("KA"));
  EXPECT_EQ(back.ItemByIndex(3)->number, 7);
  EXPECT_EQ(back.Item("ka")->tags->Item("COLOUR").AsText(), "red");
  EXPECT_FALSE(back.Exists("KS"));
  EXPECT_EQ(BytesOf(back), BytesOf(things));
}

TEST_F(KeyedObjectsTest, ATypedLoadRefusesOtherItemsAndOneAsStoredTakesThem) {
  struct Case {
    const char* what;
    Variant item;
    int32_t onRead;  // error number reading the item after a load as stored; 0 reads null
  };
  const Case cases[] = {
      {"text", Variant("just text"), 13},
      {"another class", Variant(std::make_shared<testing::TestPoint>()), 13},
      {"Nothing", Variant(std::shared_ptr<IObject>()), 0},
  };
  for (const Case& c : cases) {
    KeyedCollection stored;
    stored.Add(Variant(Thing("ok")), "ok");
    stored.Add(c.item, "odd");
    PropertyBag bag;
    WriteKeyedCollection(bag, "Things", stored);

    auto strict = Abc();
    const Bytes before = BytesOf(strict);
    try {
      strict.ReadFrom(bag, "Things", KeyedLoad::kTyped);
      ADD_FAILURE() << c.what << ": loaded";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), 13) << c.what;
    }
    EXPECT_EQ(BytesOf(strict), before) << c.what;

    KeyedObjects<KeyedTestThing> lenient;
    lenient.ReadFrom(bag, "Things", KeyedLoad::kAsStored);
    ASSERT_EQ(lenient.Count(), 2) << c.what;
    EXPECT_EQ(lenient.Item("OK")->name, "ok");
    if (c.onRead == 0) {
      EXPECT_EQ(lenient.Item("odd"), nullptr) << c.what;
    } else {
      EXPECT_EQ(testing::ErrorNumberOf([&] { lenient.Item("odd"); }), c.onRead) << c.what;
      EXPECT_EQ(testing::ErrorNumberOf([&] { lenient.Snapshot(); }), c.onRead) << c.what;
    }
    EXPECT_EQ(BytesOf(lenient), bag.Contents()) << c.what;
  }
}

// An interface that is not an IObject itself, as the column interfaces are.
class INamed {
 public:
  virtual ~INamed() = default;
  virtual std::string Name() const = 0;
};

class NamedThing : public KeyedTestThing, public INamed {
 public:
  std::string Name() const override { return name; }
};

class NamedOutsider : public INamed {
 public:
  std::string Name() const override { return "outsider"; }
};

TEST_F(KeyedObjectsTest, HoldsInterfacesWhoseObjectsAreLibraryObjects) {
  KeyedObjects<INamed> named;
  auto thing = std::make_shared<NamedThing>();
  thing->name = "one";
  named.Add(thing, "1");
  EXPECT_EQ(named.Item("1"), std::static_pointer_cast<INamed>(thing));
  EXPECT_EQ(named.Untyped().Item("1").AsObject(), std::static_pointer_cast<IObject>(thing));
  EXPECT_EQ(testing::ErrorNumberOf([&] { named.Add(std::make_shared<NamedOutsider>(), "2"); }), 13);
  EXPECT_EQ(named.Count(), 1);
  std::vector<std::string> names;
  for (const std::shared_ptr<INamed>& n : named) names.push_back(n->Name());
  EXPECT_EQ(names, std::vector<std::string>{"one"});
}

TEST_F(KeyedObjectsTest, ASnapshotIsLeftAloneByLaterChanges) {
  auto things = Abc();
  const auto snapshot = things.Snapshot();
  things.RemoveAll();
  ASSERT_EQ(snapshot.size(), 3u);
  EXPECT_EQ(snapshot[2]->name, "c");
}

}  // namespace
}  // namespace prvdrinfo
