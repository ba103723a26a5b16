#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace prvdrinfo {

// The stock library's digest service: a text digest, equal for equal input.
//
// Selector 3 is SHA-256, the only algorithm offered; other selectors raise 5.
// The option picks which bytes of the text are hashed and how the digest is written:
//   0  the UTF-16 code units, two bytes each, low byte first; 64 upper-case hex digits.
//      Content identifiers: a content string holds arbitrary 16-bit units, and this
//      way every one of them counts.
//   2  the text's UTF-8 bytes; 64 lower-case hex digits, exactly what `sha256sum`
//      prints for the same text. Keys of the views database's maintenance memory, which
//      a person can then reproduce from the key's parts with standard tools. Unpaired
//      surrogates are hashed as U+FFFD.
// Other options raise 5.
class DigestService {
 public:
  static constexpr int32_t kSelectorSha256 = 3;
  static constexpr int32_t kOptionUtf16UpperHex = 0;
  static constexpr int32_t kOptionUtf8LowerHex = 2;

  static std::string Digest(std::u16string_view text, int32_t selector, int32_t option);
  static std::string Digest(std::string_view utf8, int32_t selector, int32_t option);
};

}  // namespace prvdrinfo
