#include "prvdrinfo/foundation/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "prvdrinfo/foundation/error.h"
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
      {"1.00005", 10000, "1"},     // half to even: 1.0000|5 -> 1.0000
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
  EXPECT_EQ(Currency::FromDouble(0.00005).Scaled(), 0);   // half to even
  EXPECT_EQ(Currency::FromDouble(0.00025).Scaled(), 2);
  EXPECT_EQ(Currency::FromDouble(0.00075).Scaled(), 8);
  EXPECT_EQ(Currency::FromDouble(-2.5).Scaled(), -25000);
  EXPECT_DOUBLE_EQ(Currency::FromScaled(12345).ToDouble(), 1.2345);
}

}  // namespace
}  // namespace prvdrinfo
