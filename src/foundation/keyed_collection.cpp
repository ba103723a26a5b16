#include "prvdrinfo/foundation/keyed_collection.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/unicode.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCreate{"I1DE6F3YKLHS62DLQ39T9FMBV", "KeyedCollection"};
constexpr ErrorSite kCopy{"GOGHC8VMBTN9XS0MLTC9E73E0", "KeyedCollection.Copy"};
constexpr ErrorSite kAdd{"FAL71LNI1HMWLCIWFXI3RNETQ", "KeyedCollection.Add"};
constexpr ErrorSite kAddBefore{"R67DB983OEM4NP4OMI0UI413V", "KeyedCollection.AddBefore"};
constexpr ErrorSite kAddAfter{"HC8KI8XVNS7QYLG11B5R2PIQT", "KeyedCollection.AddAfter"};
constexpr ErrorSite kAddAfterKey{"X1TX8WVGC0F6NLGZAZGTCX5IN", "KeyedCollection.AddAfterKey"};
constexpr ErrorSite kItem{"0IFD2HYTPN8JC6Y27DSHEF9BJ", "KeyedCollection.Item"};
constexpr ErrorSite kItemByIndex{"6HWJ47MYUSCLH93HJ8QUQ3WVU", "KeyedCollection.ItemByIndex"};
constexpr ErrorSite kKeyByIndex{"AG7A9DMT5XCVEYMP5MS8TDTV7", "KeyedCollection.KeyByIndex"};
constexpr ErrorSite kExists{"B0G5TKHGILS4XMA83CFPILSUL", "KeyedCollection.Exists"};
constexpr ErrorSite kIndexOfKey{"6BW1RBIPCJKJ3764BVJFUKZV2", "KeyedCollection.IndexOfKey"};
constexpr ErrorSite kRemove{"6W08P00Z5Q6C5EQWNIY4RT9F3", "KeyedCollection.Remove"};
constexpr ErrorSite kRemoveByIndex{"HOGTG333QV67LPSA2TYSPCI1Z", "KeyedCollection.RemoveByIndex"};
constexpr ErrorSite kInsert{"AXWYTCF25YHPR4N6ATBA6IEWJ", "KeyedCollection.Insert"};
constexpr ErrorSite kRange{"VSBHRKP81VA15NFWMT5ILCKJJ", "KeyedCollection"};
constexpr ErrorSite kContent{"0VMSZQMOSXEOGMVN85BQ88FMB", "KeyedCollection.Content"};
constexpr ErrorSite kSetContent{"VOPZG866NI5LYPXTV7W8T80FN", "KeyedCollection.SetContent"};

// Content loads nest when a restored object reads a collection of its own from the bytes
// it holds. Writing stops at PropertyBag::kMaxDepth captured objects, so stored content
// never nests deeper than one level more; deeper bytes are crafted, and are refused before
// they exhaust the stack or copy their inner bytes level after level.
thread_local int contentLoadDepth = 0;

struct ContentLoadLevel {
  ContentLoadLevel() { ++contentLoadDepth; }
  ~ContentLoadLevel() { --contentLoadDepth; }
  ContentLoadLevel(const ContentLoadLevel&) = delete;
  ContentLoadLevel& operator=(const ContentLoadLevel&) = delete;
};
}  // namespace

struct KeyedCollection::Node {
  std::string key;      // as the caller gave it; "" for an item without key
  std::string compare;  // the form keys are compared in; the index holds views into it
  Variant item;
  size_t position = 0;
};

KeyedCollection::KeyedCollection(bool textCompare, int32_t compareMode, bool uniqueKeys)
    : uniqueKeys_(uniqueKeys) {
  if (compareMode != 0 && compareMode != 1) kCreate.Raise(err::kInvalidProcedureCall);
  ignoreCase_ = textCompare && compareMode == 1;
}

KeyedCollection::KeyedCollection(const KeyedCollection& other)
    : ignoreCase_(other.ignoreCase_), uniqueKeys_(other.uniqueKeys_) {
  kCopy.Guard([&] {
    nodes_.reserve(other.nodes_.size());
    for (const auto& node : other.nodes_) nodes_.push_back(std::make_unique<Node>(*node));
    RebuildIndex();
  });
}

KeyedCollection& KeyedCollection::operator=(const KeyedCollection& other) {
  if (this != &other) {
    KeyedCollection copy(other);
    *this = std::move(copy);
  }
  return *this;
}

// Nodes live on the heap, so the index's views into them survive a move.
KeyedCollection::KeyedCollection(KeyedCollection&& other) noexcept = default;
KeyedCollection& KeyedCollection::operator=(KeyedCollection&& other) noexcept = default;
KeyedCollection::~KeyedCollection() = default;

int32_t KeyedCollection::Count() const { return static_cast<int32_t>(nodes_.size()); }

std::string KeyedCollection::CompareForm(std::string_view key) const {
  return ignoreCase_ ? unicode::FoldCase(key) : std::string(key);
}

KeyedCollection::Node* KeyedCollection::FindNode(std::string_view key) const {
  if (key.empty()) return nullptr;
  const std::string compare = CompareForm(key);
  if (uniqueKeys_) {
    const auto it = index_.find(compare);
    return it == index_.end() ? nullptr : it->second;
  }
  Node* first = nullptr;
  const auto [from, to] = index_.equal_range(compare);
  for (auto it = from; it != to; ++it) {
    if (first == nullptr || it->second->position < first->position) first = it->second;
  }
  return first;
}

size_t KeyedCollection::CheckedIndex(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= nodes_.size()) {
    kRange.Raise(err::kSubscriptOutOfRange);
  }
  return static_cast<size_t>(index);
}

void KeyedCollection::Renumber(size_t from) {
  for (size_t i = from; i < nodes_.size(); ++i) nodes_[i]->position = i;
}

void KeyedCollection::RebuildIndex() {
  index_.clear();
  index_.reserve(nodes_.size());
  Renumber(0);
  for (const auto& node : nodes_) {
    if (!node->key.empty()) index_.emplace(std::string_view(node->compare), node.get());
  }
}

void KeyedCollection::Insert(size_t position, const Variant& item, std::string_view key) {
  kInsert.Guard([&] {
    if (nodes_.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
      kInsert.Raise(err::kOutOfMemory);
    }
    auto node = std::make_unique<Node>();
    node->key = std::string(key);
    node->item = item;
    if (!key.empty()) {
      node->compare = CompareForm(key);
      if (uniqueKeys_ && index_.find(node->compare) != index_.end()) {
        kInsert.Raise(err::kKeyAlreadyAssociated);
      }
    }
    // Everything that can fail happens before the collection changes: the index entry
    // first (undone if the list cannot grow), then the list.
    Node* raw = node.get();
    KeyIndex::iterator entry = index_.end();
    if (!key.empty()) entry = index_.emplace(std::string_view(raw->compare), raw);
    try {
      nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
    } catch (...) {
      if (entry != index_.end()) index_.erase(entry);
      throw;
    }
    Renumber(position);
  });
}

void KeyedCollection::Erase(size_t position) {
  Node* node = nodes_[position].get();
  if (!node->key.empty()) {
    const auto [from, to] = index_.equal_range(std::string_view(node->compare));
    for (auto it = from; it != to; ++it) {
      if (it->second == node) {
        index_.erase(it);
        break;
      }
    }
  }
  nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(position));
  Renumber(position);
}

void KeyedCollection::Add(const Variant& item, std::string_view key) {
  kAdd.Guard([&] { Insert(nodes_.size(), item, key); });
}

void KeyedCollection::AddBefore(const Variant& item, std::string_view key, int32_t beforeIndex) {
  kAddBefore.Guard([&] { Insert(CheckedIndex(beforeIndex), item, key); });
}

void KeyedCollection::AddAfter(const Variant& item, std::string_view key, int32_t afterIndex) {
  kAddAfter.Guard([&] { Insert(CheckedIndex(afterIndex) + 1, item, key); });
}

void KeyedCollection::AddAfterKey(const Variant& item, std::string_view key,
                                  std::string_view afterKey) {
  kAddAfterKey.Guard([&] {
    const Node* after = FindNode(afterKey);
    if (after == nullptr) kAddAfterKey.Raise(err::kInvalidProcedureCall);
    Insert(after->position + 1, item, key);
  });
}

Variant KeyedCollection::Item(std::string_view key) const {
  return kItem.Guard([&] {
    const Node* node = FindNode(key);
    if (node == nullptr) kItem.Raise(err::kInvalidProcedureCall);
    return node->item;
  });
}

Variant KeyedCollection::ItemByIndex(int32_t index) const {
  return kItemByIndex.Guard([&] { return nodes_[CheckedIndex(index)]->item; });
}

std::string KeyedCollection::KeyByIndex(int32_t index) const {
  return kKeyByIndex.Guard([&] { return nodes_[CheckedIndex(index)]->key; });
}

bool KeyedCollection::Exists(std::string_view key) const {
  return kExists.Guard([&] { return FindNode(key) != nullptr; });
}

int32_t KeyedCollection::IndexOfKey(std::string_view key) const {
  return kIndexOfKey.Guard([&] {
    const Node* node = FindNode(key);
    return node == nullptr ? -1 : static_cast<int32_t>(node->position);
  });
}

void KeyedCollection::Remove(std::string_view key) {
  kRemove.Guard([&] {
    const Node* node = FindNode(key);
    if (node == nullptr) kRemove.Raise(err::kInvalidProcedureCall);
    Erase(node->position);
  });
}

void KeyedCollection::RemoveByIndex(int32_t index) {
  kRemoveByIndex.Guard([&] { Erase(CheckedIndex(index)); });
}

void KeyedCollection::RemoveAll() {
  index_.clear();
  nodes_.clear();
}

Bytes KeyedCollection::Content() const {
  return kContent.Guard([&] {
    std::vector<PropertyBag::Entry> items;
    items.reserve(nodes_.size());
    for (const auto& node : nodes_) {
      PropertyBag::Entry entry{node->key, node->item, nullptr};
      // Objects are written as they stand (the codec captures them on its way).
      if (node->item.IsObject() && node->item.AsObject() &&
          !std::dynamic_pointer_cast<IPersistable>(node->item.AsObject())) {
        kContent.Raise(err::kTypeMismatch);
      }
      items.push_back(std::move(entry));
    }
    return bag_codec::EncodeKeyedItems(items);
  });
}

void KeyedCollection::SetContent(const Bytes& content) {
  kSetContent.Guard([&] {
    if (contentLoadDepth > PropertyBag::kMaxDepth) {
      kSetContent.Raise(err::kInvalidBagContents,
                        "Invalid property bag contents: objects nested deeper than " +
                            std::to_string(PropertyBag::kMaxDepth) + " levels");
    }
    const ContentLoadLevel level;
    // Built aside and swapped in, so a failure anywhere (bytes, duplicate keys, a class
    // that cannot be created) leaves this collection as it was.
    KeyedCollection fresh(true, ignoreCase_ ? 1 : 0, uniqueKeys_);
    for (auto& entry : bag_codec::DecodeKeyedItems(content)) {
      if (entry.nested) {
        fresh.Add(Variant(RestoreObject(*entry.nested)), entry.key);
      } else {
        fresh.Add(entry.value, entry.key);
      }
    }
    *this = std::move(fresh);
  });
}

const Variant& KeyedCollection::const_iterator::operator*() const { return (*it_)->item; }
const std::string& KeyedCollection::const_iterator::Key() const { return (*it_)->key; }

KeyedCollection::const_iterator KeyedCollection::begin() const {
  return const_iterator(nodes_.cbegin());
}
KeyedCollection::const_iterator KeyedCollection::end() const {
  return const_iterator(nodes_.cend());
}

}  // namespace prvdrinfo
