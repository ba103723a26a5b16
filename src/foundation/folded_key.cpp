#include "foundation/folded_key.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/ascii.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo::folded_key {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

uint64_t Load(const char* data, size_t size) {
  uint64_t word = 0;
  if (size > 0) std::memcpy(&word, data, size);
  return word;
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
    if (Load(text.data() + i, 8) & kHighBits) return false;
  }
  return (Load(text.data() + i, text.size() - i) & kHighBits) == 0;
}

// Eight bytes at a time over the lower-cased text. False when the text is not ASCII.
bool HashAscii(std::string_view text, uint64_t& hash) {
  hash = text.size();
  uint64_t high = 0;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    const uint64_t word = Load(text.data() + i, 8);
    high |= word;
    hash = Mix(hash, LowerAscii(word));
  }
  if (i < text.size()) {
    const uint64_t word = Load(text.data() + i, text.size() - i);
    high |= word;
    hash = Mix(hash, LowerAscii(word));
  }
  return (high & kHighBits) == 0;
}

}  // namespace

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
  if (ascii::EqualsIgnoreCase(a, b)) return true;
  if (IsAscii(a) && IsAscii(b)) return false;
  return unicode::FoldCase(a) == unicode::FoldCase(b);
}

}  // namespace prvdrinfo::folded_key
