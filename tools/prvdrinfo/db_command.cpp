// prvdrinfo db info|check|maintain: the views database of the data folder as a person
// sees it: what it holds, whether it is sound, and its maintenance run on demand.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"
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

std::string Shown(const std::string& text) { return text.empty() ? "never" : Printed(text); }

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
    for (auto rs = connection.OpenRecordset(
             "SELECT table_name, version FROM \"versions\" ORDER BY table_name");
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
    info.deleteCounter = Scalar(connection, "SELECT MAX(" + Column(veskcol_DeletedUpdates) +
                                                ") FROM " + DeletionLog() + " WHERE " +
                                                Column(veskcol_DeletedTable) + "='views'");
  }
  if (SqlService::TableExists(connection, "properties")) {
    info.lastAnalyze = views_db::GetViewsDbProperty(connection, views_db::kLastAnalyzeKey, "");
    info.lastVacuum = views_db::GetViewsDbProperty(connection, views_db::kLastVacuumKey, "");
  }
  for (auto rs = connection.OpenRecordset(
           "SELECT provider_guid, COUNT(*), SUM(" + updates +
           ") FROM \"views\" GROUP BY provider_guid ORDER BY provider_guid");
       !rs->Eof(); rs->MoveNext()) {
    info.providers.push_back(
        {rs->Value(0).IsNull() ? "" : rs->Value(0).AsText(), rs->Int64(1), rs->Int64(2)});
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
      providers.push_back(
          {{"providerGuid", p.provider}, {"views", p.views}, {"updateCounter", p.updateCounter}});
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
    std::cout << JsonText(document) << '\n';
    return;
  }
  std::string versions;
  for (const auto& [table, version] : info.versions) {
    versions += (versions.empty() ? "" : ", ") + Printed(table) + " " + std::to_string(version);
  }
  std::cout << "file: " << info.file << '\n'
            << "size: " << info.size << " bytes\n"
            << "journal mode: " << Printed(info.journalMode) << '\n'
            << "schema versions: " << (versions.empty() ? "none (not yet upgraded)" : versions)
            << '\n'
            << "views: " << info.views << '\n'
            << "filters: " << info.filters << '\n'
            << "highest update counter: " << info.highestUpdateCounter << '\n'
            << "delete counter: " << info.deleteCounter << '\n'
            << "last ANALYZE: " << Shown(info.lastAnalyze) << '\n'
            << "last VACUUM: " << Shown(info.lastVacuum) << '\n';
  if (info.providers.empty()) return;
  std::cout << "providers:\n";
  for (const auto& p : info.providers) {
    std::cout << "  " << (p.provider.empty() ? "(none)" : Printed(p.provider)) << ": " << p.views
              << (p.views == 1 ? " view" : " views") << ", update counter " << p.updateCounter
              << '\n';
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
  std::string listFailure;  // why the views could not be listed at all

  size_t Problems() const {
    const bool sound = integrity.size() == 1 && integrity.front() == "ok";
    return (sound ? 0 : integrity.size()) + unreadable.size() + (listFailure.empty() ? 0 : 1);
  }
};

std::vector<std::string> IntegrityLines(Connection& connection, int limit) {
  std::vector<std::string> lines;
  for (auto rs = connection.OpenRecordset("PRAGMA integrity_check(" + std::to_string(limit) + ")");
       !rs->Eof(); rs->MoveNext()) {
    lines.push_back(rs->Value(0).AsText());
  }
  return lines;
}

// On some damage SQLite's check fails after it has found problems, and the statement's
// rows are lost with it; a check told to stop after fewer problems gets them. The largest
// limit that still succeeds gives every row the full check could give.
std::vector<std::string> IntegrityRows(Connection& connection) {
  constexpr int kLimit = 100;  // SQLite's own default
  std::string failure;
  try {
    return IntegrityLines(connection, kLimit);
  } catch (const CError& e) {
    failure = e.Description();
  }
  std::vector<std::string> best;
  int low = 1;
  int high = kLimit - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    try {
      best = IntegrityLines(connection, middle);
      low = middle + 1;
    } catch (const CError&) {
      high = middle - 1;
    }
  }
  best.push_back("check stopped: " + failure);
  return best;
}

// A damaged file still tells what it can: each step that fails says why, and the rows
// are read one by one, so that one bad page costs only the views on it.
Check RunCheck(Connection& connection) {
  Check check;
  check.integrity = IntegrityRows(connection);
  std::vector<int64_t> rows;
  try {
    for (auto rs = connection.OpenRecordset("SELECT rec_id FROM \"views\" ORDER BY rec_id");
         !rs->Eof(); rs->MoveNext()) {
      rows.push_back(rs->Int64(0));
    }
  } catch (const CError& e) {
    check.listFailure = e.Description();
  }
  // A view that cannot be read is one the host silently goes without.
  const std::string select = "SELECT " + Column(veskcol_RecordGuid) +
                             ", caption, propertybag_content FROM \"views\" WHERE rec_id=";
  for (const int64_t id : rows) {
    ++check.views;
    Unreadable bad{"", "", ""};
    try {
      const auto rs = connection.OpenRecordset(select + std::to_string(id));
      if (rs->Eof()) continue;  // gone since it was listed
      bad.guid = rs->Value(0).IsNull() ? "" : rs->Value(0).AsText();
      bad.caption = rs->Value(1).IsNull() ? "" : rs->Value(1).AsText();
      const Variant bytes = rs->Value(2);
      CProviderView view;
      view.Deserialize(bytes.IsNull() ? Bytes{} : bytes.AsBytes());
      continue;
    } catch (const CError& e) {
      bad.error = e.Description();
    }
    if (bad.guid.empty() && bad.caption.empty()) bad.guid = "(row " + std::to_string(id) + ")";
    check.unreadable.push_back(bad);
  }
  return check;
}

void PrintCheck(const Check& check, bool asJson) {
  if (asJson) {
    json unreadable = json::array();
    for (const auto& u : check.unreadable) {
      unreadable.push_back({{"guid", u.guid}, {"caption", u.caption}, {"error", u.error}});
    }
    json document = {{"integrity", check.integrity},
                     {"views", check.views},
                     {"unreadable", unreadable},
                     {"problems", check.Problems()}};
    if (!check.listFailure.empty()) document["viewsError"] = check.listFailure;
    std::cout << JsonText(document) << '\n';
    return;
  }
  for (const auto& row : check.integrity) {
    // SQLite puts several lines in one row at times.
    std::istringstream lines(row);
    for (std::string line; std::getline(lines, line);)
      std::cout << "integrity: " << Printed(line) << '\n';
  }
  if (!check.listFailure.empty())
    std::cout << "views cannot be listed: " << Printed(check.listFailure) << '\n';
  std::cout << "views: " << check.views - static_cast<int64_t>(check.unreadable.size())
            << " readable, " << check.unreadable.size() << " unreadable\n";
  for (const auto& u : check.unreadable) {
    std::cout << "unreadable view " << Printed(u.guid) << " " << Quoted(u.caption) << ": "
              << Printed(u.error) << '\n';
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
      {"ANALYZE", "analyze", views_db::kAnalyzeCheckMutex, views_db::kAnalyzeRunMutex,
       views_db::kLastAnalyzeKey, "ANALYZE main"},
      {"VACUUM", "vacuum", views_db::kVacuumCheckMutex, views_db::kVacuumRunMutex,
       views_db::kLastVacuumKey, "VACUUM main"},
  };
  json document = {{"file", path}};
  for (const MaintenanceStep& step : steps) {
    // Any date that can be stored lies fewer days ahead than this interval, so the run is
    // due whatever time is stored, even one from a clock that ran ahead. When another
    // process holds the run mutex, the check waits for that run to finish instead.
    views_db::RunMaintenanceCheck(*connection, step.checkMutex, step.runMutex, step.key,
                                  step.statement, kAlwaysDue, "d");
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
    std::cout << JsonText(document) << '\n';
  } else {
    std::cout << "size: " << sizeBefore << " bytes before, " << sizeAfter << " after\n";
  }
}

}  // namespace

void RunDbInfo(const DbOptions& options) {
  // Looking changes nothing: the file is read as it is, not upgraded.
  const Info info = OnViewsDatabase([] {
    auto connection = OpenExistingViewsDatabase();
    return ReadInfo(*connection, views_db::ViewsDatabasePath());
  });
  PrintInfo(info, options.json);
}

void RunDbCheck(const DbOptions& options) {
  auto connection = OpenExistingViewsDatabase();
  const Check result = OnViewsDatabase([&] { return RunCheck(*connection); });
  PrintCheck(result, options.json);
  if (const size_t problems = result.Problems()) {
    throw CommandFailed("the views database " + views_db::ViewsDatabasePath() + " has " +
                        std::to_string(problems) + (problems == 1 ? " problem" : " problems"));
  }
}

void RunDbMaintain(const DbOptions& options) {
  OnViewsDatabase([&] { RunMaintenance(options.json); });
}

}  // namespace prvdrinfo::tool
