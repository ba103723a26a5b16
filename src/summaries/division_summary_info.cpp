#include "foundation/internal/class_registration.h"
#include "prvdrinfo/summaries/division_summary_info.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"E29F58YBMFD5Q5ZQIFQ489EYU",
                           "CDivisionSummaryInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"NUOVH98W0T8MOUXF47JMCLOCL", "CDivisionSummaryInfo.Class_ReadProperties"};
}  // namespace

void CDivisionSummaryInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    WriteDivisionFields(bag);
    bag.WriteProperty("CompletedAmount", completedAmount_);
    bag.WriteProperty("ContractedAmount", contractedAmount_);
    bag.WriteProperty("Count", count_);
  });
}

void CDivisionSummaryInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    ReadDivisionFields(bag);
    contractedAmount_ = bag.ReadCurrency("ContractedAmount");
    completedAmount_ = bag.ReadCurrency("CompletedAmount");
    count_ = bag.ReadLong("Count", 0);
  });
}

std::shared_ptr<CDivisionSummaryInfo> CDivisionSummaryInfoFctry::CreateDivisionSummaryInfo() const {
  return std::make_shared<CDivisionSummaryInfo>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CDivisionSummaryInfo)
}  // namespace prvdrinfo
