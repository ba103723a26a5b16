// prvdrinfo view show, run as a user would on views the library stored.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/views/provider_view_col.h"
#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using Outcome = test::ToolOutcome;

// A view with every part: hidden and visible columns, an ascending and a descending key,
// two filter groups and a notifier due on a fixed date.
CProviderView Worked() {
  CProviderView view;
  view.SetGuid("{V-1}");
  view.SetCaption("Open items");
  view.SetProviderGuid("{P-1}");
  view.SetUpdateCounter(3);
  view.SetPauseFilters(true);
  const auto columns = view.Columns();
  columns->RemoveAll();
  columns->Add("A")->SetCaption("Code");
  columns->Column("A")->SetWidthTwips(900);
  columns->Add("B")->SetCaption("Count");
  columns->Column("B")->SetVisible(false);
  columns->Add("C")->SetCaption("Price");
  view.SortOrder()->Add("C");
  view.SortOrder()->Add("A");
  view.SortOrder()->Add("A");
  const auto first = view.FilterGroups()->Add();
  first->Add2("A", operator_Equals, "O'Brien", logicop_And);
  first->Add2("B", operator_GreaterThan, "5", logicop_Or);
  view.FilterGroups()->Add()->Add2("C", operator_NotEquals, "0", logicop_And);
  const auto notifier = view.Notifiers()->Add(viewschedid_WeeklyMonday);
  notifier->SetMessage("Due this week");
  notifier->SetNextScheduledDeliveryDate("2026-12-14T13:00:00Z");
  return view;
}

class ViewCommand : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#else
    worked_ = Worked().Serialize();
    WriteBytes("view.bin", worked_);
    Write("table.json",
          R"({"table": "Items", "columns": [{"identifier": "A", "type": "string"},
              {"identifier": "B", "type": "integer"}, {"identifier": "C", "type": "real"}]})");
#endif
  }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name)) << text;
  }
  void WriteBytes(const std::string& name, const Bytes& bytes) {
    Write(name, std::string(bytes.begin(), bytes.end()));
  }

  Outcome Run(const std::string& args) { return test::RunBuiltTool(dir_.Path(), args); }

  Bytes worked_;
  test::TempDir dir_;
};

constexpr const char* kHead = R"(view "Open items"
  guid: "{V-1}"
  provider: "{P-1}"
  filters paused
  update counter 3, version 6, paper span 1
columns: 3, 2 visible
  1. "A" "Code", visible, 900 twips
  2. "B" "Count", hidden, 0 twips
  3. "C" "Price", visible, 0 twips
sort order: 2 keys
  1. "C" ascending
  2. "A" descending
filter groups: 2
)";

constexpr const char* kNotifiers = R"(notifiers: 1
  1. Mondays, next "2026-12-14T13:00:00Z", last delivered "1899-12-30T05:00:00Z", message "Due this week"
)";

TEST_F(ViewCommand, ShowsEachPartInOrder) {
  const Outcome items = Run("view show view.bin");
  EXPECT_EQ(items.status, 0) << items.err;
  EXPECT_EQ(items.out, std::string(kHead) + R"(  1. 2 items
       "A" = "O'Brien"
       or "B" > "5"
  2. and, 1 item
       "C" <> "0"
)" + kNotifiers);

  // With the table's columns each group reads as its SQL condition, from file or pipe.
  const Outcome conditions = Run("view show - --columns table.json <view.bin");
  EXPECT_EQ(conditions.status, 0) << conditions.err;
  EXPECT_EQ(
      conditions.out,
      std::string(kHead) + R"(  condition: ("A"='O''Brien' COLLATE NOCASE OR "B">5) AND ("C"<>0)
  1. ("A"='O''Brien' COLLATE NOCASE OR "B">5)
  2. and ("C"<>0)
)" + kNotifiers);
}

TEST_F(ViewCommand, JsonCarriesTheStoredValuesAndIdentifiers) {
  CProviderView view;
  view.Deserialize(worked_);
  const Outcome run = Run("view show view.bin --json --columns table.json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto shown = nlohmann::json::parse(run.out);
  EXPECT_EQ(shown["caption"], "Open items");
  EXPECT_EQ(shown["contentId"], view.ContentId());
  EXPECT_EQ(shown["contentIdForAutoSave"], view.ContentIdForAutoSave());
  EXPECT_EQ(shown["contentIdForDirtyCheck"], view.ContentIdForDirtyCheck());
  EXPECT_EQ(shown["columns"][1]["visible"], false);
  EXPECT_EQ(shown["columns"][0]["minWidthTwips"], CProviderViewCol::kDefaultMinWidthTwips);
  EXPECT_EQ(shown["sortOrder"][1], (nlohmann::json{{"guid", "A"}, {"direction", "descending"}}));
  EXPECT_EQ(shown["filterGroups"][0]["items"][1]["operator"], ">");
  EXPECT_EQ(shown["filterGroups"][0]["items"][1]["logicalOperator"], "or");
  EXPECT_EQ(shown["filterGroups"][1]["condition"], "(\"C\"<>0)");
  EXPECT_EQ(shown["notifiers"][0]["scheduleId"], viewschedid_WeeklyMonday);
  EXPECT_EQ(shown["notifiers"][0]["nextDelivery"], "2026-12-14T13:00:00Z");

  // The groups are in the filter format: they go back through filter sql unchanged.
  Write("groups.json", nlohmann::json{{"groups", shown["filterGroups"]}}.dump());
  const Outcome sql = Run("filter sql groups.json --columns table.json");
  EXPECT_EQ(sql.out, shown["condition"].get<std::string>() + "\n") << sql.err;
}

// Stored values outside their names show as numbers; text that could steer a terminal
// is escaped, also inside a condition.
TEST_F(ViewCommand, UnnamedValuesAndHostileText) {
  CProviderView view;
  view.SetGuid("{V-2}");
  view.SetProviderGuid("Bell\x07 and \x1B[31mred");
  view.Columns()->RemoveAll();
  view.Columns()->Add("A");
  const auto group = view.FilterGroups()->Add();
  group->Add3("A", static_cast<e_FilterItemOperator>(9), "x", logicop_And,
              filterfunction_DayOffset);
  group->Add2("A", operator_Equals, "line\nbreak", static_cast<e_FilterLogicalOperator>(2));
  view.SortOrder()->Add("A")->SetDirection(static_cast<e_ColumnSortDirection>(4));
  WriteBytes("odd.bin", view.Serialize());
  const Outcome run = Run("view show odd.bin");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("  provider: \"Bell\\u0007 and \\u001b[31mred\"\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("  1. \"A\" #4\n"), std::string::npos) << run.out;
  EXPECT_NE(
      run.out.find("       \"A\" #9 \"x\" [function 1]\n       #2 \"A\" = \"line\\nbreak\"\n"),
      std::string::npos)
      << run.out;

  WriteBytes("text.bin", [] {
    CProviderView text;
    text.SetGuid("{V-3}");
    text.FilterGroups()->Add()->Add2("A", operator_Equals, "line\nbreak", logicop_And);
    return text.Serialize();
  }());
  const Outcome condition = Run("view show text.bin --columns table.json");
  EXPECT_NE(condition.out.find("  condition: \"(\\\"A\\\"='line\\nbreak' COLLATE NOCASE)\"\n"),
            std::string::npos)
      << condition.out;
}

TEST_F(ViewCommand, RefusalsAreOneLineNamingTheInput) {
  WriteBytes("column.bin", CProviderViewCol().Serialize());
  Write("junk.bin", "not a view");
  CProviderView unknownColumn;
  unknownColumn.FilterGroups()->Add()->Add2("Z", operator_Equals, "1", logicop_And);
  WriteBytes("unknown.bin", unknownColumn.Serialize());
  test::ExpectRefusals(
      [&](const std::string& args) { return Run(args); },
      {
          {"view show column.bin", 1,
           "prvdrinfo: column.bin: not a view: no \"Guid\" or \"Caption\"\n"},
          {"view show junk.bin", 1, "prvdrinfo: junk.bin: Invalid property bag contents: ..."},
          {"view show missing.bin", 1,
           "prvdrinfo: cannot read missing.bin: No such file or directory\n"},
          {"view show unknown.bin --columns table.json", 1,
           "prvdrinfo: unknown.bin: Could not find column definition for 'Z'\n"},
          {"view show view.bin --columns ''", 2,
           "prvdrinfo: view show --columns needs a file name (see prvdrinfo --help)\n"},
      });
}

}  // namespace
}  // namespace prvdrinfo
