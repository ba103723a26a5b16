#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/tables/provider_table_def.h"

namespace prvdrinfo {

// A provider's table definitions by table name (letter case ignored), in the order they
// were added. The only place where table names are validated.
class PRVDRINFO_API CProviderTableDefs : public CPersistable {
 public:
  static constexpr const char* kClassName = "CProviderTableDefs";

  // A new definition named p_TableName, stored and returned. Error 5 with
  // "Table Name cannot be blank." when nothing but whitespace is given,
  // "Table name cannot contain whitespace" when the name holds any, and
  // "Table name already exists in tables collection." for a name present in any case.
  std::shared_ptr<CProviderTableDef> Add(const std::string& p_TableName);
  int32_t Count() const;
  std::shared_ptr<CProviderTableDef> ItemByIndex(int32_t p_Index) const;
  std::shared_ptr<CProviderTableDef> ItemByName(const std::string& p_TableName) const;
  void RemoveAll();

  std::string ClassName() const override { return kClassName; }
  // "TableDefs" as keyed collection content.
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Every stored item must be a table definition, else 13 and nothing changes.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedObjects<CProviderTableDef> tables_;
};

class PRVDRINFO_API CProviderTableDefsFactory {
 public:
  std::shared_ptr<CProviderTableDefs> CreateProviderTableDefs() const;
};

}  // namespace prvdrinfo
