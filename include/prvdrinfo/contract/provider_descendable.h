#pragma once

// Descent menus interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// The menu of places a user can descend to from a record.
class PRVDRINFO_API IProviderDescendable : public virtual IObject {
 public:
  ~IProviderDescendable() override = 0;

  std::shared_ptr<CDescendMenuItems> DescendMenuItems() {
    return IProviderDescendable_DescendMenuItems();
  }
  std::shared_ptr<CDescendMenuItems> DescendMenuItems2(const std::string& p_ProjectGuid,
                                                       int32_t p_StatementNumber) {
    return IProviderDescendable_DescendMenuItems2(p_ProjectGuid, p_StatementNumber);
  }

 protected:
  virtual std::shared_ptr<CDescendMenuItems> IProviderDescendable_DescendMenuItems() { return {}; }
  virtual std::shared_ptr<CDescendMenuItems> IProviderDescendable_DescendMenuItems2(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
};
inline IProviderDescendable::~IProviderDescendable() = default;

}  // namespace prvdrinfo
