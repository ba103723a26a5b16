#include "prvdrinfo/viewsdb/views_database.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "services/internal/file_service.h"
#include "services/internal/random_service.h"
#include "services/internal/timer.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/viewsdb/db_helpers.h"
#include "viewsdb/views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo::views_db {

namespace {

using internal::kLogClass;
using internal::kOwnWaitSeconds;
using internal::kWaitSeconds;

constexpr ErrorSite kPathSite{"VJANGX8JTGSR409K08OOMSL07", "modViewsDb.ViewsDatabasePath"};
constexpr ErrorSite kOpenSite{"E0M0L97JUJ1Y0LW7AYCJJOZX8", "modViewsDb.OpenViewsDatabase"};
constexpr ErrorSite kCreateFileSite{"5SVYQJEXQQVUASV25HQ9HM90F", "modViewsDb.OpenViewsDatabase"};
constexpr ErrorSite kOpenFileSite{"HH2O6FEA2S4S5G69P063DJSBC", "modViewsDb.OpenViewsDatabase"};
constexpr ErrorSite kWaitSite{"PQK3CLWJUIN2W7G2QAQCM5QU0", "modViewsDb.WaitForMutexToClear"};
constexpr ErrorSite kOwnSite{"95JZWYXR1AVA0SIUFPBG7OXKS", "modViewsDb.OwnWithin"};

constexpr const char* kFixedMutexMessage =
    "Attempting to create Fixed Views DB mutex in prvdrinfo.modViewsDb";

struct SleepSeam {
  std::mutex mutex;
  std::function<void(int32_t)> sleeper;
};

SleepSeam& Seam() {
  static SleepSeam seam;
  return seam;
}

// Waits for a mutex unless this call holds it itself: going round again after a failed
// open must not wait out its own creating mutex.
void WaitUnlessHeld(const char* name, const ScopedMutex& held) {
  if (!held.Owns()) WaitForMutexToClear(name, kWaitSeconds);
}

// A journal or write-ahead log left beside a file that is gone would be played into the
// new file of that name, and corrupt it.
void RemoveLeftovers(const std::string& path) {
  for (const char* suffix : {"-journal", "-wal", "-shm"}) ::unlink((path + suffix).c_str());
}

// Readers never hold up writers and writers wait their turn in a short queue: see
// docs/views-database.md for the measurement. The mode stays with the file; a file that
// cannot be switched now (another connection is busy with it) keeps its rollback journal
// until a later repair.
void UseWriteAheadLog(Connection& connection) {
  try {
    connection.Execute("PRAGMA journal_mode=WAL");
  } catch (const CError& e) {
    CVesk::Log(kLogClass,
               "Could not switch the views database to write-ahead logging: " + e.Description());
  }
}

}  // namespace

namespace internal {

void Sleep(int32_t milliseconds) {
  std::function<void(int32_t)> sleeper;
  {
    const std::lock_guard lock(Seam().mutex);
    sleeper = Seam().sleeper;
  }
  if (sleeper) {
    sleeper(milliseconds);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

void SetSleeper(std::function<void(int32_t milliseconds)> sleeper) {
  const std::lock_guard lock(Seam().mutex);
  Seam().sleeper = std::move(sleeper);
}

MutexService Mutexes() { return MutexService(CVesk::DataFolder()); }

MutexService::Handle OwnWithin(std::string_view name, int32_t maxWaitSeconds) {
  return kOwnSite.Guard([&] {
    MutexService mutexes = Mutexes();
    double start = Timer::Seconds();
    for (;;) {
      if (const MutexService::Handle handle = mutexes.CreateAndOwn(name, 0)) return handle;
      const double now = Timer::Seconds();
      if (now < start) start = now;
      if (now - start > maxWaitSeconds) return MutexService::Handle{0};
      Sleep(20 + RandomService::Next(20));
    }
  });
}

void ForgetPassedGate(ProcessState& state) {
  if (state.passed && state.passed->process != ::getpid()) {
    // A forked child's copy of its parent's connection: SQLite must not touch it here,
    // so it stays open, unused, until the child ends.
    static auto* inherited = new std::vector<std::shared_ptr<Connection>>;
    inherited->push_back(std::move(state.passed->keeper));
  }
  state.passed.reset();
}

FileIdentity IdentityOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

ProcessState& State() {
  // Never destroyed: the fixed mutex stays held until the process ends.
  static ProcessState* state = new ProcessState;
  return *state;
}

Activity ProcessActivity() {
  const std::lock_guard lock(State().mutex);
  return State().activity;
}

void ResetProcessState() {
  ProcessState& state = State();
  const std::lock_guard lock(state.mutex);
  MutexService::Release(state.fixedMutex);
  state.fixedMutex = 0;
  state.memory.clear();
  state.activity = Activity{};
  internal::ForgetPassedGate(state);
}

}  // namespace internal

using internal::Mutexes;
using internal::OwnWithin;
using internal::State;

std::string ViewsDatabasePath() {
  return kPathSite.Guard([] { return FileService::Join(CVesk::DataFolder(), kFileName); });
}

bool WaitForMutexToClear(std::string_view name, int32_t maxWaitSeconds) {
  return kWaitSite.Guard([&] {
    if (TextService::IsEmpty(name)) return true;
    const MutexService mutexes = Mutexes();
    double start = Timer::Seconds();
    for (;;) {
      if (!mutexes.Exists(name)) return true;
      internal::Sleep(250 + RandomService::Next(100));
      const double now = Timer::Seconds();
      const double elapsed = now - start;
      if (elapsed < 0) {
        CVesk::Log(kLogClass, "Negative wait delay in " + std::string(kWaitSite.Id()));
        start = now;
        continue;
      }
      if (elapsed <= maxWaitSeconds) continue;
      CVesk::Log(kLogClass, "Waited too long for mutex named: " + std::string(name) + " in " +
                                std::string(kWaitSite.Id()));
      return false;
    }
  });
}

namespace {

// What every connection gets once the file is known to be made and repaired.
std::shared_ptr<Connection> Ready(const std::shared_ptr<Connection>& connection) {
  connection->AddUserCollation(std::make_shared<CDbHelpers>());
  // Folding the log into the file at every close cost each save four more syncs; the
  // log is folded in when it outgrows SQLite's threshold, and by VACUUM.
  connection->SetCheckpointOnClose(false);
  return connection;
}

void RunMaintenanceChecks(Connection& connection) {
  // A file whose repair another process never finished has nowhere to keep the dates;
  // it is still usable, so maintenance waits for a later open.
  if (SqlService::TableExists(connection, schema::kProperties)) {
    RunMaintenanceCheck(connection, kAnalyzeCheckMutex, kAnalyzeRunMutex, kLastAnalyzeKey,
                        "ANALYZE", 40, "d");
    RunMaintenanceCheck(connection, kVacuumCheckMutex, kVacuumRunMutex, kLastVacuumKey, "VACUUM", 6,
                        "d");
  }
}

// The file this process already took through the gate, opened without looking at the
// mutexes again; null when the path, the file or the lock folder has changed since (the
// fixed mutex then goes, as it may stand for a lock file that is gone) or the open fails.
std::shared_ptr<Connection> OpenPassedFile() {
  internal::ProcessState& state = State();
  std::optional<internal::PassedGate> passed;
  {
    const std::lock_guard lock(state.mutex);
    passed = state.passed;
  }
  if (!passed) return nullptr;
  const std::string path = ViewsDatabasePath();
  const bool same = passed->process == ::getpid() && path == passed->path &&
                    internal::IdentityOf(path) == passed->file &&
                    internal::IdentityOf(Mutexes().LockFolder()) == passed->lockFolder;
  if (same) {
    try {
      return Ready(SqlService::OpenDatabase(path));
    } catch (const CError&) {
      // The full routine below has the retries and the error to give.
    }
  }
  const std::lock_guard lock(state.mutex);
  internal::ForgetPassedGate(state);
  if (passed->lockFolder != internal::IdentityOf(Mutexes().LockFolder())) {
    MutexService::Release(state.fixedMutex);
    state.fixedMutex = 0;
  }
  return nullptr;
}

void RememberPassed(const std::string& path) {
  internal::PassedGate passed{::getpid(), path, internal::IdentityOf(path),
                              internal::IdentityOf(Mutexes().LockFolder()), nullptr};
  if (passed.file == internal::FileIdentity{} || passed.lockFolder == internal::FileIdentity{})
    return;
  try {
    passed.keeper = SqlService::OpenDatabase(path);
  } catch (const CError& e) {
    CVesk::Log(kLogClass, "Could not keep the views database open: " + e.Description());
  }
  // Closed at exit, and before a fork: a child cannot open a file that its parent had
  // open through SQLite at the fork ("locking protocol").
  static const bool closedAtExitAndFork = [] {
    const auto forget = [] {
      const std::lock_guard lock(State().mutex);
      internal::ForgetPassedGate(State());
    };
    return std::atexit(forget) == 0 && ::pthread_atfork(forget, nullptr, nullptr) == 0;
  }();
  (void)closedAtExitAndFork;
  const std::lock_guard lock(State().mutex);
  internal::ForgetPassedGate(State());
  State().passed = std::move(passed);
}

}  // namespace

std::shared_ptr<Connection> OpenViewsDatabase() {
  return kOpenSite.Guard([&] {
    if (auto connection = OpenPassedFile()) {
      RunMaintenanceChecks(*connection);
      return connection;
    }
    bool retryCreation = false;
    bool retryOpening = false;
    bool retryGate = false;
    // A file made here is repaired here too: the fixed mutex this process may hold from
    // before stands for the file that was there then.
    bool createdHere = false;
    ScopedMutex creating;
    ScopedMutex fixing;
    std::shared_ptr<Connection> connection;
    std::string path;
    std::string creationFailure;

    while (!connection) {
      WaitForMutexToClear(kVacuumRunMutex, kWaitSeconds);
      WaitForMutexToClear(kAnalyzeRunMutex, kWaitSeconds);
      WaitForMutexToClear(kFixingMutex, kWaitSeconds);
      WaitUnlessHeld(kCreatingMutex, creating);

      path = ViewsDatabasePath();
      if (!FileService::FileExists(path)) {
        if (!creating.Owns()) creating = ScopedMutex(OwnWithin(kCreatingMutex, kOwnWaitSeconds));
        if (creating.Owns()) {
          // Whoever held the mutex before us may have written the file meanwhile.
          if (!FileService::FileExists(path)) {
            try {
              RemoveLeftovers(path);
              internal::CreateDatabaseFile(path);
              const std::lock_guard lock(State().mutex);
              ++State().activity.filesCreated;
              createdHere = true;
            } catch (const CError& e) {
              creationFailure = e.Description();
            }
          }
        } else if (!retryCreation) {
          retryCreation = true;
          continue;
        } else {
          WaitForMutexToClear(kCreatingMutex, kWaitSeconds);
        }
      }
      if (!FileService::FileExists(path)) {
        kCreateFileSite.Guard(
            [] {
              kCreateFileSite.Raise(kViewsDbErrorBase, "Could not create or open views database.");
            },
            [&] {
              return "Database: " + path +
                     (creationFailure.empty() ? "" : "\nCreation failed: " + creationFailure);
            });
      }

      WaitForMutexToClear(kVacuumRunMutex, kWaitSeconds);
      WaitForMutexToClear(kAnalyzeRunMutex, kWaitSeconds);
      std::string failure;
      try {
        connection = SqlService::OpenDatabase(path);
      } catch (const CError& e) {
        failure = e.Description();
      }
      if (connection) break;
      if (!retryOpening) {
        retryOpening = true;
        continue;
      }
      kOpenFileSite.Raise(kViewsDbErrorBase,
                          failure.empty() ? std::string("Can not open views database.")
                                          : "Can not open views database. Error: " + failure);
    }

    try {
      const MutexService mutexes = Mutexes();
      bool fixedExists = !createdHere && mutexes.Exists(kFixedMutex);
      while (!fixedExists) {
        fixing = ScopedMutex(OwnWithin(kFixingMutex, kOwnWaitSeconds));
        if (fixing.Owns()) {
          // The process we waited for may have finished the pass.
          if (createdHere || !mutexes.Exists(kFixedMutex)) {
            {
              // A pass that fails is rolled back here, before the fixing mutex is let go.
              Transaction tx(*connection, SqlService::kDefaultWaitSeconds);
              internal::RunFixUpPass(*connection);
              // Committed before anyone can pass the gate, and before any wait for a
              // maintenance mutex: see docs/views-database.md.
              tx.Commit();
            }
            // Only once the pass has held: a file it cannot use (no views table, a
            // foreign schema) is left byte for byte as it was.
            UseWriteAheadLog(*connection);
            const std::lock_guard lock(State().mutex);
            ++State().activity.fixUpPasses;
          }
          break;
        }
        if (!retryGate) {
          retryGate = true;
          fixedExists = !createdHere && mutexes.Exists(kFixedMutex);
          continue;
        }
        WaitForMutexToClear(kFixingMutex, kWaitSeconds);
        break;
      }
      if (!fixedExists) {
        const MutexService::Handle fixed = Mutexes().Create(kFixedMutex, kFixedMutexMessage);
        if (fixed != 0) {
          // A handle kept from before may be one a forked child never owned; the new one
          // is good either way, and releasing the old leaves the mutex held.
          const std::lock_guard lock(State().mutex);
          MutexService::Release(State().fixedMutex);
          State().fixedMutex = fixed;
        }
      }

      Ready(connection);
      creating.Release();
      fixing.Release();
      RunMaintenanceChecks(*connection);
      RememberPassed(path);
      return connection;
    } catch (...) {
      creating.Release();
      fixing.Release();
      throw;
    }
  });
}

}  // namespace prvdrinfo::views_db
