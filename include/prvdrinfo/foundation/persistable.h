#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// An object that saves itself into a property bag and loads itself from one. IObject is a
// virtual base, so that a persistable class that also implements provider interfaces (a
// provider info shell) still has one object root.
class PRVDRINFO_API IPersistable : public virtual IObject {
 public:
  // The class identity stored with nested objects; the class registry maps it back.
  virtual std::string ClassName() const = 0;
  virtual void Class_WriteProperties(PropertyBag& bag) const = 0;
  virtual void Class_ReadProperties(const PropertyBag& bag) = 0;
};

// The persistence members every public class offers, written once over its save and
// load routines. A class derives from it and writes only its key table.
class PRVDRINFO_API CPersistable : public IPersistable {
 public:
  Bytes Serialize() const;
  // All or nothing: bytes that cannot be decoded, or a load that fails midway (a nested
  // object of the wrong class, say), raise and leave the object exactly as it was.
  void Deserialize(const Bytes& po_PropertyBagBytes);
  // The same, reading bytes held elsewhere (a database row, say) where they stand.
  void Deserialize(std::span<const uint8_t> po_PropertyBagBytes);
  Variant SerializeV() const;
  // The variant must hold a byte array, else 13 "Type mismatch".
  void DeserializeV(const Variant& pa_PropertyBagBytes);

 protected:
  // Runs the load routine so that a failure changes nothing. A class whose load sets
  // several fields overrides it with LoadIntoCopy(*this, bag). The default runs the routine
  // in place: it suits a class whose routine reads everything into locals first and only
  // then assigns (a collection reading its items into a fresh collection, say).
  virtual void LoadAllOrNothing(const PropertyBag& bag) { Class_ReadProperties(bag); }

  // Loads a copy (fields that are not persisted come along unchanged) and takes its state
  // only when the whole load succeeded. A load routine must replace the collections it
  // reads, never fill the ones the object holds, or the copy would share them.
  template <class T>
  static void LoadIntoCopy(T& self, const PropertyBag& bag) {
    T loaded(self);
    loaded.Class_ReadProperties(bag);
    self = std::move(loaded);
  }
};

// Maps stored class names to factories, so nested objects come back as their own class.
// The library's classes register themselves when the library loads; a host may add its
// own, and its own class wins over a library class of the same name. Any thread may
// register and create (a lock guards the map; a factory runs outside it).
class PRVDRINFO_API ClassRegistry {
 public:
  using Factory = std::function<std::shared_ptr<IPersistable>()>;

  static void Register(std::string className, Factory factory);
  static bool IsRegistered(std::string_view className);
  // A fresh instance; an unknown class raises 429 "ActiveX component can't create object".
  static std::shared_ptr<IPersistable> Create(std::string_view className);

  template <class T>
  static void Register(std::string className) {
    Register(std::move(className), [] { return std::make_shared<T>(); });
  }
};

}  // namespace prvdrinfo
