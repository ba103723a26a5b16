#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/views/view_enums.h"

namespace prvdrinfo {

// The direction of one sort key; the key's column GUID is its key in the sort order.
// Persisted as "Direction", always written.
class PRVDRINFO_API CProviderViewColsSortItem : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewColsSortItem";

  CProviderViewColsSortItem();

  e_ColumnSortDirection Direction() const { return direction_; }
  // A different value marks the item dirty once construction or loading has finished.
  void SetDirection(e_ColumnSortDirection value);
  bool IsDirty() const { return isDirty_; }
  void SetIsDirty(bool value) { isDirty_ = value; }

  void AppendContentString3(StringBuilder& po_StringBuilder) const override;
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  e_ColumnSortDirection direction_ = colsort_Ascending;
  bool isDirty_ = false;
  bool initialised_ = false;
};

// A view's sort keys in order, keyed by column GUID (case-insensitive). Add and Prepend
// of a key already present reverse it when it keeps its place; Insert makes a key
// descending only when it goes back to the place where it stands. Errors: 5 "New and
// InsertAt GUIDs must be different." and 5 "InsertAt GUID does not exist." (Insert);
// an absent key elsewhere fails with the keyed collection's error.
// The content string is every key, "_" and its item's content string, in order.
class PRVDRINFO_API CProviderViewColsSort : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewColsSort";

  CProviderViewColsSort();

  // Marks the list dirty.
  std::shared_ptr<CProviderViewColsSortItem> Add(const std::string& p_Guid);
  // Marks the list dirty.
  std::shared_ptr<CProviderViewColsSortItem> Prepend(const std::string& p_Guid);
  // Leaves the list's own dirty flag alone.
  std::shared_ptr<CProviderViewColsSortItem> Insert(const std::string& p_Guid,
                                                    const std::string& p_InsertAtGuid,
                                                    e_InsertSortOrderPosition p_BeforeOrAfter);
  // Leaves the list's own dirty flag alone.
  void Remove(const std::string& p_Guid);
  // Marks the list dirty, also when it was empty.
  void RemoveAll();

  bool Exists(const std::string& p_Guid) const { return items_.Exists(p_Guid); }
  std::shared_ptr<CProviderViewColsSortItem> Column(const std::string& p_Guid) const;
  std::string GuidByIndex(int32_t p_ZeroBasedIndex) const;
  std::shared_ptr<CProviderViewColsSortItem> ColumnByIndex(int32_t p_ZeroBasedIndex) const;
  int32_t Count() const { return items_.Count(); }
  std::vector<std::shared_ptr<CProviderViewColsSortItem>> Enumerator() const {
    return items_.Snapshot();
  }
  KeyedObjects<CProviderViewColsSortItem>::const_iterator begin() const { return items_.begin(); }
  KeyedObjects<CProviderViewColsSortItem>::const_iterator end() const { return items_.end(); }

  // The list's own flag or any item's. Setting False clears the items too; setting
  // True leaves them alone.
  bool IsDirty() const;
  void SetIsDirty(bool value);

  std::string ContentIdForAutoSave() const { return ContentId(); }
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedObjects<CProviderViewColsSortItem> items_;
  bool isDirty_ = false;
};

class PRVDRINFO_API CProviderViewColsSortF {
 public:
  std::shared_ptr<CProviderViewColsSort> CreateViewColsSort() const;
};

}  // namespace prvdrinfo
