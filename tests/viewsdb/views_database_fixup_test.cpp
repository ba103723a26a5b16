#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/internal/mutex_service.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/error_capture.h"
#include "support/old_views_db.h"
#include "support/temp_dir.h"
#include "viewsdb/views_database_test_support.h"
#include "viewsdb/views_db_internal.h"

namespace prvdrinfo::views_db {
namespace {

using prvdrinfo::test::OldViewRow;
using prvdrinfo::test::OldViewsDbLayout;
using test::Strings;

class ViewsDatabaseFixUp : public test::ViewsDbTest {
 protected:
  // The views of every old file below: one of each kind of row the pass treats apart.
  static std::vector<OldViewRow> Rows() {
    return {
        {"V1", "P1", std::nullopt, "Standard", prvdrinfo::test::StoredViewBytes("Standard", true),
         10, 0, 0},
        {"V2", "P1", "U1", "Mine", prvdrinfo::test::StoredViewBytes("Mine", false), 20, 1, 1},
        {"V3", "P1", "", "Broken", Bytes{1, 2, 3}, 30, 1, 0},
        {"V4", "P2", std::nullopt, "No bytes", Variant::Null(), 40, 0, 0},
        {"V5", "P2", "", std::nullopt, prvdrinfo::test::StoredViewBytes("x", true), 50, 0, 0},
        {"V6", "P2", "", "", prvdrinfo::test::StoredViewBytes("y", true), 60, 0, 0},
        {"V7", "P2", "", " ", prvdrinfo::test::StoredViewBytes("blank", true), 70, 0, 0},
    };
  }
};

TEST_F(ViewsDatabaseFixUp, EveryOlderLayoutIsBroughtUpToDateRowsAndAll) {
  struct Case {
    const char* name;
    OldViewsDbLayout layout;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"oldest", {}},
           {"with standard_view", {.standardView = true}},
           {"with both flags", {.standardView = true, .notificationView = true}},
           {"with versions and properties",
            {.standardView = true, .notificationView = true, .versions = true, .properties = true}},
           {"with everything but the indexes",
            {.standardView = true,
            .notificationView = true,
            .versions = true,
            .properties = true,
            .deletionLog = true}}}) {
    SCOPED_TRACE(c.name);
    internal::ResetProcessState();
    prvdrinfo::test::WriteOldViewsDb(ViewsDatabasePath(), c.layout, Rows());

    auto connection = OpenViewsDatabase();
    EXPECT_EQ(internal::ProcessActivity().filesCreated, 0);
    EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);

    // Views without a caption are gone; Null private GUIDs are empty; a standard_view
    // column that was missing is read from the stored bytes (0 where they cannot be read),
    // one that was there is kept; likewise notification_view, which starts at 0.
    const std::string standard = c.layout.standardView ? "0,1,1,0,0" : "1,0,0,0,1";
    const std::string notification = c.layout.notificationView ? "0,1,0,0,0" : "0,0,0,0,0";
    EXPECT_EQ(
        Strings(
            *connection,
            "SELECT group_concat(rec_guid || ':' || quote(private_to_guid) || ':' || caption || ':' || "
            "updates, ' ') FROM (SELECT * FROM views ORDER BY rec_guid)"),
        std::vector<std::string>{
            "V1:'':Standard:10 V2:'U1':Mine:20 V3:'':Broken:30 V4:'':No bytes:40 V7:'': :70"});
    EXPECT_EQ(
        Strings(
            *connection,
            "SELECT group_concat(standard_view, ',') FROM (SELECT * FROM views ORDER BY rec_guid)"),
        std::vector<std::string>{standard});
    EXPECT_EQ(
        Strings(
            *connection,
            "SELECT group_concat(notification_view, ',') FROM (SELECT * FROM views ORDER BY rec_guid)"),
        std::vector<std::string>{notification});
    EXPECT_EQ(
        Strings(
            *connection,
            "SELECT group_concat(typeof(standard_view) || typeof(notification_view), ',') FROM views"),
        std::vector<std::string>{
            "integerinteger,integerinteger,integerinteger,integerinteger,integerinteger"});
    // The stored bytes are untouched.
    auto bytes =
        connection->OpenRecordset("SELECT propertybag_content FROM views WHERE rec_guid='V1'");
    EXPECT_EQ(bytes->Value(0).AsBytes(), prvdrinfo::test::StoredViewBytes("Standard", true));
    if (!c.layout.notificationView) {
      EXPECT_EQ(
          Strings(*connection,
                  "SELECT type FROM pragma_table_info('views') WHERE name='notification_view'"),
          std::vector<std::string>{"INTEGER"});
    }

    EXPECT_EQ(Strings(*connection,
                      "SELECT table_name || '=' || version FROM versions ORDER BY table_name"),
              (std::vector<std::string>{"providers_filters=1", "views=1"}));
    EXPECT_TRUE(SqlService::TableExists(*connection, "properties"));
    EXPECT_EQ(Strings(*connection, "PRAGMA journal_mode"), std::vector<std::string>{"wal"});
    EXPECT_EQ(
        Strings(*connection,
                "SELECT count(*) FROM sqlite_master WHERE type='index' AND name IN "
                "('idx_provider_guid', 'idx_private_to_guid', 'idx_caption', 'idx_caption_sort')"),
        std::vector<std::string>{"4"});

    // Deletions from both tables are logged from now on; the captionless views only where
    // the log was there before the pass.
    connection->Execute("INSERT INTO providers_filters (rec_guid, caption) VALUES ('F1', 'f')");
    connection->Execute("DELETE FROM views WHERE rec_guid='V2'");
    connection->Execute("DELETE FROM providers_filters");
    EXPECT_EQ(
        Strings(*connection,
                "SELECT group_concat(rec_guid || '@' || table_name, ' ') FROM (SELECT * FROM "
                "CX1IVUUEQIHUW8W2DIJVS3B9O ORDER BY updates)"),
        std::vector<std::string>{std::string(c.layout.deletionLog ? "V5@views V6@views " : "") +
                                 "V2@views F1@providers_filters"});
  }
}

TEST_F(ViewsDatabaseFixUp, WhatTheFileAlreadyHasIsKept) {
  prvdrinfo::test::WriteOldViewsDb(
      ViewsDatabasePath(),
      {.standardView = true, .notificationView = true, .versions = true, .properties = true},
      Rows());
  {
    auto plain = Connection::Open(ViewsDatabasePath());
    plain->Execute("UPDATE versions SET version=3 WHERE table_name='views'");
    plain->Execute("INSERT INTO properties VALUES ('mine', 'kept')");
  }
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(
      Strings(*connection, "SELECT table_name || '=' || version FROM versions ORDER BY table_name"),
      (std::vector<std::string>{"providers_filters=1", "views=3"}));
  EXPECT_EQ(GetViewsDbProperty(*connection, "mine", "gone"), "kept");
}

TEST_F(ViewsDatabaseFixUp, APassThatFailsLeavesTheFileAsItWasAndRunsAgainOnTheNextOpen) {
  // Without its filters table the deletion log cannot be set up for it.
  prvdrinfo::test::WriteOldViewsDb(ViewsDatabasePath(), {.filtersTable = false}, Rows());
  const CError error = prvdrinfo::testing::ErrorOf([] { OpenViewsDatabase(); });
  EXPECT_EQ(error.Number(), 5);
  EXPECT_EQ(error.Description(), "The database has no such table.");
  const MutexService mutexes = internal::Mutexes();
  for (const char* name : {kFixingMutex, kFixedMutex, kCreatingMutex})
    EXPECT_FALSE(mutexes.Exists(name)) << name;
  {
    auto plain = Connection::Open(ViewsDatabasePath());
    EXPECT_FALSE(SqlService::TableExists(*plain, "versions"));
    EXPECT_EQ(Strings(*plain, "SELECT count(*) FROM views"), std::vector<std::string>{"7"});
    EXPECT_FALSE(plain->InTransaction());
    plain->Execute(
        "CREATE TABLE providers_filters (rec_id INTEGER PRIMARY KEY, rec_guid TEXT NOT NULL UNIQUE, "
        "provider_guid TEXT, caption TEXT)");
  }
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(Strings(*connection, "SELECT count(*) FROM views"), std::vector<std::string>{"5"});
  EXPECT_TRUE(mutexes.Exists(kFixedMutex));
}

TEST_F(ViewsDatabaseFixUp, ThePassRunsOnceWhileTheProcessThatRanItLives) {
  OpenViewsDatabase();
  {
    auto plain = Connection::Open(ViewsDatabasePath());
    plain->Execute("DROP INDEX idx_caption");
  }
  OpenViewsDatabase();
  auto plain = Connection::Open(ViewsDatabasePath());
  EXPECT_EQ(Strings(*plain, "SELECT count(*) FROM sqlite_master WHERE name='idx_caption'"),
            std::vector<std::string>{"0"});
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);

  internal::ResetProcessState();  // as a new process would find it
  OpenViewsDatabase();
  EXPECT_EQ(Strings(*plain, "SELECT count(*) FROM sqlite_master WHERE name='idx_caption'"),
            std::vector<std::string>{"1"});
}

}  // namespace
}  // namespace prvdrinfo::views_db
