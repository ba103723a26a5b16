#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "services/internal/mutex_service.h"
#include "services/internal/timer.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/services/vesk.h"
#include "support/temp_dir.h"
#include "viewsdb/views_db_internal.h"

namespace prvdrinfo::views_db::test {

// The first field of every row, Null as "<null>".
inline std::vector<std::string> Strings(Connection& connection, const std::string& sql) {
  std::vector<std::string> values;
  for (auto rows = connection.OpenRecordset(sql); !rows->Eof(); rows->MoveNext()) {
    values.push_back(rows->Value(0).IsNull() ? "<null>" : rows->Value(0).ToText());
  }
  return values;
}

inline std::string One(Connection& connection, const std::string& sql) {
  const auto values = Strings(connection, sql);
  return values.empty() ? "<none>" : values.front();
}

// A fresh data folder, and the process state of a process that just started.
class ViewsDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CVesk::SetDataFolder(folder_.Path());
    internal::ResetProcessState();
  }
  void TearDown() override {
    internal::ResetProcessState();
    CVesk::SetDataFolder("");
  }

  prvdrinfo::test::TempDir folder_;
};

// Time that passes only when the module sleeps: every wait runs at once, and a test can
// act at a chosen point of a wait.
class FakeTime {
 public:
  FakeTime() {
    Timer::SetSource([this] { return now_; });
    internal::SetSleeper([this](int32_t milliseconds) {
      sleeps_.push_back(milliseconds);
      now_ += milliseconds / 1000.0;
      if (onSleep_) onSleep_(now_);
    });
  }
  ~FakeTime() {
    Timer::SetSource({});
    internal::SetSleeper({});
  }
  FakeTime(const FakeTime&) = delete;
  FakeTime& operator=(const FakeTime&) = delete;

  double Now() const { return now_; }
  void Advance(double seconds) { now_ += seconds; }
  void Set(double seconds) { now_ = seconds; }
  // Called after each sleep with the new time.
  void OnSleep(std::function<void(double now)> action) { onSleep_ = std::move(action); }
  const std::vector<int32_t>& Sleeps() const { return sleeps_; }

 private:
  double now_ = 1000;
  std::vector<int32_t> sleeps_;
  std::function<void(double)> onSleep_;
};

// A mutex that another thread took: this thread meets it as taken, as it would meet one
// of another process. Released when the object goes, or earlier by Release.
class HeldElsewhere {
 public:
  explicit HeldElsewhere(const std::string& name) {
    std::thread([&] { handle_ = internal::Mutexes().CreateAndOwn(name, 0); }).join();
    EXPECT_NE(handle_, 0) << name;
  }
  ~HeldElsewhere() { Release(); }
  HeldElsewhere(const HeldElsewhere&) = delete;
  HeldElsewhere& operator=(const HeldElsewhere&) = delete;

  void Release() {
    MutexService::Release(handle_);
    handle_ = 0;
  }

 private:
  MutexService::Handle handle_ = 0;
};

}  // namespace prvdrinfo::views_db::test
