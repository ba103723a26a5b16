#include "foundation/internal/wrapper_string_builder.h"

#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr uint8_t kZeroHighByte[1] = {0};
}  // namespace

void StringBuilder::Append(std::u16string_view text) {
  static constexpr ErrorSite kSite{"N60MHX7PIK0JSZZDQMTLG69RI", "StringBuilder.Append"};
  kSite.Guard([&] {
    text_.Append(text);
    Spill();
  });
}

void StringBuilder::Append(std::string_view text) {
  static constexpr ErrorSite kSite{"WNH5XRAUKMVAFGI2G55MMZRU5", "StringBuilder.Append"};
  kSite.Guard([&] {
    text_.Append(text);
    Spill();
  });
}

template <class TextView>
void StringBuilder::AddLine(TextView text, TextView separator) {
  static constexpr ErrorSite kSite{"0A35BNEN3ZLP9TVNLLG1CYA6G", "StringBuilder.AppendLine"};
  kSite.Guard([&] {
    text_.AppendAll([&](Utf16Text& t) {
      t.Append(text);
      t.Append(separator);
      t.Append(kLineBreak);
    });
    Spill();
  });
}

void StringBuilder::AppendLine(std::u16string_view text, std::u16string_view separator) {
  static constexpr ErrorSite kSite{"3W6D3OKXKPLTECG60NVC9HY2A", "StringBuilder.AppendLine"};
  kSite.Guard([&] { AddLine(text, separator); });
}

void StringBuilder::AppendLine(std::string_view text, std::string_view separator) {
  static constexpr ErrorSite kSite{"9HOHLAC8W1S61NOGLMJPZNXIP", "StringBuilder.AppendLine"};
  kSite.Guard([&] { AddLine(text, separator); });
}

void StringBuilder::AppendRawBytes(std::span<const uint8_t> bytes) {
  static constexpr ErrorSite kSite{"P2L8A3FIXGJ2E968DM10MW2P6", "StringBuilder.Append"};
  kSite.Guard([&] {
    if (!digest_) {
      text_.AppendRawBytes(bytes);
      return;
    }
    // The bytes are already the code units' little-endian storage: fed as they are.
    Flush();
    digest_->Update(bytes);
    if (bytes.size() % 2 != 0) digest_->Update(std::span<const uint8_t>(kZeroHighByte));
    fed_ += static_cast<int64_t>((bytes.size() + 1) / 2);
  });
}

void StringBuilder::Flush() {
  static constexpr ErrorSite kSite{"3VK04EPUUI930LFZENL07Y7WT", "StringBuilder.Flush"};
  kSite.Guard([&] {
    if (!digest_ || text_.Empty()) return;
    digest_->UpdateUtf16Le(text_.View());
    fed_ += text_.Length();
    text_.Clear();
  });
}

std::u16string StringBuilder::Text16() const { return text_.Text16(); }

std::string StringBuilder::Text() const { return text_.Text(); }

}  // namespace prvdrinfo
