#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo::testing {

// A small persistable class for collection tests: scalar fields and a keyed-collection
// field, so that objects nest inside collections inside objects.
class KeyedTestThing : public CPersistable {
 public:
  static constexpr const char* kClassName = "KeyedTestThing";
  // Registers the class with the class registry (idempotent).
  static void Register();

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

  std::string name;
  int32_t number = 0;
  std::shared_ptr<KeyedCollection> tags = std::make_shared<KeyedCollection>();
};

// A library object that cannot persist itself.
class NotPersistable : public IObject {};

}  // namespace prvdrinfo::testing
