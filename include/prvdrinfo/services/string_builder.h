#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/utf16_text.h"

namespace prvdrinfo {

// The stock library's string builder: text assembled from pieces, where every append is
// one piece that RemoveLastPiece takes back. Holds UTF-16, so content strings (which
// carry arbitrary 16-bit units) pass through unchanged; Text() gives UTF-8.
//
// A word is preceded by one space, except at the very start of the text; the space
// belongs to the word's piece. A line piece ends with "\n".
class PRVDRINFO_API CStringBuilder {
 public:
  void Append(std::u16string_view text);
  void Append(std::string_view text);
  void AppendWord(std::u16string_view word);
  void AppendWord(std::string_view word);
  void AppendLine(std::u16string_view text);
  void AppendLine(std::string_view text = {});

  // Takes back the last piece still held; false when there is none.
  bool RemoveLastPiece();
  int32_t PieceCount() const { return static_cast<int32_t>(pieceStarts_.size()); }
  // In UTF-16 code units.
  int32_t Length() const { return text_.Length(); }
  void Clear();

  std::string Text() const;
  std::u16string Text16() const;
  std::u16string_view View() const { return text_.View(); }

 private:
  template <class TextView>
  void AddPiece(std::u16string_view prefix, TextView text, std::u16string_view suffix);

  Utf16Text text_;
  std::vector<size_t> pieceStarts_;  // where each piece begins, in code units
};

}  // namespace prvdrinfo
