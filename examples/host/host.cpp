// A host application's roads through prvdrinfo, each a function that checks what it
// gets: register providers from a module, create and upgrade the provider's table, keep a
// view in the views database shared by two processes, read records through the view, and
// deliver a scheduled notification. docs/host-guide.md walks through it.
//
// Usage: prvdrinfo_host [MODULE]   (default: the task register module built beside it)
// Exit status 0 when every check holds, 1 on any mismatch, 2 on an error.

#include <prvdrinfo/prvdrinfo.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "task_register.h"

extern char** environ;

using namespace prvdrinfo;
namespace fs = std::filesystem;

namespace {

int g_mismatches = 0;

void Expect(bool holds, const std::string& what) {
  std::cout << (holds ? "  ok: " : "  MISMATCH: ") << what << '\n';
  if (!holds) ++g_mismatches;
}

constexpr const char* kProjectGuid = "C0FFEE00-1111-4222-8333-444455556666";
constexpr const char* kDueColumnGuid = "7D2C4A1E-5B3F-4E60-9A7B-0000000000D1";

// ---- 1. Registering providers -------------------------------------------------------

// Loads the module, snapshots its provider into a collection and keeps the bytes, so a
// later run knows the provider without loading the module.
Bytes RegisterProviders(const std::string& modulePath) {
  std::cout << "1. Registering providers from " << modulePath << '\n';
  CProvidersCollection providers;
  {
    ModuleLoader module(modulePath);
    const std::shared_ptr<IProviderInfo> provider =
        module.CreateProvider(task_register::kClassName);
    providers.Add(provider);  // clones it into a CProviderInfoShell
  }                           // the module may unload now: the shell holds no reference to it
  const Bytes bytes = providers.Serialize();

  CProvidersCollection later;  // the next run
  later.Deserialize(bytes);
  const auto shell = later.ProviderInfoShell(task_register::kProviderGuid);
  Expect(later.Count() == 1 && shell != nullptr,
         "the collection restores the task register's shell");
  Expect(shell && shell->ClassName() == task_register::kClassName,
         "the shell names the provider's class");
  Expect(shell && shell->Columns()->FindByGuid(task_register::kTitleColumnGuid) != nullptr,
         "the shell carries the provider's columns");
  return bytes;
}

// ---- 2. Creating a provider table ---------------------------------------------------

// The provider's table over its column set (a copy: the table owns its columns).
std::shared_ptr<CProviderTableDef> TasksTable(const CProvidersCollection& providers) {
  auto columns = CProviderColDefsFactory().CreateProviderColDefs();
  columns->Deserialize(
      providers.ProviderInfoShell(task_register::kProviderGuid)->Columns()->Serialize());
  auto table = CProviderTableDefFctry().CreateProviderTableDef();
  table->SetTableName("Tasks");
  table->SetColumns(columns);
  return table;
}

int64_t Count(Connection& db, const std::string& sql) {
  return db.OpenRecordset(sql)->Value(0).ToLong();
}

void CreateTable(Connection& db, const CProviderTableDef& table) {
  std::cout << "2. Creating the provider table\n";
  db.Execute(table.SqlCreateTable());
  // The delete trigger writes to the deletion log: create it, or the first DELETE fails
  // with "no such table".
  db.Execute(CDbFactory::SqlDeletionLog(db, table.TableName()));

  auto insert =
      db.CreateCommand(R"(INSERT INTO "Tasks" ("number", "title", "status") VALUES (?, ?, ?))");
  for (const auto& [number, title, status] :
       std::vector<std::tuple<const char*, const char*, const char*>>{
           {"T-1", "Pour footings", "done"},
           {"T-2", "frame walls", "open"},
           {"T-3", "Roof", "open"},
           {"T-4", "Wiring", "open"},
           {"T-5", "Scaffold", "open"}}) {
    insert->SetText(1, number);
    insert->SetText(2, title);
    insert->SetText(3, status);
    insert->Execute();
  }
  Expect(Count(db, R"(SELECT COUNT(*) FROM "Tasks" WHERE length("rec_guid") = 32)") == 5,
         "the triggers give every record a GUID");
  db.Execute(R"(DELETE FROM "Tasks" WHERE "number" = 'T-5')");
  Expect(Count(db, std::string("SELECT COUNT(*) FROM \"") + CDbFactory::kDeletionLogTable +
                       "\" WHERE \"table_name\" = 'Tasks'") == 1,
         "a DELETE is recorded in the deletion log");
}

// ---- 3. Upgrading the table when the module changes ---------------------------------

void UpgradeTable(Connection& db, const CProviderTableDef& previous,
                  const CProviderTableDef& next) {
  std::cout << "3. Upgrading the table to the module's next version\n";
  const TableUpgradePlan plan = TableUpgradePlanner::Plan(db, next, &previous);
  std::cout << plan.Describe() << '\n';
  plan.Run(db);
  Expect(Count(db, R"(SELECT COUNT(*) FROM pragma_table_info('Tasks') WHERE name = 'due')") == 1,
         "the new column is in the table");
  Expect(Count(db, R"(SELECT COUNT(*) FROM "Tasks")") == 4, "every record is kept");
  Expect(TableUpgradePlanner::Plan(db, next, &previous).NothingToDo(),
         "a second plan finds nothing to do");
  db.Execute(R"(UPDATE "Tasks" SET "due" = 46370 WHERE "number" = 'T-3')");
}

// The definition the module's next version brings: a due date column more.
std::shared_ptr<CProviderTableDef> NextVersion(const CProviderTableDef& table) {
  auto next = CProviderTableDefFctry().CreateProviderTableDef();
  next->Deserialize(table.Serialize());
  auto due = CColumnDefStoredFactory().CreateColumnDefStored();
  due->SetGuid(kDueColumnGuid);
  due->SetIdentifier("due");
  due->SetVeskDatatype(datatype_DateUtc);
  next->Columns()->ProviderSpecific()->AddExisting(due);
  return next;
}

// ---- 4. Building, saving and refreshing a view across processes ---------------------

std::shared_ptr<CProviderView> OpenTasksView() {
  auto view = CProviderViewFactory().CreateProviderView();
  view->SetCaption("Open tasks");
  view->SetProviderGuid(task_register::kProviderGuid);
  for (const char* guid :
       {task_register::kNumberColumnGuid, task_register::kTitleColumnGuid, kDueColumnGuid}) {
    view->Columns()->Add(guid);
  }
  view->SortOrder()->Add(task_register::kTitleColumnGuid);
  view->FilterGroups()->Add()->Add2(task_register::kStatusColumnGuid, operator_NotEquals, "done",
                                    logicop_And);
  return view;
}

// Another process of the host: renames the view and saves it.
int RenameInThisProcess(const std::string& dataFolder, const std::string& viewGuid) {
  CVesk::SetDataFolder(dataFolder);
  const CProviderViewsDb db;
  auto view = db.GetViewByGuid(viewGuid);
  if (!view) return 1;
  view->SetCaption("Open tasks by title");
  db.SaveView4(view, true, viewtype_UserDefined);
  return 0;
}

int RunOtherProcess(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::shared_ptr<CProviderView> ShareView(const std::string& self) {
  std::cout << "4. Saving a view and refreshing it across two processes\n";
  const CProviderViewsDb db;
  const auto view = OpenTasksView();
  db.SaveView4(view, false, viewtype_UserDefined);

  CProviderViews shown;  // what this process shows
  Expect(shown.RefreshByProviderGuid(task_register::kProviderGuid) && shown.Count() == 1,
         "a refresh finds the saved view");
  const int32_t counter = shown.View(view->Guid())->UpdateCounter();

  Expect(RunOtherProcess({self, "--rename-view", CVesk::DataFolder(), view->Guid()}) == 0,
         "another process renames the view");
  Expect(shown.RefreshByProviderGuid(task_register::kProviderGuid),
         "the next refresh reports a change");
  const auto renamed = shown.View(view->Guid());
  Expect(renamed->Caption() == "Open tasks by title" && renamed->UpdateCounter() > counter,
         "the view carries the other process's caption and a higher update counter");
  Expect(!shown.RefreshByProviderGuid(task_register::kProviderGuid),
         "a refresh with nothing new changes nothing");
  return renamed;
}

// ---- 5. Querying records through the view -------------------------------------------

std::vector<std::vector<std::string>> Records(Connection& db, const CProviderView& view,
                                              const CProviderTableDef& table) {
  const ViewQuery query = BuildViewQuery(view, table.TableName(), *table.Columns());
  auto select = db.CreateCommand(query.ParameterizedSql);
  for (size_t i = 0; i < query.Parameters.size(); ++i)
    select->SetValue(static_cast<int32_t>(i + 1), query.Parameters[i]);
  std::vector<std::vector<std::string>> rows;
  for (auto rs = select->OpenRecordset(); !rs->Eof(); rs->MoveNext()) {
    std::vector<std::string> row;
    for (const ViewQueryColumn& column : query.Columns) {
      const Variant value = rs->Value(column.Guid);
      row.push_back(value.IsNull() ? "" : value.ToText());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void QueryRecords(Connection& db, const CProviderView& view, const CProviderTableDef& table) {
  std::cout << "5. Reading records through the view's SELECT\n";
  const auto rows = Records(db, view, table);
  // Number, title, due, then the record GUID the statement adds; sorted by title without
  // regard to case; the done task filtered out.
  Expect(rows.size() == 3, "three open tasks");
  std::vector<std::string> titles;
  for (const auto& row : rows) titles.push_back(row.size() > 1 ? row[1] : "");
  Expect(titles == std::vector<std::string>{"frame walls", "Roof", "Wiring"},
         "in the view's order");
  Expect(
      rows.size() == 3 && rows[1].size() == 4 && rows[1][2] == "46370" && rows[1][3].size() == 32,
      "with the upgraded column and the record GUID");
}

// ---- 6. Scheduling and recording a delivery -----------------------------------------

// Delivers every notification view that is due for the project; returns how many.
int DeliverDue(Connection& db, const CProviderTableDef& table) {
  const CProviderViewsDb viewsDb;
  int delivered = 0;
  const auto views = viewsDb.GetNotificationViews();  // held: the loop walks into it
  for (const auto& view : *views) {
    bool changed = false;
    for (int32_t i = 0; i < view->Notifiers()->Count(); ++i) {
      const auto notifier = view->Notifiers()->NotifierByIndex(i);
      if (!notifier->ReadyForDeliveryByProject(kProjectGuid)) continue;
      const auto rows = Records(db, *view, table);  // what the host sends
      if (rows.empty() && !notifier->SendIfEmpty()) continue;
      notifier->UpdateLastDeliveredDate();
      notifier->LastDeliveries()->UpdateLastDeliveryDateUtc(kProjectGuid);
      changed = true;
      ++delivered;
    }
    if (changed) viewsDb.SaveView4(view, true, viewtype_Notification);
  }
  return delivered;
}

void Notify(Connection& db, const CProviderTableDef& table, std::shared_ptr<CProviderView> view) {
  std::cout << "6. Scheduling and recording a delivery\n";
  double today = 46370.375;  // 2026-12-14 09:00, a Monday
  CVesk::SetClock([&today] { return today; });
  const auto notifier = view->Notifiers()->Add(viewschedid_DailyAll);
  notifier->SetMessage("Open tasks, every day");
  notifier->SetDeliverToOwner(true);
  notifier->ProjectGuids()->Add(kProjectGuid);
  // A view with notifiers is saved as a notification view: saved as user-defined, it
  // would be stored as a new copy without them.
  CProviderViewsDb().SaveView4(view, true, viewtype_Notification);

  std::cout << "  next delivery " << notifier->NextScheduledDeliveryDate() << '\n';
  Expect(DeliverDue(db, table) == 0, "a new notifier waits for its first scheduled day");
  today += 1;
  Expect(DeliverDue(db, table) == 1, "on that day it is due and delivered");
  Expect(DeliverDue(db, table) == 0, "once delivered, it waits for its next day");
  const auto stored =
      CProviderViewsDb().GetViewByGuid(view->Guid())->Notifiers()->NotifierByIndex(0);
  Expect(
      stored->LastDeliveredDateUtc().rfind("2026-12-15", 0) == 0 &&
          stored->LastDeliveries()->LastDeliveryDateUtc(kProjectGuid).rfind("2026-12-15", 0) == 0,
      "the delivery is recorded in the views database, for the view and the project");
  CVesk::SetClock({});
}

}  // namespace

// The scratch folder of one run, removed however the run ends.
struct ScratchFolder {
  fs::path path = fs::temp_directory_path() / ("prvdrinfo-host-" + std::to_string(getpid()));
  ScratchFolder() {
    fs::remove_all(path);
    fs::create_directories(path / "data");
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--rename-view")
      return RenameInThisProcess(argv[2], argv[3]);
    const std::string modulePath = argc > 1 ? argv[1] : TASK_REGISTER_MODULE;
    const ScratchFolder scratch;
    const fs::path& work = scratch.path;
    CVesk::SetDataFolder((work / "data").string());  // never the user's own views database

    CProvidersCollection providers;
    providers.Deserialize(RegisterProviders(modulePath));
    const auto table = TasksTable(providers);
    const auto db = Connection::Open((work / "project.db").string());
    CreateTable(*db, *table);
    const auto next = NextVersion(*table);
    UpgradeTable(*db, *table, *next);
    const auto view = ShareView(fs::canonical("/proc/self/exe").string());
    QueryRecords(*db, *view, *next);
    Notify(*db, *next, view);
  } catch (const CError& e) {
    std::cerr << "prvdrinfo_host: " << e.Description() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "prvdrinfo_host: " << e.what() << '\n';
    return 2;
  }
  std::cout << (g_mismatches == 0 ? "All checks hold.\n"
                                  : std::to_string(g_mismatches) + " mismatch(es).\n");
  return g_mismatches == 0 ? 0 : 1;
}
