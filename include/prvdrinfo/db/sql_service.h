#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

class Connection;

// SQL text pieces and the small database routines that every SQL-writing class shares.
// Stateless: the routines work on the connection the caller passes and keep nothing.
// Text with an embedded NUL, or too long for SQLite, raises 5 rather than producing SQL
// that SQLite would cut short; SQLite failures raise as Connection describes them.
class PRVDRINFO_API SqlService {
 public:
  // The escaping flags callers pass: plain values, GUID values, captions. The escaping
  // is the same for all three; any other flag raises 5.
  static constexpr int32_t kEscapePlain = 0;
  static constexpr int32_t kEscapeGuid = 8192;
  static constexpr int32_t kEscapeCaption = 268435457;

  static constexpr int32_t kDefaultWaitSeconds = 60;

  // "name" in double quotes, embedded double quotes doubled; any name, even "".
  static std::string QuoteIdentifier(std::string_view name);
  // The text with single quotes doubled, for the caller to put between single quotes.
  static std::string EscapeLiteral(std::string_view text, int32_t flag = kEscapePlain);
  // A value as an SQL literal: NULL for Empty and Null, 1/0 for Booleans, numbers in
  // invariant form (NaN as NULL, infinities as 9e999 and -9e999), 'text', X'hex' for
  // bytes; an object raises 13.
  static std::string SqlLiteral(const Variant& value);

  // Declared column type for an automation variant type number:
  //   TEXT    8 (string)
  //   INTEGER 2, 3, 11 (Integer, Long, Boolean), 16-23 (the other whole-number types)
  //   REAL    4, 5, 6, 7 (Single, Double, Currency, Date)
  //   NUMERIC 14 (Decimal)
  //   BLOB    8209 (byte array)
  // Anything else raises 5.
  static std::string SqlTypeName(int32_t variantType);

  // Opens an existing database file for reading and writing (":memory:" gives an empty
  // in-memory database). Failure raises with SQLite's message; it never returns null.
  static std::shared_ptr<Connection> OpenDatabase(std::string_view path);

  // BEGIN IMMEDIATE, waiting up to waitSeconds for another writer; a writer still busy
  // after that raises ("database is locked"). False when a transaction is already open.
  static bool Begin(Connection& connection, int32_t waitSeconds = kDefaultWaitSeconds);
  static void Commit(Connection& connection);
  // Does nothing when no transaction is open.
  static void Rollback(Connection& connection);

  // INSERT OR REPLACE INTO "table" ("c1", "c2") VALUES (v1, v2): a row with an existing
  // key is replaced. Without values, each value is a "?" for a command to bind.
  static std::string InsertStatement(std::string_view table,
                                     const std::vector<std::string>& columns,
                                     const std::vector<Variant>& values);
  static std::string InsertStatement(std::string_view table,
                                     const std::vector<std::string>& columns);
  // UPDATE "table" SET "c1"=v1, "c2"=v2 with no WHERE clause: callers append their own.
  static std::string UpdateStatement(std::string_view table,
                                     const std::vector<std::string>& columns,
                                     const std::vector<Variant>& values);
  static std::string UpdateStatement(std::string_view table,
                                     const std::vector<std::string>& columns);
  // ALTER TABLE "table" ADD COLUMN "column" TYPE [DEFAULT literal], the type as in
  // SqlTypeName.
  static std::string AddColumnStatement(std::string_view table, std::string_view column,
                                        int32_t variantType);
  static std::string AddColumnStatement(std::string_view table, std::string_view column,
                                        int32_t variantType, const Variant& defaultValue);

  // Whether the main database has a table of that name, or that table a column of that
  // name; names match as SQL matches them (ASCII letters in any case).
  static bool TableExists(Connection& connection, std::string_view table);
  static bool ColumnExists(Connection& connection, std::string_view table, std::string_view column);
};

}  // namespace prvdrinfo
