#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "services/internal/mutex_service.h"

namespace prvdrinfo {
class Connection;
}

namespace prvdrinfo::views_db::internal {

// Every wait for a mutex to clear is bounded by kWaitSeconds, every attempt to own one by
// kOwnWaitSeconds; log lines go out under kLogClass.
inline constexpr int32_t kWaitSeconds = 45;
inline constexpr int32_t kOwnWaitSeconds = 60;
inline constexpr const char* kLogClass = "modViewsDb";

// Every wait of the module sleeps through Sleep and reads elapsed time from the wrapper's
// Timer, so a test that replaces both never waits for real.
void Sleep(int32_t milliseconds);
// Test seam: an empty function restores the real sleep.
void SetSleeper(std::function<void(int32_t milliseconds)> sleeper);

// The module's view of the named mutexes, in the data folder of the moment.
MutexService Mutexes();

// CreateAndOwn with its wait bound counted by the module's own sleep and timer.
MutexService::Handle OwnWithin(std::string_view name, int32_t maxWaitSeconds);

// What this process has done so far, for tests that check who did the work.
struct Activity {
  int32_t filesCreated = 0;
  int32_t fixUpPasses = 0;
  int32_t maintenanceRuns = 0;  // statements run by RunMaintenanceCheck
  int32_t propertyReadsForChecks = 0;
};
Activity ProcessActivity();

// Which file a path and a lock folder stood for: device and inode; {0, 0} when absent.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(const std::string& path);

// The file this process last took through the open routine's gate, and the lock folder
// it found the mutexes in. While both are still the same, the mutexes need no new look:
// the file was made and repaired, and maintenance runs inside SQLite's own locks.
struct PassedGate {
  int64_t process = 0;  // a forked child owns none of its parent's mutexes: it looks again
  std::string path;
  FileIdentity file;
  FileIdentity lockFolder;
  // Open while the process lives, so that the log index stays in shared memory between
  // the short connections of the operations: each of them would otherwise be the last
  // to close (and fold the log into the file) and the first to open (and read the whole
  // log back). Closed at exit, when it folds the log in if it is the last.
  std::shared_ptr<Connection> keeper;
};

// What a process keeps between opens.
struct ProcessState {
  std::mutex mutex;
  MutexService::Handle fixedMutex = 0;  // held until the process ends
  std::optional<PassedGate> passed;
  // Timer reading of the last maintenance check, by digest of what was checked, in the
  // order the entries were stored.
  std::vector<std::pair<std::string, double>> memory;
  Activity activity;
};
ProcessState& State();
// Forgets the gate this process passed and closes its kept connection; the caller holds
// state.mutex (or is the only thread left).
void ForgetPassedGate(ProcessState& state);

// Test seam: forgets the per-process state (maintenance memory, activity counts) and
// releases the fixed mutex this process holds, as if the process had started afresh.
void ResetProcessState();

// The fix-up pass on an open connection; the caller owns the transaction around it.
void RunFixUpPass(Connection& connection);

// The number of entries in the per-process maintenance memory.
size_t MaintenanceMemorySize();

}  // namespace prvdrinfo::views_db::internal
