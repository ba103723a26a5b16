#pragma once

// Numbers interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// The number column.
class PRVDRINFO_API IProviderNumbered : public virtual IObject {
 public:
  ~IProviderNumbered() override = default;

  virtual std::string NumberColumnGuid() const = 0;
};

// A record's number.
class PRVDRINFO_API IProviderNumbered2 : public virtual IObject {
 public:
  ~IProviderNumbered2() override = default;

  virtual std::string ItemNumber(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_RecordGuid) const = 0;
};

// The external number column and a record's external number.
class PRVDRINFO_API IProviderExternalNumbered : public virtual IObject {
 public:
  ~IProviderExternalNumbered() override = default;

  virtual std::string ExternalNumberColumnGuid() const = 0;
  virtual std::string ItemExternalNumber(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber,
                                         const std::string& p_RecordGuid) const = 0;
};

}  // namespace prvdrinfo
