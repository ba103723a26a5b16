#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace prvdrinfo {

// Dates are automation dates: days since 1899-12-30 00:00 as a double, the fraction being
// the time of day. Before that day the fraction counts forward from midnight although the
// value is negative (-1.25 is 1899-12-29 06:00), as the automation runtime has it. Dates
// the library keeps are local time unless a name says UTC.
//
// Rules:
// - Valid dates lie from 0100-01-01 00:00:00 to 9999-12-31 23:59:59 and are finite. Every
//   operation works to the whole second: a date is first rounded to the nearest second
//   (half a second up), so 23:59:59.6 is the next day's midnight.
// - ISO text is "yyyy-mm-ddThh:mm:ssZ" in UTC, always 20 characters, no fraction. Reading
//   accepts exactly that shape with 'T' or 't', an optional fraction of any length after
//   the seconds ('.' or ',' then digits, rounded to the nearest second), and "Z", "z", "+hh:mm",
//   "+hhmm" or "+hh" (or '-') as the zone. Nothing else: no white space around it, no date-only
//   form, no second 60, no hour 24. A text that reads as a date outside the valid range once it is
//   taken to local time is not valid either.
// - Local time is the system time zone (TZ, re-read on every call). A local time that a
//   daylight-saving change skips (02:30 on a spring-forward night) is read with the
//   offset in force before the change; one that occurs twice (01:30 on a fall-back night)
//   is the first occurrence.
// - Weeks run Sunday to Saturday; weekday numbers are 1 = Sunday ... 7 = Saturday.
// - Month arguments need not lie in 1..12: month 13 of 2024 is January 2025 and month 0
//   is December of the year before, so callers can add months to a month number.
// - "Now" and "today" come from CVesk's clock only.
// Invalid arguments raise 5 with a description that names the value.
class DateService {
 public:
  struct Parts {
    int32_t year = 1899;
    int32_t month = 12;
    int32_t day = 30;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
  };

  static bool IsValidDate(double date);

  // Local automation date -> ISO text in UTC, and back.
  static std::string ToIso8601(double localDate);
  static double FromIso8601(std::string_view text);
  static std::optional<double> TryFromIso8601(std::string_view text);
  static bool IsIso8601(std::string_view text);

  // The UTC automation date of a count of seconds since 1970-01-01 00:00 UTC.
  static double FromUnixTime(int64_t unixSeconds);

  static double LocalToUtc(double localDate);
  static double UtcToLocal(double utcDate);

  // Calendar fields and back. FromParts takes any month (see above), day 1..31 within
  // the month's length, hour 0..23, minute and second 0..59.
  static Parts ToParts(double date);
  static double FromParts(int32_t year, int32_t month, int32_t day, int32_t hour = 0,
                          int32_t minute = 0, int32_t second = 0);

  static double DatePart(double date);  // midnight of the same day
  static int32_t Weekday(double date);  // 1 = Sunday ... 7 = Saturday
  // The date of `weekday` in the Sunday-to-Saturday week of `date`, same time of day.
  static double WeekdayOfWeek(double date, int32_t weekday);
  // Midnight of the first Monday, the last Friday and the last day of a month.
  static double FirstMonday(int32_t year, int32_t month);
  static double LastFriday(int32_t year, int32_t month);
  static double LastDayOfMonth(int32_t year, int32_t month);

  // Calendar arithmetic that keeps the time of day. AddMonths keeps the day of the month
  // where the target month has it and takes the month's last day otherwise.
  static double AddDays(double date, int64_t days);
  static double AddMonths(double date, int32_t months);
  // Calendar boundaries crossed from `from` to `to` (negative when `to` is earlier):
  // 23:00 to 01:00 the next morning is one day; 31 January to 1 February is one month.
  static int64_t DaysBetween(double from, double to);
  static int32_t MonthsBetween(double from, double to);

  // CVesk::Now() at midnight.
  static double Today();
};

}  // namespace prvdrinfo
