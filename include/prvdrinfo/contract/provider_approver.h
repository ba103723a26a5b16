#pragma once

// Approval interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

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
  ~IProviderApprover() override = default;

  virtual std::string ApprovedColumnGuid() const = 0;
  virtual void GetItemApprovalRights(const std::string& p_SessionGuid,
                                     const std::string& p_UserGuid,
                                     const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                     const std::string& p_RecordGuid, bool& p_CanApprove,
                                     bool& p_CanUnapprove) const = 0;
};

}  // namespace prvdrinfo
