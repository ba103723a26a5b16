#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

class Recordset;
struct DbInternals;

// One prepared statement with parameters ("?", "?NNN", ":name", "@name", "$name"),
// reusable: bindings stay until they are set again or cleared, and each run starts the
// statement afresh, whether the previous run succeeded or failed.
//
// Ownership: made by Connection::CreateCommand; the command keeps its connection alive
// and finishes its statement when it goes, so it may outlive the caller's handle on the
// connection.
//
// Failures raise CError. Positions are 1-based, as SQLite counts them: a position outside
// 1..ParameterCount() raises 9. A value SQLite refuses (beyond its length limit: "string
// or blob too big") and a failing run raise with SQLite's message, number 80004005
// hexadecimal and the statement in the context, as Connection describes.
class PRVDRINFO_API Command {
 public:
  // Defined inside the library only: the statement and its connection.
  struct Impl;

  ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  const std::string& Sql() const;
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
  friend struct DbInternals;

  explicit Command(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
};

}  // namespace prvdrinfo
