#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/db/collation.h"
#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

class Command;
class Recordset;
class RowView;
struct DbInternals;

// One open SQLite database file (or a private in-memory database).
//
// Ownership: a connection lives in the shared_ptr that Open returns. Every command it
// prepares keeps it alive, so a statement is always finished before the database closes;
// a recordset holds no statement and needs no connection once it is returned. A
// connection is used by one thread at a time; several connections, in one process or
// several, may share a file, SQLite's locks keeping them apart.
//
// Failures raise prvdrinfo::CError. A failure that SQLite reports has number 80004005
// hexadecimal (err::kUnspecified), SQLite's own message as its description (for example
// "no such table: t", "database is locked") and, in its context, "SQLite result code N"
// (the extended code) and the statement (its first 500 characters). Text that SQLite
// would cut short or misread (an embedded NUL, a size beyond SQLite's int lengths)
// raises 5 ("SQL text contains a NUL character.", "... is too long.") before SQLite
// sees it. An exception that a collation throws fails the statement that called it with
// that same exception, turned into a CError when it was none.
class PRVDRINFO_API Connection : public std::enable_shared_from_this<Connection> {
 public:
  // Defined inside the library only: the SQLite handle and what its callbacks share.
  struct Impl;

  // ReadOnlyImmutable reads a file that nothing may change while it is open, taking no
  // locks and writing no journal, log or shared-memory file beside it: for a file in a
  // folder the process cannot write, where a plain ReadOnly open of a write-ahead-log file
  // fails.
  enum class OpenMode { ReadWriteCreate, ReadWrite, ReadOnly, ReadOnlyImmutable };

  // Busy wait of a fresh connection: long enough for another process's transaction.
  static constexpr int32_t kDefaultBusyTimeoutMs = 60000;

  // ":memory:" (or "") opens an empty private database whatever the mode. Reads the
  // schema at once, so a file that is no database ("file is not a database"), cannot be
  // opened ("unable to open database file") or is missing in ReadWrite or ReadOnly mode
  // fails here; the context names the path. Never returns null.
  static std::shared_ptr<Connection> Open(std::string_view path,
                                          OpenMode mode = OpenMode::ReadWriteCreate);
  static std::shared_ptr<Connection> CreateMemory() { return Open(":memory:"); }

  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs every statement of the text in turn; rows that a statement returns are dropped.
  // Stops at the first failing statement: the ones before it have run.
  void Execute(std::string_view sql);
  // The rows of one statement, read at once; the statement is finished when this
  // returns. Text with no statement or more than one raises 5.
  std::shared_ptr<Recordset> OpenRecordset(std::string_view sql);
  // The rows of one statement, each handed to visit as it is stepped, nothing copied
  // first: for reading many rows (or large ones) once, in order. visit must not use this
  // connection; whatever it throws finishes the statement and leaves. The same rule of
  // exactly one statement.
  void ForEachRow(std::string_view sql, const std::function<void(const RowView&)>& visit);
  // One statement with parameters, prepared for repeated execution; the same rule of
  // exactly one statement.
  std::shared_ptr<Command> CreateCommand(std::string_view sql);

  // The full path of the database file; ":memory:" for an in-memory database.
  std::string DatabaseName() const;
  // SQLite's text for the most recent result of this connection.
  std::string LastMessage() const;
  int64_t LastInsertRowId() const;
  int64_t Changes() const;

  // Registers every collation the object names; the connection keeps the object as long
  // as SQLite needs it (until the names are registered again or the connection closes).
  // Null raises 424, a list with no name raises 5.
  void AddUserCollation(std::shared_ptr<ICollation> collation);

  // The wait for another process's lock before a statement fails with "database is
  // locked". A negative value raises 5.
  void SetBusyTimeout(int32_t milliseconds);
  int32_t BusyTimeout() const;

  // Whether the last connection to a write-ahead-logged file folds the log into the file
  // when it closes (SQLite's default: on). Off, the log stays for the next connection
  // and SQLite checkpoints it when it outgrows its threshold; a committed transaction is
  // as durable either way.
  void SetCheckpointOnClose(bool on);

  // Transactions (Transaction in transaction.h ends one for you). BeginImmediate takes
  // the write lock at once, waiting up to the bound for another writer, so two writers
  // never both read and then fail to write; it returns false (and does nothing) when a
  // transaction is already open, and raises 5 for a negative bound. Commit raises when
  // no transaction is open ("cannot commit - no transaction is active"; SQLite may have
  // rolled it back after an error) and leaves the transaction open when COMMIT itself
  // fails (a deferred constraint); Rollback does nothing when none is open. Each restores
  // the connection's own busy wait once no transaction is open.
  bool BeginImmediate(int32_t waitMilliseconds);
  void Commit();
  void Rollback();
  bool InTransaction() const;

 private:
  friend struct DbInternals;

  explicit Connection(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
};

}  // namespace prvdrinfo
