#include "foundation/internal/class_registration.h"
#include "prvdrinfo/providers/descend_menu_item.h"

#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kInitialize{"4JR4OA0SWQW0XTYY00DHOZ70A",
                                "CDescendMenuItem.Class_InitProperties"};
constexpr ErrorSite kWrite{"C2E00JJEEHSQ6VKV57U80IOQM", "CDescendMenuItem.Class_WriteProperties"};
constexpr ErrorSite kRead{"ATWRTFUD8YTAX5O9V3WZ1MQFV", "CDescendMenuItem.Class_ReadProperties"};
}  // namespace

CDescendMenuItem::CDescendMenuItem()
    : guid_(kInitialize.Guard([] { return GuidService::NewGuid(36, 0, true); })),
      caption_(kDefaultCaption) {}

void CDescendMenuItem::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Guid", guid_);
    bag.WriteProperty("Caption", caption_, std::string(kDefaultCaption));
    bag.WriteProperty("DescendToProviderGuid", descendToProviderGuid_);
    bag.WriteProperty("DescendToFormTypeGuid", descendToFormTypeGuid_);
  });
}

void CDescendMenuItem::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    guid_ = bag.ReadText("Guid");
    caption_ = bag.ReadText("Caption", kDefaultCaption);
    descendToProviderGuid_ = bag.ReadText("DescendToProviderGuid");
    descendToFormTypeGuid_ = bag.ReadText("DescendToFormTypeGuid");
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CDescendMenuItem)
}  // namespace prvdrinfo
