#pragma once

#include <cstdint>

#include "prvdrinfo/foundation/currency.h"

namespace prvdrinfo {

// Part as a percentage of whole: part / whole * 100, rounded to `decimals` places with
// halves away from zero (12.345 -> 12.35, -12.345 -> -12.35).
//   - A whole of 0 gives 0: a share of nothing is reported as no share, never as an
//     error or an infinity, so summary figures stay displayable.
//   - decimals must lie in 0..15 (a double carries no more); otherwise error 5.
class PercentageService {
 public:
  // Exact for Currency: the rounding is done on the decimal values, so 1 of 8 at two
  // places is 12.5 and 1 of 3 is 33.33 with no binary noise before the rounding.
  static double Percent(Currency part, Currency whole, int32_t decimals);
  // NaN or infinite arguments raise 5; a quotient beyond the double range raises 6.
  static double Percent(double part, double whole, int32_t decimals);
};

}  // namespace prvdrinfo
