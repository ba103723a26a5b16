#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

class Connection;

// Column flags of a database definition.
enum e_DbColumnFlags : int32_t {
  dbcolflag_None = 0,
  dbcolflag_NotNull = 1,
  dbcolflag_Unique = 2,
  dbcolflag_Default = 4,  // the column has the given default value
};

struct PRVDRINFO_API CDbColumnDef {
  std::string name;
  int32_t typeCode = 8;  // automation variant type, declared as SqlService::SqlTypeName gives it
  int32_t flags = dbcolflag_None;
  std::string defaultValue;  // a number for numeric types, else text
};

struct PRVDRINFO_API CDbIndexDef {
  std::string name;
  bool unique = false;
  std::vector<std::string> columns;
};

// One table of a database definition. The table options add the standard columns, named
// by CVesk, after a leading row key:
//   rec_id         INTEGER PRIMARY KEY, always first: a positive row number
//   rec_guid       TEXT NOT NULL UNIQUE; a row given no GUID, or "", gets 32 hex digits
//   hidden         INTEGER NOT NULL DEFAULT 0
//   updates        INTEGER NOT NULL DEFAULT 0, indexed; the writer assigns it
//   modified       TEXT, UTC time of the last change (set on insert and on every update)
//   created        TEXT, UTC time of the insert
//   record_status  INTEGER NOT NULL DEFAULT 0
// The table's own columns follow in the order they were added.
class PRVDRINFO_API CDbTableDef {
 public:
  CDbTableDef(std::string name, bool recordGuid, bool hidden, bool updateCounter, bool modified,
              bool created, bool recordStatus);

  const std::string& Name() const { return name_; }

  // A name already in the table (ASCII letters in any case), an unknown type code or an
  // unknown flag raises 5.
  void AddColumn(std::string name, int32_t typeCode, int32_t flags = dbcolflag_None,
                 std::string defaultValue = {});
  // Every column must be in the table (standard or own); at least one is required.
  void AddIndex(std::string name, bool unique, std::vector<std::string> columns);

  const std::vector<CDbColumnDef>& Columns() const { return columns_; }  // own columns
  const std::vector<CDbIndexDef>& Indexes() const { return indexes_; }
  bool HasColumn(std::string_view name) const;  // standard or own

  // CREATE TABLE, its indexes and triggers, separated by ";" and a line break.
  std::string SqlCreate() const;

 private:
  std::string name_;
  bool recordGuid_;
  bool hidden_;
  bool updateCounter_;
  bool modified_;
  bool created_;
  bool recordStatus_;
  std::vector<CDbColumnDef> columns_;
  std::vector<CDbIndexDef> indexes_;
};

// Describes a database and writes it as a new file, and generates the deletion log of a
// table of an open database. The factory owns its table definitions and hands out shared
// references to them; it holds no connection. Failures raise CError: definition errors
// 5 with a description naming the fault, file and SQLite failures as Connection
// describes them, with the database path in the context.
class PRVDRINFO_API CDbFactory {
 public:
  // Table options in the order of the standard columns; a table name already present
  // raises 5.
  std::shared_ptr<CDbTableDef> AddTable(std::string name, bool recordGuid, bool hidden,
                                        bool updateCounter, bool modified, bool created,
                                        bool recordStatus = false);
  const std::vector<std::shared_ptr<CDbTableDef>>& Tables() const { return tables_; }

  // Every table's statements, separated by ";" and a line break.
  std::string SqlCreateDatabase() const;
  // Writes the definition to a new file at path, complete or not at all: the file is
  // built under a temporary name beside it and then put in place, never over an existing
  // file (error 58 "File already exists").
  void CreateDatabase(const std::string& path) const;

  // The deletion log's name, shared with the provider tables' deletion triggers.
  static constexpr const char* kDeletionLogTable = "CX1IVUUEQIHUW8W2DIJVS3B9O";

  // The DDL that logs deletions from one table of the connection's database: the log
  // table (deleted GUID, deleted table, counter), created when missing, and an AFTER
  // DELETE trigger on the table that replaces the trigger of the same name. The log's
  // counter is its INTEGER PRIMARY KEY AUTOINCREMENT: every logged deletion gets a value
  // above every earlier one, even after the log was emptied, and a GUID deleted again
  // moves up to a new value. A table that is missing, lacks the record GUID column, or
  // is the log itself raises 5; so does a log table without the expected columns.
  static std::string SqlDeletionLog(Connection& connection, std::string_view table);

 private:
  std::vector<std::shared_ptr<CDbTableDef>> tables_;
};

}  // namespace prvdrinfo
