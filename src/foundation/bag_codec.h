#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "foundation/stored_document.h"
#include "prvdrinfo/foundation/property_bag.h"

// The CBOR byte mapping of property bags and keyed-collection contents
// (docs/property-bag.md). The codec knows values and bytes only: live objects never reach
// it, they write themselves through a bag (persistable.cpp, bag_stream.h); what it encodes
// of an object is a stored one (NestedObject). Decoding never trusts its input: every
// failure is a CError numbered err::kInvalidBagContents and nothing is returned
// half-built. Decoding accepts only the form the encoder writes, so
// Encode(Decode(bytes)) == bytes for every input that decodes.
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

// Appends items of the mapping to a byte buffer, every head in its shortest form.
class Writer {
 public:
  explicit Writer(Bytes& out) : out_(out) {}
  Bytes& Out() { return out_; }

  void Unsigned(uint64_t value) { Head(0, value); }
  void Signed(int64_t value) {
    if (value >= 0) {
      Head(0, static_cast<uint64_t>(value));
    } else {
      Head(1, ~static_cast<uint64_t>(value));  // -1 - value, without overflow at INT64_MIN
    }
  }
  void Tag(uint64_t tag) { Head(6, tag); }
  void ArrayStart(size_t size) { Head(4, size); }
  void MapStart(size_t size) { Head(5, size); }
  void Boolean(bool value) { out_.push_back(value ? 0xF5 : 0xF4); }
  void Null() { out_.push_back(0xF6); }
  void Undefined() { out_.push_back(0xF7); }
  // Always the 8-byte form, bits unchanged (NaN payloads and -0 included).
  void Float64(double value);
  // Ill-formed UTF-8 is stored with U+FFFD in its place.
  void Text(std::string_view text);
  void ByteString(std::span<const uint8_t> bytes);

  // Text known to be valid UTF-8 (ASCII, say), stored without checking it again.
  void ValidText(std::string_view text);

  // The head of a major type with its argument, shortest form.
  void Head(uint8_t major, uint64_t value) {
    if (value < 24) {
      out_.push_back(static_cast<uint8_t>((uint64_t{major} << 5) | value));
    } else {
      LongHead(major, value);
    }
  }
  // The size of that head.
  static size_t HeadSize(uint64_t value);
  // That head into to (room for 9 bytes); returns its size.
  static size_t EncodeHead(uint8_t major, uint64_t value, uint8_t* to);

 private:
  void LongHead(uint8_t major, uint64_t value);
  // Appends size bytes left for the caller to fill.
  uint8_t* Grow(size_t size) {
    const size_t at = out_.size();
    out_.resize(at + size);
    return out_.data() + at;
  }

  Bytes& out_;
};

void WriteDocumentHead(Writer& w, const char* format);
// A value; an object only as Nothing (a null object). A live object raises 13 "Type
// mismatch": objects are not values, they write themselves.
void WriteValue(Writer& w, const Variant& value);
// What precedes a stored object's map of properties: its tag, the pair, its class name.
void WriteObjectHead(Writer& w, std::string_view className);
// A map of stored entries, nested objects included; depth: the level of the map (0 = the
// document's own). Objects nested deeper than PropertyBag::kMaxDepth raise 5.
void WriteEntries(Writer& w, const std::vector<PropertyBag::Entry>& entries, int depth);

// A bag's entries as a bag document, and back.
Bytes EncodeBag(const PropertyBag& bag);
PropertyBag DecodeBag(const Bytes& bytes);
// Exactly one map of properties (no document around it) at level depth, into a bag that
// holds nothing yet.
void DecodeMap(std::span<const uint8_t> map, int depth, PropertyBag& bag);

// A keyed collection's Content: its entries in order, each an optional key (empty = none)
// and a value or stored object, in the same value mapping as a bag's. Keys may repeat
// here: whether they must be unique is the collection's rule. Collections that hold live
// objects write their content themselves (KeyedCollection::Content).
Bytes EncodeKeyedItems(const std::vector<PropertyBag::Entry>& items);
std::vector<PropertyBag::Entry> DecodeKeyedItems(const Bytes& bytes);

// Documents read in place (stored_document.h): checked exactly as the decoders above
// check them, with the same failures, and indexed into doc (which holds nothing yet).
void IndexBag(std::span<const uint8_t> bytes, StoredDocument& doc);
void IndexKeyedItems(std::span<const uint8_t> bytes, StoredDocument& doc);
// The value an indexed entry holds (not a nested object), as the decoders give it.
Variant StoredValue(const StoredMap& map, const StoredEntry& entry);
// The text or byte string an indexed entry holds, where it stands; false for any other value.
bool StoredText(const StoredEntry& entry, std::string_view& text);
bool StoredByteString(const StoredEntry& entry, std::span<const uint8_t>& bytes);

// Texts are stored as valid UTF-8: ill-formed sequences become U+FFFD.
bool IsValidUtf8(std::string_view text);
std::string ValidUtf8(std::string_view text);

}  // namespace prvdrinfo::bag_codec
