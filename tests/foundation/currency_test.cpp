#include "prvdrinfo/foundation/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/variant.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorNumberOf;

TEST(Currency, SumsAreExactWhereDoublesDrift) {
  Currency sum;
  for (int i = 0; i < 10; ++i) sum += Currency::FromString("0.1");
  EXPECT_EQ(sum, Currency::FromScaled(10000));
  EXPECT_EQ((Currency::FromString("0.3") - Currency::FromString("0.1")).ToString(), "0.2");
}

TEST(Currency, LeavingTheRangeIsOverflow) {
  const auto max = Currency::FromScaled(std::numeric_limits<int64_t>::max());
  const auto min = Currency::FromScaled(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ErrorNumberOf([&] { (void)(max + Currency::FromScaled(1)); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { (void)(min - Currency::FromScaled(1)); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&] { (void)-min; }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { (void)Currency::FromDouble(1e300); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { (void)Currency::FromDouble(std::nan("")); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { (void)Currency::FromString("922337203685478"); }), err::kOverflow);
}

TEST(Currency, TextAndDoubleConversions) {
  struct Case {
    const char* text;
    int64_t scaled;
    const char* canonical;
  } cases[] = {
      {"0", 0, "0"},
      {"12.5", 125000, "12.5"},
      {"-0.0001", -1, "-0.0001"},
      {" 7 ", 70000, "7"},
      {"1.00005", 10000, "1"},       // half to even: 1.0000|5 -> 1.0000
      {"1.00015", 10002, "1.0002"},  // half to even: 1.0001|5 -> 1.0002
      {"1.000051", 10001, "1.0001"},
      {"-922337203685477.5808", std::numeric_limits<int64_t>::min(), "-922337203685477.5808"},
      {"922337203685477.5807", std::numeric_limits<int64_t>::max(), "922337203685477.5807"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto value = Currency::FromString(c.text);
    EXPECT_EQ(value.Scaled(), c.scaled);
    EXPECT_EQ(value.ToString(), c.canonical);
  }
  for (const char* bad : {"", "-", "1.2.3", "abc", "1e5", "--1"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ErrorNumberOf([&] { (void)Currency::FromString(bad); }), err::kTypeMismatch);
  }
  EXPECT_DOUBLE_EQ(Currency::FromScaled(12345).ToDouble(), 1.2345);
}

// A double converts by its exact binary value times 10,000, rounded half to even, except
// that a double whose shortest text is a half at the fifth decimal rounds as that decimal.
TEST(Currency, DoublesRoundOnTheirExactValueOverTheWholeRange) {
  constexpr int64_t kOverflow = std::numeric_limits<int64_t>::min();  // marks error 6
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    double value;
    int64_t scaled;
  } cases[] = {
      // Whole amounts whose product needs more than 53 bits.
      {"15000000000001", 15000000000001.0, 150000000000010000},
      {"922337203685477", 922337203685477.0, 9223372036854770000},
      {"922337203685477.125", 922337203685477.125, 9223372036854771250},
      // Edges: 922337203685477.5 is the last double inside the range, .625 the next one.
      {"largest", 922337203685477.5, 9223372036854775000},
      {"beyond largest", 922337203685477.625, kOverflow},
      {"smallest", -922337203685477.5, -9223372036854775000},
      {"beyond smallest", -922337203685477.625, kOverflow},
      {"2^53", 9007199254740992.0, kOverflow},
      {"1e300", 1e300, kOverflow},
      {"infinity", inf, kOverflow},
      {"-infinity", -inf, kOverflow},
      {"NaN", std::nan(""), kOverflow},
      // Products just below and above 2^53: x + 1/8192 scales to x0000 + 1.220703125.
      {"below 2^53", 900719925473.0 + 1.0 / 8192, 9007199254730001},
      {"above 2^53", 900719925474.0 + 1.0 / 8192, 9007199254740001},
      // Halves that are exact in binary: odd multiples of 1/32 scale to n + 0.5.
      {"1/32", 0.03125, 312},
      {"3/32", 0.09375, 938},
      {"-3/32", -0.09375, -938},
      {"2^48-1 + 1/32", 281474976710655.03125, 2814749767106550312},
      {"2^48-1 + 3/32", 281474976710655.09375, 2814749767106550938},
      {"15000000000001 + 1/32", 15000000000001.03125, 150000000000010312},
      // Decimal halves, inexact in binary, round as written.
      {"0.00005", 0.00005, 0},
      {"0.00015", 0.00015, 2},
      {"0.00025", 0.00025, 2},
      {"0.00075", 0.00075, 8},
      {"-0.00015", -0.00015, -2},
      {"1.00005", 1.00005, 10000},
      {"1.00015", 1.00015, 10002},
      {"123456789.12345", 123456789.12345, 1234567891234},
      // Their neighbours are no halves: 0.00005 is 0.5 + 1.4e-17 units, one step is 6.8e-17.
      {"after 0.00005", std::nextafter(0.00005, 1.0), 1},
      {"before 0.00005", std::nextafter(0.00005, 0.0), 0},
      {"0.1", 0.1, 1000},
      {"-2.5", -2.5, -25000},
      {"smallest subnormal", 5e-324, 0},
      {"-smallest subnormal", -5e-324, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.scaled == kOverflow) {
      EXPECT_EQ(ErrorNumberOf([&] { (void)Currency::FromDouble(c.value); }), err::kOverflow);
      EXPECT_EQ(ErrorNumberOf([&] { (void)Variant(c.value).ToCurrency(); }), err::kOverflow);
    } else {
      EXPECT_EQ(Currency::FromDouble(c.value).Scaled(), c.scaled);
      EXPECT_EQ(Variant(c.value).ToCurrency().Scaled(), c.scaled);
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
