#include "prvdrinfo/foundation/persistable.h"

#include <map>
#include <mutex>
#include <string>

#include "foundation/bag_codec.h"
#include "foundation/class_registration.h"
#include "foundation/direct_bag.h"
#include "foundation/scratch_bytes.h"
#include "foundation/load_depth.h"
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

struct Registry {
  std::mutex mutex;
  std::map<std::string, ClassRegistry::Factory, std::less<>> factories;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

Bytes CPersistable::Serialize() const {
  return kSerialize.Guard([&] {
    ScratchBytes scratch;
    Bytes& out = scratch.Buffer();
    bag_codec::Writer w(out);
    bag_codec::WriteDocumentHead(w, bag_codec::kBagFormat);
    if (DirectBag::Encode(w, 0, [&](PropertyBag& bag) { Class_WriteProperties(bag); })) return Bytes(out);
    const DirectBag::BagPathOnly bagPath;
    PropertyBag bag;
    Class_WriteProperties(bag);
    return bag.Contents();
  });
}

void CPersistable::Deserialize(const Bytes& po_PropertyBagBytes) {
  kDeserialize.Guard([&] {
    PropertyBag bag;
    bag.SetContents(po_PropertyBagBytes);
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
  registry.factories.try_emplace(std::string(className), std::move(factory));
  return true;
}

void ClassRegistry::Register(std::string className, Factory factory) {
  kRegister.Guard([&] {
    if (!factory) kRegister.Raise(err::kInvalidProcedureCall, "A class factory is required.");
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.factories.insert_or_assign(std::move(className), std::move(factory));
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
    Factory factory;
    {
      Registry& registry = TheRegistry();
      const std::lock_guard lock(registry.mutex);
      const auto it = registry.factories.find(className);
      if (it != registry.factories.end()) factory = it->second;
    }
    if (!factory) {
      kCreate.Raise(err::kCannotCreateObject,
                    "ActiveX component can't create object: unknown class '" + std::string(className) + "'");
    }
    // The factory runs outside the lock: it may itself create registered objects.
    auto object = factory();
    if (!object) {
      kCreate.Raise(err::kCannotCreateObject, "ActiveX component can't create object: class '" +
                                                  std::string(className) + "' gave no object");
    }
    return object;
  });
}

}  // namespace prvdrinfo
