#include "prvdrinfo/foundation/persistable.h"

#include <map>
#include <mutex>
#include <string>

#include "foundation/class_catalog.h"
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

// Set while the catalogue registers the library's classes, so that its own Register
// calls do not wait for the registration they are part of.
thread_local bool registeringLibrary = false;

// The library's classes are registered on the first use of the registry, whether that is
// a lookup or a host's own Register (which then wins over a library class of that name).
void EnsureLibraryClasses() {
  if (registeringLibrary) return;
  static std::once_flag once;
  std::call_once(once, [] {
    registeringLibrary = true;
    try {
      RegisterLibraryClasses();
    } catch (...) {
      registeringLibrary = false;
      throw;
    }
    registeringLibrary = false;
  });
}

}  // namespace

Bytes CPersistable::Serialize() const {
  return kSerialize.Guard([&] {
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
    Class_ReadProperties(bag);
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

void ClassRegistry::Register(std::string className, Factory factory) {
  kRegister.Guard([&] {
    if (!factory) kRegister.Raise(err::kInvalidProcedureCall, "A class factory is required.");
    EnsureLibraryClasses();
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    registry.factories.insert_or_assign(std::move(className), std::move(factory));
  });
}

bool ClassRegistry::IsRegistered(std::string_view className) {
  return kIsRegistered.Guard([&] {
    EnsureLibraryClasses();
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    return registry.factories.find(className) != registry.factories.end();
  });
}

std::shared_ptr<IPersistable> ClassRegistry::Create(std::string_view className) {
  return kCreate.Guard([&] {
    EnsureLibraryClasses();
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
