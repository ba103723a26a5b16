// prvdrinfo views list|show|export|import|delete: the saved views of the data folder's
// views database, read and written through the same operations a host uses.

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

std::string Kind(const CProviderView& view) {
  if (view.StandardView()) return "standard";
  if (view.NotificationView()) return "notification";
  return "user";
}

json ViewJson(const CProviderView& view) {
  return {{"guid", view.Guid()},
          {"provider", view.ProviderGuid()},
          {"privateTo", view.PrivateToGuid()},
          {"caption", view.Caption()},
          {"updateCounter", view.UpdateCounter()},
          {"kind", Kind(view)}};
}

// Reading never creates the file: a missing one is an error, not an empty list.
void RequireDatabase() { OpenExistingViewsDatabase(); }

std::shared_ptr<CProviderView> StoredView(const std::string& guid) {
  RequireDatabase();
  auto view = CProviderViewsDb().GetViewByGuid(guid);
  if (!view) throw CommandFailed("no view with GUID " + guid);
  return view;
}

std::vector<std::shared_ptr<CProviderView>> ViewsOf(const std::string& provider) {
  std::vector<std::shared_ptr<CProviderView>> views;
  const auto stored = CProviderViewsDb().GetViewsByProviderGuid(provider);
  for (int32_t i = 0; i < stored->Count(); ++i) views.push_back(stored->ViewByIndex(i));
  return views;
}

}  // namespace

void RunViewsList(const ViewsListOptions& options) {
  std::vector<std::string> providers;
  if (!options.provider.empty()) {
    RequireDatabase();
    providers.push_back(options.provider);
  } else {
    auto rs = OpenExistingViewsDatabase()->OpenRecordset(
        "SELECT DISTINCT provider_guid FROM \"views\" ORDER BY provider_guid COLLATE NOCASE");
    for (; !rs->Eof(); rs->MoveNext()) providers.push_back(rs->Value(0).IsNull() ? "" : rs->Value(0).AsText());
  }
  std::vector<std::shared_ptr<CProviderView>> views;
  std::set<std::string> seen;  // providers that differ only in letter case may share rows
  for (const auto& p : providers) {
    for (auto& view : ViewsOf(p)) {
      if (seen.insert(view->Guid()).second) views.push_back(view);
    }
  }
  if (options.json) {
    json list = json::array();
    for (const auto& view : views) list.push_back(ViewJson(*view));
    std::cout << list.dump(2) << '\n';
    return;
  }
  for (const auto& view : views) {
    std::cout << view->Guid() << "  " << view->ProviderGuid() << "  " << view->UpdateCounter() << "  "
              << Kind(*view) << (view->PrivateToGuid().empty() ? "" : " private to " + view->PrivateToGuid())
              << "  " << view->Caption() << '\n';
  }
  std::cout << views.size() << (views.size() == 1 ? " view" : " views") << '\n';
}

void RunViewsShow(const std::string& guid) {
  const auto view = StoredView(guid);
  std::ostringstream dump;
  DumpDocument(view->Serialize(), dump);
  std::cout << "view " << view->Guid() << '\n'
            << "caption: " << view->Caption() << '\n'
            << "provider: " << view->ProviderGuid() << '\n'
            << "private to: " << (view->PrivateToGuid().empty() ? "(everyone)" : view->PrivateToGuid()) << '\n'
            << "kind: " << Kind(*view) << '\n'
            << "update counter: " << view->UpdateCounter() << '\n'
            << "version: " << view->Version() << '\n'
            << "columns: " << view->Columns()->Count() << ", sort keys: " << view->SortOrder()->Count()
            << ", filter groups: " << view->FilterGroups()->Count() << '\n'
            << "stored as " << dump.str();
}

void RunViewsExport(const ViewsExportOptions& options) {
  const Bytes bytes = StoredView(options.guid)->Serialize();
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const auto size = static_cast<std::streamsize>(bytes.size());
  if (options.file == "-") {
    std::cout.write(data, size);
    return;
  }
  std::ofstream out(options.file, std::ios::binary | std::ios::trunc);
  if (out) out.write(data, size);
  if (out) out.close();
  if (!out) throw CommandFailed("cannot write " + options.file + ": " + std::strerror(errno));
}

void RunViewsImport(const ViewsImportOptions& options) {
  const std::string source = InputName(options.file);
  auto view = std::make_shared<CProviderView>();
  try {
    view->Deserialize(ReadInput(options.file));
  } catch (const CError& e) {
    throw CommandFailed(source + ": " + e.Description());
  }
  // Stored as the kind it was exported as: saving a standard view as a user's own would
  // copy it under a new GUID.
  const e_ViewType type = view->StandardView()       ? viewtype_CorvaneStandard
                          : view->NotificationView() ? viewtype_Notification
                                                     : viewtype_UserDefined;
  const std::string exported = view->Guid();
  CProviderViewsDb db;
  try {
    db.SaveView4(view, options.overwrite, type);
  } catch (const CError& e) {
    throw CommandFailed(source + ": " + e.Description());
  }
  std::cout << "imported view " << view->Guid() << " \"" << view->Caption() << "\", update counter "
            << db.GetViewUpdateCounter(view->Guid());
  if (view->Guid() != exported) std::cout << " (it replaced the view of the same caption; exported as " << exported << ")";
  std::cout << '\n';
}

void RunViewsDelete(const std::string& guid) {
  const auto view = StoredView(guid);
  CProviderViewsDb db;
  db.DeleteView(view->Guid());  // the stored GUID: the deletion compares it exactly
  if (db.GetViewByGuid(view->Guid())) throw CommandFailed("view " + view->Guid() + " is still there");
  std::cout << "deleted view " << view->Guid() << " \"" << view->Caption() << "\"\n";
}

}  // namespace prvdrinfo::tool
