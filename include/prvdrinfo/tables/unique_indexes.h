#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/tables/index_def.h"

namespace prvdrinfo {

// A table's unique indexes, keyed by an index Guid the caller chooses (letter case
// ignored), in the order they were added. The keyed-collection errors pass on unchanged:
// 457 for a Guid already present, 5 for an unknown Guid, 9 for a position out of range.
class PRVDRINFO_API CUniqueIndexes : public CPersistable {
 public:
  static constexpr const char* kClassName = "CUniqueIndexes";

  std::string GuidByIndex(int32_t p_ZeroBasedIndex) const;
  // A new, empty index stored under the Guid.
  std::shared_ptr<CIndexDef> Add(const std::string& p_Guid);
  void RemoveByGuid(const std::string& p_Guid);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  // The indexes in order, as a list that later changes to the collection leave alone.
  std::vector<std::shared_ptr<CIndexDef>> Enumerator() const;
  // Empties the collection; the collection object stays the same.
  void RemoveAll();
  int32_t Count() const;
  std::shared_ptr<CIndexDef> ItemByIndex(int32_t p_ZeroBasedIndex) const;
  std::shared_ptr<CIndexDef> ItemByGuid(const std::string& p_Guid) const;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Every stored item must be an index definition, else 13 and nothing changes.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedObjects<CIndexDef> indexes_;
};

}  // namespace prvdrinfo
