// prvdrinfo views list|show|export|import|delete: the saved views of the data folder's
// views database, read and written through the same operations a host uses.

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
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
#include "prvdrinfo/viewsdb/viewsdb_enums.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

json RowJson(const StoredViewRow& row) {
  json document = {{"guid", row.guid},
                   {"providerGuid", row.provider},
                   {"privateToGuid", row.privateTo},
                   {"caption", row.caption},
                   {"updateCounter", row.updateCounter},
                   {"kind", row.Kind()},
                   {"readable", row.view != nullptr}};
  if (!row.view) document["error"] = row.error;
  return document;
}

StoredViewRow StoredRow(const std::string& guid) {
  return OnViewsDatabase([&] {
    auto row = StoredViewByGuid(*OpenViewsForReading(), guid);
    if (!row) throw CommandFailed("no view with GUID " + guid);
    return *row;
  });
}

// The save's own refusals are about the view imported; anything else (the file cannot be
// opened, repaired or written) is the database's.
bool RefusedForTheInput(const CError& e) {
  return e.Number() == saveviewerr_DuplicateGuid || e.Number() == saveviewerr_DuplicateCaption ||
         e.Number() == err::kInvalidProcedureCall;
}

bool SameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// What the save did when the view did not keep the GUID it was exported with.
std::string SavedUnderAnotherGuid(const std::string& saved, const std::string& exported) {
  if (saved == exported) return "";
  const std::string as = "; exported as " + Printed(exported) + ")";
  if (SameLetters(saved, exported))
    return " (it replaced the stored view of that GUID, spelled as stored" + as;
  if (OnViewsDatabase(
          [&] { return StoredViewByGuid(*OpenViewsForReading(), exported).has_value(); })) {
    return " (saved as a new view: the standard view of that GUID stays as it is" + as;
  }
  return " (it replaced the view of the same caption" + as;
}

std::string UnreadableBytes(const StoredViewRow& row) {
  return "the stored bytes of view " + row.guid + " cannot be read: " + row.error;
}

}  // namespace

void RunViewsList(const ViewsListOptions& options) {
  const auto rows =
      OnViewsDatabase([&] { return StoredViewRows(*OpenViewsForReading(), options.provider); });
  if (options.json) {
    json list = json::array();
    for (const auto& row : rows) list.push_back(RowJson(row));
    std::cout << JsonText(list) << '\n';
    return;
  }
  for (const auto& row : rows) {
    std::cout << Printed(row.guid) << "  " << Printed(row.provider) << "  " << row.updateCounter
              << "  " << row.Kind()
              << (row.privateTo.empty() ? "" : " private to " + Printed(row.privateTo)) << "  "
              << Printed(row.caption)
              << (row.view ? "" : "  (unreadable: " + Printed(row.error) + ")") << '\n';
  }
  std::cout << rows.size() << (rows.size() == 1 ? " view" : " views") << '\n';
}

void RunViewsShow(const ViewsShowOptions& options) {
  std::shared_ptr<CProviderTableDef> table;
  if (options.columns) table = TableDefinitionFrom(*options.columns);
  const StoredViewRow row = StoredRow(options.guid);
  if (!options.raw) {
    if (!row.view) {
      if (options.json) std::cout << JsonText(RowJson(row)) << '\n';
      if (!options.json)
        std::cout << "view " << Printed(row.guid) << ": " << Quoted(row.caption) << '\n';
      throw CommandFailed(UnreadableBytes(row));
    }
    std::string text;
    try {
      text = ViewShown(row.bytes, table, options.json, row.updateCounter);
    } catch (const CError& e) {
      throw CommandFailed("view " + row.guid + ": " + e.Description());
    } catch (const CommandFailed& e) {
      throw CommandFailed("view " + row.guid + ": " + e.what());
    }
    std::cout << text;
    return;
  }
  std::cout << "view " << Printed(row.guid) << '\n'
            << "caption: " << Printed(row.caption) << '\n'
            << "provider: " << Printed(row.provider) << '\n'
            << "private to: " << (row.privateTo.empty() ? "(everyone)" : Printed(row.privateTo))
            << '\n'
            << "kind: " << row.Kind() << '\n'
            << "update counter: " << row.updateCounter << '\n';
  if (!row.view) {
    std::cout << "stored bytes: " << row.bytes.size() << ", unreadable: " << Printed(row.error)
              << '\n';
    throw CommandFailed(UnreadableBytes(row));
  }
  const CProviderView& view = *row.view;
  std::ostringstream dump;
  DumpDocument(row.bytes, dump);
  std::cout << "version: " << view.Version() << '\n'
            << "columns: " << view.Columns()->Count()
            << ", sort keys: " << view.SortOrder()->Count()
            << ", filter groups: " << view.FilterGroups()->Count() << '\n'
            << "stored as " << dump.str();
}

void RunViewsExport(const ViewsExportOptions& options) {
  // The bytes as stored, readable or not: a backup taken before a delete keeps them.
  const Bytes bytes = StoredRow(options.guid).bytes;
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const auto size = static_cast<std::streamsize>(bytes.size());
  if (options.file == "-") {
    std::cout.write(data, size);
    return;
  }
  WriteOutputFile(options.file, bytes);
}

void RunViewsImport(const ViewsImportOptions& options) {
  const std::string source = InputName(options.file);
  auto view = std::make_shared<CProviderView>();
  try {
    view->Deserialize(ReadInput(options.file));
    // Loading takes any caption, but a view saved without one is deleted by the next
    // open's repair: the caption goes through the view's own check, and its message.
    view->SetCaption(view->Caption());
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
    throw CommandFailed(RefusedForTheInput(e) ? source + ": " + e.Description()
                                              : ViewsDatabaseFault(e.Description()));
  }
  std::cout << "imported view " << Printed(view->Guid()) << " " << Quoted(view->Caption())
            << ", update counter " << db.GetViewUpdateCounter(view->Guid());
  std::cout << SavedUnderAnotherGuid(view->Guid(), exported) << '\n';
}

void RunViewsDelete(const std::string& guid) {
  const StoredViewRow row = StoredRow(guid);
  OnViewsDatabase([&] {
    CProviderViewsDb db;
    db.DeleteView(row.guid);  // the stored GUID: the deletion compares it exactly
    if (db.GetViewByGuid(row.guid)) throw CommandFailed("view " + row.guid + " is still there");
  });
  std::cout << "deleted view " << Printed(row.guid) << " " << Quoted(row.caption) << "\n";
}

}  // namespace prvdrinfo::tool
