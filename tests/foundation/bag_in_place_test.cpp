// A load reads its bag where the bytes stand; whatever its routine asks, in whatever order,
// must be answered exactly as a bag holding the decoded entries answers it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "support/bag_test_classes.h"

namespace prvdrinfo {
namespace {

using testing::TestPoint;

// An object whose load routine is the test's, to see the bag a load is given.
class LoadProbe : public CPersistable {
 public:
  std::string ClassName() const override { return "LoadProbe"; }
  void Class_WriteProperties(PropertyBag&) const override {}
  void Class_ReadProperties(const PropertyBag& bag) override { onLoad(bag); }

  std::function<void(const PropertyBag&)> onLoad;
};

std::string Describe(const Variant& value) {
  const std::string type = std::to_string(static_cast<int>(value.Type())) + ":";
  if (value.IsObject()) {
    const auto point = value.ToObject<TestPoint>();
    if (!point) return type + "nothing";
    return type + std::to_string(point->x) + "," + std::to_string(point->y) + "," + point->label;
  }
  if (value.IsBytes()) return type + std::string(value.AsBytes().begin(), value.AsBytes().end());
  try {
    return type + value.ToText();
  } catch (const CError& e) {
    return type + "error " + std::to_string(e.Number());
  }
}

// What each way of reading a key gives, as text (an error by its number).
std::vector<std::string> EveryRead(const PropertyBag& bag, const std::string& key) {
  std::vector<std::function<std::string()>> reads = {
      [&] { return Describe(bag.ReadProperty(key, Variant("default"))); },
      [&] { return std::string(bag.Exists(key) ? "exists" : "absent"); },
      [&] { return std::to_string(bag.ReadInteger(key, 7)); },
      [&] { return std::to_string(bag.ReadLong(key, 7)); },
      [&] { return std::string(bag.ReadBoolean(key, true) ? "true" : "false"); },
      [&] { return std::to_string(bag.ReadDouble(key, 7.5)); },
      [&] { return std::to_string(bag.ReadDate(key, 7.5)); },
      [&] { return bag.ReadCurrency(key, Currency::FromScaled(7)).ToString(); },
      [&] { return bag.ReadText(key, "default"); },
      [&] {
        const Bytes bytes = bag.ReadBytes(key);
        return std::string(bytes.begin(), bytes.end());
      },
  };
  std::vector<std::string> results;
  for (const auto& read : reads) {
    try {
      results.push_back(read());
    } catch (const CError& e) {
      results.push_back("error " + std::to_string(e.Number()));
    }
  }
  return results;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

Bytes StoredBag(int extraKeys) {
  testing::RegisterBagTestClasses();
  auto point = std::make_shared<TestPoint>();
  point->x = 300;
  point->y = -2;
  point->label = "π";
  PropertyBag bag;
  bag.WriteProperty("Caption", "Register of changes");
  bag.WriteProperty("Count", int32_t{-100000});
  bag.WriteProperty("Largest", std::numeric_limits<int32_t>::max());
  bag.WriteProperty("Kind", int16_t{12});
  bag.WriteProperty("Rate", Currency::FromString("1234.5678"));
  bag.WriteProperty("Due", Variant::FromDate(45000.5));
  bag.WriteProperty("Ratio", 0.25);
  bag.WriteProperty("Blob", Bytes{'b', 'l', 'o', 'b'});
  bag.WriteProperty("Point", point);
  bag.WriteProperty("None", std::shared_ptr<IObject>());
  bag.WriteProperty("Null", Variant::Null());
  bag.WriteProperty("Unset", Variant());
  bag.WriteProperty("Flag", true);
  bag.WriteProperty("Number as text", "42");
  bag.WriteProperty("Straße", int32_t{1});
  bag.WriteProperty("Long text", std::string(300, 'x'));
  for (int i = 0; i < extraKeys; ++i) bag.WriteProperty("Extra" + std::to_string(i), i * 1000);
  return bag.Contents();
}

TEST(BagInPlace, ALoadReadsWhatTheDecodedEntriesHoldInAnyOrderAndCase) {
  // Small bags are searched in order, large ones (past 48 keys) through a hash index.
  for (const int extraKeys : {0, 60}) {
    const Bytes bytes = StoredBag(extraKeys);
    PropertyBag decoded;
    decoded.SetContents(bytes);
    std::vector<std::string> keys = {"Missing", "", "caption ", "STRASSE", "straße"};
    for (const auto& entry : decoded.Entries()) {
      keys.push_back(entry.key);
      keys.push_back(Upper(entry.key));
    }
    std::vector<std::string> reversed(keys.rbegin(), keys.rend());
    // The bag may be asked for its entries before, midway or never: it answers the same.
    for (const size_t entriesAt : {size_t{0}, keys.size() / 2, keys.size() * 2}) {
      for (const auto* order : {&keys, &reversed}) {
        SCOPED_TRACE(std::to_string(extraKeys) + " extra keys, entries asked at " +
                     std::to_string(entriesAt) + (order == &keys ? ", forward" : ", backward"));
        LoadProbe probe;
        size_t checked = 0;
        probe.onLoad = [&](const PropertyBag& bag) {
          for (size_t i = 0; i < order->size(); ++i) {
            if (i == entriesAt) {
              EXPECT_EQ(bag.Count(), decoded.Count());
            }
            const std::string& key = (*order)[i];
            EXPECT_EQ(EveryRead(bag, key), EveryRead(decoded, key)) << "key \"" << key << '"';
            ++checked;
          }
        };
        probe.Deserialize(bytes);
        EXPECT_EQ(checked, order->size());
      }
    }
  }
}

TEST(BagInPlace, ABagCopiedOrMovedDuringALoadKeepsItsEntries) {
  const Bytes bytes = StoredBag(0);
  PropertyBag decoded;
  decoded.SetContents(bytes);
  PropertyBag copied;
  PropertyBag moved;
  LoadProbe probe;
  probe.onLoad = [&](const PropertyBag& bag) {
    copied = bag;
    PropertyBag again(bag);
    moved = std::move(again);
  };
  probe.Deserialize(bytes);
  // The load's bytes are gone by now: the copies hold their own entries.
  EXPECT_EQ(copied.Contents(), bytes);
  EXPECT_EQ(moved.Contents(), bytes);
  EXPECT_EQ(EveryRead(copied, "Point"), EveryRead(decoded, "Point"));
}

}  // namespace
}  // namespace prvdrinfo
