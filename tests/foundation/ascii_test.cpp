#include "foundation/internal/ascii.h"

#include <gtest/gtest.h>

namespace prvdrinfo {
namespace {

TEST(Ascii, OnlyAsciiLettersChangeCase) {
  struct Case {
    char in;
    char lower;
    char upper;
  };
  for (const Case& c : std::initializer_list<Case>{{'A', 'a', 'A'},
                                                   {'z', 'z', 'Z'},
                                                   {'@', '@', '@'},
                                                   {'[', '[', '['},
                                                   {'`', '`', '`'},
                                                   {'{', '{', '{'},
                                                   {'5', '5', '5'},
                                                   {'\xC3', '\xC3', '\xC3'}}) {
    EXPECT_EQ(ascii::Lower(c.in), c.lower) << c.in;
    EXPECT_EQ(ascii::Upper(c.in), c.upper) << c.in;
  }
}

TEST(Ascii, EqualsIgnoreCaseComparesAsciiLettersOnlyWithoutCase) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  };
  for (const Case& c : std::initializer_list<Case>{{"RowId", "ROWID", true},
                                                   {"values", "VALUES", true},
                                                   {"", "", true},
                                                   {"rowid", "rowi", false},
                                                   {"a_b", "A-B", false},
                                                   {"@", "`", false},  // neighbours of the letters
                                                   {"\xC3\xA9", "\xC3\x89", false}}) {  // é, É
    EXPECT_EQ(ascii::EqualsIgnoreCase(c.a, c.b), c.equal) << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace prvdrinfo
