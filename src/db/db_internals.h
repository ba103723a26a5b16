#pragma once

// What the connection, command and recordset code of this module share with each
// other: the SQLite handles behind the public classes.

#include <sqlite3.h>

#include <chrono>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/row_view.h"
#include "prvdrinfo/foundation/error.h"

// A nested class takes its visibility from the exported class around it; these stay
// inside the library.
#define PRVDRINFO_DB_HIDDEN __attribute__((visibility("hidden")))

namespace prvdrinfo {

struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// The pending failure of a collation callback, shared with the callback contexts.
struct CallbackFailure {
  std::exception_ptr error;
};

struct PRVDRINFO_DB_HIDDEN Connection::Impl {
  Impl(sqlite3* handle, std::string databaseName) : db(handle), name(std::move(databaseName)) {}
  ~Impl() { sqlite3_close_v2(db); }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  // Steps the statement: true for a row, false when done; a failure raises from the
  // site with SQLite's message, as does an exception a collation callback left behind.
  bool Step(sqlite3_stmt* statement, const ErrorSite& site, std::string_view sql);
  [[noreturn]] void RaiseSqlite(const ErrorSite& site, int resultCode, std::string_view sql) const;
  void RethrowCallbackFailure();

  sqlite3* db = nullptr;
  std::string name;
  int32_t busyTimeoutMs = kDefaultBusyTimeoutMs;
  // The wait in force (the transaction's while one is open) and when the current wait began.
  int32_t activeWaitMs = kDefaultBusyTimeoutMs;
  std::chrono::steady_clock::time_point busySince;
  std::shared_ptr<CallbackFailure> callbackFailure = std::make_shared<CallbackFailure>();
};

struct PRVDRINFO_DB_HIDDEN Command::Impl {
  ~Impl() { sqlite3_finalize(statement); }

  void CheckPosition(int32_t position) const;
  void CheckBind(int resultCode) const;

  std::shared_ptr<Connection> connection;
  sqlite3_stmt* statement = nullptr;  // owned
  std::string sql;
  // Column name (as written, unquoted) and parameter position, in statement order.
  std::vector<std::pair<std::string, int32_t>> columnParameters;
};

struct PRVDRINFO_DB_HIDDEN Recordset::Impl {
  struct Field {
    Variant value;
    int64_t integer = 0;
  };
  const Field& CurrentField(int32_t index) const;

  std::vector<std::string> names;
  std::vector<Field> cells;  // row-major
  int32_t rows = 0;
  int32_t position = 0;
};

struct PRVDRINFO_DB_HIDDEN RowView::Impl {
  sqlite3_stmt* statement = nullptr;
  const std::vector<std::string>* names = nullptr;  // the statement's column names
};

// A column of the current row as a Variant, by the storage-class rules Recordset states.
Variant ColumnValue(sqlite3_stmt* statement, int column);
// The statement's column names; 7 when SQLite has no memory for one.
std::vector<std::string> ColumnNames(sqlite3_stmt* statement, const ErrorSite& site);
// Position of the first name equal to name but for ASCII letters' case; -1 if none.
int32_t NameIndex(const std::vector<std::string>& names, std::string_view name);

// The one door from the module's code into the classes' private parts.
struct DbInternals {
  static Connection::Impl& Of(const Connection& connection) { return *connection.impl_; }

  // Takes the statement; the command finalizes it from then on, also when this fails.
  static std::shared_ptr<Command> NewCommand(std::shared_ptr<Connection> connection,
                                             StatementPtr statement, std::string sql);
  // Reads every row of a prepared statement; the caller resets or finalizes it.
  static std::shared_ptr<Recordset> ReadRecordset(Connection& connection, sqlite3_stmt* statement,
                                                  const ErrorSite& site, std::string_view sql);
};

// The SQLite handle of a connection, for tests that set SQLite's limits.
inline sqlite3* NativeHandle(const Connection& connection) {
  return DbInternals::Of(connection).db;
}

}  // namespace prvdrinfo
