#pragma once

#include <cstdint>
#include <vector>

#include "prvdrinfo/foundation/property_bag.h"

// The CBOR byte mapping of property bags and keyed-collection contents
// (docs/property-bag.md). Decoding never trusts its input: every failure is a CError
// numbered err::kInvalidBagContents and nothing is returned half-built. Decoding accepts
// only the form the encoder writes, so Encode(Decode(bytes)) == bytes for every input that
// decodes.
namespace prvdrinfo::bag_codec {

// Tags of the mapping. 55799 (self-describe) opens every document; 4 is the standard
// decimal fraction; the other three are private to this format.
inline constexpr uint64_t kTagSelfDescribe = 55799;
inline constexpr uint64_t kTagDecimalFraction = 4;
inline constexpr uint64_t kTagDate = 0x6400;     // 'd'
inline constexpr uint64_t kTagInteger = 0x6900;  // 'i'
inline constexpr uint64_t kTagObject = 0x6F00;   // 'o'
inline constexpr const char* kBagFormat = "prvdrinfo-bag";
inline constexpr const char* kItemsFormat = "prvdrinfo-items";
inline constexpr uint64_t kFormatVersion = 1;

Bytes EncodeBag(const PropertyBag& bag);
PropertyBag DecodeBag(const Bytes& bytes);

// A keyed collection's Content: its entries in order, each an optional key (empty = none)
// and a value or nested object, in the same value mapping as a bag's. Keys may repeat
// here: whether they must be unique is the collection's rule.
Bytes EncodeKeyedItems(const std::vector<PropertyBag::Entry>& items);
std::vector<PropertyBag::Entry> DecodeKeyedItems(const Bytes& bytes);

// Texts are stored as valid UTF-8: ill-formed sequences become U+FFFD.
bool IsValidUtf8(std::string_view text);
std::string ValidUtf8(std::string_view text);

}  // namespace prvdrinfo::bag_codec
