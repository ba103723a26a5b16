#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/event_sinks.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/viewsdb_enums.h"

namespace prvdrinfo {

// The events of a view collection. A host derives from this class and attaches the sink
// with CProviderViews::Advise; several sinks may listen, each seeing what the ones before
// it left in the arguments.
class PRVDRINFO_API CProviderViewsEvents {
 public:
  virtual ~CProviderViewsEvents() = default;
  // A view read from the views database, just before a refresh adds it; the sink may
  // correct it or put another view in its place.
  virtual void FixView(std::shared_ptr<CProviderView>& po_View) = 0;
  // The all-columns view is asked for and the collection holds none; the sink may supply
  // one (po_View starts empty).
  virtual void RequestAllColumnsView(std::shared_ptr<CProviderView>& po_View) = 0;
  // Before a refresh considers a stored view; setting p_Ignore (False at first) skips it.
  virtual void IgnoreView(const std::string& p_ViewGuid, bool& p_Ignore) = 0;
};

// The views of one provider in the host's memory, in order, keyed by view GUID (compared
// without regard to case). Errors: 80040001 hex "Unknown View GUID: <guid>" (View),
// 80040002 hex "View Index out of range." (ViewByIndex), 80040003 hex "View caption not
// found." (ViewByCaption), 80040004 hex "View GUID must be unique." (Add), 80040000 hex
// "All Columns view not found." (AllColumnsView), 5 "View not found." (ViewByUiControl),
// 6 when the summed UpdateCounter leaves 32 bits; otherwise the keyed collection's own.
// Persisted under "Views" and "DeleteCounter"; its content string is that of every view
// that is not Temporary, in order.
class PRVDRINFO_API CProviderViews : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViews";

  CProviderViews();

  // A new view with that GUID (a new one when blank) and caption, appended.
  std::shared_ptr<CProviderView> Add(const std::string& p_Guid, const std::string& p_Caption);
  // Appends the view under its Guid.
  void AddExisting(const std::shared_ptr<CProviderView>& po_View);
  void Remove(const std::string& p_Guid);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);

  int32_t Count() const { return views_.Count(); }
  bool Exists(const std::string& p_Guid) const { return views_.Exists(p_Guid); }
  std::vector<std::shared_ptr<CProviderView>> Enumerator() const { return views_.Snapshot(); }
  KeyedObjects<CProviderView>::const_iterator begin() const { return views_.begin(); }
  KeyedObjects<CProviderView>::const_iterator end() const { return views_.end(); }

  std::shared_ptr<CProviderView> View(const std::string& p_ViewGuid) const;
  std::shared_ptr<CProviderView> ViewByIndex(int32_t p_ZeroBasedIndex) const;
  // The first view whose caption equals the cleaned caption without regard to case.
  std::shared_ptr<CProviderView> ViewByCaption(const std::string& p_Caption) const;
  bool ExistsByCaption(const std::string& p_Caption) const;
  // The first view whose UiControl is that very object.
  std::shared_ptr<CProviderView> ViewByUiControl(
      const std::shared_ptr<IObject>& po_UiControl) const;
  bool ExistsByUiControl(const std::shared_ptr<IObject>& po_UiControl) const;

  // The first view flagged AllColumnsView; without one, the view the sinks supply through
  // RequestAllColumnsView, appended when its GUID is not yet a key.
  std::shared_ptr<CProviderView> AllColumnsView();
  // AllColumnsView without its errors: whether a view came back (it may raise
  // RequestAllColumnsView and add the supplied view).
  bool HasAllColumnsView();

  // The sum of the views' counters.
  int32_t UpdateCounter() const;
  // The largest view counter; 0 without views.
  int32_t HighestUpdateCounter() const;

  // Takes in what the views database holds for the provider: each stored view the sinks
  // do not ignore is added when absent or replaces a view whose counter is lower (then
  // raising FixView and going to the end); each view deleted since DeleteCounter goes,
  // but for the all-columns view. DeleteCounter then rises to the last deletion taken in.
  // Views newer in memory, and views only in memory, stay. True if anything changed. A
  // failure midway leaves the changes made so far, and DeleteCounter where it was.
  bool RefreshByProviderGuid(const std::string& p_ProviderGuid);
  void Refresh(const std::string& p_ProviderGuid) { RefreshByProviderGuid(p_ProviderGuid); }

  // The deletion-log position up to which this collection has taken deletions in.
  int32_t DeleteCounter() const { return deleteCounter_; }
  void SetDeleteCounter(int32_t value) { deleteCounter_ = value; }

  int32_t Advise(std::shared_ptr<CProviderViewsEvents> sink) {
    return sinks_.Advise(std::move(sink));
  }
  void Unadvise(int32_t cookie) { sinks_.Unadvise(cookie); }

  void AppendContentString3(StringBuilder& po_StringBuilder) const override;
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedObjects<CProviderView> views_;
  int32_t deleteCounter_ = 0;
  EventSinks<CProviderViewsEvents> sinks_;
};

class PRVDRINFO_API CProviderViewsFactory {
 public:
  std::shared_ptr<CProviderViews> CreateProviderViews() const;
};

}  // namespace prvdrinfo
