#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/error.h"
#include "db/collation.h"

struct sqlite3;
struct sqlite3_stmt;

namespace prvdrinfo {

class Command;
class Recordset;

// One open SQLite database. Lives in a shared_ptr: commands keep their connection
// alive, so a statement is always finalized before the database is closed.
// Every SQLite failure raises a CError whose description is SQLite's message and whose
// context names the result code and the statement.
class Connection : public std::enable_shared_from_this<Connection> {
 public:
  enum class OpenMode { ReadWriteCreate, ReadWrite, ReadOnly };

  // Busy wait of a fresh connection: long enough for another process's transaction.
  static constexpr int32_t kDefaultBusyTimeoutMs = 60000;

  // ":memory:" (or "") opens an empty private database whatever the mode.
  static std::shared_ptr<Connection> Open(std::string_view path,
                                          OpenMode mode = OpenMode::ReadWriteCreate);
  static std::shared_ptr<Connection> CreateMemory() { return Open(":memory:"); }

  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs every statement of the text in turn; rows that a statement returns are dropped.
  void Execute(std::string_view sql);
  // The rows of one statement, read at once; the statement is finished when this returns.
  std::shared_ptr<Recordset> OpenRecordset(std::string_view sql);
  // One statement with "?" placeholders, prepared for repeated execution.
  std::shared_ptr<Command> CreateCommand(std::string_view sql);

  // The full path of the database file; ":memory:" for an in-memory database.
  std::string DatabaseName() const;
  // SQLite's text for the most recent result of this connection.
  std::string LastMessage() const;
  int64_t LastInsertRowId() const;
  int64_t Changes() const;

  // Registers every collation the object names; the object lives as long as SQLite
  // needs it (until it is replaced or the connection closes).
  void AddUserCollation(std::shared_ptr<ICollation> collation);

  void SetBusyTimeout(int32_t milliseconds);
  int32_t BusyTimeout() const { return busyTimeoutMs_; }

  // Transactions. BeginImmediate takes the write lock at once, waiting up to the bound
  // for another writer, so two writers never both read and then fail to write; it
  // returns false (and does nothing) when a transaction is already open. Commit raises
  // when no transaction is open (SQLite may have rolled it back after an error);
  // Rollback does nothing then. Both restore the connection's own busy wait.
  bool BeginImmediate(int32_t waitMilliseconds);
  void Commit();
  void Rollback();
  bool InTransaction() const;

  // For the command and recordset code of this module.
  sqlite3* Handle() const { return db_; }
  // Steps the statement: true for a row, false when done; a failure raises from the
  // site with SQLite's message, as does an exception a collation callback left behind.
  bool Step(sqlite3_stmt* statement, const ErrorSite& site, std::string_view sql);
  [[noreturn]] void RaiseSqlite(const ErrorSite& site, int resultCode, std::string_view sql) const;
  // The pending failure of a collation callback, shared with the callback contexts.
  struct CallbackFailure {
    std::exception_ptr error;
  };

 private:
  struct PassKey {};

 public:
  Connection(PassKey, sqlite3* db, std::string name);

 private:
  void RethrowCallbackFailure();

  sqlite3* db_ = nullptr;
  std::string name_;
  int32_t busyTimeoutMs_ = kDefaultBusyTimeoutMs;
  std::shared_ptr<CallbackFailure> callbackFailure_ = std::make_shared<CallbackFailure>();
};

// Rejects text that SQLite would cut short or misread: an embedded NUL, or a size
// beyond SQLite's int lengths. Raises 5 from the site, naming what the text is.
void CheckSqlText(std::string_view text, const ErrorSite& site, std::string_view what);

}  // namespace prvdrinfo
