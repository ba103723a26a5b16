// The views database, each operation beside a floor that runs the same statements
// straight on SQLite:
//  - SaveView4 of a typical view (20 columns, 3 sort keys, 2 filter groups) beside open,
//    the GUID and caption look-ups, BEGIN IMMEDIATE, MAX, INSERT OR REPLACE, COMMIT and
//    close, the view's bytes and sort key made beforehand;
//  - GetViewsByProviderGuid of 1,000 and 10,000 views beside the same SELECT with one
//    Deserialize per row; the cost per view at 10,000 is set against the cost at 1,000
//    through the ratio of the two times (at most 12 for 1.2 times the cost per view).
// The file lives in a fresh temporary data folder on the disk that holds /tmp; commits
// wait for it as a host's would.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/db_helpers.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"

namespace {

using namespace prvdrinfo;

// Stored form: what the views database keeps of a provider GUID.
constexpr const char* kProvider = "6F9619FF-8B86-D011-B42D-00C04FC96401";
constexpr const char* kViewGuid = "{0E6B5C3A-1F2D-4E8B-9A7C-5D4E3F2A1B0C}";

std::string ColumnGuid(int i) {
  char text[40];
  std::snprintf(text, sizeof text, "{C0000000-0000-4000-8000-%012d}", i);
  return text;
}

std::string ProviderFor(int count) { return "BE0C0000-0000-4000-8000-" + std::to_string(100000000000 + count); }

std::shared_ptr<CProviderView> TypicalView(const std::string& guid, const std::string& caption,
                                           const std::string& provider) {
  auto view = CProviderViewFactory().CreateProviderView();
  view->SetGuid(guid);
  view->SetCaption(caption);
  view->SetProviderGuid(provider);
  for (int i = 0; i < 20; ++i) view->Columns()->Add(ColumnGuid(i))->SetWidthTwips(900 + 15 * i);
  for (int i = 0; i < 3; ++i) view->SortOrder()->Add(ColumnGuid(i * 5));
  for (int g = 0; g < 2; ++g) {
    auto group = view->FilterGroups()->Add();
    group->Add(ColumnGuid(g), "criteria " + std::to_string(g), logicop_And);
    group->Add(ColumnGuid(g + 10), "other " + std::to_string(g), logicop_Or);
  }
  return view;
}

// One data folder for the whole run, removed at exit.
class Folder {
 public:
  static Folder& Get() {
    static Folder folder;
    return folder;
  }
  const std::string& Path() const { return path_; }
  ~Folder() {
    CVesk::SetDataFolder("");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "prvdrinfo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    path_ = pattern + "/";
    CVesk::SetDataFolder(path_);
    views_db::OpenViewsDatabase();  // created, upgraded and maintained once, outside any timing
  }
  std::string path_;
};

// ---- The raw SQLite side of the floors.

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  }
}

int SmartSort(void* helpers, int leftLength, const void* left, int rightLength, const void* right) {
  return static_cast<CDbHelpers*>(helpers)->CallbackCollate(
      0, std::string_view(static_cast<const char*>(left), static_cast<size_t>(leftLength)),
      std::string_view(static_cast<const char*>(right), static_cast<size_t>(rightLength)));
}

// The connection settings a library connection has, so that a floor commits the same way.
struct Settings {
  std::string synchronous;
  int busyMs = 0;
};

Settings LibrarySettings() {
  auto connection = views_db::OpenViewsDatabase();
  return {std::to_string(connection->OpenRecordset("PRAGMA synchronous")->Int64(0)), connection->BusyTimeout()};
}

class Raw {
 public:
  Raw(const std::string& path, const Settings& settings) {
    Check(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), db_, "open");
    sqlite3_busy_timeout(db_, settings.busyMs);
    Exec("PRAGMA synchronous=" + settings.synchronous);
  }
  ~Raw() { sqlite3_close_v2(db_); }
  Raw(const Raw&) = delete;
  Raw& operator=(const Raw&) = delete;

  sqlite3* Db() const { return db_; }
  void Exec(const std::string& sql) { Check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), db_, "exec"); }

  // Steps through every row, reading each column as a reader of the rows would.
  void ReadAll(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr), db_, "prepare");
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        benchmark::DoNotOptimize(sqlite3_column_blob(statement, c));
        benchmark::DoNotOptimize(sqlite3_column_bytes(statement, c));
      }
    }
    Check(rc, db_, "step");
    sqlite3_finalize(statement);
  }

 private:
  sqlite3* db_ = nullptr;
};

// ---- SaveView4.

void BM_SaveView4(benchmark::State& state) {
  Folder::Get();
  const auto view = TypicalView(kViewGuid, "Typical view", kProvider);
  CProviderViewsDb db;
  for (auto _ : state) benchmark::DoNotOptimize(db.SaveView4(view, true, viewtype_UserDefined));
}
BENCHMARK(BM_SaveView4)->Unit(benchmark::kMicrosecond);

void BM_SaveView4Floor(benchmark::State& state) {
  Folder::Get();
  const Settings settings = LibrarySettings();
  const std::string path = views_db::ViewsDatabasePath();
  const auto view = TypicalView("{1E6B5C3A-1F2D-4E8B-9A7C-5D4E3F2A1B0C}", "Typical floor", kProvider);
  const Bytes bytes = view->Serialize();
  const std::string guid = view->Guid();
  const std::string byGuid = "SELECT * FROM \"views\" WHERE \"rec_guid\"='" + guid + "' COLLATE NOCASE";
  const std::string byCaption = std::string("SELECT \"rec_guid\" FROM \"views\" WHERE \"provider_guid\"='") +
                                kProvider +
                                "' COLLATE NOCASE AND \"private_to_guid\"='' COLLATE NOCASE AND \"caption\"='Typical "
                                "floor' COLLATE NOCASE AND \"standard_view\"=0";
  const char* write =
      "INSERT OR REPLACE INTO \"views\" (\"rec_guid\", \"updates\", \"provider_guid\", \"private_to_guid\", "
      "\"caption\", \"caption_sort\", \"propertybag_content\", \"standard_view\", \"notification_view\") "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";
  for (auto _ : state) {
    Raw raw(path, settings);
    raw.ReadAll(byGuid);
    raw.ReadAll(byCaption);
    raw.Exec("BEGIN IMMEDIATE");
    sqlite3_stmt* max = nullptr;
    Check(sqlite3_prepare_v2(raw.Db(), "SELECT MAX(\"updates\") FROM \"views\"", -1, &max, nullptr), raw.Db(), "max");
    Check(sqlite3_step(max), raw.Db(), "max");
    const int64_t counter = sqlite3_column_int64(max, 0) + 10;
    sqlite3_finalize(max);
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(raw.Db(), write, -1, &insert, nullptr), raw.Db(), "insert");
    sqlite3_bind_text(insert, 1, guid.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int64(insert, 2, counter);
    sqlite3_bind_text(insert, 3, kProvider, -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 4, "", -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 5, "Typical floor", -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 6, "typical floor", -1, SQLITE_STATIC);
    sqlite3_bind_blob(insert, 7, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
    sqlite3_bind_int(insert, 8, 0);
    sqlite3_bind_int(insert, 9, 0);
    Check(sqlite3_step(insert), raw.Db(), "insert");
    sqlite3_finalize(insert);
    raw.Exec("COMMIT");
  }
}
BENCHMARK(BM_SaveView4Floor)->Unit(benchmark::kMicrosecond);

// ---- GetViewsByProviderGuid.

// Fills a provider with count views once, in one transaction.
const std::string& Populated(int count) {
  static std::map<int, std::string> done;
  const auto found = done.find(count);
  if (found != done.end()) return found->second;
  Folder::Get();
  const std::string provider = ProviderFor(count);
  auto connection = views_db::OpenViewsDatabase();
  connection->Execute("BEGIN IMMEDIATE");
  auto insert = connection->CreateCommand(
      "INSERT INTO \"views\" (\"rec_guid\", \"updates\", \"provider_guid\", \"private_to_guid\", \"caption\", "
      "\"caption_sort\", \"propertybag_content\") VALUES (?, ?, ?, '', ?, ?, ?)");
  for (int i = 0; i < count; ++i) {
    char guid[40];
    std::snprintf(guid, sizeof guid, "{%08X-0000-4000-8000-%012d}", count, i);
    const std::string caption = "View " + std::to_string(i);
    insert->SetText(1, guid);
    insert->SetLong(2, 10 * (i + 1));
    insert->SetText(3, provider);
    insert->SetText(4, caption);
    insert->SetText(5, caption);
    insert->SetBytes(6, TypicalView(guid, caption, provider)->Serialize());
    insert->Execute();
  }
  connection->Execute("COMMIT");
  return done[count] = provider;
}

void BM_GetViewsByProviderGuid(benchmark::State& state) {
  const std::string provider = Populated(static_cast<int>(state.range(0)));
  CProviderViewsDb db;
  for (auto _ : state) benchmark::DoNotOptimize(db.GetViewsByProviderGuid(provider));
}
BENCHMARK(BM_GetViewsByProviderGuid)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_GetViewsByProviderGuidFloor(benchmark::State& state) {
  const std::string provider = Populated(static_cast<int>(state.range(0)));
  const Settings settings = LibrarySettings();
  const std::string path = views_db::ViewsDatabasePath();
  const std::string select = "SELECT * FROM \"views\" WHERE \"provider_guid\"='" + provider +
                             "' ORDER BY \"caption\" COLLATE SMARTSORT ASC";
  CDbHelpers helpers;
  for (auto _ : state) {
    Raw raw(path, settings);
    Check(sqlite3_create_collation_v2(raw.Db(), "SmartSort", SQLITE_UTF8, &helpers, SmartSort, nullptr), raw.Db(),
          "collation");
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(raw.Db(), select.c_str(), -1, &statement, nullptr), raw.Db(), "prepare");
    int content = 0;
    while (std::string_view(sqlite3_column_name(statement, content)) != "propertybag_content") ++content;
    std::vector<std::shared_ptr<CProviderView>> views;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement, content));
      auto view = std::make_shared<CProviderView>();
      view->Deserialize(Bytes(data, data + sqlite3_column_bytes(statement, content)));
      views.push_back(std::move(view));
    }
    Check(rc, raw.Db(), "step");
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(views.data());
  }
}
BENCHMARK(BM_GetViewsByProviderGuidFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
