#pragma once

// Updates interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"
#include "prvdrinfo/contract/provider_enums.h"

namespace prvdrinfo {

// Updating one field of one record from text.
class PRVDRINFO_API IProviderUpdate : public virtual IObject {
 public:
  ~IProviderUpdate() override = default;

  virtual bool UpdateField(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                           int32_t p_StatementNumber, const std::string& p_RecordGuid,
                           const std::string& p_ColumnGuid, const std::string& p_Value) = 0;
  virtual bool UpdateField2(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                            const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                            const std::string& p_Value,
                            const std::shared_ptr<KeyedCollection>& po_OverrideWarnings) = 0;
  virtual e_DatabaseErrorLevel UpdateFieldErrorLevel(int32_t p_Code) const = 0;
};

// Updating one field of a row held in a recordset (possibly the new item row).
class PRVDRINFO_API IProviderUpdate2 : public virtual IObject {
 public:
  ~IProviderUpdate2() override = default;

  virtual bool UpdateField(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                           const std::string& p_ColumnGuid, const Variant& p_Value,
                           int32_t p_NewItemRow, const std::shared_ptr<Recordset>& po_RowRecordset,
                           const std::shared_ptr<KeyedCollection>& po_OverrideWarnings) = 0;
};

}  // namespace prvdrinfo
