#pragma once

// Record status interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// A record's status text.
class PRVDRINFO_API IProviderRecordStatus : public virtual IObject {
 public:
  ~IProviderRecordStatus() override = 0;

  std::string RecordStatus(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                           const std::string& p_RecordGuid) {
    return IProviderRecordStatus_RecordStatus(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual std::string IProviderRecordStatus_RecordStatus(const std::string& /*p_ProjectGuid*/,
                                                         int32_t /*p_StatementNumber*/,
                                                         const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderRecordStatus::~IProviderRecordStatus() = default;

}  // namespace prvdrinfo
