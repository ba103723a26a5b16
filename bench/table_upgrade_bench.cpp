// A provider table rebuilt in place (a column removed) beside its floor: the same new
// table, made by the same statement with the same indexes, filled by one plain
// INSERT INTO new SELECT ... FROM old and committed. The rebuild's part beyond the copy is
// what it must do besides: plan again under the write lock, drop the old table (SQLite
// overwrites its pages where secure_delete is on, as Debian builds it), rename, make the
// triggers, and check the table (integrity_check, foreign_key_check) before it commits.
//
// 1,000,000 rows with random record GUIDs, on the disk that holds /tmp; each run starts
// from a copy of the same file, made outside the timing.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "prvdrinfo/tables/table_upgrade_planner.h"

namespace {

using namespace prvdrinfo;

constexpr int kRows = 1000000;

std::shared_ptr<CProviderTableDef> Items(bool withDue) {
  auto table = CProviderTableDefFctry().CreateProviderTableDef();
  table->SetTableName("Items");
  auto add = [&](const char* name, e_VeskDataType type, bool required) {
    auto column = std::make_shared<CColumnDefStored>();
    column->SetGuid(name);
    column->SetIdentifier(name);
    column->SetVeskDatatype(type);
    table->Columns()->ProviderSpecific()->AddExisting(column);
    if (required) table->Columns()->Required()->AddExisting(column);
  };
  add("Title", datatype_String, true);
  add("Qty", datatype_Integer, false);
  if (withDue) add("Due", datatype_DateUtc, false);
  return table;
}

// One file with the table and its rows for the whole run, removed at exit.
class Files {
 public:
  static Files& Get() {
    static Files files;
    return files;
  }
  ~Files() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // A fresh copy of the table's file.
  std::string Copy() const {
    const std::string path = folder_ + "work.db";
    std::filesystem::remove(path + "-journal");
    std::filesystem::copy_file(pristine_, path, std::filesystem::copy_options::overwrite_existing);
    return path;
  }

 private:
  Files() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "prvdrinfo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    folder_ = pattern + "/";
    pristine_ = folder_ + "pristine.db";
    auto db = Connection::Open(pristine_);
    const auto table = Items(true);
    // Rows before triggers, with standard values of their own, so that the file is quick to make.
    db->Execute(table->SqlCreateTableNoTriggers());
    db->Execute(
        "BEGIN; WITH n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(kRows) +
        ") INSERT INTO Items (rec_guid, hidden, updates, modified, created, Title, Qty, Due) SELECT "
        "hex(randomblob(16)), 0, i, '2024-05-01T13:45:00Z', '2024-05-01T13:45:00Z', 'Task number ' || i, i % 97, "
        "45000 + i / 100.0 FROM n; COMMIT");
    db->Execute(table->SqlCreateTriggers());
    db->Execute(CDbFactory::SqlDeletionLog(*db, "Items"));
  }

  std::string folder_;
  std::string pristine_;
};

void BM_TableRebuild(benchmark::State& state) {
  const auto next = Items(false);
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = Files::Get().Copy();
    auto db = Connection::Open(path);
    const auto plan = TableUpgradePlanner::Plan(*db, *next);
    if (plan.RowsToCopy() != kRows) throw std::runtime_error("not a rebuild: " + plan.Describe());
    state.ResumeTiming();
    plan.Run(*db);
  }
}

void BM_TableRebuildFloor(benchmark::State& state) {
  const auto next = Items(false);
  next->SetTableName("Items_new");
  const std::string create =
      next->SqlCreateTableNoTriggers();  // the table and the update-counter index
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = Files::Get().Copy();
    auto db = Connection::Open(path);
    state.ResumeTiming();
    db->Execute("BEGIN IMMEDIATE");
    db->Execute(create);
    db->Execute(
        "INSERT INTO Items_new (rowid, rec_guid, hidden, updates, modified, created, Title, Qty) SELECT rowid, "
        "rec_guid, hidden, updates, modified, created, Title, Qty FROM Items");
    db->Execute("COMMIT");
  }
}

BENCHMARK(BM_TableRebuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_TableRebuildFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
