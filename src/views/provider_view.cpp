#include "foundation/internal/class_registration.h"
#include "prvdrinfo/views/provider_view.h"

#include "foundation/internal/content_parts.h"
#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kGuid{"TALJ6HUJJFFUUATQ3BHEI7YQH", "CProviderView.Guid"};
constexpr ErrorSite kCaption{"RICE7L5GP5Z0O5ZL50WDO4V09", "CProviderView.Caption"};
constexpr ErrorSite kPaperSpan{"A7H3UUGGQTG00E7K1NOUWO3N6", "CProviderView.PaperSpan"};
constexpr ErrorSite kNotificationView{"1B7ENOX6BVA8IIKF2XB8K8Z5T",
                                      "CProviderView.NotificationView"};
constexpr ErrorSite kCollection{"ABB1S4AX1HFFP0X9CG7RIGZBM", "CProviderView.Columns"};
constexpr ErrorSite kClone{"1I3Z5OPP2XC59BO3ETGNFFWXH", "CProviderView.Clone"};
constexpr ErrorSite kContent{"UNB7MMJOUXOC9LMVKR6GCQ97T", "CProviderView.AppendContentString3"};
constexpr ErrorSite kAutoSave{"9EDGYHRREZI1JF69AM2O3LYW2", "CProviderView.ContentIdForAutoSave"};
constexpr ErrorSite kDirtyCheck{"X7SQE6EH4G2ZZ3OBV8ZXIWSJJ",
                                "CProviderView.ContentIdForDirtyCheck"};
constexpr ErrorSite kLocal{"KN0X40EGSCZCOSX0LDLDPPAFT", "CProviderView.EmptyRecordset"};
constexpr ErrorSite kWrite{"WNOFRGNKX07EIMG5BPB4KQYRR", "CProviderView.Class_WriteProperties"};
constexpr ErrorSite kRead{"Q2C7M5XKZ0P3V8RTB1NWJ4HLA", "CProviderView.Class_ReadProperties"};

// A throw-away in-memory table with the given column list, and its (empty) recordset.
std::shared_ptr<Recordset> LocalRecordset(const std::string& columnList) {
  const auto connection = Connection::CreateMemory();
  try {
    connection->Execute("create table local_records (" + columnList);
  } catch (const CError&) {
    kLocal.Raise(err::kObjectErrorBase, "Could not create local view table.");
  }
  return connection->OpenRecordset("SELECT * FROM local_records");
}

// A collection read leniently: one that cannot be read leaves the member as it was.
template <class T>
void ReadLeniently(const PropertyBag& bag, const char* key, std::shared_ptr<T>& member) {
  try {
    member = bag.ReadObject<T>(key);
  } catch (const CError&) {
  }
}
}  // namespace

CProviderView::CProviderView() = default;

std::string CProviderView::Guid() const {
  return kGuid.Guard([&] {
    if (TextService::IsEmpty(guid_)) guid_ = GuidService::NewGuid();
    return guid_;
  });
}

void CProviderView::MarkDirty() {
  // A view that was never loaded becomes dirty through its collections or explicitly.
  if (initialised_) isDirty_ = true;
}

void CProviderView::SetCaption(const std::string& value) {
  kCaption.Guard([&] {
    std::string caption = TextService::CleanCaption(value);
    if (caption.empty()) kCaption.Raise(err::kInvalidProcedureCall, "View caption is required.");
    if (caption != caption_) MarkDirty();
    caption_.swap(caption);
  });
}

void CProviderView::SetPaperSpan(int32_t value) {
  if (value < 1)
    kPaperSpan.Raise(err::kInvalidProcedureCall, "PaperSpan must be greater than zero.");
  if (value != paperSpan_) MarkDirty();
  paperSpan_ = value;
}

void CProviderView::SetTemplateGuid(const std::string& value) {
  if (value != templateGuid_) MarkDirty();
  templateGuid_ = value;
}

void CProviderView::SetFilterGuid(const std::string& value) {
  if (value != filterGuid_) MarkDirty();
  filterGuid_ = value;
}

std::shared_ptr<CProviderViewCols> CProviderView::Columns() const {
  if (columns_) return columns_;
  return kCollection.Guard([&] {
    auto columns = std::make_shared<CProviderViewCols>();
    // Seeding the standard columns is no change of the user's.
    columns->SetIsDirty(false);
    columns_ = std::move(columns);
    return columns_;
  });
}

std::shared_ptr<CProviderViewColsSort> CProviderView::SortOrder() const {
  if (!sortOrder_) sortOrder_ = std::make_shared<CProviderViewColsSort>();
  return sortOrder_;
}

std::shared_ptr<CProviderViewFilterGroups> CProviderView::FilterGroups() const {
  if (!filterGroups_) filterGroups_ = std::make_shared<CProviderViewFilterGroups>();
  return filterGroups_;
}

std::shared_ptr<CProviderViewNotifiers> CProviderView::Notifiers() const {
  if (!notifiers_) notifiers_ = std::make_shared<CProviderViewNotifiers>();
  return notifiers_;
}

std::string CProviderView::FilterSql(const CProviderColDefs& p_Columns,
                                     e_FilterPrefixType p_PrefixType) const {
  return FilterGroupsSql(*FilterGroups(), p_Columns, p_PrefixType);
}

FilterSqlParameters CProviderView::FilterSqlParameterized(const CProviderColDefs& p_Columns,
                                                          e_FilterPrefixType p_PrefixType) const {
  return FilterGroupsSqlParameterized(*FilterGroups(), p_Columns, p_PrefixType);
}

bool CProviderView::NotificationView() const { return Notifiers()->Count() > 0; }

void CProviderView::SetNotificationView(bool) {
  kNotificationView.Raise(err::kInvalidProcedureCall, "Deprecated.");
}

bool CProviderView::IsDirty() const {
  return isDirty_ || Columns()->IsDirty() || SortOrder()->IsDirty();
}

void CProviderView::SetIsDirty(bool value) {
  isDirty_ = value;
  Columns()->SetIsDirty(value);
  SortOrder()->SetIsDirty(value);
}

std::shared_ptr<CProviderView> CProviderView::Clone() const {
  return kClone.Guard([&] {
    auto copy = std::make_shared<CProviderView>();
    copy->DeserializeV(SerializeV());
    return copy;
  });
}

void CProviderView::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder, [&](PropertyBag& bag) { WriteCore(bag); });
    Columns()->AppendContentString3(po_StringBuilder);
    SortOrder()->AppendContentString3(po_StringBuilder);
    FilterGroups()->AppendContentString3(po_StringBuilder);
  });
}

std::string CProviderView::ContentIdForAutoSave() const {
  return kAutoSave.Guard([&] {
    return content::ContentIdOfRendered([&](StringBuilder& builder) {
      content::AppendProperties(builder, [&](PropertyBag& bag) { WriteCore(bag); });
      content::AppendContentId(builder, Columns()->ContentIdForAutoSave());
      content::AppendContentId(builder, SortOrder()->ContentIdForAutoSave());
      content::AppendContentId(builder, FilterGroups()->ContentIdForAutoSave());
    });
  });
}

std::string CProviderView::ContentIdForDirtyCheck() const {
  return kDirtyCheck.Guard([&] {
    return content::ContentIdOfRendered([&](StringBuilder& builder) {
      content::AppendContentId(builder, Columns()->ContentIdForAutoSave());
      content::AppendContentId(builder, FilterGroups()->ContentIdForAutoSave());
    });
  });
}

std::shared_ptr<Recordset> CProviderView::EmptyRecordset() const {
  return kLocal.Guard([&] {
    const auto columns = Columns();
    if (columns->Count() == 0)
      kLocal.Raise(err::kInvalidProcedureCall, "Must have at least one column");
    std::string list;
    for (const auto& column : *columns) {
      if (!list.empty()) list += ", ";
      list += SqlService::QuoteIdentifier(column->Guid());
      list += " TEXT ";
    }
    return LocalRecordset(list + ")");
  });
}

std::shared_ptr<Recordset> CProviderView::RecordGuidRecordset() const {
  return kLocal.Guard([&] {
    if (Columns()->Count() == 0)
      kLocal.Raise(err::kInvalidProcedureCall, "Must have at least one column");
    return LocalRecordset(CVesk::ColumnName(veskcol_RecordGuid) + " TEXT)");
  });
}

void CProviderView::WriteCore(PropertyBag& bag) const {
  bag.WriteProperty("Guid", Guid());
  bag.WriteProperty("Caption", caption_);
  bag.WriteProperty("PaperSpan", Variant(paperSpan_));
  bag.WriteProperty("TemplateGuid", templateGuid_);
  bag.WriteProperty("FilterGuid", filterGuid_);
  bag.WriteProperty("PrivateToGuid", privateToGuid_);
  bag.WriteProperty("StandardView", Variant(standardView_), Variant(false));
  bag.WriteProperty("AllColumnsView", Variant(allColumnsView_), Variant(false));
  bag.WriteProperty("UpdateCounter", Variant(updateCounter_), Variant(int32_t{1}));
  bag.WriteProperty("ProviderGuid", providerGuid_, std::string());
  bag.WriteProperty("Version", Variant(version_), Variant(int32_t{0}));
  bag.WriteProperty("PauseFilters", Variant(pauseFilters_), Variant(false));
}

void CProviderView::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    WriteCore(bag);
    bag.WriteProperty("Columns", Variant(Columns()));
    bag.WriteProperty("SortOrder", Variant(SortOrder()));
    bag.WriteProperty("FilterGroups", Variant(FilterGroups()));
    bag.WriteProperty("Notifiers", Variant(Notifiers()));
  });
}

void CProviderView::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    guid_ = bag.ReadText("Guid");
    caption_ = bag.ReadText("Caption");
    paperSpan_ = bag.ReadLong("PaperSpan", 0);
    templateGuid_ = bag.ReadText("TemplateGuid");
    filterGuid_ = bag.ReadText("FilterGuid");
    privateToGuid_ = bag.ReadText("PrivateToGuid");
    standardView_ = bag.ReadBoolean("StandardView", false);
    allColumnsView_ = bag.ReadBoolean("AllColumnsView", false);
    updateCounter_ = bag.ReadLong("UpdateCounter", 1);
    providerGuid_ = bag.ReadText("ProviderGuid");
    // Older views lack what follows, and a view that can be shown beats one that fails.
    try {
      version_ = bag.ReadLong("Version", 0);
    } catch (const CError& e) {
      CVesk::Log(kClassName,
                 "Error reading view version number for " + guid_ + ". Error: " + e.Description());
    }
    try {
      pauseFilters_ = bag.ReadBoolean("PauseFilters", false);
    } catch (const CError&) {
    }
    ReadLeniently(bag, "Columns", columns_);
    ReadLeniently(bag, "SortOrder", sortOrder_);
    ReadLeniently(bag, "FilterGroups", filterGroups_);
    ReadLeniently(bag, "Notifiers", notifiers_);
    initialised_ = true;
  });
}

std::shared_ptr<CProviderView> CProviderViewFactory::CreateProviderView() const {
  return std::make_shared<CProviderView>();
}

PRVDRINFO_REGISTER_CLASS(CProviderView)

}  // namespace prvdrinfo
