#pragma once

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo::testing {

// The keys of serialized bytes, in stored order.
std::vector<std::string> KeysOf(const Bytes& bytes);
std::vector<std::string> KeysOf(const PropertyBag& bag);

// The bag that serialized bytes decode to.
PropertyBag BagOf(const Bytes& bytes);

// A copy of the bag without the named entries, in the same order.
PropertyBag Without(const PropertyBag& bag, const std::vector<std::string>& keys);

// Bytes taken as 16-bit code units, little-endian pairs.
std::u16string UnitsOf(const Bytes& bytes);

}  // namespace prvdrinfo::testing
