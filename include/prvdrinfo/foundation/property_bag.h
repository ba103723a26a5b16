#pragma once

#include <atomic>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

class BagStream;
class IPersistable;
class PropertyBag;
struct StoredEntry;
struct StoredMap;

namespace err {
// Bytes a property bag or keyed collection cannot decode: 80040100 hexadecimal, described
// "Invalid property bag contents: " followed by the reason.
inline constexpr int32_t kInvalidBagContents = static_cast<int32_t>(0x80040100u);
}  // namespace err

// A persistable object as the bag holds it: its class name and the properties it wrote.
struct PRVDRINFO_API NestedObject {
  std::string className;
  std::shared_ptr<const PropertyBag> properties;
};

// The persistence medium of every class: an ordered store of named values whose
// Contents are deterministic bytes (CBOR; the mapping is in docs/property-bag.md).
// Keys are compared without regard to case; writing a key again replaces its value.
//
// A bag an object loads from reads the stored bytes where they stand: each value is
// decoded when it is read, and nothing is copied first. Asked anything else, it decodes
// its entries and goes on as a store of them.
//
// Writes are encoded as they come: a bag that is only written (a save routine's bag, the
// common case) never holds its values, only their bytes. Whatever else it is asked (a key
// written again or left out after it was written, a read, Entries) it answers as a store
// of entries, which it becomes from then on; the bytes are the same either way. Const
// members touch only an atomic read hint, and a bag that was only written takes its
// entries back on its first read under a lock: several threads may read at once while
// none writes.
class PRVDRINFO_API PropertyBag {
 public:
  struct Entry {
    std::string key;
    Variant value;                               // every value but a nested object
    std::shared_ptr<const NestedObject> nested;  // set for a nested persistable object
  };

  // Nested objects deeper than this are neither written nor read: it bounds the stack a
  // decode can take and stops an object graph with a cycle from saving itself forever.
  static constexpr int kMaxDepth = 64;

  PropertyBag() = default;
  PropertyBag(const PropertyBag& other);
  PropertyBag(PropertyBag&& other);
  PropertyBag& operator=(const PropertyBag& other);
  PropertyBag& operator=(PropertyBag&& other);
  ~PropertyBag();

  // Stores the value; a persistable object is stored as its class name and properties.
  // An object that is not persistable raises 13 "Type mismatch".
  void WriteProperty(std::string_view key, const Variant& value);
  // As above, but a value equal to the default (same type, same value) is not stored.
  void WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue);
  // The same for a std::string (and only that: other arguments take the Variant forms),
  // without making a Variant of it.
  template <class Text>
  requires std::same_as<Text, std::string>
  void WriteProperty(std::string_view key, const Text& value) { WriteText(key, value); }
  template <class Text>
  requires std::same_as<Text, std::string>
  void WriteProperty(std::string_view key, const Text& value, const Text& defaultValue) {
    WriteText(key, value, defaultValue);
  }

  // The stored value, or the default (Empty when none) when the key is absent. A nested
  // object comes back as a new instance of its class, created through the class registry.
  Variant ReadProperty(std::string_view key) const;
  Variant ReadProperty(std::string_view key, const Variant& defaultValue) const;
  bool Exists(std::string_view key) const;

  // Typed reads with the runtime's coercion rules (13 "Type mismatch", 6 "Overflow").
  int16_t ReadInteger(std::string_view key, int16_t defaultValue = 0) const;
  int32_t ReadLong(std::string_view key, int32_t defaultValue = 0) const;
  bool ReadBoolean(std::string_view key, bool defaultValue = false) const;
  double ReadDouble(std::string_view key, double defaultValue = 0) const;
  double ReadDate(std::string_view key, double defaultValue = 0) const;
  Currency ReadCurrency(std::string_view key, Currency defaultValue = {}) const;
  std::string ReadText(std::string_view key, std::string_view defaultValue = {}) const;
  Bytes ReadBytes(std::string_view key) const;
  // A nested object of class T; null when absent or stored as Nothing; a stored object
  // of another class raises 13 "Type mismatch". Nothing (a null object written) is kept
  // as an entry whose value is an Object variant holding null.
  template <class T>
  std::shared_ptr<T> ReadObject(std::string_view key) const {
    return ReadProperty(key).ToObject<T>();
  }

  // The whole store as bytes, and back. SetContents decodes fully before it replaces
  // anything, so undecodable bytes raise a CError and leave the bag unchanged.
  Bytes Contents() const;
  void SetContents(const Bytes& bytes);

  const std::vector<Entry>& Entries() const;
  size_t Count() const { return Entries().size(); }
  void Clear();

  // For the decoder: appends an entry as it was stored, without coercion. A key already
  // present raises kInvalidBagContents; TryAppendDecoded returns false instead.
  void AppendDecoded(Entry entry);
  bool TryAppendDecoded(Entry& entry);

 private:
  friend class BagStream;     // library-internal: the writer of a bag whose writes stream
  friend struct BagDecoding;  // library-internal: the decoder appends entries in one step
  friend struct BagInPlace;   // library-internal: bags that read stored bytes in place

  explicit PropertyBag(const StoredMap& stored);
  // Makes a bag that streams or reads in place hold its entries.
  void Settle() const;
  void SettleStored() const;
  const StoredMap* Stored() const { return stored_.load(std::memory_order_acquire); }
  const StoredEntry* FindStored(const StoredMap& map, std::string_view key) const;
  // Runs read on the stored value of key (13 for a nested object); false when absent.
  template <class Read>
  bool WithScalar(std::string_view key, Read&& read) const;
  // The position of key (of that hash) among count entries whose hashes and keys the
  // functions give, or -1; Lookup tries the read hint first.
  template <class HashAt, class KeyAt>
  std::ptrdiff_t Search(size_t count, HashAt&& hashAt, KeyAt&& keyAt, std::string_view key,
                        uint64_t hash) const;
  template <class HashAt, class KeyAt>
  std::ptrdiff_t Lookup(size_t count, HashAt&& hashAt, KeyAt&& keyAt, std::string_view key) const;

  const Entry* Find(std::string_view key) const;
  // The stored value for a typed read: null when absent, 13 for a nested object.
  const Variant* StoredScalar(std::string_view key) const;
  void Store(std::string_view key, Variant value, std::shared_ptr<const NestedObject> nested);
  void Erase(std::string_view key);
  std::ptrdiff_t PositionOf(std::string_view key, uint64_t hash) const;
  void Index(size_t position);
  void AppendHashed(Entry&& entry, uint64_t hash);

  void WriteText(std::string_view key, const std::string& value);
  void WriteText(std::string_view key, const std::string& value, const std::string& defaultValue);
  void Omit(std::string_view key);

  // Small bags are searched from start to end by folded-key hash; past kLinearSearch
  // entries a hash index takes over, so crafted bytes with many keys cannot make loading
  // quadratic.
  static constexpr size_t kLinearSearch = 48;

  std::vector<Entry> entries_;
  std::vector<uint64_t> hashes_;  // folded-key hash per entry
  // One bit per hash ever stored (hash >> 58): a clear bit means the key is absent, so
  // reads of keys left at their default skip the search.
  uint64_t present_ = 0;
  std::unordered_multimap<uint64_t, size_t> large_;  // hash -> position, large bags only
  // Set while writes stream (see BagStream); the entries above are empty then.
  std::atomic<BagStream*> stream_{nullptr};
  // Set while the bag reads stored bytes in place; the entries above are empty then.
  std::atomic<const StoredMap*> stored_{nullptr};

  // Where the next read most likely looks: load routines read keys in the order they
  // were written. Only a hint, so a copy or a race costs a search, never a wrong answer.
  struct ReadHint {
    ReadHint() = default;
    ReadHint(const ReadHint&) {}
    ReadHint& operator=(const ReadHint&) { return *this; }
    mutable std::atomic<size_t> next{0};
  };
  ReadHint hint_;
};

// Creates the persisted form of an object: its class name and the properties its save
// routine writes into a fresh bag.
PRVDRINFO_API std::shared_ptr<const NestedObject> CaptureObject(const IPersistable& object);
// A new instance of the stored class, loaded from the stored properties.
PRVDRINFO_API std::shared_ptr<IPersistable> RestoreObject(const NestedObject& nested);

}  // namespace prvdrinfo
