#include "foundation/folded_key.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/internal/ascii.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo::folded_key {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

uint64_t Load8(const char* data) {
  uint64_t word;
  std::memcpy(&word, data, 8);
  return word;
}

uint32_t Load4(const char* data) {
  uint32_t word;
  std::memcpy(&word, data, 4);
  return word;
}

// The first size (< 8) bytes as a word padded with zeros. Fixed-size loads that may
// overlap, since a copy of variable size goes through memcpy and stalls the load after it.
uint64_t LoadShort(const char* data, size_t size) {
  const auto byte = [&](size_t i) {
    return uint64_t{static_cast<unsigned char>(data[i])} << (8 * i);
  };
  if (size >= 4) return Load4(data) | (uint64_t{Load4(data + size - 4)} << (8 * (size - 4)));
  if (size == 0) return 0;
  return byte(0) | byte(size / 2) | byte(size - 1);
}

// The size bytes at data (1 to 8) as a word padded with zeros. whole8: the text these
// bytes end is at least eight bytes long, so its last eight can be loaded at once.
uint64_t LoadTail(const char* data, size_t size, bool whole8) {
  if (whole8) return Load8(data + size - 8) >> (8 * (8 - size));
  return LoadShort(data, size);
}

uint64_t Load(const char* data, size_t size) {
  return size == 8 ? Load8(data) : LoadShort(data, size);
}

// ASCII letters of eight bytes lower-cased at once; every byte is below 0x80.
uint64_t LowerAscii(uint64_t word) {
  const uint64_t aboveA = word + 0x3F3F3F3F3F3F3F3Full;  // high bit set from 'A' on
  const uint64_t aboveZ = word + 0x2525252525252525ull;  // high bit set past 'Z'
  return word | (((aboveA & ~aboveZ) & kHighBits) >> 2);
}

uint64_t Mix(uint64_t hash, uint64_t word) {
  hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
  return hash ^ (hash >> 29);
}

bool IsAscii(std::string_view text) {
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    if (Load8(text.data() + i) & kHighBits) return false;
  }
  if (i == text.size()) return true;
  return (LoadTail(text.data() + i, text.size() - i, text.size() >= 8) & kHighBits) == 0;
}

// Eight bytes at a time over the lower-cased text. False when the text is not ASCII.
bool HashAscii(std::string_view text, uint64_t& hash) {
  hash = text.size();
  uint64_t high = 0;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    const uint64_t word = Load8(text.data() + i);
    high |= word;
    hash = Mix(hash, LowerAscii(word));
  }
  if (i < text.size()) {
    const uint64_t word = LoadTail(text.data() + i, text.size() - i, text.size() >= 8);
    high |= word;
    hash = Mix(hash, LowerAscii(word));
  }
  return (high & kHighBits) == 0;
}

}  // namespace

bool HashIfAscii(std::string_view key, uint64_t& hash) { return HashAscii(key, hash); }

uint64_t Hash(std::string_view key) {
  uint64_t hash = 0;
  if (HashAscii(key, hash)) return hash;
  // Folding may turn other letters into ASCII ones (the Kelvin sign into k): the folded
  // text is hashed the same way, so equal folded keys hash alike.
  const std::string folded = unicode::FoldCase(key);
  if (HashAscii(folded, hash)) return hash;
  hash = folded.size() ^ 0x5555555555555555ull;
  for (size_t i = 0; i < folded.size(); i += 8) {
    hash = Mix(hash, Load(folded.data() + i, std::min<size_t>(8, folded.size() - i)));
  }
  return hash;
}

bool Same(std::string_view a, std::string_view b) {
  // Equal but for ASCII letters' case means equal when folded, whatever else they hold.
  if (a == b || ascii::EqualsIgnoreCase(a, b)) return true;
  if (IsAscii(a) && IsAscii(b)) return false;
  return unicode::FoldCase(a) == unicode::FoldCase(b);
}

}  // namespace prvdrinfo::folded_key
