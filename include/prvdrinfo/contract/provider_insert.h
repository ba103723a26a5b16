#pragma once

// Insertion interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderInsert() override = 0;

  std::string InsertRecord(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                           int32_t p_StatementNumber,
                           const std::shared_ptr<KeyedCollection>& po_OverrideWarningNumbers,
                           const std::shared_ptr<KeyedCollection>& po_FieldsAndValues) {
    return IProviderInsert_InsertRecord(p_SessionGuid, p_ProjectGuid, p_StatementNumber,
                                        po_OverrideWarningNumbers, po_FieldsAndValues);
  }
  e_DatabaseErrorLevel InsertRecordErrorLevel(int32_t p_Code) {
    return IProviderInsert_InsertRecordErrorLevel(p_Code);
  }
  bool RequireExclusiveProjectAccessForInsert() {
    return IProviderInsert_RequireExclusiveProjectAccessForInsert();
  }

 protected:
  virtual std::string IProviderInsert_InsertRecord(
      const std::string& /*p_SessionGuid*/, const std::string& /*p_ProjectGuid*/,
      int32_t /*p_StatementNumber*/,
      const std::shared_ptr<KeyedCollection>& /*po_OverrideWarningNumbers*/,
      const std::shared_ptr<KeyedCollection>& /*po_FieldsAndValues*/) {
    return {};
  }
  virtual e_DatabaseErrorLevel IProviderInsert_InsertRecordErrorLevel(int32_t /*p_Code*/) {
    return {};
  }
  virtual bool IProviderInsert_RequireExclusiveProjectAccessForInsert() { return {}; }
};
inline IProviderInsert::~IProviderInsert() = default;

}  // namespace prvdrinfo
