#include "services/internal/random_service.h"

#include <openssl/rand.h>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

int32_t RandomService::Next(int32_t upperBound) {
  static constexpr ErrorSite kSite{"RQT7VZFF2Z5SJU4LL65OEQ0YI", "RandomService.Next"};
  return kSite.Guard([&] {
    if (upperBound < 0)
      kSite.Raise(err::kInvalidProcedureCall, "The upper bound must not be negative.");
    const uint64_t range = static_cast<uint64_t>(upperBound) + 1;
    // Rejection sampling: values at or above the last whole multiple of range would
    // favour the small results.
    const uint64_t limit = (uint64_t{1} << 32) / range * range;
    for (;;) {
      uint32_t draw = 0;
      if (RAND_bytes(reinterpret_cast<unsigned char*>(&draw), sizeof draw) != 1) {
        kSite.Raise(err::kUnspecified, "The random generator failed.");
      }
      if (draw < limit) return static_cast<int32_t>(draw % range);
    }
  });
}

}  // namespace prvdrinfo
