#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prvdrinfo/foundation/variant.h"

struct sqlite3_stmt;

namespace prvdrinfo {

class Connection;
class Recordset;

// One prepared statement with parameters ("?", "?NNN", ":name"), reusable: bindings
// stay until they are set again or cleared. Positions are 1-based, as SQLite counts them.
class Command {
 public:
  // Prepared by Connection::CreateCommand.
  Command(std::shared_ptr<Connection> connection, sqlite3_stmt* statement, std::string sql);
  ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  const std::string& Sql() const { return sql_; }
  int32_t ParameterCount() const;

  // Position of the parameter that gives the named column its value: the column's "?" in
  // the VALUES list of "INSERT ... (columns) VALUES (...)", or the "?" right after
  // column= anywhere in the statement. Names match like SQL identifiers (ASCII letters in
  // any case; quotes removed). An unknown name raises 5.
  int32_t ParameterIndex(std::string_view columnName) const;

  void SetText(int32_t position, std::string_view value);
  void SetLong(int32_t position, int32_t value);
  void SetInt64(int32_t position, int64_t value);
  void SetBoolean(int32_t position, bool value);  // 1 or 0
  void SetDouble(int32_t position, double value);
  void SetBytes(int32_t position, const Bytes& value);  // empty bytes stay a zero-length blob
  void SetNull(int32_t position);
  // Any scalar: Empty and Null bind NULL, Date and Currency bind their number; an object
  // raises 13.
  void SetValue(int32_t position, const Variant& value);
  void ClearBindings();

  // Runs the statement once; rows it returns are dropped.
  void Execute();
  // Runs the statement once and returns its rows.
  std::shared_ptr<Recordset> OpenRecordset();

 private:
  void CheckPosition(int32_t position) const;
  void CheckBind(int resultCode) const;

  std::shared_ptr<Connection> connection_;
  sqlite3_stmt* statement_ = nullptr;
  std::string sql_;
  // Column name (as written, unquoted) and parameter position, in statement order.
  std::vector<std::pair<std::string, int32_t>> columnParameters_;
};

}  // namespace prvdrinfo
