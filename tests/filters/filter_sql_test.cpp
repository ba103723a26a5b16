#include "prvdrinfo/filters/provider_view_filter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/stored_columns.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::AddStoredColumn;
using testing::ErrorOf;

constexpr int32_t kObjectError = static_cast<int32_t>(0x80040000u);

// A provider with a text column A, an integer column B, a real column C and a date column
// D, and its table holding four rows told apart by B.
struct ItemsTable {
  std::shared_ptr<CProviderColDefs> columns = std::make_shared<CProviderColDefs>();
  std::shared_ptr<CColumnSetProvider> provider = std::make_shared<CColumnSetProvider>(columns);
  test::TempDir folder;
  std::shared_ptr<Connection> db;

  ItemsTable() {
    AddStoredColumn(*columns, "A", datatype_String);
    AddStoredColumn(*columns, "B", datatype_Integer);
    AddStoredColumn(*columns, "C", datatype_Real);
    AddStoredColumn(*columns, "D", datatype_DateUtc);
    db = testing::OpenWithTable(folder.File("project.db"), "Items", columns);
    db->Execute(
        "INSERT INTO \"Items\" (\"rec_guid\", \"A\", \"B\", \"C\", \"D\") VALUES "
        "('1', 'O''Brien', 7, 0, '2024-03-01'), ('2', 'o''brien', 3, 1.5, '2023-12-31'), "
        "('3', 'Smith', 9, 2, '2024-01-01'), ('4', 'Jones', -5, 0.25, NULL)");
  }

  // B of the rows the statement selects, in order of B.
  static std::vector<int32_t> Bs(const std::shared_ptr<Recordset>& rows) {
    std::vector<int32_t> bs;
    for (; !rows->Eof(); rows->MoveNext()) bs.push_back(rows->Value("B").ToLong());
    return bs;
  }
  std::vector<int32_t> Select(const std::string& where) const {
    return Bs(db->OpenRecordset("SELECT \"B\" FROM \"Items\" WHERE " + where + " ORDER BY \"B\""));
  }
  std::vector<int32_t> SelectBound(const FilterSqlParameters& condition) const {
    auto command =
        db->CreateCommand("SELECT \"B\" FROM \"Items\" WHERE " + condition.Sql + " ORDER BY \"B\"");
    for (size_t i = 0; i < condition.Parameters.size(); ++i) {
      command->SetValue(static_cast<int32_t>(i + 1), condition.Parameters[i]);
    }
    return Bs(command->OpenRecordset());
  }
  std::shared_ptr<CProviderViewFilter> NewFilter() const {
    auto filter = std::make_shared<CProviderViewFilter>();
    filter->SetProviderInfo(provider);
    return filter;
  }
};

// The worked filter: (A = O'Brien OR B > 5) AND (C <> 0).
void AddWorkedGroups(CProviderViewFilter& filter) {
  auto first = filter.Groups()->Add();
  first->Add2("A", operator_Equals, "O'Brien", logicop_And);
  first->Add2("B", operator_GreaterThan, "5", logicop_Or);
  filter.Groups()->Add()->Add2("C", operator_NotEquals, "0", logicop_And);
}

TEST(FilterSql, WorkedExamplesComeOutExactlyAndSelectTheRightRows) {
  ItemsTable items;
  auto filter = items.NewFilter();
  AddWorkedGroups(*filter);
  const std::string condition = "(\"A\"='O''Brien' COLLATE NOCASE OR \"B\">5) AND (\"C\"<>0)";
  EXPECT_EQ(filter->Sql(filterprefix_Where), " WHERE " + condition);
  EXPECT_EQ(filter->Sql(filterprefix_None), condition);
  EXPECT_EQ(filter->Sql(filterprefix_LogicalOperator), " AND " + condition);
  filter->Groups()->FilterGroupByIndex(0)->SetLogicalOperator(logicop_Or);
  EXPECT_EQ(filter->Sql(filterprefix_LogicalOperator), " OR " + condition);
  EXPECT_EQ(filter->Sql(filterprefix_None), condition);  // the first group's connective stays out

  const std::vector<int32_t> expected{3, 9};
  EXPECT_EQ(items.Select(filter->Sql(filterprefix_None)), expected);
  EXPECT_EQ(
      ItemsTable::Bs(items.db->OpenRecordset("SELECT \"B\" FROM \"Items\"" +
                                             filter->Sql(filterprefix_Where) + " ORDER BY \"B\"")),
      expected);
  EXPECT_EQ(items.Select("1" + filter->Sql(filterprefix_LogicalOperator)),
            (std::vector<int32_t>{-5, 3, 7, 9}));
}

TEST(FilterSql, AFilterWithoutItemsYieldsOnlyThePrefix) {
  ItemsTable items;
  auto filter = items.NewFilter();
  EXPECT_EQ(filter->Sql(filterprefix_Where), " WHERE ");
  EXPECT_EQ(filter->Sql(filterprefix_None), "");
  EXPECT_EQ(filter->Sql(filterprefix_LogicalOperator), "");
  filter->Groups()->Add()->SetLogicalOperator(logicop_Or);
  filter->Groups()->Add();
  EXPECT_EQ(filter->Sql(filterprefix_Where), " WHERE ");
  EXPECT_EQ(filter->Sql(filterprefix_LogicalOperator), "");
}

// An empty group adds no connective and no parentheses, wherever it stands, so the text
// is the one without it and SQLite takes it. The empty groups join with Or, so a
// connective of theirs that slipped in would show.
TEST(FilterSql, EmptyGroupsContributeNothingInEveryPosition) {
  ItemsTable items;
  auto plain = items.NewFilter();
  AddWorkedGroups(*plain);
  for (const std::string layout : {"EGG", "GEG", "GGE", "EGEGE", "EEGG", "GGEE"}) {
    auto filter = items.NewFilter();
    int32_t real = 0;
    for (char slot : layout) {
      if (slot == 'E') {
        filter->Groups()->Add()->SetLogicalOperator(logicop_Or);
      } else {
        filter->Groups()->Add()->Deserialize(
            plain->Groups()->FilterGroupByIndex(real++)->Serialize());
      }
    }
    for (e_FilterPrefixType prefix :
         {filterprefix_None, filterprefix_Where, filterprefix_LogicalOperator}) {
      SCOPED_TRACE(::testing::Message() << layout << ", prefix " << prefix);
      EXPECT_EQ(filter->Sql(prefix), plain->Sql(prefix));
    }
    EXPECT_EQ(items.Select(filter->Sql(filterprefix_None)), (std::vector<int32_t>{3, 9}));
    EXPECT_EQ(items.Select("1" + filter->Sql(filterprefix_LogicalOperator)),
              (std::vector<int32_t>{3, 9}));
  }
}

TEST(FilterSql, TextColumnsQuoteAndIgnoreCaseWhateverTheOperator) {
  ItemsTable items;
  for (const auto& [op, text] : std::vector<std::pair<e_FilterItemOperator, std::string>>{
           {operator_Equals, "="},
           {operator_NotEquals, "<>"},
           {operator_GreaterThan, ">"},
           {operator_LessThan, "<"},
           {operator_GreaterThanOrEqual, ">="},
           {operator_LessThanOrEqual, "<="}}) {
    auto filter = items.NewFilter();
    filter->Groups()->Add()->Add2("A", op, "it's", logicop_And);
    EXPECT_EQ(filter->Sql(filterprefix_None), "(\"A\"" + text + "'it''s' COLLATE NOCASE)");
  }
  // On a text column hostile text is only a value.
  auto filter = items.NewFilter();
  filter->Groups()->Add()->Add("A", "0') OR ('1'='1", logicop_And);
  EXPECT_EQ(items.Select(filter->Sql(filterprefix_None)), std::vector<int32_t>{});
}

TEST(FilterSql, EveryFailureHasItsNumberAndMessage) {
  ItemsTable items;
  struct Case {
    const char* name;
    std::function<std::shared_ptr<CProviderViewFilter>()> build;
    e_FilterPrefixType prefix;
    int32_t number;
    std::string message;
  };
  auto worked = [&] {
    auto filter = items.NewFilter();
    AddWorkedGroups(*filter);
    return filter;
  };
  std::shared_ptr<CColumnSetProvider> gone;
  const std::vector<Case> cases{
      {"no provider", [] { return std::make_shared<CProviderViewFilter>(); }, filterprefix_None,
       kObjectError, "ProviderInfo property must be set to convert View Filter to SQL."},
      {"provider released",
       [&] {
         auto filter = std::make_shared<CProviderViewFilter>();
         auto provider = std::make_shared<CColumnSetProvider>(nullptr);
         filter->SetProviderInfo(provider);
         return filter;
       },
       filterprefix_None, kObjectError,
       "ProviderInfo property must be set to convert View Filter to SQL."},
      {"second group's connective",
       [&] {
         auto filter = worked();
         filter->Groups()->FilterGroupByIndex(1)->SetLogicalOperator(
             static_cast<e_FilterLogicalOperator>(2));
         return filter;
       },
       filterprefix_None, kObjectError, "Unknown Logical Operator: 2"},
      {"first group's connective as prefix",
       [&] {
         auto filter = worked();
         filter->Groups()->FilterGroupByIndex(0)->SetLogicalOperator(
             static_cast<e_FilterLogicalOperator>(-3));
         return filter;
       },
       filterprefix_LogicalOperator, kObjectError, "Unknown Logical Operator: -3"},
      {"second item's connective",
       [&] {
         auto filter = worked();
         filter->Groups()->FilterGroupByIndex(0)->FilterGroupItemByIndex(1)->SetLogicalOperator(
             static_cast<e_FilterLogicalOperator>(2));
         return filter;
       },
       filterprefix_None, kObjectError, "Unknown Logical Operator: 2"},
      {"unknown column",
       [&] {
         auto filter = items.NewFilter();
         filter->Groups()->Add()->Add("Z", "1", logicop_And);
         return filter;
       },
       filterprefix_None, kObjectError, "Could not find column definition for 'Z'"},
      {"blank column",
       [&] {
         auto filter = items.NewFilter();
         filter->Groups()->Add()->Add("", "1", logicop_And);
         return filter;
       },
       filterprefix_None, kObjectError, "Could not find column definition for ''"},
      {"operator above 5",
       [&] {
         auto filter = items.NewFilter();
         filter->Groups()->Add()->Add2("A", static_cast<e_FilterItemOperator>(6), "x", logicop_And);
         return filter;
       },
       filterprefix_None, 5, "Unknown Filter Operator: 6"},
      {"negative operator",
       [&] {
         auto filter = items.NewFilter();
         filter->Groups()->Add()->Add2("B", static_cast<e_FilterItemOperator>(-1), "1",
                                       logicop_And);
         return filter;
       },
       filterprefix_None, 5, "Unknown Filter Operator: -1"},
      {"criteria that is no literal",
       [&] {
         auto filter = items.NewFilter();
         filter->Groups()->Add()->Add("B", "0) OR (1=1", logicop_And);
         return filter;
       },
       filterprefix_None, 5, "Criteria is not a valid literal for column 'B'."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto filter = c.build();
    const Bytes before = filter->Serialize();
    const CError sqlError = ErrorOf([&] { filter->Sql(c.prefix); });
    EXPECT_EQ(sqlError.Number(), c.number);
    EXPECT_EQ(sqlError.Description(), c.message);
    const CError boundError = ErrorOf([&] { filter->SqlParameterized(c.prefix); });
    EXPECT_EQ(boundError.Number(), c.number);
    EXPECT_EQ(boundError.Description(), c.message);
    EXPECT_EQ(filter->Serialize(), before);
  }
}

// The first item's connective, and the first group's without the operator prefix, never
// show, so odd values there are no error.
TEST(FilterSql, ConnectivesThatNeverShowAreNotChecked) {
  ItemsTable items;
  auto filter = items.NewFilter();
  auto group = filter->Groups()->Add();
  group->SetLogicalOperator(static_cast<e_FilterLogicalOperator>(9));
  group->Add("B", "7", static_cast<e_FilterLogicalOperator>(9));
  EXPECT_EQ(filter->Sql(filterprefix_Where), " WHERE (\"B\"=7)");
}

// Pasted into a statement, these would change what it does; none may come out as SQL.
TEST(FilterSql, CriteriaThatIsNoSingleLiteralIsRefusedOnOtherColumns) {
  ItemsTable items;
  const std::vector<std::string> hostile{"0) OR (1=1",
                                         "1; DROP TABLE \"Items\"",
                                         "1 OR 1=1",
                                         "5 --",
                                         "5 /* x */",
                                         "'a' OR 'b'='b'",
                                         "'unterminated",
                                         "'a'' OR ''x''=''x",
                                         "'''' OR ''=''",
                                         "'a'||'b'",
                                         "",
                                         "   ",
                                         "0x10",
                                         "1e",
                                         "1e+",
                                         "--5",
                                         "+-5",
                                         "5 5",
                                         "5-1",
                                         "(5)",
                                         "abs(-5)",
                                         "\"B\"",
                                         "B",
                                         "NULL OR 1",
                                         "TRUE AND 1",
                                         "NULLX",
                                         "., ",
                                         ".",
                                         "+",
                                         "1.2.3",
                                         std::string("5\0 OR 1=1", 9),
                                         "1\n; DELETE FROM \"Items\"",
                                         "'x'\n--"};
  for (const char* column : {"B", "C", "D"}) {
    for (const std::string& criteria : hostile) {
      SCOPED_TRACE(std::string(column) + " " + criteria);
      auto filter = items.NewFilter();
      filter->Groups()->Add()->Add2(column, operator_GreaterThan, criteria, logicop_And);
      const CError error = ErrorOf([&] { filter->Sql(filterprefix_Where); });
      EXPECT_EQ(error.Number(), 5);
      EXPECT_EQ(error.Description(),
                std::string("Criteria is not a valid literal for column '") + column + "'.");
      EXPECT_EQ(ErrorOf([&] { filter->SqlParameterized(filterprefix_Where); }).Number(), 5);
    }
  }
  EXPECT_EQ(items.Select("1"), (std::vector<int32_t>{-5, 3, 7, 9}));
}

// Valid literals paste as stored, and binding their values selects the same rows.
TEST(FilterSql, PastedAndBoundFormsSelectTheSameRows) {
  ItemsTable items;
  const std::vector<std::string> literals{
      "5",  "-5",   "+2.5",       "1e3",         ".25",   " 7 ",    "\t3\n",        "0",
      "5.", "1E-2", "2147483648", "-2147483649", "1e400", "1e-400", "'2024-01-01'", "'O''Brien'",
      "''", "NULL", "null",       "TRUE",        "true",  "FALSE",  "False"};
  for (const char* column : {"B", "C", "D"}) {
    for (e_FilterItemOperator op :
         {operator_Equals, operator_GreaterThan, operator_LessThanOrEqual}) {
      for (const std::string& criteria : literals) {
        SCOPED_TRACE(std::string(column) + " " + std::to_string(op) + " [" + criteria + "]");
        auto filter = items.NewFilter();
        filter->Groups()->Add()->Add2(column, op, criteria, logicop_And);
        const std::string pasted = filter->Sql(filterprefix_None);
        EXPECT_NE(pasted.find(criteria), std::string::npos);  // as stored, blanks included
        const FilterSqlParameters bound = filter->SqlParameterized(filterprefix_None);
        ASSERT_EQ(bound.Parameters.size(), 1u);
        EXPECT_EQ(items.SelectBound(bound), items.Select(pasted));
      }
    }
  }
  auto worked = items.NewFilter();
  AddWorkedGroups(*worked);
  for (e_FilterPrefixType prefix :
       {filterprefix_None, filterprefix_Where, filterprefix_LogicalOperator}) {
    const FilterSqlParameters bound = worked->SqlParameterized(prefix);
    const std::string pasted = worked->Sql(prefix);
    SCOPED_TRACE(pasted);
    const std::string lead = prefix == filterprefix_LogicalOperator ? "1" : "";
    if (prefix == filterprefix_Where) {
      EXPECT_EQ(bound.Sql, " WHERE (\"A\"=? COLLATE NOCASE OR \"B\">?) AND (\"C\"<>?)");
      continue;
    }
    EXPECT_EQ(items.SelectBound({lead + bound.Sql, bound.Parameters}), items.Select(lead + pasted));
  }
  const FilterSqlParameters bound = worked->SqlParameterized(filterprefix_None);
  ASSERT_EQ(bound.Parameters.size(), 3u);
  EXPECT_EQ(bound.Parameters[0], Variant("O'Brien"));
  EXPECT_EQ(bound.Parameters[1], Variant(int32_t{5}));
  EXPECT_EQ(bound.Parameters[2], Variant(int32_t{0}));
}

}  // namespace
}  // namespace prvdrinfo
