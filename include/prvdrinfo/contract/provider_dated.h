#pragma once

// Dates interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// The primary date column and its SQL.
class PRVDRINFO_API IProviderDated : public virtual IObject {
 public:
  ~IProviderDated() override = 0;

  std::string PrimaryDateColumnGuid() { return IProviderDated_PrimaryDateColumnGuid(); }
  std::string PrimaryDateSql(const std::string& p_TableAlias, const std::string& p_FieldAlias) {
    return IProviderDated_PrimaryDateSql(p_TableAlias, p_FieldAlias);
  }

 protected:
  virtual std::string IProviderDated_PrimaryDateColumnGuid() { return {}; }
  virtual std::string IProviderDated_PrimaryDateSql(const std::string& /*p_TableAlias*/,
                                                    const std::string& /*p_FieldAlias*/) {
    return {};
  }
};
inline IProviderDated::~IProviderDated() = default;

}  // namespace prvdrinfo
