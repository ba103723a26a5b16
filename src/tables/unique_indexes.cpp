#include "foundation/internal/class_registration.h"
#include "prvdrinfo/tables/unique_indexes.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kGuidByIndex{"4MQ0JXY1WZ7B2L5EZB4U1K1SH", "CUniqueIndexes.GuidByIndex"};
constexpr ErrorSite kAdd{"H3LBP8CT5RQZ0W0O5A6RG1KQ8", "CUniqueIndexes.Add"};
constexpr ErrorSite kRemoveByGuid{"Q9V2Q0ZV8I6MXC2QNJ9H1SWFB", "CUniqueIndexes.RemoveByGuid"};
constexpr ErrorSite kRemoveByIndex{"2V6QG0G2F8X9T0LXA9BS6M1RK", "CUniqueIndexes.RemoveByIndex"};
constexpr ErrorSite kItemByIndex{"6TB3YH8M2K0R5WQ1ZC9NL4J7F", "CUniqueIndexes.ItemByIndex"};
constexpr ErrorSite kItemByGuid{"N5P0U7G2X8C4V1R9K3LZ6QW2D", "CUniqueIndexes.ItemByGuid"};
constexpr ErrorSite kWrite{"D8K1M4R7Z0T3W6Q9B2X5C8V1L", "CUniqueIndexes.Class_WriteProperties"};
constexpr ErrorSite kRead{"J2W5Z8C1F4V7Y0B3N6Q9T2M5R", "CUniqueIndexes.Class_ReadProperties"};
constexpr const char* kIndexesKey = "IndexDefinitions";
}  // namespace

std::string CUniqueIndexes::GuidByIndex(int32_t p_ZeroBasedIndex) const {
  return kGuidByIndex.Guard([&] { return indexes_.KeyByIndex(p_ZeroBasedIndex); });
}

std::shared_ptr<CIndexDef> CUniqueIndexes::Add(const std::string& p_Guid) {
  return kAdd.Guard([&] {
    auto index = std::make_shared<CIndexDef>();
    indexes_.Add(index, p_Guid);
    return index;
  });
}

void CUniqueIndexes::RemoveByGuid(const std::string& p_Guid) {
  kRemoveByGuid.Guard([&] { indexes_.Remove(p_Guid); });
}

void CUniqueIndexes::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { indexes_.RemoveByIndex(p_ZeroBasedIndex); });
}

std::vector<std::shared_ptr<CIndexDef>> CUniqueIndexes::Enumerator() const {
  return indexes_.Snapshot();
}

void CUniqueIndexes::RemoveAll() { indexes_.RemoveAll(); }

int32_t CUniqueIndexes::Count() const { return indexes_.Count(); }

std::shared_ptr<CIndexDef> CUniqueIndexes::ItemByIndex(int32_t p_ZeroBasedIndex) const {
  return kItemByIndex.Guard([&] { return indexes_.ItemByIndex(p_ZeroBasedIndex); });
}

std::shared_ptr<CIndexDef> CUniqueIndexes::ItemByGuid(const std::string& p_Guid) const {
  return kItemByGuid.Guard([&] { return indexes_.Item(p_Guid); });
}

void CUniqueIndexes::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { indexes_.WriteTo(bag, kIndexesKey); });
}

void CUniqueIndexes::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { indexes_.ReadFrom(bag, kIndexesKey, KeyedLoad::kTyped); });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CUniqueIndexes)
}  // namespace prvdrinfo
