#include "prvdrinfo/foundation/property_bag.h"

#include <mutex>
#include <utility>

#include "foundation/internal/ascii.h"
#include "foundation/bag_codec.h"
#include "foundation/bag_in_place.h"
#include "foundation/bag_stream.h"
#include "foundation/folded_key.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kWrite{"PQSDD2SIMJA4YYK241PXMLNTZ", "PropertyBag.WriteProperty"};
constexpr ErrorSite kWriteDefault{"NVNNWERG6U2WUDSA1HI6HMAHN", "PropertyBag.WriteProperty"};
constexpr ErrorSite kRead{"K5IR2LM6R9S14SCLBQF8F8WRH", "PropertyBag.ReadProperty"};
constexpr ErrorSite kReadTyped{"QE2WUGH972FF5G24YK8VTXKKD", "PropertyBag.ReadProperty"};
constexpr ErrorSite kContents{"FWBX83HABTPTWMWEXLC394MN6", "PropertyBag.Contents"};
constexpr ErrorSite kSetContents{"ZGHYD3R5VWKYI6Z1Z4EZQDLJL", "PropertyBag.Contents"};
constexpr ErrorSite kAppend{"V8UZ12Z5EXHLOZ0HXD10693BL", "PropertyBag.Contents"};
constexpr ErrorSite kExists{"069QJGF78V8X8VINWYYJVVO84", "PropertyBag.Exists"};

uint64_t PresenceBit(uint64_t hash) { return uint64_t{1} << (hash >> 58); }

// Guards a const bag that reads in place while it takes its entries.
std::mutex settlingStored;

// Texts are kept as the bytes will hold them, so a value reads back the same before and
// after a round trip through Contents.
Variant Normalized(const Variant& value) {
  if (value.IsText() && !bag_codec::IsValidUtf8(value.AsText())) {
    return Variant(bag_codec::ValidUtf8(value.AsText()));
  }
  return value;
}

}  // namespace

PropertyBag::PropertyBag(const StoredMap& stored) {
  const std::span<const StoredEntry> entries = stored.document->EntriesOf(stored);
  for (const StoredEntry& entry : entries) present_ |= PresenceBit(entry.hash);
  if (entries.size() > kLinearSearch) {
    large_.reserve(entries.size() * 2);
    for (size_t i = 0; i < entries.size(); ++i) large_.emplace(entries[i].hash, i);
  }
  stored_.store(&stored, std::memory_order_relaxed);
}

PropertyBag::PropertyBag(const PropertyBag& other) {
  other.Settle();
  entries_ = other.entries_;
  hashes_ = other.hashes_;
  present_ = other.present_;
  large_ = other.large_;
}

PropertyBag::PropertyBag(PropertyBag&& other) {
  other.Settle();
  BagStream::MoveEntries(*this, other);
}

PropertyBag& PropertyBag::operator=(const PropertyBag& other) {
  if (this != &other) *this = PropertyBag(other);
  return *this;
}

PropertyBag& PropertyBag::operator=(PropertyBag&& other) {
  if (this != &other) {
    other.Settle();
    BagStream::Detach(*this);
    stored_.store(nullptr, std::memory_order_relaxed);
    BagStream::MoveEntries(*this, other);
  }
  return *this;
}

PropertyBag::~PropertyBag() { BagStream::Detach(*this); }

// A value left at its default is not stored, and one stored before goes.
inline void PropertyBag::Omit(std::string_view key) {
  if (BagStream* stream = stream_.load(std::memory_order_relaxed); stream && !stream->Wrote(key))
    return;
  Settle();
  Erase(key);
}

void PropertyBag::WriteProperty(std::string_view key, const Variant& value) {
  kWrite.Guard([&] {
    if (BagStream* stream = BagStream::Of(*this); stream && stream->Write(key, value)) return;
    Settle();
    if (value.IsObject()) {
      const auto& object = value.AsObject();
      if (!object) {
        Store(key, value, nullptr);  // Nothing
        return;
      }
      const auto persistable = std::dynamic_pointer_cast<IPersistable>(object);
      if (!persistable) kWrite.Raise(err::kTypeMismatch);
      Store(key, Variant(), CaptureObject(*persistable));
      return;
    }
    Store(key, Normalized(value), nullptr);
  });
}

void PropertyBag::WriteProperty(std::string_view key, const Variant& value,
                                const Variant& defaultValue) {
  kWriteDefault.Guard([&] {
    if (value == defaultValue) {
      Omit(key);
      return;
    }
    WriteProperty(key, value);
  });
}

void PropertyBag::WriteText(std::string_view key, const std::string& value) {
  kWrite.Guard([&] {
    if (BagStream* stream = BagStream::Of(*this); stream && stream->WriteText(key, value)) return;
    WriteProperty(key, Variant(value));
  });
}

void PropertyBag::WriteText(std::string_view key, const std::string& value,
                            const std::string& defaultValue) {
  kWriteDefault.Guard([&] {
    if (value == defaultValue) {
      Omit(key);
      return;
    }
    WriteText(key, value);
  });
}

Variant PropertyBag::ReadProperty(std::string_view key) const {
  return ReadProperty(key, Variant());
}

Variant PropertyBag::ReadProperty(std::string_view key, const Variant& defaultValue) const {
  return kRead.Guard([&]() -> Variant {
    if (const StoredMap* map = Stored()) {
      const StoredEntry* stored = FindStored(*map, key);
      if (!stored) return defaultValue;
      if (const StoredMap* object = map->document->ObjectOf(*stored))
        return Variant(RestoreStoredObject(*object));
      return bag_codec::StoredValue(*map, *stored);
    }
    const Entry* entry = Find(key);
    if (!entry) return defaultValue;
    if (entry->nested) return Variant(RestoreObject(*entry->nested));
    return entry->value;
  });
}

bool PropertyBag::Exists(std::string_view key) const {
  return kExists.Guard([&] {
    if (const StoredMap* map = Stored()) return FindStored(*map, key) != nullptr;
    return Find(key) != nullptr;
  });
}

// Typed reads coerce the stored value; a nested object is never instantiated for them.
const Variant* PropertyBag::StoredScalar(std::string_view key) const {
  const Entry* entry = Find(key);
  if (!entry) return nullptr;
  if (entry->nested) RaiseTypeMismatch();
  return &entry->value;
}

template <class Read>
bool PropertyBag::WithScalar(std::string_view key, Read&& read) const {
  if (const StoredMap* map = Stored()) {
    const StoredEntry* stored = FindStored(*map, key);
    if (!stored) return false;
    if (stored->object) RaiseTypeMismatch();
    read(bag_codec::StoredValue(*map, *stored));
    return true;
  }
  const Variant* value = StoredScalar(key);
  if (!value) return false;
  read(*value);
  return true;
}

int16_t PropertyBag::ReadInteger(std::string_view key, int16_t defaultValue) const {
  return kReadTyped.Guard([&] {
    int16_t result = defaultValue;
    WithScalar(key, [&](const Variant& value) { result = value.ToInteger(); });
    return result;
  });
}

int32_t PropertyBag::ReadLong(std::string_view key, int32_t defaultValue) const {
  return kReadTyped.Guard([&] {
    int32_t result = defaultValue;
    WithScalar(key, [&](const Variant& value) { result = value.ToLong(); });
    return result;
  });
}

bool PropertyBag::ReadBoolean(std::string_view key, bool defaultValue) const {
  return kReadTyped.Guard([&] {
    bool result = defaultValue;
    WithScalar(key, [&](const Variant& value) { result = value.ToBoolean(); });
    return result;
  });
}

double PropertyBag::ReadDouble(std::string_view key, double defaultValue) const {
  return kReadTyped.Guard([&] {
    double result = defaultValue;
    WithScalar(key, [&](const Variant& value) { result = value.ToDouble(); });
    return result;
  });
}

double PropertyBag::ReadDate(std::string_view key, double defaultValue) const {
  return kReadTyped.Guard([&] {
    double result = defaultValue;
    WithScalar(key, [&](const Variant& value) { result = value.ToDate(); });
    return result;
  });
}

Currency PropertyBag::ReadCurrency(std::string_view key, Currency defaultValue) const {
  return kReadTyped.Guard([&] {
    Currency result = defaultValue;
    WithScalar(key, [&](const Variant& value) { result = value.ToCurrency(); });
    return result;
  });
}

std::string PropertyBag::ReadText(std::string_view key, std::string_view defaultValue) const {
  return kReadTyped.Guard([&] {
    if (const StoredMap* map = Stored()) {
      const StoredEntry* stored = FindStored(*map, key);
      if (!stored) return std::string(defaultValue);
      if (stored->object) RaiseTypeMismatch();
      // Stored text is read straight into the result.
      if (std::string_view text; bag_codec::StoredText(*stored, text)) return std::string(text);
      return bag_codec::StoredValue(*map, *stored).ToText();
    }
    const Variant* value = StoredScalar(key);
    return value ? value->ToText() : std::string(defaultValue);
  });
}

Bytes PropertyBag::ReadBytes(std::string_view key) const {
  return kReadTyped.Guard([&] {
    Bytes result;
    WithScalar(key, [&](const Variant& value) { result = value.ToBytes(); });
    return result;
  });
}

Bytes PropertyBag::Contents() const {
  return kContents.Guard([&] {
    if (auto streamed = BagStream::StreamedContents(*this)) return std::move(*streamed);
    return bag_codec::EncodeBag(*this);
  });
}

void PropertyBag::SetContents(const Bytes& bytes) {
  kSetContents.Guard([&] {
    PropertyBag decoded = bag_codec::DecodeBag(bytes);
    *this = std::move(decoded);
  });
}

const std::vector<PropertyBag::Entry>& PropertyBag::Entries() const {
  Settle();
  return entries_;
}

void PropertyBag::Settle() const {
  BagStream::Settle(*this);
  if (Stored()) SettleStored();
}

void PropertyBag::SettleStored() const {
  kRead.Guard([&] {
    const std::lock_guard lock(settlingStored);
    const StoredMap* map = stored_.load(std::memory_order_relaxed);
    if (!map) return;
    // The bytes were checked when indexed: decoding them again cannot fail. The presence
    // bits and hash index stay: they are the same for the entries, and a reader that
    // began in place may still be using them.
    PropertyBag decoded;
    bag_codec::DecodeMap(map->bytes, map->depth, decoded);
    auto& self = const_cast<PropertyBag&>(*this);
    self.entries_ = std::move(decoded.entries_);
    self.hashes_ = std::move(decoded.hashes_);
    self.stored_.store(nullptr, std::memory_order_release);
  });
}

bool BagInPlace::StoredByteArray(const PropertyBag& bag, std::string_view key,
                                 std::span<const uint8_t>& bytes) {
  if (const StoredMap* map = bag.Stored()) {
    const StoredEntry* stored = bag.FindStored(*map, key);
    return stored && !stored->object && bag_codec::StoredByteString(*stored, bytes);
  }
  const PropertyBag::Entry* entry = bag.Find(key);
  if (!entry || entry->nested || !entry->value.IsBytes()) return false;
  bytes = entry->value.AsBytes();
  return true;
}

void PropertyBag::Clear() {
  if (BagStream* stream = stream_.load(std::memory_order_relaxed))
    kWrite.Guard([&] { stream->Clear(); });
  stored_.store(nullptr, std::memory_order_relaxed);
  entries_.clear();
  hashes_.clear();
  present_ = 0;
  large_.clear();
}

void PropertyBag::AppendDecoded(Entry entry) {
  kAppend.Guard([&] {
    if (!TryAppendDecoded(entry))
      kAppend.Raise(err::kInvalidBagContents, "Invalid property bag contents: duplicate key");
  });
}

bool PropertyBag::TryAppendDecoded(Entry& entry) {
  Settle();
  const uint64_t hash = folded_key::Hash(entry.key);
  if (PositionOf(entry.key, hash) >= 0) return false;
  AppendHashed(std::move(entry), hash);
  return true;
}

void PropertyBag::AppendHashed(Entry&& entry, uint64_t hash) {
  entries_.push_back(std::move(entry));
  hashes_.push_back(hash);
  present_ |= PresenceBit(hash);
  Index(entries_.size() - 1);
}

template <class HashAt, class KeyAt>
std::ptrdiff_t PropertyBag::Search(size_t count, HashAt&& hashAt, KeyAt&& keyAt,
                                   std::string_view key, uint64_t hash) const {
  if (!(present_ & PresenceBit(hash))) return -1;
  if (large_.empty()) {
    for (size_t i = 0; i < count; ++i) {
      if (hashAt(i) == hash && folded_key::Same(keyAt(i), key))
        return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
  }
  const auto [from, to] = large_.equal_range(hash);
  for (auto it = from; it != to; ++it) {
    if (folded_key::Same(keyAt(it->second), key)) return static_cast<std::ptrdiff_t>(it->second);
  }
  return -1;
}

std::ptrdiff_t PropertyBag::PositionOf(std::string_view key, uint64_t hash) const {
  return Search(
      hashes_.size(), [&](size_t i) { return hashes_[i]; },
      [&](size_t i) -> std::string_view { return entries_[i].key; }, key, hash);
}

// Keeps the hash index of a large bag; builds it when the bag grows past linear search.
void PropertyBag::Index(size_t position) {
  if (!large_.empty()) {
    large_.emplace(hashes_[position], position);
  } else if (entries_.size() > kLinearSearch) {
    large_.reserve(entries_.size() * 2);
    for (size_t i = 0; i < hashes_.size(); ++i) large_.emplace(hashes_[i], i);
  }
}

template <class HashAt, class KeyAt>
std::ptrdiff_t PropertyBag::Lookup(size_t count, HashAt&& hashAt, KeyAt&& keyAt,
                                   std::string_view key) const {
  if (count == 0) return -1;
  const size_t hinted = hint_.next.load(std::memory_order_relaxed);
  // Reads mostly spell a key as it was written: the exact comparison settles most.
  std::ptrdiff_t position = -1;
  if (hinted < count && (keyAt(hinted) == key || ascii::EqualsIgnoreCase(keyAt(hinted), key))) {
    position = static_cast<std::ptrdiff_t>(hinted);
  } else {
    position = Search(count, hashAt, keyAt, key, folded_key::Hash(key));
    if (position < 0) return -1;
  }
  hint_.next.store(static_cast<size_t>(position) + 1, std::memory_order_relaxed);
  return position;
}

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const {
  BagStream::Settle(*this);
  const std::ptrdiff_t position = Lookup(
      entries_.size(), [&](size_t i) { return hashes_[i]; },
      [&](size_t i) -> std::string_view { return entries_[i].key; }, key);
  return position < 0 ? nullptr : &entries_[static_cast<size_t>(position)];
}

const StoredEntry* PropertyBag::FindStored(const StoredMap& map, std::string_view key) const {
  const std::span<const StoredEntry> entries = map.document->EntriesOf(map);
  const std::ptrdiff_t position = Lookup(
      entries.size(), [&](size_t i) { return entries[i].hash; },
      [&](size_t i) { return entries[i].key; }, key);
  return position < 0 ? nullptr : &entries[static_cast<size_t>(position)];
}

void PropertyBag::Store(std::string_view key, Variant value,
                        std::shared_ptr<const NestedObject> nested) {
  std::string spelled = bag_codec::ValidUtf8(key);
  const uint64_t hash = folded_key::Hash(spelled);
  if (const std::ptrdiff_t position = PositionOf(spelled, hash); position >= 0) {
    // Writing a key again keeps its place and takes the new spelling and value.
    Entry& entry = entries_[static_cast<size_t>(position)];
    entry.key = std::move(spelled);
    entry.value = std::move(value);
    entry.nested = std::move(nested);
    return;
  }
  entries_.push_back(Entry{std::move(spelled), std::move(value), std::move(nested)});
  hashes_.push_back(hash);
  present_ |= PresenceBit(hash);
  Index(entries_.size() - 1);
}

void PropertyBag::Erase(std::string_view key) {
  if (entries_.empty()) return;
  const std::ptrdiff_t position = PositionOf(key, folded_key::Hash(key));
  if (position < 0) return;
  entries_.erase(entries_.begin() + position);
  hashes_.erase(hashes_.begin() + position);
  if (!large_.empty()) {
    large_.clear();
    if (entries_.size() > kLinearSearch) {
      for (size_t i = 0; i < hashes_.size(); ++i) large_.emplace(hashes_[i], i);
    }
  }
}

}  // namespace prvdrinfo
