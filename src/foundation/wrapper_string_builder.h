#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/utf16_text.h"

namespace prvdrinfo {

// The database wrapper's string builder, the one content strings are assembled in
// (AppendContentString3). Holds UTF-16, so bag bytes taken as code units pass through
// unchanged. Library-internal: hosts use CStringBuilder or CStringBuffer.
class StringBuilder {
 public:
  // The line break AppendLine ends with: CRLF, as the SQL texts built here expect.
  static constexpr std::u16string_view kLineBreak = u"\r\n";

  void Append(std::u16string_view text);
  void Append(std::string_view text);
  // The text, then the separator, then a line break.
  void AppendLine(std::u16string_view text, std::u16string_view separator = {});
  void AppendLine(std::string_view text, std::string_view separator = {});
  // Bytes taken as the raw storage of a string (see Utf16Text::AppendRawBytes).
  void AppendRawBytes(std::span<const uint8_t> bytes);

  void Clear() { text_.Clear(); }
  // In UTF-16 code units.
  int32_t Length() const { return text_.Length(); }

  std::u16string Text16() const;
  std::string Text() const;
  std::u16string_view View() const { return text_.View(); }
  // Hands the text over without copying and leaves the builder empty.
  std::u16string Release() { return text_.Release(); }

 private:
  template <class TextView>
  void AddLine(TextView text, TextView separator);

  Utf16Text text_;
};

}  // namespace prvdrinfo
