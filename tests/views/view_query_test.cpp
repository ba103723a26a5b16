#include "prvdrinfo/views/view_query.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_computed.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/filters/provider_view_filter.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/viewsdb/db_helpers.h"
#include "support/error_capture.h"
#include "support/stored_columns.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::AddStoredColumn;
using testing::ErrorOf;
using testing::OpenWithTable;

// Column GUIDs differ from the table's identifiers, so only a statement that exposes each
// column under its GUID can run the filter and the sort.
const std::string kName = "{6A0E3C52-1D4B-4E0B-9E61-000000000001}";   // text, "name"
const std::string kTitle = "{6A0E3C52-1D4B-4E0B-9E61-000000000002}";  // smart-sort text, "title"
const std::string kQty = "{6A0E3C52-1D4B-4E0B-9E61-000000000003}";    // integer, "qty"
const std::string kDue = "{6A0E3C52-1D4B-4E0B-9E61-000000000004}";    // date, "due"
const std::string kCost = "{6A0E3C52-1D4B-4E0B-9E61-000000000005}";   // currency, "cost"
const std::string kNote = "{6A0E3C52-1D4B-4E0B-9E61-000000000006}";   // text, "note", never shown
const std::string kScore = "{6A0E3C52-1D4B-4E0B-9E61-000000000007}";  // computed
const std::string kGone = "{6A0E3C52-1D4B-4E0B-9E61-000000000008}";   // in views, not in the set
const std::string kRec = "rec_guid";

// The provider's table, made with its own DDL, and 24 records r01..r24.
struct ItemsTable {
  std::shared_ptr<CProviderColDefs> columns = std::make_shared<CProviderColDefs>();
  test::TempDir folder;
  std::shared_ptr<Connection> db;

  ItemsTable() {
    AddStoredColumn(*columns, kName, datatype_String, "name");
    AddStoredColumn(*columns, kTitle, datatype_StringSmartSort, "title");
    AddStoredColumn(*columns, kQty, datatype_Integer, "qty");
    AddStoredColumn(*columns, kDue, datatype_DateUtc, "due");
    AddStoredColumn(*columns, kCost, datatype_Currency, "cost");
    AddStoredColumn(*columns, kNote, datatype_String, "note");
    auto score = std::make_shared<CColumnDefComputed>();
    score->SetGuid(kScore);
    score->SetVeskDatatype(datatype_Integer);
    columns->ProviderSpecific()->AddExisting(score);
    db = OpenWithTable(folder.File("project.db"), "Items", columns);
    db->Execute(
        "INSERT INTO \"Items\" (\"rec_guid\", \"name\", \"title\", \"qty\", \"due\", \"cost\", \"note\") VALUES "
        "('r01', 'alpha',    'Item 10',  5,  45000, 12.5, 'x'),"
        "('r02', 'Bravo',    'Item 2',   3,  45010, 7.25, NULL),"
        "('r03', 'charlie',  'item 1',   5,  44990, 100,  NULL),"
        "('r04', 'Alpha',    'Item 20',  1,  45000, 0,    NULL),"
        "('r05', 'delta',    'Item 3',   8,  45020, 12.5, 'X'),"
        "('r06', 'Echo',     'Item 11',  3,  NULL,  3.5,  NULL),"
        "('r07', 'O''Brien', 'Item 5',   10, 45005, 50,   NULL),"
        "('r08', 'o''brien', 'Item 4',   2,  45015, -4,   NULL),"
        "('r09', 'bravo',    'Item 1b',  7,  44995, 7.25, 'x'),"
        "('r10', 'Foxtrot',  'Item 100', 0,  45030, NULL, NULL),"
        "('r11', 'golf',     'Item 9',   5,  45000, 20,   NULL),"
        "('r12', 'Hotel',    'Item 12',  9,  45025, 1,    NULL),"
        "('r13', 'india',    'Item 7',   4,  45001, 15,   NULL),"
        "('r14', 'Juliet',   'Item 8',   6,  45002, 2.5,  NULL),"
        "('r15', 'kilo',     'Item 13',  2,  45003, 8,    NULL),"
        "('r16', 'Lima',     'Item 6',   11, 45004, 30,   NULL),"
        "('r17', 'mike',     'Item 14',  1,  45006, 0.5,  NULL),"
        "('r18', 'November', 'Item 15',  12, 45007, 60,   NULL),"
        "('r19', 'oscar',    'Item 16',  3,  45008, 9,    NULL),"
        "('r20', 'Papa',     'Item 17',  13, 45009, 45,   NULL),"
        "('r21', 'quebec',   'Item 18',  0,  45011, 11,   NULL),"
        "('r22', 'Romeo',    'Item 19',  14, 45012, 5,    NULL),"
        "('r23', 'sierra',   'Item 21',  6,  45013, 25,   NULL),"
        "('r24', 'Tango',    'Item 22',  2,  45014, 70,   NULL)");
    db->AddUserCollation(std::make_shared<CDbHelpers>());
  }

  static std::vector<std::string> Records(const std::shared_ptr<Recordset>& rows) {
    std::vector<std::string> records;
    for (; !rows->Eof(); rows->MoveNext()) records.push_back(rows->Value(kRec).ToText());
    return records;
  }
  std::vector<std::string> Pasted(const ViewQuery& query) const {
    return Records(db->OpenRecordset(query.Sql));
  }
  std::vector<std::string> Bound(const ViewQuery& query) const {
    auto command = db->CreateCommand(query.ParameterizedSql);
    for (size_t i = 0; i < query.Parameters.size(); ++i) {
      command->SetValue(static_cast<int32_t>(i + 1), query.Parameters[i]);
    }
    return Records(command->OpenRecordset());
  }
};

struct Shown {
  std::string guid;
  bool visible = true;
};
struct Key {
  std::string guid;
  bool descending = false;
};
struct Criterion {
  std::string guid;
  e_FilterItemOperator op;
  std::string criteria;
  e_FilterLogicalOperator logic = logicop_And;
};
struct Group {
  e_FilterLogicalOperator logic = logicop_And;
  std::vector<Criterion> items;
};

std::shared_ptr<CProviderView> MakeView(const std::vector<Shown>& shown,
                                        const std::vector<Key>& keys,
                                        const std::vector<Group>& groups) {
  auto view = std::make_shared<CProviderView>();
  for (const Shown& column : shown) {
    auto added = view->Columns()->Add(column.guid);
    added->SetCaption("Caption of " + column.guid);
    added->SetVisible(column.visible);
  }
  for (const Key& key : keys) {
    view->SortOrder()->Add(key.guid)->SetDirection(key.descending ? colsort_Descending
                                                                  : colsort_Ascending);
  }
  for (const Group& group : groups) {
    auto added = view->FilterGroups()->Add();
    added->SetLogicalOperator(group.logic);
    for (const Criterion& item : group.items)
      added->Add2(item.guid, item.op, item.criteria, item.logic);
  }
  return view;
}

using Records = std::vector<std::string>;

// Each view selects the records its filter lets through, in its sort order, with the
// record GUID breaking ties; the pasted and the bound statement agree.
TEST(ViewQuery, SelectsTheFilteredRecordsInTheViewsOrder) {
  const ItemsTable items;
  struct Case {
    const char* name;
    std::vector<Shown> shown;
    std::vector<Key> keys;
    std::vector<Group> groups;
    ViewQueryPage page;
    Records want;
  };
  const Records byName{"r01", "r04", "r02", "r09", "r03", "r05", "r06", "r10",
                       "r11", "r12", "r13", "r14", "r15", "r16", "r17", "r18",
                       "r07", "r08", "r19", "r20", "r21", "r22", "r23", "r24"};
  const std::vector<Case> cases{
      {"text ascending ignores case; an empty group filters nothing",
       {{kName}},
       {{kName}},
       {{}},
       {},
       byName},
      {"a page of it", {{kName}}, {{kName}}, {}, {5, 10}, {"r13", "r14", "r15", "r16", "r17"}},
      {"an offset without a limit", {{kName}}, {{kName}}, {}, {-1, 21}, {"r22", "r23", "r24"}},
      {"a limit of zero", {{kName}}, {{kName}}, {}, {0, 0}, {}},
      {"number descending, then currency ascending",
       {{kName}, {kQty}, {kCost}},
       {{kQty, true}, {kCost}},
       {{logicop_And, {{kQty, operator_GreaterThanOrEqual, "5"}}}},
       {},
       {"r22", "r20", "r18", "r16", "r07", "r12", "r05", "r09", "r14", "r23", "r01", "r11", "r03"}},
      {"text criteria match without regard to case, quotes and all; groups nest",
       {{kName}, {kDue}},
       {{kDue, true}},
       {{logicop_And,
         {{kName, operator_Equals, "O'BRIEN"}, {kName, operator_Equals, "alpha", logicop_Or}}},
        {logicop_And, {{kCost, operator_LessThan, "40"}}}},
       {},
       {"r08", "r01", "r04"}},
      {"a date range after an empty group, currency descending",
       {{kDue}, {kCost}},
       {{kCost, true}},
       {{},
        {logicop_Or,
         {{kDue, operator_GreaterThanOrEqual, "45005"}, {kDue, operator_LessThan, "45010"}}}},
       {},
       {"r18", "r07", "r20", "r19", "r17"}},
      {"smart-sort text puts numbers in number order",
       {{kTitle}},
       {{kTitle}},
       {{logicop_And, {{kQty, operator_LessThanOrEqual, "2"}}}},
       {},
       {"r08", "r15", "r17", "r21", "r04", "r24", "r10"}},
      {"keys on hidden, deleted and computed columns are skipped; groups joined by OR",
       {{kName}, {kScore}, {kQty}, {kNote, false}, {kGone}},
       {{kNote}, {kGone, true}, {kScore}, {kQty}},
       {{logicop_And, {{kCost, operator_GreaterThan, "20"}}},
        {logicop_Or, {{kQty, operator_Equals, "0"}}}},
       {},
       {"r10", "r21", "r24", "r03", "r23", "r07", "r16", "r18", "r20"}},
      {"the filter tests a column the view does not show",
       {{kName}, {kQty}},
       {{kQty, true}},
       {{logicop_And, {{kNote, operator_Equals, "X"}}}},
       {},
       {"r05", "r09", "r01"}},
      {"a filter on a computed column compares with NULL",
       {{kName}},
       {},
       {{logicop_And, {{kScore, operator_Equals, "1"}}}},
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto view = MakeView(c.shown, c.keys, c.groups);
    const ViewQuery query = BuildViewQuery(*view, "Items", *items.columns, c.page);
    SCOPED_TRACE(query.Sql);
    EXPECT_EQ(items.Pasted(query), c.want);
    EXPECT_EQ(items.Bound(query), c.want);
  }
}

// The result holds the visible columns in view order under their GUIDs (a computed one as
// NULL), then the record GUID; what is left out is listed with its reason.
TEST(ViewQuery, ReportsItsColumnsAndWhatItLeftOut) {
  const ItemsTable items;
  const auto view = MakeView({{kCost}, {kScore}, {kNote, false}, {kGone}, {kName}},
                             {{kNote}, {kGone, true}, {kScore}, {kName, true}}, {});
  const ViewQuery query = BuildViewQuery(*view, "Items", *items.columns);

  struct Want {
    std::string guid;
    e_VeskDataType type;
    bool computed;
  };
  const std::vector<Want> want{{kCost, datatype_Currency, false},
                               {kScore, datatype_Integer, true},
                               {kName, datatype_String, false},
                               {kRec, datatype_String, false}};
  ASSERT_EQ(query.Columns.size(), want.size());
  const auto rows = items.db->OpenRecordset(query.Sql);
  ASSERT_EQ(rows->FieldCount(), static_cast<int32_t>(want.size()));
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].guid);
    EXPECT_EQ(query.Columns[i].Guid, want[i].guid);
    EXPECT_EQ(query.Columns[i].DataType, want[i].type);
    EXPECT_EQ(query.Columns[i].Computed, want[i].computed);
    EXPECT_EQ(rows->FieldName(static_cast<int32_t>(i)), want[i].guid);
  }
  EXPECT_EQ(query.Columns[0].Caption, "Caption of " + kCost);
  EXPECT_EQ(query.Columns[3].Caption, "GUID");  // the view's own (hidden) record GUID column
  EXPECT_EQ(query.RecordGuidIndex, 3);
  EXPECT_FALSE(query.UsesSmartSort);
  // Descending by name: Tango first, with its values under the GUIDs.
  EXPECT_EQ(rows->Value(kName).ToText(), "Tango");
  EXPECT_EQ(rows->Value(kCost).ToDouble(), 70.0);
  EXPECT_TRUE(rows->Value(kScore).IsNull());

  struct Skip {
    std::string guid;
    e_ViewQuerySkipReason reason;
    bool sortKey;
  };
  std::vector<Skip> skipped{
      {"rec_guid", viewqueryskip_Hidden, false}, {"hidden", viewqueryskip_Hidden, false},
      {"updates", viewqueryskip_Hidden, false},  {"modified", viewqueryskip_Hidden, false},
      {"created", viewqueryskip_Hidden, false},  {kNote, viewqueryskip_Hidden, false},
      {kGone, viewqueryskip_Deleted, false},     {kNote, viewqueryskip_Hidden, true},
      {kGone, viewqueryskip_Deleted, true},      {kScore, viewqueryskip_Computed, true}};
  ASSERT_EQ(query.Skipped.size(), skipped.size());
  for (size_t i = 0; i < skipped.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(query.Skipped[i].Guid, skipped[i].guid);
    EXPECT_EQ(query.Skipped[i].Reason, skipped[i].reason);
    EXPECT_EQ(query.Skipped[i].SortKey, skipped[i].sortKey);
  }
}

// A shown record GUID column stays where the view puts it and is not added again; a
// smart-sort key asks for the SmartSort collation, which the connection must have.
TEST(ViewQuery, KeepsAShownRecordGuidInPlaceAndAsksForSmartSort) {
  const ItemsTable items;
  auto view = MakeView({{kTitle}}, {{kTitle}}, {});
  view->Columns()->MoveColumnAfterColumnByGuid(kRec, kTitle);
  view->Columns()->Column(kRec)->SetVisible(true);
  const ViewQuery query = BuildViewQuery(*view, "Items", *items.columns);
  ASSERT_EQ(query.Columns.size(), 2u);
  EXPECT_EQ(query.Columns[1].Guid, kRec);
  EXPECT_EQ(query.RecordGuidIndex, 1);
  EXPECT_TRUE(query.UsesSmartSort);

  auto bare = Connection::Open(items.folder.File("project.db"));
  EXPECT_NE(ErrorOf([&] { bare->OpenRecordset(query.Sql); }).Number(), 0);
  bare->AddUserCollation(std::make_shared<CDbHelpers>());
  EXPECT_EQ(ItemsTable::Records(bare->OpenRecordset(query.Sql)).size(), 24u);
}

// Quotes, semicolons and control characters in a table name, a column's GUID, its
// identifier and its caption still give one valid statement that reads the right row.
TEST(ViewQuery, HostileNamesStayInsideTheirQuotes) {
  const std::string table = "It\"ems\"; DROP TABLE x; --";
  const std::string guid = "g\"; DELETE FROM \"It\"\"ems\"; --\n\t\x01'";
  const std::string identifier = "c\"ol'; --\r\n\x1f";
  auto columns = std::make_shared<CProviderColDefs>();
  AddStoredColumn(*columns, guid, datatype_String, identifier);
  test::TempDir folder;
  auto db = OpenWithTable(folder.File("hostile.db"), table, columns);
  auto insert = db->CreateCommand(SqlService::InsertStatement(table, {"rec_guid", identifier}));
  for (const auto& [rec, value] :
       std::vector<std::pair<std::string, std::string>>{{"a", "it's; --"}, {"b", "other"}}) {
    insert->SetText(1, rec);
    insert->SetText(2, value);
    insert->Execute();
  }

  auto view =
      MakeView({{guid}}, {{guid, true}}, {{logicop_And, {{guid, operator_Equals, "IT'S; --"}}}});
  view->Columns()->Column(guid)->SetCaption("\"'; DROP TABLE x; --\x02");
  const ViewQuery query = BuildViewQuery(*view, table, *columns, {1, 0});
  EXPECT_EQ(query.Columns[0].Caption, view->Columns()->Column(guid)->Caption());
  for (const std::string& sql : {query.Sql, query.ParameterizedSql}) {
    auto command = db->CreateCommand(sql);
    if (sql == query.ParameterizedSql) {
      for (size_t i = 0; i < query.Parameters.size(); ++i) {
        command->SetValue(static_cast<int32_t>(i + 1), query.Parameters[i]);
      }
    }
    const auto rows = command->OpenRecordset();
    ASSERT_FALSE(rows->Eof()) << sql;
    EXPECT_EQ(rows->Value(guid).ToText(), "it's; --");
    EXPECT_EQ(rows->Value(kRec).ToText(), "a");
    rows->MoveNext();
    EXPECT_TRUE(rows->Eof());
  }
  EXPECT_EQ(db->OpenRecordset("SELECT COUNT(*) AS n FROM " + SqlService::QuoteIdentifier(table))
                ->Value("n")
                .ToLong(),
            2);
}

// Input the statement cannot be made from raises before anything runs.
TEST(ViewQuery, RefusesWhatItCannotSelect) {
  const ItemsTable items;
  constexpr int32_t kObjectError = static_cast<int32_t>(0x80040000u);
  struct Case {
    const char* name;
    std::function<ViewQuery()> build;
    int32_t number;
    std::string message;
  };
  const std::vector<Case> cases{
      {"a negative offset",
       [&] {
         return BuildViewQuery(*MakeView({{kName}}, {}, {}), "Items", *items.columns, {10, -1});
       },
       5, "Offset must not be negative."},
      {"a filter on a column the set no longer has",
       [&] {
         return BuildViewQuery(
             *MakeView({{kName}}, {}, {{logicop_And, {{kGone, operator_Equals, "1"}}}}), "Items",
             *items.columns);
       },
       kObjectError, "Could not find column definition for '" + kGone + "'"},
      {"no column at all",
       [&] {
         auto bare = std::make_shared<CProviderColDefs>();
         bare->Remove(kRec);
         return BuildViewQuery(*MakeView({{kName}}, {}, {}), "Items", *bare);
       },
       5, "Must have at least one column"},
      {"a NUL inside a GUID",
       [&] {
         auto odd = std::make_shared<CProviderColDefs>();
         AddStoredColumn(*odd, std::string("a\0b", 3), datatype_Integer, "a");
         return BuildViewQuery(*MakeView({{std::string("a\0b", 3)}}, {}, {}), "Items", *odd);
       },
       5, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CError error = ErrorOf([&] { c.build(); });
    EXPECT_EQ(error.Number(), c.number);
    if (!c.message.empty()) {
      EXPECT_EQ(error.Description(), c.message);
    }
  }
}

// A view answers for its own filter groups what a filter holding the same groups answers,
// given only the column set.
TEST(ViewQuery, AViewGivesItsConditionAsAFilterWould) {
  const ItemsTable items;
  const auto view = MakeView(
      {{kName}}, {},
      {{logicop_And,
        {{kName, operator_Equals, "O'Brien"}, {kQty, operator_GreaterThan, "5", logicop_Or}}},
       {logicop_Or, {{kDue, operator_NotEquals, "45000"}}}});
  const auto provider = std::make_shared<CColumnSetProvider>(items.columns);
  CProviderViewFilter filter;
  filter.SetProviderInfo(provider);
  filter.Groups()->Deserialize(view->FilterGroups()->Serialize());
  for (e_FilterPrefixType prefix :
       {filterprefix_None, filterprefix_Where, filterprefix_LogicalOperator}) {
    SCOPED_TRACE(prefix);
    EXPECT_EQ(view->FilterSql(*items.columns, prefix), filter.Sql(prefix));
    const FilterSqlParameters fromView = view->FilterSqlParameterized(*items.columns, prefix);
    const FilterSqlParameters fromFilter = filter.SqlParameterized(prefix);
    EXPECT_EQ(fromView.Sql, fromFilter.Sql);
    EXPECT_EQ(fromView.Parameters, fromFilter.Parameters);
  }
  EXPECT_EQ(view->FilterSql(*items.columns, filterprefix_None),
            "(\"" + kName + "\"='O''Brien' COLLATE NOCASE OR \"" + kQty + "\">5) OR (\"" + kDue +
                "\"<>45000)");
}

}  // namespace
}  // namespace prvdrinfo
