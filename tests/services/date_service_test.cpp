#include "services/internal/date_service.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>

#include "prvdrinfo/foundation/error.h"
#include "support/host_seams.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

using namespace std::string_literals;
using test::ScopedClock;
using test::ScopedTimeZone;

constexpr const char* kToronto = "EST5EDT,M3.2.0,M11.1.0";
constexpr const char* kParis = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr const char* kIndia = "IST-5:30";
constexpr const char* kAuckland = "NZST-12NZDT,M9.5.0,M4.1.0/3";
constexpr const char* kUtc = "UTC0";

using P = DateService::Parts;

double D(const P& p) {
  return DateService::FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

std::string Show(const P& p) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                p.hour, p.minute, p.second);
  return buffer;
}

TEST(DateServiceIso, LocalDatesToUtcTextAndBack) {
  struct Case {
    const char* tz;
    P local;
    const char* iso;
    P back;  // what the text reads back as
  } cases[] = {
      // The zero date, the never-delivered value of notifiers.
      {kToronto, {1899, 12, 30, 0, 0, 0}, "1899-12-30T05:00:00Z", {1899, 12, 30, 0, 0, 0}},
      {kToronto, {2024, 1, 15, 8, 30, 15}, "2024-01-15T13:30:15Z", {2024, 1, 15, 8, 30, 15}},
      {kToronto, {2024, 7, 1, 12, 0, 0}, "2024-07-01T16:00:00Z", {2024, 7, 1, 12, 0, 0}},
      {kToronto, {2024, 12, 31, 22, 0, 0}, "2025-01-01T03:00:00Z", {2024, 12, 31, 22, 0, 0}},
      // Spring forward at 02:00: 02:30 does not exist and reads with the winter offset.
      {kToronto, {2024, 3, 10, 1, 59, 59}, "2024-03-10T06:59:59Z", {2024, 3, 10, 1, 59, 59}},
      {kToronto, {2024, 3, 10, 2, 30, 0}, "2024-03-10T07:30:00Z", {2024, 3, 10, 3, 30, 0}},
      {kToronto, {2024, 3, 10, 3, 0, 0}, "2024-03-10T07:00:00Z", {2024, 3, 10, 3, 0, 0}},
      // Fall back at 02:00: 01:30 happens twice; the first one counts.
      {kToronto, {2024, 11, 3, 0, 59, 59}, "2024-11-03T04:59:59Z", {2024, 11, 3, 0, 59, 59}},
      {kToronto, {2024, 11, 3, 1, 30, 0}, "2024-11-03T05:30:00Z", {2024, 11, 3, 1, 30, 0}},
      {kToronto, {2024, 11, 3, 2, 0, 0}, "2024-11-03T07:00:00Z", {2024, 11, 3, 2, 0, 0}},
      {kParis, {2024, 6, 1, 0, 0, 0}, "2024-05-31T22:00:00Z", {2024, 6, 1, 0, 0, 0}},
      {kParis, {2024, 3, 31, 2, 30, 0}, "2024-03-31T01:30:00Z", {2024, 3, 31, 3, 30, 0}},
      {kParis, {2024, 10, 27, 2, 30, 0}, "2024-10-27T00:30:00Z", {2024, 10, 27, 2, 30, 0}},
      {kIndia, {2024, 1, 1, 0, 0, 0}, "2023-12-31T18:30:00Z", {2024, 1, 1, 0, 0, 0}},
      {kAuckland, {2024, 4, 7, 2, 30, 0}, "2024-04-06T13:30:00Z", {2024, 4, 7, 2, 30, 0}},
      {kAuckland, {2024, 9, 29, 2, 30, 0}, "2024-09-28T14:30:00Z", {2024, 9, 29, 3, 30, 0}},
      {kUtc, {100, 1, 1, 0, 0, 0}, "0100-01-01T00:00:00Z", {100, 1, 1, 0, 0, 0}},
      {kUtc, {9999, 12, 31, 23, 59, 59}, "9999-12-31T23:59:59Z", {9999, 12, 31, 23, 59, 59}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.tz) + " " + Show(c.local));
    ScopedTimeZone tz(c.tz);
    EXPECT_EQ(DateService::ToIso8601(D(c.local)), c.iso);
    ASSERT_TRUE(DateService::IsIso8601(c.iso));
    EXPECT_EQ(Show(DateService::ToParts(DateService::FromIso8601(c.iso))), Show(c.back));
  }
}

TEST(DateServiceIso, TheSecondOfADoubledHourWritesAsTheFirst) {
  ScopedTimeZone tz(kToronto);
  const double second = DateService::FromIso8601("2024-11-03T06:30:00Z");
  EXPECT_EQ(Show(DateService::ToParts(second)), "2024-11-03 01:30:00");
  EXPECT_EQ(DateService::ToIso8601(second), "2024-11-03T05:30:00Z");
}

TEST(DateServiceIso, ReadsTheAcceptedForms) {
  ScopedTimeZone tz(kUtc);
  struct Case {
    const char* text;
    P parts;
  } cases[] = {
      {"2024-01-15T13:30:15Z", {2024, 1, 15, 13, 30, 15}},
      {"2024-01-15t13:30:15z", {2024, 1, 15, 13, 30, 15}},
      {"2024-01-15T13:30:15.4Z", {2024, 1, 15, 13, 30, 15}},
      {"2024-01-15T13:30:15.5Z", {2024, 1, 15, 13, 30, 16}},
      {"2024-01-15T13:30:15,999999Z", {2024, 1, 15, 13, 30, 16}},
      {"2024-01-15T23:59:59.5Z", {2024, 1, 16, 0, 0, 0}},
      {"2024-01-15T13:30:15+01:00", {2024, 1, 15, 12, 30, 15}},
      {"2024-01-15T13:30:15+0100", {2024, 1, 15, 12, 30, 15}},
      {"2024-01-15T13:30:15+01", {2024, 1, 15, 12, 30, 15}},
      {"2024-01-15T13:30:15-05:30", {2024, 1, 15, 19, 0, 15}},
      {"2024-01-01T00:30:00+01:00", {2023, 12, 31, 23, 30, 0}},
      {"2024-02-29T12:00:00Z", {2024, 2, 29, 12, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(DateService::IsIso8601(c.text));
    EXPECT_EQ(Show(DateService::ToParts(DateService::FromIso8601(c.text))), Show(c.parts));
  }
}

TEST(DateServiceIso, RejectsEverythingElse) {
  ScopedTimeZone tz(kUtc);
  const std::string cases[] = {
      "",
      "2024-01-15",
      "2024-01-15T13:30:15",  // no zone
      " 2024-01-15T13:30:15Z",
      "2024-01-15T13:30:15Z ",
      "2024-01-15 13:30:15Z",
      "2024-1-15T13:30:15Z",
      "2024-02-30T00:00:00Z",
      "2023-02-29T00:00:00Z",
      "2024-13-01T00:00:00Z",
      "2024-00-01T00:00:00Z",
      "2024-01-15T24:00:00Z",
      "2024-01-15T23:60:00Z",
      "2024-01-15T23:59:60Z",
      "2024-01-15T13:30:15.Z",
      "2024-01-15T13:30:15+24:00",
      "2024-01-15T13:30:15+01:60",
      "2024-01-15T13:30:15+01:0",
      "2024-01-15T13:30:15+1",
      "2024-01-15T13:30:15ZZ",
      "0099-12-31T23:59:59Z",
      "0000-01-01T00:00:00Z",
      "10000-01-01T00:00:00Z",
      "9999-12-31T23:59:59-01:00",
      "2024-01-15T13:30:15\0Z"s,
      "\xEF\xBC\x92"
      "024-01-15T13:30:15Z",  // full-width digit
      "not a date",
      "\xFF\xFE",
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(DateService::IsIso8601(text));
    EXPECT_FALSE(DateService::TryFromIso8601(text).has_value());
    const CError e = ErrorOf([&] { DateService::FromIso8601(text); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description().rfind("Invalid ISO 8601 date: \"", 0), 0u) << e.Description();
  }
  EXPECT_EQ(ErrorOf([] { DateService::FromIso8601("nope\n"); }).Description(),
            "Invalid ISO 8601 date: \"nope\\x0A\"");
}

TEST(DateServiceIso, ValidityIncludesTheLocalRange) {
  ScopedTimeZone tz(kToronto);
  EXPECT_FALSE(DateService::IsIso8601("0100-01-01T03:00:00Z"));  // 0099-12-31 local
  EXPECT_TRUE(DateService::IsIso8601("0100-01-01T05:00:00Z"));
  const CError e = ErrorOf([] { DateService::ToIso8601(D({9999, 12, 31, 23, 0, 0})); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description().rfind("Date out of range for ISO 8601 text: ", 0), 0u);
}

TEST(DateServiceIso, RoundsToTheNearestSecond) {
  ScopedTimeZone tz(kUtc);
  const double base = D({2024, 1, 15, 13, 30, 15});
  EXPECT_EQ(DateService::ToIso8601(base + 0.4 / 86400), "2024-01-15T13:30:15Z");
  EXPECT_EQ(DateService::ToIso8601(base + 0.6 / 86400), "2024-01-15T13:30:16Z");
  EXPECT_EQ(DateService::ToIso8601(D({2024, 1, 15, 23, 59, 59}) + 0.6 / 86400),
            "2024-01-16T00:00:00Z");
}

TEST(DateServiceDates, ValidityAndTheAutomationEncoding) {
  struct Case {
    double date;
    bool valid;
  } cases[] = {
      {0, true},
      {45427.5, true},
      {-657434, true},  // 0100-01-01
      {-657434.5, true},
      {-657435, false},
      {2958465.99998, true},    // 9999-12-31 23:59:58
      {2958465.999999, false},  // rounds into the year 10000
      {2958466, false},
      {std::nan(""), false},
      {std::numeric_limits<double>::infinity(), false},
      {-std::numeric_limits<double>::infinity(), false},
      {1e300, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(DateService::IsValidDate(c.date), c.valid);
  }
  EXPECT_EQ(D({2024, 5, 15, 0, 0, 0}), 45427.0);
  EXPECT_EQ(D({100, 1, 1, 0, 0, 0}), -657434.0);
  EXPECT_EQ(DateService::FromUnixTime(0), 25569.0);
  EXPECT_EQ(DateService::FromUnixTime(129600), 25570.5);
  // Before 1899-12-30 the fraction still counts forward from midnight.
  EXPECT_EQ(D({1899, 12, 29, 6, 0, 0}), -1.25);
  EXPECT_EQ(Show(DateService::ToParts(-1.25)), "1899-12-29 06:00:00");
  EXPECT_EQ(Show(DateService::ToParts(-0.25)), "1899-12-30 06:00:00");
  EXPECT_EQ(DateService::DatePart(-1.25), -1.0);
  EXPECT_EQ(DateService::AddDays(0.25, -1), -1.25);
  EXPECT_EQ(DateService::AddDays(-1.25, 1), 0.25);
  EXPECT_EQ(DateService::DaysBetween(-1.25, 0.25), 1);
  EXPECT_EQ(DateService::Weekday(-1.25), 6);  // a Friday
  EXPECT_EQ(DateService::Weekday(0), 7);      // a Saturday
}

TEST(DateServiceDates, InvalidArgumentsRaise) {
  struct Case {
    std::function<void()> call;
    std::string description;
  } cases[] = {
      {[] { DateService::ToIso8601(std::nan("")); }, "Invalid date: nan"},
      {[] { DateService::ToParts(1e300); }, "Invalid date: 1e+300"},
      {[] { DateService::FromParts(2024, 2, 30); }, "Day out of range: 30 in 2024-2."},
      {[] { DateService::FromParts(2024, 1, 0); }, "Day out of range: 0 in 2024-1."},
      {[] { DateService::FromParts(2024, 1, 1, 24); }, "Time out of range: 24:0:0."},
      {[] { DateService::FromParts(2024, 1, 1, 0, -1); }, "Time out of range: 0:-1:0."},
      {[] { DateService::FromParts(10000, 1, 1); }, "Date out of range: year 10000."},
      {[] { DateService::FirstMonday(99, 12); }, "Date out of range: year 99."},
      {[] { DateService::LastDayOfMonth(9999, 13); }, "Date out of range: year 10000."},
      {[] { DateService::FirstMonday(INT32_MAX, INT32_MAX); },
       "Date out of range: year 2326440617."},
      {[] { DateService::WeekdayOfWeek(45427, 0); },
       "Weekday must lie from 1 (Sunday) to 7 (Saturday): 0"},
      {[] { DateService::WeekdayOfWeek(45427, 8); },
       "Weekday must lie from 1 (Sunday) to 7 (Saturday): 8"},
      {[] {
         DateService::AddMonths(D({9999, 12, 1, 0, 0, 0}), 1);
       },
       "Date out of range: year 10000."},
      {[] { DateService::AddDays(2958465, 1); },
       "Date out of range: the result lies outside the years 100 to 9999."},
      {[] { DateService::AddDays(0, INT64_MIN); }, "Date out of range: -9223372036854775808 days."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    const CError e = ErrorOf(c.call);
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), c.description);
  }
}

TEST(DateServiceCalendar, WeekdayOfTheWeekKeepsTheTimeOfDay) {
  const double wednesday = D({2024, 5, 15, 10, 0, 0});
  EXPECT_EQ(DateService::Weekday(wednesday), 4);
  struct Case {
    double date;
    int32_t weekday;
    P expected;
  } cases[] = {
      {wednesday, 1, {2024, 5, 12, 10, 0, 0}},
      {wednesday, 2, {2024, 5, 13, 10, 0, 0}},
      {wednesday, 4, {2024, 5, 15, 10, 0, 0}},
      {wednesday, 7, {2024, 5, 18, 10, 0, 0}},
      {D({2024, 5, 12, 0, 0, 0}), 2, {2024, 5, 13, 0, 0, 0}},  // weeks start on Sunday
      {D({2024, 5, 18, 0, 0, 0}), 1, {2024, 5, 12, 0, 0, 0}},
      {D({2024, 12, 31, 0, 0, 0}), 7, {2025, 1, 4, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(DateService::ToParts(c.date)) + " weekday " + std::to_string(c.weekday));
    EXPECT_EQ(Show(DateService::ToParts(DateService::WeekdayOfWeek(c.date, c.weekday))),
              Show(c.expected));
  }
}

TEST(DateServiceCalendar, FirstMondayLastFridayAndLastDay) {
  enum Kind { kFirstMonday, kLastFriday, kLastDay };
  struct Case {
    Kind kind;
    int32_t year;
    int32_t month;
    P expected;
  } cases[] = {
      {kFirstMonday, 2024, 1, {2024, 1, 1, 0, 0, 0}},
      {kFirstMonday, 2024, 4, {2024, 4, 1, 0, 0, 0}},
      {kFirstMonday, 2024, 9, {2024, 9, 2, 0, 0, 0}},
      {kFirstMonday, 2024, 13, {2025, 1, 6, 0, 0, 0}},
      {kFirstMonday, 2025, 0, {2024, 12, 2, 0, 0, 0}},
      {kFirstMonday, 2024, -11, {2023, 1, 2, 0, 0, 0}},
      {kLastFriday, 2024, 5, {2024, 5, 31, 0, 0, 0}},
      {kLastFriday, 2024, 2, {2024, 2, 23, 0, 0, 0}},
      {kLastFriday, 2024, 6, {2024, 6, 28, 0, 0, 0}},
      {kLastFriday, 2024, 11, {2024, 11, 29, 0, 0, 0}},
      {kLastDay, 2024, 2, {2024, 2, 29, 0, 0, 0}},
      {kLastDay, 2023, 2, {2023, 2, 28, 0, 0, 0}},
      {kLastDay, 2100, 2, {2100, 2, 28, 0, 0, 0}},
      {kLastDay, 2000, 2, {2000, 2, 29, 0, 0, 0}},
      {kLastDay, 2024, 4, {2024, 4, 30, 0, 0, 0}},
      {kLastDay, 2024, 12, {2024, 12, 31, 0, 0, 0}},
      {kLastDay, 2024, 14, {2025, 2, 28, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.year) + "-" +
                 std::to_string(c.month));
    const double result = c.kind == kFirstMonday  ? DateService::FirstMonday(c.year, c.month)
                          : c.kind == kLastFriday ? DateService::LastFriday(c.year, c.month)
                                                  : DateService::LastDayOfMonth(c.year, c.month);
    EXPECT_EQ(Show(DateService::ToParts(result)), Show(c.expected));
  }
}

TEST(DateServiceCalendar, MonthAndDayArithmetic) {
  struct Case {
    P from;
    int32_t months;
    P expected;
  } cases[] = {
      {{2024, 1, 31, 10, 0, 0}, 1, {2024, 2, 29, 10, 0, 0}},
      {{2024, 3, 31, 0, 0, 0}, -1, {2024, 2, 29, 0, 0, 0}},
      {{2023, 1, 31, 0, 0, 0}, 1, {2023, 2, 28, 0, 0, 0}},
      {{2024, 5, 15, 0, 0, 0}, 12, {2025, 5, 15, 0, 0, 0}},
      {{2024, 5, 15, 0, 0, 0}, -24, {2022, 5, 15, 0, 0, 0}},
      {{2024, 12, 15, 0, 0, 0}, 1, {2025, 1, 15, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.from) + " + " + std::to_string(c.months));
    EXPECT_EQ(Show(DateService::ToParts(DateService::AddMonths(D(c.from), c.months))),
              Show(c.expected));
  }
  EXPECT_EQ(DateService::MonthsBetween(D({2024, 1, 31, 0, 0, 0}), D({2024, 2, 1, 0, 0, 0})), 1);
  EXPECT_EQ(DateService::MonthsBetween(D({2024, 2, 1, 0, 0, 0}), D({2024, 1, 31, 0, 0, 0})), -1);
  EXPECT_EQ(DateService::MonthsBetween(D({2023, 12, 31, 0, 0, 0}), D({2025, 1, 1, 0, 0, 0})), 13);
  const double lateEvening = D({2024, 5, 15, 23, 0, 0});
  const double earlyMorning = D({2024, 5, 16, 1, 0, 0});
  EXPECT_EQ(DateService::DaysBetween(lateEvening, earlyMorning), 1);
  EXPECT_EQ(DateService::DaysBetween(earlyMorning, lateEvening), -1);
  EXPECT_EQ(DateService::DaysBetween(D({2024, 5, 15, 0, 0, 0}), lateEvening), 0);
  EXPECT_EQ(DateService::DatePart(lateEvening), 45427.0);
}

TEST(DateServiceZones, LocalAndUtcRoundTripThroughAYear) {
  for (const char* zone : {kToronto, kParis, kAuckland, kIndia}) {
    SCOPED_TRACE(zone);
    ScopedTimeZone tz(zone);
    for (int32_t day = 0; day < 366; ++day) {
      const double noon = D({2024, 1, 1, 12, 0, 0}) + day;
      const double utc = DateService::LocalToUtc(noon);
      EXPECT_EQ(DateService::UtcToLocal(utc), noon);
      const int64_t offsetMinutes = std::llround((noon - utc) * 1440);
      EXPECT_TRUE(offsetMinutes == -300 || offsetMinutes == -240 || offsetMinutes == 60 ||
                  offsetMinutes == 120 || offsetMinutes == 720 || offsetMinutes == 780 ||
                  offsetMinutes == 330)
          << offsetMinutes;
    }
  }
  ScopedTimeZone tz(kToronto);
  EXPECT_EQ(Show(DateService::ToParts(DateService::LocalToUtc(D({2024, 7, 1, 12, 0, 0})))),
            "2024-07-01 16:00:00");
  EXPECT_EQ(Show(DateService::ToParts(DateService::UtcToLocal(D({2024, 1, 1, 3, 0, 0})))),
            "2023-12-31 22:00:00");
}

TEST(DateServiceClock, TodayComesFromTheHostClock) {
  ScopedClock clock(D({2024, 5, 15, 13, 45, 0}));
  EXPECT_EQ(DateService::Today(), 45427.0);
}

}  // namespace
}  // namespace prvdrinfo
