#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "foundation/stored_document.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo {

// Loads that read stored bytes where they stand (stored_document.h).
struct BagInPlace {
  // A bag that reads the map in place; it must not outlive the map's bytes.
  static PropertyBag Reading(const StoredMap& map) { return PropertyBag(map); }
  // The byte array stored under key, where it stands; false when the key holds anything
  // else or nothing (ReadBytes then says what it reads as).
  static bool StoredByteArray(const PropertyBag& bag, std::string_view key,
                              std::span<const uint8_t>& bytes);
};

// A new instance of the stored object's class, loaded from its map in place.
std::shared_ptr<IPersistable> RestoreStoredObject(const StoredMap& map);

}  // namespace prvdrinfo
