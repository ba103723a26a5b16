#pragma once

// Types interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderTyped() override = 0;

  std::shared_ptr<KeyedCollection> TypesCollection(const std::string& p_ProjectGuid,
                                                   int32_t p_StatementNumber) {
    return IProviderTyped_TypesCollection(p_ProjectGuid, p_StatementNumber);
  }
  std::string TypeColumnGuid() { return IProviderTyped_TypeColumnGuid(); }

 protected:
  virtual std::shared_ptr<KeyedCollection> IProviderTyped_TypesCollection(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual std::string IProviderTyped_TypeColumnGuid() { return {}; }
};
inline IProviderTyped::~IProviderTyped() = default;

// Types with their issue dates.
class PRVDRINFO_API IProviderTyped2 : public virtual IObject {
 public:
  ~IProviderTyped2() override = 0;

  std::shared_ptr<Recordset> TypesAndIssueDatesRs(const std::string& p_ProjectGuid,
                                                  int32_t p_StatementNumber) {
    return IProviderTyped2_TypesAndIssueDatesRs(p_ProjectGuid, p_StatementNumber);
  }

 protected:
  virtual std::shared_ptr<Recordset> IProviderTyped2_TypesAndIssueDatesRs(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
};
inline IProviderTyped2::~IProviderTyped2() = default;

}  // namespace prvdrinfo
