#pragma once

#include <cstdint>
#include <string>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// New identifiers for columns, views, filters, records and the rest.
class PRVDRINFO_API GuidService {
 public:
  // A fresh random GUID (RFC 4122 version 4, 122 random bits from the system's
  // cryptographic generator), as text.
  //   length: 36 gives the hyphenated form "8-4-4-4-12", 38 the same in braces,
  //           32 the bare hex digits; any other length raises 5.
  //   style:  0, random generation; the only one there is (other values raise 5).
  //   upperCase: hex digits A-F in upper case, else lower case.
  // Callers use (36, 0, true).
  static std::string NewGuid(int32_t length = 36, int32_t style = 0, bool upperCase = true);
};

}  // namespace prvdrinfo
