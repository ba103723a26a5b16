#include "prvdrinfo/foundation/unicode.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <cstdint>

#include "foundation/internal/ascii.h"

namespace prvdrinfo::unicode {

namespace {
void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}
}  // namespace

std::u16string ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(utf8.size());
  int32_t i = 0;
  while (i < length) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) c = 0xFFFD;
    if (c <= 0xFFFF) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      const auto v = static_cast<uint32_t>(c) - 0x10000u;
      out.push_back(static_cast<char16_t>(0xD800u + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00u + (v & 0x3FFu)));
    }
  }
  return out;
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000u + ((c - 0xD800u) << 10) + (utf16[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string FoldCase(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) {
    std::string out(utf8);
    for (char& c : out) c = prvdrinfo::ascii::Lower(c);
    return out;
  }
  const std::u16string wide = ToUtf16(utf8);
  std::u16string folded(wide.size() + 8, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), wide.data(),
                            static_cast<int32_t>(wide.size()), U_FOLD_CASE_DEFAULT, &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    folded.assign(static_cast<size_t>(n), u'\0');
    status = U_ZERO_ERROR;
    n = u_strFoldCase(folded.data(), n, wide.data(), static_cast<int32_t>(wide.size()),
                      U_FOLD_CASE_DEFAULT, &status);
  }
  if (U_FAILURE(status)) return ToUtf8(wide);
  folded.resize(static_cast<size_t>(n));
  return ToUtf8(folded);
}

}  // namespace prvdrinfo::unicode
