#include "prvdrinfo/foundation/property_bag.h"

#include <utility>

#include "foundation/internal/ascii.h"
#include "foundation/bag_codec.h"
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

// Texts are kept as the bytes will hold them, so a value reads back the same before and
// after a round trip through Contents.
Variant Normalized(const Variant& value) {
  if (value.IsText() && !bag_codec::IsValidUtf8(value.AsText())) {
    return Variant(bag_codec::ValidUtf8(value.AsText()));
  }
  return value;
}

}  // namespace

PropertyBag::PropertyBag(const PropertyBag& other) {
  BagStream::Settle(other);
  entries_ = other.entries_;
  hashes_ = other.hashes_;
  present_ = other.present_;
  large_ = other.large_;
}

PropertyBag::PropertyBag(PropertyBag&& other) { BagStream::MoveEntries(*this, other); }

PropertyBag& PropertyBag::operator=(const PropertyBag& other) {
  if (this != &other) *this = PropertyBag(other);
  return *this;
}

PropertyBag& PropertyBag::operator=(PropertyBag&& other) {
  if (this != &other) {
    BagStream::Detach(*this);
    BagStream::MoveEntries(*this, other);
  }
  return *this;
}

PropertyBag::~PropertyBag() { BagStream::Detach(*this); }

// A value left at its default is not stored, and one stored before goes.
inline void PropertyBag::Omit(std::string_view key) {
  if (BagStream* stream = stream_.load(std::memory_order_relaxed); stream && !stream->Wrote(key))
    return;
  BagStream::Settle(*this);
  Erase(key);
}

void PropertyBag::WriteProperty(std::string_view key, const Variant& value) {
  kWrite.Guard([&] {
    if (BagStream* stream = BagStream::Of(*this); stream && stream->Write(key, value)) return;
    BagStream::Settle(*this);
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
    const Entry* entry = Find(key);
    if (!entry) return defaultValue;
    if (entry->nested) return Variant(RestoreObject(*entry->nested));
    return entry->value;
  });
}

bool PropertyBag::Exists(std::string_view key) const {
  return kExists.Guard([&] { return Find(key) != nullptr; });
}

// Typed reads coerce the stored value; a nested object is never instantiated for them.
const Variant* PropertyBag::StoredScalar(std::string_view key) const {
  const Entry* entry = Find(key);
  if (!entry) return nullptr;
  if (entry->nested) RaiseTypeMismatch();
  return &entry->value;
}

int16_t PropertyBag::ReadInteger(std::string_view key, int16_t defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToInteger() : defaultValue;
  });
}

int32_t PropertyBag::ReadLong(std::string_view key, int32_t defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToLong() : defaultValue;
  });
}

bool PropertyBag::ReadBoolean(std::string_view key, bool defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToBoolean() : defaultValue;
  });
}

double PropertyBag::ReadDouble(std::string_view key, double defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToDouble() : defaultValue;
  });
}

double PropertyBag::ReadDate(std::string_view key, double defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToDate() : defaultValue;
  });
}

Currency PropertyBag::ReadCurrency(std::string_view key, Currency defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToCurrency() : defaultValue;
  });
}

std::string PropertyBag::ReadText(std::string_view key, std::string_view defaultValue) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToText() : std::string(defaultValue);
  });
}

Bytes PropertyBag::ReadBytes(std::string_view key) const {
  return kReadTyped.Guard([&] {
    const Variant* value = StoredScalar(key);
    return value ? value->ToBytes() : Bytes();
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
  BagStream::Settle(*this);
  return entries_;
}

void PropertyBag::Clear() {
  if (BagStream* stream = stream_.load(std::memory_order_relaxed))
    kWrite.Guard([&] { stream->Clear(); });
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
  BagStream::Settle(*this);
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

std::ptrdiff_t PropertyBag::PositionOf(std::string_view key, uint64_t hash) const {
  if (!(present_ & PresenceBit(hash))) return -1;
  if (large_.empty()) {
    for (size_t i = 0; i < hashes_.size(); ++i) {
      if (hashes_[i] == hash && folded_key::Same(entries_[i].key, key))
        return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
  }
  const auto [from, to] = large_.equal_range(hash);
  for (auto it = from; it != to; ++it) {
    if (folded_key::Same(entries_[it->second].key, key))
      return static_cast<std::ptrdiff_t>(it->second);
  }
  return -1;
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

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const {
  BagStream::Settle(*this);
  if (entries_.empty()) return nullptr;
  const size_t hinted = hint_.next.load(std::memory_order_relaxed);
  // Reads mostly spell a key as it was written: the exact comparison settles most.
  if (hinted < entries_.size() &&
      (entries_[hinted].key == key || ascii::EqualsIgnoreCase(entries_[hinted].key, key))) {
    hint_.next.store(hinted + 1, std::memory_order_relaxed);
    return &entries_[hinted];
  }
  const std::ptrdiff_t position = PositionOf(key, folded_key::Hash(key));
  if (position < 0) return nullptr;
  hint_.next.store(static_cast<size_t>(position) + 1, std::memory_order_relaxed);
  return &entries_[static_cast<size_t>(position)];
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
