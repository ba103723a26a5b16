// SQLite's own limits, set through the handle behind a connection.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "db/db_internals.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

TEST(ConnectionLimits, TextBeyondSqlitesLimitsFailsClearly) {
  test::TempDir dir;
  auto db = Connection::Open(dir.File("test.db"));
  db->Execute("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, data BLOB)");
  sqlite3_limit(NativeHandle(*db), SQLITE_LIMIT_SQL_LENGTH, 1000);
  sqlite3_limit(NativeHandle(*db), SQLITE_LIMIT_LENGTH, 1000);
  const std::string big(2000, 'x');
  EXPECT_EQ(ErrorOf([&] { db->Execute("SELECT '" + big + "'"); }).Description(),
            "statement too long");
  auto insert = db->CreateCommand("INSERT INTO t (id, name, data) VALUES (1, ?, ?)");
  EXPECT_EQ(ErrorOf([&] { insert->SetText(1, big); }).Description(), "string or blob too big");
  EXPECT_EQ(ErrorOf([&] { insert->SetBytes(2, Bytes(2000, 1)); }).Description(),
            "string or blob too big");
  EXPECT_EQ(db->OpenRecordset("SELECT count(*) FROM t")->Int64(0), 0);
}

}  // namespace
}  // namespace prvdrinfo
