#include "prvdrinfo/foundation/currency.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
__extension__ using Int128 = __int128;

constexpr ErrorSite kArithmetic{"CURQ7R2M4KX9TB3WN8ZLH5PDA", "Currency"};
constexpr ErrorSite kParse{"CURV2H8XK4NQ9RJ6TB3WZ7MLE", "Currency.FromString"};

}  // namespace

Currency Currency::FromDouble(double value) {
  // Scaled in double precision as the runtime does, so 0.00005 is an exact half.
  const double scaled = std::nearbyint(value * kScale);  // half to even
  if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0) {
    kArithmetic.Raise(err::kOverflow);
  }
  return Currency(static_cast<int64_t>(scaled));
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
      if (roundDigit < 0) roundDigit = c - '0';
      else if (c != '0') stickyNonZero = true;
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
  if (scaled > std::numeric_limits<int64_t>::max() || scaled < std::numeric_limits<int64_t>::min()) {
    kParse.Raise(err::kOverflow);
  }
  return Currency(static_cast<int64_t>(scaled));
}

double Currency::ToDouble() const { return static_cast<double>(scaled_) / kScale; }

std::string Currency::ToString() const {
  const bool negative = scaled_ < 0;
  // Unsigned magnitude so that the most negative value has one.
  const uint64_t magnitude =
      negative ? static_cast<uint64_t>(0) - static_cast<uint64_t>(scaled_) : static_cast<uint64_t>(scaled_);
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
