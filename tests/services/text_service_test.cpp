#include "prvdrinfo/services/text_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

using namespace std::string_literals;

bool IsWellFormedUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07u;
    } else {
      return false;
    }
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3Fu);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n + 1;
  }
  return true;
}

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

TEST(TextServiceCaption, CleansAsDocumented) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"View", "View"},
      {"  View   2 ", "View 2"},
      {"A\tB\nC\r\nD", "A B C D"},
      {"A\xC2\xA0\xE2\x80\x83"
       "B",
       "A B"},  // NBSP, EM SPACE
      {"A\xE3\x80\x80"
       "B",
       "A B"},  // ideographic space
      {"A\x01"
       "B\x7F",
       "AB"},                                    // controls go
      {"A\0B"s, "AB"},                           // so does NUL
      {"A \x01 B", "A B"},                       // removed control joins the spaces
      {"e\xCC\x81", "\xC3\xA9"},                 // e + acute composes to é
      {"e\x01\xCC\x81", "\xC3\xA9"},             // also across a removed control
      {"\xE2\x80\x8BName\xEF\xBB\xBF", "Name"},  // ZWSP and BOM trimmed at the ends
      {" \xE2\x80\x8B a", "a"},
      {"a\xE2\x80\x8D"
       "b",
       "a\xE2\x80\x8D"
       "b"},  // inner ZWJ stays
      {"\"Quoted\" 'name'; --", "\"Quoted\" 'name'; --"},
      {"\xFF", kReplacement},
      {"x\xC3", "x" + kReplacement},                                 // truncated sequence
      {"\xED\xA0\x80", kReplacement + kReplacement + kReplacement},  // encoded surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    const std::string cleaned = TextService::CleanCaption(c.in);
    EXPECT_EQ(cleaned, c.out);
    EXPECT_EQ(TextService::CleanText(c.in, 3), c.out);
    EXPECT_EQ(TextService::CleanCaption(cleaned), cleaned) << "clean-up is idempotent";
  }
}

TEST(TextServiceCaption, EmptinessIsWhatCleanUpReducesToNothing) {
  const std::string cases[] = {
      "",
      " ",
      "\t\r\n\v\f",
      "\xC2\xA0",
      "\xE3\x80\x80",
      "\xE2\x80\x8B",
      "\xEF\xBB\xBF",
      "\xC2\xAD",
      "\0"s,
      "\x01 \x7F",
      "\xC2\x85",
      " \xE2\x80\x8B\xE2\x80\x8D ",
      "a",
      " a ",
      "\xFF",
      "0",
      "_",
      "\xE2\x80\x8D"
      "a",
  };
  const size_t firstNonEmpty = 12;
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(TextService::IsEmpty(cases[i]), i < firstNonEmpty);
    EXPECT_EQ(TextService::IsEmpty(cases[i]), TextService::CleanCaption(cases[i]).empty());
  }
}

TEST(TextServiceCaption, ModeZeroOnlyRepairsAndOtherModesFail) {
  EXPECT_EQ(TextService::CleanText("  A\tb \xFF", 0), "  A\tb " + kReplacement);
  for (int32_t mode : {1, 2, 4, -1}) {
    const CError e = ErrorOf([&] { TextService::CleanText("x", mode); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), "Unknown clean-up mode: " + std::to_string(mode));
  }
}

TEST(TextServiceWhitespace, RemovesEveryWhiteSpaceCharacterAndNothingElse) {
  EXPECT_EQ(TextService::RemoveWhitespace(" a b\tc\xE3\x80\x80"
                                          "d\n\xC2\xA0"),
            "abcd");
  EXPECT_EQ(TextService::RemoveWhitespace("\x01x\xE2\x80\x8By"), "\x01x\xE2\x80\x8By");
  EXPECT_EQ(TextService::RemoveWhitespace(" \xFF "), kReplacement);
  EXPECT_EQ(TextService::RemoveWhitespace(" \t "), "");
}

TEST(TextServiceGuid, CleansValidAndBlankGuids) {
  const std::string canonical = "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9";
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9", canonical},
      {canonical, canonical},
      {"{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}", canonical},
      {" \t{ 0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9 }\n", canonical},
      {"0a1b2c3d4e5f60718293a4b5c6d7e8f9", canonical},
      {"\xEF\xBB\xBF"
       "0a1b2c3d4e5f60718293a4b5c6d7e8f9\0"s,
       canonical},
      {"", ""},
      {"   ", ""},
      {"{}", ""},
      {"{ \t }", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TextService::CleanGuid(c.in), c.out);
    EXPECT_EQ(TextService::IsGuid(c.in), !c.out.empty());
  }
}

TEST(TextServiceGuid, RejectsWhatIsNoGuid) {
  const std::string cases[] = {
      "xyz",
      "0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f",       // one digit short
      "0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f90",     // one too many
      "0a1b2c3d_4e5f-6071-8293-a4b5c6d7e8f9",      // wrong separator
      "0a1b2c3d4-e5f-6071-8293-a4b5c6d7e8f9",      // hyphen misplaced
      "0g1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9",      // not hex
      "{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9",     // unbalanced brace
      "{{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}}",  // braces twice
      "0a1b2c3d-4e5f-6071-8293-a4b5c6d7\0"
      "8f9"s,
      "\xEF\xBC\x90"
      "a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9",  // full-width zero
      "0a1b2c3d 4e5f 6071 8293 a4b5c6d7e8f9",
      "'; DROP TABLE views; --",
      "\xFF\xFE",
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c);
    EXPECT_FALSE(TextService::IsGuid(c));
    const CError e = ErrorOf([&] { TextService::CleanGuid(c); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description().rfind("Invalid GUID: \"", 0), 0u) << e.Description();
  }
  EXPECT_EQ(ErrorOf([] { TextService::CleanGuid("ab\0c\n"s); }).Description(),
            "Invalid GUID: \"ab\\x00c\\x0A\"");
}

// The keys are stored in the database: these exact bytes must never change.
TEST(TextServiceSortKey, SmartKeysAreFixed) {
  struct Case {
    std::string in;
    std::string key;
  } cases[] = {
      {"View 2", "view 112"},
      {"View 10", "view 1210"},
      {"VIEW 007", "view 117"},
      {"  View\t\t2 ", "view 112"},
      {"0", "110"},
      {"000", "110"},
      {"x1.5", "x111.115"},
      {"a-1", "a-111"},
      {"123456789012", "212123456789012"},
      {"Stra\xC3\x9F"
       "e",
       "strasse"},
      {"\xC3\x89"
       "COLE 2",
       "e\xCC\x81"
       "cole 112"},
      {"\xC4\xB0", "i\xCC\x87"},                                 // capital I with dot above
      {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x83"},  // ΣΑΣ -> σασ
      {"\xD9\xA1\xD9\xA2", "1212"},                              // Arabic-Indic 12
      {"1\xD9\xA2", "1212"},                                     // scripts mixed in one run
      {"\xEF\xBC\xB6\xEF\xBD\x89\xEF\xBD\x85\xEF\xBD\x97 \xEF\xBC\x93",
       "\xEF\xBD\x96\xEF\xBD\x89\xEF\xBD\x85\xEF\xBD\x97 113"},  // full-width "View 3"
      {"\xC2\xB2", "\xC2\xB2"},                                  // superscript two is no digit
      {"\xFF", kReplacement},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TextService::SmartSortKey(c.in), c.key);
    EXPECT_EQ(TextService::SortKey(c.in, 3, true), c.key);
  }
}

TEST(TextServiceSortKey, PlainKeysAreFixed) {
  struct Case {
    std::string in;
    int32_t mode;
    std::string key;
  } cases[] = {
      {"View 02", 0, "view 02"},
      {"  View   02 ", 0, "  view   02 "},
      {"  View   02 ", 3, "view 02"},
      {"A\tB\xC2\xA0"
       "C",
       0, "a b c"},
      {"A\x01"
       "B\0C"s,
       0, "abc"},
      {"Stra\xC3\x9F"
       "e",
       0, "strasse"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(TextService::SortKey(c.in, c.mode, false), c.key);
  }
  EXPECT_EQ(TextService::ComparisonForm("  VIEW  02 "), "view 02");
}

TEST(TextServiceSortKey, OrdersCaseInsensitivelyWithNumbersByValue) {
  const std::vector<std::string> expected = {
      "!bang",
      "9 items",
      "10 items",
      "Apple",
      "apple 2",
      "Apple 10",
      "apple pie",
      "\xC3\x84rger",
      "Eclair",
      "\xC3\x89"
      "clair",
      "Item 1",
      "item 1a",
      "Item 1B",
      "Item 2",
      "Item 10",
      "Item 100",
      "Zebra",
      "Z\xC3\xBCrich",
      "\xE6\x97\xA5\xE6\x9C\xAC 2",
      "\xE6\x97\xA5\xE6\x9C\xAC 10",
  };
  for (size_t i = 0; i + 1 < expected.size(); ++i) {
    SCOPED_TRACE(expected[i] + " < " + expected[i + 1]);
    EXPECT_LT(TextService::SmartSortKey(expected[i]), TextService::SmartSortKey(expected[i + 1]));
  }
  std::vector<std::string> shuffled = expected;
  std::mt19937 random(7);
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  std::sort(shuffled.begin(), shuffled.end(), [](const std::string& a, const std::string& b) {
    return TextService::CompareKeys(TextService::SmartSortKey(a), TextService::SmartSortKey(b)) < 0;
  });
  EXPECT_EQ(shuffled, expected);
}

TEST(TextServiceSortKey, EqualAndUnequalKeys) {
  const std::vector<std::vector<std::string>> equalGroups = {
      {"View 2", "view 02", " VIEW  2 ", "View\t002"},
      {"\xC3\xA9", "e\xCC\x81", "\xC3\x89"},  // é composed, decomposed, capital
      {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x82"},
      {"Stra\xC3\x9F"
       "e",
       "STRASSE"},
      {"Item \xD9\xA1\xD9\xA2", "item 12", "ITEM \xEF\xBC\x91\xEF\xBC\x92"},
      {"7", std::string(5000, '0') + "7"},
  };
  for (const auto& group : equalGroups) {
    for (const auto& text : group) {
      SCOPED_TRACE(text);
      EXPECT_EQ(TextService::SmartSortKey(text), TextService::SmartSortKey(group.front()));
    }
  }
  const std::pair<std::string, std::string> unequal[] = {
      {"e", "\xC3\xA9"}, {"View 2", "View 2a"}, {"a b", "ab"}, {"1.5", "15"}, {"i", "\xC4\xB1"},
  };
  for (const auto& [a, b] : unequal) {
    SCOPED_TRACE(a + " / " + b);
    EXPECT_NE(TextService::SmartSortKey(a), TextService::SmartSortKey(b));
  }
  EXPECT_EQ(TextService::SortKey("View 2", 0, false), TextService::SortKey("VIEW 2", 0, false));
  EXPECT_NE(TextService::SortKey("View 2", 0, false), TextService::SortKey("View 02", 0, false));
}

TEST(TextServiceSortKey, LongDigitRunsCompareByValue) {
  const std::string tenThousandDigits = "1" + std::string(9999, '0');
  const std::string nines = std::string(9999, '9');
  const std::string longKey = TextService::SmartSortKey(tenThousandDigits);
  EXPECT_EQ(longKey, "510000" + tenThousandDigits);
  EXPECT_GT(longKey, TextService::SmartSortKey(nines));
  EXPECT_GT(TextService::SmartSortKey("a" + nines),
            TextService::SmartSortKey("a" + std::string(9999, '8')));
}

TEST(TextServiceSortKey, CompareKeysIsAntisymmetricAndModesAreChecked) {
  const std::string keys[] = {"", "a", "ab", "b", "\xC3\xA9"};
  for (const auto& a : keys) {
    for (const auto& b : keys) {
      EXPECT_EQ(TextService::CompareKeys(a, b), -TextService::CompareKeys(b, a));
      EXPECT_EQ(TextService::CompareKeys(a, b) == 0, a == b);
    }
  }
  EXPECT_EQ(TextService::CompareKeys("a", "\xC3\xA9"), -1) << "bytes compare unsigned";
  const CError e = ErrorOf([] { TextService::SortKey("x", 1, true); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description(), "Unknown sort key mode: 1");
}

TEST(TextServiceBadInput, EveryServiceAnswersAnyText) {
  const std::vector<std::string> inputs = {
      "",
      "\0"s,
      "a\0b"s,
      "\xFF\xFE",
      "\xC0\xAF",          // overlong
      "\xED\xA0\x80",      // encoded surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xE2\x80",          // truncated
      "\"'`;--",
      std::string(1 << 18, 'x'),
      std::string(1 << 18, ' '),
      std::string(1 << 18, '5'),
      std::string(1 << 18, '\xFF'),
  };
  for (const auto& in : inputs) {
    SCOPED_TRACE(TextService::Excerpt(in));
    std::vector<std::string> results = {
        TextService::CleanText(in, 0),     TextService::CleanCaption(in),
        TextService::RemoveWhitespace(in), TextService::SortKey(in, 0, false),
        TextService::SortKey(in, 3, true), TextService::ComparisonForm(in),
        TextService::Excerpt(in),
    };
    (void)TextService::IsEmpty(in);
    try {
      results.push_back(TextService::CleanGuid(in));
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), 5);
    }
    for (const auto& r : results) EXPECT_TRUE(IsWellFormedUtf8(r));
    EXPECT_EQ(TextService::CleanCaption(in).find('\0'), std::string::npos);
    EXPECT_EQ(TextService::SmartSortKey(in).find('\0'), std::string::npos);
  }
}

TEST(TextServiceBadInput, TextBeyondTheLimitIsAClearError) {
  const std::string tooLong(TextService::kMaxTextBytes + 1, 'a');
  const std::vector<std::function<void()>> calls = {
      [&] { TextService::IsEmpty(tooLong); },          [&] { TextService::CleanCaption(tooLong); },
      [&] { TextService::RemoveWhitespace(tooLong); }, [&] { TextService::CleanGuid(tooLong); },
      [&] { TextService::IsGuid(tooLong); },           [&] { TextService::SmartSortKey(tooLong); },
  };
  for (const auto& call : calls) {
    const CError e = ErrorOf(call);
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), "Text is too long: 16777217 bytes; the limit is 16777216.");
  }
  EXPECT_EQ(TextService::Excerpt(tooLong, 3), "aaa...");
}

TEST(TextServiceExcerpt, ShortensAndShowsControls) {
  EXPECT_EQ(TextService::Excerpt("abc"), "abc");
  EXPECT_EQ(TextService::Excerpt("abcdef", 4), "abcd...");
  EXPECT_EQ(TextService::Excerpt("a\tb\x7F\xC2\x85", 10), "a\\x09b\\x7F\\u0085");
  EXPECT_EQ(TextService::Excerpt("\xC3\xA9\xFF", 10), "\xC3\xA9" + kReplacement);
}

}  // namespace
}  // namespace prvdrinfo
