#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/filters/provider_view_filters.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/viewsdb/viewsdb_enums.h"

namespace prvdrinfo {

// Reads and writes views in the views database, the one file in the data folder that
// every process of the host shares. The class holds nothing: each call opens its own
// connection and ends its own transaction, so any number of processes may call at once.
//
// A view is one row of "views": its serialized bytes with copies of the fields queries
// need. Every save gives the row a new update counter, the table's largest plus 10
// (an empty table counts as 0), taken inside the save's transaction, and never one that
// a deleted row held; every deletion adds a row with a rising counter to the deletion
// log. Counters over no rows read as 0. A save looks up the GUID and caption it decides
// on inside its transaction too.
//
// GUIDs: provider and privacy GUIDs are stored cleaned (upper case, hyphens, no braces,
// where the text is a GUID) and every argument compared with them is cleaned the same way
// and compared without regard to case. View GUIDs are stored as the view spells them and
// compared without regard to case, except by DeleteView and ChangeViewGuid's write, which
// match them exactly.
//
// Errors (e_SaveViewErr): an open that fails raises -2147221504 "Could not get views
// database. <description>" from the reading calls that name it, -2147221502 from
// DeleteView and SaveView; -2147221501 and -2147221500 refuse a save over an existing
// GUID or caption; a save that fails once its transaction began rolls back and raises
// -2147221503 "An unknown error occurred when trying to save the view: " CR LF
// "<number> <description>", with "Database result: <SQLite's message>" in its context.
// Argument errors are 5. Other failures roll back and pass on as they are. A row whose
// bytes cannot be read is logged (source "CProviderViewsDb") and never stops a listing.
class PRVDRINFO_API CProviderViewsDb {
 public:
  // Deletes every view whose stored bytes say it is standard.
  void DeleteAllStandardViews() const;
  // Exactly this GUID, letter case included.
  void DeleteView(const std::string& p_ViewGuid) const;
  // The sum of the provider's view counters (6 when it leaves 32 bits).
  int32_t GetProviderViewUpdateCounter(const std::string& p_ProviderGuid) const;
  // The provider's views saved after p_UpdateCounter (keyed by GUID) and the GUIDs of
  // views deleted after p_DeleteCounter and not stored again (each its own key), in one
  // transaction; p_DeleteCounter rises to the largest of those deletions. All-columns
  // views found stored are deleted, never listed. Null collections are created; the out
  // arguments change only when the call succeeds.
  void ViewsByProviderGuidSinceCounters(
      const std::string& p_ProviderGuid, int32_t p_UpdateCounter, int32_t& p_DeleteCounter,
      std::shared_ptr<KeyedCollection>& po_UpdatedViews,
      std::shared_ptr<KeyedCollection>& po_DeletedViewGuids) const;
  // Null when no view has that GUID.
  std::shared_ptr<CProviderView> GetViewByGuid(const std::string& p_ViewGuid) const;

  // Stores the view (a temporary or all-columns view is never stored: true at once).
  // The type decides its standard and privacy flags; saving a standard view as
  // user-defined, or a user view over a standard one's GUID, stores a copy under a new
  // GUID, and overwriting a view of the same caption takes over its GUID, so po_View's
  // Guid may change; overwriting a GUID stored in other letter case takes the stored
  // spelling. A caption held by a view of the other kind (standard or not) with the same
  // provider and privacy is refused with -2147221500 "View caption in use, you must
  // choose a different caption for this view." whatever p_OverwriteExisting says: the
  // file keeps one view per caption there, and neither may silently replace the other.
  // 5 "Unknown view type: <n>", "View must have a GUID.", "View must have an associated
  // provider GUID.".
  bool SaveView4(const std::shared_ptr<CProviderView>& po_View, bool p_OverwriteExisting,
                 e_ViewType p_ViewType) const;
  // SaveView4 as standard (type 1) or user-defined (type 0).
  bool SaveView3(const std::shared_ptr<CProviderView>& po_View, bool p_OverwriteExisting,
                 bool p_SaveAsStandardView) const;
  bool SaveView2(const std::shared_ptr<CProviderView>& po_View, bool p_OverwriteExisting) const;
  // The older save: false for a standard view. A public view of the provider with the
  // same caption is overwritten (p_OverwriteExisting) or refused with -2147221500; the
  // row is written again with a new update counter.
  bool SaveView(const std::string& p_ProviderGuid, const std::shared_ptr<CProviderView>& po_View,
                bool p_OverwriteExisting) const;
  // Always 5 "Deprecated, use SaveView".
  bool SaveViewX(const std::string& p_ProviderGuid, const std::string& p_PrivateToGuid,
                 const std::shared_ptr<CProviderView>& po_View, bool p_OverwriteExisting) const;
  // Does nothing; "".
  std::string SaveViewAs(const std::shared_ptr<CProviderView>& po_View) const;

  // The provider's views in caption order (SmartSort), DeleteCounter set to the current
  // delete counter.
  std::shared_ptr<CProviderViews> GetViewsByProviderGuid(const std::string& p_ProviderGuid) const;
  // The provider's saved filters; a row that cannot be read, or whose caption is blank or
  // repeats, is logged and left out.
  std::shared_ptr<CProviderViewFilters> GetFiltersByProviderGuid(
      const std::string& p_ProviderGuid) const;
  // As GetViewsByProviderGuid, the views private to p_PrivateToGuid ("" for the public
  // ones).
  std::shared_ptr<CProviderViews> GetPublicAndPrivateProviderViews(
      const std::string& p_ProviderGuid, const std::string& p_PrivateToGuid) const;
  // Makes the provider's views private to that GUID public; nothing for a blank GUID.
  void DeprivatizeViewsByProviderGuid(const std::string& p_ProviderGuid,
                                      const std::string& p_PrivateToGuid) const;
  // Deletes the provider's views private to that GUID; nothing for a blank GUID.
  void DeletePrivateViewsByProviderGuid(const std::string& p_ProviderGuid,
                                        const std::string& p_PrivateToGuid) const;
  // Renames the view's row, with a new update counter and the old GUID logged as deleted,
  // so that other processes' refreshes follow. Renaming a GUID to itself does nothing.
  // 5 "New GUID required for ChangeViewGUID" / "Old GUID required for ChangeViewGUID"
  // for a blank GUID, before the file is opened.
  void ChangeViewGuid(const std::string& p_OldViewGuid, const std::string& p_NewViewGuid) const;
  // The largest counter of the deletion log's view rows.
  int32_t GetDeleteCounter() const;
  // 0 when no view has that GUID.
  int32_t GetViewUpdateCounter(const std::string& p_ViewGuid) const;
  // Views that would then clash with a view of the same caption keep their old owner.
  void ChangeAllViewsPrivateToGuid(const std::string& p_OldGuid,
                                   const std::string& p_NewGuid) const;
  // Empties the deletion log of its view rows; counters keep rising afterwards.
  void CleanDeletedViewsTable() const;
  // GUID to view for the provider's public views and those private to
  // p_IncludePrivateViewsGuid saved after p_SinceUpdateCounter; GUID to Nothing for views
  // deleted at or after p_SinceDeleteCounter and not stored again. Keyed by GUID (without
  // regard to case) in that order, so the caller can walk keys and items.
  std::shared_ptr<KeyedCollection> GetViewsByProviderAndComputerSinceCounters(
      const std::string& p_ProviderGuid, const std::string& p_IncludePrivateViewsGuid,
      int32_t p_SinceUpdateCounter, int32_t p_SinceDeleteCounter) const;
  // The public, non-standard views with notifiers, by provider; a private or standard
  // view found flagged loses its notifiers and is saved again.
  std::shared_ptr<CProviderViews> GetNotificationViews() const;
};

}  // namespace prvdrinfo
