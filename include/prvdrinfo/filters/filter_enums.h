#pragma once

#include <cstdint>

namespace prvdrinfo {

enum e_FilterLogicalOperator : int32_t { logicop_And = 0, logicop_Or = 1 };

enum e_FilterPrefixType : int32_t {
  filterprefix_None = 0,
  filterprefix_Where = 1,
  filterprefix_LogicalOperator = 2,
};

enum e_FilterItemOperator : int32_t {
  operator_Equals = 0,
  operator_NotEquals = 1,
  operator_GreaterThan = 2,
  operator_LessThan = 3,
  operator_GreaterThanOrEqual = 4,
  operator_LessThanOrEqual = 5,
};

// Applied by the host to the criteria; stored and returned only.
enum e_FilterItemFunction : int32_t {
  filterfunction_None = 0,
  filterfunction_DayOffset = 1,
  filterfunction_WeeksOffset = 2,
  filterfunction_MonthsOffset = 3,
  filterfunction_OfficeGuid = 4,
  filterfunction_CompanyGuid = 5,
  filterfunction_EmailAddress = 6,
  filterfunction_EmailDomain = 7,
  filterfunction_FormAbbreviation = 8,
  filterfunction_IsBlank = 9,
  filterfunction_NormalizePercent = 10,
  filterfunction_IsZeroOr100 = 11,
};

}  // namespace prvdrinfo
