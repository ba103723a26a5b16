#pragma once

// Search interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderSearch() override = 0;

  std::shared_ptr<Recordset> GetSearchResults(const std::string& p_ProjectGuid,
                                              int32_t p_StatementNumber,
                                              const std::string& p_Criteria,
                                              e_SearchExtrasFlags p_SearchExtrasFlag) {
    return IProviderSearch_GetSearchResults(p_ProjectGuid, p_StatementNumber, p_Criteria,
                                            p_SearchExtrasFlag);
  }
  std::shared_ptr<CProviderView> SearchableView() { return IProviderSearch_SearchableView(); }

 protected:
  virtual std::shared_ptr<Recordset> IProviderSearch_GetSearchResults(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_Criteria*/, e_SearchExtrasFlags /*p_SearchExtrasFlag*/) {
    return {};
  }
  virtual std::shared_ptr<CProviderView> IProviderSearch_SearchableView() { return {}; }
};
inline IProviderSearch::~IProviderSearch() = default;

}  // namespace prvdrinfo
