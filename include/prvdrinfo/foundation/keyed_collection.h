#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The ordered collection with optional unique text keys on which most collections of
// the library stand. Keys compare without regard to case (Unicode case folding) when
// text comparison is on; an empty key means "no key". Positions are zero-based.
// Errors are the automation collection's: 457 duplicate key, 5 absent key, 9 position
// out of range.
class KeyedCollection : public IObject {
 public:
  // (true, 1, true): text comparison, compare mode 1 (text), unique keys.
  explicit KeyedCollection(bool textCompare = true, int32_t compareMode = 1, bool uniqueKeys = true);

  int32_t Count() const;

  void Add(const Variant& item, std::string_view key = {});
  // Inserts before / after the item at that position.
  void AddBefore(const Variant& item, std::string_view key, int32_t beforeIndex);
  void AddAfter(const Variant& item, std::string_view key, int32_t afterIndex);
  // Inserts after the item with that key (5 when absent).
  void AddAfterKey(const Variant& item, std::string_view key, std::string_view afterKey);

  Variant Item(std::string_view key) const;
  Variant ItemByIndex(int32_t index) const;
  std::string KeyByIndex(int32_t index) const;  // "" for an item without key
  bool Exists(std::string_view key) const;
  int32_t IndexOfKey(std::string_view key) const;  // -1 when absent

  void Remove(std::string_view key);
  void RemoveByIndex(int32_t index);
  void RemoveAll();

  // The collection as bytes: items with their keys, persistable objects with their class.
  Bytes Content() const;
  // Decodes first; bytes that cannot be decoded raise and leave the collection unchanged.
  void SetContent(const Bytes& content);

  class const_iterator;  // walks the items in order
  const_iterator begin() const;
  const_iterator end() const;

  // (declared by the implementation)
};

}  // namespace prvdrinfo
