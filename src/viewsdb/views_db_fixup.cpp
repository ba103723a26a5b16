// The views database's schema: the file as CDbFactory writes it, and the fix-up pass that
// brings files of every older layout up to date and repairs rows that older code left bad.

#include <cstdlib>
#include <string>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "viewsdb/views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo::views_db::internal {

namespace {

constexpr ErrorSite kCreateSite{"TBKY0RSZ7U1ZPDBG3JLFP121S", "modViewsDb.CreateViewsDatabase"};
constexpr ErrorSite kFixUpSite{"1OGYXQZRUMQYGGTEV0S6OPM8N", "modViewsDb.FixUpViewsDatabase"};
constexpr ErrorSite kStandardViewSite{"519UJ5DDLOGR8G8RYMS5NIIZD", "modViewsDb.FillStandardView"};

constexpr int32_t kString = 8;
constexpr int32_t kBoolean = 11;
constexpr int32_t kByteArray = 8209;
constexpr int32_t kNotNullWithDefault = dbcolflag_NotNull | dbcolflag_Default;

std::string Q(std::string_view name) { return SqlService::QuoteIdentifier(name); }

void CreateVersionsTable(Connection& connection) {
  connection.Execute("CREATE TABLE " + Q(schema::kVersions) +
                     " (table_name TEXT PRIMARY KEY, version INTEGER)");
  for (const char* table : {schema::kViews, schema::kFilters}) {
    connection.Execute(SqlService::InsertStatement(schema::kVersions, {"table_name", "version"},
                                                   {Variant(table), Variant(int16_t{1})}));
  }
}

void CreatePropertiesTable(Connection& connection) {
  connection.Execute("CREATE TABLE " + Q(schema::kProperties) + " (" + Q(schema::kKey) +
                     " text primary key not null, " + Q(schema::kValue) + " text not null)");
}

// A trigger, so that deletions by every path and every process (older code's included)
// raise the mark that saves count on.
void CreateCounterMarkTrigger(Connection& connection) {
  const std::string updates = "old." + CVesk::ColumnName(veskcol_Updates, veskform_Sql);
  const std::string mark = "(SELECT CAST(" + Q(schema::kValue) + " AS INTEGER) FROM " +
                           Q(schema::kProperties) + " WHERE " + Q(schema::kKey) + "='" +
                           schema::kCounterMarkKey + "')";
  connection.Execute("CREATE TRIGGER IF NOT EXISTS " + Q(schema::kCounterMarkTrigger) +
                     " AFTER DELETE ON " + Q(schema::kViews) + " WHEN " + updates + ">IFNULL(" +
                     mark + ", 0) BEGIN INSERT OR REPLACE INTO " + Q(schema::kProperties) + " (" +
                     Q(schema::kKey) + ", " + Q(schema::kValue) + ") VALUES ('" +
                     schema::kCounterMarkKey + "', " + updates + "); END");
}

// Files written before notification views existed: every stored view is an ordinary one.
// The column is declared as new files declare it (the Boolean's INTEGER), so that old and
// new files end up with one layout.
void AddNotificationView(Connection& connection) {
  connection.Execute(
      SqlService::AddColumnStatement(schema::kViews, schema::kNotificationView, kBoolean));
  connection.Execute(SqlService::UpdateStatement(schema::kViews, {schema::kNotificationView},
                                                 {Variant(int16_t{0})}));
}

// Files written before standard_view was a column: the flag is read from each stored view.
void AddStandardView(Connection& connection) {
  connection.Execute("ALTER TABLE " + Q(schema::kViews) + " ADD COLUMN " +
                     Q(schema::kStandardView) + " INTEGER");
  const auto rows = connection.OpenRecordset("SELECT rowid, " + Q(schema::kPropertyBagContent) +
                                             " FROM " + Q(schema::kViews));
  const auto update = connection.CreateCommand("UPDATE " + Q(schema::kViews) + " SET " +
                                               Q(schema::kStandardView) + "=?1 WHERE rowid=?2");
  for (; !rows->Eof(); rows->MoveNext()) {
    update->SetLong(1, StoredStandardView(rows->Value(1)));
    update->SetInt64(2, rows->Int64(0));
    update->Execute();
  }
}

// Files written before caption_sort was read for order, by code whose keys may differ from
// SmartSortKey: every key that is not the caption's is made again, once per file.
void RemakeSortKeys(Connection& connection) {
  const std::string mark = "SELECT " + Q(schema::kValue) + " FROM " + Q(schema::kProperties) +
                           " WHERE " + Q(schema::kKey) + "='" + schema::kSortKeysMarkKey + "'";
  const auto marked = connection.OpenRecordset(mark);
  if (!marked->Eof() && !marked->Value(0).IsNull() &&
      marked->Value(0).ToText() == schema::kSortKeysForm)
    return;

  const auto rows = connection.OpenRecordset(
      "SELECT rowid, " + Q(schema::kCaption) + ", " + Q(schema::kCaptionSort) + ", typeof(" +
      Q(schema::kCaptionSort) + ")='text' FROM " + Q(schema::kViews) + " WHERE typeof(" +
      Q(schema::kCaption) + ")='text'");
  const auto update = connection.CreateCommand("UPDATE " + Q(schema::kViews) + " SET " +
                                               Q(schema::kCaptionSort) + "=?1 WHERE rowid=?2");
  for (; !rows->Eof(); rows->MoveNext()) {
    std::string key;
    try {
      key = TextService::SmartSortKey(rows->Value(1).ToText());
    } catch (const CError&) {
      continue;  // a caption no key can be made of keeps what it has
    }
    if (rows->Int64(3) != 0 && rows->Value(2).ToText() == key) continue;
    update->SetText(1, key);
    update->SetInt64(2, rows->Int64(0));
    update->Execute();
  }
  connection.Execute(SqlService::InsertStatement(
      schema::kProperties, {schema::kKey, schema::kValue},
      {Variant(schema::kSortKeysMarkKey), Variant(schema::kSortKeysForm)}));
}

}  // namespace

int32_t StoredStandardView(const Variant& propertyBagContent) {
  // A row whose bytes cannot be read counts as an ordinary view; the pass goes on.
  try {
    return kStandardViewSite.Guard([&] {
      CProviderView view;
      view.DeserializeV(propertyBagContent);
      return view.StandardView() ? 1 : 0;
    });
  } catch (const CError&) {
    return 0;
  }
}

void CreateDatabaseFile(const std::string& path) {
  kCreateSite.Guard([&] {
    CDbFactory factory;
    const auto views = factory.AddTable(schema::kViews, true, true, true, true, true);
    views->AddColumn(schema::kProviderGuid, kString, kNotNullWithDefault, "");
    views->AddColumn(schema::kPrivateToGuid, kString, kNotNullWithDefault, "");
    views->AddColumn(schema::kCaption, kString, kNotNullWithDefault, "New View");
    views->AddColumn(schema::kCaptionSort, kString, kNotNullWithDefault, "New View");
    views->AddColumn(schema::kPropertyBagContent, kByteArray, dbcolflag_None, "");
    views->AddColumn(schema::kStandardView, kBoolean, kNotNullWithDefault, "0");
    views->AddColumn(schema::kNotificationView, kBoolean, kNotNullWithDefault, "0");
    views->AddIndex("idx_views_provider_guid", false, {schema::kProviderGuid});
    views->AddIndex("idx_views_provider_caption", false, {schema::kCaption});
    views->AddIndex("idx_views_provider_captionsort", false, {schema::kCaptionSort});
    views->AddIndex("idx_views_provider_privatetoguid", false, {schema::kPrivateToGuid});
    views->AddIndex("uidx_views", true,
                    {schema::kProviderGuid, schema::kPrivateToGuid, schema::kCaption});

    const auto filters = factory.AddTable(schema::kFilters, true, true, true, true, true, true);
    filters->AddColumn(schema::kProviderGuid, kString, dbcolflag_None, "");
    filters->AddColumn(schema::kCaption, kString, kNotNullWithDefault, "New Filter");
    filters->AddColumn(schema::kCaptionSort, kString, kNotNullWithDefault, "New Filter");
    filters->AddColumn(schema::kPropertyBagContent, kByteArray, dbcolflag_None, "");
    filters->AddIndex("idx_filters_provider_guid", false, {schema::kProviderGuid});
    filters->AddIndex("idx_filters_provider_captionsort", false, {schema::kCaptionSort});
    filters->AddIndex("uidx_filters", true, {schema::kProviderGuid, schema::kCaption});

    factory.CreateDatabase(path);
  });
}

void RunFixUpPass(Connection& connection) {
  kFixUpSite.Guard([&] {
    if (!SqlService::TableExists(connection, schema::kVersions)) CreateVersionsTable(connection);
    if (!SqlService::TableExists(connection, schema::kProperties))
      CreatePropertiesTable(connection);
    CreateCounterMarkTrigger(connection);
    connection.Execute("UPDATE " + Q(schema::kViews) + " SET " + Q(schema::kPrivateToGuid) +
                       "='' WHERE " + Q(schema::kPrivateToGuid) + " ISNULL");
    connection.Execute("DELETE FROM " + Q(schema::kViews) + " WHERE IFNULL(LENGTH(" +
                       Q(schema::kCaption) + "), 0)=0");
    if (!SqlService::ColumnExists(connection, schema::kViews, schema::kNotificationView)) {
      AddNotificationView(connection);
    }
    if (!SqlService::ColumnExists(connection, schema::kViews, schema::kStandardView))
      AddStandardView(connection);
    if (!SqlService::TableExists(connection, CDbFactory::kDeletionLogTable)) {
      const std::string forViews = CDbFactory::SqlDeletionLog(connection, schema::kViews);
      const std::string forFilters = CDbFactory::SqlDeletionLog(connection, schema::kFilters);
      connection.Execute(forViews);
      connection.Execute(forFilters);
    }
    for (const char* column :
         {schema::kProviderGuid, schema::kPrivateToGuid, schema::kCaption, schema::kCaptionSort}) {
      connection.Execute("CREATE INDEX IF NOT EXISTS " + Q(std::string("idx_") + column) + " ON " +
                         Q(schema::kViews) + " (" + Q(column) + " ASC)");
    }
    RemakeSortKeys(connection);
    connection.Execute("CREATE INDEX IF NOT EXISTS " + Q(schema::kViewsByProviderIndex) + " ON " +
                       Q(schema::kViews) + " (" + Q(schema::kProviderGuid) + " COLLATE NOCASE, " +
                       Q(schema::kCaptionSort) + ")");
    connection.Execute("CREATE INDEX IF NOT EXISTS " + Q(schema::kFiltersByProviderIndex) + " ON " +
                       Q(schema::kFilters) + " (" + Q(schema::kProviderGuid) + " COLLATE NOCASE)");
  });
}

}  // namespace prvdrinfo::views_db::internal

namespace prvdrinfo::views_db {

bool NeedsFixUp(Connection& connection) {
  using internal::Q;
  // Every step of RunFixUpPass that would change something, in its order.
  for (const char* table : {schema::kViews, schema::kFilters, schema::kVersions,
                            schema::kProperties, CDbFactory::kDeletionLogTable}) {
    if (!SqlService::TableExists(connection, table)) return true;
  }
  for (const char* column : {schema::kNotificationView, schema::kStandardView}) {
    if (!SqlService::ColumnExists(connection, schema::kViews, column)) return true;
  }
  const auto count = [&connection](const std::string& sql) {
    return connection.OpenRecordset(sql)->Int64(0);
  };
  std::string names = "'" + std::string(schema::kCounterMarkTrigger) + "'";
  for (const char* column :
       {schema::kProviderGuid, schema::kPrivateToGuid, schema::kCaption, schema::kCaptionSort}) {
    names += ", 'idx_" + std::string(column) + "'";
  }
  if (count("SELECT COUNT(*) FROM sqlite_master WHERE name IN (" + names + ")") != 5) return true;
  return count("SELECT EXISTS(SELECT 1 FROM " + Q(schema::kViews) + " WHERE " +
               Q(schema::kPrivateToGuid) + " ISNULL OR IFNULL(LENGTH(" + Q(schema::kCaption) +
               "), 0)=0)") != 0;
}

}  // namespace prvdrinfo::views_db
