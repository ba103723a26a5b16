#include "prvdrinfo/foundation/keyed_collection.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <limits>
#include <string>
#include <utility>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "foundation/bag_codec.h"
#include "foundation/folded_key.h"
#include "foundation/bag_in_place.h"
#include "foundation/object_writer.h"
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

// A full chunk splits in two halves; a chunk that falls under kChunkMin nodes joins a
// neighbour with room for it. Chunks stay small enough that moving nodes within one and
// scanning one for a node cost little, and large enough that there are few of them.
constexpr size_t kChunkMax = 256;
constexpr size_t kChunkMin = 64;

constexpr size_t LowBit(size_t i) { return i & (~i + 1); }

}  // namespace

struct KeyedCollection::Node {
  std::string key;  // as the caller gave it; "" for an item without key
  Variant item;
  size_t hash = 0;  // of the key as compared (KeyHash)
  Chunk* chunk = nullptr;
  size_t hint = 0;  // its offset in the chunk when placed there; later edits move it a little
};

struct KeyedCollection::Slot {
  size_t hash;
  Node* node;  // null for a free slot
};

struct KeyedCollection::Chunk {
  std::vector<std::unique_ptr<Node>> nodes;
  size_t index = 0;                      // where the chunk stands in chunks_
  mutable std::atomic<size_t> start{0};  // its first position, while it is recent_
};

KeyedCollection::KeyedCollection(bool textCompare, int32_t compareMode, bool uniqueKeys)
    : uniqueKeys_(uniqueKeys) {
  if (compareMode != 0 && compareMode != 1) kCreate.Raise(err::kInvalidProcedureCall);
  ignoreCase_ = textCompare && compareMode == 1;
}

KeyedCollection::KeyedCollection(const KeyedCollection& other)
    : ignoreCase_(other.ignoreCase_), uniqueKeys_(other.uniqueKeys_) {
  kCopy.Guard([&] {
    // Chunks filled to three quarters, leaving room for inserts before any splits.
    const size_t fill = other.count_ <= kChunkMax ? other.count_ : kChunkMax * 3 / 4;
    for (const auto& chunk : other.chunks_) {
      for (const auto& node : chunk->nodes) {
        if (chunks_.empty() || chunks_.back()->nodes.size() == fill) {
          chunks_.push_back(std::make_unique<Chunk>());
          chunks_.back()->nodes.reserve(other.count_ <= kChunkMax ? fill : kChunkMax);
        }
        auto copy = std::make_unique<Node>(*node);
        copy->chunk = chunks_.back().get();
        copy->hint = chunks_.back()->nodes.size();
        chunks_.back()->nodes.push_back(std::move(copy));
      }
    }
    count_ = other.count_;
    sums_.resize(chunks_.size() + 1);
    Renumber(0);
    RebuildIndex();
    Settle();
  });
}

KeyedCollection& KeyedCollection::operator=(const KeyedCollection& other) {
  if (this != &other) {
    KeyedCollection copy(other);
    *this = std::move(copy);
  }
  return *this;
}

// Nodes and chunks live on the heap, so the index's views and the nodes' chunk pointers
// survive a move. The moved-from collection is left empty.
KeyedCollection::KeyedCollection(KeyedCollection&& other) noexcept
    : ignoreCase_(other.ignoreCase_),
      uniqueKeys_(other.uniqueKeys_),
      chunks_(std::move(other.chunks_)),
      sums_(std::move(other.sums_)),
      count_(std::exchange(other.count_, 0)),
      slots_(std::move(other.slots_)),
      keyed_(std::exchange(other.keyed_, 0)) {
  Settle();
  other.RemoveAll();
}

KeyedCollection& KeyedCollection::operator=(KeyedCollection&& other) noexcept {
  if (this != &other) {
    ignoreCase_ = other.ignoreCase_;
    uniqueKeys_ = other.uniqueKeys_;
    chunks_ = std::move(other.chunks_);
    sums_ = std::move(other.sums_);
    count_ = std::exchange(other.count_, 0);
    slots_ = std::move(other.slots_);
    keyed_ = std::exchange(other.keyed_, 0);
    Settle();
    other.RemoveAll();
  }
  return *this;
}

KeyedCollection::~KeyedCollection() = default;

int32_t KeyedCollection::Count() const { return static_cast<int32_t>(count_); }

// Keys compared without regard to case compare as their case-folded forms, without
// building them (folded_key.h).
size_t KeyedCollection::KeyHash(std::string_view key) const {
  return ignoreCase_ ? folded_key::Hash(key) : std::hash<std::string_view>{}(key);
}

bool KeyedCollection::SameKey(std::string_view a, std::string_view b) const {
  return ignoreCase_ ? folded_key::Same(a, b) : a == b;
}

KeyedCollection::Node* KeyedCollection::FindNode(std::string_view key) const {
  if (key.empty() || keyed_ == 0) return nullptr;
  return FindKey(key, KeyHash(key));
}

KeyedCollection::Node* KeyedCollection::FindKey(std::string_view key, size_t hash) const {
  if (keyed_ == 0) return nullptr;
  Node* first = nullptr;
  size_t firstPosition = 0;
  for (size_t i = Home(hash); slots_[i].node != nullptr; i = (i + 1) & (slots_.size() - 1)) {
    Node* node = slots_[i].node;
    if (slots_[i].hash != hash || !SameKey(node->key, key)) continue;
    if (uniqueKeys_) return node;
    const size_t position = PositionOf(node);
    if (first == nullptr || position < firstPosition) {
      first = node;
      firstPosition = position;
    }
  }
  return first;
}

size_t KeyedCollection::CheckedIndex(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= count_) kRange.Raise(err::kSubscriptOutOfRange);
  return static_cast<size_t>(index);
}

[[gnu::noinline]] KeyedCollection::Place KeyedCollection::Locate(size_t position) const {
  if (chunks_.size() == 1) return {0, position};
  // Descends the tree: the last chunk whose first position is at most `position`.
  size_t chunk = 0;
  size_t rest = position;
  for (size_t step = std::bit_floor(chunks_.size()); step > 0; step >>= 1) {
    if (chunk + step < sums_.size() && sums_[chunk + step] <= rest) {
      chunk += step;
      rest -= sums_[chunk];
    }
  }
  chunks_[chunk]->start.store(position - rest, std::memory_order_relaxed);
  recent_.store(chunks_[chunk].get(), std::memory_order_release);
  return {chunk, rest};
}

KeyedCollection::Place KeyedCollection::PlaceOf(const Node* node) const {
  // Outward from where the node was placed: edits in the chunk since moved it by one each.
  const auto& nodes = node->chunk->nodes;
  const size_t hint = node->hint;
  for (size_t d = 0;; ++d) {
    if (hint + d < nodes.size() && nodes[hint + d].get() == node)
      return {node->chunk->index, hint + d};
    if (d <= hint && hint - d < nodes.size() && nodes[hint - d].get() == node) {
      return {node->chunk->index, hint - d};
    }
  }
}

size_t KeyedCollection::PositionOf(const Node* node) const {
  const Place place = PlaceOf(node);
  size_t start = 0;
  for (size_t i = place.chunk; i > 0; i -= LowBit(i)) start += sums_[i];
  return start + place.offset;
}

// Inline for the loops over positions; Locate stays out of line.
inline KeyedCollection::Node& KeyedCollection::NodeAt(size_t position) const {
  if (single_ != nullptr) return *single_[position];
  if (const Chunk* recent = recent_.load(std::memory_order_acquire)) {
    const size_t start = recent->start.load(std::memory_order_relaxed);
    if (position >= start && position - start < recent->nodes.size()) {
      return *recent->nodes[position - start];
    }
  }
  const Place place = Locate(position);
  return *chunks_[place.chunk]->nodes[place.offset];
}

// After chunks come or go: their indexes from `fromChunk` on, and the whole tree, which
// costs one pass over the chunks and happens once in many edits. Never allocates: sums_
// has room for every chunk.
void KeyedCollection::Renumber(size_t fromChunk) {
  for (size_t i = fromChunk; i < chunks_.size(); ++i) chunks_[i]->index = i;
  sums_.assign(chunks_.size() + 1, 0);
  for (size_t i = 1; i < sums_.size(); ++i) {
    sums_[i] += chunks_[i - 1]->nodes.size();
    if (i + LowBit(i) < sums_.size()) sums_[i + LowBit(i)] += sums_[i];
  }
}

void KeyedCollection::RebuildIndex() {
  slots_.clear();
  keyed_ = 0;
  for (const auto& chunk : chunks_) {
    for (const auto& node : chunk->nodes) keyed_ += node->key.empty() ? 0u : 1u;
  }
  ReserveSlots(keyed_);
  for (const auto& chunk : chunks_) {
    for (const auto& node : chunk->nodes) {
      if (!node->key.empty()) PutSlot(node.get());
    }
  }
}

// Room for that many keys with at most half the slots used, which keeps runs short.
void KeyedCollection::ReserveSlots(size_t keys) {
  if (keys * 2 <= slots_.size()) return;
  size_t size = std::max<size_t>(slots_.size(), 8);
  while (size < keys * 2) size *= 2;
  std::vector<Slot> old(size, Slot{0, nullptr});
  slots_.swap(old);
  for (const Slot& slot : old) {
    if (slot.node != nullptr) PutSlot(slot.node);
  }
}

void KeyedCollection::Reserve(size_t items, size_t keys) {
  planned_ = items;
  ReserveSlots(keyed_ + keys);
}

size_t KeyedCollection::Home(size_t hash) const { return hash & (slots_.size() - 1); }

void KeyedCollection::PutSlot(Node* node) {
  size_t i = Home(node->hash);
  while (slots_[i].node != nullptr) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = {node->hash, node};
}

void KeyedCollection::EraseSlot(const Node* node) {
  const size_t mask = slots_.size() - 1;
  size_t hole = Home(node->hash);
  while (slots_[hole].node != node) hole = (hole + 1) & mask;
  // Later slots of the run move back into the hole when their home allows it, so that
  // no run is broken and no free slot needs a mark.
  for (size_t next = (hole + 1) & mask; slots_[next].node != nullptr; next = (next + 1) & mask) {
    if (((next - Home(slots_[next].hash)) & mask) >= ((next - hole) & mask)) {
      slots_[hole] = slots_[next];
      hole = next;
    }
  }
  slots_[hole] = {0, nullptr};
}

void KeyedCollection::Insert(size_t position, const Variant& item, std::string_view key) {
  kInsert.Guard([&] {
    if (count_ >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
      kInsert.Raise(err::kOutOfMemory);
    }
    auto node = std::make_unique<Node>();
    node->key = std::string(key);
    node->item = item;
    if (!key.empty()) {
      node->hash = KeyHash(key);
      if (uniqueKeys_ && FindKey(key, node->hash) != nullptr) {
        kInsert.Raise(err::kKeyAlreadyAssociated);
      }
    }
    // Everything that can fail happens before the collection changes: room for the key,
    // room in the chunk, a new chunk if one is needed and room for it in the lists. The
    // changes that follow cannot fail.
    if (!key.empty()) ReserveSlots(keyed_ + 1);
    Place place{0, 0};
    if (position == count_ && !chunks_.empty()) {
      place = {chunks_.size() - 1, chunks_.back()->nodes.size()};
    } else if (position < count_) {
      place = Locate(position);
    }
    std::unique_ptr<Chunk> added;
    Chunk* target = chunks_.empty() ? nullptr : chunks_[place.chunk].get();
    if (target == nullptr || target->nodes.size() == kChunkMax) {
      added = std::make_unique<Chunk>();
      added->nodes.reserve(target == nullptr ? std::clamp<size_t>(planned_, 1, kChunkMax)
                                             : kChunkMax);
      chunks_.reserve(chunks_.size() + 1);
      sums_.reserve(chunks_.size() + 2);
    } else if (target->nodes.size() == target->nodes.capacity()) {
      target->nodes.reserve(std::min(kChunkMax, target->nodes.size() * 2));
    }
    Node* raw = node.get();
    if (!key.empty()) {
      PutSlot(raw);
      ++keyed_;
    }

    const bool chunkAdded = added != nullptr;
    if (chunkAdded) {
      const size_t addedAt = target == nullptr ? 0 : place.chunk + 1;
      if (target == nullptr) {
        target = added.get();
      } else if (addedAt == chunks_.size() && place.offset == kChunkMax) {
        // Appending to a full last chunk starts the next one, so that a collection
        // filled in order keeps its chunks full.
        target = added.get();
        place = {addedAt, 0};
      } else {
        // The upper half moves to the new chunk after this one.
        const size_t half = kChunkMax / 2;
        for (auto it = target->nodes.begin() + half; it != target->nodes.end(); ++it) {
          (*it)->chunk = added.get();
          (*it)->hint = added->nodes.size();
          added->nodes.push_back(std::move(*it));
        }
        target->nodes.resize(half);
        if (place.offset > half) {
          target = added.get();
          place = {addedAt, place.offset - half};
        }
      }
      chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(addedAt), std::move(added));
    }
    raw->chunk = target;
    raw->hint = place.offset;
    target->nodes.insert(target->nodes.begin() + static_cast<std::ptrdiff_t>(place.offset),
                         std::move(node));
    ++count_;
    if (chunkAdded) {
      Renumber(0);
    } else {
      for (size_t i = place.chunk + 1; i < sums_.size(); i += LowBit(i)) ++sums_[i];
    }
    Settle();
  });
}

void KeyedCollection::Erase(Place place) {
  Chunk& chunk = *chunks_[place.chunk];
  Node* node = chunk.nodes[place.offset].get();
  if (!node->key.empty()) {
    EraseSlot(node);
    --keyed_;
  }
  chunk.nodes.erase(chunk.nodes.begin() + static_cast<std::ptrdiff_t>(place.offset));
  --count_;
  if (chunk.nodes.size() < kChunkMin && chunks_.size() > 1) {
    MergeSmallChunk(place.chunk);
  } else {
    for (size_t i = place.chunk + 1; i < sums_.size(); i += LowBit(i)) --sums_[i];
  }
  if (count_ == 0) RemoveAll();
  Settle();
}
void KeyedCollection::MergeSmallChunk(size_t chunk) {
  Chunk& small = *chunks_[chunk];
  // Into a neighbour that holds it without growing, so that a removal never allocates.
  const auto fits = [&](size_t other) {
    const auto& nodes = chunks_[other]->nodes;
    return nodes.size() + small.nodes.size() <= std::min(kChunkMax, nodes.capacity());
  };
  if (chunk > 0 && fits(chunk - 1)) {
    Chunk& before = *chunks_[chunk - 1];
    for (auto& node : small.nodes) {
      node->chunk = &before;
      node->hint = before.nodes.size();
      before.nodes.push_back(std::move(node));
    }
  } else if (chunk + 1 < chunks_.size() && fits(chunk + 1)) {
    Chunk& after = *chunks_[chunk + 1];
    for (size_t i = 0; i < small.nodes.size(); ++i) {
      small.nodes[i]->chunk = &after;
      small.nodes[i]->hint = i;
    }
    after.nodes.insert(after.nodes.begin(), std::make_move_iterator(small.nodes.begin()),
                       std::make_move_iterator(small.nodes.end()));
  } else if (!small.nodes.empty()) {
    for (size_t i = chunk + 1; i < sums_.size(); i += LowBit(i)) --sums_[i];
    return;
  }
  chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk));
  Renumber(chunk);
}

void KeyedCollection::Add(const Variant& item, std::string_view key) {
  kAdd.Guard([&] { Insert(count_, item, key); });
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
    Insert(PositionOf(after) + 1, item, key);
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
  return kItemByIndex.Guard([&] { return NodeAt(CheckedIndex(index)).item; });
}

std::string KeyedCollection::KeyByIndex(int32_t index) const {
  return kKeyByIndex.Guard([&] { return NodeAt(CheckedIndex(index)).key; });
}

bool KeyedCollection::Exists(std::string_view key) const {
  return kExists.Guard([&] { return FindNode(key) != nullptr; });
}

int32_t KeyedCollection::IndexOfKey(std::string_view key) const {
  return kIndexOfKey.Guard([&] {
    const Node* node = FindNode(key);
    return node == nullptr ? -1 : static_cast<int32_t>(PositionOf(node));
  });
}

void KeyedCollection::Remove(std::string_view key) {
  kRemove.Guard([&] {
    const Node* node = FindNode(key);
    if (node == nullptr) kRemove.Raise(err::kInvalidProcedureCall);
    Erase(PlaceOf(node));
  });
}

void KeyedCollection::RemoveByIndex(int32_t index) {
  kRemoveByIndex.Guard([&] { Erase(Locate(CheckedIndex(index))); });
}

void KeyedCollection::RemoveAll() {
  slots_.clear();
  keyed_ = 0;
  chunks_.clear();
  sums_.clear();
  count_ = 0;
  Settle();
}

void KeyedCollection::Settle() {
  recent_.store(nullptr, std::memory_order_relaxed);
  single_ = chunks_.size() == 1 ? chunks_[0]->nodes.data() : nullptr;
}

Bytes KeyedCollection::Content() const {
  return kContent.Guard([&] {
    // The keyed-items document, each object writing itself as it stands.
    Bytes out;
    bag_codec::Writer w(out);
    bag_codec::WriteDocumentHead(w, bag_codec::kItemsFormat);
    w.ArrayStart(count_);
    for (auto it = begin(); it != end(); ++it) {
      w.ArrayStart(2);
      w.Text(it.Key());
      WriteLiveValue(w, *it, 0);
    }
    return out;
  });
}

void KeyedCollection::SetContent(const Bytes& content) {
  SetContent(std::span<const uint8_t>(content));
}

void KeyedCollection::SetContent(std::span<const uint8_t> content) {
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
    // Checked whole first, then read where the bytes stand.
    LentDocument document;
    bag_codec::IndexKeyedItems(content, *document);
    const StoredMap& items = document->Root();
    const auto stored = document->EntriesOf(items);
    fresh.Reserve(stored.size(), static_cast<size_t>(std::count_if(
                                     stored.begin(), stored.end(),
                                     [](const StoredEntry& item) { return !item.key.empty(); })));
    for (const StoredEntry& item : stored) {
      if (const StoredMap* object = document->ObjectOf(item)) {
        fresh.Add(Variant(RestoreStoredObject(*object)), item.key);
      } else {
        fresh.Add(bag_codec::StoredValue(items, item), item.key);
      }
    }
    *this = std::move(fresh);
  });
}

const Variant& KeyedCollection::const_iterator::operator*() const {
  return (*chunk_)->nodes[offset_]->item;
}
const std::string& KeyedCollection::const_iterator::Key() const {
  return (*chunk_)->nodes[offset_]->key;
}

KeyedCollection::const_iterator& KeyedCollection::const_iterator::operator++() {
  if (++offset_ == (*chunk_)->nodes.size()) {
    ++chunk_;
    offset_ = 0;
  }
  return *this;
}

KeyedCollection::const_iterator KeyedCollection::begin() const {
  return const_iterator(chunks_.data(), 0);
}
KeyedCollection::const_iterator KeyedCollection::end() const {
  return const_iterator(chunks_.data() + chunks_.size(), 0);
}

}  // namespace prvdrinfo
