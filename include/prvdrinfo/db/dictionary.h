#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// A set of items under unique keys compared without regard to case (Unicode case
// folding), such as the GUIDs already seen during one operation. Unlike KeyedCollection
// it keeps no order, and "" is a key like any other. Items are held by value (an object
// item by its shared_ptr). A failed call leaves the dictionary as it was.
class PRVDRINFO_API Dictionary {
 public:
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  bool Exists(std::string_view key) const;
  // A key already present raises 457 and leaves the dictionary as it was.
  void Add(std::string_view key, const Variant& item);
  // An absent key raises 5.
  Variant Item(std::string_view key) const;
  // An absent key raises 5.
  void Remove(std::string_view key);
  void RemoveAll() { entries_.clear(); }

 private:
  std::unordered_map<std::string, Variant> entries_;  // folded key -> item
};

}  // namespace prvdrinfo
