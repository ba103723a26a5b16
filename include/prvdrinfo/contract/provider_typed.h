#pragma once

// Types interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// The types of a project and the type column.
class PRVDRINFO_API IProviderTyped : public virtual IObject {
 public:
  ~IProviderTyped() override = default;

  virtual std::shared_ptr<KeyedCollection> TypesCollection(const std::string& p_ProjectGuid,
                                                           int32_t p_StatementNumber) const = 0;
  virtual std::string TypeColumnGuid() const = 0;
};

// Types with their issue dates.
class PRVDRINFO_API IProviderTyped2 : public virtual IObject {
 public:
  ~IProviderTyped2() override = default;

  virtual std::shared_ptr<Recordset> TypesAndIssueDatesRs(const std::string& p_ProjectGuid,
                                                          int32_t p_StatementNumber) const = 0;
};

}  // namespace prvdrinfo
