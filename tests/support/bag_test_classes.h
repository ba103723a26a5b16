#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo::testing {

// Two small persistable classes for property-bag tests: a point, and a shape that holds
// two points as nested objects.
class TestPoint : public CPersistable {
 public:
  static constexpr const char* kClassName = "TestPoint";

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

  int32_t x = 0;
  int16_t y = 0;
  std::string label = "point";  // a default that is not a plain zero value
};

class TestShape : public CPersistable {
 public:
  static constexpr const char* kClassName = "TestShape";

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

  std::string name;
  std::shared_ptr<TestPoint> origin;  // null is stored as Nothing
  std::shared_ptr<TestPoint> corner;
};

// Registers both classes (idempotent).
void RegisterBagTestClasses();

}  // namespace prvdrinfo::testing
