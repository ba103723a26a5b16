#pragma once

// Deletion interfaces of the provider contract. Each public member forwards to the
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

// Deleting records by GUID, classifying the codes a delete raised, and a provider-specific
// refusal code. The exclusive-access switch is copied into a shell.
class PRVDRINFO_API IProviderDelete : public virtual IObject {
 public:
  ~IProviderDelete() override = 0;

  void DeleteRecords(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                     const std::shared_ptr<KeyedCollection>& po_RecordGuids) {
    IProviderDelete_DeleteRecords(p_ProjectGuid, p_StatementNumber, po_RecordGuids);
  }
  e_DatabaseErrorLevel DeleteRecordsErrorLevel(int32_t p_Code) {
    return IProviderDelete_DeleteRecordsErrorLevel(p_Code);
  }
  DeleteErrorCode DeleteRecordErrorCodeNonStandard(const std::string& p_ProjectGuid,
                                                   int32_t p_StatementNumber,
                                                   const std::string& p_RecordGuid) {
    return IProviderDelete_DeleteRecordErrorCodeNonStandard(p_ProjectGuid, p_StatementNumber,
                                                            p_RecordGuid);
  }
  bool RequireExclusiveProjectAccessForDelete() {
    return IProviderDelete_RequireExclusiveProjectAccessForDelete();
  }

 protected:
  virtual void IProviderDelete_DeleteRecords(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::shared_ptr<KeyedCollection>& /*po_RecordGuids*/) {}
  virtual e_DatabaseErrorLevel IProviderDelete_DeleteRecordsErrorLevel(int32_t /*p_Code*/) {
    return {};
  }
  virtual DeleteErrorCode IProviderDelete_DeleteRecordErrorCodeNonStandard(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual bool IProviderDelete_RequireExclusiveProjectAccessForDelete() { return {}; }
};
inline IProviderDelete::~IProviderDelete() = default;

// Deleting records, with the session.
class PRVDRINFO_API IProviderDelete2 : public virtual IObject {
 public:
  ~IProviderDelete2() override = 0;

  void DeleteRecords(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                     int32_t p_StatementNumber,
                     const std::shared_ptr<KeyedCollection>& po_RecordGuids) {
    IProviderDelete2_DeleteRecords(p_SessionGuid, p_ProjectGuid, p_StatementNumber, po_RecordGuids);
  }

 protected:
  virtual void IProviderDelete2_DeleteRecords(
      const std::string& /*p_SessionGuid*/, const std::string& /*p_ProjectGuid*/,
      int32_t /*p_StatementNumber*/, const std::shared_ptr<KeyedCollection>& /*po_RecordGuids*/) {}
};
inline IProviderDelete2::~IProviderDelete2() = default;

}  // namespace prvdrinfo
