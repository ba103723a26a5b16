#pragma once

// Numbers interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderNumbered() override = 0;

  std::string NumberColumnGuid() { return IProviderNumbered_NumberColumnGuid(); }

 protected:
  virtual std::string IProviderNumbered_NumberColumnGuid() { return {}; }
};
inline IProviderNumbered::~IProviderNumbered() = default;

// A record's number.
class PRVDRINFO_API IProviderNumbered2 : public virtual IObject {
 public:
  ~IProviderNumbered2() override = 0;

  std::string ItemNumber(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                         const std::string& p_RecordGuid) {
    return IProviderNumbered2_ItemNumber(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual std::string IProviderNumbered2_ItemNumber(const std::string& /*p_ProjectGuid*/,
                                                    int32_t /*p_StatementNumber*/,
                                                    const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderNumbered2::~IProviderNumbered2() = default;

// The external number column and a record's external number.
class PRVDRINFO_API IProviderExternalNumbered : public virtual IObject {
 public:
  ~IProviderExternalNumbered() override = 0;

  std::string ExternalNumberColumnGuid() {
    return IProviderExternalNumbered_ExternalNumberColumnGuid();
  }
  std::string ItemExternalNumber(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_RecordGuid) {
    return IProviderExternalNumbered_ItemExternalNumber(p_ProjectGuid, p_StatementNumber,
                                                        p_RecordGuid);
  }

 protected:
  virtual std::string IProviderExternalNumbered_ExternalNumberColumnGuid() { return {}; }
  virtual std::string IProviderExternalNumbered_ItemExternalNumber(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderExternalNumbered::~IProviderExternalNumbered() = default;

}  // namespace prvdrinfo
