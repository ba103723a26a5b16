#include "prvdrinfo/summaries/division_summary_info.h"

#include "providers/division_rules.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSetMain{"1PTOLO070ZN9O1LGJ9RXTOPR2", "CDivisionSummaryInfo.MainNumber"};
constexpr ErrorSite kSetMinimum{"QY6X7FKW8A66FL5KTQ66PSTR4",
                                "CDivisionSummaryInfo.MinimumSecondaryNumber"};
constexpr ErrorSite kSetMaximum{"RLXMEAXGCOSNPTQMNB2XSK83Q",
                                "CDivisionSummaryInfo.MaximumSecondaryNumber"};
constexpr ErrorSite kSetAbbreviation{"6M1XKFZ93EKCBNPS897YI9QZW",
                                     "CDivisionSummaryInfo.Abbreviation"};
constexpr ErrorSite kSetTitle{"6H5K143SW6H562AXHY1ZNV394", "CDivisionSummaryInfo.Title"};
constexpr ErrorSite kWrite{"E29F58YBMFD5Q5ZQIFQ489EYU",
                           "CDivisionSummaryInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"NUOVH98W0T8MOUXF47JMCLOCL", "CDivisionSummaryInfo.Class_ReadProperties"};
constexpr ErrorSite kCreate{"H3C66SA695JTFSCEMJLNJNA2Z",
                            "CDivisionSummaryInfoFctry.CreateDivisionSummaryInfo"};
}  // namespace

void CDivisionSummaryInfo::SetMainNumber(int32_t value) {
  kSetMain.Guard([&] {
    mainNumber_ =
        division_rules::CheckedNumber(kSetMain, value, division_rules::kMainNumberOutOfRange);
  });
}

void CDivisionSummaryInfo::SetMinimumSecondaryNumber(int32_t value) {
  kSetMinimum.Guard([&] {
    minimumSecondaryNumber_ =
        division_rules::CheckedNumber(kSetMinimum, value, division_rules::kMinimumOutOfRange);
  });
}

void CDivisionSummaryInfo::SetMaximumSecondaryNumber(int32_t value) {
  kSetMaximum.Guard([&] {
    maximumSecondaryNumber_ =
        division_rules::CheckedNumber(kSetMaximum, value, division_rules::kMaximumOutOfRange);
  });
}

void CDivisionSummaryInfo::SetAbbreviation(const std::string& value) {
  kSetAbbreviation.Guard([&] {
    abbreviation_ =
        division_rules::CleanedName(kSetAbbreviation, value, division_rules::kAbbreviationRequired);
  });
}

void CDivisionSummaryInfo::SetTitle(const std::string& value) {
  kSetTitle.Guard([&] {
    title_ = division_rules::CleanedName(kSetTitle, value, division_rules::kTitleRequired);
  });
}

void CDivisionSummaryInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Abbreviation", abbreviation_);
    bag.WriteProperty("Title", title_);
    bag.WriteProperty("MainNumber", mainNumber_);
    bag.WriteProperty("MinimumSecondaryNumber", minimumSecondaryNumber_);
    bag.WriteProperty("MaximumSecondaryNumber", maximumSecondaryNumber_);
    bag.WriteProperty("CompletedAmount", completedAmount_);
    bag.WriteProperty("ContractedAmount", contractedAmount_);
    bag.WriteProperty("Count", count_);
  });
}

void CDivisionSummaryInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    abbreviation_ = bag.ReadText("Abbreviation");
    title_ = bag.ReadText("Title");
    mainNumber_ = bag.ReadLong("MainNumber");
    minimumSecondaryNumber_ = bag.ReadLong("MinimumSecondaryNumber");
    maximumSecondaryNumber_ = bag.ReadLong("MaximumSecondaryNumber");
    contractedAmount_ = bag.ReadCurrency("ContractedAmount");
    completedAmount_ = bag.ReadCurrency("CompletedAmount");
    count_ = bag.ReadLong("Count", 0);
  });
}

std::shared_ptr<CDivisionSummaryInfo> CDivisionSummaryInfoFctry::CreateDivisionSummaryInfo() const {
  return kCreate.Guard([] { return std::make_shared<CDivisionSummaryInfo>(); });
}

}  // namespace prvdrinfo
