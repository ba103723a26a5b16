#pragma once

#include <cstdint>

namespace prvdrinfo {

// Random whole numbers, e.g. the jitter that keeps waiting processes from polling in
// step. Drawn from the system's cryptographic generator, which is reseeded after fork,
// so two processes forked from one parent do not draw the same sequence.
class RandomService {
 public:
  // A uniformly distributed number from 0 to upperBound, both included. A negative
  // bound raises 5.
  static int32_t Next(int32_t upperBound);
};

}  // namespace prvdrinfo
