#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace prvdrinfo {

class Connection;

// One table of a database as SQLite describes it: its columns, primary key, unique
// constraints, and the indexes and triggers made on it by statements of their own.
// Names are kept as the schema spells them and compared as SQL compares them (ASCII
// letters in any case). Reading raises as Connection describes its failures.
struct TableSchema {
  struct Column {
    std::string name;
    std::string type;  // as declared
    bool notNull = false;
    std::optional<std::string> defaultSql;  // the default's text, as declared
  };

  // An index or trigger with the statement that made it, as the schema keeps it.
  struct Object {
    std::string type;  // "index" or "trigger"
    std::string name;
    std::string sql;
    std::vector<std::string> columns;  // an index's named columns; empty for a trigger
  };

  // Reads the table of the main database; Exists() is false when there is none.
  static TableSchema Read(Connection& connection, std::string_view table);

  bool Exists() const { return !kind.empty(); }
  bool IsView() const { return kind == "view"; }
  const Column* FindColumn(std::string_view name) const;
  const Object* FindObject(std::string_view name) const;

  std::string name;  // as the schema spells it
  std::string kind;  // "table", "view", or empty when there is none
  std::string sql;   // the CREATE statement
  bool withoutRowId = false;
  std::vector<Column> columns;
  std::vector<std::string> primaryKey;            // in key order
  std::vector<std::vector<std::string>> uniques;  // UNIQUE constraints, each in column order
  std::vector<Object> objects;                    // in the order they were made
};

}  // namespace prvdrinfo
