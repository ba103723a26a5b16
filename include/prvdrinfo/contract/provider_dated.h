#pragma once

// Dates interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

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
  ~IProviderDated() override = default;

  virtual std::string PrimaryDateColumnGuid() const = 0;
  virtual std::string PrimaryDateSql(const std::string& p_TableAlias,
                                     const std::string& p_FieldAlias) const = 0;
};

}  // namespace prvdrinfo
