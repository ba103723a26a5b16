#include "prvdrinfo/services/guid_service.h"

#include <openssl/rand.h>

#include <array>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

std::string GuidService::NewGuid(int32_t length, int32_t style, bool upperCase) {
  static constexpr ErrorSite kSite{"MUUV6I64Y8L4UVR85PIFDDIDU", "GuidService.NewGuid"};
  return kSite.Guard([&] {
    if (length != 32 && length != 36 && length != 38) {
      kSite.Raise(err::kInvalidProcedureCall, "GUID length must be 32, 36 or 38.");
    }
    if (style != 0) kSite.Raise(err::kInvalidProcedureCall, "Unknown GUID style.");
    std::array<unsigned char, 16> bytes{};
    if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) {
      kSite.Raise(err::kUnspecified, "The random generator failed.");
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    text.reserve(38);
    if (length == 38) text.push_back('{');
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (length != 32 && (i == 4 || i == 6 || i == 8 || i == 10)) text.push_back('-');
      text.push_back(digits[bytes[i] >> 4]);
      text.push_back(digits[bytes[i] & 0x0F]);
    }
    if (length == 38) text.push_back('}');
    return text;
  });
}

}  // namespace prvdrinfo
