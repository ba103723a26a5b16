// libFuzzer target: arbitrary bytes as property-bag contents and as keyed-collection
// contents. Anything but a CError escaping, a crash, a leak, a hang, or bytes that decode
// but do not encode back to themselves is a finding. docs/fuzzing.md says how to run it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace {

using namespace prvdrinfo;

// Reads back every property it is given, nested objects included, through each typed read.
class FuzzObject : public CPersistable {
 public:
  std::string ClassName() const override { return "FuzzObject"; }
  void Class_WriteProperties(PropertyBag& bag) const override {
    for (const auto& entry : properties_.Entries()) {
      bag.WriteProperty(entry.key,
                        entry.nested ? properties_.ReadProperty(entry.key) : entry.value);
    }
  }
  void Class_ReadProperties(const PropertyBag& bag) override {
    properties_.Clear();
    for (const auto& entry : bag.Entries()) {
      Touch(bag, entry.key);
      properties_.WriteProperty(entry.key, bag.ReadProperty(entry.key));
    }
  }

  static void Touch(const PropertyBag& bag, const std::string& key) {
    auto attempt = [](auto&& read) {
      try {
        read();
      } catch (const CError&) {
      }
    };
    attempt([&] { bag.ReadInteger(key); });
    attempt([&] { bag.ReadLong(key); });
    attempt([&] { bag.ReadBoolean(key); });
    attempt([&] { bag.ReadDouble(key); });
    attempt([&] { bag.ReadCurrency(key); });
    attempt([&] { bag.ReadText(key); });
    attempt([&] { bag.ReadBytes(key); });
  }

 private:
  PropertyBag properties_;
};

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

void FuzzBag(const Bytes& bytes) {
  PropertyBag bag;
  bag.WriteProperty("Before", int32_t{1});
  const Bytes before = bag.Contents();
  try {
    bag.SetContents(bytes);
  } catch (const CError&) {
    if (bag.Contents() != before) Finding("a failed SetContents changed the bag");
    return;
  }
  if (bag.Contents() != bytes) Finding("decoded bag does not encode back to its bytes");
  // Reading every key restores nested objects through the registry (a class name it does
  // not know raises 429, a CError like any other). FuzzObject keeps what it reads, so
  // writing it again must give the properties it was read from.
  for (const auto& entry : bag.Entries()) {
    FuzzObject::Touch(bag, entry.key);
    try {
      const Variant value = bag.ReadProperty(entry.key);
      if (!entry.nested) continue;
      PropertyBag again;
      again.WriteProperty(entry.key, value);
      if (again.Entries().at(0).nested->properties->Contents() !=
          entry.nested->properties->Contents()) {
        Finding("a restored object does not save what it was loaded from");
      }
    } catch (const CError&) {
    }
  }
}

void FuzzItems(const Bytes& bytes) {
  try {
    const auto items = bag_codec::DecodeKeyedItems(bytes);
    if (bag_codec::EncodeKeyedItems(items) != bytes)
      Finding("decoded items do not encode back to their bytes");
  } catch (const CError&) {
  }
  KeyedCollection collection;
  collection.Add(Variant("kept"), "k");
  const Bytes before = collection.Content();
  try {
    collection.SetContent(bytes);
  } catch (const CError&) {
    if (collection.Content() != before) Finding("a failed SetContent changed the collection");
    return;
  }
  try {
    for (int32_t i = 0; i < collection.Count(); ++i) collection.ItemByIndex(i);
  } catch (const CError&) {
  }
}

// Valid documents to start from: PRVDRINFO_FUZZ_SEED_DIR=<dir> writes them there.
std::vector<Bytes> Seeds() {
  std::vector<Bytes> seeds;
  PropertyBag empty;
  seeds.push_back(empty.Contents());

  PropertyBag all;
  all.WriteProperty("Empty", Variant());
  all.WriteProperty("Null", Variant::Null());
  all.WriteProperty("Integer", int16_t{-300});
  all.WriteProperty("Long", int32_t{70000});
  all.WriteProperty("Boolean", true);
  all.WriteProperty("Double", 0.1);
  all.WriteProperty("Date", Variant::FromDate(45292.5));
  all.WriteProperty("Currency", Currency::FromScaled(-123456789));
  all.WriteProperty("Text", "Grüße 東京");
  all.WriteProperty("Bytes", Bytes{0, 1, 2, 0xFF});
  all.WriteProperty("Nothing", std::shared_ptr<IObject>());
  seeds.push_back(all.Contents());

  auto inner = std::make_shared<FuzzObject>();
  inner->Class_ReadProperties(all);
  PropertyBag nested;
  nested.WriteProperty("Inner", inner);
  nested.WriteProperty("Count", int32_t{2});
  seeds.push_back(nested.Contents());

  auto outer = std::make_shared<FuzzObject>();
  outer->Class_ReadProperties(nested);
  PropertyBag twice;
  twice.WriteProperty("Outer", outer);
  seeds.push_back(twice.Contents());

  std::vector<PropertyBag::Entry> items = {
      {"First", Variant(int32_t{1}), nullptr},
      {"", Variant("no key"), nullptr},
      {"Object", Variant(), CaptureObject(*inner)},
  };
  seeds.push_back(bag_codec::EncodeKeyedItems(items));
  seeds.push_back(bag_codec::EncodeKeyedItems({}));
  return seeds;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ClassRegistry::Register<FuzzObject>("FuzzObject");
  if (const char* dir = std::getenv("PRVDRINFO_FUZZ_SEED_DIR")) {
    std::filesystem::create_directories(dir);
    int n = 0;
    for (const Bytes& seed : Seeds()) {
      std::ofstream out(std::filesystem::path(dir) / ("seed-" + std::to_string(n++)),
                        std::ios::binary);
      out.write(reinterpret_cast<const char*>(seed.data()),
                static_cast<std::streamsize>(seed.size()));
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes bytes(data, data + size);
  FuzzBag(bytes);
  FuzzItems(bytes);
  return 0;
}
