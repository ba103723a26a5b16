#pragma once

// Divisions interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// The division infos (`CDivisionInfo`) of a project.
class PRVDRINFO_API IProviderDivided : public virtual IObject {
 public:
  ~IProviderDivided() override = default;

  virtual std::shared_ptr<KeyedCollection> GetDivisionInfos(const std::string& p_ProjectGuid,
                                                            int32_t p_StatementNumber) const = 0;
};

}  // namespace prvdrinfo
