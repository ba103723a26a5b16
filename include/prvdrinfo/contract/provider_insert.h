#pragma once

// Insertion interfaces of the provider contract. A provider module derives from the ones it
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

// Inserting a record from field values; the override collection carries the warning
// numbers the caller accepts. The exclusive-access switch is copied into a shell.
class PRVDRINFO_API IProviderInsert : public virtual IObject {
 public:
  ~IProviderInsert() override = default;

  virtual std::string InsertRecord(
      const std::string& p_SessionGuid, const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<KeyedCollection>& po_OverrideWarningNumbers,
      const std::shared_ptr<KeyedCollection>& po_FieldsAndValues) = 0;
  virtual e_DatabaseErrorLevel InsertRecordErrorLevel(int32_t p_Code) const = 0;
  virtual bool RequireExclusiveProjectAccessForInsert() const = 0;
};

}  // namespace prvdrinfo
