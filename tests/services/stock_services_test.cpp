#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "services/byte_array.h"
#include "prvdrinfo/services/guid_service.h"
#include "services/internal/paper_size.h"
#include "services/internal/percentage_service.h"
#include "services/internal/random_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/stock_enums.h"

namespace prvdrinfo {
namespace {

TEST(GuidService, CallersFormIsUpperCaseVersion4With36Characters) {
  const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    const std::string guid = GuidService::NewGuid(36, 0, true);
    ASSERT_EQ(guid.size(), 36u);
    ASSERT_TRUE(std::regex_match(guid, form)) << guid;
    ASSERT_TRUE(seen.insert(guid).second) << "repeated " << guid;
  }
}

TEST(GuidService, OtherLengthsAndCase) {
  EXPECT_TRUE(std::regex_match(GuidService::NewGuid(32, 0, true), std::regex("[0-9A-F]{32}")));
  EXPECT_TRUE(std::regex_match(
      GuidService::NewGuid(38, 0, false),
      std::regex("\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\}")));
  for (auto [length, style] :
       std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {35, 0}, {-36, 0}, {36, 1}, {36, -1}}) {
    try {
      GuidService::NewGuid(length, style, true);
      ADD_FAILURE() << length << "," << style;
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
    }
  }
}

TEST(RandomService, StaysWithinBoundsAndReachesBothEnds) {
  std::vector<int> counts(101, 0);
  for (int i = 0; i < 20000; ++i) {
    const int32_t n = RandomService::Next(100);
    ASSERT_GE(n, 0);
    ASSERT_LE(n, 100);
    ++counts[static_cast<size_t>(n)];
  }
  // 20000 draws over 101 values: every value, the ends included, turns up.
  for (size_t v = 0; v < counts.size(); ++v) EXPECT_GT(counts[v], 0) << v;
  EXPECT_EQ(RandomService::Next(0), 0);
  const int32_t big = RandomService::Next(std::numeric_limits<int32_t>::max());
  EXPECT_GE(big, 0);
  EXPECT_THROW(RandomService::Next(-1), CError);
}

TEST(PercentageService, CurrencyPercentagesRoundExactly) {
  struct Case {
    const char* part;
    const char* whole;
    int32_t decimals;
    double expected;
  } cases[] = {
      {"300", "750", 2, 40.0},
      {"1", "3", 2, 33.33},
      {"2", "3", 2, 66.67},
      {"1", "8", 2, 12.5},
      {"1", "8", 0, 13},  // 12.5: half away from zero
      {"-1", "8", 0, -13},
      {"1", "-8", 0, -13},
      {"-1", "-8", 0, 13},
      {"1", "16", 1, 6.3},           // 6.25
      {"123.45", "1000", 2, 12.35},  // exactly 12.345: binary doubles would give 12.34
      {"5", "0", 2, 0},              // a share of nothing
      {"0", "0", 2, 0},
      {"0", "7", 2, 0},
      {"1000", "1", 2, 100000},
      {"1", "3", 15, 33.333333333333333},
  };
  for (const auto& c : cases) {
    const Currency part = Currency::FromString(c.part);
    const Currency whole = Currency::FromString(c.whole);
    EXPECT_DOUBLE_EQ(PercentageService::Percent(part, whole, c.decimals), c.expected)
        << c.part << " of " << c.whole << " at " << c.decimals;
  }
}

TEST(PercentageService, ExtremeCurrencyValuesDoNotOverflow) {
  const Currency max = Currency::FromScaled(std::numeric_limits<int64_t>::max());
  const Currency min = Currency::FromScaled(std::numeric_limits<int64_t>::min());
  const Currency tiny = Currency::FromScaled(1);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(max, max, 15), 100);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(min, min, 15), 100);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(min, max, 2), -100);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(max, tiny, 15), 9.223372036854775807e20);
}

TEST(PercentageService, DoublesAndBadArguments) {
  EXPECT_DOUBLE_EQ(PercentageService::Percent(1.0, 4.0, 2), 25);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(1.0, 0.0, 2), 0);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(-1.0, 3.0, 1), -33.3);
  EXPECT_DOUBLE_EQ(PercentageService::Percent(1e300, 1.0, 2), 1e302);  // nothing left to round

  struct Bad {
    double part, whole;
    int32_t decimals;
    int32_t number;
  } bad[] = {
      {1, 2, -1, err::kInvalidProcedureCall},
      {1, 2, 16, err::kInvalidProcedureCall},
      {std::nan(""), 2, 2, err::kInvalidProcedureCall},
      {1, std::numeric_limits<double>::infinity(), 2, err::kInvalidProcedureCall},
      {1e308, 1e-308, 2, err::kOverflow},
  };
  for (const auto& c : bad) {
    try {
      PercentageService::Percent(c.part, c.whole, c.decimals);
      ADD_FAILURE() << c.part << "/" << c.whole;
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), c.number);
    }
  }
  EXPECT_THROW(PercentageService::Percent(Currency::FromScaled(1), Currency::FromScaled(2), 99),
               CError);
}

TEST(ByteArrayService, TrueOnlyForBytesWithElements) {
  EXPECT_TRUE(ByteArrayService::HasElements(Bytes{0}));
  EXPECT_FALSE(ByteArrayService::HasElements(Bytes{}));
  EXPECT_TRUE(ByteArrayService::HasElements(Variant(Bytes{1, 2})));
  EXPECT_FALSE(ByteArrayService::HasElements(Variant(Bytes{})));
  EXPECT_FALSE(ByteArrayService::HasElements(Variant()));
  EXPECT_FALSE(ByteArrayService::HasElements(Variant::Null()));
  EXPECT_FALSE(ByteArrayService::HasElements(Variant("abc")));
  EXPECT_FALSE(ByteArrayService::HasElements(Variant(int32_t{3})));
}

TEST(StockEnums, FixedValuesAndPaperNames) {
  EXPECT_EQ(localeid_EnglishCanada, 4105);
  EXPECT_EQ(paperorient_Portrait, 0);
  EXPECT_NE(paperorient_Landscape, paperorient_Portrait);
  EXPECT_EQ(PaperSizeName(papersize_Letter), "Letter");
  EXPECT_EQ(PaperSizeName(papersize_11x17), "11 x 17");
  EXPECT_EQ(PaperSizeName(papersize_A4), "A4");
  EXPECT_EQ(PaperSizeName(papersize_DSheet), "D Sheet");
  EXPECT_EQ(PaperSizeName(300), "Paper Size 300");
  EXPECT_EQ(PaperSizeName(-1), "Paper Size -1");
  // Every named size has its own name, so composed template captions tell them apart.
  std::set<std::string> names;
  for (int32_t size = -5; size <= 400; ++size) names.insert(PaperSizeName(size));
  EXPECT_EQ(names.size(), 406u);
}

}  // namespace
}  // namespace prvdrinfo
