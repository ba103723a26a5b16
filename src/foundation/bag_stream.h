#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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

  // The bag's side. A stream of a bag's own is made by Own and ended by Release.
  static BagStream* Own(PropertyBag& bag);
  static void Release(BagStream* stream);

  // Streams the entry; false, with nothing written, when the key may have been written
  // before: the bag must hold its entries to decide.
  bool Write(std::string_view key, const Variant& value);
  bool WriteText(std::string_view key, std::string_view text);
  // Whether a key that hashes as this one was written.
  bool Wrote(std::string_view key) const {
    CheckIdle();
    if (count_ == 0) return false;
    const uint64_t hash = folded_key::Hash(key);
    return (seen_ & (uint64_t{1} << (hash >> 58))) && Holds(hash);
  }
  // What was streamed, as entries; the bytes are given back.
  PropertyBag TakeBack();
  // The bag document of what was streamed so far.
  Bytes Contents() const;
  void Clear();

  BagStream(const BagStream&) = delete;
  BagStream& operator=(const BagStream&) = delete;
  ~BagStream();

 private:
  // Enough for the keys of any class's save routine; more go to a hash set.
  static constexpr size_t kInlineKeys = 48;

  BagStream(PropertyBag& bag, Bytes& out, int depth);
  explicit BagStream(PropertyBag& bag);

  template <class WriteValue>
  bool Put(std::string_view key, WriteValue&& writeValue);
  // Records the hash of a key about to be written; false when one like it was written
  // before. The record counts once count_ grows past it; Unclaim drops it after a failure.
  bool Claim(uint64_t hash);
  bool ClaimBeyondInline(uint64_t hash);
  void Unclaim(uint64_t hash);
  // Whether the hash was written; only asked once its bit in seen_ is set.
  bool Holds(uint64_t hash) const;
  void CheckIdle() const {
    if (busy_) RaiseBusy();
  }
  [[noreturn]] static void RaiseBusy();
  // Writes the map's head in its final form over the one byte kept for it.
  void CompleteHead();
  void Finish();

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
