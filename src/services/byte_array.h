#pragma once

#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The byte-array test: true when there are bytes to read. A Variant answers true only
// when it holds a non-empty byte array; Empty, Null, text and the rest are false.
class ByteArrayService {
 public:
  static bool HasElements(const Bytes& bytes) noexcept { return !bytes.empty(); }
  static bool HasElements(const Variant& value) noexcept;
};

}  // namespace prvdrinfo
