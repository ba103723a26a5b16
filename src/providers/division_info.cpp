#include "foundation/internal/class_registration.h"
#include "prvdrinfo/providers/division_info.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"Z9KQ2M5XW8CT1RB4NV7HJ3LFD", "CDivisionInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"P6TW3HB9QX2LK5MZ8CR1VN4JG", "CDivisionInfo.Class_ReadProperties"};
}  // namespace

void CDivisionInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { WriteDivisionFields(bag); });
}

void CDivisionInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { ReadDivisionFields(bag); });
}

std::shared_ptr<CDivisionInfo> CDivisionInfoFactory::CreateDivisionInfo() const {
  return std::make_shared<CDivisionInfo>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CDivisionInfo)
}  // namespace prvdrinfo
