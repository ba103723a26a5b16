// The next due date of every schedule, on fixed days, in a zone without and one with
// daylight saving. The expected dates are local calendar dates worked out from the
// schedule rules; each must come back as local midnight.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "services/internal/date_service.h"
#include "prvdrinfo/prvdrinfo.h"
#include "support/error_capture.h"
#include "support/host_seams.h"

namespace prvdrinfo {
namespace {

using test::ScopedClock;
using test::ScopedTimeZone;

constexpr const char* kZones[] = {"UTC0", "EST5EDT,M3.2.0,M11.1.0"};  // the second: Toronto

// "yyyy-mm-dd hh:mm:ss" of the local time an ISO text stands for.
std::string Local(const std::string& iso) {
  const auto p = DateService::ToParts(DateService::FromIso8601(iso));
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return text;
}

double At(const char* date, int hour, int minute) {
  int y = 0, m = 0, d = 0;
  std::sscanf(date, "%d-%d-%d", &y, &m, &d);
  return DateService::FromParts(y, m, d, hour, minute);
}

std::shared_ptr<CProviderViewNotifier> OnSchedule(CProviderViewNotifiers& notifiers, int32_t id) {
  notifiers.RemoveAll();
  return notifiers.Add(id);
}

// Today is a Friday (A), Saturday (B), Monday (C), the last day of April (D), 31 January
// (E), 29 February (F), the spring-forward Sunday (G) and the fall-back Sunday (H) of
// 2024. "delivered" is the next date after a delivery today, "offset 2" the same two
// periods on, "never" the next date of a notifier never delivered.
struct Row {
  int32_t id;
  const char* today;
  const char* delivered;
  const char* offset2;
  const char* never;
};

constexpr Row kRows[] = {
    // every day
    {0, "2024-03-01", "2024-03-02", "2024-03-04", "2024-03-01"},
    {0, "2024-03-02", "2024-03-03", "2024-03-05", "2024-03-02"},
    {0, "2024-03-04", "2024-03-05", "2024-03-07", "2024-03-04"},
    {0, "2024-04-30", "2024-05-01", "2024-05-03", "2024-04-30"},
    {0, "2024-01-31", "2024-02-01", "2024-02-03", "2024-01-31"},
    {0, "2024-02-29", "2024-03-01", "2024-03-03", "2024-02-29"},
    {0, "2024-03-10", "2024-03-11", "2024-03-13", "2024-03-10"},
    {0, "2024-11-03", "2024-11-04", "2024-11-06", "2024-11-03"},
    // every weekday: the day after a Friday or Saturday is the Monday; the offset counts
    // plain days
    {1, "2024-03-01", "2024-03-04", "2024-03-06", "2024-03-01"},
    {1, "2024-03-02", "2024-03-04", "2024-03-06", "2024-03-02"},
    {1, "2024-03-04", "2024-03-05", "2024-03-07", "2024-03-04"},
    {1, "2024-04-30", "2024-05-01", "2024-05-03", "2024-04-30"},
    {1, "2024-01-31", "2024-02-01", "2024-02-03", "2024-01-31"},
    {1, "2024-02-29", "2024-03-01", "2024-03-03", "2024-02-29"},
    {1, "2024-03-10", "2024-03-11", "2024-03-13", "2024-03-10"},
    {1, "2024-11-03", "2024-11-04", "2024-11-06", "2024-11-03"},
    // Mondays (weeks run Sunday to Saturday)
    {2, "2024-03-01", "2024-03-04", "2024-03-18", "2024-02-26"},
    {2, "2024-03-02", "2024-03-04", "2024-03-18", "2024-02-26"},
    {2, "2024-03-04", "2024-03-11", "2024-03-25", "2024-03-04"},
    {2, "2024-04-30", "2024-05-06", "2024-05-20", "2024-04-29"},
    {2, "2024-01-31", "2024-02-05", "2024-02-19", "2024-01-29"},
    {2, "2024-02-29", "2024-03-04", "2024-03-18", "2024-02-26"},
    {2, "2024-03-10", "2024-03-11", "2024-03-25", "2024-03-11"},
    {2, "2024-11-03", "2024-11-04", "2024-11-18", "2024-11-04"},
    // Tuesdays
    {3, "2024-03-01", "2024-03-05", "2024-03-19", "2024-02-27"},
    {3, "2024-03-02", "2024-03-05", "2024-03-19", "2024-02-27"},
    {3, "2024-03-04", "2024-03-05", "2024-03-19", "2024-03-05"},
    {3, "2024-04-30", "2024-05-07", "2024-05-21", "2024-04-30"},
    {3, "2024-01-31", "2024-02-06", "2024-02-20", "2024-01-30"},
    {3, "2024-02-29", "2024-03-05", "2024-03-19", "2024-02-27"},
    {3, "2024-03-10", "2024-03-12", "2024-03-26", "2024-03-12"},
    {3, "2024-11-03", "2024-11-05", "2024-11-19", "2024-11-05"},
    // Wednesdays
    {4, "2024-03-01", "2024-03-06", "2024-03-20", "2024-02-28"},
    {4, "2024-03-02", "2024-03-06", "2024-03-20", "2024-02-28"},
    {4, "2024-03-04", "2024-03-06", "2024-03-20", "2024-03-06"},
    {4, "2024-04-30", "2024-05-01", "2024-05-15", "2024-05-01"},
    {4, "2024-01-31", "2024-02-07", "2024-02-21", "2024-01-31"},
    {4, "2024-02-29", "2024-03-06", "2024-03-20", "2024-02-28"},
    {4, "2024-03-10", "2024-03-13", "2024-03-27", "2024-03-13"},
    {4, "2024-11-03", "2024-11-06", "2024-11-20", "2024-11-06"},
    // Thursdays
    {5, "2024-03-01", "2024-03-07", "2024-03-21", "2024-02-29"},
    {5, "2024-03-02", "2024-03-07", "2024-03-21", "2024-02-29"},
    {5, "2024-03-04", "2024-03-07", "2024-03-21", "2024-03-07"},
    {5, "2024-04-30", "2024-05-02", "2024-05-16", "2024-05-02"},
    {5, "2024-01-31", "2024-02-01", "2024-02-15", "2024-02-01"},
    {5, "2024-02-29", "2024-03-07", "2024-03-21", "2024-02-29"},
    {5, "2024-03-10", "2024-03-14", "2024-03-28", "2024-03-14"},
    {5, "2024-11-03", "2024-11-07", "2024-11-21", "2024-11-07"},
    // Fridays
    {6, "2024-03-01", "2024-03-08", "2024-03-22", "2024-03-01"},
    {6, "2024-03-02", "2024-03-08", "2024-03-22", "2024-03-01"},
    {6, "2024-03-04", "2024-03-08", "2024-03-22", "2024-03-08"},
    {6, "2024-04-30", "2024-05-03", "2024-05-17", "2024-05-03"},
    {6, "2024-01-31", "2024-02-02", "2024-02-16", "2024-02-02"},
    {6, "2024-02-29", "2024-03-01", "2024-03-15", "2024-03-01"},
    {6, "2024-03-10", "2024-03-15", "2024-03-29", "2024-03-15"},
    {6, "2024-11-03", "2024-11-08", "2024-11-22", "2024-11-08"},
    // Saturdays
    {7, "2024-03-01", "2024-03-02", "2024-03-16", "2024-03-02"},
    {7, "2024-03-02", "2024-03-09", "2024-03-23", "2024-03-02"},
    {7, "2024-03-04", "2024-03-09", "2024-03-23", "2024-03-09"},
    {7, "2024-04-30", "2024-05-04", "2024-05-18", "2024-05-04"},
    {7, "2024-01-31", "2024-02-03", "2024-02-17", "2024-02-03"},
    {7, "2024-02-29", "2024-03-02", "2024-03-16", "2024-03-02"},
    {7, "2024-03-10", "2024-03-16", "2024-03-30", "2024-03-16"},
    {7, "2024-11-03", "2024-11-09", "2024-11-23", "2024-11-09"},
    // Sundays
    {8, "2024-03-01", "2024-03-03", "2024-03-17", "2024-02-25"},
    {8, "2024-03-02", "2024-03-03", "2024-03-17", "2024-02-25"},
    {8, "2024-03-04", "2024-03-10", "2024-03-24", "2024-03-03"},
    {8, "2024-04-30", "2024-05-05", "2024-05-19", "2024-04-28"},
    {8, "2024-01-31", "2024-02-04", "2024-02-18", "2024-01-28"},
    {8, "2024-02-29", "2024-03-03", "2024-03-17", "2024-02-25"},
    {8, "2024-03-10", "2024-03-17", "2024-03-31", "2024-03-10"},
    {8, "2024-11-03", "2024-11-10", "2024-11-24", "2024-11-03"},
    // first of the month
    {9, "2024-03-01", "2024-04-01", "2024-06-01", "2024-03-01"},
    {9, "2024-03-02", "2024-04-01", "2024-06-01", "2024-03-01"},
    {9, "2024-03-04", "2024-04-01", "2024-06-01", "2024-03-01"},
    {9, "2024-04-30", "2024-05-01", "2024-07-01", "2024-04-01"},
    {9, "2024-01-31", "2024-02-01", "2024-04-01", "2024-01-01"},
    {9, "2024-02-29", "2024-03-01", "2024-05-01", "2024-02-01"},
    {9, "2024-03-10", "2024-04-01", "2024-06-01", "2024-03-01"},
    {9, "2024-11-03", "2024-12-01", "2025-02-01", "2024-11-01"},
    // first Monday of the month
    {10, "2024-03-01", "2024-04-01", "2024-06-03", "2024-03-04"},
    {10, "2024-03-02", "2024-04-01", "2024-06-03", "2024-03-04"},
    {10, "2024-03-04", "2024-04-01", "2024-06-03", "2024-03-04"},
    {10, "2024-04-30", "2024-05-06", "2024-07-01", "2024-04-01"},
    {10, "2024-01-31", "2024-02-05", "2024-04-01", "2024-01-01"},
    {10, "2024-02-29", "2024-03-04", "2024-05-06", "2024-02-05"},
    {10, "2024-03-10", "2024-04-01", "2024-06-03", "2024-03-04"},
    {10, "2024-11-03", "2024-12-02", "2025-02-03", "2024-11-04"},
    // last of the month: delivered on the last day, it moves to the next month's
    {11, "2024-03-01", "2024-04-30", "2024-06-30", "2024-03-31"},
    {11, "2024-03-02", "2024-04-30", "2024-06-30", "2024-03-31"},
    {11, "2024-03-04", "2024-04-30", "2024-06-30", "2024-03-31"},
    {11, "2024-04-30", "2024-05-31", "2024-07-31", "2024-04-30"},
    {11, "2024-01-31", "2024-02-29", "2024-04-30", "2024-01-31"},
    {11, "2024-02-29", "2024-03-31", "2024-05-31", "2024-02-29"},
    {11, "2024-03-10", "2024-04-30", "2024-06-30", "2024-03-31"},
    {11, "2024-11-03", "2024-12-31", "2025-02-28", "2024-11-30"},
    // last Friday of the month
    {12, "2024-03-01", "2024-04-26", "2024-06-28", "2024-03-29"},
    {12, "2024-03-02", "2024-04-26", "2024-06-28", "2024-03-29"},
    {12, "2024-03-04", "2024-04-26", "2024-06-28", "2024-03-29"},
    {12, "2024-04-30", "2024-05-31", "2024-07-26", "2024-04-26"},
    {12, "2024-01-31", "2024-02-23", "2024-04-26", "2024-01-26"},
    {12, "2024-02-29", "2024-03-29", "2024-05-31", "2024-02-23"},
    {12, "2024-03-10", "2024-04-26", "2024-06-28", "2024-03-29"},
    {12, "2024-11-03", "2024-12-27", "2025-02-28", "2024-11-29"},
};

TEST(NotifierSchedule, EveryScheduleFallsDueOnItsDayInEveryZone) {
  for (const char* zone : kZones) {
    ScopedTimeZone tz(zone);
    CProviderViewNotifiers notifiers;
    for (const Row& row : kRows) {
      SCOPED_TRACE(std::string(zone) + " id " + std::to_string(row.id) + " today " + row.today);
      ScopedClock clock(At(row.today, 10, 30));
      const auto notifier = OnSchedule(notifiers, row.id);
      notifier->UpdateLastDeliveredDate();
      EXPECT_EQ(Local(notifier->NextScheduledDeliveryDate()),
                std::string(row.delivered) + " 00:00:00");
      EXPECT_EQ(Local(notifier->CalcNextScheduledDeliveryDate(notifier->LastDeliveredDateUtc(), 2)),
                std::string(row.offset2) + " 00:00:00");
      EXPECT_EQ(
          Local(notifier->CalcNextScheduledDeliveryDate(CProviderViewNotifier::kNeverDelivered)),
          std::string(row.never) + " 00:00:00");
    }
  }
}

TEST(NotifierSchedule, MidnightAcrossTheDaylightSavingChangeIsTheNewOffset) {
  ScopedTimeZone tz(kZones[1]);
  CProviderViewNotifiers notifiers;
  struct Case {
    const char* today;
    const char* want;
  };
  for (const Case& c : std::initializer_list<Case>{{"2024-03-09", "2024-03-10T05:00:00Z"},
                                                   {"2024-03-10", "2024-03-11T04:00:00Z"},
                                                   {"2024-11-02", "2024-11-03T04:00:00Z"},
                                                   {"2024-11-03", "2024-11-04T05:00:00Z"}}) {
    SCOPED_TRACE(c.today);
    ScopedClock clock(At(c.today, 23, 30));
    const auto daily = OnSchedule(notifiers, viewschedid_DailyAll);
    daily->UpdateLastDeliveredDate();
    EXPECT_EQ(daily->NextScheduledDeliveryDate(), c.want);
  }
}

TEST(NotifierSchedule, AlternatingSchedulesSkipOnePeriod) {
  ScopedTimeZone tz(kZones[1]);
  ScopedClock clock(At("2024-03-04", 9, 0));  // a Monday
  CProviderViewNotifiers notifiers;
  struct Case {
    int32_t id;
    const char* want;
  };
  for (const Case& c : std::initializer_list<Case>{{viewschedid_DailyAll, "2024-03-06"},
                                                   {viewschedid_WeeklyMonday, "2024-03-18"},
                                                   {viewschedid_WeeklyFriday, "2024-03-15"},
                                                   {viewschedid_MonthlyFirst, "2024-05-01"},
                                                   {viewschedid_MonthlyLast, "2024-05-31"}}) {
    SCOPED_TRACE(c.id);
    const auto notifier = OnSchedule(notifiers, c.id);
    notifier->SetAlternateSchedule(true);
    notifier->UpdateLastDeliveredDate();
    EXPECT_EQ(Local(notifier->NextScheduledDeliveryDate()), std::string(c.want) + " 00:00:00");
  }
}

TEST(NotifierSchedule, TheOffsetPushesFromTodayAndIsLimitedToFourteenPeriods) {
  ScopedTimeZone tz(kZones[0]);
  ScopedClock clock(At("2024-03-04", 9, 0));
  CProviderViewNotifiers notifiers;
  const auto weekly = OnSchedule(notifiers, viewschedid_WeeklyMonday);
  weekly->SetNextScheduledDeliveryDateOffset(1);
  EXPECT_EQ(weekly->NextScheduledDeliveryDate(), "2024-03-18T00:00:00Z");
  weekly->SetNextScheduledDeliveryDateOffset(14);
  EXPECT_EQ(weekly->NextScheduledDeliveryDate(), "2024-06-17T00:00:00Z");
  for (const auto& [offset, message] :
       {std::pair{0, "Offset must be > 0"}, std::pair{-3, "Offset must be > 0"},
        std::pair{15, "Offset must be < 15"}}) {
    const int32_t periods = offset;  // older compilers cannot capture a structured binding
    const CError error =
        testing::ErrorOf([&] { weekly->SetNextScheduledDeliveryDateOffset(periods); });
    EXPECT_EQ(error.Number(), 5);
    EXPECT_EQ(error.Description(), message);
  }
  EXPECT_EQ(weekly->NextScheduledDeliveryDate(), "2024-06-17T00:00:00Z");
}

// Without a valid from date a new notifier counts from today, a loaded one from
// yesterday, so that a loaded daily notifier is due at once.
TEST(NotifierSchedule, AnInvalidFromDateCountsFromTodayOrForALoadedNotifierYesterday) {
  ScopedTimeZone tz(kZones[0]);
  ScopedClock clock(At("2024-03-05", 9, 0));
  CProviderViewNotifiers notifiers;
  const auto fresh = OnSchedule(notifiers, viewschedid_DailyAll);
  EXPECT_EQ(fresh->CalcNextScheduledDeliveryDate("not a date"), "2024-03-06T00:00:00Z");
  CProviderViewNotifier loaded;
  loaded.Deserialize(fresh->CPersistable::Serialize());
  EXPECT_EQ(loaded.CalcNextScheduledDeliveryDate(""), "2024-03-05T00:00:00Z");
}

}  // namespace
}  // namespace prvdrinfo
