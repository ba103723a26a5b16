#include "prvdrinfo/db/db_factory.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#include "db/sql_text.h"
#include "foundation/internal/ascii.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCreateTable{"FRMT8EDBBXB13MZ6Z2OR68AG3", "CDbTableDef"};
constexpr ErrorSite kAddColumn{"8Z5ZH066PPLEXV801AG369A4O", "CDbTableDef.AddColumn"};
constexpr ErrorSite kAddIndex{"0CHN4A2B2ZZFRSRUL69IA97CD", "CDbTableDef.AddIndex"};
constexpr ErrorSite kSqlCreate{"0OQKD4V5YLB2BNIAJOCCFR3IK", "CDbTableDef.SqlCreate"};
constexpr ErrorSite kAddTable{"COBLXNTWRK07S73CHGDH39HHS", "CDbFactory.AddTable"};
constexpr ErrorSite kSqlCreateDatabase{"RY8A3IOVK3COYEOL92Q1VJ2MP", "CDbFactory.SqlCreateDatabase"};
constexpr ErrorSite kCreateDatabase{"XXBCDA3FZ9QEFU8VW0BO0VN83", "CDbFactory.CreateDatabase"};
constexpr ErrorSite kPutInPlace{"EY2HUNLGZHNZ98M472UIZ9H10", "CDbFactory.CreateDatabase"};
constexpr ErrorSite kSqlDeletionLog{"PCH5XL1DZOP881Q8X3CX04QTL", "CDbFactory.SqlDeletionLog"};

constexpr int32_t kFileAlreadyExists = 58;
constexpr int32_t kKnownFlags = dbcolflag_NotNull | dbcolflag_Unique | dbcolflag_Default;
constexpr const char* kRowKey = "rec_id";
constexpr const char* kUtcNow = "strftime('%Y-%m-%dT%H:%M:%SZ','now')";
constexpr const char* kStatementBreak = ";\n";

std::string Q(std::string_view name) { return SqlService::QuoteIdentifier(name); }

std::string Std(e_VeskColumn column) { return CVesk::ColumnName(column, veskform_Plain); }

// A decimal number as SQLite reads one, so that it can stand unquoted.
bool IsNumber(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == text.size();
}

std::string DefaultLiteral(const CDbColumnDef& column) {
  const std::string type = SqlService::SqlTypeName(column.typeCode);
  if ((type == "INTEGER" || type == "REAL" || type == "NUMERIC") && IsNumber(column.defaultValue)) {
    return column.defaultValue;
  }
  if (type == "BLOB" && column.defaultValue.empty()) return "X''";
  return "'" + SqlService::EscapeLiteral(column.defaultValue) + "'";
}

std::string ColumnDefinition(const CDbColumnDef& column) {
  std::string sql = Q(column.name) + " " + SqlService::SqlTypeName(column.typeCode);
  if (column.flags & dbcolflag_NotNull) sql += " NOT NULL";
  if (column.flags & dbcolflag_Unique) sql += " UNIQUE";
  if (column.flags & dbcolflag_Default) sql += " DEFAULT " + DefaultLiteral(column);
  return sql;
}

// Removes a file on every path out unless told to keep it.
class RemoveOnExit {
 public:
  explicit RemoveOnExit(std::string path) : path_(std::move(path)) {}
  ~RemoveOnExit() {
    if (!path_.empty()) {
      unlink(path_.c_str());
      unlink((path_ + "-journal").c_str());
    }
  }
  RemoveOnExit(const RemoveOnExit&) = delete;
  RemoveOnExit& operator=(const RemoveOnExit&) = delete;

 private:
  std::string path_;
};

std::string TemporaryPathBeside(const std::string& path) {
  std::random_device device;
  const auto tag = std::to_string(getpid()) + "-" + std::to_string(device());
  return path + ".tmp-" + tag;
}

// Puts the finished file at path without ever replacing an existing one.
void PutInPlace(const std::string& temporary, const std::string& path) {
  kPutInPlace.Guard([&] {
    if (link(temporary.c_str(), path.c_str()) == 0) return;
    const int failure = errno;
    if (failure == EEXIST) kPutInPlace.Raise(kFileAlreadyExists, "File already exists");
    // Some file systems have no hard links; a rename after a last look will do there.
    if (failure == EPERM || failure == ENOTSUP || failure == EOPNOTSUPP || failure == EXDEV) {
      if (access(path.c_str(), F_OK) == 0)
        kPutInPlace.Raise(kFileAlreadyExists, "File already exists");
      if (rename(temporary.c_str(), path.c_str()) == 0) return;
    }
    kPutInPlace.Raise(err::kPermissionDenied,
                      "Could not create " + path + ": " + std::strerror(errno));
  });
}
}  // namespace

CDbTableDef::CDbTableDef(std::string name, bool recordGuid, bool hidden, bool updateCounter,
                         bool modified, bool created, bool recordStatus)
    : name_(std::move(name)),
      recordGuid_(recordGuid),
      hidden_(hidden),
      updateCounter_(updateCounter),
      modified_(modified),
      created_(created),
      recordStatus_(recordStatus) {
  kCreateTable.Guard([&] { Q(name_); });  // a name that cannot be quoted fails here, not later
}

bool CDbTableDef::HasColumn(std::string_view name) const {
  const std::pair<bool, e_VeskColumn> standard[] = {
      {recordGuid_, veskcol_RecordGuid}, {hidden_, veskcol_Hidden},
      {updateCounter_, veskcol_Updates}, {modified_, veskcol_Modified},
      {created_, veskcol_Created},       {recordStatus_, veskcol_RecordStatus}};
  if (ascii::EqualsIgnoreCase(name, kRowKey)) return true;
  for (const auto& [on, column] : standard) {
    if (on && ascii::EqualsIgnoreCase(name, Std(column))) return true;
  }
  for (const auto& column : columns_) {
    if (ascii::EqualsIgnoreCase(name, column.name)) return true;
  }
  return false;
}

void CDbTableDef::AddColumn(std::string name, int32_t typeCode, int32_t flags,
                            std::string defaultValue) {
  kAddColumn.Guard(
      [&] {
        Q(name);
        SqlService::SqlTypeName(typeCode);
        if ((flags & ~kKnownFlags) != 0) {
          kAddColumn.Raise(err::kInvalidProcedureCall,
                           "Unknown column flags: " + std::to_string(flags));
        }
        if (flags & dbcolflag_Default) SqlService::EscapeLiteral(defaultValue);
        if (HasColumn(name))
          kAddColumn.Raise(err::kInvalidProcedureCall, "The table already has that column.");
        columns_.push_back({std::move(name), typeCode, flags, std::move(defaultValue)});
      },
      [&] { return "Table: " + name_ + ", column: " + name; });
}

void CDbTableDef::AddIndex(std::string name, bool unique, std::vector<std::string> columns) {
  kAddIndex.Guard(
      [&] {
        Q(name);
        if (columns.empty())
          kAddIndex.Raise(err::kInvalidProcedureCall, "An index needs at least one column.");
        for (const auto& column : columns) {
          if (!HasColumn(column)) {
            kAddIndex.Raise(err::kInvalidProcedureCall, "The table has no column " + column + ".");
          }
        }
        for (const auto& index : indexes_) {
          if (ascii::EqualsIgnoreCase(index.name, name))
            kAddIndex.Raise(err::kInvalidProcedureCall, "The table already has that index.");
        }
        indexes_.push_back({std::move(name), unique, std::move(columns)});
      },
      [&] { return "Table: " + name_ + ", index: " + name; });
}

std::string CDbTableDef::SqlCreate() const {
  return kSqlCreate.Guard([&] {
    const std::string table = Q(name_);
    std::vector<std::string> definitions;
    std::vector<std::string> changeable;  // every column whose change counts as a modification
    definitions.push_back(Q(kRowKey) + " INTEGER PRIMARY KEY");
    changeable.push_back(Q(kRowKey));
    if (recordGuid_) {
      definitions.push_back(Q(Std(veskcol_RecordGuid)) +
                            " TEXT NOT NULL DEFAULT (hex(randomblob(16))) UNIQUE");
      changeable.push_back(Q(Std(veskcol_RecordGuid)));
    }
    if (hidden_) {
      definitions.push_back(Q(Std(veskcol_Hidden)) + " INTEGER NOT NULL DEFAULT 0");
      changeable.push_back(Q(Std(veskcol_Hidden)));
    }
    if (updateCounter_) {
      definitions.push_back(Q(Std(veskcol_Updates)) + " INTEGER NOT NULL DEFAULT 0");
      changeable.push_back(Q(Std(veskcol_Updates)));
    }
    if (modified_)
      definitions.push_back(Q(Std(veskcol_Modified)) + " TEXT NOT NULL DEFAULT (" + kUtcNow + ")");
    if (created_) {
      definitions.push_back(Q(Std(veskcol_Created)) + " TEXT NOT NULL DEFAULT (" + kUtcNow + ")");
      changeable.push_back(Q(Std(veskcol_Created)));
    }
    if (recordStatus_) {
      definitions.push_back(Q(Std(veskcol_RecordStatus)) + " INTEGER NOT NULL DEFAULT 0");
      changeable.push_back(Q(Std(veskcol_RecordStatus)));
    }
    for (const auto& column : columns_) {
      definitions.push_back(ColumnDefinition(column));
      changeable.push_back(Q(column.name));
    }

    std::string sql = "CREATE TABLE " + table + " (";
    for (size_t i = 0; i < definitions.size(); ++i) sql += (i > 0 ? ", " : "") + definitions[i];
    sql += ")";

    if (updateCounter_) {
      const std::string name = Std(veskcol_Updates);
      sql += kStatementBreak;
      sql +=
          "CREATE INDEX " + Q("idx_" + name_ + "_" + name) + " ON " + table + " (" + Q(name) + ")";
    }
    for (const auto& index : indexes_) {
      sql += kStatementBreak;
      sql += std::string(index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + Q(index.name) +
             " ON " + table + " (";
      for (size_t i = 0; i < index.columns.size(); ++i)
        sql += (i > 0 ? ", " : "") + Q(index.columns[i]);
      sql += ")";
    }
    if (recordGuid_) {
      // The default covers a row given no GUID; this covers one given "".
      const std::string guid = Q(Std(veskcol_RecordGuid));
      sql += kStatementBreak;
      sql += "CREATE TRIGGER " + Q("trigger_" + name_ + "_" + Std(veskcol_RecordGuid)) +
             " AFTER INSERT ON " + table + " WHEN new." + guid + "='' BEGIN UPDATE " + table +
             " SET " + guid + "=hex(randomblob(16)) WHERE rowid=new.rowid; END";
    }
    if (modified_) {
      // Only changes to other columns fire it, so its own update cannot fire it again.
      std::string columns;
      for (size_t i = 0; i < changeable.size(); ++i) columns += (i > 0 ? ", " : "") + changeable[i];
      sql += kStatementBreak;
      sql += "CREATE TRIGGER " + Q("trigger_" + name_ + "_" + Std(veskcol_Modified)) +
             " AFTER UPDATE OF " + columns + " ON " + table + " BEGIN UPDATE " + table + " SET " +
             Q(Std(veskcol_Modified)) + "=" + kUtcNow + " WHERE rowid=new.rowid; END";
    }
    return sql;
  });
}

std::shared_ptr<CDbTableDef> CDbFactory::AddTable(std::string name, bool recordGuid, bool hidden,
                                                  bool updateCounter, bool modified, bool created,
                                                  bool recordStatus) {
  return kAddTable.Guard(
      [&] {
        for (const auto& table : tables_) {
          if (ascii::EqualsIgnoreCase(table->Name(), name)) {
            kAddTable.Raise(err::kInvalidProcedureCall, "The database already has that table.");
          }
        }
        auto table = std::make_shared<CDbTableDef>(name, recordGuid, hidden, updateCounter,
                                                   modified, created, recordStatus);
        tables_.push_back(table);
        return table;
      },
      [&] { return "Table: " + name; });
}

std::string CDbFactory::SqlCreateDatabase() const {
  return kSqlCreateDatabase.Guard([&] {
    if (tables_.empty())
      kSqlCreateDatabase.Raise(err::kInvalidProcedureCall, "The database has no tables.");
    std::string sql;
    for (const auto& table : tables_) {
      if (!sql.empty()) sql += kStatementBreak;
      sql += table->SqlCreate();
    }
    return sql;
  });
}

void CDbFactory::CreateDatabase(const std::string& path) const {
  kCreateDatabase.Guard(
      [&] {
        CheckSqlText(path, kCreateDatabase, "The database path");
        if (path.empty() || path == ":memory:") {
          kCreateDatabase.Raise(err::kInvalidProcedureCall, "A database file path is required.");
        }
        const std::string sql = SqlCreateDatabase();
        if (access(path.c_str(), F_OK) == 0)
          kCreateDatabase.Raise(kFileAlreadyExists, "File already exists");
        const std::string temporary = TemporaryPathBeside(path);
        RemoveOnExit cleanup(temporary);
        {
          auto connection = Connection::Open(temporary, Connection::OpenMode::ReadWriteCreate);
          connection->BeginImmediate(0);
          connection->Execute(sql);
          connection->Commit();
        }
        PutInPlace(temporary, path);
      },
      [&] { return "Database: " + path; });
}

std::string CDbFactory::SqlDeletionLog(Connection& connection, std::string_view table) {
  return kSqlDeletionLog.Guard(
      [&] {
        const std::string guid = Std(veskcol_RecordGuid);
        const std::string deletedGuid = CVesk::ColumnName(veskcol_DeletedGuid);
        const std::string deletedTable = CVesk::ColumnName(veskcol_DeletedTable);
        const std::string counter = CVesk::ColumnName(veskcol_DeletedUpdates);

        // The name as the schema holds it, which is what the log records.
        auto find = connection.CreateCommand(
            "SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
        find->SetText(1, table);
        auto found = find->OpenRecordset();
        if (found->Eof())
          kSqlDeletionLog.Raise(err::kInvalidProcedureCall, "The database has no such table.");
        const std::string name = found->Value(0).AsText();
        if (ascii::EqualsIgnoreCase(name, kDeletionLogTable)) {
          kSqlDeletionLog.Raise(err::kInvalidProcedureCall,
                                "The deletion log does not log itself.");
        }
        if (!SqlService::ColumnExists(connection, name, guid)) {
          kSqlDeletionLog.Raise(err::kInvalidProcedureCall, "The table has no record GUID column.");
        }
        if (SqlService::TableExists(connection, kDeletionLogTable)) {
          for (const auto& column : {deletedGuid, deletedTable, counter}) {
            if (!SqlService::ColumnExists(connection, kDeletionLogTable, column)) {
              kSqlDeletionLog.Raise(err::kInvalidProcedureCall,
                                    "The deletion log has no column " + column + ".");
            }
          }
        }

        const std::string log = Q(kDeletionLogTable);
        const std::string trigger = Q("trigger_" + name + "_" + kDeletionLogTable);
        std::string sql = "CREATE TABLE IF NOT EXISTS " + log + " (" + Q(deletedGuid) +
                          " TEXT NOT NULL DEFAULT '', " + Q(deletedTable) +
                          " TEXT NOT NULL DEFAULT '', " + Q(counter) +
                          " INTEGER PRIMARY KEY AUTOINCREMENT, UNIQUE (" + Q(deletedGuid) + ", " +
                          Q(deletedTable) + "))";
        sql += kStatementBreak;
        sql += "DROP TRIGGER IF EXISTS " + trigger;
        sql += kStatementBreak;
        sql += "CREATE TRIGGER " + trigger + " AFTER DELETE ON " + Q(name) +
               " BEGIN INSERT OR REPLACE INTO " + log + " (" + Q(deletedGuid) + ", " +
               Q(deletedTable) + ") VALUES (old." + Q(guid) + ", '" +
               SqlService::EscapeLiteral(name) + "'); END";
        return sql;
      },
      [&] { return "Table: " + std::string(table.substr(0, 200)); });
}

}  // namespace prvdrinfo
