#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/tables/index_def.h"
#include "prvdrinfo/tables/unique_indexes.h"

namespace prvdrinfo {

// A table's primary key together with its unique indexes. Both are created empty on
// first access (a save reads both): one thread at a time, reads included.
class PRVDRINFO_API CIndexDefs : public CPersistable {
 public:
  static constexpr const char* kClassName = "CIndexDefs";

  std::shared_ptr<CUniqueIndexes> Unique() const;
  std::shared_ptr<CIndexDef> PrimaryKey() const;

  std::string ClassName() const override { return kClassName; }
  // "UniqueIndexes", then "PrimaryKey", each as a nested object.
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  mutable std::shared_ptr<CUniqueIndexes> unique_;
  mutable std::shared_ptr<CIndexDef> primaryKey_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

}  // namespace prvdrinfo
