#pragma once

// Reasons interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderReasonable() override = 0;

  std::string ReasonColumnGuid() { return IProviderReasonable_ReasonColumnGuid(); }
  std::string ReasonTitle(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                          const std::string& p_RecordGuid) {
    return IProviderReasonable_ReasonTitle(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string ReasonAbbreviation(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_RecordGuid) {
    return IProviderReasonable_ReasonAbbreviation(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string ReasonGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                         const std::string& p_RecordGuid) {
    return IProviderReasonable_ReasonGuid(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  void ReasonTouched(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                     const std::string& p_ReasonRecordGuid) {
    IProviderReasonable_ReasonTouched(p_ProjectGuid, p_StatementNumber, p_ReasonRecordGuid);
  }

 protected:
  virtual std::string IProviderReasonable_ReasonColumnGuid() { return {}; }
  virtual std::string IProviderReasonable_ReasonTitle(const std::string& /*p_ProjectGuid*/,
                                                      int32_t /*p_StatementNumber*/,
                                                      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderReasonable_ReasonAbbreviation(const std::string& /*p_ProjectGuid*/,
                                                             int32_t /*p_StatementNumber*/,
                                                             const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderReasonable_ReasonGuid(const std::string& /*p_ProjectGuid*/,
                                                     int32_t /*p_StatementNumber*/,
                                                     const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual void IProviderReasonable_ReasonTouched(const std::string& /*p_ProjectGuid*/,
                                                 int32_t /*p_StatementNumber*/,
                                                 const std::string& /*p_ReasonRecordGuid*/) {}
};
inline IProviderReasonable::~IProviderReasonable() = default;

// The reason title column.
class PRVDRINFO_API IProviderReasonable2 : public virtual IObject {
 public:
  ~IProviderReasonable2() override = 0;

  std::string ReasonTitleColumnGuid() { return IProviderReasonable2_ReasonTitleColumnGuid(); }

 protected:
  virtual std::string IProviderReasonable2_ReasonTitleColumnGuid() { return {}; }
};
inline IProviderReasonable2::~IProviderReasonable2() = default;

}  // namespace prvdrinfo
