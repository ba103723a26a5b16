#include "prvdrinfo/foundation/property_bag.h"

#include <utility>

#include "foundation/bag_codec.h"
#include "foundation/load_depth.h"
#include "prvdrinfo/foundation/unicode.h"
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
constexpr ErrorSite kCapture{"KYV05YM6HRE639U0CDFI25V4N", "PropertyBag.WriteProperty"};
constexpr ErrorSite kRestore{"UVTKHWB8C5SEVS1CFDDPT617A", "PropertyBag.ReadProperty"};
constexpr ErrorSite kExists{"069QJGF78V8X8VINWYYJVVO84", "PropertyBag.Exists"};
constexpr ErrorSite kLoadDepth{"Z6G8H2ZAUCHCF5BCNZ2PMOPVJ", "PropertyBag.ReadProperty"};

// How many objects are being captured on this thread, one inside the other. An object
// graph with a cycle would otherwise save itself until the stack runs out.
thread_local int captureDepth = 0;
thread_local int loadDepth = 0;

struct CaptureLevel {
  CaptureLevel() { ++captureDepth; }
  ~CaptureLevel() { --captureDepth; }
  CaptureLevel(const CaptureLevel&) = delete;
  CaptureLevel& operator=(const CaptureLevel&) = delete;
};

// Texts are kept as the bytes will hold them, so a value reads back the same before and
// after a round trip through Contents.
Variant Normalized(const Variant& value) {
  if (value.IsText() && !bag_codec::IsValidUtf8(value.AsText())) {
    return Variant(bag_codec::ValidUtf8(value.AsText()));
  }
  return value;
}

}  // namespace

void PropertyBag::WriteProperty(std::string_view key, const Variant& value) {
  kWrite.Guard([&] {
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

void PropertyBag::WriteProperty(std::string_view key, const Variant& value, const Variant& defaultValue) {
  kWriteDefault.Guard([&] {
    if (value == defaultValue) {
      Erase(key);
      return;
    }
    WriteProperty(key, value);
  });
}

Variant PropertyBag::ReadProperty(std::string_view key) const { return ReadProperty(key, Variant()); }

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
  return kContents.Guard([&] { return bag_codec::EncodeBag(*this); });
}

void PropertyBag::SetContents(const Bytes& bytes) {
  kSetContents.Guard([&] {
    PropertyBag decoded = bag_codec::DecodeBag(bytes);
    *this = std::move(decoded);
  });
}

void PropertyBag::Clear() {
  entries_.clear();
  index_.clear();
}

void PropertyBag::AppendDecoded(Entry entry) {
  kAppend.Guard([&] {
    std::string folded = unicode::FoldCase(entry.key);
    if (index_.contains(folded)) kAppend.Raise(err::kInvalidBagContents, "Invalid property bag contents: duplicate key");
    entries_.push_back(std::move(entry));
    index_.emplace(std::move(folded), entries_.size() - 1);
  });
}

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const {
  if (entries_.empty()) return nullptr;
  const auto it = index_.find(unicode::FoldCase(key));
  return it == index_.end() ? nullptr : &entries_[it->second];
}

void PropertyBag::Store(std::string_view key, Variant value, std::shared_ptr<const NestedObject> nested) {
  const std::string spelled = bag_codec::ValidUtf8(key);
  std::string folded = unicode::FoldCase(spelled);
  if (const auto it = index_.find(folded); it != index_.end()) {
    // Writing a key again keeps its place and takes the new spelling and value.
    Entry& entry = entries_[it->second];
    entry.key = spelled;
    entry.value = std::move(value);
    entry.nested = std::move(nested);
    return;
  }
  entries_.push_back(Entry{spelled, std::move(value), std::move(nested)});
  index_.emplace(std::move(folded), entries_.size() - 1);
}

void PropertyBag::Erase(std::string_view key) {
  const auto it = index_.find(unicode::FoldCase(key));
  if (it == index_.end()) return;
  const size_t position = it->second;
  index_.erase(it);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  for (auto& [folded, index] : index_) {
    if (index > position) --index;
  }
}

std::shared_ptr<const NestedObject> CaptureObject(const IPersistable& object) {
  return kCapture.Guard([&] {
    if (captureDepth >= PropertyBag::kMaxDepth) {
      kCapture.Raise(err::kInvalidProcedureCall, "Objects nested deeper than " +
                                                     std::to_string(PropertyBag::kMaxDepth) +
                                                     " levels cannot be stored.");
    }
    const CaptureLevel level;
    auto properties = std::make_shared<PropertyBag>();
    object.Class_WriteProperties(*properties);
    auto nested = std::make_shared<NestedObject>();
    nested->className = object.ClassName();
    nested->properties = std::move(properties);
    return std::shared_ptr<const NestedObject>(std::move(nested));
  });
}

LoadDepth::LoadDepth() {
  if (loadDepth >= kMaxLoadDepth) {
    kLoadDepth.Raise(err::kInvalidBagContents, "Invalid property bag contents: objects nested deeper than " +
                                                   std::to_string(kMaxLoadDepth) + " levels");
  }
  ++loadDepth;
}

LoadDepth::~LoadDepth() { --loadDepth; }

std::shared_ptr<IPersistable> RestoreObject(const NestedObject& nested) {
  return kRestore.Guard([&] {
    const LoadDepth level;
    auto object = ClassRegistry::Create(nested.className);
    if (nested.properties) {
      object->Class_ReadProperties(*nested.properties);
    } else {
      object->Class_ReadProperties(PropertyBag());
    }
    return object;
  });
}

}  // namespace prvdrinfo
