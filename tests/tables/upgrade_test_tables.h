#pragma once

// Provider tables for the upgrade tests: definitions made from a short description,
// created with the library's own statements, and read back as text.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/tables/provider_table_def.h"

namespace prvdrinfo::upgrade_test {

struct Col {
  std::string guid;
  std::string identifier;
  e_VeskDataType type;
  bool required = false;
};

struct Def {
  std::vector<Col> columns;
  std::vector<std::vector<std::string>> uniques = {};
  std::vector<std::string> key = {};  // after the record GUID
  bool requiredRecordStatus = false;
};

inline std::shared_ptr<CProviderTableDef> Definition(const Def& def,
                                                     const std::string& name = "Items") {
  auto table = CProviderTableDefFctry().CreateProviderTableDef();
  table->SetTableName(name);
  const auto columns = table->Columns();
  if (def.requiredRecordStatus) {
    columns->InitRecordStatusColumn();
    columns->Required()->AddExisting(
        columns->Standard()->Item(CVesk::ColumnName(veskcol_RecordStatus)));
  }
  for (const auto& c : def.columns) {
    auto column = std::make_shared<CColumnDefStored>();
    column->SetGuid(c.guid);
    column->SetIdentifier(c.identifier);
    column->SetVeskDatatype(c.type);
    columns->ProviderSpecific()->AddExisting(column);
    if (c.required) columns->Required()->AddExisting(column);
  }
  for (const auto& guid : def.key)
    table->Indexes()->PrimaryKey()->Columns()->AddExisting(columns->FindByGuid(guid));
  for (size_t i = 0; i < def.uniques.size(); ++i) {
    auto index = table->Indexes()->Unique()->Add("unique" + std::to_string(i));
    for (const auto& guid : def.uniques[i])
      index->Columns()->AddExisting(columns->FindByGuid(guid));
  }
  return table;
}

// The table as a host makes it: the definition's statements and the deletion log.
inline void MakeTable(Connection& db, const CProviderTableDef& table) {
  db.Execute(table.SqlCreateTable());
  db.Execute(CDbFactory::SqlDeletionLog(db, table.TableName()));
}

// Each row's fields joined by "|", NULL as NULL.
inline std::vector<std::string> Rows(Connection& db, const std::string& sql) {
  std::vector<std::string> rows;
  for (auto set = db.OpenRecordset(sql); !set->Eof(); set->MoveNext()) {
    std::string row;
    for (int32_t i = 0; i < set->FieldCount(); ++i) {
      const Variant value = set->Value(i);
      row += (i > 0 ? "|" : "") + (value.IsNull() ? std::string("NULL") : value.ToText());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

// The schema and every row of every table, to tell that nothing changed.
inline std::vector<std::string> Dump(Connection& db) {
  auto dump = Rows(db, "SELECT type, name, tbl_name, quote(sql) FROM sqlite_master ORDER BY name");
  for (const auto& table :
       Rows(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")) {
    auto rows = Rows(db, "SELECT * FROM " + SqlService::QuoteIdentifier(table));
    std::sort(rows.begin(), rows.end());
    dump.push_back(table + ":");
    dump.insert(dump.end(), rows.begin(), rows.end());
  }
  return dump;
}

}  // namespace prvdrinfo::upgrade_test
