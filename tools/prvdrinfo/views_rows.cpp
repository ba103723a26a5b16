// The rows of the views database as they are stored, for the commands that show, list and
// back up views: a row whose bytes cannot be read keeps its own columns and bytes, where
// the host's read would hand back a blank view in its place.

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/db_helpers.h"
#include "prvdrinfo/viewsdb/views_database.h"

namespace prvdrinfo::tool {

namespace {

std::string TextOf(const Variant& value) {
  return value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
}

// The columns every current file has; older ones are repaired before they are read.
std::string RowColumns() {
  return "rec_id, " + CVesk::ColumnName(veskcol_RecordGuid, veskform_Sql) + ", " +
         CVesk::ColumnName(veskcol_Updates, veskform_Sql) +
         ", provider_guid, private_to_guid, caption, standard_view, notification_view, propertybag_content";
}

StoredViewRow RowOf(const Recordset& rs) {
  StoredViewRow row;
  row.recId = rs.Int64(0);
  row.guid = TextOf(rs.Value(1));
  row.updateCounter = rs.Int64(2);
  row.provider = TextOf(rs.Value(3));
  row.privateTo = TextOf(rs.Value(4));
  row.caption = TextOf(rs.Value(5));
  row.standard = rs.Int64(6) != 0;
  row.notification = rs.Int64(7) != 0;
  const Variant bytes = rs.Value(8);
  if (!bytes.IsNull() && !bytes.IsEmpty()) row.bytes = bytes.AsBytes();
  try {
    auto view = std::make_shared<CProviderView>();
    view->Deserialize(row.bytes);
    row.view = view;
  } catch (const CError& e) {
    row.error = e.Description();
  }
  return row;
}

bool Writable(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return ::access(path.c_str(), W_OK) == 0 &&
         ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

}  // namespace

void UseDataFolder(const std::optional<std::string>& dataDir) {
  if (!dataDir) return;
  if (dataDir->empty()) throw UsageError("--data-dir needs a folder name");
  CVesk::SetDataFolder(*dataDir);
}

std::string ViewsDatabaseFault(const std::string& description) {
  const std::string path = views_db::ViewsDatabasePath();
  return description.rfind(path, 0) == 0 ? description : path + ": " + description;
}

std::string StoredViewRow::Kind() const {
  const bool isStandard = view ? view->StandardView() : standard;
  const bool isNotification = view ? view->NotificationView() : notification;
  if (isStandard) return "standard";
  if (isNotification) return "notification";
  return "user";
}

std::shared_ptr<Connection> OpenExistingViewsDatabase() {
  const std::string path = views_db::ViewsDatabasePath();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    throw CommandFailed("no views database at " + path);
  std::shared_ptr<Connection> connection;
  try {
    connection = Connection::Open(path, Connection::OpenMode::ReadOnly);
  } catch (const CError& e) {
    // A write-ahead-log file in a folder this process cannot write cannot be read with
    // the shared memory other readers use; nothing can write it either, so it is read
    // as it stands.
    if (Writable(path)) throw CommandFailed(path + ": " + e.Description());
    try {
      connection = Connection::Open(path, Connection::OpenMode::ReadOnlyImmutable);
    } catch (const CError&) {
      throw CommandFailed(path + ": " + e.Description());
    }
  }
  connection->AddUserCollation(std::make_shared<CDbHelpers>());
  return connection;
}

std::shared_ptr<Connection> OpenViewsForReading() {
  const std::string path = views_db::ViewsDatabasePath();
  auto connection = OpenExistingViewsDatabase();
  bool repair = false;
  try {
    if (!SqlService::TableExists(*connection, "views")) {
      throw CommandFailed(path + ": not a views database (it has no views table)");
    }
    repair = views_db::NeedsFixUp(*connection);
  } catch (const CError& e) {
    throw CommandFailed(path + ": " + e.Description());
  }
  if (!repair) return connection;
  // An older or unrepaired file is brought up to date as any host's open would; a repair
  // that fails is rolled back and leaves the file as it was.
  connection.reset();
  return OnViewsDatabase([] { return views_db::OpenViewsDatabase(); });
}

std::vector<StoredViewRow> StoredViewRows(Connection& connection, const std::string& provider) {
  std::string sql = "SELECT " + RowColumns() + " FROM \"views\"";
  if (!provider.empty()) {
    const std::string guid =
        TextService::IsGuid(provider) ? TextService::CleanGuid(provider) : provider;
    sql += " WHERE provider_guid='" + SqlService::EscapeLiteral(guid, SqlService::kEscapeGuid) +
           "' COLLATE NOCASE";
  }
  sql += " ORDER BY provider_guid COLLATE NOCASE, caption COLLATE SMARTSORT, rec_id";
  std::vector<StoredViewRow> rows;
  for (auto rs = connection.OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
    rows.push_back(RowOf(*rs));
  return rows;
}

std::optional<StoredViewRow> StoredViewByGuid(Connection& connection, const std::string& guid) {
  const auto rs = connection.OpenRecordset(
      "SELECT " + RowColumns() + " FROM \"views\" WHERE " +
      CVesk::ColumnName(veskcol_RecordGuid, veskform_Sql) + "='" +
      SqlService::EscapeLiteral(guid, SqlService::kEscapeGuid) + "' COLLATE NOCASE LIMIT 1");
  if (rs->Eof()) return std::nullopt;
  return RowOf(*rs);
}

}  // namespace prvdrinfo::tool
