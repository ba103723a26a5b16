#include "services/internal/digest_service.h"

#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

void CheckArguments(const ErrorSite& site, int32_t selector, int32_t option) {
  if (selector != DigestService::kSelectorSha256) {
    site.Raise(err::kInvalidProcedureCall,
               "Unknown digest selector " + std::to_string(selector) + ".");
  }
  if (option != DigestService::kOptionUtf16UpperHex &&
      option != DigestService::kOptionUtf8LowerHex) {
    site.Raise(err::kInvalidProcedureCall, "Unknown digest option " + std::to_string(option) + ".");
  }
}

std::string Utf8Digest(std::string_view utf8) {
  Sha256Hasher hasher;
  hasher.Update(utf8);
  return Sha256Hasher::ToHex(hasher.Finish(), false);
}

}  // namespace

std::string DigestService::Digest(std::u16string_view text, int32_t selector, int32_t option) {
  static constexpr ErrorSite kSite{"RJNTEYJTSEONNI2A177TNRBZW", "DigestService.Digest"};
  return kSite.Guard([&] {
    CheckArguments(kSite, selector, option);
    if (option == kOptionUtf8LowerHex) return Utf8Digest(unicode::ToUtf8(text));
    return Sha256Hasher::HexOfUtf16Le(text);
  });
}

std::string DigestService::Digest(std::string_view utf8, int32_t selector, int32_t option) {
  static constexpr ErrorSite kSite{"J1Y1A7OA70OAWQSLISO5Y9G46", "DigestService.Digest"};
  return kSite.Guard([&] {
    CheckArguments(kSite, selector, option);
    if (option == kOptionUtf8LowerHex) return Utf8Digest(utf8);
    return Sha256Hasher::HexOfUtf16Le(unicode::ToUtf16(utf8));
  });
}

}  // namespace prvdrinfo
