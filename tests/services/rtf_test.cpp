#include "services/internal/rtf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo {
namespace {

using namespace std::string_literals;

bool IsValidUtf8(const std::string& text) {
  return unicode::ToUtf8(unicode::ToUtf16(text)) == text;
}

TEST(CRtf, RichTextGivesItsTextWithoutFormatting) {
  struct Case {
    const char* what;
    std::string rtf;
    std::string plain;
  } cases[] = {
      {"formatting and tables",
       R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs20 Hello \b bold\b0  world\par})",
       "Hello bold world\n"},
      {"what a rich edit control writes",
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang4105{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
       "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
       "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Line one\\par\r\nLine \\b two\\b0\\par\r\n}\r\n",
       "Line one\nLine two\n"},
      {"cp1252 bytes", R"({\rtf1\ansi Caf\'e9 \'80 \'93q\'94})", "Café € “q”"},
      {"document code page", R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})", "Привет"},
      {"font charsets switch the code page",
       R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;}{\f1\fnil\fcharset204 Arial CYR;}}\f0 A\f1\'c0{\f0\'c0}\'c0})",
       "AАÀА"},
      {"plain goes back to the default font",
       R"({\rtf1{\fonttbl{\f1\fcharset204 X;}}\f1\'c0\plain\'c0})", "АÀ"},
      {"double-byte pairs",
       R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'93\'fa\'96\'7b})", "日本"},
      {"unicode with fallbacks", R"({\rtf1 \u8364?\uc2\u233xx y\uc0\u8212 z})", "€é y—z"},
      {"fallback given as a hex byte", R"({\rtf1\uc1\u8220\'93quoted\u8221\'94})", "“quoted”"},
      {"surrogate pair", R"({\rtf1 \u-10179?\u-8704?})", "😀"},
      {"a group ends the fallback", R"({\rtf1\uc3{\u233}abc})", "éabc"},
      {"skipped destinations",
       R"({\rtf1{\*\generator Riched20;}{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}{\pict\wmetafile8 0102ab}{\*\unknown hidden}{\header H}{\footnote F}Text})",
       "Text"},
      {"field shows its result",
       R"({\rtf1{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}}})", "link"},
      {"list numbering is not text", R"({\rtf1{\pntext\f0 1.\tab}Item{\listtext 2.}})", "Item"},
      {"binary data is passed over", R"({\rtf1 a{\pict\bin4 }{}\}b})", "ab"},
      {"control symbols", R"({\rtf1 a\~b\-c\_d\\e\{f\}g})", "a\u00A0bc\u2011d\\e{f}g"},
      {"special characters",
       R"({\rtf1 a\tab b\line c\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\cell d\row})",
       "a\tb\nc—–•‘’“”\td\n"},
      {"escaped line break is a paragraph", "{\\rtf1 a\\\nb\\\r\nc}", "a\nb\nc"},
      {"raw line breaks are not text", "{\\rtf1 a\r\nb\nc}", "abc"},
      {"raw UTF-8 text", R"({\rtf1 Ünïcödé ⚙})", "Ünïcödé ⚙"},
      {"unmatched closing braces", R"({\rtf1 a}}}b)", "ab"},
      {"unclosed groups", R"({\rtf1 {{{a)", "a"},
      {"broken hex escapes", R"({\rtf1 a\'zzb\'4})", "azzb"},
      {"trailing backslash", "{\\rtf1 abc\\", "abc"},
      {"space after a parameter is the delimiter", R"({\rtf1\fs20  two spaces})", " two spaces"},
      {"minus not followed by a digit is text", R"({\rtf1 \b- x})", "- x"},
      {"upper-case hex", R"({\rtf1 \'C9})", "É"},
      {"no text at all", R"({\rtf1})", ""},
  };
  for (const auto& c : cases) {
    CRtf rtf;
    rtf.Load(c.rtf);
    EXPECT_TRUE(rtf.IsRtf()) << c.what;
    EXPECT_EQ(rtf.PlainText(), c.plain) << c.what;
    EXPECT_EQ(rtf.RtfText(), c.rtf) << c.what;
  }
}

TEST(CRtf, PlainTextBecomesAMinimalDocument) {
  CRtf rtf;
  rtf.Load("Hello");
  EXPECT_FALSE(rtf.IsRtf());
  EXPECT_EQ(rtf.PlainText(), "Hello");
  EXPECT_EQ(
      rtf.RtfText(),
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\f0 Hello}");

  struct Case {
    std::string plain;
    std::string body;  // what the document must contain
  } cases[] = {
      {"a\\b{c}", "a\\\\b\\{c\\}"},
      {"one\r\ntwo\nthree\rfour", "one\\par\ntwo\\par\nthree\\par\nfour"},
      {"é€😀", "\\u233?\\u8364?\\u-10179?\\u-8704?"},
      {"a\tb", "a\\tab b"},
      {std::string("nul\0bell\a", 9), "nul\\'00bell\\'07"},
  };
  for (const auto& c : cases) {
    const std::string document = CRtf::PlainToRtf(c.plain);
    EXPECT_NE(document.find(c.body), std::string::npos) << document;
  }
}

TEST(CRtf, PlainTextSurvivesTheRoundTrip) {
  const std::vector<std::string> texts = {
      "simple",
      "braces {and} back\\slashes\\",
      "lines\nand\nmore\n\n",
      "tabs\tand\tcontrol \x01\x1f characters",
      std::string("embedded \0 NUL", 14),
      "quotes ' \" and SQL '); DROP TABLE views; --",
      "Ünïcödé, 日本語, emoji 😀, and U+FFFF \uFFFF",
      " leading and trailing spaces ",
      "looks like a word: \\par \\u1234? {\\*\\x}",
  };
  for (const auto& text : texts) {
    const std::string document = CRtf::PlainToRtf(text);
    for (const char c : document)
      ASSERT_LT(static_cast<unsigned char>(c), 0x80u) << "RTF is 7-bit: " << document;
    EXPECT_TRUE(CRtf::LooksLikeRtf(document));
    EXPECT_EQ(CRtf::RtfToPlain(document), text);
  }
  // Line-break styles all come back as LF; ill-formed UTF-8 comes back as U+FFFD.
  EXPECT_EQ(CRtf::RtfToPlain(CRtf::PlainToRtf("a\r\nb\rc")), "a\nb\nc");
  EXPECT_EQ(CRtf::RtfToPlain(CRtf::PlainToRtf("bad \xff\xfe here")), "bad \uFFFD\uFFFD here");
}

TEST(CRtf, RichTextIsRecognisedOnlyByItsOpening) {
  struct Case {
    std::string text;
    bool rtf;
  } cases[] = {
      {"{\\rtf1 x}", true},  {"\xEF\xBB\xBF  \r\n{\\rtf1 x}", true},
      {"{\\rtf", true},      {"x{\\rtf1 x}", false},
      {"{\\RTF1 x}", false}, {"{rtf1 x}", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CRtf::LooksLikeRtf(c.text), c.rtf) << c.text;
}

TEST(CRtf, LoadingReplacesTheTextAndEmptyGivesEmptyForms) {
  CRtf rtf;
  EXPECT_EQ(rtf.RtfText(), "");
  EXPECT_EQ(rtf.PlainText(), "");
  rtf.Load(R"({\rtf1 rich})");
  EXPECT_EQ(rtf.PlainText(), "rich");
  rtf.Load("plain");
  EXPECT_EQ(rtf.PlainText(), "plain");
  EXPECT_NE(rtf.RtfText().find("plain}"), std::string::npos);
  rtf.Load("");
  EXPECT_FALSE(rtf.IsRtf());
  EXPECT_EQ(rtf.RtfText(), "");
  EXPECT_EQ(rtf.PlainText(), "");
}

TEST(CRtf, HostileRichTextNeitherCrashesNorLeaksHiddenText) {
  const size_t depth = 200000;
  struct Case {
    const char* what;
    std::string rtf;
    std::string plain;
  } cases[] = {
      {"nesting real documents use",
       "{\\rtf1 a" + std::string(200, '{') + "x" + std::string(200, '}') + "b}", "axb"},
      {"very deep nesting",
       "{\\rtf1 a" + std::string(depth, '{') + "deep" + std::string(depth, '}') + "b}", "ab"},
      {"deep nesting that never closes", "{\\rtf1 a" + std::string(depth, '{') + "x", "a"},
      {"a destination beyond the kept depth does not leak",
       "{\\rtf1 a" + std::string(300, '{') + "{\\*\\x y}" + std::string(300, '}') + "b}", "ab"},
      {"only closing braces", std::string("{\\rtf1 ") + std::string(depth, '}') + "z", "z"},
      {"huge parameters", R"({\rtf1\fs99999999999999999999999 x\uc99999999999 \u65 y})", "xA"},
      {"huge negative binary length", R"({\rtf1 a\bin-5 b})", "ab"},
      {"binary length beyond the end", R"({\rtf1 a\bin999999 b})", "a"},
      {"embedded NUL and bad UTF-8", "{\\rtf1 a\0b\xff\xc3}"s, "a\0b\uFFFD\uFFFD"s},
      {"a control word longer than any real one", "{\\rtf1 \\" + std::string(100000, 'q') + " x}",
       "x"},
      {"many hex bytes",
       "{\\rtf1 " +
           [] {
             std::string s;
             for (int i = 0; i < 50000; ++i) s += "\\'41";
             return s;
           }() +
           "}",
       std::string(50000, 'A')},
  };
  for (const auto& c : cases) {
    const std::string plain = CRtf::RtfToPlain(c.rtf);
    EXPECT_EQ(plain, c.plain) << c.what;
    EXPECT_TRUE(IsValidUtf8(plain)) << c.what;
  }

  // Large documents both ways.
  std::string big;
  for (int i = 0; i < 200000; ++i) big += "line {" + std::to_string(i) + "} é\n";
  EXPECT_EQ(CRtf::RtfToPlain(CRtf::PlainToRtf(big)), big);
}

}  // namespace
}  // namespace prvdrinfo
