#pragma once

#include <functional>

namespace prvdrinfo {

// The wrapper's high-resolution timer: seconds as a double from a monotonic clock, so
// differences of two readings are elapsed time, unaffected by changes of the wall clock.
// The zero point is arbitrary (the first reading in the process is close to 0).
class Timer {
 public:
  static double Seconds();
  // Test seam: readings come from the given function; an empty one restores the clock.
  static void SetSource(std::function<double()> source);
};

}  // namespace prvdrinfo
