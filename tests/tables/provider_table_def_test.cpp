#include "prvdrinfo/tables/provider_table_def.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "prvdrinfo/columns/column_def_computed.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

std::shared_ptr<CColumnDefStored> StoredColumn(const std::string& name, e_VeskDataType type) {
  auto column = std::make_shared<CColumnDefStored>();
  column->SetGuid(name);
  column->SetIdentifier(name);
  column->SetVeskDatatype(type);
  return column;
}

// The Tasks table: the standard columns plus Title (text, required) and Due (date).
std::shared_ptr<CProviderTableDef> TasksTable(const std::string& name = "Tasks") {
  auto table = CProviderTableDefFctry().CreateProviderTableDef();
  table->SetTableName(name);
  auto title = StoredColumn("Title", datatype_String);
  table->Columns()->ProviderSpecific()->AddExisting(title);
  table->Columns()->Required()->AddExisting(title);
  table->Columns()->ProviderSpecific()->AddExisting(StoredColumn("Due", datatype_DateUtc));
  return table;
}

TEST(ProviderTableDef, WorkedExampleComesOutExactly) {
  const std::string expected =
      "CREATE TABLE IF NOT EXISTS \"Tasks\"( \"rec_guid\" TEXT NOT NULL DEFAULT '',  \"hidden\" INTEGER NOT NULL "
      "DEFAULT '',  \"updates\" INTEGER NOT NULL DEFAULT '',  \"modified\" TEXT NOT NULL DEFAULT '',  \"created\" "
      "TEXT NOT NULL DEFAULT '',  \"Title\" TEXT NOT NULL,  \"Due\" REAL, PRIMARY KEY(\"rec_guid\") );\r\n"
      "CREATE INDEX IF NOT EXISTS \"idx_Tasks_updates\" ON \"Tasks\" (\"updates\" ASC);\r\n"
      "CREATE TRIGGER IF NOT EXISTS \"trigger_Tasks_rec_guid\" AFTER INSERT ON \"Tasks\" BEGIN UPDATE \"Tasks\" SET "
      "\"rec_guid\"=hex(randomblob(16)) WHERE rowid=new.rowid AND length(\"rec_guid\")=0; END;\r\n"
      "CREATE TRIGGER IF NOT EXISTS  \"trigger_Tasks_created\" AFTER INSERT ON \"Tasks\" BEGIN UPDATE \"Tasks\" SET "
      "\"created\"=strftime('%Y-%m-%dT%H:%M:%SZ', datetime('now')) WHERE rowid=new.rowid ; END;\r\n"
      "CREATE TRIGGER IF NOT EXISTS  \"trigger_Tasks_modified\" AFTER UPDATE ON \"Tasks\" BEGIN UPDATE \"Tasks\" SET "
      "\"modified\"=strftime('%Y-%m-%dT%H:%M:%SZ', datetime('now')), \"updates\"=(SELECT IFNULL(MAX(\"updates\"),0)+1 "
      "FROM \"Tasks\") WHERE rowid=new.rowid; END;\r\n"
      "CREATE TRIGGER IF NOT EXISTS  \"trigger_Tasks_updates\" AFTER INSERT ON \"Tasks\" BEGIN UPDATE \"Tasks\" SET "
      "\"updates\"=(SELECT IFNULL(MAX(\"updates\"),0)+1 FROM \"Tasks\") WHERE rowid=new.rowid; END;\r\n"
      "CREATE TRIGGER IF NOT EXISTS  \"trigger_Tasks_CX1IVUUEQIHUW8W2DIJVS3B9O\" AFTER DELETE ON \"Tasks\" BEGIN "
      "INSERT OR REPLACE INTO \"CX1IVUUEQIHUW8W2DIJVS3B9O\" (\"rec_guid\") VALUES (old.\"rec_guid\"); END";
  const auto table = TasksTable();
  EXPECT_EQ(table->SqlCreateTable(), expected);
  EXPECT_EQ(table->SqlCreateTable(),
            table->SqlCreateTableNoTriggers() + ";\r\n" + table->SqlCreateTriggers());
}

// The statements must do their work on a real database, not only read right.
TEST(ProviderTableDef, StatementsMaintainTheStandardColumns) {
  test::TempDir folder;
  auto db = Connection::Open(folder.File("project.db"));
  const auto table = TasksTable();
  db->Execute(table->SqlCreateTable());
  db->Execute(CDbFactory::SqlDeletionLog(*db, "Tasks"));
  db->Execute(table->SqlCreateTriggers());  // the provider's own delete trigger again

  // The triggers fire one another (an insert's own updates run the update trigger), so
  // the counter may rise by more than one per change; what holds is that every insert and
  // update leaves the changed row with the table's highest counter.
  auto counterOf = [&](const std::string& where) {
    return db->OpenRecordset("SELECT updates FROM \"Tasks\" WHERE " + where)
        ->Value("updates")
        .ToLong();
  };
  auto highest = [&] {
    return db->OpenRecordset("SELECT MAX(updates) AS m FROM \"Tasks\"")->Value("m").ToLong();
  };
  db->Execute("INSERT INTO \"Tasks\" (\"Title\") VALUES ('first')");
  const int32_t afterFirst = counterOf("\"Title\"='first'");
  EXPECT_GE(afterFirst, 1);
  db->Execute("INSERT INTO \"Tasks\" (\"Title\", \"rec_guid\") VALUES ('second', 'MY-GUID')");
  const int32_t afterSecond = counterOf("\"Title\"='second'");
  EXPECT_GT(afterSecond, afterFirst);

  auto rows = db->OpenRecordset("SELECT rec_guid, created FROM \"Tasks\" ORDER BY rowid");
  const std::string firstGuid = rows->Value("rec_guid").AsText();
  EXPECT_TRUE(std::regex_match(firstGuid, std::regex("[0-9A-F]{32}"))) << firstGuid;
  const std::regex utcTime("\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}Z");
  EXPECT_TRUE(std::regex_match(rows->Value("created").AsText(), utcTime));
  rows->MoveNext();
  EXPECT_EQ(rows->Value("rec_guid").AsText(), "MY-GUID");

  db->Execute("UPDATE \"Tasks\" SET \"Title\"='first, edited' WHERE \"rec_guid\"='" + firstGuid +
              "'");
  const int32_t afterUpdate = counterOf("\"rec_guid\"='" + firstGuid + "'");
  EXPECT_GT(afterUpdate, afterSecond);
  EXPECT_EQ(afterUpdate, highest());
  rows = db->OpenRecordset("SELECT modified FROM \"Tasks\" WHERE \"rec_guid\"='" + firstGuid + "'");
  EXPECT_TRUE(std::regex_match(rows->Value("modified").AsText(), utcTime));

  db->Execute("DELETE FROM \"Tasks\" WHERE \"rec_guid\"='MY-GUID'");
  rows = db->OpenRecordset("SELECT rec_guid FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\"");
  ASSERT_FALSE(rows->Eof());
  EXPECT_EQ(rows->Value("rec_guid").AsText(), "MY-GUID");
}

TEST(ProviderTableDef, ComposedNamesAreQuotedForAnyTableName) {
  const std::string name = "Odd \"name\"; DROP TABLE x; --";
  const auto table = TasksTable(name);
  const std::string sql = table->SqlCreateTable();
  EXPECT_NE(sql.find("\"idx_Odd \"\"name\"\"; DROP TABLE x; --_updates\""), std::string::npos);
  EXPECT_NE(sql.find("\"trigger_Odd \"\"name\"\"; DROP TABLE x; --_rec_guid\""), std::string::npos);

  auto db = Connection::CreateMemory();
  db->Execute("CREATE TABLE x (a)");
  db->Execute(sql);
  auto rows = db->OpenRecordset("SELECT count(*) AS n FROM sqlite_master WHERE type='trigger'");
  EXPECT_EQ(rows->Value("n").ToLong(), 5);
  rows = db->OpenRecordset("SELECT count(*) AS n FROM sqlite_master WHERE name='x'");
  EXPECT_EQ(rows->Value("n").ToLong(), 1);
}

TEST(ProviderTableDef, ColumnClauses) {
  auto table = TasksTable();
  // A provider column named rowid in any case stays out of CREATE TABLE.
  table->Columns()->ProviderSpecific()->AddExisting(StoredColumn("RowId", datatype_Integer));
  // Computed columns are no table columns.
  auto computed = std::make_shared<CColumnDefComputed>();
  computed->SetGuid("Late");
  table->Columns()->ProviderSpecific()->AddExisting(computed);
  const std::string sql = table->SqlCreateTableNoTriggers();
  EXPECT_EQ(sql.find("RowId"), std::string::npos);
  EXPECT_EQ(sql.find("Late"), std::string::npos);
  EXPECT_EQ(sql.find("UNIQUE"), std::string::npos);
  EXPECT_NE(sql.find("\"Title\" TEXT NOT NULL, "), std::string::npos);

  // A unique index without columns adds nothing; one with columns adds its clause.
  table->Indexes()->Unique()->Add("{EMPTY}");
  EXPECT_EQ(table->SqlCreateTableNoTriggers().find("UNIQUE"), std::string::npos);
  auto titleDue = table->Indexes()->Unique()->Add("{TITLE-DUE}");
  titleDue->Columns()->AddExisting(table->Columns()->ProviderSpecific()->Item("Title"));
  titleDue->Columns()->AddExisting(table->Columns()->ProviderSpecific()->Item("Due"));
  EXPECT_NE(table->SqlCreateTableNoTriggers().find(
                "PRIMARY KEY(\"rec_guid\") , UNIQUE(\"Title\", \"Due\") )"),
            std::string::npos);

  // An empty primary key gets no clause rather than invalid SQL.
  table->Indexes()->PrimaryKey()->Columns()->RemoveAll();
  const std::string noKey = table->SqlCreateTableNoTriggers();
  EXPECT_EQ(noKey.find("PRIMARY KEY"), std::string::npos);
  Connection::CreateMemory()->Execute(noKey);
}

TEST(ProviderTableDef, Failures) {
  struct Case {
    const char* what;
    std::function<void()> action;
    int32_t number;
    std::string description;
  } cases[] = {
      {"deprecated Column",
       [] { CProviderTableDef().SetColumn(StoredColumn("x", datatype_String)); },
       err::kInvalidProcedureCall, "Deprecated. Use Columns property instead."},
      {"computed column in an index",
       [] {
         auto table = TasksTable();
         auto computed = std::make_shared<CColumnDefComputed>();
         computed->SetGuid("Late");
         table->Indexes()->Unique()->Add("{U}")->Columns()->AddExisting(computed);
         (void)table->SqlCreateTable();
       },
       err::kTypeMismatch, "Type mismatch"},
      {"column set without record GUID",
       [] {
         auto table = TasksTable();
         auto columns = std::make_shared<CProviderColDefs>();
         columns->Standard()->RemoveAll();
         table->SetColumns(columns);
         (void)table->Indexes();
       },
       err::kInvalidProcedureCall, "Invalid procedure call or argument"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CError e = ErrorOf(c.action);
    EXPECT_EQ(e.Number(), c.number);
    EXPECT_EQ(e.Description(), c.description);
  }
}

TEST(ProviderTableDef, NoStoredColumnIsAnObjectError) {
  auto table = CProviderTableDefFctry().CreateProviderTableDef();
  table->SetTableName("T");
  // Keep the record GUID column for the primary key, but make it computed-only otherwise.
  auto columns = table->Columns();
  (void)table->Indexes();
  for (const auto& guid : {"rec_guid", "hidden", "updates", "modified", "created"}) {
    columns->Standard()->Remove(guid);
  }
  columns->ProviderSpecific()->AddExisting(StoredColumn("rowid", datatype_Integer));
  const CError e = ErrorOf([&] { (void)table->SqlCreateTable(); });
  EXPECT_EQ(e.Number(), err::kObjectErrorBase);
  EXPECT_EQ(e.Description(), "Invalid Table Definition - No Stored Columns for CREATE TABLE.");
}

TEST(ProviderTableDef, ReplacingColumnsDiscardsTheIndexes) {
  auto table = TasksTable();
  table->Indexes()->Unique()->Add("{U}");
  table->Indexes()->PrimaryKey()->Columns()->AddExisting(
      table->Columns()->ProviderSpecific()->Item("Title"));
  auto fresh = std::make_shared<CProviderColDefs>();
  table->SetColumns(fresh);
  const auto primaryKey = table->Indexes()->PrimaryKey()->Columns();
  ASSERT_EQ(primaryKey->Count(), 1);
  EXPECT_EQ(primaryKey->ItemByIndex(0), fresh->Standard()->Item("rec_guid"));
  EXPECT_EQ(table->Indexes()->Unique()->Count(), 0);
}

TEST(ProviderTableDef, RoundTripKeepsTheStatements) {
  auto table = TasksTable();
  auto unique = table->Indexes()->Unique()->Add("{TITLE}");
  unique->Columns()->AddExisting(table->Columns()->ProviderSpecific()->Item("Title"));
  const Bytes bytes = table->Serialize();
  auto loaded = std::make_shared<CProviderTableDef>();
  loaded->Deserialize(bytes);
  EXPECT_EQ(loaded->TableName(), "Tasks");
  EXPECT_EQ(loaded->SqlCreateTable(), table->SqlCreateTable());
  EXPECT_EQ(loaded->Serialize(), bytes);
}

struct RecordingSink : CProviderTableDefEvents {
  std::vector<bool> calls;
  void InitTableRequested(bool p_SkipColumns) override { calls.push_back(p_SkipColumns); }
};

TEST(ProviderTableDef, InitTableRequestedReachesEverySink) {
  CProviderTableDef table;
  auto first = std::make_shared<RecordingSink>();
  auto second = std::make_shared<RecordingSink>();
  table.Advise(first);
  const int32_t cookie = table.Advise(second);
  table.RequestInitTable(true);
  table.Unadvise(cookie);
  table.RequestInitTable(false);
  EXPECT_EQ(first->calls, (std::vector<bool>{true, false}));
  EXPECT_EQ(second->calls, (std::vector<bool>{true}));
}

}  // namespace
}  // namespace prvdrinfo
