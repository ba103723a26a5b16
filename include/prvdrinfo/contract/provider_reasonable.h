#pragma once

// Reasons interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Records that carry a reason.
class PRVDRINFO_API IProviderReasonable : public virtual IObject {
 public:
  ~IProviderReasonable() override = default;

  virtual std::string ReasonColumnGuid() const = 0;
  virtual std::string ReasonTitle(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_RecordGuid) const = 0;
  virtual std::string ReasonAbbreviation(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber,
                                         const std::string& p_RecordGuid) const = 0;
  virtual std::string ReasonGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_RecordGuid) const = 0;
  virtual void ReasonTouched(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                             const std::string& p_ReasonRecordGuid) = 0;
};

// The reason title column.
class PRVDRINFO_API IProviderReasonable2 : public virtual IObject {
 public:
  ~IProviderReasonable2() override = default;

  virtual std::string ReasonTitleColumnGuid() const = 0;
};

}  // namespace prvdrinfo
