#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/column_defs.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// One index of a provider table: its columns in index order. The columns are normally
// the very objects of the table's column set; after a round trip through bytes they are
// copies with the same Guids. Columns() creates the list on first read (a save reads it):
// one thread at a time, reads included.
class PRVDRINFO_API CIndexDef : public CPersistable {
 public:
  static constexpr const char* kClassName = "CIndexDef";

  // Created empty on first access.
  std::shared_ptr<CColumnDefs> Columns() const;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  mutable std::shared_ptr<CColumnDefs> columns_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

}  // namespace prvdrinfo
