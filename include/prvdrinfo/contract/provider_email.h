#pragma once

// E-mail interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderEmail() override = 0;

  std::string EmailCountColumnGuid() { return IProviderEmail_EmailCountColumnGuid(); }

 protected:
  virtual std::string IProviderEmail_EmailCountColumnGuid() { return {}; }
};
inline IProviderEmail::~IProviderEmail() = default;

}  // namespace prvdrinfo
