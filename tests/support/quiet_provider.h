#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/contract/provider_info.h"

namespace prvdrinfo::testing {

// The one interface every provider implements, answering nothing: empty texts, no
// columns, no views. Tests derive from it and answer what they are about.
struct QuietProvider : IProviderInfo {
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
  std::shared_ptr<CProviderColDefs> Columns() const override { return nullptr; }
  Bytes Serialize() const override { return {}; }
  void Deserialize(const Bytes&) override {}
  std::string Description() const override { return {}; }
  void InitializeProperties() override {}
};

}  // namespace prvdrinfo::testing
