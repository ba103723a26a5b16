#include "prvdrinfo/services/string_builder.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/utf16_text.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

// A text of 2^31 code units: mapped, never touched, one unit too long for any builder.
class HugeText {
 public:
  HugeText() {
    mapped_ = mmap(nullptr, kBytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  }
  ~HugeText() {
    if (mapped_ != MAP_FAILED) munmap(mapped_, kBytes);
  }
  bool ok() const { return mapped_ != MAP_FAILED; }
  std::u16string_view view() const { return {static_cast<const char16_t*>(mapped_), kUnits}; }

 private:
  static constexpr size_t kUnits = size_t{1} << 31;
  static constexpr size_t kBytes = kUnits * 2;
  void* mapped_;
};

void ExpectOverflow(const std::function<void()>& action) {
  const CError e = testing::ErrorOf(action);
  EXPECT_EQ(e.Number(), err::kOverflow) << e.Report();
}

TEST(StockStringBuilderTest, PiecesWordsAndLines) {
  using Step = std::function<void(CStringBuilder&)>;
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::string text;
    int32_t pieces;
  } cases[] = {
      {"empty", {}, "", 0},
      {"word at the start has no space",
       {[](CStringBuilder& b) { b.AppendWord("SELECT"); },
        [](CStringBuilder& b) { b.AppendWord("x"); }},
       "SELECT x",
       2},
      {"words follow literals with one space, even after a space",
       {[](CStringBuilder& b) { b.Append("CREATE TABLE IF NOT EXISTS"); },
        [](CStringBuilder& b) { b.AppendWord("\"Tasks\""); },
        [](CStringBuilder& b) { b.Append("("); },
        [](CStringBuilder& b) { b.AppendWord("\"rec_guid\""); },
        [](CStringBuilder& b) { b.AppendWord("TEXT"); }, [](CStringBuilder& b) { b.Append(", "); },
        [](CStringBuilder& b) { b.AppendWord("\"hidden\""); }},
       "CREATE TABLE IF NOT EXISTS \"Tasks\"( \"rec_guid\" TEXT,  \"hidden\"",
       7},
      {"remove last piece takes a trailing literal back",
       {[](CStringBuilder& b) { b.AppendWord("\"a\""); }, [](CStringBuilder& b) { b.Append(", "); },
        [](CStringBuilder& b) { b.AppendWord("\"b\""); }, [](CStringBuilder& b) { b.Append(", "); },
        [](CStringBuilder& b) { EXPECT_TRUE(b.RemoveLastPiece()); },
        [](CStringBuilder& b) { b.Append(")"); }},
       "\"a\",  \"b\")",
       4},
      {"a word's space goes with it",
       {[](CStringBuilder& b) { b.Append("a"); }, [](CStringBuilder& b) { b.AppendWord("b"); },
        [](CStringBuilder& b) { b.RemoveLastPiece(); }},
       "a",
       1},
      {"after removing everything a word starts without space",
       {[](CStringBuilder& b) { b.Append("a"); }, [](CStringBuilder& b) { b.RemoveLastPiece(); },
        [](CStringBuilder& b) { EXPECT_FALSE(b.RemoveLastPiece()); },
        [](CStringBuilder& b) { b.AppendWord("b"); }},
       "b",
       1},
      {"lines",
       {[](CStringBuilder& b) { b.AppendLine("one;"); }, [](CStringBuilder& b) { b.AppendLine(); },
        [](CStringBuilder& b) { b.AppendLine(u"two"); },
        [](CStringBuilder& b) { b.RemoveLastPiece(); }},
       "one;\n\n",
       2},
      {"an empty append is a piece of its own",
       {[](CStringBuilder& b) { b.Append("x"); }, [](CStringBuilder& b) { b.Append(""); },
        [](CStringBuilder& b) { b.RemoveLastPiece(); }},
       "x",
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CStringBuilder b;
    for (const auto& step : c.steps) step(b);
    EXPECT_EQ(b.Text(), c.text);
    EXPECT_EQ(b.PieceCount(), c.pieces);
    EXPECT_EQ(b.Length(), static_cast<int32_t>(b.Text16().size()));
  }
}

TEST(StockStringBuilderTest, KeepsArbitraryCodeUnits) {
  CStringBuilder b;
  b.Append(u"\xd800\x0001");
  b.AppendWord("\xc3\xa9");
  EXPECT_EQ(b.Text16(), u"\xd800\x0001 \u00e9");
  EXPECT_EQ(b.Text(), "\xef\xbf\xbd\x01 \xc3\xa9");
  b.Clear();
  EXPECT_EQ(b.Text16(), u"");
  EXPECT_EQ(b.PieceCount(), 0);
  EXPECT_FALSE(b.RemoveLastPiece());
}

TEST(StockStringBuilderTest, FailedPieceLeavesBuilderUnchanged) {
  HugeText huge;
  ASSERT_TRUE(huge.ok());
  CStringBuilder b;
  b.Append("x");
  ExpectOverflow([&] { b.AppendWord(huge.view()); });
  ExpectOverflow([&] { b.AppendLine(huge.view()); });
  EXPECT_EQ(b.Text(), "x");
  EXPECT_EQ(b.PieceCount(), 1);
}

TEST(WrapperStringBuilderTest, AppendLineClearAndRelease) {
  StringBuilder b;
  b.Append("CREATE");
  b.AppendLine(u" a", u";");
  b.AppendLine("b");
  b.Append(u"c");
  EXPECT_EQ(b.Text(), "CREATE a;\r\nb\r\nc");
  EXPECT_EQ(b.Length(), 15);
  EXPECT_EQ(b.Release(), u"CREATE a;\r\nb\r\nc");
  EXPECT_EQ(b.Length(), 0);
  b.Append("again");
  b.Clear();
  EXPECT_EQ(b.Text16(), u"");
}

TEST(WrapperStringBuilderTest, FailedLineLeavesBuilderUnchanged) {
  HugeText huge;
  ASSERT_TRUE(huge.ok());
  StringBuilder b;
  b.Append("keep");
  ExpectOverflow([&] { b.AppendLine(u"abc", huge.view()); });
  ExpectOverflow([&] { b.Append(huge.view()); });
  EXPECT_EQ(b.Text(), "keep");
}

TEST(Utf16TextTest, RawBytesAreLittleEndianCodeUnits) {
  struct Case {
    std::vector<uint8_t> bytes;
    std::u16string expected;
  } cases[] = {
      {{}, u""},
      {{0x41, 0x00}, u"A"},
      {{0x41, 0x00, 0x42, 0x00}, u"AB"},
      {{0x00, 0xD8}, u"\xd800"},
      {{0x34, 0x12, 0xFF, 0xFF}, u"\x1234\xffff"},
      // An odd last byte is a code unit of its own with a zero high byte.
      {{0x41, 0x00, 0x42}, u"AB"},
      {{0xFF}, u"\x00ff"},
  };
  for (const auto& c : cases) {
    Utf16Text t;
    t.Append(u"<");
    t.AppendRawBytes(c.bytes);
    EXPECT_EQ(t.Text16(), u"<" + c.expected);
  }
}

TEST(Utf16TextTest, LengthStaysWithin32Bits) {
  HugeText huge;
  ASSERT_TRUE(huge.ok());
  Utf16Text t;
  t.Append("abc");
  ExpectOverflow([&] { t.Append(huge.view()); });
  ExpectOverflow([&] { t.Append(huge.view().substr(0, (size_t{1} << 31) - 3)); });
  EXPECT_EQ(t.Text(), "abc");
}

}  // namespace
}  // namespace prvdrinfo
