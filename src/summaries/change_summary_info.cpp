#include "foundation/internal/class_registration.h"
#include "prvdrinfo/summaries/change_summary_info.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"GWQIJ6GAM1A059VUB316YVJ11", "CChangeSummaryInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"UL8XHI5PJ64LYUR68VGLP4VJL", "CChangeSummaryInfo.Class_ReadProperties"};
}  // namespace

void CChangeSummaryInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Count", count_, int32_t{0});
    bag.WriteProperty("Value", value_, Currency{});
    bag.WriteProperty("ReasonAbbreviation", reasonAbbreviation_, std::string());
    bag.WriteProperty("ReasonTitle", reasonTitle_, std::string());
    bag.WriteProperty("ReasonGuid", reasonGuid_, std::string());
  });
}

void CChangeSummaryInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    count_ = bag.ReadLong("Count", 0);
    value_ = bag.ReadCurrency("Value", Currency{});
    reasonAbbreviation_ = bag.ReadText("ReasonAbbreviation", "");
    reasonTitle_ = bag.ReadText("ReasonTitle", "");
    reasonGuid_ = bag.ReadText("ReasonGuid", "");
  });
}

std::shared_ptr<CChangeSummaryInfo> CChangeSummaryInfoFcty::CreateChangeSummaryInfo() const {
  return std::make_shared<CChangeSummaryInfo>();
}

std::shared_ptr<CChangeSummaryInfo2> CChangeSummaryInfoFcty::CreateChangeSummaryInfo2() const {
  return std::make_shared<CChangeSummaryInfo2>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CChangeSummaryInfo)
}  // namespace prvdrinfo
