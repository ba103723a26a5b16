#include "prvdrinfo/foundation/keyed_collection_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/error.h"
#include "support/keyed_test_thing.h"

namespace prvdrinfo {
namespace {

using testing::KeyedTestThing;

std::vector<std::string> Keys(const KeyedCollection& c) {
  std::vector<std::string> keys;
  for (int32_t i = 0; i < c.Count(); ++i) keys.push_back(c.KeyByIndex(i));
  return keys;
}

std::vector<Variant> Items(const KeyedCollection& c) { return {c.begin(), c.end()}; }

// Through the bytes, as a stored object travels.
PropertyBag Reloaded(const PropertyBag& bag) {
  PropertyBag back;
  back.SetContents(bag.Contents());
  return back;
}

TEST(KeyedCollectionField, WrittenCollectionsReadBackWithKeysOrderAndCaseRule) {
  KeyedCollection c;
  c.Add("{G1}", "{G1}");
  c.Add("no key");
  c.Add(static_cast<int16_t>(3), "{g2}");
  PropertyBag bag;
  WriteKeyedCollection(bag, "FormGuids", c);
  ASSERT_TRUE(bag.ReadProperty("FormGuids").IsBytes());

  const auto back = ReadKeyedCollection(Reloaded(bag), "formguids");
  EXPECT_EQ(Keys(*back), Keys(c));
  EXPECT_EQ(Items(*back), Items(c));
  EXPECT_TRUE(back->IgnoresCase());
  EXPECT_TRUE(back->UniqueKeys());
  EXPECT_TRUE(back->Exists("{G2}"));

  PropertyBag emptyBag;
  WriteKeyedCollection(emptyBag, "FormGuids", KeyedCollection());
  EXPECT_FALSE(emptyBag.ReadBytes("FormGuids").empty());  // stored even when empty
  EXPECT_EQ(ReadKeyedCollection(Reloaded(emptyBag), "FormGuids")->Count(), 0);
  EXPECT_EQ(ReadKeyedCollection(PropertyBag(), "FormGuids")->Count(), 0);  // absent key
}

TEST(KeyedCollectionField, OlderLayoutLoadsInIndexOrderWithUnkeyedEntries) {
  KeyedTestThing::Register();
  auto thing = std::make_shared<KeyedTestThing>();
  thing->name = "nested";
  PropertyBag bag;
  // Written out of index order: the entries still load by index.
  bag.WriteProperty("FormGuidsItem2", Variant(thing));
  bag.WriteProperty("FormGuidsKey2", "{B}");
  bag.WriteProperty("FormGuidsKey0", "{A}");
  bag.WriteProperty("FormGuidsItem0", "first");
  bag.WriteProperty("FormGuidsKey1", "");
  bag.WriteProperty("FormGuidsItem1", 7);
  bag.WriteProperty("FormGuidsItem3", "no key written");
  bag.WriteProperty("FormGuidsCount", static_cast<int16_t>(4));

  const auto c = ReadKeyedCollection(Reloaded(bag), "FormGuids");
  EXPECT_EQ(Keys(*c), (std::vector<std::string>{"{A}", "", "{B}", ""}));
  EXPECT_EQ(c->ItemByIndex(0), Variant("first"));
  EXPECT_EQ(c->ItemByIndex(1), Variant(7));
  EXPECT_EQ(c->ItemByIndex(3), Variant("no key written"));
  const auto back = c->Item("{b}").ToObject<KeyedTestThing>();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->name, "nested");

  // An empty byte array under the key itself also means the older layout.
  bag.WriteProperty("FormGuids", Bytes{});
  EXPECT_EQ(ReadKeyedCollection(bag, "FormGuids")->Count(), 4);
  // Content under the key wins over the older keys.
  KeyedCollection current;
  current.Add(1, "x");
  WriteKeyedCollection(bag, "FormGuids", current);
  EXPECT_EQ(Keys(*ReadKeyedCollection(bag, "FormGuids")), (std::vector<std::string>{"x"}));
}

TEST(KeyedCollectionField, DamagedOlderLayoutsRaise) {
  PropertyBag duplicate;
  duplicate.WriteProperty("TCount", 2);
  duplicate.WriteProperty("TKey0", "k");
  duplicate.WriteProperty("TItem0", 1);
  duplicate.WriteProperty("TKey1", "K");
  duplicate.WriteProperty("TItem1", 2);
  try {
    ReadKeyedCollection(duplicate, "T");
    ADD_FAILURE() << "no error";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), 457);
  }

  // A count no stored entries back would otherwise add two billion empty items.
  PropertyBag huge;
  huge.WriteProperty("TCount", 2147483647);
  try {
    ReadKeyedCollection(huge, "T");
    ADD_FAILURE() << "no error";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kInvalidBagContents);
  }
  PropertyBag negative;
  negative.WriteProperty("TCount", -3);
  EXPECT_EQ(ReadKeyedCollection(negative, "T")->Count(), 0);
}

TEST(KeyedCollectionField, ObjectsHoldingCollectionsSerializeAndComeBackAsTheirClass) {
  KeyedTestThing::Register();
  KeyedTestThing thing;
  thing.name = "outer";
  auto child = std::make_shared<KeyedTestThing>();
  child->tags->Add("deep", "d");
  thing.tags->Add(Variant(child), "child");
  thing.tags->Add(Currency::FromScaled(15000));

  const Bytes bytes = thing.Serialize();
  KeyedTestThing back;
  back.Deserialize(bytes);
  EXPECT_EQ(back.name, "outer");
  ASSERT_EQ(back.tags->Count(), 2);
  EXPECT_EQ(back.tags->ItemByIndex(1), Variant(Currency::FromScaled(15000)));
  const auto childBack = back.tags->Item("CHILD").ToObject<KeyedTestThing>();
  ASSERT_NE(childBack, nullptr);
  EXPECT_EQ(childBack->tags->Item("D"), Variant("deep"));
  EXPECT_EQ(back.Serialize(), bytes);
}

// A collection holding one KeyedTestThing whose Tags hold the next, `depth` objects deep.
std::shared_ptr<KeyedCollection> Chain(int depth) {
  auto top = std::make_shared<KeyedCollection>();
  KeyedCollection* tags = top.get();
  for (int i = 0; i < depth; ++i) {
    auto thing = std::make_shared<KeyedTestThing>();
    tags->Add(Variant(thing));
    tags = thing->tags.get();
  }
  return top;
}

// The CBOR head of a byte string of that length, in its shortest form.
Bytes ByteStringHead(uint64_t length) {
  if (length < 24) return {static_cast<uint8_t>(0x40 | length)};
  Bytes head;
  int width = length < 0x100 ? 1 : length < 0x10000 ? 2 : length < 0x100000000 ? 4 : 8;
  head.push_back(static_cast<uint8_t>(width == 1   ? 0x58
                                      : width == 2 ? 0x59
                                      : width == 4 ? 0x5A
                                                   : 0x5B));
  for (int i = width - 1; i >= 0; --i) head.push_back(static_cast<uint8_t>(length >> (8 * i)));
  return head;
}

// Content that a writer cannot produce: `levels` objects, each holding the next level's
// content as the bytes of its Tags. Built outside-in, so it costs only its own size.
Bytes CraftedNesting(int levels) {
  PropertyBag tags;
  tags.WriteProperty("Tags", Bytes{});
  std::vector<PropertyBag::Entry> one(1);
  one[0].nested = std::make_shared<NestedObject>(
      NestedObject{KeyedTestThing::kClassName, std::make_shared<PropertyBag>(tags)});
  Bytes prefix = bag_codec::EncodeKeyedItems(one);
  EXPECT_EQ(prefix.back(), 0x40);  // the empty Tags bytes end the document
  prefix.pop_back();

  const Bytes innermost = KeyedCollection().Content();
  std::vector<uint64_t> lengths{innermost.size()};
  for (int i = 1; i < levels; ++i) {
    lengths.push_back(prefix.size() + ByteStringHead(lengths.back()).size() + lengths.back());
  }
  Bytes out;
  for (int i = levels - 1; i >= 1; --i) {
    out.insert(out.end(), prefix.begin(), prefix.end());
    const Bytes head = ByteStringHead(lengths[static_cast<size_t>(i) - 1]);
    out.insert(out.end(), head.begin(), head.end());
  }
  out.insert(out.end(), innermost.begin(), innermost.end());
  return out;
}

TEST(KeyedCollectionField, NestingStopsAtTheDepthAWriterCanReach) {
  KeyedTestThing::Register();
  const auto deepest = Chain(PropertyBag::kMaxDepth);
  KeyedCollection back;
  back.SetContent(deepest->Content());
  EXPECT_EQ(back.Content(), deepest->Content());

  try {
    Chain(PropertyBag::kMaxDepth + 1)->Content();
    ADD_FAILURE() << "stored an object nested too deep";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
  }

  // The crafted form of the deepest chain loads; one more level, or thousands, do not.
  KeyedCollection crafted;
  crafted.SetContent(CraftedNesting(PropertyBag::kMaxDepth + 1));
  EXPECT_EQ(crafted.Content(), deepest->Content());
  for (int levels : {PropertyBag::kMaxDepth + 2, 5000}) {
    try {
      crafted.SetContent(CraftedNesting(levels));
      ADD_FAILURE() << levels << " levels loaded";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), err::kInvalidBagContents) << e.Description();
    }
    EXPECT_EQ(crafted.Content(), deepest->Content());
  }
}

}  // namespace
}  // namespace prvdrinfo
