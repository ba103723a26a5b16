#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/tables/provider_table_def.h"

namespace prvdrinfo::testing {

// A provider column stored in the table under the identifier (its GUID when none given).
inline std::shared_ptr<CColumnDefStored> AddStoredColumn(CProviderColDefs& columns,
                                                         const std::string& guid,
                                                         e_VeskDataType type,
                                                         const std::string& identifier = {}) {
  auto column = std::make_shared<CColumnDefStored>();
  column->SetGuid(guid);
  column->SetIdentifier(identifier.empty() ? guid : identifier);
  column->SetVeskDatatype(type);
  columns.ProviderSpecific()->AddExisting(column);
  return column;
}

// A database file holding the provider table that the columns' own DDL creates.
inline std::shared_ptr<Connection> OpenWithTable(const std::string& path, const std::string& table,
                                                 const std::shared_ptr<CProviderColDefs>& columns) {
  auto definition = CProviderTableDefFctry().CreateProviderTableDef();
  definition->SetTableName(table);
  definition->SetColumns(columns);
  auto db = Connection::Open(path);
  db->Execute(definition->SqlCreateTable());
  return db;
}

}  // namespace prvdrinfo::testing
