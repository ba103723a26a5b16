#include "prvdrinfo/services/string_buffer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

constexpr int32_t kRangeError = static_cast<int32_t>(0x80040200u);

struct Snapshot {
  std::u16string text;
  int32_t length, capacity, bump, percent;
  BufferSizingMethods method;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CStringBuffer& b) {
  return {b.ToString(),   b.Length(),        b.Capacity(),
          b.BufferBump(), b.SizingPercent(), b.SizingMethod()};
}

// Runs the action, expects a CError with that number, and that the buffer is unchanged.
CError ExpectFailureWithoutChange(CStringBuffer& buffer, const std::function<void()>& action,
                                  int32_t number) {
  const Snapshot before = Take(buffer);
  CError e = testing::ErrorOf(action);
  EXPECT_EQ(e.Number(), number) << e.Report();
  EXPECT_EQ(Take(buffer), before);
  return e;
}

TEST(StringBufferTest, NewBufferState) {
  CStringBuffer b;
  EXPECT_EQ(b.Length(), 0);
  EXPECT_EQ(b.Capacity(), 8192);
  EXPECT_EQ(b.BufferBump(), 2048);
  EXPECT_EQ(b.SizingMethod(), SizingAdaptive);
  EXPECT_EQ(b.SizingPercent(), 25);
  EXPECT_EQ(b.ToString(), u"");
  EXPECT_EQ(b.ToUtf8(), "");
}

TEST(StringBufferTest, GrowsInWholeSteps) {
  CStringBuffer b;
  b.Append(std::u16string(5000, u'x'));  // 10000 bytes
  EXPECT_EQ(b.Capacity(), 10240);        // 10000 rounded up to 5 x 2048
  EXPECT_EQ(b.BufferBump(), 2560);       // a quarter of the new capacity
  EXPECT_EQ(b.Length(), 5000);
  EXPECT_EQ(b.ToString(), std::u16string(5000, u'x'));

  // The step in force when the capacity was set is the one it is a multiple of.
  b.Append(std::u16string(200, u'y'));  // 10400 bytes
  EXPECT_EQ(b.Capacity(), 12800);
  EXPECT_EQ(b.ToString(), std::u16string(5000, u'x') + std::u16string(200, u'y'));
}

TEST(StringBufferTest, ManyAppendsKeepEveryPiece) {
  CStringBuffer b;
  std::u16string expected;
  for (int i = 0; i < 3000; ++i) {
    const std::u16string piece = (i % 3 == 0)   ? u"ab"
                                 : (i % 3 == 1) ? u"\u00e9\u4e2d"
                                                : u"\xd83d\xde00z";
    b.Append(piece);
    expected += piece;
  }
  EXPECT_EQ(b.ToString(), expected);
  EXPECT_EQ(b.Length(), static_cast<int32_t>(expected.size()));
}

TEST(StringBufferTest, Utf8ArgumentsCountUtf16Units) {
  CStringBuffer b;
  b.Append("a\xc3\xa9\xf0\x9f\x98\x80");  // a, e-acute, U+1F600 (a surrogate pair)
  EXPECT_EQ(b.Length(), 4);
  EXPECT_EQ(b.ToString(), u"a\u00e9\xd83d\xde00");
  b.Insert(1, "-");
  EXPECT_EQ(b.ToUtf8(), "a-\xc3\xa9\xf0\x9f\x98\x80");
  b.SetChars(0, "Z");
  EXPECT_EQ(b.Chars(0), u"Z");
  // A lone surrogate left by cutting a pair reads back as U+FFFD in UTF-8.
  b.SetLength(4);
  EXPECT_EQ(b.ToUtf8(), "Z-\xc3\xa9\xef\xbf\xbd");
}

TEST(StringBufferTest, BufferBumpRules) {
  CStringBuffer b;
  b.SetBufferBump(1000);  // adaptive: ignored
  EXPECT_EQ(b.BufferBump(), 2048);

  b.SetSizingMethod(SizingFixed);
  EXPECT_EQ(b.BufferBump(), 2048);  // the step stored by the last growth
  struct Case {
    int32_t set, expected;
  } cases[] = {{1001, 1002}, {64, 64}, {0, 64},
               {-5, 64},     {1, 2},   {std::numeric_limits<int32_t>::max(), 2}};
  for (const auto& c : cases) {
    b.SetBufferBump(c.set);
    EXPECT_EQ(b.BufferBump(), c.expected) << "set " << c.set;
  }

  b.SetBufferBump(1000);
  b.SetCapacity(2500);
  EXPECT_EQ(b.Capacity(), 3000);
}

TEST(StringBufferTest, InvalidSettingsAreIgnored) {
  CStringBuffer b;
  b.Append(u"abc");
  for (int32_t v : {0, 101, -1}) {
    b.SetSizingPercent(v);
    EXPECT_EQ(b.SizingPercent(), 25) << v;
  }
  b.SetSizingPercent(100);
  EXPECT_EQ(b.SizingPercent(), 100);
  b.SetSizingPercent(1);
  EXPECT_EQ(b.SizingPercent(), 1);

  for (int32_t v : {2, -1, 7}) {
    b.SetSizingMethod(v);
    EXPECT_EQ(b.SizingMethod(), SizingAdaptive) << v;
  }
  b.SetSizingMethod(0);
  EXPECT_EQ(b.SizingMethod(), SizingFixed);

  b.SetCapacity(0);
  b.SetCapacity(-100);
  b.SetLength(-1);
  EXPECT_EQ(b.Capacity(), 8192);
  EXPECT_EQ(b.ToString(), u"abc");
}

TEST(StringBufferTest, CapacityBelowTextCutsIt) {
  CStringBuffer b;
  b.SetSizingMethod(SizingFixed);
  b.SetBufferBump(4);
  b.Append(u"abcdefghij");
  b.SetCapacity(7);  // rounded to 8 bytes: four characters
  EXPECT_EQ(b.Capacity(), 8);
  EXPECT_EQ(b.ToString(), u"abcd");
  b.Append(u"XY");
  EXPECT_EQ(b.ToString(), u"abcdXY");
  EXPECT_EQ(b.Capacity(), 12);
}

TEST(StringBufferTest, OddCapacityNeverSplitsACodeUnit) {
  CStringBuffer b;
  b.Append(std::u16string(50, u'q'));  // 100 bytes
  b.SetSizingPercent(1);               // step 8192 x 1 % = 81 bytes
  b.SetCapacity(1);
  EXPECT_EQ(b.Capacity(), 81);
  EXPECT_EQ(b.Length(), 40);  // 80 of the 81 bytes
  b.Append(u"end");
  EXPECT_EQ(b.ToString(), std::u16string(40, u'q') + u"end");
}

TEST(StringBufferTest, TinyAdaptiveCapacityStillHasAStep) {
  CStringBuffer b;
  b.SetSizingPercent(1);
  b.SetCapacity(1);  // step 81
  ASSERT_EQ(b.Capacity(), 81);
  EXPECT_EQ(b.BufferBump(), CStringBuffer::kMinimumStep);  // 81 x 1 % computes to 0
  b.SetCapacity(5);
  EXPECT_EQ(b.Capacity(), 6);
  b.Append(u"hello world");
  EXPECT_EQ(b.ToString(), u"hello world");
}

TEST(StringBufferTest, EnsureCapacityOnlyGrows) {
  CStringBuffer b;
  EXPECT_EQ(b.EnsureCapacity(100), 8192);
  EXPECT_EQ(b.EnsureCapacity(-1), 8192);
  EXPECT_EQ(b.EnsureCapacity(8193), 10240);
  EXPECT_EQ(b.Capacity(), 10240);
}

TEST(StringBufferTest, LengthLet) {
  CStringBuffer b;
  b.Append(u"abcdef");
  b.SetLength(3);
  EXPECT_EQ(b.ToString(), u"abc");
  // The bytes beyond the length are still in the array and come back into view.
  b.SetLength(6);
  EXPECT_EQ(b.ToString(), u"abcdef");
  b.SetLength(8);
  EXPECT_EQ(b.ToString(), std::u16string(u"abcdef\0\0", 8));

  b.SetLength(5000);  // 10000 bytes: grows as if Capacity were set to 10000
  EXPECT_EQ(b.Capacity(), 10240);
  EXPECT_EQ(b.Length(), 5000);
  EXPECT_EQ(b.ToString().substr(0, 6), u"abcdef");
  b.SetLength(0);
  EXPECT_EQ(b.ToString(), u"");
  EXPECT_EQ(b.Capacity(), 10240);
}

TEST(StringBufferTest, Insert) {
  struct Case {
    std::u16string start;
    int32_t at;
    std::u16string text, expected;
  } cases[] = {
      {u"", 0, u"abc", u"abc"},
      {u"world", 0, u"hello ", u"hello world"},
      {u"held", 2, u"llo wor", u"hello world"},
      {u"abc", 3, u"def", u"abcdef"},  // at Length: as Append
      {u"abc", 1, u"", u"abc"},
  };
  for (const auto& c : cases) {
    CStringBuffer b;
    b.Append(c.start);
    b.Insert(c.at, c.text);
    EXPECT_EQ(b.ToString(), c.expected);
  }
}

TEST(StringBufferTest, InsertAcrossGrowthAndRepeatedSwaps) {
  CStringBuffer b;
  std::u16string expected;
  for (int i = 0; i < 2000; ++i) {
    const auto at = static_cast<int32_t>(expected.size() / 2);
    const std::u16string piece(3, static_cast<char16_t>(u'a' + i % 26));
    b.Insert(at, piece);
    expected.insert(static_cast<size_t>(at), piece);
  }
  EXPECT_EQ(b.ToString(), expected);
  EXPECT_GE(b.Capacity(), 12000);
  b.Append(u"!");
  EXPECT_EQ(b.ToString(), expected + u"!");
}

TEST(StringBufferTest, Remove) {
  struct Case {
    int32_t start, count;  // count -1: the one-argument form
    std::u16string expected;
  } cases[] = {
      {0, 11, u""},        {0, 0, u"hello world"}, {0, 6, u"world"},         {5, 6, u"hello"},
      {2, 3, u"he world"}, {5, -1, u"hello"},      {11, -1, u"hello world"}, {0, -1, u""},
  };
  for (const auto& c : cases) {
    CStringBuffer b;
    b.Append(u"hello world");
    if (c.count < 0) {
      b.Remove(c.start);
    } else {
      b.Remove(c.start, c.count);
    }
    EXPECT_EQ(b.ToString(), c.expected) << c.start << "," << c.count;
    EXPECT_EQ(b.Capacity(), 8192);
  }
}

TEST(StringBufferTest, RemoveAllKeepsCapacity) {
  CStringBuffer b;
  b.Append(std::u16string(5000, u'x'));
  b.Remove(0, b.Length());
  EXPECT_EQ(b.Length(), 0);
  EXPECT_EQ(b.ToString(), u"");
  EXPECT_EQ(b.Capacity(), 10240);
}

TEST(StringBufferTest, CharsGetAndLet) {
  CStringBuffer b;
  b.Append(u"abc");
  EXPECT_EQ(b.Chars(), u"a");
  EXPECT_EQ(b.Chars(2), u"c");
  b.SetChars(1, u"XYZ");  // only the first unit is taken
  EXPECT_EQ(b.ToString(), u"aXc");
  b.SetChars(2, u"\xd800");
  EXPECT_EQ(b.Chars(2), u"\xd800");
  EXPECT_EQ(b.Length(), 3);
}

TEST(StringBufferTest, ErrorsAndUnchangedBuffer) {
  struct Case {
    const char* name;
    std::function<void(CStringBuffer&)> action;
    int32_t number;
    const char* source;
    const char* description;
  } cases[] = {
      {"read at Length", [](CStringBuffer& b) { (void)b.Chars(5); }, kRangeError,
       "CStringBuffer.Chars", "Tried reading character past end of buffer."},
      {"read negative", [](CStringBuffer& b) { (void)b.Chars(-1); }, kRangeError,
       "CStringBuffer.Chars", "Tried reading character past end of buffer."},
      {"assign at Length", [](CStringBuffer& b) { b.SetChars(5, u"x"); }, kRangeError,
       "CStringBuffer.Chars", "Tried assigning character past end of buffer."},
      {"assign negative utf8", [](CStringBuffer& b) { b.SetChars(-1, "x"); }, kRangeError,
       "CStringBuffer.Chars", "Tried assigning character past end of buffer."},
      {"assign empty", [](CStringBuffer& b) { b.SetChars(0, u""); }, err::kInvalidProcedureCall,
       "CStringBuffer.Chars", "Invalid procedure call or argument"},
      {"insert past Length", [](CStringBuffer& b) { b.Insert(6, u"x"); }, kRangeError,
       "CStringBuffer.Insert", "Argument(s) out of range."},
      {"insert negative", [](CStringBuffer& b) { b.Insert(-1, "x"); }, kRangeError,
       "CStringBuffer.Insert", "Argument(s) out of range."},
      {"remove past end", [](CStringBuffer& b) { b.Remove(3, 3); }, kRangeError,
       "CStringBuffer.Remove", "Argument(s) out of range."},
      {"remove negative start", [](CStringBuffer& b) { b.Remove(-1, 1); }, kRangeError,
       "CStringBuffer.Remove", "Argument(s) out of range."},
      {"remove negative count", [](CStringBuffer& b) { b.Remove(0, -1); }, kRangeError,
       "CStringBuffer.Remove", "Argument(s) out of range."},
      {"remove sum overflows",
       [](CStringBuffer& b) { b.Remove(1, std::numeric_limits<int32_t>::max()); }, kRangeError,
       "CStringBuffer.Remove", "Argument(s) out of range."},
      {"remove to end past Length", [](CStringBuffer& b) { b.Remove(6); }, kRangeError,
       "CStringBuffer.Remove", "Argument(s) out of range."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CStringBuffer b;
    b.Append(u"hello");
    const CError e = ExpectFailureWithoutChange(
        b, [&] { c.action(b); }, c.number);
    EXPECT_EQ(e.Source(), c.source);
    EXPECT_EQ(e.Description(), c.description);
    EXPECT_FALSE(e.Locations().empty());
  }
}

TEST(StringBufferTest, ReadingCharsOfEmptyBufferFails) {
  CStringBuffer b;
  ExpectFailureWithoutChange(
      b, [&] { (void)b.Chars(); }, kRangeError);
}

// Sizes beyond 32-bit byte counts fail with 6 "Overflow" instead of wrapping around.
TEST(StringBufferTest, ByteCountsNeverWrapAround) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  CStringBuffer b;
  b.Append(u"keep");
  ExpectFailureWithoutChange(
      b, [&] { b.SetLength(0x40000000); }, err::kOverflow);
  ExpectFailureWithoutChange(
      b, [&] { b.SetLength(kMax); }, err::kOverflow);
  // 2147483646 bytes round up past the largest count with a 2048-byte step.
  ExpectFailureWithoutChange(
      b, [&] { b.SetLength(0x3FFFFFFF); }, err::kOverflow);
  ExpectFailureWithoutChange(
      b, [&] { b.EnsureCapacity(kMax); }, err::kOverflow);
  ExpectFailureWithoutChange(
      b, [&] { b.SetCapacity(kMax - 100); }, err::kOverflow);

  // A text of 2^30 code units (2^31 bytes), mapped but never touched.
  const size_t units = size_t{1} << 30;
  const size_t bytes = units * 2;
  void* mapped =
      mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  const std::u16string_view huge(static_cast<const char16_t*>(mapped), units);
  const std::string_view hugeUtf8(static_cast<const char*>(mapped), bytes);
  const CError e = ExpectFailureWithoutChange(
      b, [&] { b.Append(huge); }, err::kOverflow);
  EXPECT_EQ(e.Source(), "CStringBuffer.Append");
  EXPECT_FALSE(e.Context().empty());
  ExpectFailureWithoutChange(
      b, [&] { b.Insert(0, huge); }, err::kOverflow);
  ExpectFailureWithoutChange(
      b, [&] { b.Append(hugeUtf8); }, err::kOverflow);
  ExpectFailureWithoutChange(
      b, [&] { b.Insert(2, hugeUtf8); }, err::kOverflow);
  munmap(mapped, bytes);
  EXPECT_EQ(b.ToString(), u"keep");
}

TEST(StringBufferTest, CopiesAreIndependent) {
  CStringBuffer a;
  a.Append(u"one");
  a.SetLength(2);
  CStringBuffer b = a;
  b.Append(u"two");
  EXPECT_EQ(a.ToString(), u"on");
  EXPECT_EQ(b.ToString(), u"ontwo");
  a.SetLength(3);  // the copy did not disturb what lies beyond the length
  EXPECT_EQ(a.ToString(), u"one");
  b = a;
  EXPECT_EQ(b.ToString(), u"one");
  EXPECT_EQ(b.Capacity(), a.Capacity());
}

TEST(StringBufferTest, MovedFromBufferStartsOver) {
  CStringBuffer a;
  a.Append(u"text");
  a.Insert(0, u">");
  CStringBuffer b = std::move(a);
  EXPECT_EQ(b.ToString(), u">text");
  // NOLINTBEGIN(bugprone-use-after-move): a moved-from buffer stays usable
  EXPECT_EQ(a.Length(), 0);
  EXPECT_EQ(a.ToString(), u"");
  a.Remove(0, 0);
  a.Insert(0, u"");
  a.SetLength(0);
  a.Append(u"again");
  a.Insert(0, u"once ");
  EXPECT_EQ(a.ToString(), u"once again");
  CStringBuffer c = std::move(b);
  b.SetLength(3);
  EXPECT_EQ(b.ToString(), std::u16string(3, u'\0'));
  // NOLINTEND(bugprone-use-after-move)
  a = std::move(c);
  EXPECT_EQ(a.ToString(), u">text");
}

// Bytes never written read as zeros, however the array they lie in came about.
TEST(StringBufferTest, LengthExposesZerosBeyondWhatWasWritten) {
  CStringBuffer b;
  b.Append(u"abcdef");
  b.Remove(0, 3);
  b.Insert(0, u"x");  // the arrays swap; the new one holds only "xdef"
  b.SetLength(6);
  EXPECT_EQ(b.ToString(), std::u16string(u"xdef\0\0", 6));
  b.SetSizingMethod(SizingFixed);
  b.SetBufferBump(2);
  b.SetCapacity(6);  // cut to "xde"
  b.SetLength(3);
  b.SetCapacity(20);
  b.SetLength(10);
  EXPECT_EQ(b.ToString(), std::u16string(u"xde\0\0\0\0\0\0\0", 10));
}

}  // namespace
}  // namespace prvdrinfo
