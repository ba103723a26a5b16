#include "foundation/internal/class_registration.h"
#include "prvdrinfo/tables/index_defs.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"X9A2D5G8J1L4O7R0U3W6Z9C2F", "CIndexDefs.Class_WriteProperties"};
constexpr ErrorSite kRead{"M6P9S2V5Y8B1E4H7K0N3Q6T9W", "CIndexDefs.Class_ReadProperties"};
constexpr const char* kUniqueKey = "UniqueIndexes";
constexpr const char* kPrimaryKeyKey = "PrimaryKey";
}  // namespace

std::shared_ptr<CUniqueIndexes> CIndexDefs::Unique() const {
  if (!unique_) unique_ = std::make_shared<CUniqueIndexes>();
  return unique_;
}

std::shared_ptr<CIndexDef> CIndexDefs::PrimaryKey() const {
  if (!primaryKey_) primaryKey_ = std::make_shared<CIndexDef>();
  return primaryKey_;
}

void CIndexDefs::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty(kUniqueKey, Variant(Unique()));
    bag.WriteProperty(kPrimaryKeyKey, Variant(PrimaryKey()));
  });
}

void CIndexDefs::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    unique_ = bag.ReadObject<CUniqueIndexes>(kUniqueKey);
    primaryKey_ = bag.ReadObject<CIndexDef>(kPrimaryKeyKey);
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CIndexDefs)
}  // namespace prvdrinfo
