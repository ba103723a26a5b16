#include "foundation/class_registration.h"
#include "prvdrinfo/tables/unique_indexes.h"

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kGuidByIndex{"4MQ0JXY1WZ7B2L5EZB4U1K1SH", "CUniqueIndexes.GuidByIndex"};
constexpr ErrorSite kAdd{"H3LBP8CT5RQZ0W0O5A6RG1KQ8", "CUniqueIndexes.Add"};
constexpr ErrorSite kRemoveByGuid{"Q9V2Q0ZV8I6MXC2QNJ9H1SWFB", "CUniqueIndexes.RemoveByGuid"};
constexpr ErrorSite kRemoveByIndex{"2V6QG0G2F8X9T0LXA9BS6M1RK", "CUniqueIndexes.RemoveByIndex"};
constexpr ErrorSite kEnumerator{"ZK8Q2D5NG3E3O8P6XZ9B7D0UV", "CUniqueIndexes.Enumerator"};
constexpr ErrorSite kRemoveAll{"R1E6V4PJ9S2X0DZ5NC3WK7Q8A", "CUniqueIndexes.RemoveAll"};
constexpr ErrorSite kItemByIndex{"6TB3YH8M2K0R5WQ1ZC9NL4J7F", "CUniqueIndexes.ItemByIndex"};
constexpr ErrorSite kItemByGuid{"N5P0U7G2X8C4V1R9K3LZ6QW2D", "CUniqueIndexes.ItemByGuid"};
constexpr ErrorSite kWrite{"D8K1M4R7Z0T3W6Q9B2X5C8V1L", "CUniqueIndexes.Class_WriteProperties"};
constexpr ErrorSite kRead{"J2W5Z8C1F4V7Y0B3N6Q9T2M5R", "CUniqueIndexes.Class_ReadProperties"};
constexpr const char* kIndexesKey = "IndexDefinitions";
}  // namespace

KeyedCollection& CUniqueIndexes::Indexes() const {
  if (!indexes_) indexes_ = std::make_shared<KeyedCollection>(true, 1, true);
  return *indexes_;
}

std::string CUniqueIndexes::GuidByIndex(int32_t p_ZeroBasedIndex) const {
  return kGuidByIndex.Guard([&] { return Indexes().KeyByIndex(p_ZeroBasedIndex); });
}

std::shared_ptr<CIndexDef> CUniqueIndexes::Add(const std::string& p_Guid) {
  return kAdd.Guard([&] {
    auto index = std::make_shared<CIndexDef>();
    Indexes().Add(Variant(index), p_Guid);
    return index;
  });
}

void CUniqueIndexes::RemoveByGuid(const std::string& p_Guid) {
  kRemoveByGuid.Guard([&] { Indexes().Remove(p_Guid); });
}

void CUniqueIndexes::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { Indexes().RemoveByIndex(p_ZeroBasedIndex); });
}

std::vector<std::shared_ptr<CIndexDef>> CUniqueIndexes::Enumerator() const {
  return kEnumerator.Guard([&] {
    std::vector<std::shared_ptr<CIndexDef>> all;
    all.reserve(static_cast<size_t>(Indexes().Count()));
    for (const auto& item : Indexes()) all.push_back(item.ToObject<CIndexDef>());
    return all;
  });
}

void CUniqueIndexes::RemoveAll() {
  kRemoveAll.Guard([&] { Indexes().RemoveAll(); });
}

int32_t CUniqueIndexes::Count() const { return indexes_ ? indexes_->Count() : 0; }

std::shared_ptr<CIndexDef> CUniqueIndexes::ItemByIndex(int32_t p_ZeroBasedIndex) const {
  return kItemByIndex.Guard([&] { return Indexes().ItemByIndex(p_ZeroBasedIndex).ToObject<CIndexDef>(); });
}

std::shared_ptr<CIndexDef> CUniqueIndexes::ItemByGuid(const std::string& p_Guid) const {
  return kItemByGuid.Guard([&] { return Indexes().Item(p_Guid).ToObject<CIndexDef>(); });
}

void CUniqueIndexes::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { WriteKeyedCollection(bag, kIndexesKey, Indexes()); });
}

void CUniqueIndexes::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    auto loaded = ReadKeyedCollection(bag, kIndexesKey);
    for (const auto& item : *loaded) {
      if (!item.ToObject<CIndexDef>()) RaiseTypeMismatch();
    }
    indexes_ = std::move(loaded);
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CUniqueIndexes)
}  // namespace prvdrinfo
