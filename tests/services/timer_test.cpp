#include "services/internal/timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace prvdrinfo {
namespace {

TEST(TimerTest, MeasuresElapsedSeconds) {
  const double before = Timer::Seconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const double elapsed = Timer::Seconds() - before;
  EXPECT_GE(elapsed, 0.019);
  EXPECT_LT(elapsed, 5.0);
}

TEST(TimerTest, SourceCanBeSetAndRestored) {
  double now = 1000.0;
  Timer::SetSource([&] { return now; });
  EXPECT_EQ(Timer::Seconds(), 1000.0);
  now += 90.5;
  EXPECT_EQ(Timer::Seconds(), 1090.5);
  Timer::SetSource({});
  const double real = Timer::Seconds();
  EXPECT_LT(real, 1000.0);  // the real clock counts from the start of this process
  EXPECT_GE(Timer::Seconds(), real);
}

}  // namespace
}  // namespace prvdrinfo
