// prvdrinfo db info|check|maintain: the views database of the data folder as a person
// sees it: what it holds, whether it is sound, and its maintenance run on demand.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/db_helpers.h"
#include "prvdrinfo/viewsdb/views_database.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

std::string Column(e_VeskColumn column) { return CVesk::ColumnName(column, veskform_Sql); }

std::string DeletionLog() { return SqlService::QuoteIdentifier(CDbFactory::kDeletionLogTable); }

int64_t FileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? -1 : static_cast<int64_t>(size);
}

std::string Shown(const std::string& text) { return text.empty() ? "never" : text; }

json TextOrNull(const std::string& text) { return text.empty() ? json(nullptr) : json(text); }

struct ProviderCount {
  std::string provider;
  int64_t views = 0;
  int64_t updateCounter = 0;
};

struct Info {
  std::string file;
  int64_t size = 0;
  std::string journalMode;
  std::vector<std::pair<std::string, int64_t>> versions;  // empty: no "versions" table
  int64_t views = 0;
  int64_t filters = 0;
  int64_t highestUpdateCounter = 0;
  int64_t deleteCounter = 0;
  std::string lastAnalyze;
  std::string lastVacuum;
  std::vector<ProviderCount> providers;
};

int64_t Scalar(Connection& connection, const std::string& sql) {
  return connection.OpenRecordset(sql)->Int64(0);  // NULL (no rows to count) reads as 0
}

Info ReadInfo(Connection& connection, const std::string& path) {
  Info info;
  info.file = path;
  info.size = FileSize(path);
  info.journalMode = connection.OpenRecordset("PRAGMA journal_mode")->Value(0).AsText();
  if (SqlService::TableExists(connection, "versions")) {
    for (auto rs = connection.OpenRecordset("SELECT table_name, version FROM \"versions\" ORDER BY table_name");
         !rs->Eof(); rs->MoveNext()) {
      info.versions.emplace_back(rs->Value(0).AsText(), rs->Int64(1));
    }
  }
  const std::string updates = Column(veskcol_Updates);
  info.views = Scalar(connection, "SELECT COUNT(*) FROM \"views\"");
  if (SqlService::TableExists(connection, "providers_filters")) {
    info.filters = Scalar(connection, "SELECT COUNT(*) FROM \"providers_filters\"");
  }
  info.highestUpdateCounter = Scalar(connection, "SELECT MAX(" + updates + ") FROM \"views\"");
  if (SqlService::TableExists(connection, CDbFactory::kDeletionLogTable)) {
    info.deleteCounter = Scalar(connection, "SELECT MAX(" + Column(veskcol_DeletedUpdates) + ") FROM " +
                                                DeletionLog() + " WHERE " + Column(veskcol_DeletedTable) +
                                                "='views'");
  }
  if (SqlService::TableExists(connection, "properties")) {
    info.lastAnalyze = views_db::GetViewsDbProperty(connection, views_db::kLastAnalyzeKey, "");
    info.lastVacuum = views_db::GetViewsDbProperty(connection, views_db::kLastVacuumKey, "");
  }
  for (auto rs = connection.OpenRecordset("SELECT provider_guid, COUNT(*), SUM(" + updates +
                                          ") FROM \"views\" GROUP BY provider_guid ORDER BY provider_guid");
       !rs->Eof(); rs->MoveNext()) {
    info.providers.push_back({rs->Value(0).IsNull() ? "" : rs->Value(0).AsText(), rs->Int64(1), rs->Int64(2)});
  }
  return info;
}

void PrintInfo(const Info& info, bool asJson) {
  if (asJson) {
    json versions = nullptr;
    if (!info.versions.empty()) {
      versions = json::object();
      for (const auto& [table, version] : info.versions) versions[table] = version;
    }
    json providers = json::array();
    for (const auto& p : info.providers) {
      providers.push_back({{"provider", p.provider}, {"views", p.views}, {"updateCounter", p.updateCounter}});
    }
    const json document = {{"file", info.file},
                           {"size", info.size},
                           {"journalMode", info.journalMode},
                           {"schemaVersions", versions},
                           {"views", info.views},
                           {"filters", info.filters},
                           {"highestUpdateCounter", info.highestUpdateCounter},
                           {"deleteCounter", info.deleteCounter},
                           {"lastAnalyze", TextOrNull(info.lastAnalyze)},
                           {"lastVacuum", TextOrNull(info.lastVacuum)},
                           {"providers", providers}};
    std::cout << document.dump(2) << '\n';
    return;
  }
  std::string versions;
  for (const auto& [table, version] : info.versions) {
    versions += (versions.empty() ? "" : ", ") + table + " " + std::to_string(version);
  }
  std::cout << "file: " << info.file << '\n'
            << "size: " << info.size << " bytes\n"
            << "journal mode: " << info.journalMode << '\n'
            << "schema versions: " << (versions.empty() ? "none (not yet upgraded)" : versions) << '\n'
            << "views: " << info.views << '\n'
            << "filters: " << info.filters << '\n'
            << "highest update counter: " << info.highestUpdateCounter << '\n'
            << "delete counter: " << info.deleteCounter << '\n'
            << "last ANALYZE: " << Shown(info.lastAnalyze) << '\n'
            << "last VACUUM: " << Shown(info.lastVacuum) << '\n';
  if (info.providers.empty()) return;
  std::cout << "providers:\n";
  for (const auto& p : info.providers) {
    std::cout << "  " << (p.provider.empty() ? "(none)" : p.provider) << ": " << p.views
              << (p.views == 1 ? " view" : " views") << ", update counter " << p.updateCounter << '\n';
  }
}

struct Unreadable {
  std::string guid;
  std::string caption;
  std::string error;
};

struct Check {
  std::vector<std::string> integrity;  // "ok" alone when sound
  int64_t views = 0;
  std::vector<Unreadable> unreadable;

  size_t Problems() const {
    const bool sound = integrity.size() == 1 && integrity.front() == "ok";
    return (sound ? 0 : integrity.size()) + unreadable.size();
  }
};

Check RunCheck(Connection& connection) {
  Check check;
  for (auto rs = connection.OpenRecordset("PRAGMA integrity_check"); !rs->Eof(); rs->MoveNext()) {
    check.integrity.push_back(rs->Value(0).AsText());
  }
  // A view that cannot be read is one the host silently goes without.
  for (auto rs = connection.OpenRecordset("SELECT " + Column(veskcol_RecordGuid) +
                                          ", caption, propertybag_content FROM \"views\" ORDER BY rec_id");
       !rs->Eof(); rs->MoveNext()) {
    ++check.views;
    const Variant bytes = rs->Value(2);
    try {
      CProviderView view;
      view.Deserialize(bytes.IsNull() ? Bytes{} : bytes.AsBytes());
    } catch (const CError& e) {
      check.unreadable.push_back({rs->Value(0).IsNull() ? "" : rs->Value(0).AsText(),
                                  rs->Value(1).IsNull() ? "" : rs->Value(1).AsText(), e.Description()});
    }
  }
  return check;
}

void PrintCheck(const Check& check, bool asJson) {
  if (asJson) {
    json unreadable = json::array();
    for (const auto& u : check.unreadable) {
      unreadable.push_back({{"guid", u.guid}, {"caption", u.caption}, {"error", u.error}});
    }
    std::cout << json{{"integrity", check.integrity},
                      {"views", check.views},
                      {"unreadable", unreadable},
                      {"problems", check.Problems()}}
                     .dump(2)
              << '\n';
    return;
  }
  for (const auto& line : check.integrity) std::cout << "integrity: " << line << '\n';
  std::cout << "views: " << check.views - static_cast<int64_t>(check.unreadable.size()) << " readable, "
            << check.unreadable.size() << " unreadable\n";
  for (const auto& u : check.unreadable) {
    std::cout << "unreadable view " << u.guid << " \"" << u.caption << "\": " << u.error << '\n';
  }
}

struct MaintenanceStep {
  const char* name;
  const char* jsonName;
  const char* checkMutex;
  const char* runMutex;
  const char* key;
  // Not the open routine's own statement text: the routine remembers its checks for an
  // hour per statement, and that memory must not stand in for a run asked for now.
  const char* statement;
};

constexpr int32_t kAlwaysDue = -3000000;  // days; automation dates end in the year 9999

void RunMaintenance(bool asJson) {
  // The open routine first: a file is created and upgraded as any host would have it.
  auto connection = views_db::OpenViewsDatabase();
  const std::string path = views_db::ViewsDatabasePath();
  const int64_t sizeBefore = FileSize(path);
  const MaintenanceStep steps[] = {
      {"ANALYZE", "analyze", views_db::kAnalyzeCheckMutex, views_db::kAnalyzeRunMutex, views_db::kLastAnalyzeKey,
       "ANALYZE main"},
      {"VACUUM", "vacuum", views_db::kVacuumCheckMutex, views_db::kVacuumRunMutex, views_db::kLastVacuumKey, "VACUUM main"},
  };
  json document = {{"file", path}};
  for (const MaintenanceStep& step : steps) {
    // Any date that can be stored lies fewer days ahead than this interval, so the run is
    // due whatever time is stored, even one from a clock that ran ahead. When another
    // process holds the run mutex, the check waits for that run to finish instead.
    views_db::RunMaintenanceCheck(*connection, step.checkMutex, step.runMutex, step.key, step.statement,
                                  kAlwaysDue, "d");
    const std::string last = views_db::GetViewsDbProperty(*connection, step.key, "");
    if (asJson) {
      document[step.jsonName] = {{"last", TextOrNull(last)}};
    } else {
      std::cout << step.name << ": last run " << Shown(last) << '\n';
    }
  }
  connection.reset();
  const int64_t sizeAfter = FileSize(path);
  if (asJson) {
    document["sizeBefore"] = sizeBefore;
    document["sizeAfter"] = sizeAfter;
    std::cout << document.dump(2) << '\n';
  } else {
    std::cout << "size: " << sizeBefore << " bytes before, " << sizeAfter << " after\n";
  }
}

}  // namespace

std::shared_ptr<Connection> OpenExistingViewsDatabase() {
  const std::string path = views_db::ViewsDatabasePath();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw CommandFailed("no views database at " + path);
  try {
    auto connection = Connection::Open(path, Connection::OpenMode::ReadWrite);
    connection->AddUserCollation(std::make_shared<CDbHelpers>());
    return connection;
  } catch (const CError& e) {
    throw CommandFailed(path + ": " + e.Description());
  }
}

void RunDbInfo(const DbOptions& options) {
  // Looking changes nothing: the file is read as it is, not upgraded.
  auto connection = OpenExistingViewsDatabase();
  PrintInfo(ReadInfo(*connection, views_db::ViewsDatabasePath()), options.json);
}

void RunDbCheck(const DbOptions& options) {
  auto connection = OpenExistingViewsDatabase();
  const Check result = RunCheck(*connection);
  PrintCheck(result, options.json);
  if (const size_t problems = result.Problems()) {
    throw CommandFailed("the views database has " + std::to_string(problems) +
                        (problems == 1 ? " problem" : " problems"));
  }
}

void RunDbMaintain(const DbOptions& options) { RunMaintenance(options.json); }

}  // namespace prvdrinfo::tool
