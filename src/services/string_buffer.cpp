#include "prvdrinfo/services/string_buffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr int32_t kBufferRangeError = static_cast<int32_t>(0x80040200u);
constexpr int64_t kMaxBytes = std::numeric_limits<int32_t>::max();

// Byte counts are 32-bit; a request beyond that fails before anything is touched.
[[noreturn]] void RaiseTooLarge(const ErrorSite& site, int64_t bytes) {
  CError error(err::kOverflow, site.Source(), {});
  error.AddLocation(site.Id());
  error.AddContext("The buffer would need " + std::to_string(bytes) +
                   " bytes; it holds at most 2147483647.");
  throw error;
}

// Bytes of a text of that many code units, or a 6 "Overflow" from the site.
int64_t ByteCount(const ErrorSite& site, size_t units) {
  if (units > static_cast<size_t>(kMaxBytes / 2)) {
    RaiseTooLarge(site, units > static_cast<size_t>(std::numeric_limits<int64_t>::max() / 2)
                            ? std::numeric_limits<int64_t>::max()
                            : static_cast<int64_t>(units) * 2);
  }
  return static_cast<int64_t>(units) * 2;
}

// UTF-8 text longer than any buffer can hold is refused before it is converted.
std::u16string ToUnits(const ErrorSite& site, std::string_view utf8) {
  if (utf8.size() > static_cast<size_t>(kMaxBytes)) RaiseTooLarge(site, kMaxBytes + 1);
  return unicode::ToUtf16(utf8);
}

// memcpy and memmove want valid pointers even for no bytes; a moved-from buffer has none.
void CopyBytes(void* to, const void* from, size_t bytes) {
  if (bytes != 0) std::memcpy(to, from, bytes);
}
void MoveBytes(uint8_t* to, const uint8_t* from, size_t bytes) {
  if (bytes != 0) std::memmove(to, from, bytes);
}

std::unique_ptr<uint8_t[]> NewArray(int32_t bytes) {
  return std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(bytes));
}

}  // namespace

CStringBuffer::CStringBuffer() : text_(NewArray(kInitialCapacity)) {}

CStringBuffer::CStringBuffer(const CStringBuffer& other)
    : used_(other.used_),
      written_(other.written_),
      capacity_(other.capacity_),
      bump_(other.bump_),
      method_(other.method_),
      percent_(other.percent_) {
  static constexpr ErrorSite kSite{"E5Q1ZTUNP5SRWOH2YVVRFQ0PX", "CStringBuffer"};
  kSite.Guard([&] {
    text_ = NewArray(capacity_);
    CopyBytes(text_.get(), other.text_.get(), static_cast<size_t>(written_));
  });
}

CStringBuffer& CStringBuffer::operator=(const CStringBuffer& other) {
  if (this != &other) {
    CStringBuffer copy(other);
    Swap(copy);
  }
  return *this;
}

// The moved-from buffer is left empty with capacity 0; it grows again on first use.
CStringBuffer::CStringBuffer(CStringBuffer&& other) noexcept {
  capacity_ = 0;
  Swap(other);
}

CStringBuffer& CStringBuffer::operator=(CStringBuffer&& other) noexcept {
  Swap(other);
  return *this;
}

CStringBuffer::~CStringBuffer() = default;

void CStringBuffer::Swap(CStringBuffer& other) noexcept {
  std::swap(text_, other.text_);
  std::swap(scratch_, other.scratch_);
  std::swap(used_, other.used_);
  std::swap(written_, other.written_);
  std::swap(capacity_, other.capacity_);
  std::swap(bump_, other.bump_);
  std::swap(method_, other.method_);
  std::swap(percent_, other.percent_);
}

int32_t CStringBuffer::BufferBump() const {
  if (method_ == SizingFixed) return bump_;
  const int64_t step = int64_t{capacity_} * percent_ / 100;
  return static_cast<int32_t>(std::max<int64_t>(step, kMinimumStep));
}

void CStringBuffer::SetBufferBump(int32_t value) {
  if (method_ != SizingFixed || value <= 0) return;
  // INT32_MAX has no even successor in range: ignored like any other invalid value.
  if (value % 2 != 0) {
    if (value == std::numeric_limits<int32_t>::max()) return;
    ++value;
  }
  bump_ = value;
}

// The growth rule: the capacity becomes the byte count rounded up to a whole step, and
// that step is remembered as the bump. New arrays are built before anything is replaced,
// so a failure leaves the buffer as it was.
void CStringBuffer::Grow(int64_t bytes) {
  static constexpr ErrorSite kSite{"FOIS2UC14ARU6NHWDE650FUUB", "CStringBuffer"};
  kSite.Guard([&] {
    const int64_t step = BufferBump();
    const int64_t rounded = (bytes / step) * step + (bytes % step != 0 ? step : 0);
    if (rounded > kMaxBytes) RaiseTooLarge(kSite, rounded);
    const auto newCapacity = static_cast<int32_t>(rounded);

    if (newCapacity != capacity_) {
      auto text = NewArray(newCapacity);
      auto scratch = scratch_ ? NewArray(newCapacity) : nullptr;
      const int32_t kept = std::min(written_, newCapacity);
      CopyBytes(text.get(), text_.get(), static_cast<size_t>(kept));
      text_ = std::move(text);
      scratch_ = std::move(scratch);
      capacity_ = newCapacity;
      written_ = kept;
    }
    bump_ = static_cast<int32_t>(step);
    // An odd capacity (an adaptive step can be odd) must not split a code unit.
    if (used_ > capacity_) used_ = capacity_ & ~int32_t{1};
  });
}

void CStringBuffer::SetCapacity(int32_t value) {
  static constexpr ErrorSite kSite{"OQH1B903VL3YGPE0MBZ5YCW1Y", "CStringBuffer.Capacity"};
  kSite.Guard([&] {
    if (value > 0) Grow(value);
  });
}

std::u16string CStringBuffer::Chars(int32_t Position) const {
  static constexpr ErrorSite kSite{"YOQ1B5RT8LA0AO5VPTL7UTCME", "CStringBuffer.Chars"};
  return kSite.Guard([&] {
    if (Position < 0 || Position >= Length()) {
      kSite.Raise(kBufferRangeError, "Tried reading character past end of buffer.");
    }
    char16_t unit;
    std::memcpy(&unit, text_.get() + int64_t{Position} * 2, sizeof unit);
    return std::u16string(1, unit);
  });
}

void CStringBuffer::SetChars(int32_t Position, std::u16string_view NewText) {
  static constexpr ErrorSite kSite{"8SDVCFAFYK3PLEMYT50ORG76I", "CStringBuffer.Chars"};
  kSite.Guard([&] {
    if (Position < 0 || Position >= Length()) {
      kSite.Raise(kBufferRangeError, "Tried assigning character past end of buffer.");
    }
    if (NewText.empty()) kSite.Raise(err::kInvalidProcedureCall);
    std::memcpy(text_.get() + int64_t{Position} * 2, NewText.data(), sizeof(char16_t));
  });
}

void CStringBuffer::SetChars(int32_t Position, std::string_view NewText) {
  static constexpr ErrorSite kSite{"HJ11K9DLB8GTSBANEWN0LKOKE", "CStringBuffer.Chars"};
  kSite.Guard([&] { SetChars(Position, std::u16string_view(ToUnits(kSite, NewText))); });
}

void CStringBuffer::SetLength(int32_t value) {
  static constexpr ErrorSite kSite{"GAS7T5VTXEYZTELZ6W3PBO6IJ", "CStringBuffer.Length"};
  kSite.Guard([&] {
    if (value < 0) return;
    const int64_t bytes = ByteCount(kSite, static_cast<size_t>(value));
    if (bytes > capacity_) Grow(bytes);
    const auto newUsed = static_cast<int32_t>(bytes);
    if (newUsed > written_) {
      std::memset(text_.get() + written_, 0, static_cast<size_t>(newUsed - written_));
      written_ = newUsed;
    }
    used_ = newUsed;
  });
}

void CStringBuffer::SetSizingMethod(int32_t value) {
  if (value == SizingFixed || value == SizingAdaptive)
    method_ = static_cast<BufferSizingMethods>(value);
}

void CStringBuffer::SetSizingPercent(int32_t value) {
  if (value >= 1 && value <= 100) percent_ = value;
}

void CStringBuffer::AppendUnits(std::u16string_view units) {
  static constexpr ErrorSite kSite{"XW9WNG5NHV44HUBRX9TPU5R4Q", "CStringBuffer.Append"};
  kSite.Guard([&] {
    const int64_t bytes = ByteCount(kSite, units.size());
    if (bytes == 0) return;
    const int64_t needed = int64_t{used_} + bytes;
    if (needed > kMaxBytes) RaiseTooLarge(kSite, needed);
    if (needed > capacity_) Grow(needed);
    std::memcpy(text_.get() + used_, units.data(), static_cast<size_t>(bytes));
    used_ = static_cast<int32_t>(needed);
    written_ = std::max(written_, used_);
  });
}

void CStringBuffer::Append(std::u16string_view NewText) {
  static constexpr ErrorSite kSite{"ELUQ6653L5H13CUD69IV7KWEK", "CStringBuffer.Append"};
  kSite.Guard([&] { AppendUnits(NewText); });
}

void CStringBuffer::Append(std::string_view NewText) {
  static constexpr ErrorSite kSite{"C8PD4WIMA7BNWNT3HO6K1P65K", "CStringBuffer.Append"};
  kSite.Guard([&] { AppendUnits(ToUnits(kSite, NewText)); });
}

int32_t CStringBuffer::EnsureCapacity(int32_t NewVal) {
  static constexpr ErrorSite kSite{"ITNYYT76SRBSXHNU0IIGYUEGE", "CStringBuffer.EnsureCapacity"};
  return kSite.Guard([&] {
    if (NewVal > capacity_) Grow(NewVal);
    return capacity_;
  });
}

// Builds the new text in the scratch array and swaps the two, so an insert allocates
// only when the capacity has to grow.
void CStringBuffer::InsertUnits(int32_t startIndex, std::u16string_view units) {
  static constexpr ErrorSite kSite{"I16GU5B198DUCJEMCL1KRJYT7", "CStringBuffer.Insert"};
  kSite.Guard([&] {
    if (startIndex < 0 || startIndex > Length()) {
      kSite.Raise(kBufferRangeError, "Argument(s) out of range.");
    }
    const int64_t bytes = ByteCount(kSite, units.size());
    if (bytes == 0) return;
    const int64_t needed = int64_t{used_} + bytes;
    if (needed > kMaxBytes) RaiseTooLarge(kSite, needed);
    if (needed > capacity_) Grow(needed);
    if (!scratch_) scratch_ = NewArray(capacity_);

    const auto head = static_cast<size_t>(startIndex) * 2;
    const auto tail = static_cast<size_t>(used_) - head;
    CopyBytes(scratch_.get(), text_.get(), head);
    CopyBytes(scratch_.get() + head, units.data(), static_cast<size_t>(bytes));
    CopyBytes(scratch_.get() + head + static_cast<size_t>(bytes), text_.get() + head, tail);
    text_.swap(scratch_);
    used_ = static_cast<int32_t>(needed);
    written_ = used_;  // beyond the text the new array holds nothing defined
  });
}

void CStringBuffer::Insert(int32_t StartIndex, std::u16string_view NewText) {
  static constexpr ErrorSite kSite{"U9BOJ7FWYS8T29P25Z6FPTP46", "CStringBuffer.Insert"};
  kSite.Guard([&] { InsertUnits(StartIndex, NewText); });
}

void CStringBuffer::Insert(int32_t StartIndex, std::string_view NewText) {
  static constexpr ErrorSite kSite{"J0K4P9RW3R1TE1QP231ESUVUT", "CStringBuffer.Insert"};
  kSite.Guard([&] { InsertUnits(StartIndex, ToUnits(kSite, NewText)); });
}

void CStringBuffer::Remove(int32_t StartIndex) {
  static constexpr ErrorSite kSite{"GQ6PA7B63LS93QBRRXVCG9DK0", "CStringBuffer.Remove"};
  kSite.Guard([&] {
    if (StartIndex < 0 || StartIndex > Length()) {
      kSite.Raise(kBufferRangeError, "Argument(s) out of range.");
    }
    Remove(StartIndex, Length() - StartIndex);
  });
}

void CStringBuffer::Remove(int32_t StartIndex, int32_t CharCount) {
  static constexpr ErrorSite kSite{"TVG70PXDQ7DN8FAP9J9FNTATQ", "CStringBuffer.Remove"};
  kSite.Guard([&] {
    if (StartIndex < 0 || CharCount < 0 || int64_t{StartIndex} + CharCount > Length()) {
      kSite.Raise(kBufferRangeError, "Argument(s) out of range.");
    }
    const auto from = static_cast<size_t>(StartIndex) * 2;
    const auto removed = static_cast<size_t>(CharCount) * 2;
    MoveBytes(text_.get() + from, text_.get() + from + removed,
              static_cast<size_t>(used_) - from - removed);
    used_ -= CharCount * 2;
  });
}

std::u16string CStringBuffer::ToString() const {
  static constexpr ErrorSite kSite{"TO7AAA4J51SAOH85XENYXHTR2", "CStringBuffer.ToString"};
  return kSite.Guard([&] {
    std::u16string text(static_cast<size_t>(Length()), u'\0');
    CopyBytes(text.data(), text_.get(), static_cast<size_t>(used_));
    return text;
  });
}

std::string CStringBuffer::ToUtf8() const {
  static constexpr ErrorSite kSite{"K9DH1FOS4GL273CZPRW7R5MPJ", "CStringBuffer.ToUtf8"};
  return kSite.Guard([&] { return unicode::ToUtf8(ToString()); });
}

}  // namespace prvdrinfo
