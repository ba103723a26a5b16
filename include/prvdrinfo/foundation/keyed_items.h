#pragma once

#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo {

// The entries of a keyed collection's Content exactly as they are stored, for code that
// shows stored bytes rather than loads them (KeyedCollection::SetContent loads them).
// Entries come in stored order, each with its key ("" for none; keys may repeat here)
// and its value; a nested object stays in its stored form (class name and properties)
// and no class is created, so unregistered classes read too. A property bag's Contents
// read the same way through PropertyBag::SetContents and Entries().
//
// Bytes that do not decode raise err::kInvalidBagContents, described "Invalid property
// bag contents: " and the reason; nothing is returned half-built.
PRVDRINFO_API std::vector<PropertyBag::Entry> ReadKeyedItems(const Bytes& content);

}  // namespace prvdrinfo
