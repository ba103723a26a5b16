#pragma once

// Deletion interfaces of the provider contract. A provider module derives from the ones it
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

// Deleting records by GUID, classifying the codes a delete raised, and a provider-specific
// refusal code. The exclusive-access switch is copied into a shell.
class PRVDRINFO_API IProviderDelete : public virtual IObject {
 public:
  ~IProviderDelete() override = default;

  virtual void DeleteRecords(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                             const std::shared_ptr<KeyedCollection>& po_RecordGuids) = 0;
  virtual e_DatabaseErrorLevel DeleteRecordsErrorLevel(int32_t p_Code) const = 0;
  virtual DeleteErrorCode DeleteRecordErrorCodeNonStandard(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_RecordGuid) const = 0;
  virtual bool RequireExclusiveProjectAccessForDelete() const = 0;
};

// Deleting records, with the session.
class PRVDRINFO_API IProviderDelete2 : public virtual IObject {
 public:
  ~IProviderDelete2() override = default;

  virtual void DeleteRecords(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                             int32_t p_StatementNumber,
                             const std::shared_ptr<KeyedCollection>& po_RecordGuids) = 0;
};

}  // namespace prvdrinfo
