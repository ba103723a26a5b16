#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/foundation/variant.h"

struct sqlite3_stmt;

namespace prvdrinfo {

class Connection;
class ErrorSite;

// The rows of one query, read completely when it is opened, so that no statement stays
// open while the caller writes to the same tables. A forward cursor over them starts on
// the first row (end-of-file at once when there is none).
//
// Values: SQL NULL is Variant::Null(); TEXT is text; BLOB is bytes (a zero-length blob
// gives empty bytes, never Null); REAL is Double; INTEGER is Long when it fits 32 bits,
// else Double (exact up to 2^53; read Int64 for the exact value).
class Recordset {
 public:
  // Reads every row of a prepared statement; the caller resets or finalizes it.
  static std::shared_ptr<Recordset> Read(Connection& connection, sqlite3_stmt* statement,
                                         const ErrorSite& site, std::string_view sql);

  int32_t RecordCount() const;
  bool Eof() const;
  void MoveFirst();
  void MoveNext();  // past the last row gives end-of-file; moving on from there raises

  int32_t FieldCount() const;
  std::string FieldName(int32_t index) const;
  // Position of the first field with that name (ASCII letters in any case); -1 if none.
  int32_t FieldIndex(std::string_view name) const;

  // Field of the current row by 0-based position or by name. Reading at end-of-file or
  // by an unknown name raises 5; a position out of range raises 9.
  Variant Value(int32_t index) const;
  Variant Value(std::string_view name) const;
  // The field as a 64-bit integer, exact for INTEGER storage; other storage classes
  // convert by SQLite's rules (NULL 0, REAL truncated, TEXT its leading number).
  int64_t Int64(int32_t index) const;

 private:
  struct Field {
    Variant value;
    int64_t integer = 0;
  };
  const Field& CurrentField(int32_t index) const;

  std::vector<std::string> names_;
  std::vector<Field> cells_;  // row-major
  int32_t rows_ = 0;
  int32_t position_ = 0;
};

}  // namespace prvdrinfo
