#include "support/bag_test_classes.h"

namespace prvdrinfo::testing {

void TestPoint::Class_WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("X", x, 0);
  bag.WriteProperty("Y", y, int16_t{0});
  bag.WriteProperty("Label", label, "point");
}

void TestPoint::Class_ReadProperties(const PropertyBag& bag) {
  x = bag.ReadLong("X", 0);
  y = bag.ReadInteger("Y", 0);
  label = bag.ReadText("Label", "point");
}

void TestShape::Class_WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("Name", name, "");
  bag.WriteProperty("Origin", origin);
  bag.WriteProperty("Corner", corner);
}

void TestShape::Class_ReadProperties(const PropertyBag& bag) {
  name = bag.ReadText("Name", "");
  origin = bag.ReadObject<TestPoint>("Origin");
  corner = bag.ReadObject<TestPoint>("Corner");
}

void RegisterBagTestClasses() {
  ClassRegistry::Register<TestPoint>(TestPoint::kClassName);
  ClassRegistry::Register<TestShape>(TestShape::kClassName);
}

}  // namespace prvdrinfo::testing
