#include "prvdrinfo/db/connection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "prvdrinfo/db/collation.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/row_view.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using namespace std::string_literals;

class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = Connection::Open(dir.File("test.db"));
    db->Execute(
        "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, amount REAL, data BLOB, flag INTEGER)");
  }
  int64_t Count(const std::string& where = "1") {
    auto rs = db->OpenRecordset("SELECT count(*) FROM t WHERE " + where);
    return rs->Int64(0);
  }
  test::TempDir dir;
  std::shared_ptr<Connection> db;
};

TEST_F(ConnectionTest, RecordsetGivesEachStorageClassItsVariantType) {
  db->Execute(
      "INSERT INTO t VALUES (1, 'a', 1.5, X'0102', 7);"
      "INSERT INTO t VALUES (2, '', NULL, X'', 4294967296);"
      "INSERT INTO t VALUES (3, NULL, -2.25, NULL, -2147483648)");
  auto rs = db->OpenRecordset("SELECT id, name, amount, data, flag FROM t ORDER BY id");
  ASSERT_EQ(rs->RecordCount(), 3);
  ASSERT_EQ(rs->FieldCount(), 5);
  EXPECT_EQ(rs->FieldName(2), "amount");

  EXPECT_EQ(rs->Value(0), Variant(int32_t{1}));
  EXPECT_EQ(rs->Value("NAME"), Variant("a"));
  EXPECT_EQ(rs->Value("amount"), Variant(1.5));
  EXPECT_EQ(rs->Value("data"), Variant(Bytes{1, 2}));
  rs->MoveNext();
  // Empty text and a zero-length blob stay what they are; they are not NULL.
  EXPECT_EQ(rs->Value("name"), Variant(""));
  EXPECT_TRUE(rs->Value("amount").IsNull());
  EXPECT_EQ(rs->Value("data"), Variant(Bytes{}));
  // Beyond 32 bits an INTEGER comes back as a Double, and exactly through Int64.
  EXPECT_EQ(rs->Value("flag"), Variant(4294967296.0));
  EXPECT_EQ(rs->Int64(4), 4294967296);
  rs->MoveNext();
  EXPECT_TRUE(rs->Value("name").IsNull());
  EXPECT_TRUE(rs->Value("data").IsNull());
  EXPECT_EQ(rs->Value("flag"), Variant(int32_t{-2147483647 - 1}));
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(testing::ErrorOf([&] { rs->Value(0); }).Number(), err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { rs->MoveNext(); }).Number(), err::kInvalidProcedureCall);
  rs->MoveFirst();
  EXPECT_EQ(rs->Value("id"), Variant(int32_t{1}));
  EXPECT_EQ(testing::ErrorOf([&] { rs->Value(5); }).Number(), err::kSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorOf([&] { rs->Value("nope"); }).Number(), err::kInvalidProcedureCall);
  EXPECT_EQ(rs->FieldIndex("nope"), -1);
}

TEST_F(ConnectionTest, RowsSteppedOneByOneReadAsTheRecordsetReadsThem) {
  db->Execute(
      "INSERT INTO t VALUES (1, 'a', 1.5, X'0102', 7);"
      "INSERT INTO t VALUES (2, '', NULL, X'', 4294967296);"
      "INSERT INTO t VALUES (3, NULL, -2.25, NULL, -2147483648)");
  const std::string sql = "SELECT id, name, amount, data, flag FROM t ORDER BY id";
  auto rs = db->OpenRecordset(sql);
  int rows = 0;
  db->ForEachRow(sql, [&](const RowView& row) {
    SCOPED_TRACE(rows);
    ASSERT_FALSE(rs->Eof());
    ASSERT_EQ(row.FieldCount(), rs->FieldCount());
    for (int32_t field = 0; field < row.FieldCount(); ++field) {
      EXPECT_EQ(row.Value(field), rs->Value(field));
      std::span<const uint8_t> bytes;
      // Only a BLOB is handed out where it stands, a zero-length one as no bytes.
      const Variant value = rs->Value(field);
      EXPECT_EQ(row.Blob(field, bytes), value.IsBytes());
      if (value.IsBytes()) {
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), value.AsBytes());
      }
    }
    EXPECT_EQ(row.Value("NAME"), rs->Value("name"));
    EXPECT_EQ(row.FieldIndex("nope"), -1);
    EXPECT_EQ(testing::ErrorOf([&] { row.Value("nope"); }).Number(), err::kInvalidProcedureCall);
    EXPECT_EQ(testing::ErrorOf([&] { row.Value(5); }).Number(), err::kSubscriptOutOfRange);
    rs->MoveNext();
    ++rows;
  });
  EXPECT_EQ(rows, 3);

  // Whatever the reader throws leaves with the statement finished: the table can go.
  EXPECT_EQ(testing::ErrorOf([&] {
              db->ForEachRow(sql, [](const RowView&) { throw std::runtime_error("stop"); });
            }).Description(),
            "stop");
  EXPECT_NO_THROW(db->Execute("DROP TABLE t"));
  EXPECT_EQ(testing::ErrorOf([&] { db->ForEachRow("SELECT 1; SELECT 2", [](const RowView&) {}); })
                .Number(),
            err::kInvalidProcedureCall);
}

TEST_F(ConnectionTest, EmptyResultIsAtEndOfFile) {
  auto rs = db->OpenRecordset("SELECT * FROM t");
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(rs->FieldCount(), 5);
}

TEST_F(ConnectionTest, SqliteFailuresCarrySqlitesMessage) {
  db->Execute("INSERT INTO t (id) VALUES (1)");
  struct Case {
    std::string sql;
    std::string message;
  } cases[] = {
      {"SELEKT 1", "near \"SELEKT\": syntax error"},
      {"INSERT INTO t (id) VALUES (1)", "UNIQUE constraint failed: t.id"},
      {"SELECT * FROM missing", "no such table: missing"},
      // A double-quoted name never falls back to being a string.
      {"SELECT \"nmae\" FROM t", "no such column: nmae"},
  };
  for (const auto& c : cases) {
    const CError e = testing::ErrorOf([&] { db->Execute(c.sql); });
    EXPECT_EQ(e.Description(), c.message) << c.sql;
    EXPECT_NE(e.Context().find(c.sql), std::string::npos) << e.Context();
    EXPECT_EQ(db->LastMessage(), c.message);
  }
  EXPECT_EQ(testing::ErrorOf([&] { db->OpenRecordset("SELEKT 1"); }).Description(),
            "near \"SELEKT\": syntax error");
}

TEST_F(ConnectionTest, TextThatSqliteWouldCutShortIsRefused) {
  db->Execute("INSERT INTO t (id) VALUES (1); INSERT INTO t (id) VALUES (2)");
  // Read up to the NUL, this would delete every row.
  const std::string sql = "DELETE FROM t\0 WHERE id=1"s;
  const CError e = testing::ErrorOf([&] { db->Execute(sql); });
  EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
  EXPECT_EQ(e.Description(), "SQL text contains a NUL character.");
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(testing::ErrorOf([&] { db->CreateCommand(sql); }).Number(), err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { db->OpenRecordset("SELECT 1\0"s); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { Connection::Open(dir.Path() + "a\0b"s); }).Number(),
            err::kInvalidProcedureCall);
}

TEST_F(ConnectionTest, ExecuteRunsEveryStatementAndStopsAtTheFirstFailure) {
  const CError e = testing::ErrorOf([&] {
    db->Execute(
        "INSERT INTO t (id) VALUES (1); INSERT INTO t (id) VALUES (1); INSERT INTO t (id) VALUES (3)");
  });
  EXPECT_EQ(e.Description(), "UNIQUE constraint failed: t.id");
  EXPECT_EQ(Count(), 1);
  db->Execute("  -- nothing but a comment\n ");
  db->Execute("");
}

TEST_F(ConnectionTest, RecordsetAndCommandTakeExactlyOneStatement) {
  EXPECT_EQ(testing::ErrorOf([&] { db->OpenRecordset("SELECT 1; DELETE FROM t"); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { db->CreateCommand("   "); }).Number(),
            err::kInvalidProcedureCall);
  // A trailing semicolon or comment is no second statement.
  EXPECT_EQ(db->OpenRecordset("SELECT 1; -- done")->RecordCount(), 1);
}

TEST_F(ConnectionTest, OpenReportsNameAndRefusesWhatIsNoDatabase) {
  EXPECT_EQ(db->DatabaseName(), dir.File("test.db"));
  EXPECT_EQ(Connection::CreateMemory()->DatabaseName(), ":memory:");

  std::ofstream(dir.File("junk.db")) << std::string(4096, 'x');
  EXPECT_EQ(testing::ErrorOf([&] { Connection::Open(dir.File("junk.db")); }).Description(),
            "file is not a database");
  EXPECT_EQ(testing::ErrorOf([&] {
              Connection::Open(dir.File("missing.db"), Connection::OpenMode::ReadWrite);
            }).Description(),
            "unable to open database file");
  auto readOnly = Connection::Open(dir.File("test.db"), Connection::OpenMode::ReadOnly);
  EXPECT_EQ(testing::ErrorOf([&] { readOnly->Execute("DELETE FROM t"); }).Description(),
            "attempt to write a readonly database");
}

// Immutable reads name the file by URI: characters a URI gives meaning to stay part of the
// name, and nothing is written beside the file.
TEST_F(ConnectionTest, ImmutableReadOnlyOpensAnyNameAndWritesNothing) {
  for (const char* name : {"plain.db", "odd?name#with%25 chars.db"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.File(name);
    Connection::Open(path)->Execute(
        "PRAGMA journal_mode=WAL; CREATE TABLE t (a); INSERT INTO t VALUES (7)");
    auto immutable = Connection::Open(path, Connection::OpenMode::ReadOnlyImmutable);
    EXPECT_EQ(immutable->OpenRecordset("SELECT a FROM t")->Int64(0), 7);
    EXPECT_EQ(testing::ErrorOf([&] { immutable->Execute("DELETE FROM t"); }).Description(),
              "attempt to write a readonly database");
    EXPECT_FALSE(std::ifstream(path + "-shm").good());
  }
  EXPECT_EQ(testing::ErrorOf([&] {
              Connection::Open(dir.File("absent.db"), Connection::OpenMode::ReadOnlyImmutable);
            }).Description(),
            "unable to open database file");
}

TEST_F(ConnectionTest, CommandBindsByPositionAndIsReusable) {
  auto insert =
      db->CreateCommand("INSERT INTO t (id, name, amount, data, flag) VALUES (?, ?, ?, ?, ?)");
  ASSERT_EQ(insert->ParameterCount(), 5);
  insert->SetLong(1, 1);
  insert->SetText(2, "it's \"quoted\"");
  insert->SetDouble(3, 0.1);
  insert->SetBytes(4, Bytes{0, 255});
  insert->SetBoolean(5, true);
  insert->Execute();
  // Bindings stay: change only the key and a flag.
  insert->SetLong(1, 2);
  insert->SetBoolean(5, false);
  insert->Execute();
  insert->SetLong(1, 3);
  insert->SetText(2, std::string_view{});  // no characters, not even a pointer
  insert->SetBytes(4, Bytes{});
  insert->SetNull(3);
  insert->Execute();

  auto rs = db->OpenRecordset("SELECT * FROM t ORDER BY id");
  ASSERT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(rs->Value("name"), Variant("it's \"quoted\""));
  EXPECT_EQ(rs->Value("amount"), Variant(0.1));
  EXPECT_EQ(rs->Value("data"), Variant(Bytes{0, 255}));
  EXPECT_EQ(rs->Value("flag"), Variant(int32_t{1}));
  rs->MoveNext();
  EXPECT_EQ(rs->Value("name"), Variant("it's \"quoted\""));
  EXPECT_EQ(rs->Value("flag"), Variant(int32_t{0}));
  rs->MoveNext();
  EXPECT_EQ(rs->Value("name"), Variant(""));
  EXPECT_EQ(rs->Value("data"), Variant(Bytes{}));
  EXPECT_TRUE(rs->Value("amount").IsNull());

  EXPECT_EQ(testing::ErrorOf([&] { insert->SetLong(0, 1); }).Number(), err::kSubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorOf([&] { insert->SetText(6, "x"); }).Number(), err::kSubscriptOutOfRange);
  // A failed run leaves the command usable.
  insert->SetLong(1, 1);
  EXPECT_EQ(testing::ErrorOf([&] { insert->Execute(); }).Description(),
            "UNIQUE constraint failed: t.id");
  insert->SetLong(1, 4);
  insert->Execute();
  EXPECT_EQ(Count(), 4);
}

TEST_F(ConnectionTest, SetValueBindsEveryScalarVariant) {
  auto insert = db->CreateCommand("INSERT INTO t (id, name) VALUES (?1, ?2)");
  auto select = db->CreateCommand("SELECT name FROM t WHERE id=?");
  struct Case {
    Variant in;
    Variant out;
  } cases[] = {
      {Variant(), Variant::Null()},
      {Variant::Null(), Variant::Null()},
      {Variant(int16_t{-3}), Variant("-3")},
      {Variant(int32_t{70000}), Variant("70000")},
      {Variant(true), Variant("1")},
      {Variant(2.5), Variant("2.5")},
      {Variant::FromDate(45000.5), Variant("45000.5")},
      {Variant(Currency::FromScaled(12345)), Variant("1.2345")},
      {Variant("x"), Variant("x")},
      {Variant("\xff\xfe'\"--"), Variant("\xff\xfe'\"--")},  // no UTF-8, quotes: kept as they are
  };
  int32_t id = 0;
  for (const auto& c : cases) {
    insert->SetLong(1, ++id);
    insert->SetValue(2, c.in);
    insert->Execute();
    select->SetLong(1, id);
    auto rs = select->OpenRecordset();
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value(0), c.out) << id;
  }
  EXPECT_EQ(
      testing::ErrorOf([&] { insert->SetValue(2, Variant(std::make_shared<IObject>())); }).Number(),
      err::kTypeMismatch);
}

TEST_F(ConnectionTest, ParameterIndexFindsTheColumnsPlaceholder) {
  struct Case {
    std::string sql;
    std::string column;
    int32_t position;
  } cases[] = {
      {"INSERT OR REPLACE INTO \"t\" (\"id\", \"name\", \"flag\") VALUES (?, ?, ?)", "flag", 3},
      {"INSERT INTO t (id, name, flag) VALUES (?, 'fixed', ?)", "flag", 2},
      {"INSERT INTO t (id, name, flag) VALUES (abs(?), (1 + 2), ?)", "FLAG", 2},
      {"UPDATE \"t\" SET \"name\"=?, \"flag\"=? WHERE \"id\"=?", "id", 3},
      {"UPDATE t SET name = ? WHERE t.id == ?", "Id", 2},
      {"UPDATE t SET name=?2, flag=?1", "name", 2},
      {"UPDATE t SET name=:n, flag=:f WHERE id=:n", "flag", 2},
      {"UPDATE t SET name=? -- flag=?\n WHERE id=?", "id", 2},
      {"INSERT INTO \"we\"\"ird\" (\"a\"\"b\", [c d]) VALUES (?, ?)", "c d", 2},
      {"INSERT INTO \"we\"\"ird\" (\"a\"\"b\", [c d]) VALUES (?, ?)", "a\"b", 1},
  };
  db->Execute("CREATE TABLE \"we\"\"ird\" (\"a\"\"b\", [c d])");
  for (const auto& c : cases) {
    auto command = db->CreateCommand(c.sql);
    EXPECT_EQ(command->ParameterIndex(c.column), c.position) << c.sql;
  }
  auto command = db->CreateCommand("UPDATE t SET name=? WHERE id>?");
  EXPECT_EQ(testing::ErrorOf([&] { command->ParameterIndex("id"); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { command->ParameterIndex("flag"); }).Number(),
            err::kInvalidProcedureCall);
}

// Orders by the reversed text under one name and by length under the other.
class TestCollation : public ICollation {
 public:
  std::string DefinedNames() override { return " Reverse ,ByLength"; }
  int32_t CallbackCollate(int32_t index, std::string_view left, std::string_view right) override {
    ++calls;
    if (left == "boom" || right == "boom") throw CError(err::kOverflow, "TestCollation", "boom");
    if (index == 1) return static_cast<int32_t>(left.size()) - static_cast<int32_t>(right.size());
    const std::string l(left.rbegin(), left.rend());
    const std::string r(right.rbegin(), right.rend());
    return l.compare(r);
  }
  int calls = 0;
};

std::string Column(Recordset& rs) {
  std::string out;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out += rs.Value(0).AsText() + ",";
  return out;
}

TEST_F(ConnectionTest, UserCollationsAreUsableByEachNameInAnyCase) {
  auto collation = std::make_shared<TestCollation>();
  db->AddUserCollation(collation);
  db->Execute("INSERT INTO t (id, name) VALUES (1, 'ab'), (2, 'ca'), (3, 'b'), (4, 'cccc')");
  EXPECT_EQ(Column(*db->OpenRecordset("SELECT name FROM t ORDER BY name COLLATE reverse")),
            "ca,b,ab,cccc,");
  EXPECT_EQ(Column(*db->OpenRecordset("SELECT name FROM t ORDER BY name COLLATE BYLENGTH, id")),
            "b,ab,ca,cccc,");
  EXPECT_GT(collation->calls, 0);
}

TEST_F(ConnectionTest, FailingCollationFailsTheStatementWithItsError) {
  db->AddUserCollation(std::make_shared<TestCollation>());
  db->Execute("INSERT INTO t (id, name) VALUES (1, 'a'), (2, 'boom'), (3, 'c')");
  const CError e = testing::ErrorOf(
      [&] { db->OpenRecordset("SELECT name FROM t ORDER BY name COLLATE Reverse"); });
  EXPECT_EQ(e.Number(), err::kOverflow);
  EXPECT_EQ(e.Description(), "boom");
  // The connection carries on afterwards.
  EXPECT_EQ(
      db->OpenRecordset("SELECT name FROM t WHERE name <> 'boom' ORDER BY name COLLATE Reverse")
          ->RecordCount(),
      2);
}

TEST(CollationLifetime, TheConnectionKeepsTheCollationUntilItCloses) {
  auto collation = std::make_shared<TestCollation>();
  std::weak_ptr<TestCollation> watch = collation;
  auto db = Connection::CreateMemory();
  db->AddUserCollation(collation);
  collation.reset();
  EXPECT_FALSE(watch.expired());
  EXPECT_EQ(Column(*db->OpenRecordset("SELECT 'x' UNION SELECT 'y' ORDER BY 1 COLLATE reverse")),
            "x,y,");
  // Registering the names again releases the first object.
  db->AddUserCollation(std::make_shared<TestCollation>());
  EXPECT_TRUE(watch.expired());

  auto other = std::make_shared<TestCollation>();
  watch = other;
  db->AddUserCollation(other);
  other.reset();
  db.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(CollationNames, NoNameOrNoObjectIsRefused) {
  class Nameless : public ICollation {
   public:
    std::string DefinedNames() override { return " , "; }
    int32_t CallbackCollate(int32_t, std::string_view, std::string_view) override { return 0; }
  };
  auto db = Connection::CreateMemory();
  EXPECT_EQ(testing::ErrorOf([&] { db->AddUserCollation(std::make_shared<Nameless>()); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { db->AddUserCollation(nullptr); }).Number(),
            err::kObjectRequired);
}

TEST(CommandLifetime, ACommandOutlivingItsConnectionHandleStillWorks) {
  auto db = Connection::CreateMemory();
  db->Execute("CREATE TABLE t (a)");
  auto command = db->CreateCommand("INSERT INTO t VALUES (?)");
  db.reset();
  command->SetLong(1, 5);
  command->Execute();
}

}  // namespace
}  // namespace prvdrinfo
