// A process killed in the middle of a rebuild must leave the old table or the new one,
// whole. The victim is a forked child that upgrades a large table; the parent kills it
// with SIGKILL at points spread over the time a whole upgrade takes (the last one just past
// it), then opens the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/tables/table_upgrade_planner.h"
#include "support/temp_dir.h"
#include "upgrade_test_tables.h"

namespace prvdrinfo {
namespace {

using upgrade_test::Def;
using upgrade_test::Definition;
using upgrade_test::MakeTable;
using upgrade_test::Rows;

constexpr int kRows = 100000;

const Def kBefore{{{"Title", "Title", datatype_String, true},
                   {"Qty", "Qty", datatype_String},
                   {"Due", "Due", datatype_DateUtc}}};
// Qty becomes a number and Due goes: a rebuild that converts every row.
const Def kAfter{{{"Title", "Title", datatype_String, true}, {"Qty", "Qty", datatype_Integer}}};

// How many kill points one run of the test tries; PRVDRINFO_UPGRADE_KILLS sets another.
int KillPoints() {
  const char* text = std::getenv("PRVDRINFO_UPGRADE_KILLS");
  const int wanted = text != nullptr ? std::atoi(text) : 0;
  return wanted > 0 ? wanted : 6;
}

// Upgrades the file in a child process; returns its id.
pid_t StartUpgrade(const std::string& path) {
  const pid_t child = fork();
  if (child != 0) return child;
  int status = 0;
  try {
    auto db = Connection::Open(path);
    TableUpgradePlanner::Plan(*db, *Definition(kAfter)).Run(*db);
  } catch (...) {
    status = 1;
  }
  _exit(status);
}

int WaitFor(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// The columns, the rows and what they hold, which the old table and the new one keep alike.
struct Contents {
  std::vector<std::string> columns;
  std::vector<std::string> rows;
};

Contents Read(Connection& db) {
  return {
      Rows(db, "SELECT name || ' ' || type FROM pragma_table_info('Items') ORDER BY cid"),
      Rows(
          db,
          "SELECT COUNT(*), SUM(rowid), SUM(length(rec_guid)), SUM(length(Title)), SUM(CAST(Qty AS INTEGER)), "
          "MAX(updates), SUM(length(created)) FROM Items")};
}

TEST(TableUpgradeCrash, AKilledRebuildLeavesTheOldTableOrTheNewWhole) {
  test::TempDir folder;
  const std::string pristine = folder.File("pristine.db");
  const std::string path = folder.File("project.db");
  {
    // The rows go in before the triggers, with standard values of their own, so that a
    // large file is quick to make; the statements are the definition's all the same.
    auto db = Connection::Open(pristine);
    const auto before = Definition(kBefore);
    db->Execute(before->SqlCreateTableNoTriggers());
    db->Execute(
        "BEGIN; WITH n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(kRows) +
        ") INSERT INTO Items (rec_guid, updates, created, modified, Title, Qty, Due) SELECT printf('G%08d', i), "
        "i, '2024-05-01T13:45:00Z', '2024-05-01T13:45:00Z', 'title ' || i, CAST(i AS TEXT), 45000 + i FROM n; "
        "COMMIT");
    MakeTable(*db, *before);
  }
  auto fresh = [&] {
    std::filesystem::remove(path + "-journal");
    std::filesystem::copy_file(pristine, path, std::filesystem::copy_options::overwrite_existing);
  };

  // The old contents, the new ones, and how long a whole upgrade takes.
  fresh();
  Contents old;
  {
    auto db = Connection::Open(path);
    old = Read(*db);
  }
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(WaitFor(StartUpgrade(path)), 0);
  const auto whole = std::chrono::steady_clock::now() - started;
  Contents upgraded;
  {
    auto db = Connection::Open(path);
    upgraded = Read(*db);
  }
  ASSERT_NE(upgraded.columns, old.columns);
  ASSERT_EQ(upgraded.rows, old.rows);

  const int points = KillPoints();
  int leftOld = 0, leftNew = 0;
  for (int point = 1; point <= points; ++point) {
    SCOPED_TRACE("kill point " + std::to_string(point) + " of " + std::to_string(points));
    fresh();
    const pid_t child = StartUpgrade(path);
    // Spread from early in the copy to just past the commit.
    std::this_thread::sleep_for(whole * point * 21 / (points * 20));
    kill(child, SIGKILL);
    WaitFor(child);

    auto db = Connection::Open(path);
    EXPECT_EQ(Rows(*db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    const Contents found = Read(*db);
    EXPECT_EQ(found.rows, old.rows);
    EXPECT_TRUE(found.columns == old.columns || found.columns == upgraded.columns);
    (found.columns == old.columns ? leftOld : leftNew)++;
    EXPECT_EQ(Rows(*db, "SELECT name FROM sqlite_master WHERE name LIKE 'Items_upgrade%'"),
              std::vector<std::string>{});
    // Whichever table is there, upgrading it again ends in the new one.
    TableUpgradePlanner::Plan(*db, *Definition(kAfter)).Run(*db);
    EXPECT_EQ(Read(*db).columns, upgraded.columns);
    EXPECT_TRUE(TableUpgradePlanner::Plan(*db, *Definition(kAfter)).NothingToDo());
  }
  std::printf(
      "whole upgrade %lld ms; killed %d times: old table %d, new table %d\n",
      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(whole).count()),
      points, leftOld, leftNew);
  RecordProperty("left_old", leftOld);
  RecordProperty("left_new", leftNew);
}

}  // namespace
}  // namespace prvdrinfo
