#include "prvdrinfo/foundation/currency.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

constexpr ErrorSite kArithmetic{"CURQ7R2M4KX9TB3WN8ZLH5PDA", "Currency"};
constexpr ErrorSite kParse{"CURV2H8XK4NQ9RJ6TB3WZ7MLE", "Currency.FromString"};

// A half written in decimal (0.00005, 1.00015) is no half in binary, and its exact value
// would round either way. When the double's shortest text is such a half, it rounds as
// that text does, so FromDouble agrees with FromString on the text the caller wrote.
bool DecimalHalf(double magnitude, UInt128& scaled) {
  char text[32];
  const auto [end, ec] =
      std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
  if (ec != std::errc()) return false;
  const char* e = std::find(text, end, 'e');
  uint64_t digits = 0;
  int count = 0;
  for (const char* p = text; p != e; ++p) {
    if (*p == '.') continue;
    digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    ++count;
  }
  int exponent = 0;
  if (e == end || std::from_chars(e + 1 + (e[1] == '+'), end, exponent).ec != std::errc())
    return false;
  // The last digit stands at the fifth decimal and is a 5.
  if (exponent - count + 1 != -5 || digits % 10 != 5) return false;
  const uint64_t units = digits / 10;
  scaled = units + (units & 1);
  return true;
}

// magnitude * 10000 rounded half to even, on the exact product: the 53-bit significand
// times 10000 fits 67 bits, and the binary point is shifted out with exact remainder.
UInt128 ExactScaled(double magnitude) {
  if (magnitude == 0) return 0;
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);
  const auto significand = static_cast<uint64_t>(std::ldexp(fraction, 53));
  const UInt128 product = static_cast<UInt128>(significand) * Currency::kScale;
  const int shift = 53 - exponent;  // magnitude < 2^50, so shift >= 3
  if (shift >= 127) return 0;       // the product is far below half a unit
  const UInt128 whole = product >> shift;
  const UInt128 rest = product - (whole << shift);
  const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
  return whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
}

}  // namespace

Currency Currency::FromDouble(double value) {
  // Beyond 2^50 no double lies inside the range; the exact check follows below.
  if (!std::isfinite(value) || std::fabs(value) >= 1125899906842624.0)
    kArithmetic.Raise(err::kOverflow);
  const double magnitude = std::fabs(value);
  UInt128 scaled;
  if (!DecimalHalf(magnitude, scaled)) scaled = ExactScaled(magnitude);
  const UInt128 limit =
      static_cast<UInt128>(std::numeric_limits<int64_t>::max()) + (value < 0 ? 1 : 0);
  if (scaled > limit) kArithmetic.Raise(err::kOverflow);
  return Currency(value < 0 ? static_cast<int64_t>(-static_cast<Int128>(scaled))
                            : static_cast<int64_t>(scaled));
}

Currency Currency::FromString(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  Int128 scaled = 0;
  int decimals = 0;
  bool digits = false;
  bool point = false;
  int roundDigit = -1;
  bool stickyNonZero = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    digits = true;
    if (point && decimals >= 4) {
      if (roundDigit < 0)
        roundDigit = c - '0';
      else if (c != '0')
        stickyNonZero = true;
      continue;
    }
    scaled = scaled * 10 + (c - '0');
    if (point) ++decimals;
    if (scaled > static_cast<Int128>(std::numeric_limits<int64_t>::max()) * 10) {
      kParse.Raise(err::kOverflow);
    }
  }
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (!digits || i != text.size()) kParse.Raise(err::kTypeMismatch);
  for (; decimals < 4; ++decimals) scaled *= 10;
  if (roundDigit > 5 || (roundDigit == 5 && (stickyNonZero || scaled % 2 != 0))) scaled += 1;
  if (negative) scaled = -scaled;
  if (scaled > std::numeric_limits<int64_t>::max() ||
      scaled < std::numeric_limits<int64_t>::min()) {
    kParse.Raise(err::kOverflow);
  }
  return Currency(static_cast<int64_t>(scaled));
}

double Currency::ToDouble() const { return static_cast<double>(scaled_) / kScale; }

std::string Currency::ToString() const {
  const bool negative = scaled_ < 0;
  // Unsigned magnitude so that the most negative value has one.
  const uint64_t magnitude = negative ? static_cast<uint64_t>(0) - static_cast<uint64_t>(scaled_)
                                      : static_cast<uint64_t>(scaled_);
  std::string text = std::to_string(magnitude / kScale);
  uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return negative ? "-" + text : text;
}

Currency Currency::operator+(Currency other) const {
  int64_t result;
  if (__builtin_add_overflow(scaled_, other.scaled_, &result)) kArithmetic.Raise(err::kOverflow);
  return Currency(result);
}

Currency Currency::operator-(Currency other) const {
  int64_t result;
  if (__builtin_sub_overflow(scaled_, other.scaled_, &result)) kArithmetic.Raise(err::kOverflow);
  return Currency(result);
}

Currency Currency::operator-() const { return Currency() - *this; }

}  // namespace prvdrinfo
