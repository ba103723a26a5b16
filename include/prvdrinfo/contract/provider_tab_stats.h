#pragma once

// Statistics interfaces of the provider contract. A provider module derives from the ones
// it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderTabStats() override = default;

  virtual void PopulateProviderProjectStatistics(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<IObject>& po_TabStatsInfos) = 0;
};

}  // namespace prvdrinfo
