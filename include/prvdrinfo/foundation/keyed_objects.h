#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// What a load of KeyedObjects accepts as items.
enum class KeyedLoad {
  kTyped,     // a T in every item, else 13 and the collection stays as it was
  kAsStored,  // whatever the bytes hold; reading an item that is no T raises 13 then
};

// An ordered collection of T objects under optional text keys, compared without regard to
// case (an empty key means "no key"). Positions are zero-based. Errors are the keyed
// collection's, with its numbers and texts: 457 for a key already present, 5 for an
// unknown key, 9 for a position out of range; an object that is no library object
// (IObject) raises 13. A failed call leaves the collection as it was.
// Persisted as keyed-collection content under the owner's key, so the bytes are those of
// a KeyedCollection holding the same objects.
//
// A typed face over KeyedCollection's public members: it adds no error site of its own,
// so a failure carries the collection's site and the owner's. Items read back as
// std::shared_ptr<T>; a Nothing item reads as null.
template <class T>
class KeyedObjects {
 public:
  using value_type = std::shared_ptr<T>;

  KeyedObjects() = default;

  int32_t Count() const { return items_.Count(); }
  bool Exists(std::string_view key) const { return items_.Exists(key); }
  int32_t IndexOfKey(std::string_view key) const {
    return items_.IndexOfKey(key);
  }  // -1 when absent
  std::string KeyByIndex(int32_t index) const {
    return items_.KeyByIndex(index);
  }  // "" without key

  void Add(const value_type& item, std::string_view key = {}) { items_.Add(Member(item), key); }
  // Inserts before / after the item at that position (9 when there is none).
  void AddBefore(const value_type& item, std::string_view key, int32_t beforeIndex) {
    items_.AddBefore(Member(item), key, beforeIndex);
  }
  void AddAfter(const value_type& item, std::string_view key, int32_t afterIndex) {
    items_.AddAfter(Member(item), key, afterIndex);
  }
  // Inserts after the item with that key (5 when absent).
  void AddAfterKey(const value_type& item, std::string_view key, std::string_view afterKey) {
    items_.AddAfterKey(Member(item), key, afterKey);
  }

  value_type Item(std::string_view key) const { return items_.Item(key).template ToObject<T>(); }
  value_type ItemByIndex(int32_t index) const {
    return items_.ItemByIndex(index).template ToObject<T>();
  }

  void Remove(std::string_view key) { items_.Remove(key); }
  void RemoveByIndex(int32_t index) { items_.RemoveByIndex(index); }
  void RemoveAll() { items_.RemoveAll(); }

  // The items in order, as a list that later changes to the collection leave alone.
  std::vector<value_type> Snapshot() const {
    std::vector<value_type> all;
    all.reserve(static_cast<size_t>(items_.Count()));
    for (const value_type& item : *this) all.push_back(item);
    return all;
  }

  // Walks the items in order; Key() gives the current item's key. Any change to the
  // collection invalidates iterators.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::shared_ptr<T>;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = value_type;

    const_iterator() = default;
    value_type operator*() const { return it_->template ToObject<T>(); }
    const std::string& Key() const { return it_.Key(); }
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
    friend class KeyedObjects;
    explicit const_iterator(KeyedCollection::const_iterator it) : it_(it) {}
    KeyedCollection::const_iterator it_;
  };
  const_iterator begin() const { return const_iterator(items_.begin()); }
  const_iterator end() const { return const_iterator(items_.end()); }

  // The collection under one key of the bag, as WriteKeyedCollection writes it.
  void WriteTo(PropertyBag& bag, std::string_view key) const {
    WriteKeyedCollection(bag, key, items_);
  }
  // Replaces the items with those under the key (ReadKeyedCollection, older layout
  // included). Loaded aside and swapped in, so a failure changes nothing.
  void ReadFrom(const PropertyBag& bag, std::string_view key, KeyedLoad load = KeyedLoad::kTyped) {
    const std::shared_ptr<KeyedCollection> loaded = ReadKeyedCollection(bag, key);
    if (load == KeyedLoad::kTyped) {
      for (const Variant& item : *loaded) {
        if (!item.ToObject<T>()) RaiseTypeMismatch();
      }
    }
    items_ = std::move(*loaded);
  }

  // The items as the untyped collection, for what works on any keyed collection (content
  // strings, values and keys).
  const KeyedCollection& Untyped() const { return items_; }

 private:
  static Variant Member(const value_type& item) {
    if constexpr (std::is_base_of_v<IObject, T>) {
      return Variant(item);
    } else {
      // An interface that is no IObject itself: the object behind it must be one.
      std::shared_ptr<IObject> object = std::dynamic_pointer_cast<IObject>(item);
      if (item && !object) RaiseTypeMismatch();
      return Variant(std::move(object));
    }
  }

  KeyedCollection items_;  // case-insensitive unique keys
};

}  // namespace prvdrinfo
