#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// How CStringBuffer picks its growth step.
enum BufferSizingMethods : int32_t {
  SizingFixed = 0,     // the stored BufferBump
  SizingAdaptive = 1,  // SizingPercent of the current capacity
};

// A growable text buffer that objects append their content strings to, so that a long
// content string is built without re-allocating a string on every append.
//
// The text is kept as UTF-16 code units in a byte array. Length, character positions and
// Chars count UTF-16 code units; Capacity, EnsureCapacity and BufferBump count bytes.
// The capacity grows in whole steps (a quarter of the capacity by default).
//
// Range errors raise CError 80040200 hexadecimal; an empty text given to SetChars raises
// 5; a size beyond 2147483647 bytes raises 6 "Overflow" and running out of memory raises
// 7. A failed operation leaves the buffer unchanged. Invalid values given to the
// setters are ignored without an error.
class PRVDRINFO_API CStringBuffer {
 public:
  static constexpr int32_t kInitialCapacity = 8192;
  static constexpr int32_t kInitialBump = 2048;
  static constexpr int32_t kInitialPercent = 25;
  // The smallest growth step: a capacity of a few bytes would otherwise make the
  // adaptive step 0 and leave growth without a step.
  static constexpr int32_t kMinimumStep = 2;

  CStringBuffer();
  CStringBuffer(const CStringBuffer& other);
  CStringBuffer& operator=(const CStringBuffer& other);
  CStringBuffer(CStringBuffer&& other) noexcept;
  CStringBuffer& operator=(CStringBuffer&& other) noexcept;
  ~CStringBuffer();

  // The current growth step in bytes: the stored bump in SizingFixed mode, capacity x
  // SizingPercent / 100 (never below kMinimumStep) in SizingAdaptive mode.
  int32_t BufferBump() const;
  // Taken in SizingFixed mode only, and only when positive; an odd value is raised to
  // the next even number.
  void SetBufferBump(int32_t value);

  int32_t Capacity() const { return capacity_; }
  // Resizes to value rounded up to a whole growth step; values of 0 or less are ignored.
  // A capacity below the text held cuts the text.
  void SetCapacity(int32_t value);

  // The code unit at Position, as a one-unit string.
  std::u16string Chars(int32_t Position = 0) const;
  // Stores the first code unit of NewText at Position.
  void SetChars(int32_t Position, std::u16string_view NewText);
  void SetChars(int32_t Position, std::string_view NewText);  // UTF-8

  int32_t Length() const { return used_ / 2; }
  // Negative values are ignored. Growing the length exposes whatever the byte array
  // holds beyond the old text (zeros for bytes never written).
  void SetLength(int32_t value);

  BufferSizingMethods SizingMethod() const { return method_; }
  void SetSizingMethod(int32_t value);  // 0 or 1; anything else is ignored
  int32_t SizingPercent() const { return percent_; }
  void SetSizingPercent(int32_t value);  // 1 to 100; anything else is ignored

  void Append(std::u16string_view NewText);
  void Append(std::string_view NewText);  // UTF-8
  // Grows when NewVal exceeds the capacity; returns the capacity afterwards.
  int32_t EnsureCapacity(int32_t NewVal);
  // Inserts before the code unit at StartIndex (0 to Length inclusive).
  void Insert(int32_t StartIndex, std::u16string_view NewText);
  void Insert(int32_t StartIndex, std::string_view NewText);  // UTF-8
  // Removes from StartIndex to the end.
  void Remove(int32_t StartIndex);
  void Remove(int32_t StartIndex, int32_t CharCount);

  std::u16string ToString() const;
  // The text as UTF-8; unpaired surrogates become U+FFFD.
  std::string ToUtf8() const;

 private:
  void Grow(int64_t bytes);
  void AppendUnits(std::u16string_view units);
  void InsertUnits(int32_t startIndex, std::u16string_view units);

  void Swap(CStringBuffer& other) noexcept;

  // Arrays are not cleared when allocated: bytes from written_ up to the capacity were
  // never written and count as zeros, cleared only when SetLength brings them into view.
  // So an append-only buffer touches no more memory than its text.
  std::unique_ptr<uint8_t[]> text_;
  // Work area of Insert, created by the first Insert and from then on kept as large as
  // text_; buffers that are only appended to never carry it.
  std::unique_ptr<uint8_t[]> scratch_;
  int32_t used_ = 0;     // bytes of text held, always even
  int32_t written_ = 0;  // bytes of text_ that hold defined values; used_ <= written_
  int32_t capacity_ = kInitialCapacity;
  int32_t bump_ = kInitialBump;
  BufferSizingMethods method_ = SizingAdaptive;
  int32_t percent_ = kInitialPercent;
};

}  // namespace prvdrinfo
