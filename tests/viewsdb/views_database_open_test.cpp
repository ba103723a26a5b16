#include "prvdrinfo/viewsdb/views_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "services/internal/mutex_service.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"
#include "support/error_capture.h"
#include "support/host_seams.h"
#include "support/temp_dir.h"
#include "viewsdb/views_database_test_support.h"
#include "viewsdb/views_db_internal.h"

namespace prvdrinfo::views_db {
namespace {

using prvdrinfo::testing::ErrorOf;
using test::One;
using test::Strings;

class ViewsDatabaseOpen : public test::ViewsDbTest {};

TEST_F(ViewsDatabaseOpen, TheFileLivesInTheDataFolderUnderItsFixedName) {
  EXPECT_EQ(ViewsDatabasePath(), folder_.Path() + "68m@9d4{6)']]68m4s^$af.4db");
}

TEST_F(ViewsDatabaseOpen, AMissingFileIsCreatedWithEveryTableColumnAndIndex) {
  ASSERT_FALSE(std::filesystem::exists(ViewsDatabasePath()));
  auto connection = OpenViewsDatabase();
  ASSERT_TRUE(connection);
  EXPECT_TRUE(std::filesystem::exists(ViewsDatabasePath()));
  EXPECT_EQ(connection->DatabaseName(), ViewsDatabasePath());
  EXPECT_EQ(internal::ProcessActivity().filesCreated, 1);
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);

  EXPECT_EQ(
      Strings(*connection, "SELECT name FROM pragma_table_info('views')"),
      (std::vector<std::string>{"rec_id", "rec_guid", "hidden", "updates", "modified", "created",
                                "provider_guid", "private_to_guid", "caption", "caption_sort",
                                "propertybag_content", "standard_view", "notification_view"}));
  EXPECT_EQ(Strings(*connection, "SELECT name FROM pragma_table_info('providers_filters')"),
            (std::vector<std::string>{"rec_id", "rec_guid", "hidden", "updates", "modified",
                                      "created", "record_status", "provider_guid", "caption",
                                      "caption_sort", "propertybag_content"}));
  // Defaults of the views' own columns, as a row that names none of them shows.
  connection->Execute("INSERT INTO views (rec_guid) VALUES ('G1')");
  EXPECT_EQ(
      Strings(
          *connection,
          "SELECT provider_guid || '|' || private_to_guid || '|' || caption || '|' || caption_sort || '|' || "
          "hex(propertybag_content) || '|' || standard_view || '|' || notification_view FROM views"),
      std::vector<std::string>{"||New View|New View||0|0"});
  connection->Execute("INSERT INTO providers_filters (rec_guid) VALUES ('F1')");
  EXPECT_EQ(
      One(*connection,
          "SELECT IFNULL(provider_guid, '<null>') || '|' || caption || '|' || caption_sort FROM "
          "providers_filters"),
      "<null>|New Filter|New Filter");

  struct Index {
    const char* name;
    bool unique;
    const char* columns;
  };
  for (const Index& index :
       std::initializer_list<Index>{{"idx_views_provider_guid", false, "provider_guid"},
                                    {"idx_views_provider_caption", false, "caption"},
                                    {"idx_views_provider_captionsort", false, "caption_sort"},
                                    {"idx_views_provider_privatetoguid", false, "private_to_guid"},
                                    {"uidx_views", true, "provider_guid,private_to_guid,caption"},
                                    {"idx_provider_guid", false, "provider_guid"},
                                    {"idx_private_to_guid", false, "private_to_guid"},
                                    {"idx_caption", false, "caption"},
                                    {"idx_caption_sort", false, "caption_sort"},
                                    {"idx_filters_provider_guid", false, "provider_guid"},
                                    {"idx_filters_provider_captionsort", false, "caption_sort"},
                                    {"uidx_filters", true, "provider_guid,caption"}}) {
    EXPECT_EQ(One(*connection,
                  std::string("SELECT \"unique\" FROM pragma_index_list((SELECT tbl_name FROM "
                              "sqlite_master WHERE name='") +
                      index.name + "')) WHERE name='" + index.name + "'"),
              index.unique ? "1" : "0")
        << index.name;
    EXPECT_EQ(One(*connection,
                  std::string(
                      "SELECT group_concat(name, ',') FROM (SELECT name FROM pragma_index_info('") +
                      index.name + "') ORDER BY seqno)"),
              index.columns)
        << index.name;
  }
}

TEST_F(ViewsDatabaseOpen, ANewFileGetsVersionsPropertiesAndTheDeletionLog) {
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(
      Strings(*connection, "SELECT table_name || '=' || version FROM versions ORDER BY table_name"),
      (std::vector<std::string>{"providers_filters=1", "views=1"}));
  EXPECT_EQ(One(*connection, "SELECT typeof(version) FROM versions LIMIT 1"), "integer");
  EXPECT_EQ(Strings(*connection, "SELECT name FROM pragma_table_info('properties')"),
            (std::vector<std::string>{"key", "value"}));
  EXPECT_TRUE(SqlService::TableExists(*connection, CDbFactory::kDeletionLogTable));

  // Deleting from either table logs the GUID under the table's name.
  connection->Execute("INSERT INTO views (rec_guid, caption) VALUES ('V1', 'a')");
  connection->Execute("INSERT INTO providers_filters (rec_guid, caption) VALUES ('F1', 'b')");
  connection->Execute("DELETE FROM views");
  connection->Execute("DELETE FROM providers_filters");
  EXPECT_EQ(
      Strings(
          *connection,
          "SELECT rec_guid || '@' || table_name FROM CX1IVUUEQIHUW8W2DIJVS3B9O ORDER BY updates"),
      (std::vector<std::string>{"V1@views", "F1@providers_filters"}));
}

TEST_F(ViewsDatabaseOpen, TheFileKeepsAWriteAheadLog) {
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(One(*connection, "PRAGMA journal_mode"), "wal");
  auto plain = Connection::Open(ViewsDatabasePath());
  EXPECT_EQ(One(*plain, "PRAGMA journal_mode"), "wal");
}

TEST_F(ViewsDatabaseOpen, ALogLeftBehindByAFileThatIsGoneDoesNotReachTheNewFile) {
  const std::string path = ViewsDatabasePath();
  {
    // Another database of the same name, its last writes still in its log.
    auto other = Connection::Open(path);
    other->Execute(
        "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; CREATE TABLE views (x); "
        "CREATE TABLE stranger (y); INSERT INTO stranger VALUES (1)");
    std::filesystem::copy_file(path + "-wal", folder_.File("saved-wal"));
  }
  std::filesystem::remove(path);
  std::filesystem::copy_file(folder_.File("saved-wal"), path + "-wal");
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(One(*connection, "PRAGMA integrity_check"), "ok");
  EXPECT_FALSE(SqlService::TableExists(*connection, "stranger"));
  EXPECT_TRUE(SqlService::TableExists(*connection, "versions"));
}

TEST_F(ViewsDatabaseOpen, EveryConnectionKnowsSmartSort) {
  OpenViewsDatabase();
  for (int round = 0; round < 2; ++round) {
    auto connection = OpenViewsDatabase();
    for (const char* caption : {"view 10", "View 2", "view 1"}) {
      connection->Execute(
          std::string(
              "INSERT INTO views (rec_guid, caption) VALUES (lower(hex(randomblob(16))), '") +
          caption + "')");
    }
    EXPECT_EQ(
        Strings(*connection, "SELECT caption FROM views ORDER BY caption COLLATE SMARTSORT ASC"),
        (std::vector<std::string>{"view 1", "View 2", "view 10"}));
    connection->Execute("DELETE FROM views");
  }
}

TEST_F(ViewsDatabaseOpen, LaterOpensNeitherCreateNorRepairAgain) {
  auto first = OpenViewsDatabase();
  first->Execute("INSERT INTO views (rec_guid, caption) VALUES ('V1', 'kept')");
  first.reset();
  for (int round = 0; round < 3; ++round) {
    auto connection = OpenViewsDatabase();
    EXPECT_EQ(One(*connection, "SELECT caption FROM views"), "kept");
  }
  EXPECT_EQ(internal::ProcessActivity().filesCreated, 1);
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);
  EXPECT_TRUE(internal::Mutexes().Exists(kFixedMutex));
}

TEST_F(ViewsDatabaseOpen, EachOpenGivesANewConnectionOutsideAnyTransaction) {
  auto one = OpenViewsDatabase();
  auto two = OpenViewsDatabase();
  EXPECT_NE(one.get(), two.get());
  EXPECT_FALSE(one->InTransaction());
  EXPECT_FALSE(two->InTransaction());
  // The first open's repair is committed: another connection sees it.
  auto plain = Connection::Open(ViewsDatabasePath());
  EXPECT_TRUE(SqlService::TableExists(*plain, "versions"));
}

TEST_F(ViewsDatabaseOpen, NoMutexIsLeftHeldButTheFixedOne) {
  OpenViewsDatabase();
  const MutexService mutexes = internal::Mutexes();
  for (const char* name : {kCreatingMutex, kFixingMutex, kAnalyzeCheckMutex, kAnalyzeRunMutex,
                           kVacuumCheckMutex, kVacuumRunMutex}) {
    EXPECT_FALSE(mutexes.Exists(name)) << name;
  }
  EXPECT_TRUE(mutexes.Exists(kFixedMutex));
}

TEST_F(ViewsDatabaseOpen, AFileThatIsNoDatabaseCannotBeOpened) {
  std::ofstream(ViewsDatabasePath()) << "this is not a database, only text that fills a page or so";
  const CError error = ErrorOf([] { OpenViewsDatabase(); });
  EXPECT_EQ(error.Number(), -2147221504);
  EXPECT_EQ(error.Description(), "Can not open views database. Error: file is not a database");
}

TEST_F(ViewsDatabaseOpen, AFolderThatCannotHoldTheFileCannotCreateIt) {
  // A folder in the file's place: it exists, but not as a file.
  std::filesystem::create_directory(ViewsDatabasePath());
  const CError error = ErrorOf([] { OpenViewsDatabase(); });
  EXPECT_EQ(error.Number(), -2147221504);
  EXPECT_EQ(error.Description(), "Could not create or open views database.");
  EXPECT_NE(error.Context().find("File already exists"), std::string::npos) << error.Context();
}

}  // namespace
}  // namespace prvdrinfo::views_db
