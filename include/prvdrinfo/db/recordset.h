#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

struct DbInternals;

// The rows of one query, read completely when it is opened, so that no statement stays
// open while the caller writes to the same tables. A forward cursor over them starts on
// the first row (end-of-file at once when there is none).
//
// Ownership: a recordset owns copies of its values and holds nothing of the connection;
// it stays readable after the connection has closed. A default-constructed recordset has
// no fields and no rows.
//
// Values: SQL NULL is Variant::Null(); TEXT is text; BLOB is bytes (a zero-length blob
// gives empty bytes, never Null); REAL is Double; INTEGER is Long when it fits 32 bits,
// else Double (exact up to 2^53; read Int64 for the exact value).
//
// Failures raise CError: reading at end-of-file or by an unknown name raises 5 ("There is
// no current record.", "No field of that name."), a position out of range 9; a query
// that fails while its rows are read raises as Connection describes, and no recordset is
// returned.
class PRVDRINFO_API Recordset {
 public:
  // Defined inside the library only: names and values.
  struct Impl;

  Recordset();
  ~Recordset();
  Recordset(const Recordset& other);
  Recordset& operator=(const Recordset& other);

  int32_t RecordCount() const;
  bool Eof() const;
  void MoveFirst();
  void MoveNext();  // past the last row gives end-of-file; moving on from there raises 5

  int32_t FieldCount() const;
  std::string FieldName(int32_t index) const;  // 9 when out of range
  // Position of the first field with that name (ASCII letters in any case); -1 if none.
  int32_t FieldIndex(std::string_view name) const;

  // Field of the current row by 0-based position or by name.
  Variant Value(int32_t index) const;
  Variant Value(std::string_view name) const;
  // The field as a 64-bit integer, exact for INTEGER storage; other storage classes
  // convert by SQLite's rules (NULL 0, REAL truncated, TEXT its leading number).
  int64_t Int64(int32_t index) const;

 private:
  friend struct DbInternals;

  std::unique_ptr<Impl> impl_;
};

}  // namespace prvdrinfo
