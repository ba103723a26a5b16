#include "prvdrinfo/foundation/utf16_text.h"

#include <limits>
#include <utility>

#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr size_t kMaxUnits = std::numeric_limits<int32_t>::max();

void CheckRoom(const ErrorSite& site, size_t held, size_t added) {
  if (added > kMaxUnits - held) {
    CError error(err::kOverflow, site.Source(), {});
    error.AddLocation(site.Id());
    error.AddContext("A text holds at most 2147483647 UTF-16 code units.");
    throw error;
  }
}

}  // namespace

void Utf16Text::Append(std::u16string_view text) {
  static constexpr ErrorSite kSite{"29WALHYK8UQBEO1E50CZFHMF2", "StringBuilder.Append"};
  kSite.Guard([&] {
    CheckRoom(kSite, text_.size(), text.size());
    text_.append(text);
  });
}

void Utf16Text::Append(std::string_view utf8) {
  static constexpr ErrorSite kSite{"YJINBA4DWYU6FW4NZ235HPT20", "StringBuilder.Append"};
  kSite.Guard([&] {
    // UTF-8 never takes fewer bytes than UTF-16 takes units: refuse before converting.
    CheckRoom(kSite, text_.size(), utf8.size() > kMaxUnits ? utf8.size() : 0);
    const std::u16string units = unicode::ToUtf16(utf8);
    CheckRoom(kSite, text_.size(), units.size());
    text_.append(units);
  });
}

void Utf16Text::AppendRawBytes(std::span<const uint8_t> bytes) {
  static constexpr ErrorSite kSite{"8Y1KANI0R84ILUQW2L0JVKZQK", "StringBuilder.Append"};
  kSite.Guard([&] {
    const size_t units = bytes.size() / 2 + bytes.size() % 2;
    CheckRoom(kSite, text_.size(), units);
    const size_t start = text_.size();
    text_.resize(start + units);
    char16_t* out = text_.data() + start;
    const size_t pairs = bytes.size() / 2;
    for (size_t i = 0; i < pairs; ++i) {
      out[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    if (bytes.size() % 2 != 0) out[pairs] = bytes.back();
  });
}

void Utf16Text::Truncate(size_t units) {
  if (units < text_.size()) text_.resize(units);
}

std::u16string Utf16Text::Text16() const { return text_; }

std::string Utf16Text::Text() const {
  static constexpr ErrorSite kSite{"XH0KLJBNZIJ6MUZEPTQLGM1FZ", "StringBuilder.Text"};
  return kSite.Guard([&] { return unicode::ToUtf8(text_); });
}

std::u16string Utf16Text::Release() {
  std::u16string out;
  out.swap(text_);
  return out;
}

}  // namespace prvdrinfo
