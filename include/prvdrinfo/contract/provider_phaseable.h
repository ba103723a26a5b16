#pragma once

// Phases interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

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
  ~IProviderPhaseable() override = default;

  virtual std::string ItemPhase(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                const std::string& p_RecordGuid) const = 0;
  virtual std::string PhaseColumnGuid() const = 0;
};

}  // namespace prvdrinfo
