#include "prvdrinfo/columns/column_defs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_computed.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/referencer_column_info.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/services/string_buffer.h"
#include "prvdrinfo/services/string_builder.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::BagOf;
using testing::ErrorOf;
using testing::KeysOf;

std::shared_ptr<CColumnDefStored> Stored(const std::string& guid) {
  auto c = std::make_shared<CColumnDefStored>();
  c->SetGuid(guid);
  c->SetIdentifier("id_" + guid);
  return c;
}

std::shared_ptr<CColumnDefComputed> Computed(const std::string& guid) {
  auto c = std::make_shared<CColumnDefComputed>();
  c->SetGuid(guid);
  c->SetFormula("f(" + guid + ")");
  return c;
}

std::vector<std::string> GuidsOf(const CColumnDefs& defs) {
  std::vector<std::string> guids;
  for (const auto& column : defs) guids.push_back(column->Guid());
  return guids;
}

TEST(ColumnDefs, HoldsColumnsInOrderUnderTheirGuids) {
  const auto defs = CColumnDefsFactory().CreateColumnDefs();
  EXPECT_EQ(defs->Count(), 0);
  const auto a = Stored("a");
  const auto b = Computed("b");
  defs->AddExisting(a);
  defs->AddExisting(b);
  EXPECT_EQ(defs->Count(), 2);
  EXPECT_EQ(GuidsOf(*defs), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(defs->Item("a"), a);
  EXPECT_EQ(defs->Item("B"), b);
  EXPECT_EQ(defs->ItemByIndex(1), b);
  EXPECT_TRUE(defs->ExistsByGuid("A"));
  EXPECT_FALSE(defs->ExistsByGuid("c"));
  const auto listed = defs->Enumerator();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0], a);
}

TEST(ColumnDefs, GuidsDifferingOnlyInLetterCaseCollide) {
  CColumnDefs defs;
  defs.AddExisting(Stored("6f1c2d3e-aaaa"));
  for (const auto& again : std::vector<std::shared_ptr<IBaseColumnDef>>{
           Stored("6F1C2D3E-AAAA"), Computed("6f1c2d3e-aaaa")}) {
    EXPECT_EQ(ErrorOf([&] { defs.AddExisting(again); }).Number(), 457);
    EXPECT_EQ(ErrorOf([&] { defs.AddExistingAfterGuid(again, "6f1c2d3e-aaaa"); }).Number(), 457);
  }
  EXPECT_EQ(defs.Count(), 1);
}

TEST(ColumnDefs, AddExistingAfterGuid) {
  struct Case {
    const char* after;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"a", {"a", "x", "b", "c"}},
      {"B", {"a", "b", "x", "c"}},
      {"c", {"a", "b", "c", "x"}},  // after the last: as AddExisting
  };
  for (const Case& k : cases) {
    CColumnDefs defs;
    for (const char* g : {"a", "b", "c"}) defs.AddExisting(Stored(g));
    defs.AddExistingAfterGuid(Stored("x"), k.after);
    EXPECT_EQ(GuidsOf(defs), k.order) << k.after;
  }
  CColumnDefs defs;
  defs.AddExisting(Stored("a"));
  EXPECT_EQ(ErrorOf([&] { defs.AddExistingAfterGuid(Stored("x"), "missing"); }).Number(), 5);
  EXPECT_EQ(defs.Count(), 1);
}

TEST(ColumnDefs, UnknownKeysAndPositionsFail) {
  CColumnDefs defs;
  defs.AddExisting(Stored("a"));
  const CError item = ErrorOf([&] { defs.Item("nope"); });
  EXPECT_EQ(item.Number(), 5);
  EXPECT_NE(item.Context().find("Passed GUID: nope"), std::string::npos);
  EXPECT_EQ(ErrorOf([&] { defs.Remove("nope"); }).Number(), 5);
  for (const int32_t bad : {-1, 1, 100}) {
    EXPECT_EQ(ErrorOf([&] { defs.ItemByIndex(bad); }).Number(), 9);
    EXPECT_EQ(ErrorOf([&] { defs.RemoveByIndex(bad); }).Number(), 9);
  }
  EXPECT_EQ(ErrorOf([&] { defs.AddExisting(nullptr); }).Number(), 91);
  EXPECT_EQ(defs.Count(), 1);
}

TEST(ColumnDefs, RemoveRemoveByIndexRemoveAll) {
  CColumnDefs defs;
  for (const char* g : {"a", "b", "c", "d"}) defs.AddExisting(Stored(g));
  defs.Remove("B");
  defs.RemoveByIndex(0);
  EXPECT_EQ(GuidsOf(defs), (std::vector<std::string>{"c", "d"}));
  defs.RemoveAll();
  EXPECT_EQ(defs.Count(), 0);
  defs.AddExisting(Stored("c"));  // the old keys are gone with the old collection
  EXPECT_EQ(defs.Count(), 1);
}

TEST(ColumnDefs, ColumnsComeBackAsTheirOwnClass) {
  CColumnDefs defs;
  defs.AddExisting(Stored("s"));
  defs.AddExisting(Computed("c"));
  const Bytes bytes = defs.Serialize();
  EXPECT_EQ(KeysOf(bytes), std::vector<std::string>{"Columns"});

  CColumnDefs loaded;
  loaded.AddExisting(Stored("stale"));
  loaded.Deserialize(bytes);
  ASSERT_EQ(loaded.Count(), 2);
  const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(loaded.ItemByIndex(0));
  const auto computed = std::dynamic_pointer_cast<CColumnDefComputed>(loaded.ItemByIndex(1));
  ASSERT_TRUE(stored);
  ASSERT_TRUE(computed);
  EXPECT_EQ(stored->Identifier(), "id_s");
  EXPECT_EQ(computed->Formula(), "f(c)");
  EXPECT_EQ(loaded.Item("S"), loaded.ItemByIndex(0));
  EXPECT_FALSE(loaded.ExistsByGuid("stale"));
  EXPECT_EQ(loaded.Serialize(), bytes);
  EXPECT_EQ(loaded.ContentId(), defs.ContentId());
}

TEST(ColumnDefs, ItemsThatAreNoColumnsFailTheLoadAndChangeNothing) {
  KeyedCollection foreign(true, 1, true);
  foreign.Add(Variant(std::make_shared<CColumnDefStored>()), "ok");
  foreign.Add(Variant(std::make_shared<CReferencerColumnInfo>()), "not a column");
  PropertyBag bag;
  WriteKeyedCollection(bag, "Columns", foreign);

  KeyedCollection text(true, 1, true);
  text.Add(Variant("just text"), "t");
  PropertyBag textBag;
  WriteKeyedCollection(textBag, "Columns", text);

  for (const PropertyBag* b : {&bag, &textBag}) {
    CColumnDefs defs;
    defs.AddExisting(Stored("kept"));
    EXPECT_EQ(ErrorOf([&] { defs.Deserialize(b->Contents()); }).Number(), 13);
    EXPECT_EQ(GuidsOf(defs), std::vector<std::string>{"kept"});
  }
  CColumnDefs defs;
  EXPECT_THROW(defs.Deserialize(Bytes{1, 2, 3}), CError);
}

TEST(ColumnDefs, ContentStringConcatenatesTheMembers) {
  CColumnDefs empty;
  EXPECT_EQ(empty.ContentString(), u"");
  EXPECT_EQ(empty.ContentId(), content::ContentIdOf(u""));

  const auto a = Stored("a");
  const auto b = Computed("b");
  CColumnDefs defs;
  defs.AddExisting(a);
  defs.AddExisting(b);
  EXPECT_EQ(defs.ContentString(), a->ContentString() + b->ContentString());

  CStringBuffer buffer;
  defs.AppendContentString2(buffer);
  EXPECT_EQ(buffer.ToString(), defs.ContentString());
  CStringBuilder builder;
  defs.AppendContentString(builder);
  EXPECT_EQ(builder.Text16(), defs.ContentString());

  // A change in a member is a change of the collection; the order counts too.
  const std::string before = defs.ContentId();
  b->SetFormula("g");
  EXPECT_NE(defs.ContentId(), before);
  CColumnDefs reversed;
  reversed.AddExisting(b);
  reversed.AddExisting(a);
  EXPECT_NE(reversed.ContentId(), defs.ContentId());
}

// Stored projects hold these bytes, so a change to the collection's mechanics must leave
// them (and the content id taken from the members) exactly as they are.
TEST(ColumnDefs, SerializedBytesAndContentIdAreFixed) {
  CColumnDefs defs;
  auto stored = Stored("a");
  defs.AddExisting(stored);
  defs.AddExisting(Computed("c"));
  const Bytes bytes = defs.Serialize();
  EXPECT_EQ(bytes.size(), 727u);
  EXPECT_EQ(content::ContentIdOf(testing::UnitsOf(bytes)),
            "CF03361EB20270F36977848ADF846395E32C1A8E6079FECAB6113E89990674C0");
  EXPECT_EQ(defs.ContentId(), "1475C51208CD14ECE045C4B50072625DB2BE9A7EA144F1B1F686CD1E680C3995");
}

}  // namespace
}  // namespace prvdrinfo
