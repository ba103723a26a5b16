#include "prvdrinfo/providers/division_info.h"

#include "providers/division_rules.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSetMain{"2IVAEEZIHJ9BCJ8I3LJVQJOHL", "CDivisionInfo.MainNumber"};
constexpr ErrorSite kSetMinimum{"L3FHDI83RYQBVEQOUKKHVGNOU",
                                "CDivisionInfo.MinimumSecondaryNumber"};
constexpr ErrorSite kSetMaximum{"IB3J78J7DM8EMM6XEFIAATYIS",
                                "CDivisionInfo.MaximumSecondaryNumber"};
constexpr ErrorSite kSetAbbreviation{"FKW3BBIXH0UG6E4CIS6RP91YB", "CDivisionInfo.Abbreviation"};
constexpr ErrorSite kSetTitle{"UNX786H8MTS6ATN22QGY6ISFC", "CDivisionInfo.Title"};
constexpr ErrorSite kWrite{"WA7LWZ9CW2YYVMTFB35RLVX2G", "CDivisionInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"E04GE83X3ECY6NXUV6SIP73YI", "CDivisionInfo.Class_ReadProperties"};
constexpr ErrorSite kCreate{"9EFT075QEF0OITA0GP5CAOCBR", "CDivisionInfoFactory.CreateDivisionInfo"};
}  // namespace

void CDivisionInfo::SetMainNumber(int32_t value) {
  kSetMain.Guard([&] {
    mainNumber_ =
        division_rules::CheckedNumber(kSetMain, value, division_rules::kMainNumberOutOfRange);
  });
}

void CDivisionInfo::SetMinimumSecondaryNumber(int32_t value) {
  kSetMinimum.Guard([&] {
    minimumSecondaryNumber_ =
        division_rules::CheckedNumber(kSetMinimum, value, division_rules::kMinimumOutOfRange);
  });
}

void CDivisionInfo::SetMaximumSecondaryNumber(int32_t value) {
  kSetMaximum.Guard([&] {
    maximumSecondaryNumber_ =
        division_rules::CheckedNumber(kSetMaximum, value, division_rules::kMaximumOutOfRange);
  });
}

void CDivisionInfo::SetAbbreviation(const std::string& value) {
  kSetAbbreviation.Guard([&] {
    abbreviation_ =
        division_rules::CleanedName(kSetAbbreviation, value, division_rules::kAbbreviationRequired);
  });
}

void CDivisionInfo::SetTitle(const std::string& value) {
  kSetTitle.Guard([&] {
    title_ = division_rules::CleanedName(kSetTitle, value, division_rules::kTitleRequired);
  });
}

void CDivisionInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Abbreviation", abbreviation_);
    bag.WriteProperty("Title", title_);
    bag.WriteProperty("MainNumber", mainNumber_);
    bag.WriteProperty("MinimumSecondaryNumber", minimumSecondaryNumber_);
    bag.WriteProperty("MaximumSecondaryNumber", maximumSecondaryNumber_);
  });
}

void CDivisionInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    abbreviation_ = bag.ReadText("Abbreviation");
    title_ = bag.ReadText("Title");
    mainNumber_ = bag.ReadLong("MainNumber");
    minimumSecondaryNumber_ = bag.ReadLong("MinimumSecondaryNumber");
    maximumSecondaryNumber_ = bag.ReadLong("MaximumSecondaryNumber");
  });
}

std::shared_ptr<CDivisionInfo> CDivisionInfoFactory::CreateDivisionInfo() const {
  return kCreate.Guard([] { return std::make_shared<CDivisionInfo>(); });
}

}  // namespace prvdrinfo
