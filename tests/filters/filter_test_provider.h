#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_info.h"

namespace prvdrinfo::testing {

// A provider that offers only its columns, the one thing SQL generation asks for.
struct ColumnsOnlyProvider : IProviderInfo {
  std::shared_ptr<CProviderColDefs> columns = std::make_shared<CProviderColDefs>();

  // A provider column whose GUID is also its name in the table.
  void AddColumn(const std::string& guid, e_VeskDataType type) {
    auto column = std::make_shared<CColumnDefStored>();
    column->SetGuid(guid);
    column->SetIdentifier(guid);
    column->SetVeskDatatype(type);
    columns->ProviderSpecific()->AddExisting(column);
  }

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
  std::shared_ptr<CProviderColDefs> Columns() const override { return columns; }
  Bytes Serialize() const override { return {}; }
  void Deserialize(const Bytes&) override {}
  std::string Description() const override { return {}; }
  void InitializeProperties() override {}
};

}  // namespace prvdrinfo::testing
