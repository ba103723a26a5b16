#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The ordered collection with optional unique text keys on which most collections of
// the library stand. Keys compare without regard to case (Unicode case folding) when
// text comparison is on; an empty key means "no key". Positions are zero-based.
// Errors are the automation collection's: 457 duplicate key, 5 absent key, 9 position
// out of range. A failed operation leaves the collection as it was. Const members touch
// only an atomic lookup hint: several threads may read at once while none changes it.
class PRVDRINFO_API KeyedCollection : public IObject {
  struct Node;
  struct Chunk;
  using ChunkList = std::vector<std::unique_ptr<Chunk>>;

 public:
  // (true, 1, true): text comparison, compare mode 1 (text), unique keys.
  // Keys compare without regard to case when textCompare is true and compareMode is 1;
  // compareMode 0 (or textCompare false) compares them byte for byte. Any other
  // compareMode raises 5. Without unique keys a key may repeat; lookups by key then find
  // the first item in collection order that carries it.
  explicit KeyedCollection(bool textCompare = true, int32_t compareMode = 1,
                           bool uniqueKeys = true);
  KeyedCollection(const KeyedCollection& other);
  KeyedCollection& operator=(const KeyedCollection& other);
  KeyedCollection(KeyedCollection&& other) noexcept;
  KeyedCollection& operator=(KeyedCollection&& other) noexcept;
  ~KeyedCollection() override;

  int32_t Count() const;
  bool IgnoresCase() const { return ignoreCase_; }
  bool UniqueKeys() const { return uniqueKeys_; }

  void Add(const Variant& item, std::string_view key = {});
  // Inserts before / after the item at that position (9 when there is none).
  void AddBefore(const Variant& item, std::string_view key, int32_t beforeIndex);
  void AddAfter(const Variant& item, std::string_view key, int32_t afterIndex);
  // Inserts after the item with that key (5 when absent).
  void AddAfterKey(const Variant& item, std::string_view key, std::string_view afterKey);

  Variant Item(std::string_view key) const;
  Variant ItemByIndex(int32_t index) const;
  std::string KeyByIndex(int32_t index) const;  // "" for an item without key
  bool Exists(std::string_view key) const;
  int32_t IndexOfKey(std::string_view key) const;  // -1 when absent

  void Remove(std::string_view key);
  void RemoveByIndex(int32_t index);
  void RemoveAll();

  // The collection as bytes: items with their keys, persistable objects with their class.
  // An object that is not persistable raises 13 "Type mismatch".
  Bytes Content() const;
  // Decodes first; bytes that cannot be decoded raise and leave the collection unchanged.
  void SetContent(const Bytes& content);
  // The same, reading bytes held elsewhere where they stand.
  void SetContent(std::span<const uint8_t> content);

  // Walks the items in order; Key() gives the current item's key. Any change to the
  // collection invalidates iterators.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Variant;
    using difference_type = std::ptrdiff_t;
    using pointer = const Variant*;
    using reference = const Variant&;

    const_iterator() = default;
    reference operator*() const;
    pointer operator->() const { return &**this; }
    const std::string& Key() const;
    const_iterator& operator++();
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const const_iterator& other) const {
      return chunk_ == other.chunk_ && offset_ == other.offset_;
    }

   private:
    friend class KeyedCollection;
    const_iterator(const std::unique_ptr<Chunk>* chunk, size_t offset)
        : chunk_(chunk), offset_(offset) {}
    const std::unique_ptr<Chunk>* chunk_ = nullptr;
    size_t offset_ = 0;
  };
  const_iterator begin() const;
  const_iterator end() const;

 private:
  // Keys are looked up through an open-addressing table of (hash, node) slots, the hash
  // taken over the key as compared (folded when case is ignored), so a lookup touches one
  // slot and the node it finds, and a removal finds its slot from the hash the node keeps.
  // The order lives in chunks of at most a few hundred nodes. A node knows its chunk,
  // and a Fenwick tree over the chunk sizes gives each chunk's first position, so an
  // edit moves the nodes of one chunk and updates O(log chunks) sums instead of
  // renumbering every later node; a node's position is found near where it was placed.
  struct Slot;
  struct Place {
    size_t chunk;
    size_t offset;
  };

  size_t KeyHash(std::string_view key) const;
  bool SameKey(std::string_view a, std::string_view b) const;
  Node* FindNode(std::string_view key) const;  // first in order, or null
  Node* FindKey(std::string_view key, size_t hash) const;
  size_t CheckedIndex(int32_t index) const;  // 9 when out of range
  Place Locate(size_t position) const;       // position < Count()
  Place PlaceOf(const Node* node) const;
  size_t PositionOf(const Node* node) const;
  Node& NodeAt(size_t position) const;
  void Insert(size_t position, const Variant& item, std::string_view key);
  void Erase(Place place);
  void MergeSmallChunk(size_t chunk);
  void Renumber(size_t fromChunk);
  void Settle();  // after every edit: the shortcuts for position lookups
  void RebuildIndex();
  size_t Home(size_t hash) const;
  void ReserveSlots(size_t keys);
  // Room for a load that knows how many items (keys of them keyed) it appends.
  void Reserve(size_t items, size_t keys);
  void PutSlot(Node* node);
  void EraseSlot(const Node* node);

  bool ignoreCase_ = true;
  bool uniqueKeys_ = true;
  ChunkList chunks_;          // none empty
  std::vector<size_t> sums_;  // Fenwick tree over the chunk sizes, 1-based
  size_t count_ = 0;
  std::vector<Slot> slots_;  // a power of two, at most half used; keyless nodes are absent
  size_t keyed_ = 0;
  size_t planned_ = 0;  // the items Reserve announced: the first chunk's room
  // The chunk a position lookup found last, which keeps its first position, so that a
  // loop over the positions descends the tree once per chunk. Atomic: readers on several
  // threads may set it (each to the same true value). Every edit clears it.
  mutable std::atomic<const Chunk*> recent_{nullptr};
  const std::unique_ptr<Node>* single_ = nullptr;  // the nodes while there is one chunk
};

}  // namespace prvdrinfo
