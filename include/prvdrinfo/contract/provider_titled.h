#pragma once

// Titles interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderTitled() override = 0;

  std::string ItemTitle(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                        const std::string& p_RecordGuid) {
    return IProviderTitled_ItemTitle(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string TitleColumnGuid() { return IProviderTitled_TitleColumnGuid(); }

 protected:
  virtual std::string IProviderTitled_ItemTitle(const std::string& /*p_ProjectGuid*/,
                                                int32_t /*p_StatementNumber*/,
                                                const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderTitled_TitleColumnGuid() { return {}; }
};
inline IProviderTitled::~IProviderTitled() = default;

// The SQL of the title.
class PRVDRINFO_API IProviderTitled2 : public virtual IObject {
 public:
  ~IProviderTitled2() override = 0;

  std::string TitleSql(const std::string& p_TableAlias, const std::string& p_FieldAlias) {
    return IProviderTitled2_TitleSql(p_TableAlias, p_FieldAlias);
  }

 protected:
  virtual std::string IProviderTitled2_TitleSql(const std::string& /*p_TableAlias*/,
                                                const std::string& /*p_FieldAlias*/) {
    return {};
  }
};
inline IProviderTitled2::~IProviderTitled2() = default;

}  // namespace prvdrinfo
