#include "prvdrinfo/providers/division_fields.h"

#include <string_view>

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSetMain{"2IVAEEZIHJ9BCJ8I3LJVQJOHL", "Division.MainNumber"};
constexpr ErrorSite kSetMinimum{"L3FHDI83RYQBVEQOUKKHVGNOU", "Division.MinimumSecondaryNumber"};
constexpr ErrorSite kSetMaximum{"IB3J78J7DM8EMM6XEFIAATYIS", "Division.MaximumSecondaryNumber"};
constexpr ErrorSite kSetAbbreviation{"FKW3BBIXH0UG6E4CIS6RP91YB", "Division.Abbreviation"};
constexpr ErrorSite kSetTitle{"UNX786H8MTS6ATN22QGY6ISFC", "Division.Title"};
constexpr ErrorSite kWrite{"WA7LWZ9CW2YYVMTFB35RLVX2G", "Division.WriteProperties"};
constexpr ErrorSite kRead{"E04GE83X3ECY6NXUV6SIP73YI", "Division.ReadProperties"};

int32_t CheckedNumber(const ErrorSite& site, int32_t value, const char* message) {
  if (value < 0) site.Raise(err::kInvalidProcedureCall, message);
  return value;
}

// The caption clean-up; a result with nothing left in it is refused.
std::string CleanedName(const ErrorSite& site, std::string_view value, const char* message) {
  std::string cleaned = TextService::CleanCaption(value);
  if (TextService::IsEmpty(cleaned)) site.Raise(err::kInvalidProcedureCall, message);
  return cleaned;
}
}  // namespace

void DivisionFields::SetMainNumber(int32_t value) {
  kSetMain.Guard(
      [&] { mainNumber_ = CheckedNumber(kSetMain, value, "Main Division number out of range."); });
}

void DivisionFields::SetMinimumSecondaryNumber(int32_t value) {
  kSetMinimum.Guard([&] {
    minimumSecondaryNumber_ =
        CheckedNumber(kSetMinimum, value, "Minimum secondary division number out of range.");
  });
}

void DivisionFields::SetMaximumSecondaryNumber(int32_t value) {
  kSetMaximum.Guard([&] {
    maximumSecondaryNumber_ =
        CheckedNumber(kSetMaximum, value, "Maximum Secondary Division number out of range.");
  });
}

void DivisionFields::SetAbbreviation(const std::string& value) {
  kSetAbbreviation.Guard([&] {
    abbreviation_ = CleanedName(kSetAbbreviation, value, "Division Abbreviation required.");
  });
}

void DivisionFields::SetTitle(const std::string& value) {
  kSetTitle.Guard([&] { title_ = CleanedName(kSetTitle, value, "Division Title required."); });
}

void DivisionFields::WriteDivisionFields(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Abbreviation", abbreviation_);
    bag.WriteProperty("Title", title_);
    bag.WriteProperty("MainNumber", mainNumber_);
    bag.WriteProperty("MinimumSecondaryNumber", minimumSecondaryNumber_);
    bag.WriteProperty("MaximumSecondaryNumber", maximumSecondaryNumber_);
  });
}

void DivisionFields::ReadDivisionFields(const PropertyBag& bag) {
  kRead.Guard([&] {
    abbreviation_ = bag.ReadText("Abbreviation");
    title_ = bag.ReadText("Title");
    mainNumber_ = bag.ReadLong("MainNumber");
    minimumSecondaryNumber_ = bag.ReadLong("MinimumSecondaryNumber");
    maximumSecondaryNumber_ = bag.ReadLong("MaximumSecondaryNumber");
  });
}

}  // namespace prvdrinfo
