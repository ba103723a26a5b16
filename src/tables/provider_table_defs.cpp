#include "foundation/class_registration.h"
#include "prvdrinfo/tables/provider_table_defs.h"

#include "prvdrinfo/foundation/text_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"0D2PMLYHLY2J39GP8SCQVFCB3", "CProviderTableDefs.Add"};
constexpr ErrorSite kItemByIndex{"AO3V6R7K0Z1TL8KFXU7S5H6DM", "CProviderTableDefs.ItemByIndex"};
constexpr ErrorSite kItemByName{"2NRX2BJEZ9F10MIKQ3UW4Q6TV", "CProviderTableDefs.ItemByName"};
constexpr ErrorSite kRemoveAll{"WUHVJ0DSJV7F5FBZJW8YNPU4E", "CProviderTableDefs.RemoveAll"};
constexpr ErrorSite kWrite{"7VJDUA01D6N1Y9HS1E6JWQ1DO", "CProviderTableDefs.Class_WriteProperties"};
constexpr ErrorSite kRead{"LSK13XZ8SRBC3M7P4T6BBRMG0", "CProviderTableDefs.Class_ReadProperties"};
constexpr const char* kTablesKey = "TableDefs";
}  // namespace

KeyedCollection& CProviderTableDefs::Tables() const {
  if (!tables_) tables_ = std::make_shared<KeyedCollection>(true, 1, true);
  return *tables_;
}

std::shared_ptr<CProviderTableDef> CProviderTableDefs::Add(const std::string& p_TableName) {
  return kAdd.Guard([&] {
    const std::string compact = TextService::RemoveWhitespace(p_TableName);
    if (compact.empty()) kAdd.Raise(err::kInvalidProcedureCall, "Table Name cannot be blank.");
    if (compact.size() != p_TableName.size()) {
      kAdd.Raise(err::kInvalidProcedureCall, "Table name cannot contain whitespace");
    }
    if (Tables().Exists(p_TableName)) {
      kAdd.Raise(err::kInvalidProcedureCall, "Table name already exists in tables collection.");
    }
    auto table = std::make_shared<CProviderTableDef>();
    table->SetTableName(p_TableName);
    Tables().Add(Variant(table), p_TableName);
    return table;
  });
}

int32_t CProviderTableDefs::Count() const { return tables_ ? tables_->Count() : 0; }

std::shared_ptr<CProviderTableDef> CProviderTableDefs::ItemByIndex(int32_t p_Index) const {
  return kItemByIndex.Guard([&] { return Tables().ItemByIndex(p_Index).ToObject<CProviderTableDef>(); });
}

std::shared_ptr<CProviderTableDef> CProviderTableDefs::ItemByName(const std::string& p_TableName) const {
  return kItemByName.Guard([&] { return Tables().Item(p_TableName).ToObject<CProviderTableDef>(); });
}

void CProviderTableDefs::RemoveAll() {
  kRemoveAll.Guard([&] { Tables().RemoveAll(); });
}

void CProviderTableDefs::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { WriteKeyedCollection(bag, kTablesKey, Tables()); });
}

void CProviderTableDefs::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    auto loaded = ReadKeyedCollection(bag, kTablesKey);
    for (const auto& item : *loaded) {
      if (!item.ToObject<CProviderTableDef>()) RaiseTypeMismatch();
    }
    tables_ = std::move(loaded);
  });
}

std::shared_ptr<CProviderTableDefs> CProviderTableDefsFactory::CreateProviderTableDefs() const {
  return std::make_shared<CProviderTableDefs>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderTableDefs)
}  // namespace prvdrinfo
