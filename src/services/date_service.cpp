#include "services/internal/date_service.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kToIsoSite{"LZ0PLYVVTMWGVO0TCXQ3OEMTX", "DateService.ToIso8601"};
constexpr ErrorSite kFromIsoSite{"KNP31DRH826LOH7KC6VKEMPJH", "DateService.FromIso8601"};
constexpr ErrorSite kTryFromIsoSite{"69LCVHSTKNWDGK0OOP0XVWE9X", "DateService.TryFromIso8601"};
constexpr ErrorSite kFromUnixSite{"N4KMFX2Y3PBVUX1L76ED241V0", "DateService.FromUnixTime"};
constexpr ErrorSite kLocalToUtcSite{"Z4XXBFQKS2U241D46HB1LI568", "DateService.LocalToUtc"};
constexpr ErrorSite kUtcToLocalSite{"Z0N99QGJQUMEYTADKMHZJ9SES", "DateService.UtcToLocal"};
constexpr ErrorSite kToPartsSite{"98TVLEMNFSS22FCWCKLAMVOCA", "DateService.ToParts"};
constexpr ErrorSite kFromPartsSite{"2KGTXJ2UPJ3MBNQOY0VBREH1O", "DateService.FromParts"};
constexpr ErrorSite kDatePartSite{"WM1UXWSX9YN9Z0GGGPZLKRZKT", "DateService.DatePart"};
constexpr ErrorSite kWeekdaySite{"S7M3GJBJ2YXOR24WIH72PPKPK", "DateService.Weekday"};
constexpr ErrorSite kWeekdayOfWeekSite{"SBM0JTMXBJSCBLYYV13CM454W", "DateService.WeekdayOfWeek"};
constexpr ErrorSite kFirstMondaySite{"VETQ11NTEPA6GBHJU471UH773", "DateService.FirstMonday"};
constexpr ErrorSite kLastFridaySite{"HK10JWHH6IZ71Y0S1SM1BLAD3", "DateService.LastFriday"};
constexpr ErrorSite kLastDaySite{"TNM42MOEQZ3Q3QK0O6OG9H8EL", "DateService.LastDayOfMonth"};
constexpr ErrorSite kAddDaysSite{"V72O3WSHOWMBACMWKKQMTZQU1", "DateService.AddDays"};
constexpr ErrorSite kAddMonthsSite{"OCQ8V5B5BHJEEXZ174AD3ID01", "DateService.AddMonths"};
constexpr ErrorSite kDaysBetweenSite{"FGCBDOE0VN4S02QFW33416FBH", "DateService.DaysBetween"};
constexpr ErrorSite kMonthsBetweenSite{"MM9LA3A2ANM6VX9K4YAKX0916", "DateService.MonthsBetween"};
constexpr ErrorSite kTodaySite{"DA04QQ0OO0CM357XHLOP89T3Q", "DateService.Today"};

constexpr int64_t kDay = 86400;
constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01 as an automation day
constexpr int64_t kMinDay = -657434;      // 0100-01-01
constexpr int64_t kMaxDay = 2958465;      // 9999-12-31
constexpr int64_t kMinSeconds = kMinDay * kDay;
constexpr int64_t kMaxSeconds = kMaxDay * kDay + kDay - 1;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  int64_t year;
  int64_t month;
  int64_t day;
};

Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

int64_t DaysInMonth(int64_t y, int64_t m) {
  static constexpr int64_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

int64_t DayNumber(int64_t y, int64_t m, int64_t d) {
  return DaysFromCivil(y, m, d) + kUnixEpochDay;
}

std::string NumberText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A date as whole seconds since 1899-12-30 00:00 on a straight line, rounded to the
// nearest second; nothing for NaN, infinities and dates outside the valid range.
std::optional<int64_t> SecondsOf(double date) {
  if (!std::isfinite(date) || date <= static_cast<double>(kMinDay - 1) ||
      date >= static_cast<double>(kMaxDay + 1)) {
    return std::nullopt;
  }
  const double whole = std::trunc(date);
  const auto day = static_cast<int64_t>(whole);
  const auto seconds = static_cast<int64_t>(std::llround(std::fabs(date - whole) * kDay));
  const int64_t total = day * kDay + seconds;
  if (total < kMinSeconds || total > kMaxSeconds) return std::nullopt;
  return total;
}

double DateOfSeconds(int64_t total) {
  const int64_t day = FloorDiv(total, kDay);
  const double fraction = static_cast<double>(total - day * kDay) / kDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

int64_t SecondsOrRaise(const ErrorSite& site, double date) {
  const auto seconds = SecondsOf(date);
  if (!seconds) site.Raise(err::kInvalidProcedureCall, "Invalid date: " + NumberText(date));
  return *seconds;
}

double CheckedDate(const ErrorSite& site, int64_t total) {
  if (total < kMinSeconds || total > kMaxSeconds) {
    site.Raise(err::kInvalidProcedureCall,
               "Date out of range: the result lies outside the years 100 to 9999.");
  }
  return DateOfSeconds(total);
}

// UTC offset in seconds at an instant, from the system time zone.
std::optional<int64_t> OffsetAt(int64_t unixSeconds) {
  const auto t = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return std::nullopt;
  return static_cast<int64_t>(local.tm_gmtoff);
}

std::optional<int64_t> UtcToLocalSeconds(int64_t utc) {
  tzset();
  const auto offset = OffsetAt(utc - kUnixEpochDay * kDay);
  if (!offset) return std::nullopt;
  return utc + *offset;
}

// Local wall time -> UTC. Takes the offsets in force a day before and a day after; a
// wall time that both explain occurs twice (the earlier instant wins), one that neither
// explains was skipped (the offset from before the change applies).
std::optional<int64_t> LocalToUtcSeconds(int64_t local) {
  tzset();
  const int64_t wall = local - kUnixEpochDay * kDay;
  const auto before = OffsetAt(wall - kDay);
  const auto after = OffsetAt(wall + kDay);
  if (!before || !after) return std::nullopt;
  const int64_t first = wall - *before;
  const int64_t second = wall - *after;
  const auto firstOffset = OffsetAt(first);
  const auto secondOffset = OffsetAt(second);
  const bool firstFits = firstOffset && *firstOffset == *before;
  const bool secondFits = secondOffset && *secondOffset == *after;
  int64_t unix = first;
  if (firstFits && secondFits) {
    unix = std::min(first, second);
  } else if (secondFits) {
    unix = second;
  }
  return unix + kUnixEpochDay * kDay;
}

struct Month {
  int64_t year;
  int64_t month;
};

Month NormalMonth(int64_t year, int64_t month) {
  const int64_t index = year * 12 + (month - 1);
  const int64_t y = FloorDiv(index, 12);
  return {y, index - y * 12 + 1};
}

Month CheckedMonth(const ErrorSite& site, int32_t year, int32_t month) {
  const Month m = NormalMonth(year, month);
  if (m.year < 100 || m.year > 9999) {
    site.Raise(err::kInvalidProcedureCall,
               "Date out of range: year " + std::to_string(m.year) + ".");
  }
  return m;
}

int64_t WeekdayOfDay(int64_t day) { return (day % 7 + 7 + 6) % 7 + 1; }  // day 0 was a Saturday

std::optional<int64_t> ParseIsoUtc(std::string_view t) {
  size_t i = 0;
  auto digits = [&](size_t n, int64_t& value) {
    if (i + n > t.size()) return false;
    value = 0;
    for (size_t k = 0; k < n; ++k) {
      const char c = t[i + k];
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    i += n;
    return true;
  };
  auto literal = [&](char c) {
    if (i < t.size() && t[i] == c) {
      ++i;
      return true;
    }
    return false;
  };
  auto isDigit = [&] { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
  int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!digits(4, year) || !literal('-') || !digits(2, month) || !literal('-') || !digits(2, day)) {
    return std::nullopt;
  }
  if (!literal('T') && !literal('t')) return std::nullopt;
  if (!digits(2, hour) || !literal(':') || !digits(2, minute) || !literal(':') ||
      !digits(2, second)) {
    return std::nullopt;
  }
  int64_t roundUp = 0;
  if (literal('.') || literal(',')) {
    if (!isDigit()) return std::nullopt;
    roundUp = t[i] >= '5' ? 1 : 0;
    while (isDigit()) ++i;
  }
  int64_t offset = 0;
  if (!literal('Z') && !literal('z')) {
    if (i >= t.size() || (t[i] != '+' && t[i] != '-')) return std::nullopt;
    const int64_t sign = t[i] == '-' ? -1 : 1;
    ++i;
    int64_t offsetHours = 0, offsetMinutes = 0;
    if (!digits(2, offsetHours)) return std::nullopt;
    if (literal(':')) {
      if (!digits(2, offsetMinutes)) return std::nullopt;
    } else if (i < t.size() && !digits(2, offsetMinutes)) {
      return std::nullopt;
    }
    if (offsetHours > 23 || offsetMinutes > 59) return std::nullopt;
    offset = sign * (offsetHours * 3600 + offsetMinutes * 60);
  }
  if (i != t.size()) return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59) {
    return std::nullopt;
  }
  return DayNumber(year, month, day) * kDay + hour * 3600 + minute * 60 + second + roundUp - offset;
}

}  // namespace

bool DateService::IsValidDate(double date) { return SecondsOf(date).has_value(); }

std::string DateService::ToIso8601(double localDate) {
  return kToIsoSite.Guard([&] {
    const int64_t local = SecondsOrRaise(kToIsoSite, localDate);
    const auto utc = LocalToUtcSeconds(local);
    if (!utc || *utc < kMinSeconds || *utc > kMaxSeconds) {
      kToIsoSite.Raise(err::kInvalidProcedureCall,
                       "Date out of range for ISO 8601 text: " + NumberText(localDate));
    }
    const int64_t day = FloorDiv(*utc, kDay);
    const int64_t time = *utc - day * kDay;
    const Civil c = CivilFromDays(day - kUnixEpochDay);
    char buffer[128];  // room for any int64 fields, to keep the compiler sure
    std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ",
                  static_cast<long long>(c.year), static_cast<long long>(c.month),
                  static_cast<long long>(c.day), static_cast<long long>(time / 3600),
                  static_cast<long long>(time / 60 % 60), static_cast<long long>(time % 60));
    return std::string(buffer);
  });
}

std::optional<double> DateService::TryFromIso8601(std::string_view text) {
  return kTryFromIsoSite.Guard([&]() -> std::optional<double> {
    const auto utc = ParseIsoUtc(text);
    if (!utc) return std::nullopt;
    const auto local = UtcToLocalSeconds(*utc);
    if (!local || *local < kMinSeconds || *local > kMaxSeconds) return std::nullopt;
    return DateOfSeconds(*local);
  });
}

double DateService::FromIso8601(std::string_view text) {
  return kFromIsoSite.Guard([&] {
    const auto date = TryFromIso8601(text);
    if (!date) {
      kFromIsoSite.Raise(err::kInvalidProcedureCall,
                         "Invalid ISO 8601 date: \"" + TextService::Excerpt(text) + "\"");
    }
    return *date;
  });
}

bool DateService::IsIso8601(std::string_view text) { return TryFromIso8601(text).has_value(); }

double DateService::FromUnixTime(int64_t unixSeconds) {
  return kFromUnixSite.Guard([&] {
    if (unixSeconds < kMinSeconds - kUnixEpochDay * kDay ||
        unixSeconds > kMaxSeconds - kUnixEpochDay * kDay) {
      kFromUnixSite.Raise(err::kInvalidProcedureCall,
                          "Date out of range: " + std::to_string(unixSeconds) + " seconds.");
    }
    return DateOfSeconds(unixSeconds + kUnixEpochDay * kDay);
  });
}

double DateService::LocalToUtc(double localDate) {
  return kLocalToUtcSite.Guard([&] {
    const auto utc = LocalToUtcSeconds(SecondsOrRaise(kLocalToUtcSite, localDate));
    if (!utc)
      kLocalToUtcSite.Raise(err::kInvalidProcedureCall,
                            "The time zone cannot convert " + NumberText(localDate));
    return CheckedDate(kLocalToUtcSite, *utc);
  });
}

double DateService::UtcToLocal(double utcDate) {
  return kUtcToLocalSite.Guard([&] {
    const auto local = UtcToLocalSeconds(SecondsOrRaise(kUtcToLocalSite, utcDate));
    if (!local)
      kUtcToLocalSite.Raise(err::kInvalidProcedureCall,
                            "The time zone cannot convert " + NumberText(utcDate));
    return CheckedDate(kUtcToLocalSite, *local);
  });
}

DateService::Parts DateService::ToParts(double date) {
  return kToPartsSite.Guard([&] {
    const int64_t total = SecondsOrRaise(kToPartsSite, date);
    const int64_t day = FloorDiv(total, kDay);
    const int64_t time = total - day * kDay;
    const Civil c = CivilFromDays(day - kUnixEpochDay);
    return Parts{static_cast<int32_t>(c.year),         static_cast<int32_t>(c.month),
                 static_cast<int32_t>(c.day),          static_cast<int32_t>(time / 3600),
                 static_cast<int32_t>(time / 60 % 60), static_cast<int32_t>(time % 60)};
  });
}

double DateService::FromParts(int32_t year, int32_t month, int32_t day, int32_t hour,
                              int32_t minute, int32_t second) {
  return kFromPartsSite.Guard([&] {
    const Month m = CheckedMonth(kFromPartsSite, year, month);
    if (day < 1 || day > DaysInMonth(m.year, m.month)) {
      kFromPartsSite.Raise(err::kInvalidProcedureCall, "Day out of range: " + std::to_string(day) +
                                                           " in " + std::to_string(m.year) + "-" +
                                                           std::to_string(m.month) + ".");
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
      kFromPartsSite.Raise(err::kInvalidProcedureCall,
                           "Time out of range: " + std::to_string(hour) + ":" +
                               std::to_string(minute) + ":" + std::to_string(second) + ".");
    }
    return CheckedDate(kFromPartsSite,
                       DayNumber(m.year, m.month, day) * kDay + hour * 3600 + minute * 60 + second);
  });
}

double DateService::DatePart(double date) {
  return kDatePartSite.Guard(
      [&] { return DateOfSeconds(FloorDiv(SecondsOrRaise(kDatePartSite, date), kDay) * kDay); });
}

int32_t DateService::Weekday(double date) {
  return kWeekdaySite.Guard([&] {
    return static_cast<int32_t>(WeekdayOfDay(FloorDiv(SecondsOrRaise(kWeekdaySite, date), kDay)));
  });
}

double DateService::WeekdayOfWeek(double date, int32_t weekday) {
  return kWeekdayOfWeekSite.Guard([&] {
    if (weekday < 1 || weekday > 7) {
      kWeekdayOfWeekSite.Raise(
          err::kInvalidProcedureCall,
          "Weekday must lie from 1 (Sunday) to 7 (Saturday): " + std::to_string(weekday));
    }
    const int64_t total = SecondsOrRaise(kWeekdayOfWeekSite, date);
    const int64_t shift = weekday - WeekdayOfDay(FloorDiv(total, kDay));
    return CheckedDate(kWeekdayOfWeekSite, total + shift * kDay);
  });
}

double DateService::FirstMonday(int32_t year, int32_t month) {
  return kFirstMondaySite.Guard([&] {
    const Month m = CheckedMonth(kFirstMondaySite, year, month);
    const int64_t first = DayNumber(m.year, m.month, 1);
    return CheckedDate(kFirstMondaySite, (first + (2 - WeekdayOfDay(first) + 7) % 7) * kDay);
  });
}

double DateService::LastFriday(int32_t year, int32_t month) {
  return kLastFridaySite.Guard([&] {
    const Month m = CheckedMonth(kLastFridaySite, year, month);
    const int64_t last = DayNumber(m.year, m.month, DaysInMonth(m.year, m.month));
    return CheckedDate(kLastFridaySite, (last - (WeekdayOfDay(last) - 6 + 7) % 7) * kDay);
  });
}

double DateService::LastDayOfMonth(int32_t year, int32_t month) {
  return kLastDaySite.Guard([&] {
    const Month m = CheckedMonth(kLastDaySite, year, month);
    return CheckedDate(kLastDaySite,
                       DayNumber(m.year, m.month, DaysInMonth(m.year, m.month)) * kDay);
  });
}

double DateService::AddDays(double date, int64_t days) {
  return kAddDaysSite.Guard([&] {
    const int64_t total = SecondsOrRaise(kAddDaysSite, date);
    if (days < -2 * (kMaxDay - kMinDay) || days > 2 * (kMaxDay - kMinDay)) {
      kAddDaysSite.Raise(err::kInvalidProcedureCall,
                         "Date out of range: " + std::to_string(days) + " days.");
    }
    return CheckedDate(kAddDaysSite, total + days * kDay);
  });
}

double DateService::AddMonths(double date, int32_t months) {
  return kAddMonthsSite.Guard([&] {
    const int64_t total = SecondsOrRaise(kAddMonthsSite, date);
    const int64_t day = FloorDiv(total, kDay);
    const int64_t time = total - day * kDay;
    const Civil c = CivilFromDays(day - kUnixEpochDay);
    const Month m = NormalMonth(c.year, c.month + months);
    if (m.year < 100 || m.year > 9999) {
      kAddMonthsSite.Raise(err::kInvalidProcedureCall,
                           "Date out of range: year " + std::to_string(m.year) + ".");
    }
    const int64_t target = std::min(c.day, DaysInMonth(m.year, m.month));
    return CheckedDate(kAddMonthsSite, DayNumber(m.year, m.month, target) * kDay + time);
  });
}

int64_t DateService::DaysBetween(double from, double to) {
  return kDaysBetweenSite.Guard([&] {
    return FloorDiv(SecondsOrRaise(kDaysBetweenSite, to), kDay) -
           FloorDiv(SecondsOrRaise(kDaysBetweenSite, from), kDay);
  });
}

int32_t DateService::MonthsBetween(double from, double to) {
  return kMonthsBetweenSite.Guard([&] {
    const Civil a =
        CivilFromDays(FloorDiv(SecondsOrRaise(kMonthsBetweenSite, from), kDay) - kUnixEpochDay);
    const Civil b =
        CivilFromDays(FloorDiv(SecondsOrRaise(kMonthsBetweenSite, to), kDay) - kUnixEpochDay);
    return static_cast<int32_t>((b.year * 12 + b.month) - (a.year * 12 + a.month));
  });
}

double DateService::Today() {
  return kTodaySite.Guard([&] { return DatePart(CVesk::Now()); });
}

}  // namespace prvdrinfo
