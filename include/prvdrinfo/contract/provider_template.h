#pragma once

// Templates interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Project templates: providers a template needs as well, and post-processing of
// imported template data.
class PRVDRINFO_API IProviderTemplate : public virtual IObject {
 public:
  ~IProviderTemplate() override = 0;

  std::vector<std::string> RequiredSupportedProviderGuids() {
    return IProviderTemplate_RequiredSupportedProviderGuids();
  }
  void PostProcessImportedTemplateData(const std::string& p_SourceProjectGuid,
                                       int32_t p_SourceStatementNumber,
                                       const std::string& p_DestinationProjectGuid,
                                       int32_t p_DestinationStatementNumber) {
    IProviderTemplate_PostProcessImportedTemplateData(p_SourceProjectGuid, p_SourceStatementNumber,
                                                      p_DestinationProjectGuid,
                                                      p_DestinationStatementNumber);
  }

 protected:
  virtual std::vector<std::string> IProviderTemplate_RequiredSupportedProviderGuids() { return {}; }
  virtual void IProviderTemplate_PostProcessImportedTemplateData(
      const std::string& /*p_SourceProjectGuid*/, int32_t /*p_SourceStatementNumber*/,
      const std::string& /*p_DestinationProjectGuid*/, int32_t /*p_DestinationStatementNumber*/) {}
};
inline IProviderTemplate::~IProviderTemplate() = default;

}  // namespace prvdrinfo
