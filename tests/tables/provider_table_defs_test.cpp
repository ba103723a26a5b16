#include "prvdrinfo/tables/provider_table_defs.h"

#include <gtest/gtest.h>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/error.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

TEST(ProviderTableDefs, NameRules) {
  struct Case {
    std::string name;
    int32_t number;
    std::string description;
  } cases[] = {
      {"", 5, "Table Name cannot be blank."},
      {"   ", 5, "Table Name cannot be blank."},
      {"\t\n", 5, "Table Name cannot be blank."},
      {"Two Words", 5, "Table name cannot contain whitespace"},
      {" Leading", 5, "Table name cannot contain whitespace"},
      {"tasks", 5, "Table name already exists in tables collection."},
      {"TASKS", 5, "Table name already exists in tables collection."},
      {"Notes", 0, ""},
  };
  auto tables = CProviderTableDefsFactory().CreateProviderTableDefs();
  tables->Add("Tasks");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      auto table = tables->Add(c.name);
      EXPECT_EQ(c.number, 0);
      EXPECT_EQ(table->TableName(), c.name);
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), c.number);
      EXPECT_EQ(e.Description(), c.description);
    }
  }
  EXPECT_EQ(tables->Count(), 2);
}

TEST(ProviderTableDefs, ReturnsTheStoredDefinition) {
  CProviderTableDefs tables;
  auto added = tables.Add("Tasks");
  added->Columns()->ProviderSpecific();
  EXPECT_EQ(tables.ItemByName("TASKS"), added);
  EXPECT_EQ(tables.ItemByIndex(0), added);
  try {
    tables.ItemByName("Other");
    ADD_FAILURE();
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
  }
  try {
    tables.ItemByIndex(1);
    ADD_FAILURE();
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kSubscriptOutOfRange);
  }
}

TEST(ProviderTableDefs, RoundTrip) {
  CProviderTableDefs tables;
  tables.Add("Tasks");
  tables.Add("Notes");
  CProviderTableDefs loaded;
  loaded.Deserialize(tables.Serialize());
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.ItemByIndex(1)->TableName(), "Notes");
  EXPECT_EQ(loaded.ItemByName("tasks")->SqlCreateTable(),
            tables.ItemByName("Tasks")->SqlCreateTable());
  loaded.RemoveAll();
  EXPECT_EQ(loaded.Count(), 0);
  loaded.Add("Tasks");  // the name is free again
}

// Stored projects hold these bytes, so a change to the collection's mechanics must leave
// them exactly as they are.
TEST(ProviderTableDefs, SerializedBytesAreFixed) {
  CProviderTableDefs tables;
  tables.Add("alpha");
  tables.Add("beta");
  const Bytes bytes = tables.Serialize();
  EXPECT_EQ(bytes.size(), 9825u);
  EXPECT_EQ(content::ContentIdOf(testing::UnitsOf(bytes)),
            "EEF05B956FFEFE5E83D62CCE9D382060B008B7B00266176DE96E5F1C36AB0CF8");
}

}  // namespace
}  // namespace prvdrinfo
