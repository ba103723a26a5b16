#include "foundation/internal/class_registration.h"
#include "prvdrinfo/summaries/cert_summary_info.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"3R2I74U9QTINBD2NRF3866OS5", "CCertSummaryInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"NYQ9LIMIM8M2DI4SJR9H1PF8M", "CCertSummaryInfo.Class_ReadProperties"};
}  // namespace

void CCertSummaryInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("ContractsWorkToDate", contractsWorkToDate_, Currency{});
    bag.WriteProperty("ChangesWorkToDate", changesWorkToDate_, Currency{});
    bag.WriteProperty("PayableToDate", payableToDate_, Currency{});
    bag.WriteProperty("RevisedContract", revisedContract_, Currency{});
    bag.WriteProperty("Number", number_, std::string());
  });
}

void CCertSummaryInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    contractsWorkToDate_ = bag.ReadCurrency("ContractsWorkToDate", Currency{});
    changesWorkToDate_ = bag.ReadCurrency("ChangesWorkToDate", Currency{});
    payableToDate_ = bag.ReadCurrency("PayableToDate", Currency{});
    revisedContract_ = bag.ReadCurrency("RevisedContract", Currency{});
    number_ = bag.ReadText("Number", "");
  });
}

std::shared_ptr<CCertSummaryInfo> CCertSummaryInfoFcty::CreateCertificateSummaryInfo() const {
  return std::make_shared<CCertSummaryInfo>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CCertSummaryInfo)
}  // namespace prvdrinfo
