#include "prvdrinfo/summaries/change_summary_info2.h"

#include <cstdint>
#include <limits>

#include "services/internal/percentage_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

// Wide enough for any sum of the stored values, so that only a member's own value can
// overflow, never a partial sum on the way.
__extension__ using Wide = __int128;

constexpr ErrorSite kTotalAdditionsAmount{"EFE691FJ5RVHL1LPE0907ITBI",
                                          "CChangeSummaryInfo2.TotalAdditionsAmount"};
constexpr ErrorSite kTotalDeletionsAmount{"NQA62R0MMQ7HKP4G3IYG7DO9P",
                                          "CChangeSummaryInfo2.TotalDeletionsAmount"};
constexpr ErrorSite kTotalApprovedChangesAmount{"214CKVD1HGKBVVDVGWC32QOQF",
                                                "CChangeSummaryInfo2.TotalApprovedChangesAmount"};
constexpr ErrorSite kTotalUnapprovedChangesAmount{
    "66UF4BXA7WO9FZ9IJW1SMGF98", "CChangeSummaryInfo2.TotalUnapprovedChangesAmount"};
constexpr ErrorSite kTotalChangesAmount{"2KFC041TUBTMOVEK7UE7H0NO8",
                                        "CChangeSummaryInfo2.TotalChangesAmount"};
constexpr ErrorSite kTotalAdditionsCount{"Y3ZEOR7BM7G3YVAG3R7C2X8TD",
                                         "CChangeSummaryInfo2.TotalAdditionsCount"};
constexpr ErrorSite kTotalDeletionsCount{"NGIJPBYY1Z9K5PUJBMPLVDH56",
                                         "CChangeSummaryInfo2.TotalDeletionsCount"};
constexpr ErrorSite kTotalApprovedChangesCount{"6C2QH84J1K3AJO7YHGFF6QHK3",
                                               "CChangeSummaryInfo2.TotalApprovedChangesCount"};
constexpr ErrorSite kTotalUnapprovedChangesCount{"0G6ZL8VEP34EG0OPM1W6PRQ0B",
                                                 "CChangeSummaryInfo2.TotalUnapprovedChangesCount"};
constexpr ErrorSite kTotalChangesCount{"UGNPKLQY8ME3D31CDMQVOW2GX",
                                       "CChangeSummaryInfo2.TotalChangesCount"};
constexpr ErrorSite kChangesProgressPercent{"VGPKJ2HO24LU2BWT2VUCLDR60",
                                            "CChangeSummaryInfo2.ChangesProgressPercent"};
constexpr ErrorSite kAverageApprovedChangesAmount{
    "EW53JYT6UR355C8G9SHPKQ3I8", "CChangeSummaryInfo2.AverageApprovedChangesAmount"};
constexpr ErrorSite kAverageTotalChangesAmount{"3PHC18MH26EWN26J2GJKWITWO",
                                               "CChangeSummaryInfo2.AverageTotalChangesAmount"};
constexpr ErrorSite kRemainingChangesProgressAmount{
    "O6IHLVMA2SM698QNBMR4NFSI0", "CChangeSummaryInfo2.RemainingChangesProgressAmount"};
constexpr ErrorSite kTotalPositiveExpendituresAmount{
    "6IOMVLIZ6BV7EN1I4668QORC7", "CChangeSummaryInfo2.TotalPositiveExpendituresAmount"};
constexpr ErrorSite kTotalNegativeExpendituresAmount{
    "A0X4DDG01JTMS6BAFZB8LIVSK", "CChangeSummaryInfo2.TotalNegativeExpendituresAmount"};
constexpr ErrorSite kTotalApprovedExpendituresAmount{
    "U2TU9F6KAIXNVJIXZA1EGMMF4", "CChangeSummaryInfo2.TotalApprovedExpendituresAmount"};
constexpr ErrorSite kTotalUnapprovedExpendituresAmount{
    "HSXRCD46FTKV2E5PUD6RYU081", "CChangeSummaryInfo2.TotalUnapprovedExpendituresAmount"};
constexpr ErrorSite kTotalExpendituresAmount{"1BKF6SZXW0YSGM55NL9A39YPV",
                                             "CChangeSummaryInfo2.TotalExpendituresAmount"};
constexpr ErrorSite kTotalPositiveExpendituresCount{
    "Z25S6OPO8VS4JZB8LY5N5EH1T", "CChangeSummaryInfo2.TotalPositiveExpendituresCount"};
constexpr ErrorSite kTotalNegativeExpendituresCount{
    "0X0GJ9IIN3QCP5LW6C66F9BAX", "CChangeSummaryInfo2.TotalNegativeExpendituresCount"};
constexpr ErrorSite kTotalApprovedExpendituresCount{
    "0W5KJK5540VU8TSP4LJ93UOZR", "CChangeSummaryInfo2.TotalApprovedExpendituresCount"};
constexpr ErrorSite kTotalUnapprovedExpendituresCount{
    "QSCA2TT7XM2TWM7S4XYT58Q5Z", "CChangeSummaryInfo2.TotalUnapprovedExpendituresCount"};
constexpr ErrorSite kTotalExpendituresCount{"HU5FMVM97DUUU0VR0VN9G5R15",
                                            "CChangeSummaryInfo2.TotalExpendituresCount"};
constexpr ErrorSite kExpendituresProgressPercent{"U3VTG04TAQR8T842W9U3C36UT",
                                                 "CChangeSummaryInfo2.ExpendituresProgressPercent"};
constexpr ErrorSite kAverageApprovedExpendituresAmount{
    "MK0H9OSZFQ2GCX8ABSND541LD", "CChangeSummaryInfo2.AverageApprovedExpendituresAmount"};
constexpr ErrorSite kAverageTotalExpendituresAmount{
    "O3EY7IS3E6MQKNWWEVGAE9DFU", "CChangeSummaryInfo2.AverageTotalExpendituresAmount"};
constexpr ErrorSite kRemainingExpendituresProgressAmount{
    "8MW974VPJORRHUFS9RLVN6YIR", "CChangeSummaryInfo2.RemainingExpendituresProgressAmount"};
constexpr ErrorSite kTotalPositiveDrawsAmount{"IO3A3U7V7Q7THQWONW5C5UDJ1",
                                              "CChangeSummaryInfo2.TotalPositiveDrawsAmount"};
constexpr ErrorSite kTotalNegativeDrawsAmount{"46LI6NHNQ9VLRQTYM8YQI959N",
                                              "CChangeSummaryInfo2.TotalNegativeDrawsAmount"};
constexpr ErrorSite kTotalApprovedDrawsAmount{"IYVGHTGU26DHIKM1WP949UKEU",
                                              "CChangeSummaryInfo2.TotalApprovedDrawsAmount"};
constexpr ErrorSite kTotalUnapprovedDrawsAmount{"ELOJKG75N4OMYNJ6V8CIHRR09",
                                                "CChangeSummaryInfo2.TotalUnapprovedDrawsAmount"};
constexpr ErrorSite kTotalDrawsAmount{"YDK2HVW40M3SWHJKNWT35OW8U",
                                      "CChangeSummaryInfo2.TotalDrawsAmount"};
constexpr ErrorSite kTotalPositiveDrawsCount{"KQFUAT51SY8EZ1C9EFM9G6P2A",
                                             "CChangeSummaryInfo2.TotalPositiveDrawsCount"};
constexpr ErrorSite kTotalNegativeDrawsCount{"2NL2LCE1SKLV3VNOI36DS9OYP",
                                             "CChangeSummaryInfo2.TotalNegativeDrawsCount"};
constexpr ErrorSite kTotalApprovedDrawsCount{"7FSZSC6XW6IDUQ0UHY99P4EN6",
                                             "CChangeSummaryInfo2.TotalApprovedDrawsCount"};
constexpr ErrorSite kTotalUnapprovedDrawsCount{"2PAN2RL44XT6DFS01KD28VEDE",
                                               "CChangeSummaryInfo2.TotalUnapprovedDrawsCount"};
constexpr ErrorSite kTotalDrawsCount{"3H2GMYAL79C07KCOBMJFT3M18",
                                     "CChangeSummaryInfo2.TotalDrawsCount"};
constexpr ErrorSite kDrawsProgressPercent{"S54EVSLO5NIE0PMUPFO1GU970",
                                          "CChangeSummaryInfo2.DrawsProgressPercent"};
constexpr ErrorSite kAverageApprovedDrawsAmount{"YZTHCPGRQQPCUJU2JP89NE16Q",
                                                "CChangeSummaryInfo2.AverageApprovedDrawsAmount"};
constexpr ErrorSite kAverageTotalDrawsAmount{"TEXT2QJSKGCDLHA7MOET8A9JP",
                                             "CChangeSummaryInfo2.AverageTotalDrawsAmount"};
constexpr ErrorSite kRemainingDrawsProgressAmount{
    "SD6GMX0YA4ZLJ8P5OO6EVMUNH", "CChangeSummaryInfo2.RemainingDrawsProgressAmount"};
constexpr ErrorSite kTotalPositiveUnassignedAmount{
    "YCZJO17Q8RUXCXBEQBHO8UIVW", "CChangeSummaryInfo2.TotalPositiveUnassignedAmount"};
constexpr ErrorSite kTotalNegativeUnassignedAmount{
    "UTLJ7QYQVU73IEJF1AAW8OJAE", "CChangeSummaryInfo2.TotalNegativeUnassignedAmount"};
constexpr ErrorSite kTotalApprovedUnassignedAmount{
    "MD5JI7QFU2CZ0YKF5VXITT95A", "CChangeSummaryInfo2.TotalApprovedUnassignedAmount"};
constexpr ErrorSite kTotalUnapprovedUnassignedAmount{
    "NA42TD7CZIWAJ5YK4LOC883LC", "CChangeSummaryInfo2.TotalUnapprovedUnassignedAmount"};
constexpr ErrorSite kTotalUnassignedAmount{"IDH6J3YE6JC8C3LQOOLERHH9M",
                                           "CChangeSummaryInfo2.TotalUnassignedAmount"};
constexpr ErrorSite kTotalPositiveUnassignedCount{
    "9D7XNLV3K68N61W94GSF1UCZ0", "CChangeSummaryInfo2.TotalPositiveUnassignedCount"};
constexpr ErrorSite kTotalNegativeUnassignedCount{
    "EU2XTYGC4H83169FD25O5JJZT", "CChangeSummaryInfo2.TotalNegativeUnassignedCount"};
constexpr ErrorSite kTotalApprovedUnassignedCount{
    "FBFLVUHONNBGOSIOD1DHUWYN1", "CChangeSummaryInfo2.TotalApprovedUnassignedCount"};
constexpr ErrorSite kTotalUnapprovedUnassignedCount{
    "FMAEQ2SUZIPYEK3I5931MGTA6", "CChangeSummaryInfo2.TotalUnapprovedUnassignedCount"};
constexpr ErrorSite kTotalUnassignedCount{"WGP8OU417PX1HA8JBA2SZDCJ0",
                                          "CChangeSummaryInfo2.TotalUnassignedCount"};
constexpr ErrorSite kAverageApprovedUnassignedAmount{
    "IVVS4AUQOHS6I6A3WTWL29KZ4", "CChangeSummaryInfo2.AverageApprovedUnassignedAmount"};
constexpr ErrorSite kAverageTotalUnassignedAmount{
    "SFW96X58UMNOPICG3XAZ7AYQ4", "CChangeSummaryInfo2.AverageTotalUnassignedAmount"};
constexpr ErrorSite kAverageApprovedAssignedAmount{
    "QIRP7N0A37GFPGDY4NXU402F6", "CChangeSummaryInfo2.AverageApprovedAssignedAmount"};
constexpr ErrorSite kAverageApprovedOrderedAmount{
    "WUVC95FEI0XD6QGAY1F2PATRU", "CChangeSummaryInfo2.AverageApprovedOrderedAmount"};
constexpr ErrorSite kAverageTotalAssignedAmount{"4UMA8CYWKKOATAEL2TJLKFI86",
                                                "CChangeSummaryInfo2.AverageTotalAssignedAmount"};
constexpr ErrorSite kAverageTotalOrderedAmount{"EQ8YT68WD7UDQILPVM3BYA8CJ",
                                               "CChangeSummaryInfo2.AverageTotalOrderedAmount"};
constexpr ErrorSite kProgressAmount{"MS1RPT7FBLQJ6A1H8Z06P4V5H",
                                    "CChangeSummaryInfo2.ProgressAmount"};
constexpr ErrorSite kProgressPercent{"ZQGZWW222Q485TG73C79GYOAN",
                                     "CChangeSummaryInfo2.ProgressPercent"};
constexpr ErrorSite kRemainingProgressAmount{"G7NB2BYTORPSSPUAIFYWZNIUX",
                                             "CChangeSummaryInfo2.RemainingProgressAmount"};
constexpr ErrorSite kTotalAssignedAmount{"31FRAFNHQTEKY8MOB43OXKMYK",
                                         "CChangeSummaryInfo2.TotalAssignedAmount"};
constexpr ErrorSite kTotalOrderedAmount{"M56K1949CNNJ72W7I0U0TV8NT",
                                        "CChangeSummaryInfo2.TotalOrderedAmount"};
constexpr ErrorSite kTotalAssignedCount{"53O2F23CKJIGX7GUIT2OHC2UV",
                                        "CChangeSummaryInfo2.TotalAssignedCount"};
constexpr ErrorSite kTotalOrderedCount{"Q3CY591IJ2J0BMEB378PI240G",
                                       "CChangeSummaryInfo2.TotalOrderedCount"};
constexpr ErrorSite kTotalApprovedAssignedAmount{"5Q60U269AR0JH1HTMSJ1A2UV5",
                                                 "CChangeSummaryInfo2.TotalApprovedAssignedAmount"};
constexpr ErrorSite kTotalApprovedOrderedAmount{"KNX8ZHFEYY31VOQVKERN3M13L",
                                                "CChangeSummaryInfo2.TotalApprovedOrderedAmount"};
constexpr ErrorSite kTotalApprovedAssignedCount{"6CMP4HV1R1OOIFNNH9ENUBL3Y",
                                                "CChangeSummaryInfo2.TotalApprovedAssignedCount"};
constexpr ErrorSite kTotalApprovedOrderedCount{"6LBKCJ622HOOMU4IUMYA3QIT5",
                                               "CChangeSummaryInfo2.TotalApprovedOrderedCount"};

Wide W(Currency value) { return value.Scaled(); }

// The formulas of one family, on exact values.
template <class Family>
Wide TotalA(const Family& f) {
  return W(f.unapprovedA) + W(f.approvedA);
}
template <class Family>
Wide TotalB(const Family& f) {
  return W(f.unapprovedB) + W(f.approvedB);
}
template <class Family>
Wide TotalApproved(const Family& f) {
  return W(f.approvedB) + W(f.approvedA);
}
template <class Family>
Wide TotalUnapproved(const Family& f) {
  return W(f.unapprovedB) + W(f.unapprovedA);
}
template <class Family>
Wide Total(const Family& f) {
  return TotalUnapproved(f) + TotalApproved(f);
}
template <class Family>
int64_t CountA(const Family& f) {
  return int64_t{f.approvedACount} + f.unapprovedACount;
}
template <class Family>
int64_t CountB(const Family& f) {
  return int64_t{f.approvedBCount} + f.unapprovedBCount;
}
template <class Family>
int64_t CountApproved(const Family& f) {
  return int64_t{f.approvedACount} + f.approvedBCount;
}
template <class Family>
int64_t CountUnapproved(const Family& f) {
  return int64_t{f.unapprovedACount} + f.unapprovedBCount;
}
template <class Family>
int64_t Count(const Family& f) {
  return CountApproved(f) + CountUnapproved(f);
}
template <class Family>
Wide Remaining(const Family& f) {
  return TotalApproved(f) - W(f.progress);
}

Currency AsCurrency(const ErrorSite& site, Wide scaled) {
  if (scaled > std::numeric_limits<int64_t>::max() ||
      scaled < std::numeric_limits<int64_t>::min()) {
    site.Raise(err::kOverflow);
  }
  return Currency::FromScaled(static_cast<int64_t>(scaled));
}

int32_t AsLong(const ErrorSite& site, int64_t value) {
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) {
    site.Raise(err::kOverflow);
  }
  return static_cast<int32_t>(value);
}

// The amount over the count, rounded half to even at 0.0001. Computed on the exact
// values rather than through a double, which would lose the last digits of amounts
// beyond 2^53 ten-thousandths and misplace halves that a double cannot hold.
Currency Average(const ErrorSite& site, Wide amount, int64_t count) {
  if (amount == 0 || count == 0) return Currency{};
  Wide quotient = amount / count;
  const Wide remainder = amount % count;
  const Wide twiceRest = 2 * (remainder < 0 ? -remainder : remainder);
  const Wide divisor = count < 0 ? -Wide{count} : Wide{count};
  if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 != 0)) {
    quotient += ((amount < 0) != (count < 0)) ? -1 : 1;
  }
  return AsCurrency(site, quotient);
}

double Percent(const ErrorSite& site, Wide part, Wide whole) {
  if (part == 0 || whole == 0) return 0;
  return PercentageService::Percent(AsCurrency(site, part), AsCurrency(site, whole), 2);
}

}  // namespace

Currency CChangeSummaryInfo2::TotalAdditionsAmount() const {
  return kTotalAdditionsAmount.Guard(
      [&] { return AsCurrency(kTotalAdditionsAmount, TotalA(changes_)); });
}

Currency CChangeSummaryInfo2::TotalDeletionsAmount() const {
  return kTotalDeletionsAmount.Guard(
      [&] { return AsCurrency(kTotalDeletionsAmount, TotalB(changes_)); });
}

Currency CChangeSummaryInfo2::TotalApprovedChangesAmount() const {
  return kTotalApprovedChangesAmount.Guard(
      [&] { return AsCurrency(kTotalApprovedChangesAmount, TotalApproved(changes_)); });
}

Currency CChangeSummaryInfo2::TotalUnapprovedChangesAmount() const {
  return kTotalUnapprovedChangesAmount.Guard(
      [&] { return AsCurrency(kTotalUnapprovedChangesAmount, TotalUnapproved(changes_)); });
}

Currency CChangeSummaryInfo2::TotalChangesAmount() const {
  return kTotalChangesAmount.Guard(
      [&] { return AsCurrency(kTotalChangesAmount, Total(changes_)); });
}

int32_t CChangeSummaryInfo2::TotalAdditionsCount() const {
  return kTotalAdditionsCount.Guard([&] { return AsLong(kTotalAdditionsCount, CountA(changes_)); });
}

int32_t CChangeSummaryInfo2::TotalDeletionsCount() const {
  return kTotalDeletionsCount.Guard([&] { return AsLong(kTotalDeletionsCount, CountB(changes_)); });
}

int32_t CChangeSummaryInfo2::TotalApprovedChangesCount() const {
  return kTotalApprovedChangesCount.Guard(
      [&] { return AsLong(kTotalApprovedChangesCount, CountApproved(changes_)); });
}

int32_t CChangeSummaryInfo2::TotalUnapprovedChangesCount() const {
  return kTotalUnapprovedChangesCount.Guard(
      [&] { return AsLong(kTotalUnapprovedChangesCount, CountUnapproved(changes_)); });
}

int32_t CChangeSummaryInfo2::TotalChangesCount() const {
  return kTotalChangesCount.Guard([&] { return AsLong(kTotalChangesCount, Count(changes_)); });
}

double CChangeSummaryInfo2::ChangesProgressPercent() const {
  return kChangesProgressPercent.Guard([&] {
    return Percent(kChangesProgressPercent, W(changes_.progress), TotalApproved(changes_));
  });
}

Currency CChangeSummaryInfo2::AverageApprovedChangesAmount() const {
  return kAverageApprovedChangesAmount.Guard([&] {
    return Average(kAverageApprovedChangesAmount, TotalApproved(changes_), CountApproved(changes_));
  });
}

Currency CChangeSummaryInfo2::AverageTotalChangesAmount() const {
  return kAverageTotalChangesAmount.Guard(
      [&] { return Average(kAverageTotalChangesAmount, Total(changes_), Count(changes_)); });
}

Currency CChangeSummaryInfo2::RemainingChangesProgressAmount() const {
  return kRemainingChangesProgressAmount.Guard(
      [&] { return AsCurrency(kRemainingChangesProgressAmount, Remaining(changes_)); });
}

Currency CChangeSummaryInfo2::TotalPositiveExpendituresAmount() const {
  return kTotalPositiveExpendituresAmount.Guard(
      [&] { return AsCurrency(kTotalPositiveExpendituresAmount, TotalA(expenditures_)); });
}

Currency CChangeSummaryInfo2::TotalNegativeExpendituresAmount() const {
  return kTotalNegativeExpendituresAmount.Guard(
      [&] { return AsCurrency(kTotalNegativeExpendituresAmount, TotalB(expenditures_)); });
}

Currency CChangeSummaryInfo2::TotalApprovedExpendituresAmount() const {
  return kTotalApprovedExpendituresAmount.Guard(
      [&] { return AsCurrency(kTotalApprovedExpendituresAmount, TotalApproved(expenditures_)); });
}

Currency CChangeSummaryInfo2::TotalUnapprovedExpendituresAmount() const {
  return kTotalUnapprovedExpendituresAmount.Guard([&] {
    return AsCurrency(kTotalUnapprovedExpendituresAmount, TotalUnapproved(expenditures_));
  });
}

Currency CChangeSummaryInfo2::TotalExpendituresAmount() const {
  return kTotalExpendituresAmount.Guard(
      [&] { return AsCurrency(kTotalExpendituresAmount, Total(expenditures_)); });
}

int32_t CChangeSummaryInfo2::TotalPositiveExpendituresCount() const {
  return kTotalPositiveExpendituresCount.Guard(
      [&] { return AsLong(kTotalPositiveExpendituresCount, CountA(expenditures_)); });
}

int32_t CChangeSummaryInfo2::TotalNegativeExpendituresCount() const {
  return kTotalNegativeExpendituresCount.Guard(
      [&] { return AsLong(kTotalNegativeExpendituresCount, CountB(expenditures_)); });
}

int32_t CChangeSummaryInfo2::TotalApprovedExpendituresCount() const {
  return kTotalApprovedExpendituresCount.Guard(
      [&] { return AsLong(kTotalApprovedExpendituresCount, CountApproved(expenditures_)); });
}

int32_t CChangeSummaryInfo2::TotalUnapprovedExpendituresCount() const {
  return kTotalUnapprovedExpendituresCount.Guard(
      [&] { return AsLong(kTotalUnapprovedExpendituresCount, CountUnapproved(expenditures_)); });
}

int32_t CChangeSummaryInfo2::TotalExpendituresCount() const {
  return kTotalExpendituresCount.Guard(
      [&] { return AsLong(kTotalExpendituresCount, Count(expenditures_)); });
}

double CChangeSummaryInfo2::ExpendituresProgressPercent() const {
  return kExpendituresProgressPercent.Guard([&] {
    return Percent(kExpendituresProgressPercent, W(expenditures_.progress),
                   TotalApproved(expenditures_));
  });
}

Currency CChangeSummaryInfo2::AverageApprovedExpendituresAmount() const {
  return kAverageApprovedExpendituresAmount.Guard([&] {
    return Average(kAverageApprovedExpendituresAmount, TotalApproved(expenditures_),
                   CountApproved(expenditures_));
  });
}

Currency CChangeSummaryInfo2::AverageTotalExpendituresAmount() const {
  return kAverageTotalExpendituresAmount.Guard([&] {
    return Average(kAverageTotalExpendituresAmount, Total(expenditures_), Count(expenditures_));
  });
}

Currency CChangeSummaryInfo2::RemainingExpendituresProgressAmount() const {
  return kRemainingExpendituresProgressAmount.Guard(
      [&] { return AsCurrency(kRemainingExpendituresProgressAmount, Remaining(expenditures_)); });
}

Currency CChangeSummaryInfo2::TotalPositiveDrawsAmount() const {
  return kTotalPositiveDrawsAmount.Guard(
      [&] { return AsCurrency(kTotalPositiveDrawsAmount, TotalA(draws_)); });
}

Currency CChangeSummaryInfo2::TotalNegativeDrawsAmount() const {
  return kTotalNegativeDrawsAmount.Guard(
      [&] { return AsCurrency(kTotalNegativeDrawsAmount, TotalB(draws_)); });
}

Currency CChangeSummaryInfo2::TotalApprovedDrawsAmount() const {
  return kTotalApprovedDrawsAmount.Guard(
      [&] { return AsCurrency(kTotalApprovedDrawsAmount, TotalApproved(draws_)); });
}

Currency CChangeSummaryInfo2::TotalUnapprovedDrawsAmount() const {
  return kTotalUnapprovedDrawsAmount.Guard(
      [&] { return AsCurrency(kTotalUnapprovedDrawsAmount, TotalUnapproved(draws_)); });
}

Currency CChangeSummaryInfo2::TotalDrawsAmount() const {
  return kTotalDrawsAmount.Guard([&] { return AsCurrency(kTotalDrawsAmount, Total(draws_)); });
}

int32_t CChangeSummaryInfo2::TotalPositiveDrawsCount() const {
  return kTotalPositiveDrawsCount.Guard(
      [&] { return AsLong(kTotalPositiveDrawsCount, CountA(draws_)); });
}

int32_t CChangeSummaryInfo2::TotalNegativeDrawsCount() const {
  return kTotalNegativeDrawsCount.Guard(
      [&] { return AsLong(kTotalNegativeDrawsCount, CountB(draws_)); });
}

int32_t CChangeSummaryInfo2::TotalApprovedDrawsCount() const {
  return kTotalApprovedDrawsCount.Guard(
      [&] { return AsLong(kTotalApprovedDrawsCount, CountApproved(draws_)); });
}

int32_t CChangeSummaryInfo2::TotalUnapprovedDrawsCount() const {
  return kTotalUnapprovedDrawsCount.Guard(
      [&] { return AsLong(kTotalUnapprovedDrawsCount, CountUnapproved(draws_)); });
}

int32_t CChangeSummaryInfo2::TotalDrawsCount() const {
  return kTotalDrawsCount.Guard([&] { return AsLong(kTotalDrawsCount, Count(draws_)); });
}

double CChangeSummaryInfo2::DrawsProgressPercent() const {
  return kDrawsProgressPercent.Guard(
      [&] { return Percent(kDrawsProgressPercent, W(draws_.progress), TotalApproved(draws_)); });
}

Currency CChangeSummaryInfo2::AverageApprovedDrawsAmount() const {
  return kAverageApprovedDrawsAmount.Guard([&] {
    return Average(kAverageApprovedDrawsAmount, TotalApproved(draws_), CountApproved(draws_));
  });
}

Currency CChangeSummaryInfo2::AverageTotalDrawsAmount() const {
  return kAverageTotalDrawsAmount.Guard(
      [&] { return Average(kAverageTotalDrawsAmount, Total(draws_), Count(draws_)); });
}

Currency CChangeSummaryInfo2::RemainingDrawsProgressAmount() const {
  return kRemainingDrawsProgressAmount.Guard(
      [&] { return AsCurrency(kRemainingDrawsProgressAmount, Remaining(draws_)); });
}

Currency CChangeSummaryInfo2::TotalPositiveUnassignedAmount() const {
  return kTotalPositiveUnassignedAmount.Guard(
      [&] { return AsCurrency(kTotalPositiveUnassignedAmount, TotalA(unassigned_)); });
}

Currency CChangeSummaryInfo2::TotalNegativeUnassignedAmount() const {
  return kTotalNegativeUnassignedAmount.Guard(
      [&] { return AsCurrency(kTotalNegativeUnassignedAmount, TotalB(unassigned_)); });
}

Currency CChangeSummaryInfo2::TotalApprovedUnassignedAmount() const {
  return kTotalApprovedUnassignedAmount.Guard(
      [&] { return AsCurrency(kTotalApprovedUnassignedAmount, TotalApproved(unassigned_)); });
}

Currency CChangeSummaryInfo2::TotalUnapprovedUnassignedAmount() const {
  return kTotalUnapprovedUnassignedAmount.Guard(
      [&] { return AsCurrency(kTotalUnapprovedUnassignedAmount, TotalUnapproved(unassigned_)); });
}

Currency CChangeSummaryInfo2::TotalUnassignedAmount() const {
  return kTotalUnassignedAmount.Guard(
      [&] { return AsCurrency(kTotalUnassignedAmount, Total(unassigned_)); });
}

int32_t CChangeSummaryInfo2::TotalPositiveUnassignedCount() const {
  return kTotalPositiveUnassignedCount.Guard(
      [&] { return AsLong(kTotalPositiveUnassignedCount, CountA(unassigned_)); });
}

int32_t CChangeSummaryInfo2::TotalNegativeUnassignedCount() const {
  return kTotalNegativeUnassignedCount.Guard(
      [&] { return AsLong(kTotalNegativeUnassignedCount, CountB(unassigned_)); });
}

int32_t CChangeSummaryInfo2::TotalApprovedUnassignedCount() const {
  return kTotalApprovedUnassignedCount.Guard(
      [&] { return AsLong(kTotalApprovedUnassignedCount, CountApproved(unassigned_)); });
}

int32_t CChangeSummaryInfo2::TotalUnapprovedUnassignedCount() const {
  return kTotalUnapprovedUnassignedCount.Guard(
      [&] { return AsLong(kTotalUnapprovedUnassignedCount, CountUnapproved(unassigned_)); });
}

int32_t CChangeSummaryInfo2::TotalUnassignedCount() const {
  return kTotalUnassignedCount.Guard(
      [&] { return AsLong(kTotalUnassignedCount, Count(unassigned_)); });
}

Currency CChangeSummaryInfo2::AverageApprovedUnassignedAmount() const {
  return kAverageApprovedUnassignedAmount.Guard([&] {
    return Average(kAverageApprovedUnassignedAmount, TotalApproved(unassigned_),
                   CountApproved(unassigned_));
  });
}

Currency CChangeSummaryInfo2::AverageTotalUnassignedAmount() const {
  return kAverageTotalUnassignedAmount.Guard([&] {
    return Average(kAverageTotalUnassignedAmount, Total(unassigned_), Count(unassigned_));
  });
}

Currency CChangeSummaryInfo2::AverageApprovedAssignedAmount() const {
  return kAverageApprovedAssignedAmount.Guard([&] {
    return Average(
        kAverageApprovedAssignedAmount,
        (TotalApproved(expenditures_) + TotalApproved(draws_) + TotalApproved(changes_)),
        (CountApproved(changes_) + CountApproved(draws_) + CountApproved(expenditures_)));
  });
}

Currency CChangeSummaryInfo2::AverageApprovedOrderedAmount() const {
  return kAverageApprovedOrderedAmount.Guard([&] {
    return Average(
        kAverageApprovedOrderedAmount,
        (TotalApproved(expenditures_) + TotalApproved(draws_) + TotalApproved(changes_)) +
            TotalApproved(unassigned_),
        (CountApproved(changes_) + CountApproved(draws_) + CountApproved(expenditures_)) +
            CountApproved(unassigned_));
  });
}

Currency CChangeSummaryInfo2::AverageTotalAssignedAmount() const {
  return kAverageTotalAssignedAmount.Guard([&] {
    return Average(kAverageTotalAssignedAmount,
                   (Total(expenditures_) + Total(draws_) + Total(changes_)),
                   (Count(changes_) + Count(draws_) + Count(expenditures_)));
  });
}

Currency CChangeSummaryInfo2::AverageTotalOrderedAmount() const {
  return kAverageTotalOrderedAmount.Guard([&] {
    return Average(kAverageTotalOrderedAmount,
                   (Total(expenditures_) + Total(draws_) + Total(changes_)) + Total(unassigned_),
                   (Count(changes_) + Count(draws_) + Count(expenditures_)) + Count(unassigned_));
  });
}

Currency CChangeSummaryInfo2::ProgressAmount() const {
  return kProgressAmount.Guard([&] {
    return AsCurrency(kProgressAmount,
                      (W(expenditures_.progress) + W(draws_.progress) + W(changes_.progress)));
  });
}

double CChangeSummaryInfo2::ProgressPercent() const {
  return kProgressPercent.Guard([&] {
    return Percent(kProgressPercent,
                   (W(expenditures_.progress) + W(draws_.progress) + W(changes_.progress)),
                   (Total(expenditures_) + Total(draws_) + Total(changes_)));
  });
}

Currency CChangeSummaryInfo2::RemainingProgressAmount() const {
  return kRemainingProgressAmount.Guard([&] {
    return AsCurrency(kRemainingProgressAmount,
                      Remaining(expenditures_) + Remaining(draws_) + Remaining(changes_));
  });
}

Currency CChangeSummaryInfo2::TotalAssignedAmount() const {
  return kTotalAssignedAmount.Guard([&] {
    return AsCurrency(kTotalAssignedAmount,
                      (Total(expenditures_) + Total(draws_) + Total(changes_)));
  });
}

Currency CChangeSummaryInfo2::TotalOrderedAmount() const {
  return kTotalOrderedAmount.Guard([&] {
    return AsCurrency(kTotalOrderedAmount, Total(unassigned_) + (Total(expenditures_) +
                                                                 Total(draws_) + Total(changes_)));
  });
}

int32_t CChangeSummaryInfo2::TotalAssignedCount() const {
  return kTotalAssignedCount.Guard([&] {
    return AsLong(kTotalAssignedCount, (Count(changes_) + Count(draws_) + Count(expenditures_)));
  });
}

int32_t CChangeSummaryInfo2::TotalOrderedCount() const {
  return kTotalOrderedCount.Guard([&] {
    return AsLong(kTotalOrderedCount,
                  (Count(changes_) + Count(draws_) + Count(expenditures_)) + Count(unassigned_));
  });
}

Currency CChangeSummaryInfo2::TotalApprovedAssignedAmount() const {
  return kTotalApprovedAssignedAmount.Guard([&] {
    return AsCurrency(
        kTotalApprovedAssignedAmount,
        (TotalApproved(expenditures_) + TotalApproved(draws_) + TotalApproved(changes_)));
  });
}

Currency CChangeSummaryInfo2::TotalApprovedOrderedAmount() const {
  return kTotalApprovedOrderedAmount.Guard([&] {
    return AsCurrency(
        kTotalApprovedOrderedAmount,
        TotalApproved(unassigned_) +
            (TotalApproved(expenditures_) + TotalApproved(draws_) + TotalApproved(changes_)));
  });
}

int32_t CChangeSummaryInfo2::TotalApprovedAssignedCount() const {
  return kTotalApprovedAssignedCount.Guard([&] {
    return AsLong(kTotalApprovedAssignedCount,
                  (CountApproved(changes_) + CountApproved(draws_) + CountApproved(expenditures_)));
  });
}

int32_t CChangeSummaryInfo2::TotalApprovedOrderedCount() const {
  return kTotalApprovedOrderedCount.Guard([&] {
    return AsLong(kTotalApprovedOrderedCount,
                  (CountApproved(changes_) + CountApproved(draws_) + CountApproved(expenditures_)) +
                      CountApproved(unassigned_));
  });
}

}  // namespace prvdrinfo
