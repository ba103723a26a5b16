#include "filters/criteria_literal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace prvdrinfo::filters {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsWord(std::string_view text, std::string_view upperWord) {
  if (text.size() != upperWord.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upperWord[i]) return false;
  }
  return true;
}

std::optional<Variant> QuotedString(std::string_view text) {
  if (text.size() < 2 || text.back() != '\'') return std::nullopt;
  std::string value;
  const std::string_view inner = text.substr(1, text.size() - 2);
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '\'') {
      // A lone quote would end the literal early and leave the rest as SQL.
      if (i + 1 >= inner.size() || inner[i + 1] != '\'') return std::nullopt;
      ++i;
    }
    value += inner[i];
  }
  return Variant(std::move(value));
}

std::optional<Variant> Number(std::string_view text) {
  size_t i = 0;
  const bool negative = text[0] == '-';
  if (text[0] == '+' || negative) ++i;
  const size_t unsignedStart = i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  bool whole = true;
  if (i < text.size() && text[i] == '.') {
    whole = false;
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    whole = false;
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  // from_chars takes no plus sign; a minus it reads itself.
  const std::string_view body = negative ? text : text.substr(unsignedStart);
  const char* first = body.data();
  const char* last = body.data() + body.size();
  if (whole) {
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc() && end == last) return Variant(value);
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(first, last, value);
  // Out of range reads as SQLite reads it: an infinity, or zero below the smallest.
  if (ec == std::errc::result_out_of_range) {
    const bool tiny =
        body.find("e-") != std::string_view::npos || body.find("E-") != std::string_view::npos;
    const double magnitude = tiny ? 0.0 : HUGE_VAL;
    return Variant(negative ? -magnitude : magnitude);
  }
  if (ec != std::errc() || end != last) return std::nullopt;
  return Variant(value);
}

}  // namespace

std::optional<Variant> ParseCriteriaLiteral(std::string_view criteria) {
  if (criteria.find('\0') != std::string_view::npos) return std::nullopt;
  while (!criteria.empty() && IsBlank(criteria.front())) criteria.remove_prefix(1);
  while (!criteria.empty() && IsBlank(criteria.back())) criteria.remove_suffix(1);
  if (criteria.empty()) return std::nullopt;
  if (EqualsWord(criteria, "NULL")) return Variant::Null();
  if (EqualsWord(criteria, "TRUE")) return Variant(int32_t{1});
  if (EqualsWord(criteria, "FALSE")) return Variant(int32_t{0});
  if (criteria.front() == '\'') return QuotedString(criteria);
  return Number(criteria);
}

}  // namespace prvdrinfo::filters
