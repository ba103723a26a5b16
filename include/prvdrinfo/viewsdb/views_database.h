#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/foundation/export.h"

// The views database: one SQLite file in the data folder that every process of the host
// shares, holding all providers' saved views ("views") and filters ("providers_filters").
//
// OpenViewsDatabase is the only way in. Each call returns a new connection that the
// caller owns for one operation. On the way it waits while another process creates,
// repairs, analyses or vacuums the file; creates a missing file with its full schema;
// upgrades and repairs older files once for as long as the process that did so lives;
// registers the SmartSort collation; and now and then runs ANALYZE (40 days) and VACUUM
// (6 days). Processes coordinate through the named mutexes below (cross-process locks in
// the data folder's "locks" folder, dropped by the kernel when a holder dies).
//
// Errors: -2147221504 (80040000 hexadecimal) "Could not create or open views database."
// when the file cannot be made, "Can not open views database. Error: <reason>" when it
// cannot be opened twice running; any later failure rolls back the repair and leaves as
// raised. A wait that runs out is logged ("Waited too long for mutex named: ...", class
// "modViewsDb") and the open goes on.
namespace prvdrinfo::views_db {

// The file name inside the data folder.
inline constexpr const char* kFileName = "68m@9d4{6)']]68m4s^$af.4db";

inline constexpr const char* kCreatingMutex = "VIEWSCREATINGDB_EGVTK8G88K2T27KTNYAPXSAK1";
inline constexpr const char* kFixingMutex = "VIEWSFIXINGDB_AO43TKR62ATF4R485695L1CO7";
inline constexpr const char* kFixedMutex = "VIEWSFIXEDDB_F3GSZZCXELRTY7PPNKHU0P4G6";
inline constexpr const char* kAnalyzeCheckMutex = "VIEWSCHECKANALYZE_E444X3QYGYS2AD2LRG7K5ON5Y";
inline constexpr const char* kAnalyzeRunMutex = "VIEWSPERFANALYZE_CBGYQOM0G8ROO5OAARCZ991P8";
inline constexpr const char* kVacuumCheckMutex = "VIEWSCHECKVAC_DRM1K0FODW182BFVV8ZUVG4PV";
inline constexpr const char* kVacuumRunMutex = "VIEWSPERFVAC_BDI5WJHHQAKVMVQH75W7HGQMS";

// Keys of the "properties" table: when ANALYZE and VACUUM last ran (ISO 8601 UTC text).
inline constexpr const char* kLastAnalyzeKey = "EH90GQJD9TIKFOSK5R8OK6B20";
inline constexpr const char* kLastVacuumKey = "BEI8ASVV1EOW7SJ581GTYENZQ";

// -2147221504: the views database could not be created, opened or read.
inline constexpr int32_t kViewsDbErrorBase = static_cast<int32_t>(0x80040000u);

// The data folder joined with kFileName.
PRVDRINFO_API std::string ViewsDatabasePath();

// A new, open connection to the views database, created and upgraded as needed, with
// SmartSort registered. Never returns null.
PRVDRINFO_API std::shared_ptr<Connection> OpenViewsDatabase();

// True when the open routine's fix-up pass would change something in the file: a
// reader that gets false may read it through a read-only connection, without the write
// lock the pass needs. Reads only; SQLite failures raise.
PRVDRINFO_API bool NeedsFixUp(Connection& connection);

// True once no process owns the named mutex (at once for an empty name); false, logged,
// when it is still owned after maxWaitSeconds. A clock that runs backwards is logged and
// restarts the count.
PRVDRINFO_API bool WaitForMutexToClear(std::string_view name, int32_t maxWaitSeconds);

// Runs `statement` on the connection when the date stored under propertyKey is missing,
// not a date, or more than `interval` units (DateDiff units "yyyy", "m", "d", "h", "n",
// "s") before now, then stores now under the key. Checked at most once an hour per
// database, check and statement in a process; the check mutex keeps two processes from
// deciding at once, the run mutex from running the statement at once. A process that
// finds either taken waits for it (up to 45 s) and does not run the statement. An
// unknown unit raises 5.
PRVDRINFO_API void RunMaintenanceCheck(Connection& connection, std::string_view checkMutexName,
                                       std::string_view runMutexName, std::string_view propertyKey,
                                       std::string_view statement, int32_t interval,
                                       std::string_view intervalUnit);

// The value stored under key (matched without regard to ASCII case), or defaultValue
// when there is none or it is Null.
PRVDRINFO_API std::string GetViewsDbProperty(Connection& connection, std::string_view key,
                                             std::string_view defaultValue);
// Stores value under key, replacing what was there.
PRVDRINFO_API void SetViewsDbProperty(Connection& connection, std::string_view key,
                                      std::string_view value);

}  // namespace prvdrinfo::views_db
