#include "services/internal/percentage_service.h"

#include <cmath>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
__extension__ typedef __int128 Int128;

constexpr ErrorSite kDecimalsSite{"LD87I4R9FDNM0MPQZM8V32130", "PercentageService.Decimals"};

void CheckDecimals(int32_t decimals) {
  if (decimals < 0 || decimals > 15) {
    kDecimalsSite.Raise(err::kInvalidProcedureCall, "Decimal places must lie between 0 and 15.");
  }
}

Int128 PowerOfTen(int32_t exponent) {
  Int128 value = 1;
  for (int32_t i = 0; i < exponent; ++i) value *= 10;
  return value;
}
}  // namespace

double PercentageService::Percent(Currency part, Currency whole, int32_t decimals) {
  static constexpr ErrorSite kSite{"POBYQLT71EGBBV1WJRCYMO1IU", "PercentageService.Percent"};
  return kSite.Guard([&] {
    CheckDecimals(decimals);
    if (whole.Scaled() == 0) return 0.0;
    // |part| < 2^63 and 100 * 10^15 < 2^57, so the numerator fits in 128 bits.
    const Int128 scale = PowerOfTen(decimals);
    Int128 numerator = static_cast<Int128>(part.Scaled()) * 100 * scale;
    Int128 denominator = whole.Scaled();
    if (denominator < 0) {
      numerator = -numerator;
      denominator = -denominator;
    }
    const bool negative = numerator < 0;
    const Int128 magnitude = negative ? -numerator : numerator;
    Int128 quotient = magnitude / denominator;
    if ((magnitude % denominator) * 2 >= denominator) ++quotient;
    const double value = static_cast<double>(quotient) / static_cast<double>(scale);
    return negative ? -value : value;
  });
}

double PercentageService::Percent(double part, double whole, int32_t decimals) {
  static constexpr ErrorSite kSite{"J99VXU2OOED6PRH5UBONALA2F", "PercentageService.PercentDouble"};
  return kSite.Guard([&] {
    CheckDecimals(decimals);
    if (!std::isfinite(part) || !std::isfinite(whole)) {
      kSite.Raise(err::kInvalidProcedureCall, "Percentage of a value that is not a finite number.");
    }
    if (whole == 0) return 0.0;
    const double percent = part / whole * 100;
    if (!std::isfinite(percent)) kSite.Raise(err::kOverflow);
    const double scale = std::pow(10.0, decimals);
    const double scaled = percent * scale;
    // Beyond 2^53 a double has no fractional digits left to round.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9007199254740992.0) return percent;
    return std::round(scaled) / scale;
  });
}

}  // namespace prvdrinfo
