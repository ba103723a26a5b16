#include "support/old_views_db.h"

#include <unistd.h>

#include <string>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/views/provider_view.h"

namespace prvdrinfo::test {

Bytes StoredViewBytes(const std::string& caption, bool standardView) {
  CProviderView view;
  view.SetGuid("5C1D6A0E-3B7F-4E2A-9D8C-0A1B2C3D4E5F");  // same bytes on every call
  view.SetCaption(caption);
  view.SetStandardView(standardView);
  return view.Serialize();
}

void WriteOldViewsDb(const std::string& path, const OldViewsDbLayout& layout,
                     const std::vector<OldViewRow>& rows) {
  ::unlink(path.c_str());
  auto connection = Connection::Open(path);
  const std::string standard =
      "rec_id INTEGER PRIMARY KEY, rec_guid TEXT NOT NULL UNIQUE, hidden INTEGER NOT NULL "
      "DEFAULT 0, updates INTEGER NOT NULL DEFAULT 0, modified TEXT, created TEXT";
  std::string views =
      "CREATE TABLE views (" + standard +
      ", provider_guid TEXT, private_to_guid TEXT, caption TEXT, caption_sort TEXT, "
      "propertybag_content BLOB";
  if (layout.standardView) views += ", standard_view INTEGER";
  if (layout.notificationView) views += ", notification_view INTEGER";
  connection->Execute(views + ")");
  connection->Execute(
      "CREATE UNIQUE INDEX uidx_views ON views (provider_guid, private_to_guid, caption)");
  if (layout.filtersTable) {
    connection->Execute(
        "CREATE TABLE providers_filters (" + standard +
        ", record_status INTEGER NOT NULL DEFAULT 0, provider_guid TEXT, caption TEXT, caption_sort "
        "TEXT, propertybag_content BLOB)");
  }
  if (layout.versions) {
    connection->Execute("CREATE TABLE versions (table_name TEXT PRIMARY KEY, version INTEGER)");
    connection->Execute("INSERT INTO versions VALUES ('views', 1), ('providers_filters', 1)");
  }
  if (layout.properties) {
    connection->Execute(
        "CREATE TABLE properties (key text primary key not null, value text not null)");
  }
  if (layout.deletionLog) {
    connection->Execute(
        "CREATE TABLE CX1IVUUEQIHUW8W2DIJVS3B9O (rec_guid TEXT NOT NULL DEFAULT '', table_name TEXT NOT NULL "
        "DEFAULT '', updates INTEGER PRIMARY KEY AUTOINCREMENT, UNIQUE (rec_guid, table_name));"
        "CREATE TRIGGER trigger_views_CX1IVUUEQIHUW8W2DIJVS3B9O AFTER DELETE ON views BEGIN INSERT OR REPLACE INTO "
        "CX1IVUUEQIHUW8W2DIJVS3B9O (rec_guid, table_name) VALUES (old.rec_guid, 'views'); END");
    if (layout.filtersTable) {
      connection->Execute(
          "CREATE TRIGGER trigger_providers_filters_CX1IVUUEQIHUW8W2DIJVS3B9O AFTER DELETE ON providers_filters "
          "BEGIN INSERT OR REPLACE INTO CX1IVUUEQIHUW8W2DIJVS3B9O (rec_guid, table_name) VALUES (old.rec_guid, "
          "'providers_filters'); END");
    }
  }
  auto insert = connection->CreateCommand(
      std::string(
          "INSERT INTO views (rec_guid, provider_guid, private_to_guid, caption, caption_sort, "
          "propertybag_content, updates") +
      (layout.standardView ? ", standard_view" : "") +
      (layout.notificationView ? ", notification_view" : "") +
      ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7" + (layout.standardView ? ", ?8" : "") +
      (layout.notificationView ? (layout.standardView ? ", ?9" : ", ?8") : "") + ")");
  connection->BeginImmediate(0);
  for (const OldViewRow& row : rows) {
    insert->ClearBindings();
    insert->SetText(1, row.guid);
    insert->SetText(2, row.providerGuid);
    insert->SetValue(3, row.privateToGuid ? Variant(*row.privateToGuid) : Variant::Null());
    insert->SetValue(4, row.caption ? Variant(*row.caption) : Variant::Null());
    insert->SetValue(5, row.caption ? Variant(*row.caption) : Variant::Null());
    insert->SetValue(6, row.content);
    insert->SetLong(7, row.updates);
    int32_t next = 8;
    if (layout.standardView) insert->SetLong(next++, row.standardView);
    if (layout.notificationView) insert->SetLong(next, row.notificationView);
    insert->Execute();
  }
  connection->Commit();
}

}  // namespace prvdrinfo::test
