#include "prvdrinfo/summaries/change_summary_info2.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/summaries/change_summary_info.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using S = CChangeSummaryInfo2;
using AmountOf = Currency (S::*)() const;
using CountOf = int32_t (S::*)() const;
using PercentOf = double (S::*)() const;

Currency C(const char* text) { return Currency::FromString(text); }
constexpr Currency kMax = Currency::FromScaled(std::numeric_limits<int64_t>::max());

struct AmountCase {
  const char* member;
  AmountOf read;
  const char* expected;
};
struct CountCase {
  const char* member;
  CountOf read;
  int32_t expected;
};
struct PercentCase {
  const char* member;
  PercentOf read;
  double expected;
};

// Every derived member with its value for the summary that Filled() builds.
const std::vector<AmountCase> kAmounts = {
    {"TotalAdditionsAmount", &S::TotalAdditionsAmount, "1300"},
    {"TotalDeletionsAmount", &S::TotalDeletionsAmount, "-290"},
    {"TotalApprovedChangesAmount", &S::TotalApprovedChangesAmount, "750"},
    {"TotalUnapprovedChangesAmount", &S::TotalUnapprovedChangesAmount, "260"},
    {"TotalChangesAmount", &S::TotalChangesAmount, "1010"},
    {"AverageApprovedChangesAmount", &S::AverageApprovedChangesAmount, "107.1429"},
    {"AverageTotalChangesAmount", &S::AverageTotalChangesAmount, "91.8182"},
    {"RemainingChangesProgressAmount", &S::RemainingChangesProgressAmount, "375"},
    {"TotalPositiveExpendituresAmount", &S::TotalPositiveExpendituresAmount, "2050"},
    {"TotalNegativeExpendituresAmount", &S::TotalNegativeExpendituresAmount, "-105"},
    {"TotalApprovedExpendituresAmount", &S::TotalApprovedExpendituresAmount, "1900"},
    {"TotalUnapprovedExpendituresAmount", &S::TotalUnapprovedExpendituresAmount, "45"},
    {"TotalExpendituresAmount", &S::TotalExpendituresAmount, "1945"},
    {"AverageApprovedExpendituresAmount", &S::AverageApprovedExpendituresAmount, "380"},
    {"AverageTotalExpendituresAmount", &S::AverageTotalExpendituresAmount, "243.125"},
    {"RemainingExpendituresProgressAmount", &S::RemainingExpendituresProgressAmount, "1425"},
    {"TotalPositiveDrawsAmount", &S::TotalPositiveDrawsAmount, "670"},
    {"TotalNegativeDrawsAmount", &S::TotalNegativeDrawsAmount, "-67"},
    {"TotalApprovedDrawsAmount", &S::TotalApprovedDrawsAmount, "540"},
    {"TotalUnapprovedDrawsAmount", &S::TotalUnapprovedDrawsAmount, "63"},
    {"TotalDrawsAmount", &S::TotalDrawsAmount, "603"},
    {"AverageApprovedDrawsAmount", &S::AverageApprovedDrawsAmount, "135"},
    {"AverageTotalDrawsAmount", &S::AverageTotalDrawsAmount, "100.5"},
    {"RemainingDrawsProgressAmount", &S::RemainingDrawsProgressAmount, "360"},
    {"TotalPositiveUnassignedAmount", &S::TotalPositiveUnassignedAmount, "89"},
    {"TotalNegativeUnassignedAmount", &S::TotalNegativeUnassignedAmount, "-9"},
    {"TotalApprovedUnassignedAmount", &S::TotalApprovedUnassignedAmount, "72"},
    {"TotalUnapprovedUnassignedAmount", &S::TotalUnapprovedUnassignedAmount, "8"},
    {"TotalUnassignedAmount", &S::TotalUnassignedAmount, "80"},
    {"AverageApprovedUnassignedAmount", &S::AverageApprovedUnassignedAmount, "24"},
    {"AverageTotalUnassignedAmount", &S::AverageTotalUnassignedAmount, "16"},
    {"UnassignedProgressAmount", &S::UnassignedProgressAmount, "0"},
    {"AverageApprovedAssignedAmount", &S::AverageApprovedAssignedAmount, "199.375"},
    {"AverageApprovedOrderedAmount", &S::AverageApprovedOrderedAmount, "171.6842"},
    {"AverageTotalAssignedAmount", &S::AverageTotalAssignedAmount, "142.32"},
    {"AverageTotalOrderedAmount", &S::AverageTotalOrderedAmount, "121.2667"},
    {"ProgressAmount", &S::ProgressAmount, "1030"},
    {"RemainingProgressAmount", &S::RemainingProgressAmount, "2160"},
    {"TotalAssignedAmount", &S::TotalAssignedAmount, "3558"},
    {"TotalOrderedAmount", &S::TotalOrderedAmount, "3638"},
    {"TotalApprovedAssignedAmount", &S::TotalApprovedAssignedAmount, "3190"},
    {"TotalApprovedOrderedAmount", &S::TotalApprovedOrderedAmount, "3262"},
};

const std::vector<CountCase> kCounts = {
    {"TotalAdditionsCount", &S::TotalAdditionsCount, 8},
    {"TotalDeletionsCount", &S::TotalDeletionsCount, 3},
    {"TotalApprovedChangesCount", &S::TotalApprovedChangesCount, 7},
    {"TotalUnapprovedChangesCount", &S::TotalUnapprovedChangesCount, 4},
    {"TotalChangesCount", &S::TotalChangesCount, 11},
    {"TotalPositiveExpendituresCount", &S::TotalPositiveExpendituresCount, 6},
    {"TotalNegativeExpendituresCount", &S::TotalNegativeExpendituresCount, 2},
    {"TotalApprovedExpendituresCount", &S::TotalApprovedExpendituresCount, 5},
    {"TotalUnapprovedExpendituresCount", &S::TotalUnapprovedExpendituresCount, 3},
    {"TotalExpendituresCount", &S::TotalExpendituresCount, 8},
    {"TotalPositiveDrawsCount", &S::TotalPositiveDrawsCount, 4},
    {"TotalNegativeDrawsCount", &S::TotalNegativeDrawsCount, 2},
    {"TotalApprovedDrawsCount", &S::TotalApprovedDrawsCount, 4},
    {"TotalUnapprovedDrawsCount", &S::TotalUnapprovedDrawsCount, 2},
    {"TotalDrawsCount", &S::TotalDrawsCount, 6},
    {"TotalPositiveUnassignedCount", &S::TotalPositiveUnassignedCount, 3},
    {"TotalNegativeUnassignedCount", &S::TotalNegativeUnassignedCount, 2},
    {"TotalApprovedUnassignedCount", &S::TotalApprovedUnassignedCount, 3},
    {"TotalUnapprovedUnassignedCount", &S::TotalUnapprovedUnassignedCount, 2},
    {"TotalUnassignedCount", &S::TotalUnassignedCount, 5},
    {"TotalAssignedCount", &S::TotalAssignedCount, 25},
    {"TotalOrderedCount", &S::TotalOrderedCount, 30},
    {"TotalApprovedAssignedCount", &S::TotalApprovedAssignedCount, 16},
    {"TotalApprovedOrderedCount", &S::TotalApprovedOrderedCount, 19},
};

const std::vector<PercentCase> kPercents = {
    {"ChangesProgressPercent", &S::ChangesProgressPercent, 50},
    {"ExpendituresProgressPercent", &S::ExpendituresProgressPercent, 25},
    {"DrawsProgressPercent", &S::DrawsProgressPercent, 33.33},
    {"UnassignedProgressPercent", &S::UnassignedProgressPercent, 0},
    // Over all assigned items, approved or not: 1030 of 3558.
    {"ProgressPercent", &S::ProgressPercent, 28.95},
};

// Every stored value differs, so a formula that picks up a wrong term shows.
std::shared_ptr<S> Filled() {
  auto s = CChangeSummaryInfoFcty().CreateChangeSummaryInfo2();
  s->SetApprovedAdditionsAmount(C("1000"));
  s->SetApprovedDeletionsAmount(C("-250"));
  s->SetUnapprovedAdditionsAmount(C("300"));
  s->SetUnapprovedDeletionsAmount(C("-40"));
  s->SetApprovedAdditionsCount(5);
  s->SetApprovedDeletionsCount(2);
  s->SetUnapprovedAdditionsCount(3);
  s->SetUnapprovedDeletionsCount(1);
  s->SetChangesProgressAmount(C("375"));

  s->SetApprovedPositiveExpendituresAmount(C("2000"));
  s->SetApprovedNegativeExpendituresAmount(C("-100"));
  s->SetUnapprovedPositiveExpendituresAmount(C("50"));
  s->SetUnapprovedNegativeExpendituresAmount(C("-5"));
  s->SetApprovedPositiveExpendituresCount(4);
  s->SetApprovedNegativeExpendituresCount(1);
  s->SetUnapprovedPositiveExpendituresCount(2);
  s->SetUnapprovedNegativeExpendituresCount(1);
  s->SetExpendituresProgressAmount(C("475"));

  s->SetApprovedPositiveDrawsAmount(C("600"));
  s->SetApprovedNegativeDrawsAmount(C("-60"));
  s->SetUnapprovedPositiveDrawsAmount(C("70"));
  s->SetUnapprovedNegativeDrawsAmount(C("-7"));
  s->SetApprovedPositiveDrawsCount(3);
  s->SetApprovedNegativeDrawsCount(1);
  s->SetUnapprovedPositiveDrawsCount(1);
  s->SetUnapprovedNegativeDrawsCount(1);
  s->SetDrawsProgressAmount(C("180"));

  s->SetApprovedPositiveUnassignedAmount(C("80"));
  s->SetApprovedNegativeUnassignedAmount(C("-8"));
  s->SetUnapprovedPositiveUnassignedAmount(C("9"));
  s->SetUnapprovedNegativeUnassignedAmount(C("-1"));
  s->SetApprovedPositiveUnassignedCount(2);
  s->SetApprovedNegativeUnassignedCount(1);
  s->SetUnapprovedPositiveUnassignedCount(1);
  s->SetUnapprovedNegativeUnassignedCount(1);
  return s;
}

TEST(ChangeSummaryInfo2, FreshSummaryAnswersZeroEverywhere) {
  const auto s = CChangeSummaryInfoFcty().CreateChangeSummaryInfo2();
  for (const auto& c : kAmounts) EXPECT_EQ(((*s).*c.read)(), Currency{}) << c.member;
  for (const auto& c : kCounts) EXPECT_EQ(((*s).*c.read)(), 0) << c.member;
  for (const auto& c : kPercents) EXPECT_EQ(((*s).*c.read)(), 0) << c.member;
  EXPECT_EQ(s->ReasonAbbreviation(), "");
  EXPECT_EQ(s->ReasonTitle(), "");
}

TEST(ChangeSummaryInfo2, EveryDerivedMemberFollowsItsFormula) {
  const auto s = Filled();
  for (const auto& c : kAmounts) EXPECT_EQ(((*s).*c.read)(), C(c.expected)) << c.member;
  for (const auto& c : kCounts) EXPECT_EQ(((*s).*c.read)(), c.expected) << c.member;
  for (const auto& c : kPercents) EXPECT_DOUBLE_EQ(((*s).*c.read)(), c.expected) << c.member;
}

TEST(ChangeSummaryInfo2, DerivedMembersFollowLaterChanges) {
  const auto s = Filled();
  EXPECT_EQ(s->TotalApprovedChangesAmount(), C("750"));
  s->SetApprovedDeletionsAmount(C("-500"));
  s->SetChangesProgressAmount(C("300"));
  EXPECT_EQ(s->TotalApprovedChangesAmount(), C("500"));
  EXPECT_EQ(s->RemainingChangesProgressAmount(), C("200"));
  EXPECT_DOUBLE_EQ(s->ChangesProgressPercent(), 60);
}

TEST(ChangeSummaryInfo2, ApprovedChangesNetOfDeletionsLeaveTheRemainingProgress) {
  auto s = std::make_shared<S>();
  s->SetApprovedAdditionsAmount(C("1000"));
  s->SetApprovedDeletionsAmount(C("-250"));
  s->SetChangesProgressAmount(C("300"));
  EXPECT_EQ(s->TotalApprovedChangesAmount(), C("750"));
  EXPECT_EQ(s->RemainingChangesProgressAmount(), C("450"));
  EXPECT_DOUBLE_EQ(s->ChangesProgressPercent(), 40);
}

TEST(ChangeSummaryInfo2, AveragesRoundHalfToEvenAtTheFourthDecimal) {
  struct Case {
    const char* amount;
    int32_t count;
    const char* average;
  };
  const Case cases[] = {
      {"100", 3, "33.3333"},   {"200", 3, "66.6667"},   {"-100", 3, "-33.3333"},
      {"0.0001", 2, "0"},      {"0.0003", 2, "0.0002"}, {"-0.0003", 2, "-0.0002"},
      {"0.0005", 2, "0.0002"}, {"0.0007", 2, "0.0004"}, {"10", -4, "-2.5"},
      {"0", 5, "0"},           {"100", 0, "0"},         {"1", 3, "0.3333"},
  };
  for (const auto& c : cases) {
    S s;
    s.SetApprovedAdditionsAmount(C(c.amount));
    s.SetApprovedAdditionsCount(c.count);
    EXPECT_EQ(s.AverageApprovedChangesAmount(), C(c.average)) << c.amount << " / " << c.count;
  }
}

TEST(ChangeSummaryInfo2, AverageOfTheLargestAmountIsExact) {
  // Through a double the largest Currency would come back one unit too large and overflow.
  S s;
  s.SetApprovedAdditionsAmount(kMax);
  s.SetApprovedAdditionsCount(1);
  EXPECT_EQ(s.AverageApprovedChangesAmount(), kMax);
  s.SetApprovedAdditionsCount(2);
  EXPECT_EQ(s.AverageApprovedChangesAmount(),
            Currency::FromScaled(std::numeric_limits<int64_t>::max() / 2 + 1));
}

TEST(ChangeSummaryInfo2, ProgressPercentIsZeroWithoutAnAssignedTotal) {
  S s;
  s.SetChangesProgressAmount(C("100"));
  s.SetDrawsProgressAmount(C("50"));
  EXPECT_EQ(s.ProgressAmount(), C("150"));
  EXPECT_EQ(s.ProgressPercent(), 0);
  EXPECT_EQ(s.ChangesProgressPercent(), 0);
  // Unassigned amounts do not count as assigned.
  s.SetApprovedPositiveUnassignedAmount(C("1000"));
  EXPECT_EQ(s.ProgressPercent(), 0);
  EXPECT_EQ(s.UnassignedProgressPercent(), 0);
  EXPECT_EQ(s.UnassignedProgressAmount(), Currency{});
}

TEST(ChangeSummaryInfo2, ProgressPercentCountsUnapprovedAmounts) {
  S s;
  s.SetApprovedAdditionsAmount(C("100"));
  s.SetUnapprovedAdditionsAmount(C("300"));
  s.SetChangesProgressAmount(C("100"));
  EXPECT_DOUBLE_EQ(s.ChangesProgressPercent(), 100);  // over the approved total
  EXPECT_DOUBLE_EQ(s.ProgressPercent(), 25);          // over everything assigned
}

void ExpectOverflow(const std::function<void()>& read, const char* what) {
  const CError e = testing::ErrorOf(read);
  EXPECT_EQ(e.Number(), err::kOverflow) << what;
  EXPECT_FALSE(e.Locations().empty()) << what;
}

TEST(ChangeSummaryInfo2, SumsThatLeaveTheirRangeRaiseOverflow) {
  S s;
  s.SetApprovedAdditionsAmount(kMax);
  s.SetUnapprovedAdditionsAmount(C("0.0001"));
  ExpectOverflow([&] { s.TotalAdditionsAmount(); }, "TotalAdditionsAmount");
  ExpectOverflow([&] { s.TotalChangesAmount(); }, "TotalChangesAmount");
  ExpectOverflow([&] { s.TotalOrderedAmount(); }, "TotalOrderedAmount");
  // The approved side alone still fits.
  EXPECT_EQ(s.TotalApprovedChangesAmount(), kMax);

  S negative;
  negative.SetApprovedAdditionsAmount(Currency::FromScaled(std::numeric_limits<int64_t>::min()));
  negative.SetChangesProgressAmount(C("1"));
  ExpectOverflow([&] { negative.RemainingChangesProgressAmount(); },
                 "RemainingChangesProgressAmount");

  S counts;
  counts.SetApprovedPositiveDrawsCount(std::numeric_limits<int32_t>::max());
  counts.SetApprovedNegativeDrawsCount(1);
  ExpectOverflow([&] { counts.TotalApprovedDrawsCount(); }, "TotalApprovedDrawsCount");
  ExpectOverflow([&] { counts.TotalAssignedCount(); }, "TotalAssignedCount");
  EXPECT_EQ(counts.TotalPositiveDrawsCount(), std::numeric_limits<int32_t>::max());
}

TEST(ChangeSummaryInfo2, ASumThatEndsInRangeDoesNotOverflowOnTheWay) {
  // Added left to right, expenditures + draws would leave the range before the changes
  // bring the sum back.
  S s;
  s.SetApprovedPositiveExpendituresAmount(kMax);
  s.SetApprovedPositiveDrawsAmount(C("1"));
  s.SetApprovedAdditionsAmount(C("-1"));
  EXPECT_EQ(s.TotalAssignedAmount(), kMax);
  EXPECT_EQ(s.TotalApprovedAssignedAmount(), kMax);

  S counts;
  counts.SetApprovedAdditionsCount(std::numeric_limits<int32_t>::max());
  counts.SetUnapprovedAdditionsCount(1);
  counts.SetApprovedDeletionsCount(-1);
  EXPECT_EQ(counts.TotalChangesCount(), std::numeric_limits<int32_t>::max());
}

TEST(ChangeSummaryInfo2, ReasonTextsAreKept) {
  S s;
  s.SetReasonAbbreviation("CO");
  s.SetReasonTitle("Owner request");
  EXPECT_EQ(s.ReasonAbbreviation(), "CO");
  EXPECT_EQ(s.ReasonTitle(), "Owner request");
}

}  // namespace
}  // namespace prvdrinfo
