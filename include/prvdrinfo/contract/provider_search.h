#pragma once

// Search interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"
#include "prvdrinfo/contract/provider_enums.h"

namespace prvdrinfo {

// Search results for criteria text, and the view that search results use.
class PRVDRINFO_API IProviderSearch : public virtual IObject {
 public:
  ~IProviderSearch() override = default;

  virtual std::shared_ptr<Recordset> GetSearchResults(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber, const std::string& p_Criteria,
      e_SearchExtrasFlags p_SearchExtrasFlag) const = 0;
  virtual std::shared_ptr<CProviderView> SearchableView() const = 0;
};

}  // namespace prvdrinfo
