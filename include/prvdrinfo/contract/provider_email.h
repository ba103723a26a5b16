#pragma once

// E-mail interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// The e-mail count column.
class PRVDRINFO_API IProviderEmail : public virtual IObject {
 public:
  ~IProviderEmail() override = default;

  virtual std::string EmailCountColumnGuid() const = 0;
};

}  // namespace prvdrinfo
