#include "prvdrinfo/db/db_factory.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

// A definition shaped like the views database's.
CDbFactory ViewsDefinition() {
  CDbFactory factory;
  auto views = factory.AddTable("views", true, true, true, true, true);
  views->AddColumn("provider_guid", 8, 5, "");
  views->AddColumn("private_to_guid", 8, 5, "");
  views->AddColumn("caption", 8, 5, "New View");
  views->AddColumn("caption_sort", 8, 5, "New View");
  views->AddColumn("propertybag_content", 8209, 0, "");
  views->AddColumn("standard_view", 11, 5, "0");
  views->AddColumn("notification_view", 11, 5, "0");
  views->AddIndex("idx_views_provider_guid", false, {"provider_guid"});
  views->AddIndex("uidx_views", true, {"provider_guid", "private_to_guid", "caption"});
  auto filters = factory.AddTable("providers_filters", true, true, true, true, true, true);
  filters->AddColumn("provider_guid", 8, 0, "");
  filters->AddColumn("caption", 8, 5, "New Filter");
  filters->AddIndex("uidx_filters", true, {"provider_guid", "caption"});
  return factory;
}

std::string Columns(Connection& db, const std::string& table) {
  std::string out;
  auto rs = db.OpenRecordset("SELECT name, type FROM pragma_table_info('" +
                             SqlService::EscapeLiteral(table) + "')");
  for (; !rs->Eof(); rs->MoveNext())
    out += rs->Value(0).AsText() + " " + rs->Value(1).AsText() + ", ";
  return out;
}

class DbFactoryTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string path = dir.File("views.4db");
};

TEST_F(DbFactoryTest, WritesTheDescribedTablesWithStandardColumnsFirst) {
  ViewsDefinition().CreateDatabase(path);
  auto db = SqlService::OpenDatabase(path);
  EXPECT_EQ(
      Columns(*db, "views"),
      "rec_id INTEGER, rec_guid TEXT, hidden INTEGER, updates INTEGER, modified TEXT, created TEXT, "
      "provider_guid TEXT, private_to_guid TEXT, caption TEXT, caption_sort TEXT, "
      "propertybag_content BLOB, standard_view INTEGER, notification_view INTEGER, ");
  EXPECT_EQ(
      Columns(*db, "providers_filters"),
      "rec_id INTEGER, rec_guid TEXT, hidden INTEGER, updates INTEGER, modified TEXT, created TEXT, "
      "record_status INTEGER, provider_guid TEXT, caption TEXT, ");
  auto indexes = db->OpenRecordset(
      "SELECT name FROM sqlite_master WHERE type='index' AND name NOT LIKE 'sqlite_%' ORDER BY name");
  std::string names;
  for (; !indexes->Eof(); indexes->MoveNext()) names += indexes->Value(0).AsText() + " ";
  EXPECT_EQ(
      names,
      "idx_providers_filters_updates idx_views_provider_guid idx_views_updates uidx_filters uidx_views ");
  // Nothing is left beside the file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(DbFactoryTest, DefaultsGuidsAndTimesFillARowGivenOnlyItsKeyFields) {
  ViewsDefinition().CreateDatabase(path);
  auto db = SqlService::OpenDatabase(path);
  db->Execute("INSERT INTO views (provider_guid) VALUES ('P')");
  db->Execute("INSERT INTO views (rec_guid, provider_guid, caption) VALUES ('', 'P', 'Mine')");
  auto rs = db->OpenRecordset("SELECT * FROM views ORDER BY rec_id");
  ASSERT_EQ(rs->RecordCount(), 2);
  for (int row = 0; row < 2; ++row, rs->MoveNext()) {
    // The first field is a positive row key.
    EXPECT_GT(rs->Value(0).AsLong(), 0);
    const std::string guid = rs->Value("rec_guid").AsText();
    EXPECT_EQ(guid.size(), 32u) << guid;
    EXPECT_EQ(guid.find_first_not_of("0123456789ABCDEF"), std::string::npos) << guid;
    EXPECT_EQ(rs->Value("private_to_guid"), Variant(""));
    EXPECT_EQ(rs->Value("standard_view"), Variant(int32_t{0}));
    EXPECT_EQ(rs->Value("updates"), Variant(int32_t{0}));
    EXPECT_TRUE(rs->Value("propertybag_content").IsNull());
    EXPECT_EQ(rs->Value("created").AsText().size(), 20u);
  }
  rs->MoveFirst();
  EXPECT_EQ(rs->Value("caption"), Variant("New View"));
}

TEST_F(DbFactoryTest, WritesReplaceByGuidAndUniqueIndexesHold) {
  ViewsDefinition().CreateDatabase(path);
  auto db = SqlService::OpenDatabase(path);
  const std::vector<std::string> columns = {"rec_guid", "provider_guid", "caption"};
  db->Execute(
      SqlService::InsertStatement("views", columns, {Variant("G1"), Variant("P"), Variant("A")}));
  db->Execute(
      SqlService::InsertStatement("views", columns, {Variant("G1"), Variant("P"), Variant("B")}));
  auto rs = db->OpenRecordset("SELECT caption FROM views");
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Value(0), Variant("B"));
  const CError e = testing::ErrorOf([&] {
    db->Execute("INSERT INTO views (rec_guid, provider_guid, caption) VALUES ('G2', 'P', 'B')");
  });
  EXPECT_EQ(e.Description(),
            "UNIQUE constraint failed: views.provider_guid, views.private_to_guid, views.caption");
}

TEST_F(DbFactoryTest, AnUpdateSetsTheModifiedTime) {
  ViewsDefinition().CreateDatabase(path);
  auto db = SqlService::OpenDatabase(path);
  db->Execute("INSERT INTO views (rec_guid, caption) VALUES ('G', 'a')");
  db->Execute("UPDATE views SET modified='earlier'");
  auto rs = db->OpenRecordset("SELECT modified FROM views");
  EXPECT_EQ(rs->Value(0), Variant("earlier"));
  db->Execute("UPDATE views SET caption='b'");
  rs = db->OpenRecordset("SELECT modified, modified >= created FROM views");
  EXPECT_EQ(rs->Value(0).AsText().size(), 20u);
  EXPECT_EQ(rs->Value(1), Variant(int32_t{1}));
}

TEST_F(DbFactoryTest, NeverWritesOverAFileAndLeavesNothingWhenItFails) {
  std::ofstream(path) << "precious";
  EXPECT_EQ(testing::ErrorOf([&] { ViewsDefinition().CreateDatabase(path); }).Number(), 58);
  std::ifstream in(path);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "precious");

  // A definition SQLite refuses: an index name used by two tables.
  CDbFactory clash;
  clash.AddTable("a", true, false, false, false, false)->AddIndex("same", false, {"rec_guid"});
  clash.AddTable("b", true, false, false, false, false)->AddIndex("same", false, {"rec_guid"});
  const std::string other = dir.File("clash.db");
  EXPECT_EQ(testing::ErrorOf([&] { clash.CreateDatabase(other); }).Description(),
            "index same already exists");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(DbFactoryTest, OfProcessesCreatingAtOnceExactlyOneWritesTheFile) {
  constexpr int kProcesses = 4;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
      int status = 2;
      try {
        ViewsDefinition().CreateDatabase(path);
        status = 0;
      } catch (const CError& e) {
        status = e.Number() == 58 ? 1 : 2;
      } catch (...) {
      }
      _exit(status);
    }
    children.push_back(pid);
  }
  int created = 0;
  int refused = 0;
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    created += WEXITSTATUS(status) == 0;
    refused += WEXITSTATUS(status) == 1;
  }
  EXPECT_EQ(created, 1);
  EXPECT_EQ(refused, kProcesses - 1);
  EXPECT_TRUE(SqlService::TableExists(*SqlService::OpenDatabase(path), "providers_filters"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(DbFactoryDefinition, BadDefinitionsAreRefused) {
  CDbFactory factory;
  auto table = factory.AddTable("t", true, false, true, false, false);
  struct Case {
    const char* what;
    std::function<void()> body;
  } cases[] = {
      {"duplicate table in other case",
       [&] { factory.AddTable("T", false, false, false, false, false); }},
      {"column named like a standard one", [&] { table->AddColumn("REC_GUID", 8); }},
      {"column named like the row key", [&] { table->AddColumn("rec_id", 3); }},
      {"unknown type code", [&] { table->AddColumn("x", 12); }},
      {"unknown flag", [&] { table->AddColumn("x", 8, 8); }},
      {"index on a missing column", [&] { table->AddIndex("i", false, {"nope"}); }},
      {"index without columns", [&] { table->AddIndex("i", false, {}); }},
      {"index on an option left off", [&] { table->AddIndex("i", false, {"hidden"}); }},
  };
  for (const auto& c : cases)
    EXPECT_EQ(testing::ErrorOf(c.body).Number(), err::kInvalidProcedureCall) << c.what;
  EXPECT_EQ(testing::ErrorOf([] { CDbFactory().SqlCreateDatabase(); }).Number(),
            err::kInvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([] {
              CDbFactory().AddTable(std::string("a\0b", 3), true, true, true, true, true);
            }).Number(),
            err::kInvalidProcedureCall);
}

TEST(DbFactoryDefinition, AwkwardNamesAndDefaultsAreQuoted) {
  CDbFactory factory;
  auto table = factory.AddTable("we\"ird 'name", true, true, true, true, true, true);
  table->AddColumn("col\"umn", 8, 5, "it's; DROP TABLE x");
  table->AddColumn("amount", 5, 5, "-1.5e3");
  table->AddColumn("count", 3, 4, "not a number");
  table->AddColumn("data", 8209, 4, "");
  table->AddIndex("idx \"q\"", true, {"col\"umn", "amount"});
  auto db = Connection::CreateMemory();
  db->Execute(factory.SqlCreateDatabase());
  db->Execute("INSERT INTO \"we\"\"ird 'name\" (hidden) VALUES (1)");
  auto rs =
      db->OpenRecordset("SELECT \"col\"\"umn\", amount, count, data FROM \"we\"\"ird 'name\"");
  EXPECT_EQ(rs->Value(0), Variant("it's; DROP TABLE x"));
  EXPECT_EQ(rs->Value(1), Variant(-1500.0));
  EXPECT_EQ(rs->Value(2), Variant("not a number"));
  EXPECT_EQ(rs->Value(3), Variant(Bytes{}));
}

class DeletionLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ViewsDefinition().CreateDatabase(path);
    db = SqlService::OpenDatabase(path);
    db->Execute(CDbFactory::SqlDeletionLog(*db, "views"));
    db->Execute(CDbFactory::SqlDeletionLog(*db, "PROVIDERS_FILTERS"));
    db->Execute(
        "INSERT INTO views (rec_guid, caption) VALUES ('V1', 'a'), ('V2', 'b'), ('V3', 'c');"
        "INSERT INTO providers_filters (rec_guid, caption) VALUES ('F1', 'f')");
  }
  // The log as "guid/table/counter;" in counter order.
  std::string Log() {
    std::string out;
    auto rs = db->OpenRecordset(
        "SELECT rec_guid, table_name, updates FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\" ORDER BY updates");
    for (; !rs->Eof(); rs->MoveNext()) {
      out +=
          rs->Value(0).AsText() + "/" + rs->Value(1).AsText() + "/" + rs->Value(2).ToText() + ";";
    }
    return out;
  }
  test::TempDir dir;
  std::string path = dir.File("views.4db");
  std::shared_ptr<Connection> db;
};

TEST_F(DeletionLogTest, EveryDeletedRowIsLoggedWithARisingCounter) {
  db->Execute("DELETE FROM views WHERE rec_guid IN ('V1', 'V3')");
  db->Execute("DELETE FROM providers_filters");
  EXPECT_EQ(Log(), "V1/views/1;V3/views/2;F1/providers_filters/3;");

  // A GUID deleted again moves up; one row per GUID and table.
  db->Execute("INSERT INTO views (rec_guid, caption) VALUES ('V1', 'a2')");
  db->Execute("DELETE FROM views WHERE rec_guid='V1'");
  EXPECT_EQ(Log(), "V3/views/2;F1/providers_filters/3;V1/views/4;");

  // After the log is emptied the counter still goes on from where it was.
  db->Execute("DELETE FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\" WHERE table_name='views'");
  db->Execute("DELETE FROM views WHERE rec_guid='V2'");
  EXPECT_EQ(Log(), "F1/providers_filters/3;V2/views/5;");

  // A replacing write is no deletion.
  db->Execute(SqlService::InsertStatement("providers_filters", {"rec_guid", "caption"},
                                          {Variant("F1"), Variant("g")}));
  db->Execute(SqlService::InsertStatement("providers_filters", {"rec_guid", "caption"},
                                          {Variant("F1"), Variant("h")}));
  EXPECT_EQ(Log(), "F1/providers_filters/3;V2/views/5;");
}

TEST_F(DeletionLogTest, GeneratingAgainReplacesTheTriggerAndKeepsTheLog) {
  db->Execute("DELETE FROM views WHERE rec_guid='V1'");
  db->Execute(CDbFactory::SqlDeletionLog(*db, "views"));
  db->Execute("DELETE FROM views WHERE rec_guid='V2'");
  EXPECT_EQ(Log(), "V1/views/1;V2/views/2;");
  auto triggers = db->OpenRecordset(
      "SELECT count(*) FROM sqlite_master WHERE type='trigger' AND tbl_name='views' AND name LIKE '%CX1IVUUEQIHUW8W2DIJVS3B9O'");
  EXPECT_EQ(triggers->Value(0), Variant(int32_t{1}));
}

TEST_F(DeletionLogTest, ProviderTableTriggersThatNameOnlyTheGuidFitTheLog) {
  db->Execute(
      "CREATE TABLE \"Tasks\" (\"rec_guid\" TEXT NOT NULL DEFAULT '', PRIMARY KEY(\"rec_guid\"))");
  db->Execute(
      "CREATE TRIGGER IF NOT EXISTS  \"trigger_Tasks_CX1IVUUEQIHUW8W2DIJVS3B9O\" AFTER DELETE ON \"Tasks\" BEGIN "
      "INSERT OR REPLACE INTO \"CX1IVUUEQIHUW8W2DIJVS3B9O\" (\"rec_guid\") VALUES (old.\"rec_guid\"); END");
  db->Execute("INSERT INTO Tasks VALUES ('T1')");
  db->Execute("DELETE FROM Tasks");
  EXPECT_EQ(Log(), "T1//1;");
}

TEST_F(DeletionLogTest, AwkwardTableNamesAreQuotedAndRecordedAsTheSchemaHasThem) {
  db->Execute("CREATE TABLE \"it's \"\"odd\"\"\" (rec_guid TEXT)");
  db->Execute(CDbFactory::SqlDeletionLog(*db, "IT'S \"ODD\""));
  db->Execute("INSERT INTO \"it's \"\"odd\"\"\" VALUES ('X')");
  db->Execute("DELETE FROM \"it's \"\"odd\"\"\"");
  EXPECT_EQ(Log(), "X/it's \"odd\"/1;");
}

TEST_F(DeletionLogTest, TablesThatCannotBeLoggedAreRefused) {
  db->Execute("CREATE TABLE plain (id INTEGER)");
  for (const char* table : {"missing", "plain", "cx1ivuueqihuw8w2dijvs3b9o", ""}) {
    EXPECT_EQ(testing::ErrorOf([&] { CDbFactory::SqlDeletionLog(*db, table); }).Number(),
              err::kInvalidProcedureCall)
        << table;
  }
  auto other = Connection::CreateMemory();
  other->Execute(
      "CREATE TABLE t (rec_guid TEXT); CREATE TABLE \"CX1IVUUEQIHUW8W2DIJVS3B9O\" (rec_guid TEXT)");
  EXPECT_EQ(testing::ErrorOf([&] { CDbFactory::SqlDeletionLog(*other, "t"); }).Description(),
            "The deletion log has no column table_name.");
}

}  // namespace
}  // namespace prvdrinfo
