#pragma once

// Divisions interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderDivided() override = 0;

  std::shared_ptr<KeyedCollection> GetDivisionInfos(const std::string& p_ProjectGuid,
                                                    int32_t p_StatementNumber) {
    return IProviderDivided_GetDivisionInfos(p_ProjectGuid, p_StatementNumber);
  }

 protected:
  virtual std::shared_ptr<KeyedCollection> IProviderDivided_GetDivisionInfos(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
};
inline IProviderDivided::~IProviderDivided() = default;

}  // namespace prvdrinfo
