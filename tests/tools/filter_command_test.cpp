// prvdrinfo filter sql, run as a user would.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using Outcome = test::ToolOutcome;

class FilterCommand : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#else
    Write("table.json",
          R"({"table": "Items", "columns": [{"identifier": "A", "type": "string"},
              {"identifier": "B", "type": "integer"}, {"identifier": "C", "type": "real"}]})");
    Write("worked.json", R"({"groups": [
      {"items": [{"column": "A", "operator": "=", "criteria": "O'Brien"},
                 {"column": "B", "operator": ">", "criteria": "5", "logicalOperator": "or"}]},
      {"logicalOperator": "and", "items": [{"column": "C", "operator": "<>", "criteria": "0"}]}]})");
#endif
  }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name)) << text;
    return dir_.File(name);
  }

  Outcome Run(const std::string& args) { return test::RunBuiltTool(dir_.Path(), args); }

  test::TempDir dir_;
};

TEST_F(FilterCommand, PrintsTheConditionForEachPrefix) {
  const std::string condition = "(\"A\"='O''Brien' COLLATE NOCASE OR \"B\">5) AND (\"C\"<>0)";
  struct Case {
    const char* args;
    std::string out;
  };
  for (const Case& c : {Case{"", condition}, Case{"--prefix none", condition},
                        Case{"--prefix where", " WHERE " + condition},
                        Case{"--prefix operator", " AND " + condition}}) {
    const Outcome run = Run(std::string("filter sql worked.json --columns table.json ") + c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out + "\n");
  }
  const Outcome bound = Run("filter sql worked.json --columns table.json --params");
  EXPECT_EQ(
      bound.out,
      "(\"A\"=? COLLATE NOCASE OR \"B\">?) AND (\"C\"<>?)\n?1 = 'O''Brien'\n?2 = 5\n?3 = 0\n");
}

// Criteria and column names come from files: what they hold must not steer the terminal.
TEST_F(FilterCommand, HostileTextPrintsQuoted) {
  Write("hostile.json",
        R"({"table": {"table": "T", "columns": [{"identifier": "A\u001b[2J", "type": "string"}]},
      "groups": [{"items": [{"column": "A\u001b[2J", "operator": "=", "criteria": "x\u0007\u009by"}]}]})");
  for (const char* args : {"filter sql hostile.json", "filter sql hostile.json --params"}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(test::SafeForTerminal(run.out)) << run.out;
    EXPECT_NE(run.out.find("\\u001b[2J"), std::string::npos) << run.out;
  }
  EXPECT_NE(Run("filter sql hostile.json").out.find("x\\u0007\\u009by"), std::string::npos);
}

TEST_F(FilterCommand, TakesTheColumnsFromTheFilterItself) {
  Write("inline.json", R"({"groups": [{"items": [{"column": "B", "criteria": "1e3"}]}],
                          "table": {"table": "T", "columns": [{"identifier": "B", "type": 5}]}})");
  const Outcome run = Run("filter sql inline.json");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "(\"B\"=1e3)\n");
}

TEST_F(FilterCommand, RefusalsAreOneLineNamingTheFile) {
  Write("hostile.json", R"({"groups": [{"items": [{"column": "B", "criteria": "0) OR (1=1"}]}]})");
  Write("operator.json",
        R"({"groups": [{"items": [{"column": "B", "criteria": "1", "operator": 9}]}]})");
  Write("column.json", R"({"groups": [{"items": [{"column": "Z", "criteria": "1"}]}]})");
  Write(
      "connective.json",
      R"({"groups": [{"items": []}, {"logicalOperator": 2, "items": [{"column": "B", "criteria": "1"}]}, {"logicalOperator": 2, "items": [{"column": "B", "criteria": "1"}]}]})");
  Write("broken.json", "{");
  Write("huge.json", R"({"groups": [{"items": [{"column": "B", "criteria": 1e999}]}]})");
  Write("huge-table.json",
        R"({"table": "T", "columns": [{"identifier": "A", "type": "string", "size": 1e999}]})");
  test::ExpectRefusals(
      [&](const std::string& args) { return Run(args); },
      {
          {"filter sql hostile.json --columns table.json", 1,
           "prvdrinfo: hostile.json: Criteria is not a valid literal for column 'B'.\n"},
          {"filter sql operator.json --columns table.json", 1,
           "prvdrinfo: operator.json: Unknown Filter Operator: 9\n"},
          {"filter sql column.json --columns table.json", 1,
           "prvdrinfo: column.json: Could not find column definition for 'Z'\n"},
          {"filter sql connective.json --columns table.json", 1,
           "prvdrinfo: connective.json: Unknown Logical Operator: 2\n"},
          {"filter sql worked.json", 1,
           "prvdrinfo: worked.json: no columns: give --columns TABLE.json or a \"table\" member\n"},
          {"filter sql worked.json --prefix all --columns table.json", 2,
           "prvdrinfo: filter sql --prefix takes none, where or operator, not \"all\" (see prvdrinfo "
           "--help)\n"},
          {"filter sql broken.json --columns table.json", 1,
           "prvdrinfo: broken.json: invalid JSON..."},
          {"filter sql huge.json --columns table.json", 1,
           "prvdrinfo: huge.json: invalid JSON: number overflow parsing '1e999'\n"},
          {"filter sql worked.json --columns huge-table.json", 1,
           "prvdrinfo: huge-table.json: invalid JSON: number overflow parsing '1e999'\n"},
      });
}

}  // namespace
}  // namespace prvdrinfo
