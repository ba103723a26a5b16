#include "prvdrinfo/db/connection.h"

#include <sqlite3.h>

#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstddef>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "db/db_internals.h"
#include "db/sql_text.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/recordset.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kOpen{"SYPWBH33A2Q23JOE4DCL7OLSV", "Connection.Open"};
constexpr ErrorSite kExecute{"IR18QE7AS64MPK87XOO2GLO24", "Connection.Execute"};
constexpr ErrorSite kOpenRecordset{"EOZN7MGDIMZOQNVDD5HQDSP19", "Connection.OpenRecordset"};
constexpr ErrorSite kForEachRow{"OS4H654XZUHUQ4WCZIEJMA7P6", "Connection.ForEachRow"};
constexpr ErrorSite kCreateCommand{"5VRNS793G2QUPGAOTFXV4INHV", "Connection.CreateCommand"};
constexpr ErrorSite kDatabaseName{"I9478SHPJYY3XXTV8X51NEQEH", "Connection.DatabaseName"};
constexpr ErrorSite kLastMessage{"WLA1W072GBE4G51UT1YMSD0DE", "Connection.LastMessage"};
constexpr ErrorSite kAddUserCollation{"RO1H1DC0DF2MHS6O9V6864U6B", "Connection.AddUserCollation"};
constexpr ErrorSite kSetBusyTimeout{"HBZ4VC4DQV7ZDI21EQ8CRE93S", "Connection.SetBusyTimeout"};
constexpr ErrorSite kBegin{"72UGZ22P6SGC2WSA6G83JHPZ2", "Connection.BeginImmediate"};
constexpr ErrorSite kCommit{"BUVWQ70GA29K4I697J4QGSL3T", "Connection.Commit"};
constexpr ErrorSite kRollback{"CSW9S8BVHY684KJJG13NEBJK6", "Connection.Rollback"};
constexpr ErrorSite kCheckText{"K7QTEGLN5OA4DSXICR21FSSQX", "Connection.CheckSqlText"};

// Enough of a failing statement to recognise it in a report.
constexpr size_t kSqlInContext = 500;

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

CError MakeSqliteError(const ErrorSite& site, int resultCode, std::string message,
                       std::string_view sql) {
  CError error(err::kUnspecified, site.Source(), std::move(message));
  std::string context = "SQLite result code " + std::to_string(resultCode);
  if (!sql.empty()) {
    context += "\nSQL: ";
    context += sql.substr(0, kSqlInContext);
    if (sql.size() > kSqlInContext) context += "...";
  }
  error.AddContext(context);
  error.AddLocation(site.Id());
  return error;
}

// What a collation callback needs; SQLite owns it and deletes it through DestroyCollation.
struct CollationContext {
  std::shared_ptr<ICollation> collation;
  int32_t index = 0;
  sqlite3* db = nullptr;
  std::shared_ptr<CallbackFailure> failure;
};

int CompareWithCollation(void* context, int leftLength, const void* left, int rightLength,
                         const void* right) {
  auto* c = static_cast<CollationContext*>(context);
  try {
    const std::string_view l(static_cast<const char*>(left), static_cast<size_t>(leftLength));
    const std::string_view r(static_cast<const char*>(right), static_cast<size_t>(rightLength));
    const int32_t result = c->collation->CallbackCollate(c->index, l, r);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
  } catch (...) {
    // Stop the statement promptly; Step raises this failure in place of SQLite's.
    if (!c->failure->error) c->failure->error = std::current_exception();
    sqlite3_interrupt(c->db);
    return 0;
  }
}

void DestroyCollation(void* context) { delete static_cast<CollationContext*>(context); }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Prepares the one statement of a text meant to hold exactly one.
StatementPtr PrepareSingle(Connection::Impl& connection, std::string_view sql,
                           const ErrorSite& site) {
  CheckSqlText(sql, site, "SQL text");
  sqlite3* db = connection.db;
  const char* begin = sql.empty() ? "" : sql.data();
  const char* tail = nullptr;
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(db, begin, static_cast<int>(sql.size()), &raw, &tail);
  StatementPtr statement(raw);
  if (rc != SQLITE_OK) connection.RaiseSqlite(site, rc, sql);
  if (!statement) site.Raise(err::kInvalidProcedureCall, "The SQL text holds no statement.");
  const auto used = static_cast<size_t>(tail - begin);
  if (used < sql.size()) {
    sqlite3_stmt* rest = nullptr;
    rc = sqlite3_prepare_v2(db, tail, static_cast<int>(sql.size() - used), &rest, nullptr);
    StatementPtr restStatement(rest);
    if (rc != SQLITE_OK || restStatement) {
      site.Raise(err::kInvalidProcedureCall, "The SQL text holds more than one statement.");
    }
  }
  return statement;
}

// SQLite's own busy handler backs off to sleeps of 100 ms, so a writer that has waited a
// while polls less often than one that just came, and can wait far longer than its turn:
// eight processes saving into one file saw single waits of 18 s. Short sleeps with a
// little jitter keep the waiters polling alike; the longest wait fell below half a second
// (docs/views-database.md). The bound is the same: give up once it has passed.
int WaitWhileBusy(void* context, int attempt) {
  auto& impl = *static_cast<Connection::Impl*>(context);
  const auto now = std::chrono::steady_clock::now();
  if (attempt == 0) impl.busySince = now;
  const auto waited = now - impl.busySince;
  const std::chrono::milliseconds bound(impl.activeWaitMs);
  if (waited >= bound) return 0;
  // Seeded per process, so that forked processes do not sleep in step.
  thread_local std::minstd_rand jitter;
  thread_local pid_t seededFor = 0;
  if (seededFor != ::getpid()) {
    seededFor = ::getpid();
    jitter.seed(static_cast<unsigned>(seededFor) ^
                static_cast<unsigned>(now.time_since_epoch().count()));
  }
  const std::chrono::microseconds pause(500 + jitter() % 1500);
  std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, bound - waited));
  return 1;
}

void SetBusyWait(Connection::Impl& impl, int32_t milliseconds) {
  impl.activeWaitMs = milliseconds;
  sqlite3_busy_handler(impl.db, milliseconds > 0 ? WaitWhileBusy : nullptr, &impl);
}
}  // namespace

void CheckSqlText(std::string_view text, const ErrorSite& site, std::string_view what) {
  kCheckText.Guard([&] {
    if (text.size() >= static_cast<size_t>(INT_MAX)) {
      site.Raise(err::kInvalidProcedureCall, std::string(what) + " is too long.");
    }
    if (text.find('\0') != std::string_view::npos) {
      site.Raise(err::kInvalidProcedureCall, std::string(what) + " contains a NUL character.");
    }
  });
}

namespace {

// A path as a file: URI that SQLite reads without locks or files beside it; '?', '#' and
// '%' in the path are escaped, the rest stays as it is.
std::string ImmutableUri(const std::string& path) {
  std::string uri = "file:";
  for (const char c : path) {
    if (c == '?' || c == '#' || c == '%') {
      static const char* digits = "0123456789ABCDEF";
      uri += '%';
      uri += digits[static_cast<unsigned char>(c) >> 4];
      uri += digits[static_cast<unsigned char>(c) & 15];
    } else {
      uri += c;
    }
  }
  return uri + "?immutable=1";
}

}  // namespace

Connection::Connection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Connection::~Connection() = default;

std::shared_ptr<Connection> Connection::Open(std::string_view path, OpenMode mode) {
  return kOpen.Guard(
      [&] {
        CheckSqlText(path, kOpen, "The database path");
        const bool memory = path.empty() || path == ":memory:";
        const std::string name = memory ? std::string(":memory:") : std::string(path);
        int flags = 0;
        switch (memory ? OpenMode::ReadWriteCreate : mode) {
          case OpenMode::ReadWriteCreate: flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
          case OpenMode::ReadWrite: flags = SQLITE_OPEN_READWRITE; break;
          case OpenMode::ReadOnly: flags = SQLITE_OPEN_READONLY; break;
          case OpenMode::ReadOnlyImmutable: flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI; break;
        }
        const bool immutable = !memory && mode == OpenMode::ReadOnlyImmutable;
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(immutable ? ImmutableUri(name).c_str() : name.c_str(), &raw,
                                       flags, nullptr);
        std::unique_ptr<sqlite3, CloseDatabase> db(raw);
        if (rc != SQLITE_OK) {
          std::string message = db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc);
          throw MakeSqliteError(kOpen, rc, std::move(message), {});
        }
        sqlite3_extended_result_codes(db.get(), 1);
        // A double-quoted name always names something: a misspelt column must fail, not
        // quietly become a string.
        sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        auto impl = std::make_unique<Impl>(nullptr, name);
        impl->db = db.release();
        SetBusyWait(*impl, kDefaultBusyTimeoutMs);
        // A failed allocation here deletes the connection, and its Impl closes the handle.
        std::shared_ptr<Connection> connection(new Connection(std::move(impl)));
        // SQLite opens lazily; reading the schema now makes a file that is no database
        // (or cannot be read) fail here rather than at its first use.
        connection->Execute("SELECT count(*) FROM sqlite_master");
        return connection;
      },
      [&] { return "Database: " + std::string(path.substr(0, kSqlInContext)); });
}

void Connection::Execute(std::string_view sql) {
  kExecute.Guard([&] {
    CheckSqlText(sql, kExecute, "SQL text");
    const char* tail = sql.data();
    const char* const end = sql.data() + sql.size();
    while (tail < end) {
      sqlite3_stmt* raw = nullptr;
      const char* next = nullptr;
      const int rc = sqlite3_prepare_v2(impl_->db, tail, static_cast<int>(end - tail), &raw, &next);
      StatementPtr statement(raw);
      if (rc != SQLITE_OK)
        impl_->RaiseSqlite(kExecute, rc, std::string_view(tail, static_cast<size_t>(end - tail)));
      const std::string_view one(tail, static_cast<size_t>(next - tail));
      if (statement) {
        while (impl_->Step(statement.get(), kExecute, one)) {
        }
      }
      if (next <= tail) break;
      tail = next;
    }
  });
}

std::shared_ptr<Recordset> Connection::OpenRecordset(std::string_view sql) {
  return kOpenRecordset.Guard([&] {
    StatementPtr statement = PrepareSingle(*impl_, sql, kOpenRecordset);
    return DbInternals::ReadRecordset(*this, statement.get(), kOpenRecordset, sql);
  });
}

void Connection::ForEachRow(std::string_view sql,
                            const std::function<void(const RowView&)>& visit) {
  kForEachRow.Guard([&] {
    StatementPtr statement = PrepareSingle(*impl_, sql, kForEachRow);
    const std::vector<std::string> names = ColumnNames(statement.get(), kForEachRow);
    const RowView::Impl row{statement.get(), &names};
    const RowView view(row);
    while (impl_->Step(statement.get(), kForEachRow, sql)) visit(view);
  });
}

std::shared_ptr<Command> Connection::CreateCommand(std::string_view sql) {
  return kCreateCommand.Guard([&] {
    StatementPtr statement = PrepareSingle(*impl_, sql, kCreateCommand);
    return DbInternals::NewCommand(shared_from_this(), std::move(statement), std::string(sql));
  });
}

std::string Connection::DatabaseName() const {
  return kDatabaseName.Guard([&] {
    const char* file = sqlite3_db_filename(impl_->db, "main");
    if (file == nullptr || *file == '\0') return impl_->name;
    return std::string(file);
  });
}

std::string Connection::LastMessage() const {
  return kLastMessage.Guard([&] { return std::string(sqlite3_errmsg(impl_->db)); });
}

int64_t Connection::LastInsertRowId() const { return sqlite3_last_insert_rowid(impl_->db); }

int64_t Connection::Changes() const { return sqlite3_changes64(impl_->db); }

void Connection::AddUserCollation(std::shared_ptr<ICollation> collation) {
  kAddUserCollation.Guard([&] {
    if (!collation) kAddUserCollation.Raise(err::kObjectRequired);
    const std::string names = collation->DefinedNames();
    std::vector<std::string> list;
    size_t start = 0;
    while (start <= names.size()) {
      size_t comma = names.find(',', start);
      if (comma == std::string::npos) comma = names.size();
      const std::string_view name =
          TrimBlanks(std::string_view(names).substr(start, comma - start));
      if (!name.empty()) list.emplace_back(name);
      start = comma + 1;
    }
    if (list.empty()) {
      kAddUserCollation.Raise(err::kInvalidProcedureCall, "The collation defines no names.");
    }
    for (size_t i = 0; i < list.size(); ++i) {
      CheckSqlText(list[i], kAddUserCollation, "The collation name");
      auto context = std::make_unique<CollationContext>();
      context->collation = collation;
      context->index = static_cast<int32_t>(i);
      context->db = impl_->db;
      context->failure = impl_->callbackFailure;
      const int rc =
          sqlite3_create_collation_v2(impl_->db, list[i].c_str(), SQLITE_UTF8, context.get(),
                                      CompareWithCollation, DestroyCollation);
      // On failure SQLite does not take the context; the unique_ptr still frees it.
      if (rc != SQLITE_OK) impl_->RaiseSqlite(kAddUserCollation, rc, {});
      context.release();
    }
  });
}

void Connection::SetBusyTimeout(int32_t milliseconds) {
  kSetBusyTimeout.Guard([&] {
    if (milliseconds < 0) kSetBusyTimeout.Raise(err::kInvalidProcedureCall);
    impl_->busyTimeoutMs = milliseconds;
    SetBusyWait(*impl_, milliseconds);
  });
}

int32_t Connection::BusyTimeout() const { return impl_->busyTimeoutMs; }

void Connection::SetCheckpointOnClose(bool on) {
  sqlite3_db_config(impl_->db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, on ? 0 : 1, nullptr);
}

bool Connection::InTransaction() const { return sqlite3_get_autocommit(impl_->db) == 0; }

bool Connection::BeginImmediate(int32_t waitMilliseconds) {
  return kBegin.Guard([&] {
    if (waitMilliseconds < 0) kBegin.Raise(err::kInvalidProcedureCall);
    if (InTransaction()) return false;
    SetBusyWait(*impl_, waitMilliseconds);
    const int rc = sqlite3_exec(impl_->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      CError error = MakeSqliteError(kBegin, rc, sqlite3_errmsg(impl_->db), "BEGIN IMMEDIATE");
      SetBusyWait(*impl_, impl_->busyTimeoutMs);
      throw error;
    }
    return true;
  });
}

void Connection::Commit() {
  kCommit.Guard([&] {
    const int rc = sqlite3_exec(impl_->db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      CError error = MakeSqliteError(kCommit, rc, sqlite3_errmsg(impl_->db), "COMMIT");
      if (!InTransaction()) SetBusyWait(*impl_, impl_->busyTimeoutMs);
      throw error;
    }
    SetBusyWait(*impl_, impl_->busyTimeoutMs);
  });
}

void Connection::Rollback() {
  kRollback.Guard([&] {
    if (InTransaction()) {
      const int rc = sqlite3_exec(impl_->db, "ROLLBACK", nullptr, nullptr, nullptr);
      if (rc != SQLITE_OK) impl_->RaiseSqlite(kRollback, rc, "ROLLBACK");
    }
    SetBusyWait(*impl_, impl_->busyTimeoutMs);
  });
}

bool Connection::Impl::Step(sqlite3_stmt* statement, const ErrorSite& site, std::string_view sql) {
  const int rc = sqlite3_step(statement);
  RethrowCallbackFailure();
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  RaiseSqlite(site, rc, sql);
}

void Connection::Impl::RaiseSqlite(const ErrorSite& site, int resultCode,
                                   std::string_view sql) const {
  // The connection's message belongs to this failure only when its code matches.
  std::string message =
      sqlite3_extended_errcode(db) == resultCode ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
  throw MakeSqliteError(site, resultCode, std::move(message), sql);
}

void Connection::Impl::RethrowCallbackFailure() {
  if (!callbackFailure->error) return;
  std::exception_ptr failure = std::exchange(callbackFailure->error, nullptr);
  std::rethrow_exception(failure);
}

}  // namespace prvdrinfo
