#pragma once

#include <memory>
#include <string_view>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo {

// A keyed collection kept under one key of a property bag: its Content as a byte array,
// written without a default.
PRVDRINFO_API void WriteKeyedCollection(PropertyBag& bag, std::string_view key,
                                        const KeyedCollection& collection);

// A new collection (case-insensitive unique keys) loaded from the byte array under the
// key. When that array is empty or absent, the older layout is read instead: a count
// under key + "Count", then for each index i the key text under key + "Key" + i ("" adds
// the item without key) and the item under key + "Item" + i, added in index order.
PRVDRINFO_API std::shared_ptr<KeyedCollection> ReadKeyedCollection(const PropertyBag& bag,
                                                                   std::string_view key);

}  // namespace prvdrinfo
