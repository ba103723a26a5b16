#include "prvdrinfo/views/provider_view_cols_sort.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;
using testing::KeysOf;
using testing::UnitsOf;

// "a,b+" makes keys a (ascending) and b (descending).
std::shared_ptr<CProviderViewColsSort> SortOf(const std::string& keys) {
  auto sort = CProviderViewColsSortF().CreateViewColsSort();
  std::stringstream in(keys);
  std::string key;
  while (std::getline(in, key, ',')) {
    if (key.empty()) continue;
    const bool descending = key.back() == '+';
    if (descending) key.pop_back();
    sort->Add(key);
    if (descending) sort->Add(key);
  }
  sort->SetIsDirty(false);
  return sort;
}

// The keys in order, a descending one followed by "+".
std::string Render(const CProviderViewColsSort& sort) {
  std::string text;
  for (int32_t i = 0; i < sort.Count(); ++i) {
    if (i > 0) text += ",";
    text += sort.GuidByIndex(i);
    if (sort.ColumnByIndex(i)->Direction() == colsort_Descending) text += "+";
  }
  return text;
}

TEST(SortOrder, AddAndPrependDirections) {
  struct Case {
    const char* order;
    bool prepend;
    const char* guid;
    const char* want;
  };
  const Case cases[] = {
      {"", false, "a", "a"},       {"a,b", false, "c", "a,b,c"}, {"a,b", false, "b", "a,b+"},
      {"a,b+", false, "b", "a,b"}, {"a,b", false, "A", "a+,b"},  {"", true, "a", "a"},
      {"a,b", true, "c", "c,a,b"}, {"a,b", true, "a", "a+,b"},   {"a+,b", true, "a", "a,b"},
      {"a,b+", true, "b", "b,a"},  {"a,b", true, "b", "b,a"},
  };
  for (const Case& c : cases) {
    const auto sort = SortOf(c.order);
    const auto item = c.prepend ? sort->Prepend(c.guid) : sort->Add(c.guid);
    EXPECT_EQ(Render(*sort), c.want)
        << (c.prepend ? "Prepend " : "Add ") << c.guid << " to " << c.order;
    EXPECT_EQ(sort->Column(c.guid), item);
  }
}

TEST(SortOrder, InsertingWhereTheColumnStandsMakesItDescending) {
  struct Case {
    const char* order;
    const char* guid;
    const char* at;
    e_InsertSortOrderPosition pos;
    const char* want;
  };
  const Case cases[] = {
      {"a,b", "b", "a", insertpos_After, "a,b+"},    {"a,b", "a", "b", insertpos_Before, "a+,b"},
      {"a,b+", "b", "a", insertpos_After, "a,b+"},   {"a,b,c", "c", "a", insertpos_After, "a,c,b"},
      {"a,b,c", "a", "c", insertpos_After, "b,c,a"}, {"a,b,c", "a", "c", insertpos_Before, "b,a,c"},
      {"a,b", "b", "a", insertpos_Before, "b,a"},    {"a,b", "a", "b", insertpos_After, "b,a"},
      {"a+,b", "a", "b", insertpos_After, "b,a"},    {"a,b", "x", "a", insertpos_Before, "x,a,b"},
      {"a,b", "x", "a", insertpos_After, "a,x,b"},   {"a,b", "x", "b", insertpos_After, "a,b,x"},
  };
  for (const Case& c : cases) {
    const auto sort = SortOf(c.order);
    const auto item = sort->Insert(c.guid, c.at, c.pos);
    EXPECT_EQ(Render(*sort), c.want)
        << "Insert " << c.guid << (c.pos == insertpos_After ? " after " : " before ") << c.at
        << " in " << c.order;
    EXPECT_EQ(sort->Column(c.guid), item);
  }
}

TEST(SortOrder, InsertErrors) {
  struct Case {
    const char* guid;
    const char* at;
    const char* description;
  };
  const Case cases[] = {
      {"a", "a", "New and InsertAt GUIDs must be different."},
      {"zz", "zz", "New and InsertAt GUIDs must be different."},  // checked before the lookup
      {"a", "A", "New and InsertAt GUIDs must be different."},    // the same key
      {"a", "zz", "InsertAt GUID does not exist."},
  };
  for (const Case& c : cases) {
    const auto sort = SortOf("a,b+");
    const CError error = ErrorOf([&] { sort->Insert(c.guid, c.at, insertpos_After); });
    EXPECT_EQ(error.Number(), 5) << c.guid << " at " << c.at;
    EXPECT_EQ(error.Description(), c.description) << c.guid << " at " << c.at;
    EXPECT_EQ(Render(*sort), "a,b+");
  }
}

TEST(SortOrder, AbsentKeysFailInTheCollection) {
  const auto sort = SortOf("a");
  EXPECT_NE(ErrorOf([&] { sort->Remove("zz"); }).Number(), 0);
  EXPECT_NE(ErrorOf([&] { sort->Column("zz"); }).Number(), 0);
  EXPECT_EQ(ErrorOf([&] { sort->GuidByIndex(1); }).Number(), 9);
}

TEST(SortOrder, DirtyRulesPerOperation) {
  struct Case {
    const char* name;
    void (*call)(CProviderViewColsSort&);
    bool ownFlag;
  };
  const Case cases[] = {
      {"Add", [](CProviderViewColsSort& s) { s.Add("c"); }, true},
      {"Prepend", [](CProviderViewColsSort& s) { s.Prepend("b"); }, true},
      {"RemoveAll", [](CProviderViewColsSort& s) { s.RemoveAll(); }, true},
      {"Insert", [](CProviderViewColsSort& s) { s.Insert("a", "b", insertpos_After); }, false},
      {"Remove", [](CProviderViewColsSort& s) { s.Remove("a"); }, false},
  };
  for (const Case& c : cases) {
    const auto sort = SortOf("a,b");
    c.call(*sort);
    EXPECT_EQ(sort->IsDirty(), c.ownFlag) << c.name;
  }
  const auto empty = SortOf("");
  empty->RemoveAll();
  EXPECT_TRUE(empty->IsDirty());
}

TEST(SortOrder, ClearingTheFlagClearsTheItemsSettingItLeavesThem) {
  const auto sort = SortOf("a");
  sort->Column("a")->SetDirection(colsort_Descending);
  EXPECT_TRUE(sort->Column("a")->IsDirty());
  EXPECT_TRUE(sort->IsDirty());
  sort->SetIsDirty(false);
  EXPECT_FALSE(sort->Column("a")->IsDirty());
  sort->SetIsDirty(true);
  EXPECT_FALSE(sort->Column("a")->IsDirty());
  EXPECT_TRUE(sort->IsDirty());
}

TEST(SortOrder, PersistenceAndContent) {
  const auto sort = SortOf("a,b+");
  CProviderViewColsSort copy;
  copy.Deserialize(sort->Serialize());
  EXPECT_EQ(Render(copy), "a,b+");
  EXPECT_EQ(copy.Serialize(), sort->Serialize());
  EXPECT_EQ(KeysOf(sort->Serialize()), (std::vector<std::string>{"Columns"}));

  // Direction is written even when it is 0; absent it reads as ascending.
  CProviderViewColsSortItem item;
  EXPECT_EQ(KeysOf(item.Serialize()), (std::vector<std::string>{"Direction"}));
  item.SetDirection(colsort_Descending);
  item.Deserialize(PropertyBag().Contents());
  EXPECT_EQ(item.Direction(), colsort_Ascending);
  EXPECT_EQ(item.ContentString(), UnitsOf(item.Serialize()));

  EXPECT_EQ(sort->ContentString(), u"a_" + sort->Column("a")->ContentString() + u"b_" +
                                       sort->Column("b")->ContentString());
  EXPECT_EQ(SortOf("")->ContentString(), u"");
}

TEST(SortOrder, AutoSaveIdentifierFollowsTheContentId) {
  const auto sort = SortOf("a,b");
  const std::string id = sort->ContentId();
  EXPECT_EQ(sort->ContentIdForAutoSave(), id);
  sort->Add("b");
  EXPECT_NE(sort->ContentId(), id);
  EXPECT_EQ(sort->ContentIdForAutoSave(), sort->ContentId());
}

}  // namespace
}  // namespace prvdrinfo
