#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// Clean-up, blank tests, GUID text and sort keys: the one place where the library decides
// what two texts have in common. Every member takes any bytes. Ill-formed UTF-8 reads as
// U+FFFD (one per maximal ill-formed piece), so every result is well-formed UTF-8. Texts
// longer than kMaxTextBytes raise 5; everything else gives a result unless stated.
//
// Character classes (Unicode properties, through ICU):
// - white space: White_Space (TAB, LF, CR, VT, FF, NEL, SPACE, NBSP, U+2000..U+200A,
//   U+2028, U+2029, U+202F, U+205F, U+3000, ...);
// - controls: general category Cc that is not white space (NUL, U+0001..U+0008, DEL, ...);
// - invisibles: Default_Ignorable_Code_Point (ZERO WIDTH SPACE, ZWJ, BOM, soft hyphen,
//   variation selectors, ...).
//
// Emptiness: a text is empty when it holds nothing but white space, controls and
// invisibles. IsEmpty(t) is exactly CleanCaption(t).empty().
//
// Caption clean-up (mode 3), in this order:
//   1. controls are removed wherever they are;
//   2. the text is put into Unicode normalization form C, so that a letter typed as one
//      character and as letter plus accent is the same caption;
//   3. every run of white space becomes one SPACE;
//   4. spaces and invisibles are removed from both ends (inner invisibles stay: emoji and
//      some scripts need ZWJ, ZWNJ and variation selectors).
// Clean-up mode 0 only repairs the UTF-8. Other modes raise 5.
//
// Whitespace removal: every white-space character is removed; nothing else changes.
//
// GUID clean-up: white space, controls and invisibles are trimmed from both ends, then one
// pair of enclosing braces with any of those just inside them. A blank result is "" (the
// callers report a missing GUID). Otherwise the text must be 32 hexadecimal digits, bare
// or grouped 8-4-4-4-12 with hyphens, and comes back grouped with hyphens in upper case
// ("{0a1b2c3d-...}" -> "0A1B2C3D-..."). Anything else raises 5 "Invalid GUID: " followed
// by the text in double quotes (shortened, see Excerpt).
//
// Sort keys, SortKey(text, mode, smart). Keys are stored in the database (caption_sort),
// so the rule below is fixed; any change to it must come with a rewrite of stored keys.
// Keys are compared as bytes (memcmp, std::string's operator<, SQLite BINARY); equal keys
// mean an equal place in the order.
//   1. mode 3 applies the caption clean-up first; mode 0 takes the text as it is; any
//      other mode raises 5.
//   2. white space becomes SPACE (U+0020); controls are dropped.
//   3. the text is made caseless: NFD, then Unicode full default case folding, then NFD
//      again (canonical caseless matching). Case folding is stable under Unicode's
//      stability policy for every assigned character, and NFD likewise, so the key does
//      not move with ICU or Unicode versions for text of assigned characters. No locale
//      takes part: no Turkish dotless i, no collation tables.
//   4. smart (true) only: each maximal run of decimal digits (general category Nd, any
//      script, scripts mixed freely; the value of each digit is its Unicode digit value)
//      is written as
//        C L D
//      where D is the run's value in ASCII digits without leading zeros ("0" for a run of
//      zeros), L is the number of digits of D written in ASCII decimal, and C is the
//      single ASCII character '0' + (number of digits of L). "7" -> "117", "007" -> "117",
//      "10" -> "1210", "0" -> "110", a 12-digit number -> "212" + its digits. Because
//      text is limited to kMaxTextBytes, C is always '1'..'8', so numbers sort where ASCII
//      digits would (after space and most punctuation, before letters), shorter numbers
//      before longer ones, equal lengths by their digits: "view 2" < "view 10". Numbers
//      of equal value compare equal ("2" = "02"). Signs, decimal points and grouping
//      separators are ordinary characters: "1.5" is the runs 1 and 5.
//      Without smart, digits stay as they are (after case folding, which leaves them).
//   5. the result is UTF-8.
// SortKey(text, 3, true) is the smart-sort key of the SmartSort collation and the
// caption_sort column; SortKey(text, 0, false) is the plain caseless key.
class PRVDRINFO_API TextService {
 public:
  static constexpr size_t kMaxTextBytes = size_t{16} * 1024 * 1024;
  static constexpr int32_t kCleanNone = 0;
  static constexpr int32_t kCleanCaption = 3;

  static bool IsEmpty(std::string_view text);

  static std::string CleanText(std::string_view text, int32_t mode);
  static std::string CleanCaption(std::string_view text);  // CleanText(text, 3)

  static std::string RemoveWhitespace(std::string_view text);

  static bool IsGuid(std::string_view text);  // whether CleanGuid gives a GUID
  static std::string CleanGuid(std::string_view text);

  static std::string SortKey(std::string_view text, int32_t mode, bool smart);
  static std::string SmartSortKey(std::string_view text);  // SortKey(text, 3, true)
  // Caseless form of a caption for lookups by caption: SortKey(text, 3, false).
  static std::string ComparisonForm(std::string_view text);
  // Byte order of two keys: -1, 0 or 1.
  static int32_t CompareKeys(std::string_view left, std::string_view right);

  // A short printable rendering of any text for error messages: at most maxChars
  // characters (then "..."), ill-formed UTF-8 as U+FFFD, controls as \xNN.
  static std::string Excerpt(std::string_view text, size_t maxChars = 40);
};

}  // namespace prvdrinfo
