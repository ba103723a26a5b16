#pragma once

// Templates interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

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
  ~IProviderTemplate() override = default;

  virtual std::vector<std::string> RequiredSupportedProviderGuids() const = 0;
  virtual void PostProcessImportedTemplateData(const std::string& p_SourceProjectGuid,
                                               int32_t p_SourceStatementNumber,
                                               const std::string& p_DestinationProjectGuid,
                                               int32_t p_DestinationStatementNumber) = 0;
};

}  // namespace prvdrinfo
