#pragma once

// Descent menus interfaces of the provider contract. A provider module derives from the
// ones it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderDescendable() override = default;

  virtual std::shared_ptr<CDescendMenuItems> DescendMenuItems() const = 0;
  virtual std::shared_ptr<CDescendMenuItems> DescendMenuItems2(const std::string& p_ProjectGuid,
                                                               int32_t p_StatementNumber) const = 0;
};

}  // namespace prvdrinfo
