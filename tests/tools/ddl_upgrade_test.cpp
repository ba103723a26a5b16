// prvdrinfo ddl --apply FILE --upgrade [--dry-run], run as a user would.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using Outcome = test::ToolOutcome;
using test::ReadText;

constexpr const char* kParts =
    R"({"table": "Parts", "columns": [{"identifier": "Code", "type": "string", "required": true},
        {"identifier": "Count", "type": "string"}, {"identifier": "Old", "type": "date"}]})";
constexpr const char* kNext =
    R"({"table": "Parts", "columns": [{"identifier": "Code", "type": "string", "required": true},
        {"identifier": "Count", "type": "integer"}, {"identifier": "Note", "type": "string"}],
        "uniqueIndexes": [["Code"]]})";
constexpr const char* kWithNote =
    R"({"table": "Parts", "columns": [{"identifier": "Code", "type": "string", "required": true},
        {"identifier": "Count", "type": "string"}, {"identifier": "Old", "type": "date"},
        {"identifier": "Note", "type": "string"}]})";
constexpr const char* kRequiredExtra =
    R"({"table": "Parts", "columns": [{"identifier": "Code", "type": "string", "required": true},
        {"identifier": "Count", "type": "string"}, {"identifier": "Old", "type": "date"},
        {"identifier": "Extra", "type": "string", "required": true}]})";

class DdlUpgrade : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#endif
  }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name)) << text;
    return dir_.File(name);
  }

  Outcome Run(const std::string& args) { return test::RunBuiltTool(dir_.Path(), args); }

  std::vector<std::string> Rows(const std::string& db, const std::string& sql) {
    std::vector<std::string> rows;
    for (auto set = Connection::Open(db)->OpenRecordset(sql); !set->Eof(); set->MoveNext()) {
      rows.push_back(set->Value(0).ToText());
    }
    return rows;
  }

  test::TempDir dir_;
};

TEST_F(DdlUpgrade, ShowsThePlanAndRunsIt) {
  struct Case {
    const char* name;
    const char* definition;
    const char* flags;
    int status;
    std::string out;
    std::string err;
    std::vector<std::string> codesAndCounts;  // quote(Code) || quote(Count) afterwards
  };
  const std::vector<std::string> unchanged{"'a''1'", "'b''2'"};
  for (
      const Case& c : std::vector<Case>{
          {"a rebuild",
           kNext,
           "--upgrade",
           0,
           "Upgrade of table Parts in parts.db:\n"
           "  1. rebuild table Parts, copying 2 rows: remove column Old (1 value); change column Count from TEXT to "
           "INTEGER; add unique (Code); add column Note (copies 2 rows)\n",
           "Upgraded parts.db.\n",
           {"'a'1", "'b'2"}},
          {"a dry run", kNext, "--upgrade --dry-run", 0,
           "Upgrade of table Parts in parts.db:\n"
           "  1. rebuild table Parts, copying 2 rows: remove column Old (1 value); change column Count from TEXT to "
           "INTEGER; add unique (Code); add column Note (copies 2 rows)\n",
           "Dry run: parts.db not changed.\n", unchanged},
          {"a column added", kWithNote, "--upgrade", 0,
           "Upgrade of table Parts in parts.db:\n  1. add column Parts.Note TEXT (copies 0 rows)\n",
           "Upgraded parts.db.\n", unchanged},
          {"the table as defined", kParts, "--upgrade", 0, "table Parts: nothing to do\n",
           "parts.db already holds table Parts as defined; nothing changed.\n", unchanged},
          {"a refusal", kRequiredExtra, "--upgrade", 1, "",
           "prvdrinfo: parts.db: Column Parts.Extra cannot be added as NOT NULL without a default: the table has 2 "
           "rows. (nothing changed)\n",
           unchanged},
          {"without --upgrade, --apply refuses other columns", kWithNote, "", 1, "",
           "prvdrinfo: parts.db: table Parts already exists with other columns (missing \"Note\") (nothing changed)\n",
           unchanged},
          {"--upgrade without --apply", kNext, "NOAPPLY --upgrade", 2, "",
           "prvdrinfo: ddl --upgrade needs --apply and a database file name (see prvdrinfo --help)\n",
           unchanged},
          {"--dry-run without --upgrade", kNext, "--dry-run", 2, "",
           "prvdrinfo: ddl --dry-run goes with --upgrade (see prvdrinfo --help)\n", unchanged},
      }) {
    SCOPED_TRACE(c.name);
    const std::string db = dir_.File("parts.db");
    std::filesystem::remove(db);
    ASSERT_EQ(Run("ddl " + Write("parts.json", kParts) + " --apply parts.db").status, 0);
    Connection::Open(db)->Execute(
        "INSERT INTO Parts (Code, Count, Old) VALUES ('a', '1', 45000), ('b', '2', NULL)");
    const std::string before = ReadText(db);
    const std::string flags = c.flags;
    const std::string apply =
        flags.rfind("NOAPPLY", 0) == 0 ? flags.substr(7) : " --apply parts.db " + flags;
    const Outcome r = Run("ddl " + Write("next.json", c.definition) + apply);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(Rows(db, "SELECT quote(Code) || quote(Count) FROM Parts ORDER BY rowid"),
              c.codesAndCounts);
    if (c.status != 0 || flags.find("--dry-run") != std::string::npos) {
      EXPECT_EQ(ReadText(db), before);  // byte for byte
    }
    // What an upgrade leaves is the definition's table: a second one finds nothing to do.
    if (c.status == 0 && flags == "--upgrade") {
      EXPECT_EQ(Run("ddl next.json --apply parts.db --upgrade").out,
                "table Parts: nothing to do\n");
    }
  }
}

// A missing file: the upgrade creates the table as --apply does; a dry run creates nothing.
TEST_F(DdlUpgrade, AMissingFileGetsTheTable) {
  const std::string json = Write("parts.json", kParts);
  const Outcome dry = Run("ddl " + json + " --apply new.db --upgrade --dry-run");
  EXPECT_EQ(dry.status, 0);
  EXPECT_EQ(
      dry.out,
      "Upgrade of table Parts in new.db:\n  1. create table Parts and log its deletions (copies 0 rows)\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("new.db")));
  const Outcome made = Run("ddl " + json + " --apply new.db --upgrade");
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(Run("ddl " + json + " --apply new.db").err,
            "new.db already holds table Parts as defined; nothing changed.\n");
}

}  // namespace
}  // namespace prvdrinfo
