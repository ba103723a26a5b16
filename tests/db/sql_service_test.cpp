#include "prvdrinfo/db/sql_service.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using namespace std::string_literals;

TEST(SqlServiceText, QuotingAndEscaping) {
  EXPECT_EQ(SqlService::QuoteIdentifier("views"), "\"views\"");
  EXPECT_EQ(SqlService::QuoteIdentifier("a\"b\"\""), "\"a\"\"b\"\"\"\"\"");
  EXPECT_EQ(SqlService::QuoteIdentifier(""), "\"\"");
  EXPECT_EQ(SqlService::EscapeLiteral("it's"), "it''s");
  EXPECT_EQ(SqlService::EscapeLiteral("''"), "''''");
  EXPECT_EQ(SqlService::EscapeLiteral("say \"hi\""), "say \"hi\"");
  for (const int32_t flag : {0, 8192, 268435457})
    EXPECT_EQ(SqlService::EscapeLiteral("O'Neil", flag), "O''Neil");
  EXPECT_EQ(testing::ErrorOf([] { SqlService::EscapeLiteral("x", 1); }).Number(),
            err::kInvalidProcedureCall);
}

TEST(SqlServiceText, EmbeddedNulIsRefusedEverywhere) {
  const std::string nul = "a\0b"s;
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::QuoteIdentifier(nul); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::EscapeLiteral(nul); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::SqlLiteral(Variant(nul)); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::InsertStatement("t", {nul}); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::UpdateStatement(nul, {"a"}); }).Number(),
            err::kInvalidProcedureCall);
}

// Any text without NUL, quoted, names exactly that identifier; escaped, is exactly that
// literal. The texts lean on the characters that matter: quotes, brackets, spaces,
// semicolons, comment starts, bytes that are no UTF-8.
TEST(SqlServiceText, QuotedTextRoundTripsThroughSqlite) {
  std::mt19937 random(20240501);
  const std::string special = "\"'`[]; -/*\n\t?:@$\\()";
  auto text = [&] {
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> pick(0, 3);
    std::string out;
    for (int n = length(random); n > 0; --n) {
      switch (pick(random)) {
        case 0:
          out += special[std::uniform_int_distribution<size_t>(0, special.size() - 1)(random)];
          break;
        case 1:
          out += static_cast<char>(std::uniform_int_distribution<int>(0x80, 0xFF)(random));
          break;
        default:
          out += static_cast<char>(std::uniform_int_distribution<int>(1, 0x7F)(random));
          break;
      }
    }
    return out;
  };
  auto db = Connection::CreateMemory();
  for (int i = 0; i < 400; ++i) {
    const std::string name = text();
    const std::string value = text();
    SCOPED_TRACE(::testing::PrintToString(name) + " / " + ::testing::PrintToString(value));
    const std::string table = SqlService::QuoteIdentifier(name);
    db->Execute("CREATE TABLE " + table + " (" + table + " TEXT)");
    db->Execute("INSERT INTO " + table + " (" + table + ") VALUES ('" +
                SqlService::EscapeLiteral(value) + "')");
    auto rs =
        db->OpenRecordset("SELECT " + table + ", (SELECT name FROM sqlite_master) FROM " + table);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value(0), Variant(value));
    EXPECT_EQ(rs->Value(1), Variant(name));
    EXPECT_TRUE(SqlService::TableExists(*db, name));
    EXPECT_TRUE(SqlService::ColumnExists(*db, name, name));
    db->Execute("DROP TABLE " + table);
  }
}

TEST(SqlServiceText, LiteralsReadBackAsTheirValues) {
  auto db = Connection::CreateMemory();
  db->Execute("CREATE TABLE t (k INTEGER PRIMARY KEY, v)");
  struct Case {
    Variant value;
    Variant back;
  } cases[] = {
      {Variant(), Variant::Null()},
      {Variant::Null(), Variant::Null()},
      {Variant(int16_t{-7}), Variant(int32_t{-7})},
      {Variant(int32_t{2147483647}), Variant(int32_t{2147483647})},
      {Variant(true), Variant(int32_t{1})},
      {Variant(false), Variant(int32_t{0})},
      {Variant(3.0), Variant(3.0)},
      {Variant(-0.1), Variant(-0.1)},
      {Variant(1e300), Variant(1e300)},
      {Variant(std::numeric_limits<double>::infinity()),
       Variant(std::numeric_limits<double>::infinity())},
      {Variant(-std::numeric_limits<double>::infinity()),
       Variant(-std::numeric_limits<double>::infinity())},
      {Variant(std::nan("")), Variant::Null()},
      {Variant::FromDate(45413.5), Variant(45413.5)},
      {Variant(Currency::FromScaled(-1234567)), Variant(-123.4567)},
      {Variant("O'Neil; DROP TABLE t; --"), Variant("O'Neil; DROP TABLE t; --")},
      {Variant(""), Variant("")},
      {Variant(Bytes{}), Variant(Bytes{})},
      {Variant(Bytes{0, 0x7F, 0xFF}), Variant(Bytes{0, 0x7F, 0xFF})},
  };
  int32_t key = 0;
  for (const auto& c : cases) {
    db->Execute(SqlService::InsertStatement("t", {"k", "v"}, {Variant(++key), c.value}));
    auto rs = db->OpenRecordset("SELECT v FROM t WHERE k=" + std::to_string(key));
    EXPECT_EQ(rs->Value(0), c.back) << SqlService::SqlLiteral(c.value);
  }
  EXPECT_EQ(testing::ErrorOf([] {
              SqlService::SqlLiteral(Variant(std::make_shared<IObject>()));
            }).Number(),
            err::kTypeMismatch);
}

TEST(SqlServiceTypes, TypeNamePerVariantType) {
  struct Case {
    int32_t type;
    const char* name;
  } cases[] = {{8, "TEXT"},     {2, "INTEGER"},  {3, "INTEGER"}, {11, "INTEGER"},
               {20, "INTEGER"}, {4, "REAL"},     {5, "REAL"},    {6, "REAL"},
               {7, "REAL"},     {14, "NUMERIC"}, {8209, "BLOB"}};
  for (const auto& c : cases) EXPECT_EQ(SqlService::SqlTypeName(c.type), c.name) << c.type;
  for (const int32_t bad : {0, 1, 9, 12, 13, 8200, -1}) {
    EXPECT_EQ(testing::ErrorOf([&] { SqlService::SqlTypeName(bad); }).Number(),
              err::kInvalidProcedureCall)
        << bad;
  }
}

class SqlServiceDb : public ::testing::Test {
 protected:
  void SetUp() override {
    Connection::Open(path)->Execute(
        "CREATE TABLE \"views\" (rec_guid TEXT PRIMARY KEY, caption TEXT, counter INTEGER, private_to_guid TEXT)");
    db = SqlService::OpenDatabase(path);
  }
  std::string Captions() {
    std::string out;
    auto rs = db->OpenRecordset("SELECT rec_guid, caption FROM views ORDER BY rec_guid");
    for (; !rs->Eof(); rs->MoveNext())
      out += rs->Value(0).AsText() + "=" + rs->Value(1).ToText() + ";";
    return out;
  }
  test::TempDir dir;
  std::string path = dir.File("views.db");
  std::shared_ptr<Connection> db;
};

TEST_F(SqlServiceDb, OpenDatabaseNeverCreatesAFile) {
  EXPECT_EQ(
      testing::ErrorOf([&] { SqlService::OpenDatabase(dir.File("absent.db")); }).Description(),
      "unable to open database file");
  EXPECT_EQ(access(dir.File("absent.db").c_str(), F_OK), -1);
}

TEST_F(SqlServiceDb, InsertReplacesTheRowWithTheSameKey) {
  db->Execute(SqlService::InsertStatement("views", {"rec_guid", "caption"},
                                          {Variant("G1"), Variant("one")}));
  db->Execute(SqlService::InsertStatement("views", {"rec_guid", "caption"},
                                          {Variant("G1"), Variant("uno")}));
  EXPECT_EQ(Captions(), "G1=uno;");

  const std::string sql = SqlService::InsertStatement("views", {"rec_guid", "counter", "caption"});
  EXPECT_EQ(
      sql,
      "INSERT OR REPLACE INTO \"views\" (\"rec_guid\", \"counter\", \"caption\") VALUES (?, ?, ?)");
  auto command = db->CreateCommand(sql);
  command->SetText(command->ParameterIndex("rec_guid"), "G1");
  command->SetLong(command->ParameterIndex("counter"), 10);
  command->SetText(command->ParameterIndex("caption"), "eins");
  command->Execute();
  EXPECT_EQ(Captions(), "G1=eins;");

  EXPECT_EQ(testing::ErrorOf([] { SqlService::InsertStatement("t", {}); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([] {
              SqlService::InsertStatement("t", {"a", "b"}, {Variant(1)});
            }).Number(),
            err::kInvalidProcedureCall);
}

TEST_F(SqlServiceDb, UpdateStatementTakesTheCallersWhereClause) {
  db->Execute(
      "INSERT INTO views VALUES ('A', 'a', 1, 'P1'), ('B', 'b', 2, 'P2'), ('C', 'c', 3, 'P2')");
  const std::string update =
      SqlService::UpdateStatement("views", {"private_to_guid"}, {Variant("")});
  EXPECT_EQ(update, "UPDATE \"views\" SET \"private_to_guid\"=''");
  db->Execute(update + " WHERE " + SqlService::QuoteIdentifier("private_to_guid") + "='P2'");
  auto rs = db->OpenRecordset("SELECT count(*) FROM views WHERE private_to_guid=''");
  EXPECT_EQ(rs->Value(0), Variant(int32_t{2}));

  // The caller's rewrite of the first "UPDATE " keeps rows that would clash.
  db->Execute("CREATE UNIQUE INDEX u ON views (caption)");
  std::string ignore = SqlService::UpdateStatement("views", {"caption"}, {Variant("a")});
  ignore.replace(0, 7, "UPDATE OR IGNORE ");
  db->Execute(ignore + " WHERE rec_guid='B'");
  EXPECT_EQ(Captions(), "A=a;B=b;C=c;");

  auto command = db->CreateCommand(SqlService::UpdateStatement("views", {"caption", "counter"}) +
                                   " WHERE rec_guid=?");
  command->SetText(command->ParameterIndex("caption"), "z");
  command->SetLong(command->ParameterIndex("counter"), 9);
  command->SetText(command->ParameterIndex("rec_guid"), "C");
  command->Execute();
  EXPECT_EQ(Captions(), "A=a;B=b;C=z;");
}

TEST_F(SqlServiceDb, AddColumnAndExistenceTests) {
  EXPECT_TRUE(SqlService::TableExists(*db, "VIEWS"));
  EXPECT_FALSE(SqlService::TableExists(*db, "view"));
  EXPECT_FALSE(SqlService::TableExists(*db, "views' OR '1'='1"));
  EXPECT_FALSE(SqlService::TableExists(*db, ""));
  EXPECT_FALSE(SqlService::ColumnExists(*db, "views", "notification_view"));
  EXPECT_FALSE(SqlService::ColumnExists(*db, "missing", "caption"));

  db->Execute("INSERT INTO views (rec_guid) VALUES ('A')");
  const std::string add =
      SqlService::AddColumnStatement("views", "notification_view", 11, Variant(int16_t{0}));
  EXPECT_EQ(add, "ALTER TABLE \"views\" ADD COLUMN \"notification_view\" INTEGER DEFAULT 0");
  db->Execute(add);
  EXPECT_TRUE(SqlService::ColumnExists(*db, "Views", "Notification_View"));
  EXPECT_EQ(db->OpenRecordset("SELECT notification_view FROM views")->Value(0),
            Variant(int32_t{0}));
  EXPECT_EQ(SqlService::AddColumnStatement("t", "c", 8), "ALTER TABLE \"t\" ADD COLUMN \"c\" TEXT");
}

TEST_F(SqlServiceDb, TransactionsCommitRollBackAndDoNotNest) {
  EXPECT_TRUE(SqlService::Begin(*db, 5));
  EXPECT_FALSE(SqlService::Begin(*db, 5));
  db->Execute("INSERT INTO views (rec_guid) VALUES ('A')");
  SqlService::Rollback(*db);
  EXPECT_EQ(Captions(), "");
  SqlService::Rollback(*db);  // nothing open: nothing to do

  EXPECT_TRUE(SqlService::Begin(*db));
  db->Execute("INSERT INTO views (rec_guid, caption) VALUES ('A', 'a')");
  SqlService::Commit(*db);
  EXPECT_EQ(Captions(), "A=a;");
  // Committing with nothing open is a failure, never a quiet success.
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::Commit(*db); }).Description(),
            "cannot commit - no transaction is active");
  EXPECT_EQ(testing::ErrorOf([&] { SqlService::Begin(*db, -1); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(db->BusyTimeout(), Connection::kDefaultBusyTimeoutMs);
}

TEST_F(SqlServiceDb, ASecondWriterWaitsForTheBoundThenFails) {
  auto other = SqlService::OpenDatabase(path);
  ASSERT_TRUE(SqlService::Begin(*db, 1));
  const auto start = std::chrono::steady_clock::now();
  const CError e = testing::ErrorOf([&] { SqlService::Begin(*other, 1); });
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(e.Description(), "database is locked");
  EXPECT_GE(waited, std::chrono::milliseconds(900));
  EXPECT_FALSE(other->InTransaction());
  // Its own busy wait is back once the begin has failed.
  EXPECT_EQ(other->BusyTimeout(), Connection::kDefaultBusyTimeoutMs);

  // The writer that waits long enough gets in once the first commits.
  std::thread first([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    SqlService::Commit(*db);
  });
  EXPECT_TRUE(SqlService::Begin(*other, 10));
  first.join();
  SqlService::Commit(*other);
}

// One read-modify-write increment per transaction, as the counter assignments of the
// views database do it.
void Increment(Connection& db, int times) {
  for (int i = 0; i < times; ++i) {
    SqlService::Begin(db, 60);
    auto rs = db.OpenRecordset("SELECT counter FROM views WHERE rec_guid='N'");
    const int32_t value = rs->Value(0).AsLong();
    db.Execute("UPDATE views SET counter=" + std::to_string(value + 1) + " WHERE rec_guid='N'");
    SqlService::Commit(db);
  }
}

TEST_F(SqlServiceDb, ConcurrentIncrementsNeverLoseAnUpdate) {
  db->Execute("INSERT INTO views (rec_guid, counter) VALUES ('N', 0)");
  constexpr int kTimes = 40;

  // Two connections in two threads.
  std::vector<std::thread> threads;
  std::vector<std::string> failures(2);
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      try {
        Increment(*SqlService::OpenDatabase(path), kTimes);
      } catch (const CError& e) {
        failures[static_cast<size_t>(t)] = e.Report();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& failure : failures) EXPECT_EQ(failure, "");

  // Two processes.
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
      int status = 0;
      try {
        Increment(*SqlService::OpenDatabase(path), kTimes);
      } catch (...) {
        status = 1;
      }
      _exit(status);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  auto rs = db->OpenRecordset("SELECT counter FROM views WHERE rec_guid='N'");
  EXPECT_EQ(rs->Value(0), Variant(int32_t{4 * kTimes}));
}

}  // namespace
}  // namespace prvdrinfo
