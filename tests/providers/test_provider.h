#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "support/quiet_provider.h"

namespace prvdrinfo::testing {

// A provider that implements IProviderInfo only, answering its identity, an empty column
// set and an empty view collection; tests derive from it to add capabilities.
struct TestProvider : QuietProvider {
  std::string guid = "TEST-PROVIDER";
  std::shared_ptr<CProviderColDefs> columns = std::make_shared<CProviderColDefs>();
  std::shared_ptr<CProviderViews> views = std::make_shared<CProviderViews>();

  std::string Guid() const override { return guid; }
  std::string DllName() const override { return "libtest.so"; }
  std::string ClassName() const override { return "CTest"; }
  e_ProviderCategory Category() const override { return providercategory_Special; }
  std::string PluralName(e_LocaleId, RoleId) const override { return "Tests"; }
  std::string SingularName(e_LocaleId, RoleId) const override { return "Test"; }
  std::string CommonPluralName(e_LocaleId, RoleId) const override { return "Tests"; }
  std::string CommonSingularName(e_LocaleId, RoleId) const override { return "Test"; }
  std::shared_ptr<CProviderViews> Views() const override { return views; }
  void SetViews(const std::shared_ptr<CProviderViews>& value) override { views = value; }
  std::shared_ptr<CProviderColDefs> Columns() const override { return columns; }
  std::string Description() const override { return "A test provider."; }
};

}  // namespace prvdrinfo::testing
