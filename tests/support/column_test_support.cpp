#include <gtest/gtest.h>

#include "support/column_test_support.h"

namespace prvdrinfo::testing {

std::vector<std::string> KeysOf(const PropertyBag& bag) {
  std::vector<std::string> keys;
  for (const auto& entry : bag.Entries()) keys.push_back(entry.key);
  return keys;
}

std::vector<std::string> KeysOf(const Bytes& bytes) { return KeysOf(BagOf(bytes)); }

PropertyBag BagOf(const Bytes& bytes) {
  PropertyBag bag;
  bag.SetContents(bytes);
  return bag;
}

PropertyBag Without(const PropertyBag& bag, const std::vector<std::string>& keys) {
  PropertyBag copy;
  for (const auto& entry : bag.Entries()) {
    bool skip = false;
    for (const auto& key : keys) skip = skip || key == entry.key;
    if (!skip) copy.AppendDecoded(entry);
  }
  return copy;
}

std::u16string UnitsOf(const Bytes& bytes) {
  std::u16string units;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const unsigned high = i + 1 < bytes.size() ? bytes[i + 1] : 0u;
    units.push_back(static_cast<char16_t>(bytes[i] | (high << 8)));
  }
  return units;
}

}  // namespace prvdrinfo::testing
