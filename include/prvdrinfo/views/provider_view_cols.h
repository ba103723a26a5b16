#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/views/provider_view_col.h"

namespace prvdrinfo {

// The ordered columns of a view, keyed by column GUID (case-insensitive). A collection
// that was not loaded from bytes starts, on first use, with the standard columns hidden
// and captioned in English (Canada); a loaded one holds exactly what was stored.
// Errors: 5 "Column already exists." (Add), 5 "Column GUID already exists in
// collection." (ChangeColumnGuid), 5 "Could not find column to move. GUID: ..."
// (MoveColumnAfterColumnByGuid), 80040000 hex "Column not in collection: ..." (Column);
// otherwise the keyed collection's own. A failed move leaves the columns as they were.
// The seeding happens in whichever member runs first, const ones included (and marks the
// collection dirty): one thread at a time, reads included.
class PRVDRINFO_API CProviderViewCols : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewCols";

  CProviderViewCols();

  std::shared_ptr<CProviderViewCol> Add(const std::string& p_Guid);
  void AddExisting(const std::shared_ptr<CProviderViewCol>& po_ViewColumnDefinition);
  void AddExistingToFront(const std::shared_ptr<CProviderViewCol>& po_ViewColumnDefinition);
  void RemoveByIndex(int32_t p_Index);
  void RemoveByGuid(const std::string& p_Guid);
  // An empty collection stays as it is, dirty flag included.
  void RemoveAll();
  // The column under the new GUID is a copy at the old one's place; the old object
  // leaves the collection.
  void ChangeColumnGuid(const std::string& p_OldGuid, const std::string& p_NewGuid);
  // Re-keys the same object; when both GUIDs are present the old column goes.
  void UpdateColumnGuidIfExists(const std::string& p_OldGuid, const std::string& p_NewGuid);
  void MoveColumnBeforeColumnByGuid(const std::string& p_MoveColumnGuid,
                                    const std::string& p_BeforeColumnGuid);
  // An absent p_AfterColumnGuid moves the column to the end.
  void MoveColumnAfterColumnByGuid(const std::string& p_MoveColumnGuid,
                                   const std::string& p_AfterColumnGuid);

  int32_t ColumnIndexByGuid(const std::string& p_Guid) const;
  bool Exists(const std::string& p_Guid) const;
  std::shared_ptr<CProviderViewCol> Column(const std::string& p_Guid) const;
  std::shared_ptr<CProviderViewCol> ColumnByIndex(int32_t p_ZeroBasedIndex) const;
  int32_t Count() const;
  // Columns that are visible and wider than 0.
  int32_t VisibleCount() const;
  std::vector<std::shared_ptr<CProviderViewCol>> Enumerator() const;
  KeyedObjects<CProviderViewCol>::const_iterator begin() const { return Columns().begin(); }
  KeyedObjects<CProviderViewCol>::const_iterator end() const { return Columns().end(); }

  // The collection's own flag or any column's; setting reaches every column.
  bool IsDirty() const;
  void SetIsDirty(bool value);

  // The visible columns' auto-save identifiers, in order, digested.
  std::string ContentIdForAutoSave() const;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedObjects<CProviderViewCol>& Columns() const;
  // A new column at the end; the collection becomes dirty. Seeding uses it too.
  std::shared_ptr<CProviderViewCol> Append(KeyedObjects<CProviderViewCol>& columns,
                                           const std::string& guid) const;

  // Null until first use or a load.
  mutable std::shared_ptr<KeyedObjects<CProviderViewCol>> columns_;
  mutable bool isDirty_ = false;  // seeding on first use marks it
};

}  // namespace prvdrinfo
