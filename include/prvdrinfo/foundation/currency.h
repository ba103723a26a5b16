#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// The automation Currency: a 64-bit integer counting ten-thousandths. Sums and
// differences are exact; leaving the 64-bit range raises error 6 "Overflow".
class PRVDRINFO_API Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;

  static constexpr Currency FromScaled(int64_t scaled) { return Currency(scaled); }
  // The double's exact value rounded half to even at the fourth decimal; a double whose
  // shortest text is a half at the fifth decimal (0.00015) rounds as that text (0.0002).
  // NaN, infinities and values outside the range raise 6 "Overflow".
  static Currency FromDouble(double value);
  // Decimal text such as "-12.3456" or "7"; more than four decimals round half to even.
  static Currency FromString(std::string_view text);

  constexpr int64_t Scaled() const { return scaled_; }
  double ToDouble() const;
  // Shortest decimal text: "12.5", "-0.0001", "3".
  std::string ToString() const;

  Currency operator+(Currency other) const;
  Currency operator-(Currency other) const;
  Currency operator-() const;
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }

  constexpr auto operator<=>(const Currency&) const = default;

 private:
  constexpr explicit Currency(int64_t scaled) : scaled_(scaled) {}
  int64_t scaled_ = 0;
};

}  // namespace prvdrinfo
