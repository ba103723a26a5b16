#include "foundation/internal/class_registration.h"
#include "prvdrinfo/tables/index_def.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"T80KT2M6XQ0W21X4T3GIXEE3T", "CIndexDef.Class_WriteProperties"};
constexpr ErrorSite kRead{"7KU0CP09CQUAYXA520HRVGKTL", "CIndexDef.Class_ReadProperties"};
constexpr const char* kColumnsKey = "ColumnDefinitions";
}  // namespace

std::shared_ptr<CColumnDefs> CIndexDef::Columns() const {
  if (!columns_) columns_ = std::make_shared<CColumnDefs>();
  return columns_;
}

void CIndexDef::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { bag.WriteProperty(kColumnsKey, Variant(Columns())); });
}

void CIndexDef::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { columns_ = bag.ReadObject<CColumnDefs>(kColumnsKey); });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CIndexDef)
}  // namespace prvdrinfo
