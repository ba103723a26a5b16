#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// A provider made of a column set and nothing else, for asking a filter for its SQL
// without a provider module: Columns() returns the set it was given (shared, not
// copied), every other member answers empty (no views, no names, category
// Construction) and the setters and Deserialize change nothing.
// A filter holds its ProviderInfo weakly: keep this object alive while the filter needs it.
class PRVDRINFO_API CColumnSetProvider : public IProviderInfo {
 public:
  // A null set gives a provider with a fresh column set of standard columns only.
  explicit CColumnSetProvider(std::shared_ptr<CProviderColDefs> p_Columns);

  std::shared_ptr<CProviderColDefs> Columns() const override { return columns_; }

  bool SupportsForms() const override { return false; }
  std::shared_ptr<CProviderView> DefaultViewDefinition() const override { return nullptr; }
  std::string Guid() const override { return {}; }
  std::string DllName() const override { return {}; }
  std::string ClassName() const override { return {}; }
  e_ProviderCategory Category() const override { return providercategory_Construction; }
  std::string PluralName(e_LocaleId, RoleId) const override { return {}; }
  std::string SingularName(e_LocaleId, RoleId) const override { return {}; }
  std::string CommonPluralName(e_LocaleId, RoleId) const override { return {}; }
  std::string CommonSingularName(e_LocaleId, RoleId) const override { return {}; }
  std::shared_ptr<CProvidersCollection> RequiredPopulatedProviders() const override {
    return nullptr;
  }
  std::shared_ptr<CProviderViews> Views() const override { return nullptr; }
  void SetViews(const std::shared_ptr<CProviderViews>&) override {}
  Bytes Serialize() const override { return {}; }
  void Deserialize(const Bytes&) override {}
  std::string Description() const override { return {}; }
  void InitializeProperties() override {}

 private:
  std::shared_ptr<CProviderColDefs> columns_;
};

}  // namespace prvdrinfo
