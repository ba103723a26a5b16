#include "prvdrinfo/services/text_service.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/internal/ascii.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kIsEmptySite{"0S089TSPL2ZYHG4TC2R9ZGM75", "TextService.IsEmpty"};
constexpr ErrorSite kCleanTextSite{"LBPJDTFF1AWISQHN7BIWSEXTL", "TextService.CleanText"};
constexpr ErrorSite kRemoveWhitespaceSite{"USGFC10AYLTCBGD4I61CFC2DB",
                                          "TextService.RemoveWhitespace"};
constexpr ErrorSite kIsGuidSite{"P7O0UWWQ8SPR9U8VNOF7NRFIJ", "TextService.IsGuid"};
constexpr ErrorSite kCleanGuidSite{"TARG88BCFRQ7JDOLHRQ9R27AL", "TextService.CleanGuid"};
constexpr ErrorSite kSortKeySite{"BZ3QVMF364WV1J0Q08L0XBSJE", "TextService.SortKey"};
constexpr ErrorSite kExcerptSite{"BJF87KM36H0AA2BPHGNRT8KBB", "TextService.Excerpt"};
constexpr ErrorSite kNormalizeSite{"0L35TDIBDG06Y7A478INWULBB", "TextService.Normalize"};
constexpr ErrorSite kFoldSite{"AA5W1IMTOCKHJ5KY1BVL7QRSS", "TextService.FoldCase"};

void CheckLength(const ErrorSite& site, std::string_view text) {
  if (text.size() > TextService::kMaxTextBytes) {
    site.Raise(err::kInvalidProcedureCall, "Text is too long: " + std::to_string(text.size()) +
                                               " bytes; the limit is " +
                                               std::to_string(TextService::kMaxTextBytes) + ".");
  }
}

// Calls f with every code point; each maximal ill-formed piece gives one U+FFFD.
// Callers have checked the length, so it fits the int32 indexes that ICU's macros use.
template <class F>
void ForEachCodePoint(std::string_view text, F&& f) {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  const auto n = static_cast<int32_t>(text.size());
  int32_t i = 0;
  while (i < n) {
    UChar32 c;
    U8_NEXT(s, i, n, c);
    if (c < 0) c = 0xFFFD;
    f(c);
  }
}

template <class F>
void ForEachCodePoint(const std::u16string& text, F&& f) {
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000u + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    f(static_cast<UChar32>(c));
  }
}

void AppendUtf8(std::string& out, UChar32 c) {
  const auto u = static_cast<uint32_t>(c);
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else if (u < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (u >> 18)));
    out.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, UChar32 c) {
  const auto u = static_cast<uint32_t>(c);
  if (u <= 0xFFFF) {
    out.push_back(static_cast<char16_t>(u));
  } else {
    out.push_back(static_cast<char16_t>(0xD800u + ((u - 0x10000u) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00u + ((u - 0x10000u) & 0x3FFu)));
  }
}

bool IsWhite(UChar32 c) { return u_isUWhiteSpace(c) != 0; }
bool IsControl(UChar32 c) { return u_charType(c) == U_CONTROL_CHAR && !IsWhite(c); }
bool IsInvisible(UChar32 c) {
  return u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) != 0;
}
// What blank tests and trimming look through.
bool IsBlankish(UChar32 c) { return IsWhite(c) || IsControl(c) || IsInvisible(c); }

[[noreturn]] void RaiseIcu(const ErrorSite& site, UErrorCode status) {
  site.Raise(err::kUnspecified, std::string("Unicode processing failed: ") + u_errorName(status));
}

const UNormalizer2* Normalizer(bool composed) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* n =
      composed ? unorm2_getNFCInstance(&status) : unorm2_getNFDInstance(&status);
  if (U_FAILURE(status) || n == nullptr) RaiseIcu(kNormalizeSite, status);
  return n;
}

std::u16string Normalize(const std::u16string& text, bool composed) {
  return kNormalizeSite.Guard([&] {
    const UNormalizer2* n = Normalizer(composed);
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    if (unorm2_isNormalized(n, text.data(), length, &status) && U_SUCCESS(status)) return text;
    status = U_ZERO_ERROR;
    std::u16string out(text.size() + text.size() / 2 + 8, u'\0');
    int32_t written = unorm2_normalize(n, text.data(), length, out.data(),
                                       static_cast<int32_t>(out.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.assign(static_cast<size_t>(written), u'\0');
      status = U_ZERO_ERROR;
      written = unorm2_normalize(n, text.data(), length, out.data(), written, &status);
    }
    if (U_FAILURE(status)) RaiseIcu(kNormalizeSite, status);
    out.resize(static_cast<size_t>(written));
    return out;
  });
}

std::u16string FoldCase(const std::u16string& text) {
  return kFoldSite.Guard([&] {
    const auto length = static_cast<int32_t>(text.size());
    std::u16string out(text.size() + 8, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t written = u_strFoldCase(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                    length, U_FOLD_CASE_DEFAULT, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.assign(static_cast<size_t>(written), u'\0');
      status = U_ZERO_ERROR;
      written =
          u_strFoldCase(out.data(), written, text.data(), length, U_FOLD_CASE_DEFAULT, &status);
    }
    if (U_FAILURE(status)) RaiseIcu(kFoldSite, status);
    out.resize(static_cast<size_t>(written));
    return out;
  });
}

std::string RepairUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ForEachCodePoint(text, [&](UChar32 c) { AppendUtf8(out, c); });
  return out;
}

std::string CaptionOf(std::string_view text) {
  std::u16string kept;
  kept.reserve(text.size());
  ForEachCodePoint(text, [&](UChar32 c) {
    if (!IsControl(c)) AppendUtf16(kept, c);
  });
  const std::u16string composed = Normalize(kept, true);

  std::vector<UChar32> collapsed;
  collapsed.reserve(composed.size());
  ForEachCodePoint(composed, [&](UChar32 c) {
    if (IsWhite(c)) {
      if (collapsed.empty() || collapsed.back() != 0x20) collapsed.push_back(0x20);
    } else {
      collapsed.push_back(c);
    }
  });
  auto trimmable = [](UChar32 c) { return c == 0x20 || IsInvisible(c); };
  auto first = std::find_if_not(collapsed.begin(), collapsed.end(), trimmable);
  auto last = std::find_if_not(collapsed.rbegin(), collapsed.rend(), trimmable).base();
  std::string out;
  out.reserve(text.size());
  for (auto it = first; it < last; ++it) AppendUtf8(out, *it);
  return out;
}

bool IsHex(UChar32 c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The canonical GUID text, "" for a blank text, or nothing when the text is no GUID.
bool ParseGuid(std::string_view text, std::string& canonical) {
  std::vector<UChar32> cps;
  cps.reserve(std::min<size_t>(text.size(), 64));
  ForEachCodePoint(text, [&](UChar32 c) { cps.push_back(c); });
  size_t begin = 0;
  size_t end = cps.size();
  auto trim = [&] {
    while (begin < end && IsBlankish(cps[begin])) ++begin;
    while (end > begin && IsBlankish(cps[end - 1])) --end;
  };
  trim();
  if (end - begin >= 2 && cps[begin] == '{' && cps[end - 1] == '}') {
    ++begin;
    --end;
    trim();
  }
  canonical.clear();
  if (begin == end) return true;
  const size_t length = end - begin;
  const bool hyphenated = length == 36;
  if (!hyphenated && length != 32) return false;
  std::string digits;
  for (size_t i = 0; i < length; ++i) {
    const UChar32 c = cps[begin + i];
    if (hyphenated && (i == 8 || i == 13 || i == 18 || i == 23)) {
      if (c != '-') return false;
      continue;
    }
    if (!IsHex(c)) return false;
    digits.push_back(ascii::Upper(static_cast<char>(c)));
  }
  canonical = digits.substr(0, 8) + '-' + digits.substr(8, 4) + '-' + digits.substr(12, 4) + '-' +
              digits.substr(16, 4) + '-' + digits.substr(20);
  return true;
}

void AppendNumber(std::string& out, const std::string& digits) {
  size_t start = digits.find_first_not_of('0');
  if (start == std::string::npos) start = digits.size() - 1;  // a run of zeros is "0"
  const std::string_view value(digits.data() + start, digits.size() - start);
  const std::string length = std::to_string(value.size());
  out.push_back(static_cast<char>('0' + length.size()));
  out += length;
  out += value;
}

}  // namespace

bool TextService::IsEmpty(std::string_view text) {
  return kIsEmptySite.Guard([&] {
    CheckLength(kIsEmptySite, text);
    bool empty = true;
    ForEachCodePoint(text, [&](UChar32 c) {
      if (empty && !IsBlankish(c)) empty = false;
    });
    return empty;
  });
}

std::string TextService::CleanText(std::string_view text, int32_t mode) {
  return kCleanTextSite.Guard([&] {
    CheckLength(kCleanTextSite, text);
    switch (mode) {
      case kCleanNone: return RepairUtf8(text);
      case kCleanCaption: return CaptionOf(text);
      default:
        kCleanTextSite.Raise(err::kInvalidProcedureCall,
                             "Unknown clean-up mode: " + std::to_string(mode));
    }
  });
}

std::string TextService::CleanCaption(std::string_view text) {
  return CleanText(text, kCleanCaption);
}

std::string TextService::RemoveWhitespace(std::string_view text) {
  return kRemoveWhitespaceSite.Guard([&] {
    CheckLength(kRemoveWhitespaceSite, text);
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](UChar32 c) {
      if (!IsWhite(c)) AppendUtf8(out, c);
    });
    return out;
  });
}

bool TextService::IsGuid(std::string_view text) {
  return kIsGuidSite.Guard([&] {
    CheckLength(kIsGuidSite, text);
    std::string canonical;
    return ParseGuid(text, canonical) && !canonical.empty();
  });
}

std::string TextService::CleanGuid(std::string_view text) {
  return kCleanGuidSite.Guard([&] {
    CheckLength(kCleanGuidSite, text);
    std::string canonical;
    if (!ParseGuid(text, canonical)) {
      kCleanGuidSite.Raise(err::kInvalidProcedureCall, "Invalid GUID: \"" + Excerpt(text) + "\"");
    }
    return canonical;
  });
}

std::string TextService::SortKey(std::string_view text, int32_t mode, bool smart) {
  return kSortKeySite.Guard([&] {
    CheckLength(kSortKeySite, text);
    if (mode != kCleanNone && mode != kCleanCaption) {
      kSortKeySite.Raise(err::kInvalidProcedureCall,
                         "Unknown sort key mode: " + std::to_string(mode));
    }
    const std::string base = mode == kCleanCaption ? CaptionOf(text) : std::string(text);
    std::u16string plain;
    plain.reserve(base.size());
    ForEachCodePoint(base, [&](UChar32 c) {
      if (IsWhite(c)) {
        plain.push_back(u' ');
      } else if (!IsControl(c)) {
        AppendUtf16(plain, c);
      }
    });
    const std::u16string caseless = Normalize(FoldCase(Normalize(plain, false)), false);

    std::string key;
    key.reserve(caseless.size() + 8);
    std::string digits;
    ForEachCodePoint(caseless, [&](UChar32 c) {
      if (smart && u_charType(c) == U_DECIMAL_DIGIT_NUMBER) {
        digits.push_back(static_cast<char>('0' + u_charDigitValue(c)));
        return;
      }
      if (!digits.empty()) {
        AppendNumber(key, digits);
        digits.clear();
      }
      AppendUtf8(key, c);
    });
    if (!digits.empty()) AppendNumber(key, digits);
    return key;
  });
}

std::string TextService::SmartSortKey(std::string_view text) {
  return SortKey(text, kCleanCaption, true);
}

std::string TextService::ComparisonForm(std::string_view text) {
  return SortKey(text, kCleanCaption, false);
}

int32_t TextService::CompareKeys(std::string_view left, std::string_view right) {
  const int c = left.compare(right);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string TextService::Excerpt(std::string_view text, size_t maxChars) {
  return kExcerptSite.Guard([&] {
    const size_t window = std::min(text.size(), maxChars * 4 + 4);
    std::string out;
    size_t count = 0;
    bool more = false;
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto n = static_cast<int32_t>(window);
    int32_t i = 0;
    while (i < n) {
      if (count == maxChars) {
        more = true;
        break;
      }
      UChar32 c;
      U8_NEXT(s, i, n, c);
      if (c < 0) c = 0xFFFD;
      ++count;
      if (c < 0x20 || c == 0x7F) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        out += "\\x";
        out.push_back(kHex[(c >> 4) & 0xF]);
        out.push_back(kHex[c & 0xF]);
      } else if (u_charType(c) == U_CONTROL_CHAR || c == 0x2028 || c == 0x2029) {
        char buffer[12];
        std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
        out += buffer;
      } else {
        AppendUtf8(out, c);
      }
    }
    if (more || static_cast<size_t>(i) < text.size()) out += "...";
    return out;
  });
}

}  // namespace prvdrinfo
