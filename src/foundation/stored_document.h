#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace prvdrinfo {

struct StoredDocument;

// One entry of a stored map (or one item of keyed-collection contents): its key and where
// its value starts, nothing decoded.
struct StoredEntry {
  std::string_view key;
  uint64_t hash = 0;               // folded key, for a bag's look-ups
  const uint8_t* value = nullptr;  // the value's first byte
  size_t object = 0;               // a nested object: 1 + its map's index; 0 for a value
};

// A map of properties in the stored bytes: its entries, contiguous in the document.
struct StoredMap {
  const StoredDocument* document = nullptr;
  std::string_view className;  // the class of a nested object; empty for a document's map
  size_t first = 0;            // its first entry
  size_t count = 0;
  std::span<const uint8_t> bytes;  // the map, head to end
  int depth = 0;                   // 0: a document's own map
};

// A document checked whole in one pass and then read where it stands: each map's entries
// indexed, values decoded only when read, nested objects' maps indexed alike, no byte
// copied. The bytes are borrowed: a document (and any bag reading it) is used only while
// they live, which is the length of a load.
struct StoredDocument {
  std::vector<StoredEntry> entries;
  std::vector<StoredMap> maps;  // maps[0]: the document's own map, or its list of items
  const uint8_t* end = nullptr;  // the end of the bytes

  const StoredMap& Root() const { return maps.front(); }
  std::span<const StoredEntry> EntriesOf(const StoredMap& map) const {
    return std::span(entries).subspan(map.first, map.count);
  }
  const StoredMap* ObjectOf(const StoredEntry& entry) const {
    return entry.object ? &maps[entry.object - 1] : nullptr;
  }
};

// A StoredDocument lent for one load: its lists keep their room from one load to the next
// on this thread, so that loading a document costs no allocations of its own. Loads
// nest (an object reads a collection of its own), each with a document of its own.
class LentDocument {
 public:
  LentDocument();
  ~LentDocument();
  LentDocument(const LentDocument&) = delete;
  LentDocument& operator=(const LentDocument&) = delete;

  StoredDocument& operator*() { return *document_; }
  StoredDocument* operator->() { return document_.get(); }

 private:
  std::unique_ptr<StoredDocument> document_;
};

}  // namespace prvdrinfo
