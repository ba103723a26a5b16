#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/error_capture.h"
#include "support/host_seams.h"
#include "viewsdb/views_database_test_support.h"
#include "viewsdb/views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo::views_db {
namespace {

using test::FakeTime;
using test::HeldElsewhere;

constexpr const char* kName = "VIEWSPERFVAC_BDI5WJHHQAKVMVQH75W7HGQMS";
const std::regex kTooLong("Waited too long for mutex named: ([A-Z0-9_]+) in [A-Z0-9]{25}");

// The mutexes each "Waited too long" line names, in order.
std::vector<std::string> TimedOut(const prvdrinfo::test::ScopedLogCapture& log) {
  std::vector<std::string> names;
  for (const auto& line : log.Lines()) {
    std::smatch match;
    if (std::regex_match(line.message, match, kTooLong)) {
      EXPECT_EQ(line.className, "modViewsDb");
      names.push_back(match[1]);
    }
  }
  return names;
}

class WaitForMutex : public test::ViewsDbTest {
 protected:
  FakeTime time_;
  prvdrinfo::test::ScopedLogCapture log_;
};

TEST_F(WaitForMutex, AnEmptyNameOrAFreeMutexNeedsNoWait) {
  for (const char* name : {"", "  \t", kName}) {
    EXPECT_TRUE(WaitForMutexToClear(name, 45)) << name;
  }
  EXPECT_TRUE(time_.Sleeps().empty());
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(WaitForMutex, AMutexHeldThroughoutIsWaitedForJustPastTheBoundAndLogged) {
  HeldElsewhere held(kName);
  const double start = time_.Now();
  EXPECT_FALSE(WaitForMutexToClear(kName, 45));
  EXPECT_GT(time_.Now() - start, 45);
  EXPECT_LE(time_.Now() - start, 45.35);
  for (const int32_t sleep : time_.Sleeps()) {
    EXPECT_GE(sleep, 250);
    EXPECT_LE(sleep, 350);
  }
  EXPECT_EQ(TimedOut(log_), std::vector<std::string>{kName});
}

TEST_F(WaitForMutex, AMutexReleasedDuringTheWaitEndsIt) {
  HeldElsewhere held(kName);
  time_.OnSleep([&, start = time_.Now()](double now) {
    if (now - start > 10) held.Release();
  });
  EXPECT_TRUE(WaitForMutexToClear(kName, 45));
  EXPECT_LT(time_.Now(), 1000 + 11);
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(WaitForMutex, AClockThatRunsBackwardsIsLoggedAndTheCountStartsAgain) {
  HeldElsewhere held(kName);
  bool jumped = false;
  double jumpedAt = 0;
  time_.OnSleep([&](double now) {
    if (!jumped && now > 1030) {
      jumped = true;
      time_.Set(500);
      jumpedAt = 500;
    }
  });
  EXPECT_FALSE(WaitForMutexToClear(kName, 45));
  ASSERT_TRUE(jumped);
  EXPECT_GT(time_.Now() - jumpedAt, 45);  // a full wait after the jump
  ASSERT_EQ(log_.Lines().size(), 2u);
  EXPECT_TRUE(
      std::regex_match(log_.Lines()[0].message, std::regex("Negative wait delay in [A-Z0-9]{25}")));
  EXPECT_EQ(log_.Lines()[0].className, "modViewsDb");
  EXPECT_EQ(TimedOut(log_), std::vector<std::string>{kName});
}

// ---- The open routine's waits.

class OpenWaits : public test::ViewsDbTest {
 protected:
  FakeTime time_;
  prvdrinfo::test::ScopedLogCapture log_;
};

TEST_F(OpenWaits, MaintenanceMutexesHeldTooLongAreWaitedOutAndTheOpenGoesOn) {
  OpenViewsDatabase();
  internal::ResetProcessState();
  struct Case {
    const char* held;
    std::vector<std::string> waitedFor;  // before the open returns
  };
  for (const Case& c : std::vector<Case>{
           // Before the file is opened and again right before opening it.
           {kVacuumRunMutex, {kVacuumRunMutex, kVacuumRunMutex}},
           {kAnalyzeRunMutex, {kAnalyzeRunMutex, kAnalyzeRunMutex}},
           // The check mutexes: one wait of 60 s to own it, then 45 s for it to clear.
           {kAnalyzeCheckMutex, {kAnalyzeCheckMutex}},
           {kVacuumCheckMutex, {kVacuumCheckMutex}}}) {
    SCOPED_TRACE(c.held);
    internal::ResetProcessState();
    HeldElsewhere held(c.held);
    const size_t before = log_.Lines().size();
    const double start = time_.Now();
    auto connection = OpenViewsDatabase();
    EXPECT_TRUE(connection);
    std::vector<std::string> names = TimedOut(log_);
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(before));
    EXPECT_EQ(names, c.waitedFor);
    const double waited = time_.Now() - start;
    const double bound = static_cast<double>(c.waitedFor.size()) * 45.0 +
                         (std::string(c.held).find("CHECK") != std::string::npos ? 60 : 0);
    EXPECT_GT(waited, bound);
    EXPECT_LT(waited, bound + 1.0);
  }
}

TEST_F(OpenWaits, TheRepairIsCommittedBeforeAnyWaitForMaintenance) {
  HeldElsewhere checker(kAnalyzeCheckMutex);
  bool looked = false;
  time_.OnSleep([&](double) {
    if (looked || !internal::Mutexes().Exists(kFixedMutex)) return;
    looked = true;
    // Another process, while this one waits: it sees the repaired file and can write.
    auto other = Connection::Open(ViewsDatabasePath());
    EXPECT_TRUE(SqlService::TableExists(*other, "versions"));
    EXPECT_TRUE(other->BeginImmediate(0));
    other->Rollback();
  });
  OpenViewsDatabase();
  EXPECT_TRUE(looked);
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);
}

TEST_F(OpenWaits, AnotherCreatorIsWaitedForAndItsFileOpened) {
  HeldElsewhere creator(kCreatingMutex);
  time_.OnSleep([&, start = time_.Now()](double now) {
    if (now - start > 5 && !internal::Mutexes().Exists(kFixingMutex) &&
        !std::filesystem::exists(ViewsDatabasePath())) {
      internal::CreateDatabaseFile(ViewsDatabasePath());
      creator.Release();
    }
  });
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().filesCreated, 0);
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 1);
  EXPECT_TRUE(SqlService::TableExists(*connection, "versions"));
  EXPECT_TRUE(TimedOut(log_).empty());
}

TEST_F(OpenWaits, ACreatorThatNeverFinishesLeavesNoFileToOpen) {
  HeldElsewhere creator(kCreatingMutex);
  const double start = time_.Now();
  const CError error = prvdrinfo::testing::ErrorOf([] { OpenViewsDatabase(); });
  EXPECT_EQ(error.Number(), -2147221504);
  EXPECT_EQ(error.Description(), "Could not create or open views database.");
  // Wait, try to own for 60 s, go round once more, then wait for the creator at most 45 s.
  EXPECT_EQ(TimedOut(log_),
            (std::vector<std::string>{kCreatingMutex, kCreatingMutex, kCreatingMutex}));
  EXPECT_GT(time_.Now() - start, 45 + 60 + 45 + 60 + 45);
  EXPECT_LT(time_.Now() - start, 45 + 60 + 45 + 60 + 45 + 2);
}

TEST_F(OpenWaits, ARepairThatNeverFinishesIsWaitedOutAndNotRunHere) {
  internal::CreateDatabaseFile(ViewsDatabasePath());
  HeldElsewhere fixer(kFixingMutex);
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 0);
  EXPECT_FALSE(SqlService::TableExists(*connection, "versions"));
  // Step 1 waits for it, the gate tries to own it twice, then waits once more.
  EXPECT_EQ(TimedOut(log_), (std::vector<std::string>{kFixingMutex, kFixingMutex}));
  // This process now counts as having repaired the file; maintenance, which has nowhere
  // to keep its dates yet, waits for a later open.
  EXPECT_TRUE(internal::Mutexes().Exists(kFixedMutex));
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 0);
}

TEST_F(OpenWaits, ARepairFinishedWhileWeWaitedIsNotRunAgain) {
  internal::CreateDatabaseFile(ViewsDatabasePath());
  // Another process has opened, is repairing, and will hold the fixed mutex afterwards.
  HeldElsewhere fixer(kFixingMutex);
  std::unique_ptr<HeldElsewhere> fixed;
  time_.OnSleep([&, start = time_.Now()](double now) {
    if (!fixed && now - start > 50) {
      auto other = Connection::Open(ViewsDatabasePath());
      internal::RunFixUpPass(*other);
      fixed = std::make_unique<HeldElsewhere>(kFixedMutex);
      fixer.Release();
    }
  });
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().fixUpPasses, 0);
  EXPECT_TRUE(SqlService::TableExists(*connection, "versions"));
}

}  // namespace
}  // namespace prvdrinfo::views_db
