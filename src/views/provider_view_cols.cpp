#include "foundation/internal/class_registration.h"
#include "prvdrinfo/views/provider_view_cols.h"

#include "foundation/internal/content_parts.h"
#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/stock_enums.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSeed{"NXAZ31Y42K5FRR3HW649FLJ11", "CProviderViewCols.Columns"};
constexpr ErrorSite kAdd{"G6ZTVV4FQ3SXBFXYTTHRHC1RO", "CProviderViewCols.Add"};
constexpr ErrorSite kAddExisting{"1VCBLNEQVW43H1VV1671HN4R7", "CProviderViewCols.AddExisting"};
constexpr ErrorSite kAddToFront{"UGECD6FY36J7MU805SJJTKQMT",
                                "CProviderViewCols.AddExistingToFront"};
constexpr ErrorSite kRemoveByIndex{"AXRUVAYDDZSQJV9VBN0HXFHMH", "CProviderViewCols.RemoveByIndex"};
constexpr ErrorSite kRemoveByGuid{"Z3LVGRRNIZ6GSLF80PACZ1F06", "CProviderViewCols.RemoveByGuid"};
constexpr ErrorSite kRemoveAll{"79SN2DUQP9OTZZLB7967FQ1KL", "CProviderViewCols.RemoveAll"};
constexpr ErrorSite kChangeGuid{"IBPXLR1ABYSB7WBMNU8R8QPAZ", "CProviderViewCols.ChangeColumnGuid"};
constexpr ErrorSite kUpdateGuid{"DQQ7OM4EFOYRFSTWUNX5ROZT9",
                                "CProviderViewCols.UpdateColumnGuidIfExists"};
constexpr ErrorSite kMoveBefore{"NJFJN94DJJ1YVDKXM9J9HL4BC",
                                "CProviderViewCols.MoveColumnBeforeColumnByGuid"};
constexpr ErrorSite kMoveAfter{"6E4YIF48Z9L9DEURVUD3XY8MB",
                               "CProviderViewCols.MoveColumnAfterColumnByGuid"};
constexpr ErrorSite kColumn{"BZI5DCU4B7UGE7H2O9KSFKQ27", "CProviderViewCols.Column"};
constexpr ErrorSite kColumnByIndex{"IS1C449YWQLGJLSQVZE9SEB4D", "CProviderViewCols.ColumnByIndex"};
constexpr ErrorSite kContent{"VGG2MH01HUK3XA2IHTK7GKJ0C", "CProviderViewCols.AppendContentString3"};
constexpr ErrorSite kAutoSave{"54PGZ6Y8D3LDCQGU7T73K2KJW",
                              "CProviderViewCols.ContentIdForAutoSave"};
constexpr ErrorSite kWrite{"ATIOKM0GBSOB0SDCUP83JV4Q3", "CProviderViewCols.Class_WriteProperties"};
constexpr ErrorSite kRead{"SSOZVGSAQTRU2438PSHPTQDDP", "CProviderViewCols.Class_ReadProperties"};

constexpr int32_t kObjectNotSet = 91;

void RequireColumn(const ErrorSite& site, const std::shared_ptr<CProviderViewCol>& column) {
  if (!column) site.Raise(kObjectNotSet);
}
}  // namespace

CProviderViewCols::CProviderViewCols() = default;

KeyedObjects<CProviderViewCol>& CProviderViewCols::Columns() const {
  if (columns_) return *columns_;
  kSeed.Guard([&] {
    columns_ = std::make_shared<KeyedObjects<CProviderViewCol>>();
    const CProviderColDefs definitions;
    for (const auto& definition : definitions.Standard()->Enumerator()) {
      const std::string guid = definition->Guid();
      if (columns_->Exists(guid)) continue;
      const auto column = Append(*columns_, guid);
      column->SetCaption(definition->DefaultCaption(localeid_EnglishCanada));
      column->SetVisible(false);
    }
  });
  return *columns_;
}

std::shared_ptr<CProviderViewCol> CProviderViewCols::Add(const std::string& p_Guid) {
  return kAdd.Guard([&] {
    KeyedObjects<CProviderViewCol>& columns = Columns();
    if (columns.Exists(p_Guid)) kAdd.Raise(err::kInvalidProcedureCall, "Column already exists.");
    return Append(columns, p_Guid);
  });
}

std::shared_ptr<CProviderViewCol> CProviderViewCols::Append(KeyedObjects<CProviderViewCol>& columns,
                                                            const std::string& guid) const {
  auto column = std::make_shared<CProviderViewCol>();
  column->SetGuid(guid);
  columns.Add(column, guid);
  isDirty_ = true;
  return column;
}

void CProviderViewCols::AddExisting(
    const std::shared_ptr<CProviderViewCol>& po_ViewColumnDefinition) {
  kAddExisting.Guard([&] {
    RequireColumn(kAddExisting, po_ViewColumnDefinition);
    Columns().Add(po_ViewColumnDefinition, po_ViewColumnDefinition->Guid());
    isDirty_ = true;
  });
}

void CProviderViewCols::AddExistingToFront(
    const std::shared_ptr<CProviderViewCol>& po_ViewColumnDefinition) {
  kAddToFront.Guard([&] {
    RequireColumn(kAddToFront, po_ViewColumnDefinition);
    KeyedObjects<CProviderViewCol>& columns = Columns();
    if (columns.Count() == 0) {
      columns.Add(po_ViewColumnDefinition, po_ViewColumnDefinition->Guid());
    } else {
      columns.AddBefore(po_ViewColumnDefinition, po_ViewColumnDefinition->Guid(), 0);
    }
    isDirty_ = true;
  });
}

void CProviderViewCols::RemoveByIndex(int32_t p_Index) {
  kRemoveByIndex.Guard([&] { Columns().RemoveByIndex(p_Index); });
}

void CProviderViewCols::RemoveByGuid(const std::string& p_Guid) {
  kRemoveByGuid.Guard([&] { Columns().Remove(p_Guid); });
}

void CProviderViewCols::RemoveAll() {
  kRemoveAll.Guard([&] {
    KeyedObjects<CProviderViewCol>& columns = Columns();
    if (columns.Count() < 1) return;
    columns.RemoveAll();
    isDirty_ = true;
  });
}

void CProviderViewCols::ChangeColumnGuid(const std::string& p_OldGuid,
                                         const std::string& p_NewGuid) {
  kChangeGuid.Guard([&] {
    KeyedObjects<CProviderViewCol>& columns = Columns();
    if (columns.Exists(p_NewGuid)) {
      kChangeGuid.Raise(err::kInvalidProcedureCall, "Column GUID already exists in collection.");
    }
    const std::shared_ptr<CProviderViewCol> old = columns.Item(p_OldGuid);
    auto copy = std::make_shared<CProviderViewCol>();
    copy->DeserializeV(old->SerializeV());
    copy->SetGuid(p_NewGuid);
    columns.AddBefore(copy, p_NewGuid, columns.IndexOfKey(p_OldGuid));
    columns.Remove(p_OldGuid);
  });
}

void CProviderViewCols::UpdateColumnGuidIfExists(const std::string& p_OldGuid,
                                                 const std::string& p_NewGuid) {
  kUpdateGuid.Guard([&] {
    KeyedObjects<CProviderViewCol>& columns = Columns();
    const int32_t oldIndex = columns.IndexOfKey(p_OldGuid);
    if (oldIndex < 0) return;
    // GUIDs differing only in case name the same column: re-key it rather than drop it.
    const int32_t newIndex = columns.IndexOfKey(p_NewGuid);
    if (newIndex >= 0 && newIndex != oldIndex) {
      columns.RemoveByIndex(oldIndex);
      return;
    }
    const std::shared_ptr<CProviderViewCol> column = columns.ItemByIndex(oldIndex);
    columns.RemoveByIndex(oldIndex);
    column->SetGuid(p_NewGuid);
    if (oldIndex < columns.Count()) {
      columns.AddBefore(column, p_NewGuid, oldIndex);
    } else {
      columns.Add(column, p_NewGuid);
    }
  });
}

void CProviderViewCols::MoveColumnBeforeColumnByGuid(const std::string& p_MoveColumnGuid,
                                                     const std::string& p_BeforeColumnGuid) {
  kMoveBefore.Guard([&] {
    KeyedObjects<CProviderViewCol>& columns = Columns();
    // Both looked up before anything moves, so a missing GUID cannot lose the column.
    const std::shared_ptr<CProviderViewCol> column = columns.Item(p_MoveColumnGuid);
    columns.Item(p_BeforeColumnGuid);
    isDirty_ = true;
    if (columns.IndexOfKey(p_MoveColumnGuid) == columns.IndexOfKey(p_BeforeColumnGuid)) return;
    const std::string key = columns.KeyByIndex(columns.IndexOfKey(p_MoveColumnGuid));
    columns.Remove(p_MoveColumnGuid);
    columns.AddBefore(column, key, columns.IndexOfKey(p_BeforeColumnGuid));
  });
}

void CProviderViewCols::MoveColumnAfterColumnByGuid(const std::string& p_MoveColumnGuid,
                                                    const std::string& p_AfterColumnGuid) {
  kMoveAfter.Guard([&] {
    KeyedObjects<CProviderViewCol>& columns = Columns();
    if (!columns.Exists(p_MoveColumnGuid)) {
      CVesk::Log(kClassName, "Missing 'move' column GUID: " + p_MoveColumnGuid);
      kMoveAfter.Raise(err::kInvalidProcedureCall,
                       "Could not find column to move. GUID: " + p_MoveColumnGuid);
    }
    isDirty_ = true;
    // Moving a column after itself leaves it where it is.
    if (columns.IndexOfKey(p_MoveColumnGuid) == columns.IndexOfKey(p_AfterColumnGuid)) return;
    const int32_t index = columns.IndexOfKey(p_MoveColumnGuid);
    const std::shared_ptr<CProviderViewCol> column = columns.ItemByIndex(index);
    const std::string key = columns.KeyByIndex(index);
    columns.RemoveByIndex(index);
    const int32_t after = columns.IndexOfKey(p_AfterColumnGuid);
    if (after >= 0) {
      columns.AddAfter(column, key, after);
    } else {
      columns.Add(column, key);
    }
  });
}

int32_t CProviderViewCols::ColumnIndexByGuid(const std::string& p_Guid) const {
  return Columns().IndexOfKey(p_Guid);
}

bool CProviderViewCols::Exists(const std::string& p_Guid) const { return Columns().Exists(p_Guid); }

std::shared_ptr<CProviderViewCol> CProviderViewCols::Column(const std::string& p_Guid) const {
  return kColumn.Guard([&] {
    const KeyedObjects<CProviderViewCol>& columns = Columns();
    if (!columns.Exists(p_Guid))
      kColumn.Raise(err::kObjectErrorBase, "Column not in collection: " + p_Guid);
    return columns.Item(p_Guid);
  });
}

std::shared_ptr<CProviderViewCol> CProviderViewCols::ColumnByIndex(int32_t p_ZeroBasedIndex) const {
  return kColumnByIndex.Guard([&] { return Columns().ItemByIndex(p_ZeroBasedIndex); });
}

int32_t CProviderViewCols::Count() const { return Columns().Count(); }

int32_t CProviderViewCols::VisibleCount() const {
  int32_t count = 0;
  for (const auto& column : Columns()) {
    if (column->Visible() && column->WidthTwips() > 0) ++count;
  }
  return count;
}

std::vector<std::shared_ptr<CProviderViewCol>> CProviderViewCols::Enumerator() const {
  return Columns().Snapshot();
}

bool CProviderViewCols::IsDirty() const {
  const KeyedObjects<CProviderViewCol>& columns = Columns();
  if (isDirty_) return true;
  for (const auto& column : columns) {
    if (column->IsDirty()) return true;
  }
  return false;
}

void CProviderViewCols::SetIsDirty(bool value) {
  const KeyedObjects<CProviderViewCol>& columns = Columns();
  isDirty_ = value;
  for (const auto& column : columns) column->SetIsDirty(value);
}

std::string CProviderViewCols::ContentIdForAutoSave() const {
  return kAutoSave.Guard([&] {
    return content::ContentIdOfRendered([&](StringBuilder& builder) {
      for (const auto& column : Columns()) {
        if (column->Visible()) content::AppendContentId(builder, column->ContentIdForAutoSave());
      }
    });
  });
}

void CProviderViewCols::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendEach(po_StringBuilder, Columns()); });
}

void CProviderViewCols::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { Columns().WriteTo(bag, "Columns"); });
}

void CProviderViewCols::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    auto loaded = std::make_shared<KeyedObjects<CProviderViewCol>>();
    loaded->ReadFrom(bag, "Columns");
    columns_ = std::move(loaded);
  });
}

PRVDRINFO_REGISTER_CLASS(CProviderViewCols)

}  // namespace prvdrinfo
