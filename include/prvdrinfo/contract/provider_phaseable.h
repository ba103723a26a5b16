#pragma once

// Phases interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// A record's phase and the phase column.
class PRVDRINFO_API IProviderPhaseable : public virtual IObject {
 public:
  ~IProviderPhaseable() override = 0;

  std::string ItemPhase(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                        const std::string& p_RecordGuid) {
    return IProviderPhaseable_ItemPhase(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string PhaseColumnGuid() { return IProviderPhaseable_PhaseColumnGuid(); }

 protected:
  virtual std::string IProviderPhaseable_ItemPhase(const std::string& /*p_ProjectGuid*/,
                                                   int32_t /*p_StatementNumber*/,
                                                   const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderPhaseable_PhaseColumnGuid() { return {}; }
};
inline IProviderPhaseable::~IProviderPhaseable() = default;

}  // namespace prvdrinfo
