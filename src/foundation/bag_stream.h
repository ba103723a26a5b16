#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <unordered_set>

#include "foundation/folded_key.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo {

// The writer behind a property bag whose writes stream: each write is encoded onto the
// bytes as it comes, as one entry of the bag's map (the codec's mapping), with no entries,
// index or copies. It is the one way properties become bytes.
//
// What one pass cannot follow it leaves to the bag: a key written again (or one that
// hashes alike), a written key left out at its default, a read. The bag then takes back
// what was streamed, decoded into entries, and goes on as a store of entries; when the map
// completes, those entries are encoded in its place. The bytes are the same either way.
//
// A save routine's bag streams onto bytes its caller began (Map); a bag that a caller
// fills on its own streams into bytes of its own.
class BagStream {
 public:
  // Runs write(bag) on a fresh bag that streams onto the end of out, then completes the
  // map there. depth: the map's nesting level (0 = a document's own map). On a failure
  // what was streamed stays on out, for the caller to drop.
  template <class Write>
  static void Map(Bytes& out, int depth, Write&& write) {
    MapWith(out, depth, &write, [](void* routine, PropertyBag& bag) {
      (*static_cast<std::remove_reference_t<Write>*>(routine))(bag);
    });
  }
  static void MapWith(Bytes& out, int depth, void* routine, void (*run)(void*, PropertyBag&));
  // A whole bag document: its head, then the map as above.
  template <class Write>
  static void Document(Bytes& out, Write&& write) {
    DocumentWith(out, &write, [](void* routine, PropertyBag& bag) {
      (*static_cast<std::remove_reference_t<Write>*>(routine))(bag);
    });
  }
  static void DocumentWith(Bytes& out, void* routine, void (*run)(void*, PropertyBag&));

  // The bag's side.
  // The stream a write to bag goes to: none once the bag holds entries or reads stored
  // bytes; a bag that holds nothing starts one of its own.
  static BagStream* Of(PropertyBag& bag) {
    BagStream* stream = bag.stream_.load(std::memory_order_relaxed);
    return stream || !bag.entries_.empty() || bag.stored_.load(std::memory_order_relaxed)
               ? stream
               : Own(bag);
  }
  // A bag whose writes stream takes back what it streamed and holds it as entries from
  // then on. Reads do this on const bags, under a lock, so that concurrent readers of a
  // bag that was only written stay safe.
  static void Settle(const PropertyBag& bag) {
    if (bag.stream_.load(std::memory_order_acquire)) SettleStreaming(bag);
  }
  // The bag stops streaming and drops what it streamed (its entries replace it).
  static void Detach(PropertyBag& bag);
  // to takes from's entries, streamed or held; from is left holding nothing.
  static void MoveEntries(PropertyBag& to, PropertyBag& from);
  // The bag document of a bag whose writes stream; nothing for one that holds entries.
  static std::optional<Bytes> StreamedContents(const PropertyBag& bag);

  // Streams the entry; false, with nothing written, when the key may have been written
  // before: the bag must hold its entries to decide.
  bool Write(std::string_view key, const Variant& value);
  bool WriteText(std::string_view key, std::string_view text);
  // Whether a key that hashes as this one was written.
  bool Wrote(std::string_view key) const {
    CheckIdle();
    if (count_ == 0) return false;
    const uint64_t hash = folded_key::Hash(key);
    return (seen_ & Bit(hash)) && Holds(hash);
  }
  void Clear();

  BagStream(const BagStream&) = delete;
  BagStream& operator=(const BagStream&) = delete;
  ~BagStream();

 private:
  // Enough for the keys of most save routines; more go to a hash set.
  static constexpr size_t kInlineKeys = 48;

  BagStream(PropertyBag& bag, Bytes& out, int depth);
  explicit BagStream(PropertyBag& bag);
  static BagStream* Own(PropertyBag& bag);
  static void Release(BagStream* stream);
  static void SettleStreaming(const PropertyBag& bag);
  static void MoveStore(PropertyBag& to, PropertyBag& from);

  template <class WriteValue>
  bool Put(std::string_view key, WriteValue&& writeValue);
  // Records the hash of a key about to be written; false when one like it was written
  // before. The record counts once count_ grows past it; Unclaim drops it after a failure.
  bool Claim(uint64_t hash);
  bool ClaimBeyondInline(uint64_t hash);
  void Unclaim(uint64_t hash);
  static uint64_t Bit(uint64_t hash) { return uint64_t{1} << (hash >> 58); }
  // Whether the hash was written; only asked once its bit in seen_ is set.
  bool Holds(uint64_t hash) const;
  void CheckIdle() const {
    if (busy_) RaiseBusy();
  }
  [[noreturn]] static void RaiseBusy();
  // Writes the map's head in its final form over the one byte kept for it.
  void CompleteHead();
  void Finish();
  // What was streamed, as entries; the bytes are given back.
  PropertyBag TakeBack();
  // The bag document of what was streamed so far.
  Bytes Contents() const;

  PropertyBag* bag_;
  Bytes own_;  // the bytes of a bag streaming on its own
  Bytes* out_;
  size_t start_;  // where the map's head stands in *out_
  int depth_;
  bool owned_;
  bool busy_ = false;  // an object is writing itself into the bag
  size_t count_ = 0;
  uint64_t seen_ = 0;  // one bit per key hash, so that most writes skip the search
  std::array<uint64_t, kInlineKeys> keys_;  // the first count_ hashes
  std::unique_ptr<std::unordered_set<uint64_t>> moreKeys_;
};

}  // namespace prvdrinfo
