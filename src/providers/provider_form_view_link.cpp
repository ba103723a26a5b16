#include "foundation/internal/class_registration.h"
#include "prvdrinfo/providers/provider_form_view_link.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"ZXNUOU9XMOPJULUR9ALB0Q62D",
                           "CProviderFormViewLink.Class_WriteProperties"};
constexpr ErrorSite kRead{"WPW03YJ672JJJEX3BW8HEMXGW",
                          "CProviderFormViewLink.Class_ReadProperties"};
constexpr ErrorSite kContent{"KXIFTXEZPO9FL8DDX97KGSHJ5",
                             "CProviderFormViewLink.AppendContentString3"};
}  // namespace

void CProviderFormViewLink::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("ViewProviderGuid", viewProviderGuid_, std::string());
    bag.WriteProperty("ViewGuid", viewGuid_, std::string());
  });
}

void CProviderFormViewLink::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    viewProviderGuid_ = bag.ReadText("ViewProviderGuid", "");
    viewGuid_ = bag.ReadText("ViewGuid", "");
  });
}

void CProviderFormViewLink::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderFormViewLink)
}  // namespace prvdrinfo
