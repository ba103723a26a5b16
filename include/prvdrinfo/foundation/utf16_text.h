#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// Growable UTF-16 text that takes and gives UTF-8 or UTF-16: the storage the string
// builders stand on. Content strings hold arbitrary 16-bit units (property-bag bytes),
// so the text stays UTF-16 and is converted only when UTF-8 is asked for.
// Lengths count UTF-16 code units and stay within 32 bits: text beyond 2147483647 units
// raises 6 "Overflow"; running out of memory raises 7. A failed append changes nothing.
class PRVDRINFO_API Utf16Text {
 public:
  void Append(std::u16string_view text);
  void Append(std::string_view utf8);
  // Bytes taken as the raw storage of a string: each little-endian byte pair is one code
  // unit. An odd last byte becomes a code unit of its own with a zero high byte.
  void AppendRawBytes(std::span<const uint8_t> bytes);
  // Runs several appends as one: when any of them fails the text is put back as it was.
  template <class Appends>
  void AppendAll(Appends&& appends) {
    const size_t start = text_.size();
    try {
      appends(*this);
    } catch (...) {
      Truncate(start);
      throw;
    }
  }

  int32_t Length() const { return static_cast<int32_t>(text_.size()); }
  bool Empty() const { return text_.empty(); }
  // Cuts the text back to that many code units (no effect when it is not longer).
  void Truncate(size_t units);
  // Empties the text; its storage is kept for the next use.
  void Clear() { text_.clear(); }

  std::u16string_view View() const { return text_; }
  std::u16string Text16() const;
  // UTF-8; unpaired surrogates become U+FFFD.
  std::string Text() const;
  // Hands the text over without copying and leaves this one empty.
  std::u16string Release();

 private:
  std::u16string text_;
};

}  // namespace prvdrinfo
