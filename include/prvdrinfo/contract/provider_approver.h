#pragma once

// Approval interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Approval: the approved column, and whether a user may approve or unapprove a record
// (answered through the two in/out Booleans).
class PRVDRINFO_API IProviderApprover : public virtual IObject {
 public:
  ~IProviderApprover() override = 0;

  std::string ApprovedColumnGuid() { return IProviderApprover_ApprovedColumnGuid(); }
  void GetItemApprovalRights(const std::string& p_SessionGuid, const std::string& p_UserGuid,
                             const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                             const std::string& p_RecordGuid, bool& p_CanApprove,
                             bool& p_CanUnapprove) {
    IProviderApprover_GetItemApprovalRights(p_SessionGuid, p_UserGuid, p_ProjectGuid,
                                            p_StatementNumber, p_RecordGuid, p_CanApprove,
                                            p_CanUnapprove);
  }

 protected:
  virtual std::string IProviderApprover_ApprovedColumnGuid() { return {}; }
  virtual void IProviderApprover_GetItemApprovalRights(
      const std::string& /*p_SessionGuid*/, const std::string& /*p_UserGuid*/,
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/, bool& /*p_CanApprove*/, bool& /*p_CanUnapprove*/) {}
};
inline IProviderApprover::~IProviderApprover() = default;

}  // namespace prvdrinfo
