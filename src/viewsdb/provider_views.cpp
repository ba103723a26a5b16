#include "foundation/internal/class_registration.h"
#include "prvdrinfo/viewsdb/provider_views.h"

#include <limits>

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"FOBG1JTLML7J452JL6ARPI8Y8", "CProviderViews.Add"};
constexpr ErrorSite kAddExisting{"IX4NNGJJOIZ66SAGKKSF237JK", "CProviderViews.AddExisting"};
constexpr ErrorSite kRemove{"NKOJ5J47NE803R4DFAABGSGPJ", "CProviderViews.Remove"};
constexpr ErrorSite kRemoveByIndex{"JOBODEKA5NNU9SMGP2B8VAZY6", "CProviderViews.RemoveByIndex"};
constexpr ErrorSite kView{"7HKEBVRMTQRPMASE5Z7OJ9ZL3", "CProviderViews.View"};
constexpr ErrorSite kViewByIndex{"L3BYZQS6HS6O7JWOOIW0JAUVN", "CProviderViews.ViewByIndex"};
constexpr ErrorSite kViewByCaption{"3H9EU5YII64T8MI722I34Y8U2", "CProviderViews.ViewByCaption"};
constexpr ErrorSite kExistsByCaption{"HGVQG11IFQEWZ58P09IENOUGJ", "CProviderViews.ExistsByCaption"};
constexpr ErrorSite kViewByUiControl{"BDL3LR7BKQAI9P1TUAQ77IQUL", "CProviderViews.ViewByUiControl"};
constexpr ErrorSite kAllColumnsView{"PMSDF7ONL0D849KVSOOVBGIFE", "CProviderViews.AllColumnsView"};
constexpr ErrorSite kUpdateCounter{"F551T56SO1SOMMX594MTD0ZCR", "CProviderViews.UpdateCounter"};
constexpr ErrorSite kRefresh{"UAJI4CY1C57KAVE9QLT4G4KY1", "CProviderViews.RefreshByProviderGuid"};
constexpr ErrorSite kWrite{"5KNNDO7GXX648JKLQ6VGCWYX7", "CProviderViews.Class_WriteProperties"};
constexpr ErrorSite kRead{"SP4ZT2QJ3W7HXK9LBNVY8R1CD", "CProviderViews.Class_ReadProperties"};
constexpr ErrorSite kContent{"MW6RD1YH8QTZ3KJ5BXN9C2LVF", "CProviderViews.AppendContentString3"};

constexpr int32_t kObjectNotSet = 91;

template <class Test>
std::shared_ptr<CProviderView> FindFirst(const KeyedObjects<CProviderView>& views, Test&& test) {
  for (const auto& view : views) {
    if (test(*view)) return view;
  }
  return nullptr;
}

std::shared_ptr<CProviderView> FindByCaption(const KeyedObjects<CProviderView>& views,
                                             const std::string& caption) {
  // Loaded views may hold captions that were never cleaned, so both sides are.
  const std::string wanted = TextService::ComparisonForm(caption);
  return FindFirst(views, [&](const CProviderView& view) {
    return TextService::ComparisonForm(view.Caption()) == wanted;
  });
}

std::shared_ptr<CProviderView> FindByUiControl(const KeyedObjects<CProviderView>& views,
                                               const std::shared_ptr<IObject>& control) {
  if (!control) return nullptr;
  return FindFirst(views, [&](const CProviderView& view) { return view.UiControl() == control; });
}
}  // namespace

CProviderViews::CProviderViews() = default;

std::shared_ptr<CProviderView> CProviderViews::Add(const std::string& p_Guid,
                                                   const std::string& p_Caption) {
  return kAdd.Guard([&] {
    auto view = std::make_shared<CProviderView>();
    view->SetGuid(p_Guid);
    const std::string key = view->Guid();
    if (views_.Exists(key)) kAdd.Raise(viewerr_ViewGuidInUse, "View GUID must be unique.");
    view->SetCaption(p_Caption);
    views_.Add(view, key);
    return view;
  });
}

void CProviderViews::AddExisting(const std::shared_ptr<CProviderView>& po_View) {
  kAddExisting.Guard([&] {
    if (!po_View) kAddExisting.Raise(kObjectNotSet);
    views_.Add(po_View, po_View->Guid());
  });
}

void CProviderViews::Remove(const std::string& p_Guid) {
  kRemove.Guard([&] { views_.Remove(p_Guid); });
}

void CProviderViews::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { views_.RemoveByIndex(p_ZeroBasedIndex); });
}

std::shared_ptr<CProviderView> CProviderViews::View(const std::string& p_ViewGuid) const {
  return kView.Guard([&] {
    if (!views_.Exists(p_ViewGuid))
      kView.Raise(viewerr_UnknownViewGuid, "Unknown View GUID: " + p_ViewGuid);
    return views_.Item(p_ViewGuid);
  });
}

std::shared_ptr<CProviderView> CProviderViews::ViewByIndex(int32_t p_ZeroBasedIndex) const {
  if (p_ZeroBasedIndex < 0 || p_ZeroBasedIndex >= views_.Count()) {
    kViewByIndex.Raise(viewerr_UnknownViewIndex, "View Index out of range.");
  }
  return views_.ItemByIndex(p_ZeroBasedIndex);
}

std::shared_ptr<CProviderView> CProviderViews::ViewByCaption(const std::string& p_Caption) const {
  return kViewByCaption.Guard([&] {
    auto view = FindByCaption(views_, p_Caption);
    if (!view) kViewByCaption.Raise(viewerr_UnknownViewCaption, "View caption not found.");
    return view;
  });
}

bool CProviderViews::ExistsByCaption(const std::string& p_Caption) const {
  return kExistsByCaption.Guard([&] { return FindByCaption(views_, p_Caption) != nullptr; });
}

std::shared_ptr<CProviderView> CProviderViews::ViewByUiControl(
    const std::shared_ptr<IObject>& po_UiControl) const {
  auto view = FindByUiControl(views_, po_UiControl);
  if (!view) kViewByUiControl.Raise(err::kInvalidProcedureCall, "View not found.");
  return view;
}

bool CProviderViews::ExistsByUiControl(const std::shared_ptr<IObject>& po_UiControl) const {
  return FindByUiControl(views_, po_UiControl) != nullptr;
}

std::shared_ptr<CProviderView> CProviderViews::AllColumnsView() {
  return kAllColumnsView.Guard([&] {
    if (auto view = FindFirst(views_, [](const CProviderView& v) { return v.AllColumnsView(); }))
      return view;
    std::shared_ptr<CProviderView> supplied;
    sinks_.Raise([&](CProviderViewsEvents& sink) { sink.RequestAllColumnsView(supplied); });
    if (!supplied) kAllColumnsView.Raise(_viewerr_Base, "All Columns view not found.");
    const std::string key = supplied->Guid();
    if (!views_.Exists(key)) views_.Add(supplied, key);
    return supplied;
  });
}

bool CProviderViews::HasAllColumnsView() {
  try {
    return AllColumnsView() != nullptr;
  } catch (const CError&) {
    return false;
  }
}

int32_t CProviderViews::UpdateCounter() const {
  int64_t sum = 0;
  for (const auto& view : views_) sum += view->UpdateCounter();
  if (sum > std::numeric_limits<int32_t>::max() || sum < std::numeric_limits<int32_t>::min()) {
    kUpdateCounter.Raise(err::kOverflow);
  }
  return static_cast<int32_t>(sum);
}

int32_t CProviderViews::HighestUpdateCounter() const {
  int32_t highest = 0;
  bool any = false;
  for (const auto& view : views_) {
    if (!any || view->UpdateCounter() > highest) highest = view->UpdateCounter();
    any = true;
  }
  return highest;
}

bool CProviderViews::RefreshByProviderGuid(const std::string& p_ProviderGuid) {
  return kRefresh.Guard([&] {
    int32_t deleteCounter = deleteCounter_;
    std::shared_ptr<KeyedCollection> stored;
    std::shared_ptr<KeyedCollection> deleted;
    CProviderViewsDb().ViewsByProviderGuidSinceCounters(p_ProviderGuid, 0, deleteCounter, stored,
                                                        deleted);
    bool changed = false;
    for (const Variant& item : *stored) {
      auto view = item.ToObject<CProviderView>();
      const std::string guid = view->Guid();
      bool ignore = false;
      sinks_.Raise([&](CProviderViewsEvents& sink) { sink.IgnoreView(guid, ignore); });
      if (ignore) continue;
      if (views_.Exists(guid)) {
        // Unsaved changes in memory survive unless the stored copy is newer.
        if (view->UpdateCounter() <= views_.Item(guid)->UpdateCounter()) continue;
        views_.Remove(guid);
      }
      sinks_.Raise([&](CProviderViewsEvents& sink) { sink.FixView(view); });
      AddExisting(view);
      changed = true;
    }
    for (const Variant& item : *deleted) {
      const std::string guid = item.ToText();
      if (!views_.Exists(guid)) continue;
      changed = true;
      if (!views_.Item(guid)->AllColumnsView()) views_.Remove(guid);
    }
    // Raised only now, so that a refresh that failed midway takes the deletions in again.
    deleteCounter_ = deleteCounter;
    return changed;
  });
}

void CProviderViews::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    for (const auto& view : views_) {
      if (!view->Temporary()) view->AppendContentString3(po_StringBuilder);
    }
  });
}

void CProviderViews::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    views_.WriteTo(bag, "Views");
    bag.WriteProperty("DeleteCounter", Variant(deleteCounter_));
  });
}

void CProviderViews::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    KeyedObjects<CProviderView> views;
    views.ReadFrom(bag, "Views");
    const int32_t deleteCounter = bag.ReadLong("DeleteCounter", 0);
    views_ = std::move(views);
    deleteCounter_ = deleteCounter;
  });
}

std::shared_ptr<CProviderViews> CProviderViewsFactory::CreateProviderViews() const {
  return std::make_shared<CProviderViews>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViews)
}  // namespace prvdrinfo
