// ANALYZE and VACUUM now and then, and the properties table that remembers when they ran.

#include <cmath>
#include <optional>
#include <string>

#include "foundation/internal/ascii.h"
#include "services/internal/date_service.h"
#include "services/internal/digest_service.h"
#include "services/internal/timer.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "viewsdb/views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo::views_db {

namespace {

using internal::kOwnWaitSeconds;
using internal::kWaitSeconds;

constexpr ErrorSite kCheckSite{"9CHO9P2DX7CLUJCU947058FRN", "modViewsDb.RunMaintenanceCheck"};
constexpr ErrorSite kRunSite{"9A4DSUO0X7UK0TPZPOD8P2HQ5", "modViewsDb.RunMaintenanceCheck"};
constexpr ErrorSite kGetSite{"0IOI4MGLJ3R8VDP50DFEG88CH", "modViewsDb.GetViewsDbProperty"};
constexpr ErrorSite kSetSite{"17ILL16C2Y3897R9E0FD45CAP", "modViewsDb.SetViewsDbProperty"};

constexpr double kRecheckSeconds = 3600;
constexpr size_t kMemoryEntries = 10;
constexpr const char* kRunMutexMessage =
    "Attempting to create Executing mutex in prvdrinfo.modViewsDb";

int64_t FloorDiv(int64_t value, int64_t unit) {
  const int64_t quotient = value / unit;
  return (value % unit != 0 && value < 0) ? quotient - 1 : quotient;
}

int64_t WholeSeconds(double date) { return std::llround(date * 86400.0); }

// DateDiff: the unit boundaries crossed from one date to the other.
int64_t DateDiff(std::string_view unit, double from, double to) {
  if (ascii::EqualsIgnoreCase(unit, "d")) return DateService::DaysBetween(from, to);
  if (ascii::EqualsIgnoreCase(unit, "m")) return DateService::MonthsBetween(from, to);
  if (ascii::EqualsIgnoreCase(unit, "yyyy"))
    return DateService::ToParts(to).year - DateService::ToParts(from).year;
  int64_t seconds = 0;
  if (ascii::EqualsIgnoreCase(unit, "h")) seconds = 3600;
  if (ascii::EqualsIgnoreCase(unit, "n")) seconds = 60;
  if (ascii::EqualsIgnoreCase(unit, "s")) seconds = 1;
  return FloorDiv(WholeSeconds(to), seconds) - FloorDiv(WholeSeconds(from), seconds);
}

bool IsKnownUnit(std::string_view unit) {
  for (const char* known : {"yyyy", "m", "d", "h", "n", "s"}) {
    if (ascii::EqualsIgnoreCase(unit, known)) return true;
  }
  return false;
}

std::string MemoryKey(Connection& connection, std::string_view checkMutexName,
                      std::string_view runMutexName, std::string_view propertyKey,
                      std::string_view statement) {
  std::string parts = connection.DatabaseName();
  for (const std::string_view part : {checkMutexName, runMutexName, propertyKey, statement}) {
    parts += '_';
    parts += part;
  }
  for (char& c : parts) c = ascii::Lower(c);
  return DigestService::Digest(parts, DigestService::kSelectorSha256,
                               DigestService::kOptionUtf8LowerHex);
}

// Whether the check ran less than an hour ago in this process; forgets it otherwise.
bool CheckedRecently(const std::string& key) {
  internal::ProcessState& state = internal::State();
  const std::lock_guard lock(state.mutex);
  for (auto entry = state.memory.begin(); entry != state.memory.end(); ++entry) {
    if (entry->first != key) continue;
    const double age = Timer::Seconds() - entry->second;
    if (age >= 0 && age < kRecheckSeconds) return true;
    state.memory.erase(entry);
    return false;
  }
  return false;
}

void Remember(const std::string& key) {
  internal::ProcessState& state = internal::State();
  const std::lock_guard lock(state.mutex);
  state.memory.emplace_back(key, Timer::Seconds());
  for (size_t position = state.memory.size(); position-- > kMemoryEntries;) {
    state.memory.erase(state.memory.begin() + static_cast<std::ptrdiff_t>(position));
  }
}

bool IsDue(Connection& connection, std::string_view propertyKey, int32_t interval,
           std::string_view intervalUnit) {
  {
    const std::lock_guard lock(internal::State().mutex);
    ++internal::State().activity.propertyReadsForChecks;
  }
  const std::optional<double> last =
      DateService::TryFromIso8601(GetViewsDbProperty(connection, propertyKey, ""));
  return !last || DateDiff(intervalUnit, *last, CVesk::Now()) > interval;
}

}  // namespace

void RunMaintenanceCheck(Connection& connection, std::string_view checkMutexName,
                         std::string_view runMutexName, std::string_view propertyKey,
                         std::string_view statement, int32_t interval,
                         std::string_view intervalUnit) {
  kCheckSite.Guard([&] {
    if (!IsKnownUnit(intervalUnit)) {
      kCheckSite.Raise(err::kInvalidProcedureCall,
                       "Unknown interval unit: \"" + std::string(intervalUnit) + "\".");
    }
    // Checked within the hour by this process: no lock file is touched, so that an open
    // costs no more than SQLite's own.
    const std::string key =
        MemoryKey(connection, checkMutexName, runMutexName, propertyKey, statement);
    if (CheckedRecently(key)) return;
    ScopedMutex check(internal::OwnWithin(checkMutexName, kOwnWaitSeconds));
    if (!check.Owns()) {
      WaitForMutexToClear(checkMutexName, kWaitSeconds);
      return;
    }
    if (CheckedRecently(key)) return;
    ScopedMutex run;
    if (IsDue(connection, propertyKey, interval, intervalUnit)) {
      run = ScopedMutex(internal::Mutexes().Create(runMutexName, kRunMutexMessage));
      if (run.Owns()) {
        kRunSite.Guard([&] { connection.Execute(statement); },
                       [&] { return "Statement: " + std::string(statement); });
        SetViewsDbProperty(connection, propertyKey, DateService::ToIso8601(CVesk::Now()));
        const std::lock_guard lock(internal::State().mutex);
        ++internal::State().activity.maintenanceRuns;
      } else {
        WaitForMutexToClear(runMutexName, kWaitSeconds);
      }
    }
    Remember(key);
  });
}

std::string GetViewsDbProperty(Connection& connection, std::string_view key,
                               std::string_view defaultValue) {
  return kGetSite.Guard([&] {
    const auto rows =
        connection.OpenRecordset("SELECT " + SqlService::QuoteIdentifier(schema::kValue) +
                                 " FROM " + SqlService::QuoteIdentifier(schema::kProperties) +
                                 " WHERE " + SqlService::QuoteIdentifier(schema::kKey) + "='" +
                                 SqlService::EscapeLiteral(key) + "' COLLATE NOCASE");
    if (!rows->Eof()) {
      const Variant value = rows->Value(0);
      if (!value.IsNull() && !value.IsEmpty()) return value.ToText();
    }
    return std::string(defaultValue);
  });
}

void SetViewsDbProperty(Connection& connection, std::string_view key, std::string_view value) {
  kSetSite.Guard([&] {
    connection.Execute(SqlService::InsertStatement(
        schema::kProperties, {schema::kKey, schema::kValue}, {Variant(key), Variant(value)}));
  });
}

namespace internal {

size_t MaintenanceMemorySize() {
  const std::lock_guard lock(State().mutex);
  return State().memory.size();
}

}  // namespace internal

}  // namespace prvdrinfo::views_db
