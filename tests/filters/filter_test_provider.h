#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_info.h"
#include "support/quiet_provider.h"

namespace prvdrinfo::testing {

// A provider that offers only its columns, the one thing SQL generation asks for.
struct ColumnsOnlyProvider : QuietProvider {
  std::shared_ptr<CProviderColDefs> columns = std::make_shared<CProviderColDefs>();

  // A provider column whose GUID is also its name in the table.
  void AddColumn(const std::string& guid, e_VeskDataType type) {
    auto column = std::make_shared<CColumnDefStored>();
    column->SetGuid(guid);
    column->SetIdentifier(guid);
    column->SetVeskDatatype(type);
    columns->ProviderSpecific()->AddExisting(column);
  }

  std::shared_ptr<CProviderColDefs> Columns() const override { return columns; }
};

}  // namespace prvdrinfo::testing
