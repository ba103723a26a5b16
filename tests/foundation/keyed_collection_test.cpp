#include "prvdrinfo/foundation/keyed_collection.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "foundation/internal/ascii.h"
#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/error_capture.h"
#include "support/keyed_test_thing.h"

namespace prvdrinfo {
namespace {

using testing::ExpectError;
using Snapshot = std::vector<std::pair<std::string, Variant>>;

Snapshot Take(const KeyedCollection& c) {
  Snapshot s;
  for (auto it = c.begin(); it != c.end(); ++it) s.emplace_back(it.Key(), *it);
  return s;
}

std::vector<std::string> Keys(const KeyedCollection& c) {
  std::vector<std::string> keys;
  for (int32_t i = 0; i < c.Count(); ++i) keys.push_back(c.KeyByIndex(i));
  return keys;
}

// Every keyed item is found by its key at its own position: the hashed lookup agrees
// with the list.
void ExpectLookupsAgree(const KeyedCollection& c) {
  for (int32_t i = 0; i < c.Count(); ++i) {
    const std::string key = c.KeyByIndex(i);
    if (key.empty()) continue;
    EXPECT_EQ(c.IndexOfKey(key), i) << key;
    EXPECT_EQ(c.Item(key), c.ItemByIndex(i)) << key;
  }
}

KeyedCollection Abc() {
  KeyedCollection c;
  c.Add(1, "a");
  c.Add(2, "b");
  c.Add(3, "c");
  return c;
}

TEST(KeyedCollection, InsertsAtTheRequestedPosition) {
  struct Case {
    const char* name;
    std::function<void(KeyedCollection&)> add;
    std::vector<std::string> keys;
  } cases[] = {
      {"append", [](auto& c) { c.Add(0, "x"); }, {"a", "b", "c", "x"}},
      {"before first", [](auto& c) { c.AddBefore(0, "x", 0); }, {"x", "a", "b", "c"}},
      {"before last", [](auto& c) { c.AddBefore(0, "x", 2); }, {"a", "b", "x", "c"}},
      {"after first", [](auto& c) { c.AddAfter(0, "x", 0); }, {"a", "x", "b", "c"}},
      {"after last", [](auto& c) { c.AddAfter(0, "x", 2); }, {"a", "b", "c", "x"}},
      {"after key", [](auto& c) { c.AddAfterKey(0, "x", "B"); }, {"a", "b", "x", "c"}},
      {"after last key", [](auto& c) { c.AddAfterKey(0, "x", "c"); }, {"a", "b", "c", "x"}},
      {"unkeyed in middle", [](auto& c) { c.AddAfter(0, "", 0); }, {"a", "", "b", "c"}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    KeyedCollection c = Abc();
    test.add(c);
    EXPECT_EQ(Keys(c), test.keys);
    ExpectLookupsAgree(c);
  }
}

TEST(KeyedCollection, KeysDifferingOnlyInCaseAreDuplicates) {
  const std::pair<const char*, const char*> pairs[] = {
      {"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", "{6f9619ff-8b86-d011-b42d-00c04fc964ff}"},
      {"STRASSE", "straße"},  // full folding: ß is "ss"
      {"Ä", "ä"},
      {"ΌΣΟΣ", "όσος"},  // final and medial sigma fold alike
      {"ﬁle", "FILE"},   // ligature folds to two letters
  };
  for (const auto& pair : pairs) {
    const std::string first = pair.first;
    const std::string second = pair.second;
    SCOPED_TRACE(first);
    KeyedCollection c;
    c.Add("first", first);
    ExpectError([&] { c.Add("second", second); }, 457,
                "This key is already associated with an element of this collection");
    EXPECT_EQ(c.Count(), 1);
    EXPECT_TRUE(c.Exists(second));
    EXPECT_EQ(c.Item(second), Variant("first"));
    EXPECT_EQ(c.KeyByIndex(0), first);  // the key keeps the spelling it was added with
    c.Remove(second);
    EXPECT_EQ(c.Count(), 0);
  }
}

TEST(KeyedCollection, BinaryComparisonKeepsCaseApart) {
  for (auto [textCompare, mode] : {std::pair{false, 1}, std::pair{true, 0}}) {
    KeyedCollection c(textCompare, mode, true);
    EXPECT_FALSE(c.IgnoresCase());
    c.Add(1, "Key");
    c.Add(2, "KEY");
    EXPECT_FALSE(c.Exists("key"));
    EXPECT_EQ(c.Item("KEY"), Variant(2));
    ExpectError([&] { c.Add(3, "Key"); }, 457,
                "This key is already associated with an element of this collection");
  }
  ExpectError([] { KeyedCollection(true, 2, true); }, 5, "Invalid procedure call or argument");
}

TEST(KeyedCollection, ItemsWithoutKeysSitBetweenKeyedOnes) {
  KeyedCollection c;
  c.Add("u1");
  c.Add("k1", "one");
  c.Add("u2", "");
  c.AddBefore("u0", "", 0);
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"", "", "one", ""}));
  EXPECT_EQ(c.ItemByIndex(0), Variant("u0"));
  EXPECT_EQ(c.ItemByIndex(3), Variant("u2"));
  EXPECT_FALSE(c.Exists(""));
  EXPECT_EQ(c.IndexOfKey(""), -1);
  EXPECT_EQ(c.IndexOfKey("ONE"), 2);
  c.RemoveByIndex(0);
  EXPECT_EQ(c.IndexOfKey("one"), 1);
}

TEST(KeyedCollection, RemovalsAndInsertionsInTheMiddleKeepLookupsRight) {
  KeyedCollection c;
  for (int32_t i = 0; i < 200; ++i) c.Add(i, "k" + std::to_string(i));
  c.Remove("K100");
  c.RemoveByIndex(50);  // k50
  c.AddBefore(-1, "new", 10);
  c.AddAfterKey(-2, "new2", "k150");
  c.Remove("k0");
  ExpectLookupsAgree(c);
  EXPECT_FALSE(c.Exists("k100"));
  EXPECT_FALSE(c.Exists("k50"));
  EXPECT_EQ(c.Count(), 199);
  EXPECT_EQ(c.IndexOfKey("new"), 9);
  EXPECT_EQ(c.IndexOfKey("new2"), c.IndexOfKey("k150") + 1);
  EXPECT_EQ(c.IndexOfKey("k199"), 198);
  c.Add(100, "k100");  // a removed key can come back
  EXPECT_EQ(c.IndexOfKey("k100"), 199);
  c.RemoveAll();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_FALSE(c.Exists("k1"));
  c.Add(1, "k1");
  EXPECT_EQ(c.IndexOfKey("k1"), 0);
}

TEST(KeyedCollection, FailedOperationsRaiseTheCollectionErrorsAndChangeNothing) {
  const std::string duplicate = "This key is already associated with an element of this collection";
  const std::string invalid = "Invalid procedure call or argument";
  const std::string subscript = "Subscript out of range";
  struct Case {
    const char* name;
    std::function<void(KeyedCollection&)> call;
    int32_t number;
    const std::string& text;
  } cases[] = {
      {"Add duplicate", [](auto& c) { c.Add(9, "B"); }, 457, duplicate},
      {"AddBefore duplicate", [](auto& c) { c.AddBefore(9, "c", 0); }, 457, duplicate},
      {"AddBefore -1", [](auto& c) { c.AddBefore(9, "x", -1); }, 9, subscript},
      {"AddBefore Count", [](auto& c) { c.AddBefore(9, "x", 3); }, 9, subscript},
      {"AddAfter -1", [](auto& c) { c.AddAfter(9, "x", -1); }, 9, subscript},
      {"AddAfter Count", [](auto& c) { c.AddAfter(9, "x", 3); }, 9, subscript},
      {"AddAfterKey absent", [](auto& c) { c.AddAfterKey(9, "x", "zz"); }, 5, invalid},
      {"AddAfterKey empty", [](auto& c) { c.AddAfterKey(9, "x", ""); }, 5, invalid},
      {"AddAfterKey duplicate", [](auto& c) { c.AddAfterKey(9, "A", "b"); }, 457, duplicate},
      {"Item absent", [](auto& c) { c.Item("zz"); }, 5, invalid},
      {"Item empty", [](auto& c) { c.Item(""); }, 5, invalid},
      {"ItemByIndex Count", [](auto& c) { c.ItemByIndex(3); }, 9, subscript},
      {"ItemByIndex -1", [](auto& c) { c.ItemByIndex(-1); }, 9, subscript},
      {"KeyByIndex Count", [](auto& c) { c.KeyByIndex(3); }, 9, subscript},
      {"Remove absent", [](auto& c) { c.Remove("zz"); }, 5, invalid},
      {"Remove empty", [](auto& c) { c.Remove(""); }, 5, invalid},
      {"RemoveByIndex Count", [](auto& c) { c.RemoveByIndex(3); }, 9, subscript},
      {"RemoveByIndex -1", [](auto& c) { c.RemoveByIndex(-1); }, 9, subscript},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    KeyedCollection c = Abc();
    const Snapshot before = Take(c);
    ExpectError([&] { test.call(c); }, test.number, test.text);
    EXPECT_EQ(Take(c), before);
    ExpectLookupsAgree(c);
  }
  KeyedCollection empty;
  ExpectError([&] { empty.AddBefore(1, "x", 0); }, 9, subscript);
  EXPECT_EQ(empty.Count(), 0);
}

TEST(KeyedCollection, TenThousandKeysAreFoundInAnyCase) {
  KeyedCollection c;
  auto key = [](int32_t i) { return "{guid-" + std::to_string(i * 7919) + "-abc}"; };
  for (int32_t i = 0; i < 10000; ++i) c.Add(i, key(i));
  for (int32_t i = 0; i < 100; ++i) c.AddBefore(-i, "", 0);  // shift every position
  for (int32_t i = 0; i < 10000; ++i) {
    std::string upper = key(i);
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    ASSERT_TRUE(c.Exists(upper));
    ASSERT_EQ(c.Item(upper), Variant(i));
    ASSERT_EQ(c.IndexOfKey(upper), i + 100);
  }
  EXPECT_FALSE(c.Exists("{guid-1-abc}"));
}

TEST(KeyedCollection, RepeatedKeysWithoutUniquenessFindTheFirstInOrder) {
  KeyedCollection c(true, 1, false);
  c.Add(1, "k");
  c.Add(2, "K");
  c.Add(3, "other");
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item("k"), Variant(1));
  c.AddBefore(0, "k", 0);
  EXPECT_EQ(c.Item("k"), Variant(0));
  c.Remove("k");  // the first one
  EXPECT_EQ(c.Item("k"), Variant(1));
  c.RemoveByIndex(0);
  EXPECT_EQ(c.Item("k"), Variant(2));
  EXPECT_EQ(c.IndexOfKey("k"), 0);
  c.Remove("k");
  EXPECT_FALSE(c.Exists("k"));
  EXPECT_EQ(c.IndexOfKey("other"), 0);
}

TEST(KeyedCollection, IteratesItemsInOrderAndCopiesAreIndependent) {
  auto object = std::make_shared<KeyedCollection>();
  KeyedCollection c = Abc();
  c.AddAfter(Variant(object), "obj", 0);
  std::vector<Variant> items;
  for (const Variant& item : c) items.push_back(item);
  EXPECT_EQ(items, (std::vector<Variant>{1, Variant(object), 2, 3}));
  EXPECT_EQ(c.Item("OBJ").AsObject(), object);  // objects are held by reference

  KeyedCollection copy = c;
  copy.Remove("a");
  copy.Add(4, "d");
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"a", "obj", "b", "c"}));
  EXPECT_EQ(Keys(copy), (std::vector<std::string>{"obj", "b", "c", "d"}));
  ExpectLookupsAgree(c);
  ExpectLookupsAgree(copy);
  c = copy;
  EXPECT_EQ(Take(c), Take(copy));
  ExpectLookupsAgree(c);
  KeyedCollection moved = std::move(copy);
  ExpectLookupsAgree(moved);
  EXPECT_EQ(moved.Item("d"), Variant(4));
}

// A plain list as the reference over thousands of random edits at every kind of position,
// large enough for the collection's internal blocks to split and join: order, positions,
// keys and lookups agree with the list at every step, through copies and moves.
class KeyedCollectionModel {
 public:
  explicit KeyedCollectionModel(bool uniqueKeys, unsigned seed)
      : c_(true, 1, uniqueKeys), unique_(uniqueKeys), random_(seed) {}

  void Run(int steps, bool growing) {
    for (int step = 0; step < steps; ++step) {
      if (step % 400 == 0) focus_ = Pick(4);
      Edit(growing);
      ASSERT_EQ(c_.Count(), static_cast<int32_t>(list_.size()));
      // A look at one position between edits, so that the next edit follows a lookup.
      if (!list_.empty()) {
        const size_t at = step % 2 == 0 ? list_.size() - 1 : Pick(list_.size());
        ASSERT_EQ(c_.ItemByIndex(static_cast<int32_t>(at)), Variant(list_[at].item)) << at;
      }
      if (step % 128 == 0) ExpectSame();
      if (::testing::Test::HasFatalFailure()) return;
    }
    ExpectSame();
    KeyedCollection copy = c_;
    c_ = std::move(copy);
    ExpectSame();
  }

  size_t Size() const { return list_.size(); }

  // The same edit `times` times over at one position (clamped to the end).
  void Repeat(const std::string& edit, size_t at, int times) {
    for (int i = 0; i < times; ++i) {
      const size_t where = std::min(at, list_.size() - (edit == "remove" ? 1 : 0));
      const std::string key = NewKey();
      if (edit == "remove") {
        c_.RemoveByIndex(static_cast<int32_t>(where));
        list_.erase(list_.begin() + static_cast<ptrdiff_t>(where));
      } else if (where == list_.size()) {
        c_.Add(++item_, key);
        Put(where, key, item_);
      } else {
        c_.AddBefore(++item_, key, static_cast<int32_t>(where));
        Put(where, key, item_);
      }
      ASSERT_EQ(c_.Count(), static_cast<int32_t>(list_.size()));
      if (list_.empty()) continue;
      for (const size_t check : {std::min(where, list_.size() - 1), list_.size() - 1}) {
        ASSERT_EQ(c_.ItemByIndex(static_cast<int32_t>(check)), Variant(list_[check].item)) << check;
        if (!list_[check].key.empty()) {
          ASSERT_EQ(c_.IndexOfKey(list_[check].key), static_cast<int32_t>(check));
        }
      }
    }
    ExpectSame();
  }

 private:
  struct Entry {
    std::string key;
    int32_t item;
  };

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  // Half the edits crowd at one spot (the front, a quarter, the middle, three quarters),
  // so that blocks there fill or empty while their neighbours stay as they are.
  size_t At(size_t n) { return Pick(2) == 0 ? Pick(n) : std::min(n - 1, focus_ * n / 4 + Pick(3)); }

  // Keys repeat only in a collection that allows it, and come back in another case.
  std::string NewKey() {
    if (Pick(8) == 0) return "";
    return "k" + std::to_string(unique_ ? next_++ : static_cast<int32_t>(Pick(40)));
  }
  std::string Shouted(std::string key) {
    if (Pick(2) == 0) key[0] = 'K';
    return key;
  }
  std::string SomeKey() {
    for (int tries = 0; tries < 8; ++tries) {
      const std::string& key = list_[Pick(list_.size())].key;
      if (!key.empty()) return key;
    }
    return {};
  }
  ptrdiff_t FirstWith(const std::string& key) const {
    for (size_t i = 0; i < list_.size(); ++i) {
      if (ascii::EqualsIgnoreCase(list_[i].key, key)) return static_cast<ptrdiff_t>(i);
    }
    return -1;
  }
  void Put(size_t at, std::string key, int32_t item) {
    list_.insert(list_.begin() + static_cast<ptrdiff_t>(at), Entry{std::move(key), item});
  }

  void Edit(bool growing) {
    const int32_t item = ++item_;
    const bool add = list_.empty() || Pick(10) < (growing ? 7u : 3u);
    if (add) {
      const std::string key = NewKey();
      const size_t at = list_.empty() ? 0 : At(list_.size());
      switch (list_.empty() ? 0 : Pick(4)) {
        case 0:
          c_.Add(item, key);
          Put(list_.size(), key, item);
          break;
        case 1:
          c_.AddBefore(item, key, static_cast<int32_t>(at));
          Put(at, key, item);
          break;
        case 2:
          c_.AddAfter(item, key, static_cast<int32_t>(at));
          Put(at + 1, key, item);
          break;
        default: {
          const std::string after = SomeKey();
          if (after.empty()) return;
          const ptrdiff_t where = FirstWith(after);
          c_.AddAfterKey(item, key, Shouted(after));
          Put(static_cast<size_t>(where) + 1, key, item);
        }
      }
      if (unique_ && !key.empty() && Pick(16) == 0) {
        ExpectError([&] { c_.AddBefore(0, Shouted(key), 0); }, 457,
                    "This key is already associated with an element of this collection");
      }
    } else if (Pick(2) == 0) {
      const size_t at = At(list_.size());
      c_.RemoveByIndex(static_cast<int32_t>(at));
      list_.erase(list_.begin() + static_cast<ptrdiff_t>(at));
    } else {
      const std::string key = SomeKey();
      if (key.empty()) return;
      const ptrdiff_t where = FirstWith(key);
      c_.Remove(Shouted(key));
      list_.erase(list_.begin() + where);
    }
  }

  void ExpectSame() const {
    size_t i = 0;
    for (auto it = c_.begin(); it != c_.end(); ++it, ++i) {
      ASSERT_LT(i, list_.size());
      ASSERT_EQ(it.Key(), list_[i].key) << i;
      ASSERT_EQ(*it, Variant(list_[i].item)) << i;
    }
    ASSERT_EQ(i, list_.size());
    for (i = 0; i < list_.size(); ++i) {
      const Entry& entry = list_[i];
      ASSERT_EQ(c_.KeyByIndex(static_cast<int32_t>(i)), entry.key) << i;
      ASSERT_EQ(c_.ItemByIndex(static_cast<int32_t>(i)), Variant(entry.item)) << i;
      if (entry.key.empty()) continue;
      const ptrdiff_t first = FirstWith(entry.key);
      ASSERT_EQ(c_.IndexOfKey(entry.key), first) << entry.key;
      ASSERT_EQ(c_.Item(entry.key), Variant(list_[static_cast<size_t>(first)].item)) << entry.key;
    }
  }

  KeyedCollection c_;
  bool unique_;
  std::mt19937 random_;
  std::vector<Entry> list_;
  size_t focus_ = 0;
  int32_t next_ = 0;
  int32_t item_ = 0;
};

// Edits crowded at one spot empty a block whose neighbours are full, and empty the first
// block next to one with room: the cases where blocks join or cannot.
TEST(KeyedCollection, EditsCrowdedAtOneSpotKeepPositions) {
  struct Run {
    const char* edit;
    size_t at;
    int times;
  };
  constexpr size_t kEnd = SIZE_MAX;
  KeyedCollectionModel model(true, 9u);
  for (const Run& run : {Run{"insert", kEnd, 1024}, Run{"remove", 300, 250}, Run{"remove", 0, 200},
                         Run{"insert", 0, 300}, Run{"insert", 700, 400}, Run{"remove", 500, 600},
                         Run{"remove", 0, 300}}) {
    SCOPED_TRACE(std::string(run.edit) + " at " + std::to_string(run.at));
    model.Repeat(run.edit, run.at, run.times);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(KeyedCollection, AgreesWithAPlainListOverRandomEdits) {
  for (const bool unique : {true, false}) {
    SCOPED_TRACE(unique ? "unique keys" : "repeated keys");
    KeyedCollectionModel model(unique, unique ? 7u : 8u);
    model.Run(3000, true);
    ASSERT_GT(model.Size(), 900u);
    model.Run(3000, false);
    model.Run(3000, true);
  }
}

using testing::KeyedTestThing;

TEST(KeyedCollectionContent, RoundTripsEveryValueTypeWithKeysAndPositions) {
  KeyedCollection c;
  c.Add(Variant(), "empty");
  c.Add(Variant::Null());
  c.Add(static_cast<int16_t>(-7), "integer");
  c.Add(static_cast<int32_t>(2147483647), "long");
  c.Add(true, "boolean");
  c.Add(0.1, "double");
  c.Add(Currency::FromScaled(-123456789), "currency");
  c.Add(Variant::FromDate(45000.25), "date");
  c.Add("Grüße, 東京", "Text");
  c.Add(Bytes{0, 255, 7}, "bytes");
  c.Add(Bytes{}, "");
  c.Add(Variant(std::shared_ptr<IObject>()), "nothing");
  c.Add(Variant(""), "Straße");

  KeyedCollection back(false, 0, true);  // loading keeps the loader's own comparison
  back.Add(1, "old");
  back.SetContent(c.Content());
  EXPECT_EQ(Take(back), Take(c));
  EXPECT_EQ(back.ItemByIndex(2).Type(), VariantType::Integer);
  EXPECT_EQ(back.ItemByIndex(7).Type(), VariantType::Date);
  EXPECT_FALSE(back.Exists("STRASSE"));
  EXPECT_EQ(back.Content(), c.Content());  // same content, same bytes

  KeyedCollection folded;
  folded.SetContent(c.Content());
  EXPECT_EQ(folded.Item("STRASSE"), Variant(""));
  ExpectLookupsAgree(folded);
}

TEST(KeyedCollectionContent, PersistableObjectsComeBackAsNewInstancesOfTheirClass) {
  KeyedTestThing::Register();
  auto inner = std::make_shared<KeyedTestThing>();
  inner->name = "inner";
  inner->number = 2;
  auto outer = std::make_shared<KeyedTestThing>();
  outer->name = "outer";
  outer->number = 1;
  outer->tags->Add("tag", "T1");
  outer->tags->Add(Variant(inner), "child");

  KeyedCollection c;
  c.Add(Variant(outer), "{guid-1}");
  c.Add(5);
  KeyedCollection back;
  back.SetContent(c.Content());

  ASSERT_EQ(back.Count(), 2);
  const auto outerBack = back.Item("{GUID-1}").ToObject<KeyedTestThing>();
  ASSERT_NE(outerBack, nullptr);
  EXPECT_NE(outerBack, outer);
  EXPECT_EQ(outerBack->name, "outer");
  EXPECT_EQ(outerBack->number, 1);
  EXPECT_EQ(Keys(*outerBack->tags), (std::vector<std::string>{"T1", "child"}));
  const auto innerBack = outerBack->tags->Item("CHILD").ToObject<KeyedTestThing>();
  ASSERT_NE(innerBack, nullptr);
  EXPECT_EQ(innerBack->name, "inner");
  EXPECT_EQ(innerBack->number, 2);
  EXPECT_EQ(back.ItemByIndex(1), Variant(5));
  EXPECT_EQ(back.Content(), c.Content());
}

TEST(KeyedCollectionContent, ObjectsThatCannotPersistRaiseTypeMismatch) {
  KeyedCollection c;
  c.Add(1, "a");
  c.Add(Variant(std::make_shared<testing::NotPersistable>()), "b");
  ExpectError([&] { c.Content(); }, 13, "Type mismatch");
  c.RemoveAll();
  c.Add(Variant(std::make_shared<KeyedCollection>()));  // a collection is no persistable object
  ExpectError([&] { c.Content(); }, 13, "Type mismatch");
}

TEST(KeyedCollectionContent, BytesThatDoNotLoadLeaveTheCollectionUnchanged) {
  KeyedTestThing::Register();
  KeyedCollection source;
  source.Add(1, "a");
  source.Add(Variant(std::make_shared<KeyedTestThing>()), "b");
  const Bytes good = source.Content();
  Bytes truncated(good.begin(), good.end() - 1);
  Bytes trailing = good;
  trailing.push_back(0);
  PropertyBag bag;
  bag.WriteProperty("a", 1);

  const Bytes undecodable[] = {{}, {0x00}, {0xFF, 0xFE, 0xFD}, truncated, trailing, bag.Contents()};
  KeyedCollection c = Abc();
  const Snapshot before = Take(c);
  for (const Bytes& bytes : undecodable) {
    try {
      c.SetContent(bytes);
      ADD_FAILURE() << "loaded " << bytes.size() << " bytes";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), err::kInvalidBagContents) << e.Report();
    }
    EXPECT_EQ(Take(c), before);
  }

  // Well-formed bytes whose items the collection cannot take.
  std::vector<PropertyBag::Entry> duplicate(2);
  duplicate[0].key = "key";
  duplicate[1].key = "KEY";
  ExpectError([&] { c.SetContent(bag_codec::EncodeKeyedItems(duplicate)); }, 457,
              "This key is already associated with an element of this collection");
  EXPECT_EQ(Take(c), before);

  std::vector<PropertyBag::Entry> unknownClass(2);
  unknownClass[0].key = "first";
  unknownClass[1].nested =
      std::make_shared<NestedObject>(NestedObject{"NoSuchClass", std::make_shared<PropertyBag>()});
  try {
    c.SetContent(bag_codec::EncodeKeyedItems(unknownClass));
    ADD_FAILURE() << "no error";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kCannotCreateObject);
  }
  EXPECT_EQ(Take(c), before);
  ExpectLookupsAgree(c);
}

}  // namespace
}  // namespace prvdrinfo
