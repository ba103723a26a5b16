#include "db/recordset.h"

#include <sqlite3.h>

#include <climits>
#include <limits>

#include "foundation/ascii.h"
#include "prvdrinfo/foundation/error.h"
#include "db/connection.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kRead{"B41B0G0ABSDKT0A75JREL4PLG", "Recordset.Read"};
constexpr ErrorSite kMoveFirst{"JDZ7DF0CA0OZ1JTPY6LY7BXGI", "Recordset.MoveFirst"};
constexpr ErrorSite kMoveNext{"3E55284K6JMW86KMB2A9POEDN", "Recordset.MoveNext"};
constexpr ErrorSite kFieldName{"XVYWSY9BMPEKJ7Q4S74KEJIQA", "Recordset.FieldName"};
constexpr ErrorSite kFieldIndex{"A710UEAEOIY9V5FLT6WHRSWH5", "Recordset.FieldIndex"};
constexpr ErrorSite kValue{"FJ8R6BVB0PSJUIS8DCPUP7DYX", "Recordset.Value"};
constexpr ErrorSite kValueByName{"HYIWDFFPN4VK7RI2NCGX2GQ02", "Recordset.Value"};
constexpr ErrorSite kInt64{"JKZTXKMP0NQ74AGYP1HIGR6NT", "Recordset.Int64"};

Variant ColumnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: {
      const sqlite3_int64 value = sqlite3_column_int64(statement, column);
      if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()) {
        return Variant(static_cast<int32_t>(value));
      }
      return Variant(static_cast<double>(value));
    }
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
      const auto* text = sqlite3_column_text(statement, column);
      const int size = sqlite3_column_bytes(statement, column);
      if (text == nullptr) return Variant(std::string());
      return Variant(std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size)));
    }
    case SQLITE_BLOB: {
      const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement, column));
      const int size = sqlite3_column_bytes(statement, column);
      if (data == nullptr || size <= 0) return Variant(Bytes());
      return Variant(Bytes(data, data + size));
    }
    default: return Variant::Null();
  }
}
}  // namespace

std::shared_ptr<Recordset> Recordset::Read(Connection& connection, sqlite3_stmt* statement,
                                           const ErrorSite& site, std::string_view sql) {
  return kRead.Guard([&] {
    auto recordset = std::make_shared<Recordset>();
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
      const char* name = sqlite3_column_name(statement, c);
      if (name == nullptr) kRead.Raise(err::kOutOfMemory);
      recordset->names_.emplace_back(name);
    }
    while (connection.Step(statement, site, sql)) {
      if (recordset->rows_ == INT_MAX) {
        kRead.Raise(err::kOverflow, "The query returns more rows than a recordset holds.");
      }
      for (int c = 0; c < columns; ++c) {
        recordset->cells_.push_back({ColumnValue(statement, c), sqlite3_column_int64(statement, c)});
      }
      ++recordset->rows_;
    }
    return recordset;
  });
}

int32_t Recordset::RecordCount() const { return rows_; }

bool Recordset::Eof() const { return position_ >= rows_; }

void Recordset::MoveFirst() {
  kMoveFirst.Guard([&] { position_ = 0; });
}

void Recordset::MoveNext() {
  kMoveNext.Guard([&] {
    if (Eof()) kMoveNext.Raise(err::kInvalidProcedureCall, "There is no current record.");
    ++position_;
  });
}

int32_t Recordset::FieldCount() const { return static_cast<int32_t>(names_.size()); }

std::string Recordset::FieldName(int32_t index) const {
  return kFieldName.Guard([&] {
    if (index < 0 || index >= FieldCount()) kFieldName.Raise(err::kSubscriptOutOfRange);
    return names_[static_cast<size_t>(index)];
  });
}

int32_t Recordset::FieldIndex(std::string_view name) const {
  return kFieldIndex.Guard([&] {
    for (size_t i = 0; i < names_.size(); ++i) {
      if (ascii::EqualsIgnoreCase(names_[i], name)) return static_cast<int32_t>(i);
    }
    return -1;
  });
}

const Recordset::Field& Recordset::CurrentField(int32_t index) const {
  if (index < 0 || index >= FieldCount()) kValue.Raise(err::kSubscriptOutOfRange);
  if (Eof()) kValue.Raise(err::kInvalidProcedureCall, "There is no current record.");
  const auto cell = static_cast<size_t>(position_) * names_.size() + static_cast<size_t>(index);
  return cells_[cell];
}

Variant Recordset::Value(int32_t index) const {
  return kValue.Guard([&] { return CurrentField(index).value; });
}

Variant Recordset::Value(std::string_view name) const {
  return kValueByName.Guard(
      [&] {
        const int32_t index = FieldIndex(name);
        if (index < 0) kValueByName.Raise(err::kInvalidProcedureCall, "No field of that name.");
        return CurrentField(index).value;
      },
      [&] { return "Field: " + std::string(name.substr(0, 200)); });
}

int64_t Recordset::Int64(int32_t index) const {
  return kInt64.Guard([&] { return CurrentField(index).integer; });
}

}  // namespace prvdrinfo
