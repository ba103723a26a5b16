// The views database, each operation beside a floor that runs the same statements
// straight on SQLite:
//  - SaveView4 of a typical view (20 columns, 3 sort keys, 2 filter groups) beside open,
//    the GUID and caption look-ups, BEGIN IMMEDIATE, MAX, INSERT OR REPLACE, COMMIT and
//    close on a connection with the library's settings, the view's bytes and sort key
//    made beforehand;
//  - GetViewsByProviderGuid of 1,000, 10,000 and 100,000 views, each provider alone in a
//    file of its own but the largest (which shares its file with the next), beside the
//    same rows stepped in stored-key order (caption_sort), each row's bytes read by
//    libcbor's streaming decoder (nested documents too);
//    the cost per view as the count grows is set against the cost at 1,000 through the
//    ratio of the two times;
//  - GetViewsByProviderGuid of 1,000 views that share a file with 100,000 others, beside
//    the same 1,000 in a file of their own: what else the file holds should not count.
// The files live in fresh temporary data folders on the disk that holds /tmp, each built
// once per process; commits wait for the disk as a host's would.
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
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/cbor_floor.h"
#include "support/typical_view.h"

namespace {

using namespace prvdrinfo;
using bench::TypicalView;

// Stored form: what the views database keeps of a provider GUID.
constexpr const char* kProvider = "6F9619FF-8B86-D011-B42D-00C04FC96401";
constexpr const char* kViewGuid = "{0E6B5C3A-1F2D-4E8B-9A7C-5D4E3F2A1B0C}";

std::string ProviderFor(int count) {
  return "BE0C0000-0000-4000-8000-" + std::to_string(100000000000 + count);
}

// One root folder for the whole run, removed at exit; a data folder in it per file.
class Folder {
 public:
  static Folder& Get() {
    static Folder folder;
    return folder;
  }
  // Makes the named data folder the current one; the first use creates, upgrades and
  // maintains its file, outside any timing.
  void Use(const std::string& name) {
    const std::string path = root_ + name + "/";
    std::filesystem::create_directories(path);
    CVesk::SetDataFolder(path);
    views_db::OpenViewsDatabase();
  }
  // Runs at exit, after the library's own state may be gone: it touches files only.
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

 private:
  Folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "prvdrinfo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    root_ = pattern + "/";
  }
  std::string root_;
};

// ---- The raw SQLite side of the floors.

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
    throw std::runtime_error(std::string(what) + ": " +
                             (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  }
}

// The connection settings a library connection has, so that a floor commits the same way.
struct Settings {
  std::string synchronous;
  int busyMs = 0;
};

Settings LibrarySettings() {
  auto connection = views_db::OpenViewsDatabase();
  return {std::to_string(connection->OpenRecordset("PRAGMA synchronous")->Int64(0)),
          connection->BusyTimeout()};
}

class Raw {
 public:
  Raw(const std::string& path, const Settings& settings) {
    Check(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), db_, "open");
    sqlite3_busy_timeout(db_, settings.busyMs);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    Exec("PRAGMA synchronous=" + settings.synchronous);
  }
  ~Raw() { sqlite3_close_v2(db_); }
  Raw(const Raw&) = delete;
  Raw& operator=(const Raw&) = delete;

  sqlite3* Db() const { return db_; }
  void Exec(const std::string& sql) {
    Check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), db_, "exec");
  }

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
  Folder::Get().Use("saves");
  const auto view = TypicalView(kViewGuid, "Typical view", kProvider);
  CProviderViewsDb db;
  for (auto _ : state) benchmark::DoNotOptimize(db.SaveView4(view, true, viewtype_UserDefined));
}
BENCHMARK(BM_SaveView4)->Unit(benchmark::kMicrosecond);

void BM_SaveView4Floor(benchmark::State& state) {
  Folder::Get().Use("saves");
  const Settings settings = LibrarySettings();
  const std::string path = views_db::ViewsDatabasePath();
  const auto view =
      TypicalView("{1E6B5C3A-1F2D-4E8B-9A7C-5D4E3F2A1B0C}", "Typical floor", kProvider);
  const Bytes bytes = view->Serialize();
  const std::string guid = view->Guid();
  const std::string byGuid =
      "SELECT * FROM \"views\" WHERE \"rec_guid\"='" + guid + "' COLLATE NOCASE";
  const std::string byCaption =
      std::string("SELECT \"rec_guid\" FROM \"views\" WHERE \"provider_guid\"='") + kProvider +
      "' COLLATE NOCASE AND \"private_to_guid\"='' COLLATE NOCASE AND \"caption\"='Typical "
      "floor' COLLATE NOCASE AND \"standard_view\"=0";
  const std::string sortKey = TextService::SmartSortKey("Typical floor");
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
    Check(sqlite3_prepare_v2(raw.Db(), "SELECT MAX(\"updates\") FROM \"views\"", -1, &max, nullptr),
          raw.Db(), "max");
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
    sqlite3_bind_text(insert, 6, sortKey.c_str(), -1, SQLITE_STATIC);
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

constexpr int kLargest = 100000;
constexpr int kAmongOthers = 1000;

// Adds count views of the provider to the current data folder's file in one transaction,
// their captions stored with the keys a save would give them.
void AddViews(const std::string& provider, int count) {
  auto connection = views_db::OpenViewsDatabase();
  connection->Execute("BEGIN IMMEDIATE");
  auto insert = connection->CreateCommand(
      "INSERT INTO \"views\" (\"rec_guid\", \"updates\", \"provider_guid\", \"private_to_guid\", \"caption\", "
      "\"caption_sort\", \"propertybag_content\") VALUES (?, ?, ?, '', ?, ?, ?)");
  // One view's bytes for all: the row's GUID replaces the stored one when read.
  const Bytes bytes = TypicalView(kViewGuid, "Typical view", provider)->Serialize();
  for (int i = 0; i < count; ++i) {
    char guid[40];
    std::snprintf(guid, sizeof guid, "{%08X-0000-4000-8000-%012d}", count, i);
    // Not in row order, so that reading in caption order is not reading in row order.
    const std::string caption = "View " + std::to_string((i * 7919) % count);
    insert->SetText(1, guid);
    insert->SetLong(2, 10 * (i + 1));
    insert->SetText(3, provider);
    insert->SetText(4, caption);
    insert->SetText(5, TextService::SmartSortKey(caption));
    insert->SetBytes(6, bytes);
    insert->Execute();
  }
  connection->Execute("COMMIT");
}

// The data folder of a provider's file, made current, the file built on first use: a
// provider of `count` views alone, but the largest, whose file also holds the provider of
// kAmongOthers views that the shared benchmarks read.
std::string UseProviderFile(int count, bool shared) {
  static std::map<std::string, bool> built;
  const bool largest = shared || count == kLargest;
  const std::string name = largest ? "largest" : "own-" + std::to_string(count);
  Folder::Get().Use(name);
  if (!built[name]) {
    if (largest) {
      AddViews(ProviderFor(kLargest), kLargest);
      AddViews(ProviderFor(kAmongOthers), kAmongOthers);
    } else {
      AddViews(ProviderFor(count), count);
    }
    built[name] = true;
  }
  return ProviderFor(count);
}

void LoadProvider(benchmark::State& state, bool shared) {
  const std::string provider = UseProviderFile(static_cast<int>(state.range(0)), shared);
  CProviderViewsDb db;
  for (auto _ : state) {
    auto views = db.GetViewsByProviderGuid(provider);
    benchmark::DoNotOptimize(views.get());
    // Releasing the views loaded before is no part of a load.
    state.PauseTiming();
    views.reset();
    state.ResumeTiming();
  }
}

// The rows a load reads, stepped in stored-key order, each one's bytes read by libcbor.
void LoadProviderFloor(benchmark::State& state, bool shared) {
  const std::string provider = UseProviderFile(static_cast<int>(state.range(0)), shared);
  const Settings settings = LibrarySettings();
  const std::string path = views_db::ViewsDatabasePath();
  const std::string select = "SELECT * FROM \"views\" WHERE \"provider_guid\"='" + provider +
                             "' COLLATE NOCASE ORDER BY \"caption_sort\" ASC";
  for (auto _ : state) {
    Raw raw(path, settings);
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(raw.Db(), select.c_str(), -1, &statement, nullptr), raw.Db(),
          "prepare");
    int content = 0;
    while (std::string_view(sqlite3_column_name(statement, content)) != "propertybag_content")
      ++content;
    bench::CborReadState read;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement, content));
      bench::CborStreamRead(data, static_cast<size_t>(sqlite3_column_bytes(statement, content)),
                            read);
    }
    Check(rc, raw.Db(), "step");
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(read.items);
  }
}

void BM_GetViewsByProviderGuid(benchmark::State& state) { LoadProvider(state, false); }
BENCHMARK(BM_GetViewsByProviderGuid)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(kLargest)
    ->Unit(benchmark::kMillisecond);

void BM_GetViewsByProviderGuidFloor(benchmark::State& state) { LoadProviderFloor(state, false); }
BENCHMARK(BM_GetViewsByProviderGuidFloor)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(kLargest)
    ->Unit(benchmark::kMillisecond);

void BM_GetViewsByProviderGuidAmongOthers(benchmark::State& state) { LoadProvider(state, true); }
BENCHMARK(BM_GetViewsByProviderGuidAmongOthers)->Arg(kAmongOthers)->Unit(benchmark::kMillisecond);

void BM_GetViewsByProviderGuidAmongOthersFloor(benchmark::State& state) {
  LoadProviderFloor(state, true);
}
BENCHMARK(BM_GetViewsByProviderGuidAmongOthersFloor)
    ->Arg(kAmongOthers)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
