#include "foundation/internal/class_registration.h"
#include "prvdrinfo/tables/provider_table_defs.h"

#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"0D2PMLYHLY2J39GP8SCQVFCB3", "CProviderTableDefs.Add"};
constexpr ErrorSite kItemByIndex{"AO3V6R7K0Z1TL8KFXU7S5H6DM", "CProviderTableDefs.ItemByIndex"};
constexpr ErrorSite kItemByName{"2NRX2BJEZ9F10MIKQ3UW4Q6TV", "CProviderTableDefs.ItemByName"};
constexpr ErrorSite kWrite{"7VJDUA01D6N1Y9HS1E6JWQ1DO", "CProviderTableDefs.Class_WriteProperties"};
constexpr ErrorSite kRead{"LSK13XZ8SRBC3M7P4T6BBRMG0", "CProviderTableDefs.Class_ReadProperties"};
constexpr const char* kTablesKey = "TableDefs";
}  // namespace

std::shared_ptr<CProviderTableDef> CProviderTableDefs::Add(const std::string& p_TableName) {
  return kAdd.Guard([&] {
    const std::string compact = TextService::RemoveWhitespace(p_TableName);
    if (compact.empty()) kAdd.Raise(err::kInvalidProcedureCall, "Table Name cannot be blank.");
    if (compact.size() != p_TableName.size()) {
      kAdd.Raise(err::kInvalidProcedureCall, "Table name cannot contain whitespace");
    }
    if (tables_.Exists(p_TableName)) {
      kAdd.Raise(err::kInvalidProcedureCall, "Table name already exists in tables collection.");
    }
    auto table = std::make_shared<CProviderTableDef>();
    table->SetTableName(p_TableName);
    tables_.Add(table, p_TableName);
    return table;
  });
}

int32_t CProviderTableDefs::Count() const { return tables_.Count(); }

std::shared_ptr<CProviderTableDef> CProviderTableDefs::ItemByIndex(int32_t p_Index) const {
  return kItemByIndex.Guard([&] { return tables_.ItemByIndex(p_Index); });
}

std::shared_ptr<CProviderTableDef> CProviderTableDefs::ItemByName(
    const std::string& p_TableName) const {
  return kItemByName.Guard([&] { return tables_.Item(p_TableName); });
}

void CProviderTableDefs::RemoveAll() { tables_.RemoveAll(); }

void CProviderTableDefs::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { tables_.WriteTo(bag, kTablesKey); });
}

void CProviderTableDefs::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { tables_.ReadFrom(bag, kTablesKey, KeyedLoad::kTyped); });
}

std::shared_ptr<CProviderTableDefs> CProviderTableDefsFactory::CreateProviderTableDefs() const {
  return std::make_shared<CProviderTableDefs>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderTableDefs)
}  // namespace prvdrinfo
