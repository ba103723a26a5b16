// prvdrinfo view sql, run as a user would on a view the library stored.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/views/provider_view.h"
#include "support/built_tool.h"
#include "support/stored_columns.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using Outcome = test::ToolOutcome;

// Shows A and C (B hidden), sorted by C, then A descending, filtered
// (A = O'Brien OR B > 5) AND (C <> 0).
Bytes Worked() {
  CProviderView view;
  view.SetGuid("{V-1}");
  const auto columns = view.Columns();
  columns->RemoveAll();
  columns->Add("A")->SetCaption("Code");
  columns->Add("B")->SetVisible(false);
  columns->Add("C")->SetCaption("Price");
  view.SortOrder()->Add("C");
  view.SortOrder()->Add("A")->SetDirection(colsort_Descending);
  const auto first = view.FilterGroups()->Add();
  first->Add2("A", operator_Equals, "O'Brien", logicop_And);
  first->Add2("B", operator_GreaterThan, "5", logicop_Or);
  view.FilterGroups()->Add()->Add2("C", operator_NotEquals, "0", logicop_And);
  return view.Serialize();
}

class ViewSqlCommand : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#else
    const Bytes bytes = Worked();
    Write("view.bin", std::string(bytes.begin(), bytes.end()));
    Write("table.json",
          R"({"table": "Items", "columns": [{"identifier": "A", "type": "string"},
              {"identifier": "B", "type": "integer"}, {"identifier": "C", "type": "real"}]})");
#endif
  }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name)) << text;
  }
  Outcome Run(const std::string& args) { return test::RunBuiltTool(dir_.Path(), args); }

  test::TempDir dir_;
};

constexpr const char* kFrom =
    R"( FROM (SELECT "A" AS "A", "B" AS "B", "C" AS "C", "rec_guid" AS "rec_guid", "hidden" AS "hidden", )"
    R"("updates" AS "updates", "modified" AS "modified", "created" AS "created" FROM "Items"))";

TEST_F(ViewSqlCommand, PrintsTheStatementPastedOrBound) {
  const std::string head =
      std::string(R"(SELECT "A" AS "A", "C" AS "C", "rec_guid" AS "rec_guid")") + kFrom;
  const std::string order = R"( ORDER BY "C" ASC, "A" COLLATE NOCASE DESC, "rec_guid" ASC)";
  const std::string skipped = "-- column \"B\" left out: hidden\n";
  struct Case {
    const char* args;
    std::string out;
  };
  for (const Case& c : std::vector<Case>{
           {"view sql view.bin --columns table.json",
            head + R"( WHERE ("A"='O''Brien' COLLATE NOCASE OR "B">5) AND ("C"<>0))" + order +
                "\n" + skipped},
           {"view sql --columns table.json --limit 10 --offset 20 < view.bin",
            head + R"( WHERE ("A"='O''Brien' COLLATE NOCASE OR "B">5) AND ("C"<>0))" + order +
                " LIMIT 10 OFFSET 20\n" + skipped},
           {"view sql view.bin --columns table.json --params --limit 10",
            head + R"( WHERE ("A"=? COLLATE NOCASE OR "B">?) AND ("C"<>?))" + order +
                " LIMIT ? OFFSET ?\n" + "?1 = 'O''Brien'\n?2 = 5\n?3 = 0\n?4 = 10\n?5 = 0\n" +
                skipped},
       }) {
    SCOPED_TRACE(c.args);
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(outcome.err, "");
  }
}

// What the tool prints runs as it is on the table the same definition creates.
TEST_F(ViewSqlCommand, ThePrintedStatementRuns) {
  const Outcome outcome = Run("view sql view.bin --columns table.json --limit 2");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  auto columns = std::make_shared<CProviderColDefs>();
  testing::AddStoredColumn(*columns, "A", datatype_String);
  testing::AddStoredColumn(*columns, "B", datatype_Integer);
  testing::AddStoredColumn(*columns, "C", datatype_Real);
  auto db = testing::OpenWithTable(dir_.File("project.db"), "Items", columns);
  db->Execute(
      "INSERT INTO \"Items\" (\"rec_guid\", \"A\", \"B\", \"C\") VALUES ('1', 'o''brien', 1, 3), "
      "('2', 'Smith', 9, 1), ('3', 'Smith', 2, 1), ('4', 'O''BRIEN', 0, 0), ('5', 'Adams', 7, 1)");
  std::vector<std::string> records;
  for (auto rows = db->OpenRecordset(outcome.out); !rows->Eof(); rows->MoveNext()) {
    records.push_back(rows->Value("rec_guid").ToText());
  }
  // C ascending, then A descending: Smith (2) before Adams (5); row 1 (C 3) is past the limit.
  EXPECT_EQ(records, (std::vector<std::string>{"2", "5"}));
}

TEST_F(ViewSqlCommand, RefusalsAreOneLineNamingTheInput) {
  Write("junk.bin", "not a view");
  CProviderView unknownColumn;
  unknownColumn.FilterGroups()->Add()->Add2("Z", operator_Equals, "1", logicop_And);
  const Bytes unknown = unknownColumn.Serialize();
  Write("unknown.bin", std::string(unknown.begin(), unknown.end()));
  test::ExpectRefusals(
      [&](const std::string& args) { return Run(args); },
      {
          {"view sql view.bin", 2, "prvdrinfo: --columns is required (see prvdrinfo --help)\n"},
          {"view sql view.bin --columns ''", 2,
           "prvdrinfo: view sql --columns needs a file name (see prvdrinfo --help)\n"},
          {"view sql view.bin --columns table.json --limit -1", 2,
           "prvdrinfo: --limit: Value -1 not in range ..."},
          {"view sql junk.bin --columns table.json", 1,
           "prvdrinfo: junk.bin: Invalid property bag contents: ..."},
          {"view sql unknown.bin --columns table.json", 1,
           "prvdrinfo: unknown.bin: Could not find column definition for 'Z'\n"},
          {"view sql view.bin --columns missing.json", 1,
           "prvdrinfo: cannot read missing.json: ..."},
      });
}

}  // namespace
}  // namespace prvdrinfo
