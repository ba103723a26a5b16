// prvdrinfo filter sql, run as a user would.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

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

  static std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  Outcome Run(const std::string& args) {
#ifdef PRVDRINFO_TOOL_PATH
    const std::string command = "cd '" + dir_.Path() + "' && '" + PRVDRINFO_TOOL_PATH + "' " + args +
                                " </dev/null >out 2>err";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Read(dir_.File("out")), Read(dir_.File("err"))};
#else
    (void)args;
    return {};
#endif
  }

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
  EXPECT_EQ(bound.out,
            "(\"A\"=? COLLATE NOCASE OR \"B\">?) AND (\"C\"<>?)\n?1 = 'O''Brien'\n?2 = 5\n?3 = 0\n");
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
  Write("operator.json", R"({"groups": [{"items": [{"column": "B", "criteria": "1", "operator": 9}]}]})");
  Write("column.json", R"({"groups": [{"items": [{"column": "Z", "criteria": "1"}]}]})");
  Write("connective.json", R"({"groups": [{"items": []}, {"logicalOperator": 2, "items": [{"column": "B", "criteria": "1"}]}, {"logicalOperator": 2, "items": [{"column": "B", "criteria": "1"}]}]})");
  Write("broken.json", "{");
  struct Case {
    const char* args;
    int status;
    const char* err;
  };
  for (const Case& c : {
           Case{"filter sql hostile.json --columns table.json", 1,
                "prvdrinfo: hostile.json: Criteria is not a valid literal for column 'B'.\n"},
           Case{"filter sql operator.json --columns table.json", 1,
                "prvdrinfo: operator.json: Unknown Filter Operator: 9\n"},
           Case{"filter sql column.json --columns table.json", 1,
                "prvdrinfo: column.json: Could not find column definition for 'Z'\n"},
           Case{"filter sql connective.json --columns table.json", 1,
                "prvdrinfo: connective.json: Unknown Logical Operator: 2\n"},
           Case{"filter sql worked.json", 1,
                "prvdrinfo: worked.json: no columns: give --columns TABLE.json or a \"table\" member\n"},
           Case{"filter sql worked.json --prefix all --columns table.json", 2,
                "prvdrinfo: filter sql --prefix takes none, where or operator, not \"all\" (see prvdrinfo --help)\n"},
       }) {
    SCOPED_TRACE(c.args);
    const Outcome run = Run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
  }
  const Outcome broken = Run("filter sql broken.json --columns table.json");
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err.rfind("prvdrinfo: broken.json: invalid JSON", 0), 0u) << broken.err;
}

}  // namespace
}  // namespace prvdrinfo
