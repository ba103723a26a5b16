#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The ordered collection with optional unique text keys on which most collections of
// the library stand. Keys compare without regard to case (Unicode case folding) when
// text comparison is on; an empty key means "no key". Positions are zero-based.
// Errors are the automation collection's: 457 duplicate key, 5 absent key, 9 position
// out of range. A failed operation leaves the collection as it was.
class PRVDRINFO_API KeyedCollection : public IObject {
  struct Node;
  using NodeList = std::vector<std::unique_ptr<Node>>;

 public:
  // (true, 1, true): text comparison, compare mode 1 (text), unique keys.
  // Keys compare without regard to case when textCompare is true and compareMode is 1;
  // compareMode 0 (or textCompare false) compares them byte for byte. Any other
  // compareMode raises 5. Without unique keys a key may repeat; lookups by key then find
  // the first item in collection order that carries it.
  explicit KeyedCollection(bool textCompare = true, int32_t compareMode = 1, bool uniqueKeys = true);
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
    const_iterator& operator++() {
      ++it_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++it_;
      return old;
    }
    bool operator==(const const_iterator& other) const { return it_ == other.it_; }

   private:
    friend class KeyedCollection;
    explicit const_iterator(NodeList::const_iterator it) : it_(it) {}
    NodeList::const_iterator it_;
  };
  const_iterator begin() const;
  const_iterator end() const;

 private:
  // Keys are looked up through a hash map from the compared form of the key (folded
  // when case is ignored) to the node; each node knows its position, renumbered from the
  // point of every insertion or removal, so key lookups never scan the list.
  using KeyIndex = std::unordered_multimap<std::string_view, Node*>;

  std::string CompareForm(std::string_view key) const;
  Node* FindNode(std::string_view key) const;  // first in order, or null
  size_t CheckedIndex(int32_t index) const;    // 9 when out of range
  void Insert(size_t position, const Variant& item, std::string_view key);
  void Erase(size_t position);
  void Renumber(size_t from);
  void RebuildIndex();

  bool ignoreCase_ = true;
  bool uniqueKeys_ = true;
  NodeList nodes_;
  KeyIndex index_;  // views into each node's compared key; keyless nodes are absent
};

}  // namespace prvdrinfo
