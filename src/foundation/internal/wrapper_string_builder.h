#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/utf16_text.h"

namespace prvdrinfo {

class Sha256Hasher;

// The database wrapper's string builder, the one content strings are assembled in
// (AppendContentString3). Holds UTF-16, so bag bytes taken as code units pass through
// unchanged. Library-internal: hosts use CStringBuilder or CStringBuffer.
class StringBuilder {
 public:
  StringBuilder() = default;
  // A builder that keeps no text: what is appended is fed to the hash as it comes (as
  // UTF-16LE bytes, the bytes a content identifier digests). Flush before the digest is
  // read. Text16, Text, View and Release then see only what has not been fed yet.
  explicit StringBuilder(Sha256Hasher& digest) : digest_(&digest) {}
  // Feeds the text held so far to the hash.
  void Flush();

  // The line break AppendLine ends with: CRLF, as the SQL texts built here expect.
  static constexpr std::u16string_view kLineBreak = u"\r\n";

  void Append(std::u16string_view text);
  void Append(std::string_view text);
  // The text, then the separator, then a line break.
  void AppendLine(std::u16string_view text, std::u16string_view separator = {});
  void AppendLine(std::string_view text, std::string_view separator = {});
  // Bytes taken as the raw storage of a string (see Utf16Text::AppendRawBytes).
  void AppendRawBytes(std::span<const uint8_t> bytes);

  void Clear() {
    text_.Clear();
    fed_ = 0;
  }
  // In UTF-16 code units.
  int32_t Length() const { return static_cast<int32_t>(fed_ + text_.Length()); }

  std::u16string Text16() const;
  std::string Text() const;
  std::u16string_view View() const { return text_.View(); }
  // Hands the text over without copying and leaves the builder empty.
  std::u16string Release() { return text_.Release(); }

 private:
  template <class TextView>
  void AddLine(TextView text, TextView separator);

  // Feeds the held text once it has grown, so that little is held at any time.
  void Spill() {
    if (digest_ && text_.Length() >= kSpillUnits) Flush();
  }
  static constexpr int32_t kSpillUnits = 2048;

  Utf16Text text_;
  Sha256Hasher* digest_ = nullptr;
  int64_t fed_ = 0;  // code units fed to the hash
};

}  // namespace prvdrinfo
