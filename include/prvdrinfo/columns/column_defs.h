#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/base_column_def.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

class CProviderColDefs;

// An ordered set of column definitions keyed by their Guid (letter case ignored), stored
// and computed columns side by side. Serialized columns come back as their own class.
// The keyed-collection errors pass on unchanged: 457 for a Guid already present, 5 for an
// unknown Guid, 9 for a position out of range.
class PRVDRINFO_API CColumnDefs : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CColumnDefs";

  CColumnDefs();

  // Walks the columns in order.
  using const_iterator = KeyedObjects<IBaseColumnDef>::const_iterator;
  const_iterator begin() const { return columns_.begin(); }
  const_iterator end() const { return columns_.end(); }
  // The columns in order, as a list that later changes to the collection leave alone.
  std::vector<std::shared_ptr<IBaseColumnDef>> Enumerator() const;

  // Appends the column under its Guid. The column must be a library object (a stored or
  // computed column, or another persistable IObject), else 13.
  void AddExisting(const std::shared_ptr<IBaseColumnDef>& po_ColumnDef);
  // Inserts the column under its Guid right after the column keyed p_AddAfterGuid.
  void AddExistingAfterGuid(const std::shared_ptr<IBaseColumnDef>& po_ColumnDef,
                            const std::string& p_AddAfterGuid);
  void Remove(const std::string& p_Guid);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll();
  // An unknown Guid fails with the context "Passed GUID: " and the Guid.
  std::shared_ptr<IBaseColumnDef> Item(const std::string& p_Guid) const;
  std::shared_ptr<IBaseColumnDef> ItemByIndex(int32_t p_ZeroBasedIndex) const;
  int32_t Count() const;
  bool ExistsByGuid(const std::string& p_Guid) const;

  // The members' content strings in order, nothing between them.
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Every stored item must be a column, else 13 and the collection stays as it was.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  friend class CProviderColDefs;

  KeyedObjects<IBaseColumnDef> columns_;  // under the Guid each column had when added
};

class PRVDRINFO_API CColumnDefsFactory {
 public:
  std::shared_ptr<CColumnDefs> CreateColumnDefs() const;
};

}  // namespace prvdrinfo
