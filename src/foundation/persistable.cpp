#include "prvdrinfo/foundation/persistable.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "foundation/bag_codec.h"
#include "foundation/bag_in_place.h"
#include "foundation/bag_stream.h"
#include "foundation/internal/class_registration.h"
#include "foundation/load_depth.h"
#include "foundation/object_writer.h"
#include "foundation/scratch_bytes.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kSerialize{"FLPSUARFWKAWI4LPEWTDRUI42", "CPersistable.Serialize"};
constexpr ErrorSite kDeserialize{"2PA46E4DQDRAEWDPVARCHJ9EX", "CPersistable.Deserialize"};
constexpr ErrorSite kSerializeV{"191HQ6Z9G4UP3V1AAGVHVHRD0", "CPersistable.SerializeV"};
constexpr ErrorSite kDeserializeV{"BFGL5GKTEEALUJ9YJC8I18SP7", "CPersistable.DeserializeV"};
constexpr ErrorSite kRegister{"826W91KWESY2J3T4AR9A2XGO3", "ClassRegistry.Register"};
constexpr ErrorSite kCreate{"61S9UMATAFY3E4SR0RSJE6DYU", "ClassRegistry.Create"};
constexpr ErrorSite kIsRegistered{"TBBMWJ7NPKZ8I1UHTZ8GF4NK3", "ClassRegistry.IsRegistered"};
constexpr ErrorSite kCapture{"KYV05YM6HRE639U0CDFI25V4N", "PropertyBag.WriteProperty"};
constexpr ErrorSite kWriteObject{"J9PCQMADAKNLLGTFN191EA2U1", "PropertyBag.WriteProperty"};
constexpr ErrorSite kRestore{"UVTKHWB8C5SEVS1CFDDPT617A", "PropertyBag.ReadProperty"};
constexpr ErrorSite kLoadDepth{"Z6G8H2ZAUCHCF5BCNZ2PMOPVJ", "PropertyBag.ReadProperty"};

// How many objects are writing themselves on this thread, one inside the other, across
// documents (an object may write a collection whose items are objects). An object graph
// with a cycle would otherwise write itself until the stack runs out.
thread_local int writeDepth = 0;
thread_local int loadDepth = 0;

class WriteLevel {
 public:
  explicit WriteLevel(const ErrorSite& site) {
    if (writeDepth >= PropertyBag::kMaxDepth) RaiseTooDeep(site);
    ++writeDepth;
  }
  ~WriteLevel() { --writeDepth; }
  WriteLevel(const WriteLevel&) = delete;
  WriteLevel& operator=(const WriteLevel&) = delete;

  [[noreturn]] static void RaiseTooDeep(const ErrorSite& site) {
    site.Raise(err::kInvalidProcedureCall, "Objects nested deeper than " +
                                               std::to_string(PropertyBag::kMaxDepth) +
                                               " levels cannot be stored.");
  }
};

using SharedFactory = std::shared_ptr<const ClassRegistry::Factory>;

struct Registry {
  std::mutex mutex;
  std::map<std::string, SharedFactory, std::less<>> factories;
  // Counts registrations, so that a thread's classes found before know they are stale.
  std::atomic<uint64_t> generation{0};
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The classes this thread has created, so that a load finds each class once and then
// creates without the lock: a view's dozens of nested objects are of a few classes.
struct KnownClasses {
  uint64_t generation = 0;
  std::vector<std::pair<std::string, SharedFactory>> classes;
  size_t last = 0;  // the class found last: items of a collection repeat it
};

SharedFactory FactoryOf(std::string_view className) {
  static thread_local KnownClasses known;
  Registry& registry = TheRegistry();
  const uint64_t generation = registry.generation.load(std::memory_order_acquire);
  if (known.generation != generation) {
    known.classes.clear();
    known.last = 0;
    known.generation = generation;
  }
  if (known.last < known.classes.size() && known.classes[known.last].first == className)
    return known.classes[known.last].second;
  for (size_t i = 0; i < known.classes.size(); ++i) {
    if (known.classes[i].first == className) {
      known.last = i;
      return known.classes[i].second;
    }
  }
  SharedFactory factory;
  {
    const std::lock_guard lock(registry.mutex);
    const auto it = registry.factories.find(className);
    if (it == registry.factories.end()) return nullptr;
    factory = it->second;
  }
  known.classes.emplace_back(std::string(className), factory);
  known.last = known.classes.size() - 1;
  return factory;
}

}  // namespace

Bytes CPersistable::Serialize() const {
  return kSerialize.Guard([&] {
    ScratchBytes scratch;
    BagStream::Document(scratch.Buffer(), [&](PropertyBag& bag) { Class_WriteProperties(bag); });
    return Bytes(scratch.Buffer());
  });
}

void WriteObject(bag_codec::Writer& w, const IPersistable& object, int depth) {
  kWriteObject.Guard([&] {
    const WriteLevel level(kWriteObject);
    if (depth > PropertyBag::kMaxDepth) WriteLevel::RaiseTooDeep(kWriteObject);
    bag_codec::WriteObjectHead(w, object.ClassName());
    BagStream::Map(w.Out(), depth, [&](PropertyBag& bag) { object.Class_WriteProperties(bag); });
  });
}

void WriteLiveValue(bag_codec::Writer& w, const Variant& value, int depth) {
  if (!value.IsObject() || !value.AsObject()) {
    bag_codec::WriteValue(w, value);
    return;
  }
  const auto* persistable = dynamic_cast<const IPersistable*>(value.AsObject().get());
  if (!persistable) kWriteObject.Raise(err::kTypeMismatch);
  WriteObject(w, *persistable, depth + 1);
}

std::shared_ptr<const NestedObject> CaptureObject(const IPersistable& object) {
  return kCapture.Guard([&] {
    const WriteLevel level(kCapture);
    auto properties = std::make_shared<PropertyBag>();
    object.Class_WriteProperties(*properties);
    properties->Entries();  // held as entries, so that readers find them ready
    auto nested = std::make_shared<NestedObject>();
    nested->className = object.ClassName();
    nested->properties = std::move(properties);
    return std::shared_ptr<const NestedObject>(std::move(nested));
  });
}

LoadDepth::LoadDepth() {
  if (loadDepth >= kMaxLoadDepth) {
    kLoadDepth.Raise(err::kInvalidBagContents,
                     "Invalid property bag contents: objects nested deeper than " +
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

std::shared_ptr<IPersistable> RestoreStoredObject(const StoredMap& map) {
  return kRestore.Guard([&] {
    const LoadDepth level;
    auto object = ClassRegistry::Create(map.className);
    const PropertyBag properties = BagInPlace::Reading(map);
    object->Class_ReadProperties(properties);
    return object;
  });
}

void CPersistable::Deserialize(const Bytes& po_PropertyBagBytes) {
  Deserialize(std::span<const uint8_t>(po_PropertyBagBytes));
}

void CPersistable::Deserialize(std::span<const uint8_t> po_PropertyBagBytes) {
  kDeserialize.Guard([&] {
    // Checked whole before the load begins; the load reads the bytes where they stand.
    LentDocument document;
    bag_codec::IndexBag(po_PropertyBagBytes, *document);
    const PropertyBag bag = BagInPlace::Reading(document->Root());
    const LoadDepth level;
    LoadAllOrNothing(bag);
  });
}

Variant CPersistable::SerializeV() const {
  return kSerializeV.Guard([&] { return Variant(Serialize()); });
}

void CPersistable::DeserializeV(const Variant& pa_PropertyBagBytes) {
  kDeserializeV.Guard([&] {
    if (!pa_PropertyBagBytes.IsBytes()) kDeserializeV.Raise(err::kTypeMismatch);
    Deserialize(pa_PropertyBagBytes.AsBytes());
  });
}

bool RegisterLibraryClass(std::string_view className, ClassRegistry::Factory factory) {
  Registry& registry = TheRegistry();
  const std::lock_guard lock(registry.mutex);
  if (registry.factories
          .try_emplace(std::string(className),
                       std::make_shared<const ClassRegistry::Factory>(std::move(factory)))
          .second) {
    registry.generation.fetch_add(1, std::memory_order_release);
  }
  return true;
}

void ClassRegistry::Register(std::string className, Factory factory) {
  kRegister.Guard([&] {
    if (!factory) kRegister.Raise(err::kInvalidProcedureCall, "A class factory is required.");
    auto shared = std::make_shared<const Factory>(std::move(factory));
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.factories.insert_or_assign(std::move(className), std::move(shared));
    registry.generation.fetch_add(1, std::memory_order_release);
  });
}

bool ClassRegistry::IsRegistered(std::string_view className) {
  return kIsRegistered.Guard([&] {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    return registry.factories.find(className) != registry.factories.end();
  });
}

std::shared_ptr<IPersistable> ClassRegistry::Create(std::string_view className) {
  return kCreate.Guard([&] {
    const SharedFactory factory = FactoryOf(className);
    if (!factory) {
      kCreate.Raise(
          err::kCannotCreateObject,
          "ActiveX component can't create object: unknown class '" + std::string(className) + "'");
    }
    // The factory runs outside the lock: it may itself create registered objects.
    auto object = (*factory)();
    if (!object) {
      kCreate.Raise(err::kCannotCreateObject, "ActiveX component can't create object: class '" +
                                                  std::string(className) + "' gave no object");
    }
    return object;
  });
}

}  // namespace prvdrinfo
