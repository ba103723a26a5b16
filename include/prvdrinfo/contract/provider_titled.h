#pragma once

// Titles interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// A record's title and the title column.
class PRVDRINFO_API IProviderTitled : public virtual IObject {
 public:
  ~IProviderTitled() override = default;

  virtual std::string ItemTitle(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                const std::string& p_RecordGuid) const = 0;
  virtual std::string TitleColumnGuid() const = 0;
};

// The SQL of the title.
class PRVDRINFO_API IProviderTitled2 : public virtual IObject {
 public:
  ~IProviderTitled2() override = default;

  virtual std::string TitleSql(const std::string& p_TableAlias,
                               const std::string& p_FieldAlias) const = 0;
};

}  // namespace prvdrinfo
