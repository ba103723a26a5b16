#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/text_service.h"
#include "prvdrinfo/foundation/error.h"

// The setter rules that a division's numbering and names follow wherever a division is
// described (CDivisionInfo, CDivisionSummaryInfo). Each raises 5 at the caller's site.
namespace prvdrinfo::division_rules {

inline constexpr const char* kMainNumberOutOfRange = "Main Division number out of range.";
inline constexpr const char* kMinimumOutOfRange = "Minimum secondary division number out of range.";
inline constexpr const char* kMaximumOutOfRange = "Maximum Secondary Division number out of range.";
inline constexpr const char* kAbbreviationRequired = "Division Abbreviation required.";
inline constexpr const char* kTitleRequired = "Division Title required.";

// Numbers start at 0; no order between minimum and maximum is imposed.
inline int32_t CheckedNumber(const ErrorSite& site, int32_t value, const char* message) {
  if (value < 0) site.Raise(err::kInvalidProcedureCall, message);
  return value;
}

// The caption clean-up; a result with nothing left in it is refused.
inline std::string CleanedName(const ErrorSite& site, std::string_view value, const char* message) {
  std::string cleaned = TextService::CleanCaption(value);
  if (TextService::IsEmpty(cleaned)) site.Raise(err::kInvalidProcedureCall, message);
  return cleaned;
}

}  // namespace prvdrinfo::division_rules
