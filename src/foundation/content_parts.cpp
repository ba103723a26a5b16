#include "foundation/internal/content_parts.h"

#include <memory>
#include <vector>

#include "foundation/bag_stream.h"
#include "foundation/scratch_bytes.h"
#include "foundation/internal/sha256.h"

namespace prvdrinfo::content {

namespace {
constexpr int32_t kObjectNotSet = 91;
constexpr int32_t kNoSuchMember = 438;
}  // namespace

void AppendBytes(StringBuilder& builder, std::span<const uint8_t> bytes) {
  builder.AppendRawBytes(bytes);
}

void AppendBag(StringBuilder& builder, const PropertyBag& bag) {
  static constexpr ErrorSite kSite{"BETUBNHVLU53ZKGMAVDVNBYHD", "AppendContentString3"};
  kSite.Guard([&] { builder.AppendRawBytes(bag.Contents()); });
}

void AppendPropertiesWith(StringBuilder& builder, void* routine, void (*run)(void*, PropertyBag&)) {
  static constexpr ErrorSite kSite{"G6WB99M9HTK9LLI5I3FQWFASJ", "AppendContentString3"};
  kSite.Guard([&] {
    ScratchBytes scratch;
    BagStream::DocumentWith(scratch.Buffer(), routine, run);
    builder.AppendRawBytes(scratch.Buffer());
  });
}

void AppendSerialized(StringBuilder& builder, const IPersistable& object) {
  AppendProperties(builder, [&](PropertyBag& bag) { object.Class_WriteProperties(bag); });
}

namespace {
// Hashers kept on this thread: identifiers made of parts take one per part (a view's
// auto-save identifier one per visible column), and a fresh OpenSSL context each time
// costs more than hashing the part. Identifiers nest, so each level has its own.
thread_local std::vector<std::unique_ptr<Sha256Hasher>> hashers;
thread_local size_t hashersInUse = 0;

class PooledHasher {
 public:
  PooledHasher() {
    if (hashers.size() == hashersInUse) hashers.push_back(std::make_unique<Sha256Hasher>());
    hasher_ = hashers[hashersInUse].get();
    hasher_->Reset();
    ++hashersInUse;
  }
  ~PooledHasher() { --hashersInUse; }
  PooledHasher(const PooledHasher&) = delete;
  PooledHasher& operator=(const PooledHasher&) = delete;
  Sha256Hasher& Get() { return *hasher_; }

 private:
  Sha256Hasher* hasher_;
};
}  // namespace

std::string DigestOfRenderedWith(void* routine, void (*run)(void*, StringBuilder&)) {
  PooledHasher hasher;
  StringBuilder builder(hasher.Get());
  run(routine, builder);
  builder.Flush();
  // The pooled hasher is reset before its next use, so the digest can end it.
  return Sha256Hasher::ToHex(hasher.Get().Take());
}

std::string ContentIdOfRenderedWith(void* routine, void (*run)(void*, StringBuilder&)) {
  static constexpr ErrorSite kSite{"KQ7VZ3M1XW8RT5HN2PLC9DBY4", "ContentId"};
  return kSite.Guard([&] { return DigestOfRenderedWith(routine, run); });
}

void AppendContentId(StringBuilder& builder, std::string_view contentId) {
  static constexpr ErrorSite kSite{"R2WQ8JDNX4TV6ZL1HB3KPM0CY", "AppendContentString3"};
  kSite.Guard([&] {
    if (contentId.size() > 64) kSite.Raise(err::kInvalidProcedureCall, "Not a content identifier.");
    char16_t wide[64];
    for (size_t i = 0; i < contentId.size(); ++i)
      wide[i] = static_cast<char16_t>(static_cast<unsigned char>(contentId[i]));
    builder.Append(std::u16string_view(wide, contentId.size()));
  });
}

void AppendValue(StringBuilder& builder, const Variant& value) {
  static constexpr ErrorSite kSite{"9AXUAXQ3OW3GASYMCTKHZ2HZQ", "AppendContentString3"};
  kSite.Guard([&] {
    if (value.IsEmpty() || value.IsNull()) return;
    if (value.IsBytes()) {
      builder.AppendRawBytes(value.AsBytes());
    } else if (value.IsObject()) {
      const auto& object = value.AsObject();
      if (!object) return;
      const auto* source = dynamic_cast<const IContentSource*>(object.get());
      if (!source) kSite.Raise(err::kTypeMismatch);
      source->AppendContentString3(builder);
    } else {
      builder.Append(value.ToText());
    }
  });
}

void AppendValuesAndKeys(StringBuilder& builder, const KeyedCollection& collection) {
  static constexpr ErrorSite kSite{"SSXEIT6RA498JE5BOKOWX141E", "AppendContentString3"};
  kSite.Guard([&] {
    for (auto it = collection.begin(); it != collection.end(); ++it) {
      AppendValue(builder, *it);
      builder.Append(it.Key());
    }
  });
}

void AppendMember(StringBuilder& builder, const Variant& member) {
  static constexpr ErrorSite kSite{"0C93RUAINY2UUXQQ0HTKJ2YJQ", "AppendContentString3"};
  kSite.Guard([&] {
    if (!member.IsObject()) kSite.Raise(err::kObjectRequired);
    const auto& object = member.AsObject();
    if (!object) kSite.Raise(kObjectNotSet);
    const auto* source = dynamic_cast<const IContentSource*>(object.get());
    if (!source) kSite.Raise(kNoSuchMember);
    source->AppendContentString3(builder);
  });
}

void AppendMembers(StringBuilder& builder, const KeyedCollection& members) {
  static constexpr ErrorSite kSite{"KM23MUYVPSUS80EQNJ4K1G2DB", "AppendContentString3"};
  kSite.Guard([&] {
    for (const Variant& member : members) AppendMember(builder, member);
  });
}

}  // namespace prvdrinfo::content
