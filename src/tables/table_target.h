#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/columns/column_enums.h"
#include "tables/table_schema.h"

namespace prvdrinfo {

class CProviderTableDef;

// The table a definition asks for, made once on an empty in-memory database and read back,
// so that it compares with a file's table as SQLite describes both; and what the previous
// definition, when a host has it, tells about the columns that the table cannot.
// Built whole or not at all; immutable afterwards.
struct TableTarget {
  struct Rename {
    std::string from;  // identifier in the previous definition
    std::string to;    // identifier in the new one, same GUID
  };

  // Statements fail as the definition's own do; a table named like the deletion log
  // raises 5.
  static std::shared_ptr<const TableTarget> Of(const CProviderTableDef& next,
                                               const CProviderTableDef* previous);

  // The data type of a column of the new definition, by identifier; that of the same
  // column (by GUID) in the previous definition, when there was one.
  std::optional<e_VeskDataType> TypeOf(std::string_view column) const;
  std::optional<e_VeskDataType> PreviousTypeOf(std::string_view column) const;

  // The CREATE TABLE statement, as the schema keeps it, for a table of another name.
  std::string CreateTableNamed(const std::string& name) const;
  // Whether an index or trigger is the one the definition makes under that name (for the
  // deletion trigger, CDbFactory's form that also records the table counts as well).
  bool Makes(const TableSchema::Object& object) const;

  std::string table;             // the definition's TableName
  std::string createStatements;  // SqlCreateTable
  std::string deletionLog;       // CDbFactory::SqlDeletionLog for the table
  TableSchema schema;            // the table as the statements make it
  std::string factoryDeletionTrigger;
  std::vector<Rename> renames;

  struct Typed {
    std::string column;
    e_VeskDataType type;
  };
  std::vector<Typed> types;
  std::vector<Typed> previousTypes;  // under the new identifier
};

}  // namespace prvdrinfo
