#pragma once

// Statistics interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Fills the project statistics of this provider into the host's statistics list.
class PRVDRINFO_API IProviderTabStats : public virtual IObject {
 public:
  ~IProviderTabStats() override = 0;

  void PopulateProviderProjectStatistics(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber,
                                         const std::shared_ptr<IObject>& po_TabStatsInfos) {
    IProviderTabStats_PopulateProviderProjectStatistics(p_ProjectGuid, p_StatementNumber,
                                                        po_TabStatsInfos);
  }

 protected:
  virtual void IProviderTabStats_PopulateProviderProjectStatistics(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::shared_ptr<IObject>& /*po_TabStatsInfos*/) {}
};
inline IProviderTabStats::~IProviderTabStats() = default;

}  // namespace prvdrinfo
