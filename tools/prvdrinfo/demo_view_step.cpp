// The demo's walk through a view: its columns and sort order, a filter run on the table,
// the dates its notifiers deliver on, and the shared views database that keeps it.

#include <fstream>
#include <memory>
#include <string>

#include "commands.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/filters/provider_view_filter.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/filters/provider_view_filter_groups.h"
#include "prvdrinfo/notify/provider_view_notifiers.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"

namespace prvdrinfo::tool {

namespace {

constexpr const char* kDemoProviderGuid = "7D3C2F5E-0A41-4B8E-9C35-2E1F6A9B4D10";

// The demo's table with a few tasks in it, in the scratch folder.
std::shared_ptr<Connection> TasksDatabase(const DemoContext& context,
                                          const CProviderTableDef& table) {
  auto db = Connection::Open((context.folder / "view-demo.db").string());
  db->Execute(table.SqlCreateTable());
  db->Execute(
      "INSERT INTO \"Tasks\" (\"Title\", \"Due\") VALUES ('Pour footings', 46100), ('Frame walls', 46130), "
      "('Roof', 46160), ('O''Brien inspection', 46120)");
  return db;
}

std::shared_ptr<CProviderView> DemoView() {
  auto view = CProviderViewFactory().CreateProviderView();
  view->SetCaption("  Open   tasks ");
  view->SetProviderGuid(kDemoProviderGuid);
  view->Columns()->Add("Title")->SetWidthTwips(2880);
  view->Columns()->Column("Title")->SetCaption("Task");
  view->Columns()->Add("Due")->SetWidthTwips(1440);
  view->Columns()->Column("Due")->SetCaption("Due");
  view->SortOrder()->Add("Due");
  view->SortOrder()->Add("Due");  // a second Add of the first key turns it around
  auto late = view->FilterGroups()->Add();
  late->Add2("Due", operator_GreaterThan, "46110", logicop_And);
  late->Add2("Title", operator_Equals, "O'Brien inspection", logicop_Or);
  view->Notifiers()->Add(viewschedid_WeeklyMonday)->SetMessage("Tasks due this week");
  return view;
}

}  // namespace

void RunViewDemo(DemoContext& context) {
  auto& out = context.out;
  const auto table = DdlExampleTable();
  const auto db = TasksDatabase(context, *table);
  const auto view = DemoView();

  const auto columns = view->Columns();
  out << "A view \"" << view->Caption() << "\" (its caption tidied when set) shows "
      << columns->VisibleCount() << " of its " << columns->Count()
      << " columns (the standard ones start hidden):\n";
  for (const auto& column : *columns) {
    if (column->Visible())
      out << "  " << column->Guid() << ", width " << column->WidthTwips() << " twips\n";
  }
  const auto order = view->SortOrder();
  for (auto key = order->begin(); key != order->end(); ++key) {
    out << "sorted by " << key.Key()
        << ((*key)->Direction() == colsort_Descending ? " descending" : " ascending") << "\n";
  }

  auto filter = std::make_shared<CProviderViewFilter>();
  filter->Groups()->Deserialize(view->FilterGroups()->Serialize());
  const auto provider = std::make_shared<CColumnSetProvider>(table->Columns());
  filter->SetProviderInfo(provider);
  const std::string where = filter->Sql(filterprefix_Where);
  out << "Its filter as SQL:" << where << "\nrun on the table it selects:\n";
  auto rows =
      db->OpenRecordset("SELECT \"Title\" FROM \"Tasks\"" + where + " ORDER BY \"Due\" DESC");
  for (; !rows->Eof(); rows->MoveNext()) out << "  " << rows->Value("Title").ToText() << "\n";
  // The files a user needs to run the view on the table again, with the tool.
  std::ofstream(context.folder / "tasks.json") << DdlExample();
  const Bytes stored = view->Serialize();
  std::ofstream(context.folder / "open-tasks.view", std::ios::binary)
      .write(reinterpret_cast<const char*>(stored.data()),
             static_cast<std::streamsize>(stored.size()));
  out << "The view and the table definition are in the scratch folder (keep it with --keep); there\n"
      << "  prvdrinfo view run open-tasks.view --db view-demo.db --columns tasks.json\n"
      << "prints these rows with their due dates (--format csv, json or html for other forms).\n";

  const FilterSqlParameters bound = filter->SqlParameterized(filterprefix_Where);
  out << "A host that binds values runs" << bound.Sql << " with " << bound.Parameters.size()
      << " values instead; a criteria such as \"0) OR (1=1\" on the date column is refused:\n";
  try {
    filter->Groups()->FilterGroupByIndex(0)->Add2("Due", operator_Equals, "0) OR (1=1",
                                                  logicop_And);
    filter->Sql(filterprefix_Where);
  } catch (const CError& e) {
    out << "  " << e.Description() << "\n";
  }

  const auto notifier = view->Notifiers()->NotifierByIndex(0);
  out << "Its notifier \"" << notifier->Message() << "\" delivers next on "
      << notifier->CalcNextScheduledDeliveryDate("2026-12-11T09:00:00Z")
      << " after 2026-12-11T09:00:00Z.\n";
  out << "ContentId " << view->ContentId() << ", " << view->Serialize().size()
      << " bytes stored.\n";
}

void RunViewsDatabaseDemo(DemoContext& context) {
  auto& out = context.out;
  // Never the user's own views database: the demo's data folder is its scratch folder.
  CVesk::SetDataFolder(context.folder.string());
  const CProviderViewsDb db;
  const auto view = DemoView();
  db.SaveView4(view, false, viewtype_UserDefined);
  out << "Saved \"" << view->Caption() << "\" to " << views_db::ViewsDatabasePath()
      << "\n(the file is created on first use), update counter "
      << db.GetViewUpdateCounter(view->Guid()) << ".\n";

  // What another process of the host sees: its own collection, kept in step by refreshes.
  CProviderViews elsewhere;
  const bool changed = elsewhere.RefreshByProviderGuid(kDemoProviderGuid);
  out << "Another collection refreshes: " << (changed ? "changed" : "unchanged") << ", "
      << elsewhere.Count() << " view(s), \"" << elsewhere.ViewByIndex(0)->Caption()
      << "\" with the counter its save gave it (" << elsewhere.ViewByIndex(0)->UpdateCounter()
      << ") and its " << elsewhere.ViewByIndex(0)->Columns()->Count()
      << " columns, sort key and notifier.\n";

  auto second = DemoView();
  second->SetCaption("Late tasks");
  db.SaveView4(second, false, viewtype_UserDefined);
  try {
    auto copy = DemoView();
    db.SaveView4(copy, false, viewtype_UserDefined);
  } catch (const CError& e) {
    out << "A second view captioned \"Open tasks\" is refused: " << e.Description() << "\n";
  }
  db.DeleteView(view->Guid());
  elsewhere.RefreshByProviderGuid(kDemoProviderGuid);
  out << "After one view is saved and the first deleted, the refresh holds:";
  for (const auto& kept : elsewhere)
    out << " \"" << kept->Caption() << "\" (counter " << kept->UpdateCounter() << ")";
  out << ";\nthe deletion counter is " << elsewhere.DeleteCounter()
      << ", the provider's update counter " << db.GetProviderViewUpdateCounter(kDemoProviderGuid)
      << ".\n";
}

}  // namespace prvdrinfo::tool
