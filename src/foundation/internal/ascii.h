#pragma once

#include <cstddef>
#include <string_view>

// Letter case in ASCII only, for names the library compares as the database does (SQL
// keywords, table and column names) and for fixed words. Text a user reads or keys that
// follow the collection rules go through unicode::FoldCase instead.
namespace prvdrinfo::ascii {

constexpr char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal but for the case of the ASCII letters; other bytes must match exactly.
constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace prvdrinfo::ascii
