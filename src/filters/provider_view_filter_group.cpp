#include "foundation/internal/class_registration.h"
#include "prvdrinfo/filters/provider_view_filter_group.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"9OG33GIR7UGANAJCN64J2I1Y4", "CProviderViewFilterGroup.Add"};
constexpr ErrorSite kRemoveByGuid{"DUQEZV6H4PCBTDV4V1MBNNZRI",
                                  "CProviderViewFilterGroup.RemoveByGuid"};
constexpr ErrorSite kRemoveByIndex{"BDOGL6OJLAJVRUJV3NW954G24",
                                   "CProviderViewFilterGroup.RemoveByIndex"};
constexpr ErrorSite kByIndex{"LQSKZ32CU2B76Q9AYI4PZ42U9",
                             "CProviderViewFilterGroup.FilterGroupItemByIndex"};
constexpr ErrorSite kWrite{"3V0HSX28Y6H0P7RXQU6HROHM3",
                           "CProviderViewFilterGroup.Class_WriteProperties"};
constexpr ErrorSite kRead{"5CIGRF44G01S1K7CY8UF3F779",
                          "CProviderViewFilterGroup.Class_ReadProperties"};
constexpr ErrorSite kContent{"4AKOG1QHF6R6CY25Z18GXL8W5",
                             "CProviderViewFilterGroup.AppendContentString3"};
}  // namespace

std::shared_ptr<CProviderViewFilterItem> CProviderViewFilterGroup::Add(
    const std::string& p_ProviderColumnGuid, const std::string& p_Criteria,
    e_FilterLogicalOperator p_LogicalOperator) {
  return Add3(p_ProviderColumnGuid, operator_Equals, p_Criteria, p_LogicalOperator,
              filterfunction_None);
}

std::shared_ptr<CProviderViewFilterItem> CProviderViewFilterGroup::Add2(
    const std::string& p_ProviderColumnGuid, e_FilterItemOperator p_Operator,
    const std::string& p_Criteria, e_FilterLogicalOperator p_LogicalOperator) {
  return Add3(p_ProviderColumnGuid, p_Operator, p_Criteria, p_LogicalOperator, filterfunction_None);
}

std::shared_ptr<CProviderViewFilterItem> CProviderViewFilterGroup::Add3(
    const std::string& p_ProviderColumnGuid, e_FilterItemOperator p_Operator,
    const std::string& p_Criteria, e_FilterLogicalOperator p_LogicalOperator,
    e_FilterItemFunction p_FilterFunction) {
  return kAdd.Guard([&] {
    auto item = std::make_shared<CProviderViewFilterItem>();
    item->SetProviderColumnGuid(p_ProviderColumnGuid);
    item->SetOperator(p_Operator);
    item->SetCriteria(p_Criteria);
    item->SetLogicalOperator(p_LogicalOperator);
    item->SetDbFunction(p_FilterFunction);
    items_.Add(item, item->Guid());
    return item;
  });
}

void CProviderViewFilterGroup::RemoveByGuid(const std::string& p_Guid) {
  kRemoveByGuid.Guard([&] { items_.Remove(p_Guid); });
}

void CProviderViewFilterGroup::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { items_.RemoveByIndex(p_ZeroBasedIndex); });
}

void CProviderViewFilterGroup::RemoveAll() { items_.RemoveAll(); }

std::shared_ptr<CProviderViewFilterItem> CProviderViewFilterGroup::FilterGroupItemByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return items_.ItemByIndex(p_ZeroBasedIndex); });
}

void CProviderViewFilterGroup::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("LogicalOperator", Variant(static_cast<int32_t>(logicalOperator_)));
    items_.WriteTo(bag, "FilterGroupItems");
  });
}

void CProviderViewFilterGroup::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    items_.ReadFrom(bag, "FilterGroupItems");
    logicalOperator_ = static_cast<e_FilterLogicalOperator>(bag.ReadLong("LogicalOperator", 0));
  });
}

void CProviderViewFilterGroup::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder, [&](PropertyBag& head) {
      head.WriteProperty("LogicalOperator", Variant(static_cast<int32_t>(logicalOperator_)));
    });
    content::AppendEach(po_StringBuilder, items_);
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewFilterGroup)
}  // namespace prvdrinfo
