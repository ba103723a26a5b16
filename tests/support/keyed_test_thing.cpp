#include "support/keyed_test_thing.h"

#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo::testing {

void KeyedTestThing::Register() { ClassRegistry::Register<KeyedTestThing>(kClassName); }

void KeyedTestThing::Class_WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("Name", name, "");
  bag.WriteProperty("Number", number, 0);
  WriteKeyedCollection(bag, "Tags", *tags);
}

void KeyedTestThing::Class_ReadProperties(const PropertyBag& bag) {
  name = bag.ReadText("Name", "");
  number = bag.ReadLong("Number", 0);
  tags = ReadKeyedCollection(bag, "Tags");
}

}  // namespace prvdrinfo::testing
