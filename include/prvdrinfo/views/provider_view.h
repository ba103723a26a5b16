#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/filters/filter_groups_sql.h"
#include "prvdrinfo/filters/provider_view_filter_groups.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/notify/provider_view_notifiers.h"
#include "prvdrinfo/views/provider_view_cols.h"
#include "prvdrinfo/views/provider_view_cols_sort.h"

namespace prvdrinfo {

// One view of a provider's records: columns, sort keys, filter groups and notifiers,
// with the twelve scalar fields that form its core record. The collections come into
// existence on first use. Errors: 5 "View caption is required.", 5 "PaperSpan must be
// greater than zero.", 5 "Deprecated." (SetNotificationView), 5 "Must have at least one
// column" and 80040000 hex "Could not create local view table." (the local recordsets).
// Loading is strict up to "ProviderGuid"; from "Version" on, a key that cannot be read
// leaves its member as it was (a bad "Version" is logged).
//
// Guid() stores a new GUID when none is set, and the collections are created by the
// first read, content string or save that needs them: one thread at a time, reads included.
class PRVDRINFO_API CProviderView : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderView";
  static constexpr int32_t kCurrentVersion = 6;

  CProviderView();

  // A new GUID on first read when none is stored.
  std::string Guid() const;
  void SetGuid(const std::string& value) { guid_ = value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  int32_t PaperSpan() const { return paperSpan_; }
  // Library-internal.
  void SetPaperSpan(int32_t value);
  const std::string& TemplateGuid() const { return templateGuid_; }
  void SetTemplateGuid(const std::string& value);
  const std::string& FilterGuid() const { return filterGuid_; }
  void SetFilterGuid(const std::string& value);
  const std::string& PrivateToGuid() const { return privateToGuid_; }
  void SetPrivateToGuid(const std::string& value) { privateToGuid_ = value; }
  bool StandardView() const { return standardView_; }
  void SetStandardView(bool value) { standardView_ = value; }
  bool AllColumnsView() const { return allColumnsView_; }
  void SetAllColumnsView(bool value) { allColumnsView_ = value; }
  int32_t UpdateCounter() const { return updateCounter_; }
  // Library-internal: the views database and the view collection assign it.
  void SetUpdateCounter(int32_t value) { updateCounter_ = value; }
  const std::string& ProviderGuid() const { return providerGuid_; }
  void SetProviderGuid(const std::string& value) { providerGuid_ = value; }
  int32_t Version() const { return version_; }
  void SetVersion(int32_t value) { version_ = value; }
  bool PauseFilters() const { return pauseFilters_; }
  void SetPauseFilters(bool value) { pauseFilters_ = value; }

  // Not persisted.
  bool Temporary() const { return temporary_; }
  void SetTemporary(bool value) { temporary_ = value; }
  bool Fixed() const { return fixed_; }
  void SetFixed(bool value) { fixed_ = value; }

  std::shared_ptr<CProviderViewCols> Columns() const;
  std::shared_ptr<CProviderViewColsSort> SortOrder() const;
  std::shared_ptr<CProviderViewFilterGroups> FilterGroups() const;
  void SetFilterGroups(const std::shared_ptr<CProviderViewFilterGroups>& value) {
    filterGroups_ = value;
  }
  std::shared_ptr<CProviderViewNotifiers> Notifiers() const;

  // Held weakly and never persisted: the host owns both.
  std::shared_ptr<IProviderInfo> ProviderInfo() const { return providerInfo_.lock(); }
  void SetProviderInfo(const std::shared_ptr<IProviderInfo>& value) { providerInfo_ = value; }
  std::shared_ptr<IObject> UiControl() const { return uiControl_.lock(); }
  void SetUiControl(const std::shared_ptr<IObject>& value) { uiControl_ = value; }

  // The condition of the view's own filter groups against a provider's column set, as
  // FilterGroupsSql gives it (columns named by GUID; its errors).
  std::string FilterSql(const CProviderColDefs& p_Columns, e_FilterPrefixType p_PrefixType) const;
  FilterSqlParameters FilterSqlParameterized(const CProviderColDefs& p_Columns,
                                             e_FilterPrefixType p_PrefixType) const;

  // True while the view has a notifier.
  bool NotificationView() const;
  [[noreturn]] void SetNotificationView(bool value);

  // The own flag, the columns' or the sort order's; filter groups and notifiers do not
  // count. Setting reaches the columns and the sort order.
  bool IsDirty() const;
  void SetIsDirty(bool value);

  // An independent copy through the stored form: same Guid, no references, unpersisted
  // flags at their defaults.
  std::shared_ptr<CProviderView> Clone() const;

  // Core record, columns (visible ones, without widths), sort order and filter groups.
  std::string ContentIdForAutoSave() const;
  // Columns as for auto-save, and filter groups: what changes the records shown.
  std::string ContentIdForDirtyCheck() const;

  // Empty recordsets over a throw-away in-memory table: one text column per view
  // column (hidden ones included), or the record GUID column only.
  std::shared_ptr<Recordset> EmptyRecordset() const;
  std::shared_ptr<Recordset> RecordGuidRecordset() const;

  void AppendContentString3(StringBuilder& po_StringBuilder) const override;
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  void WriteCore(PropertyBag& bag) const;
  void MarkDirty();

  mutable std::string guid_;
  std::string caption_ = "New View";
  int32_t paperSpan_ = 1;
  std::string templateGuid_;
  std::string filterGuid_;
  std::string privateToGuid_;
  bool standardView_ = false;
  bool allColumnsView_ = false;
  int32_t updateCounter_ = 0;
  std::string providerGuid_;
  int32_t version_ = kCurrentVersion;
  bool pauseFilters_ = false;
  mutable std::shared_ptr<CProviderViewCols> columns_;
  mutable std::shared_ptr<CProviderViewColsSort> sortOrder_;
  mutable std::shared_ptr<CProviderViewFilterGroups> filterGroups_;
  mutable std::shared_ptr<CProviderViewNotifiers> notifiers_;
  bool temporary_ = false;
  bool fixed_ = false;
  std::weak_ptr<IProviderInfo> providerInfo_;
  std::weak_ptr<IObject> uiControl_;
  bool isDirty_ = false;
  bool initialised_ = false;  // set once loaded; only then do setters mark the view dirty
};

class PRVDRINFO_API CProviderViewFactory {
 public:
  std::shared_ptr<CProviderView> CreateProviderView() const;
};

}  // namespace prvdrinfo
