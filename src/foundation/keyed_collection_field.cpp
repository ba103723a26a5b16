#include "prvdrinfo/foundation/keyed_collection_field.h"

#include <string>

#include "foundation/bag_in_place.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kWrite{"ZYJ1INA2JJ7J7I2H4GZ2AT0KR", "WriteKeyedCollection"};
constexpr ErrorSite kRead{"U6G76XDGV69FSG4CRSJRQ8JJ6", "ReadKeyedCollection"};
}  // namespace

void WriteKeyedCollection(PropertyBag& bag, std::string_view key,
                          const KeyedCollection& collection) {
  kWrite.Guard([&] { bag.WriteProperty(key, Variant(collection.Content())); });
}

std::shared_ptr<KeyedCollection> ReadKeyedCollection(const PropertyBag& bag, std::string_view key) {
  return kRead.Guard([&] {
    auto collection = std::make_shared<KeyedCollection>(true, 1, true);
    // Read where the bag holds it; other values read as ReadBytes reads them.
    std::span<const uint8_t> content;
    Bytes read;
    if (!BagInPlace::StoredByteArray(bag, key, content)) {
      read = bag.ReadBytes(key);
      content = read;
    }
    if (!content.empty()) {
      collection->SetContent(content);
      return collection;
    }
    const std::string prefix(key);
    const int32_t count = bag.ReadLong(prefix + "Count", 0);
    // Every stored entry takes at least one key of the bag, so a larger count can only
    // come from damaged bytes; refusing it keeps such bytes from adding items without end.
    if (count > 0 && static_cast<size_t>(count) > bag.Count()) {
      kRead.Raise(err::kInvalidBagContents,
                  "Invalid property bag contents: " + prefix + "Count exceeds the stored entries");
    }
    for (int32_t i = 0; i < count; ++i) {
      const std::string index = std::to_string(i);
      const std::string itemKey = bag.ReadText(prefix + "Key" + index, "");
      collection->Add(bag.ReadProperty(prefix + "Item" + index), itemKey);
    }
    return collection;
  });
}

}  // namespace prvdrinfo
