#pragma once

#include <vector>

#include "prvdrinfo/foundation/property_bag.h"

// The CBOR byte mapping of property bags and keyed-collection contents
// (docs/property-bag.md). Decoding never trusts its input: every failure is a CError and
// nothing is returned half-built.
namespace prvdrinfo::bag_codec {

Bytes EncodeBag(const PropertyBag& bag);
PropertyBag DecodeBag(const Bytes& bytes);

// A keyed collection's Content: its entries in order, each an optional key (empty = none)
// and a value or nested object, in the same value mapping as a bag's.
Bytes EncodeKeyedItems(const std::vector<PropertyBag::Entry>& items);
std::vector<PropertyBag::Entry> DecodeKeyedItems(const Bytes& bytes);

}  // namespace prvdrinfo::bag_codec
