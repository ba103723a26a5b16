#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "services/internal/date_service.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/error_capture.h"
#include "support/host_seams.h"
#include "viewsdb/views_database_test_support.h"
#include "viewsdb/views_db_internal.h"

namespace prvdrinfo::views_db {
namespace {

using test::FakeTime;
using test::HeldElsewhere;
using test::One;

// 2026-03-10 12:00 local time.
const double kNow = DateService::FromParts(2026, 3, 10, 12, 0, 0);
constexpr const char* kCheck = "TESTCHECK_MUTEX";
constexpr const char* kRun = "TESTRUN_MUTEX";
constexpr const char* kKey = "TESTKEY";
// A statement whose every run leaves a row behind.
constexpr const char* kStatement = "CREATE TABLE IF NOT EXISTS ran (x); INSERT INTO ran VALUES (1)";

class Maintenance : public test::ViewsDbTest {
 protected:
  void SetUp() override {
    test::ViewsDbTest::SetUp();
    connection_ = OpenViewsDatabase();
    internal::ResetProcessState();
  }
  void Check(int32_t interval = 40, const char* unit = "d") {
    RunMaintenanceCheck(*connection_, kCheck, kRun, kKey, kStatement, interval, unit);
  }
  int Runs() {
    return SqlService::TableExists(*connection_, "ran")
               ? std::stoi(One(*connection_, "SELECT count(*) FROM ran"))
               : 0;
  }

  prvdrinfo::test::ScopedTimeZone zone_{"EST5EDT,M3.2.0,M11.1.0"};
  prvdrinfo::test::ScopedClock clock_{kNow};
  FakeTime time_;
  std::shared_ptr<Connection> connection_;
};

TEST_F(Maintenance, ANewFileIsAnalysedAndVacuumedOnItsFirstOpen) {
  internal::ResetProcessState();
  std::filesystem::remove(ViewsDatabasePath());
  auto connection = OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().maintenanceRuns, 2);
  EXPECT_EQ(GetViewsDbProperty(*connection, kLastAnalyzeKey, ""), DateService::ToIso8601(kNow));
  EXPECT_EQ(GetViewsDbProperty(*connection, kLastVacuumKey, ""), DateService::ToIso8601(kNow));
  // VACUUM cannot run inside a transaction: this one ran after the repair was committed.
  EXPECT_TRUE(SqlService::TableExists(*connection, "sqlite_stat1"));
  EXPECT_FALSE(connection->InTransaction());
}

TEST_F(Maintenance, IsDueWhenTheStoredDateIsMissingNotADateOrOlderThanTheInterval) {
  struct Case {
    const char* stored;  // nullptr: no row
    int32_t interval;
    const char* unit;
    bool due;
  };
  const std::string days40 = DateService::ToIso8601(DateService::AddDays(kNow, -40));
  const std::string days41 = DateService::ToIso8601(DateService::AddDays(kNow, -41));
  // 40 days back at a minute to midnight: still 40 day boundaries.
  const std::string lateDay40 = DateService::ToIso8601(
      DateService::AddDays(DateService::FromParts(2026, 3, 10, 0, 0, 0), -40) + 1439.0 / 1440);
  const std::string days6 = DateService::ToIso8601(DateService::AddDays(kNow, -6));
  const std::string days7 = DateService::ToIso8601(DateService::AddDays(kNow, -7));
  const std::string future = DateService::ToIso8601(DateService::AddDays(kNow, 3));
  const std::string hours2 = DateService::ToIso8601(kNow - 2.0 / 24);
  const std::string months2 = DateService::ToIso8601(DateService::AddMonths(kNow, -2));
  for (const Case& c : std::initializer_list<Case>{{nullptr, 40, "d", true},
                                                   {"", 40, "d", true},
                                                   {"yesterday", 40, "d", true},
                                                   {"2026-13-01T00:00:00Z", 40, "d", true},
                                                   {days40.c_str(), 40, "d", false},
                                                   {lateDay40.c_str(), 40, "d", false},
                                                   {days41.c_str(), 40, "d", true},
                                                   {days6.c_str(), 6, "d", false},
                                                   {days7.c_str(), 6, "d", true},
                                                   {days7.c_str(), 6, "D", true},
                                                   {future.c_str(), 6, "d", false},
                                                   {hours2.c_str(), 1, "h", true},
                                                   {hours2.c_str(), 2, "h", false},
                                                   {months2.c_str(), 1, "m", true},
                                                   {months2.c_str(), 1, "yyyy", false}}) {
    SCOPED_TRACE(std::string(c.stored ? c.stored : "<no row>") + " " + std::to_string(c.interval) +
                 c.unit);
    internal::ResetProcessState();
    connection_->Execute("DROP TABLE IF EXISTS ran; DELETE FROM properties");
    if (c.stored) SetViewsDbProperty(*connection_, kKey, c.stored);
    Check(c.interval, c.unit);
    EXPECT_EQ(Runs(), c.due ? 1 : 0);
    EXPECT_EQ(GetViewsDbProperty(*connection_, kKey, "<none>"),
              c.due ? DateService::ToIso8601(kNow) : std::string(c.stored ? c.stored : "<none>"));
  }
}

TEST_F(Maintenance, AProcessChecksEachDatabaseAndStatementAtMostOnceAnHour) {
  Check();
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 1);
  connection_->Execute("DELETE FROM properties");  // due again, but not looked at
  time_.Advance(3599);
  Check();
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 1);
  EXPECT_EQ(Runs(), 1);
  time_.Advance(1);
  Check();
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 2);
  EXPECT_EQ(Runs(), 2);
  // A timer that went back does not keep the check away.
  time_.Advance(-10);
  Check();
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 3);
  // Another statement, key or database is another check.
  RunMaintenanceCheck(*connection_, kCheck, kRun, "OTHERKEY", kStatement, 40, "d");
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 4);
}

TEST_F(Maintenance, ASecondOpenWithinTheHourDoesNotReadTheProperties) {
  OpenViewsDatabase();
  const int32_t reads = internal::ProcessActivity().propertyReadsForChecks;
  EXPECT_EQ(reads, 2);
  OpenViewsDatabase();
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, reads);
}

TEST_F(Maintenance, TheProcessMemoryKeepsAtMostTenChecks) {
  for (int i = 0; i < 13; ++i) {
    RunMaintenanceCheck(*connection_, kCheck, kRun, "KEY" + std::to_string(i), "SELECT 1", 40, "d");
    EXPECT_EQ(internal::MaintenanceMemorySize(), std::min<size_t>(static_cast<size_t>(i) + 1, 10));
  }
}

TEST_F(Maintenance, AHeldCheckMutexMeansAnotherProcessDecidesSoNothingRunsHere) {
  HeldElsewhere other(kCheck);
  prvdrinfo::test::ScopedLogCapture log;
  const double start = time_.Now();
  Check();
  EXPECT_EQ(Runs(), 0);
  EXPECT_EQ(internal::ProcessActivity().propertyReadsForChecks, 0);
  EXPECT_GT(time_.Now() - start, 60 + 45);
  EXPECT_TRUE(log.Contains("Waited too long for mutex named: TESTCHECK_MUTEX in "));
  // Nothing was remembered: the next check decides.
  other.Release();
  Check();
  EXPECT_EQ(Runs(), 1);
}

TEST_F(Maintenance, AHeldRunMutexMeansTheStatementIsRunningElsewhere) {
  HeldElsewhere other(kRun);
  prvdrinfo::test::ScopedLogCapture log;
  Check();
  EXPECT_EQ(Runs(), 0);
  EXPECT_EQ(GetViewsDbProperty(*connection_, kKey, "<none>"), "<none>");
  EXPECT_TRUE(log.Contains("Waited too long for mutex named: TESTRUN_MUTEX in "));
  EXPECT_FALSE(internal::Mutexes().Exists(kCheck));
}

TEST_F(Maintenance, AStatementThatFailsRaisesAndReleasesTheMutexes) {
  const CError error = prvdrinfo::testing::ErrorOf([&] {
    RunMaintenanceCheck(*connection_, kCheck, kRun, kKey, "SELECT * FROM missing", 40, "d");
  });
  EXPECT_EQ(error.Description(), "no such table: missing");
  EXPECT_FALSE(internal::Mutexes().Exists(kCheck));
  EXPECT_FALSE(internal::Mutexes().Exists(kRun));
  EXPECT_EQ(GetViewsDbProperty(*connection_, kKey, "<none>"), "<none>");
}

TEST_F(Maintenance, AnUnknownIntervalUnitIsAnError) {
  for (const char* unit : {"", "q", "days", "w"}) {
    EXPECT_EQ(prvdrinfo::testing::ErrorNumberOf([&] { Check(40, unit); }), 5) << unit;
  }
}

TEST_F(Maintenance, PropertiesAreTextUnderKeysMatchedWithoutCase) {
  EXPECT_EQ(GetViewsDbProperty(*connection_, "missing", "fallback"), "fallback");
  SetViewsDbProperty(*connection_, "It's", "first");
  SetViewsDbProperty(*connection_, "It's", "second 'quoted'");
  EXPECT_EQ(GetViewsDbProperty(*connection_, "it'S", ""), "second 'quoted'");
  EXPECT_EQ(One(*connection_, "SELECT count(*) FROM properties WHERE key='It''s'"), "1");
  SetViewsDbProperty(*connection_, "empty", "");
  EXPECT_EQ(GetViewsDbProperty(*connection_, "empty", "fallback"), "");
}

}  // namespace
}  // namespace prvdrinfo::views_db
