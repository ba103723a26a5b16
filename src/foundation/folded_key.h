#pragma once

#include <cstdint>
#include <string_view>

// Bag keys compared without regard to case, without building the folded text: keys are
// almost always ASCII, and there folding is lower-casing. Other keys fold through ICU.
namespace prvdrinfo::folded_key {

// Equal for keys that fold alike; keys that hash alike may still differ (see Same).
uint64_t Hash(std::string_view key);
// Hash, for an ASCII key only: false (and no hash) for any other.
bool HashIfAscii(std::string_view key, uint64_t& hash);
bool Same(std::string_view a, std::string_view b);

}  // namespace prvdrinfo::folded_key
