#include "services/internal/timer.h"

#include <chrono>
#include <mutex>
#include <utility>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

struct TimerState {
  std::mutex mutex;
  std::function<double()> source;
  const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

TimerState& State() {
  static TimerState state;
  return state;
}

}  // namespace

double Timer::Seconds() {
  static constexpr ErrorSite kSite{"VIFHCXLT19YPCQ4ZQ0SXCYK8E", "Timer.Seconds"};
  return kSite.Guard([&] {
    TimerState& state = State();
    std::function<double()> source;
    {
      const std::lock_guard lock(state.mutex);
      source = state.source;
    }
    if (source) return source();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - state.start).count();
  });
}

void Timer::SetSource(std::function<double()> source) {
  static constexpr ErrorSite kSite{"NZNBPL5DTA8UX8NJ6B5HB5N9W", "Timer.SetSource"};
  kSite.Guard([&] {
    TimerState& state = State();
    const std::lock_guard lock(state.mutex);
    state.source = std::move(source);
  });
}

}  // namespace prvdrinfo
