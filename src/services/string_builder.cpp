#include "prvdrinfo/services/string_builder.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

// A piece goes in whole or not at all.
template <class TextView>
void CStringBuilder::AddPiece(std::u16string_view prefix, TextView text,
                              std::u16string_view suffix) {
  static constexpr ErrorSite kSite{"XDL4EDULWSE5U7FT9R9CLMKUY", "CStringBuilder.Append"};
  kSite.Guard([&] {
    pieceStarts_.reserve(pieceStarts_.size() + 1);
    const auto start = static_cast<size_t>(text_.Length());
    text_.AppendAll([&](Utf16Text& t) {
      t.Append(prefix);
      t.Append(text);
      t.Append(suffix);
    });
    pieceStarts_.push_back(start);
  });
}

void CStringBuilder::Append(std::u16string_view text) {
  static constexpr ErrorSite kSite{"7CJVCCTQULVR81B7OVRTW6239", "CStringBuilder.Append"};
  kSite.Guard([&] { AddPiece({}, text, {}); });
}

void CStringBuilder::Append(std::string_view text) {
  static constexpr ErrorSite kSite{"QKL19A26GV9DRLDC2HDB9321Y", "CStringBuilder.Append"};
  kSite.Guard([&] { AddPiece({}, text, {}); });
}

void CStringBuilder::AppendWord(std::u16string_view word) {
  static constexpr ErrorSite kSite{"4J4977090DYQGIEANNMJPWJDP", "CStringBuilder.AppendWord"};
  kSite.Guard([&] { AddPiece(text_.Empty() ? u"" : u" ", word, {}); });
}

void CStringBuilder::AppendWord(std::string_view word) {
  static constexpr ErrorSite kSite{"IX862JR5QIMMX9HQWLYGRDQ9W", "CStringBuilder.AppendWord"};
  kSite.Guard([&] { AddPiece(text_.Empty() ? u"" : u" ", word, {}); });
}

void CStringBuilder::AppendLine(std::u16string_view text) {
  static constexpr ErrorSite kSite{"YXDOLN99134YF4LU0T0B8VI2O", "CStringBuilder.AppendLine"};
  kSite.Guard([&] { AddPiece({}, text, u"\n"); });
}

void CStringBuilder::AppendLine(std::string_view text) {
  static constexpr ErrorSite kSite{"FS1KNUKXT83IXZ6HT28CF0EPH", "CStringBuilder.AppendLine"};
  kSite.Guard([&] { AddPiece({}, text, u"\n"); });
}

bool CStringBuilder::RemoveLastPiece() {
  if (pieceStarts_.empty()) return false;
  text_.Truncate(pieceStarts_.back());
  pieceStarts_.pop_back();
  return true;
}

void CStringBuilder::Clear() {
  text_.Clear();
  pieceStarts_.clear();
}

std::string CStringBuilder::Text() const { return text_.Text(); }

std::u16string CStringBuilder::Text16() const { return text_.Text16(); }

}  // namespace prvdrinfo
