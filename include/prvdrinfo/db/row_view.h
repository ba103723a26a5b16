#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The current row of a statement as Connection::ForEachRow steps it. Values are read
// where SQLite holds them, as a Recordset reads them, and are valid only while the row
// is current: a reader keeps nothing of a row it has not copied.
class PRVDRINFO_API RowView {
 public:
  // Defined inside the library only: the statement being stepped.
  struct Impl;
  explicit RowView(const Impl& impl) : impl_(impl) {}
  RowView(const RowView&) = delete;
  RowView& operator=(const RowView&) = delete;

  int32_t FieldCount() const;
  // Position of the first field with that name (ASCII letters in any case); -1 if none.
  int32_t FieldIndex(std::string_view name) const;
  // As Recordset::Value: 9 for a position out of range, 5 "No field of that name.".
  Variant Value(int32_t index) const;
  Variant Value(std::string_view name) const;
  // A BLOB field's bytes where SQLite holds them (valid while the row is current); false,
  // bytes unchanged, for a field of any other storage class.
  bool Blob(int32_t index, std::span<const uint8_t>& bytes) const;

 private:
  const Impl& impl_;
};

}  // namespace prvdrinfo
