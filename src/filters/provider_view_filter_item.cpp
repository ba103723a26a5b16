#include "foundation/internal/class_registration.h"
#include "prvdrinfo/filters/provider_view_filter_item.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/services/text_service.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kGuid{"FUSO3W3BZR1F054W270PMHORG", "CProviderViewFilterItem.Guid"};
constexpr ErrorSite kWrite{"NZXRNY095RGGSLC4IDBY21FOB",
                           "CProviderViewFilterItem.Class_WriteProperties"};
constexpr ErrorSite kRead{"JJXKWL0EEZFRR87CEMFOE9K4J",
                          "CProviderViewFilterItem.Class_ReadProperties"};
constexpr ErrorSite kContent{"X5BS7RQ20GN002UR1Q9TNW8OK",
                             "CProviderViewFilterItem.AppendContentString3"};
}  // namespace

const std::string& CProviderViewFilterItem::Guid() const {
  return kGuid.Guard([&]() -> const std::string& {
    if (TextService::IsEmpty(guid_)) guid_ = GuidService::NewGuid();
    return guid_;
  });
}

void CProviderViewFilterItem::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("ProviderColumnGuid", Variant(providerColumnGuid_));
    bag.WriteProperty("Criteria", Variant(criteria_));
    bag.WriteProperty("LogicalOperator", Variant(static_cast<int32_t>(logicalOperator_)));
    bag.WriteProperty("Guid", Variant(guid_));
    bag.WriteProperty("Operator", Variant(static_cast<int32_t>(operator_)));
    bag.WriteProperty("DbFunction", Variant(static_cast<int32_t>(dbFunction_)));
    bag.WriteProperty("UiGuid", Variant(uiGuid_));
  });
}

void CProviderViewFilterItem::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    providerColumnGuid_ = bag.ReadText("ProviderColumnGuid", "");
    criteria_ = bag.ReadText("Criteria", "");
    logicalOperator_ = static_cast<e_FilterLogicalOperator>(bag.ReadLong("LogicalOperator", 0));
    guid_ = bag.ReadText("Guid", "");
    operator_ = static_cast<e_FilterItemOperator>(bag.ReadLong("Operator", 0));
    dbFunction_ = static_cast<e_FilterItemFunction>(bag.ReadLong("DbFunction", 0));
    uiGuid_ = bag.ReadText("UiGuid", "");
  });
}

void CProviderViewFilterItem::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewFilterItem)
}  // namespace prvdrinfo
