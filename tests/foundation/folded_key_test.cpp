// Keys are hashed a word at a time, the last few bytes loaded in pieces: every byte of a
// key of any length must count, and case must not.
#include "foundation/folded_key.h"

#include <gtest/gtest.h>

#include <string>

namespace prvdrinfo {
namespace {

TEST(FoldedKey, EveryByteOfAKeyOfAnyLengthCountsAndCaseDoesNot) {
  for (size_t length = 1; length <= 25; ++length) {
    std::string key;
    for (size_t i = 0; i < length; ++i) key += static_cast<char>('a' + i);
    std::string upper = key;
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    EXPECT_EQ(folded_key::Hash(key), folded_key::Hash(upper)) << key;
    for (size_t i = 0; i < length; ++i) {
      std::string changed = key;
      changed[i] = '_';
      EXPECT_NE(folded_key::Hash(key), folded_key::Hash(changed)) << changed;
      EXPECT_FALSE(folded_key::Same(key, changed)) << changed;
    }
    // A zero byte added at the end is a byte too, not the padding of the last word.
    EXPECT_NE(folded_key::Hash(key), folded_key::Hash(key + std::string(1, '\0'))) << key;
  }
}

TEST(FoldedKey, AsciiHashIsTheHashAndOtherKeysHaveNone) {
  for (const char* key : {"", "Guid", "DefaultAggregateType", "LinkedProviderGuidColumnGuid"}) {
    uint64_t hash = 0;
    ASSERT_TRUE(folded_key::HashIfAscii(key, hash)) << key;
    EXPECT_EQ(hash, folded_key::Hash(key)) << key;
  }
  uint64_t hash = 0;
  EXPECT_FALSE(
      folded_key::HashIfAscii("Stra\xC3\x9F"
                              "e",
                              hash));
  // The Kelvin sign folds to k: the key hashes as its ASCII folding does.
  EXPECT_EQ(folded_key::Hash("\xE2\x84\xAA"
                             "ey"),
            folded_key::Hash("KEY"));
}

}  // namespace
}  // namespace prvdrinfo
