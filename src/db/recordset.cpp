#include "prvdrinfo/db/recordset.h"

#include <sqlite3.h>

#include <climits>
#include <limits>

#include "db/db_internals.h"
#include "foundation/internal/ascii.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kRead{"B41B0G0ABSDKT0A75JREL4PLG", "Recordset.Read"};
constexpr ErrorSite kMoveNext{"3E55284K6JMW86KMB2A9POEDN", "Recordset.MoveNext"};
constexpr ErrorSite kFieldName{"XVYWSY9BMPEKJ7Q4S74KEJIQA", "Recordset.FieldName"};
constexpr ErrorSite kFieldIndex{"A710UEAEOIY9V5FLT6WHRSWH5", "Recordset.FieldIndex"};
constexpr ErrorSite kValue{"FJ8R6BVB0PSJUIS8DCPUP7DYX", "Recordset.Value"};
constexpr ErrorSite kValueByName{"HYIWDFFPN4VK7RI2NCGX2GQ02", "Recordset.Value"};
constexpr ErrorSite kInt64{"JKZTXKMP0NQ74AGYP1HIGR6NT", "Recordset.Int64"};

}  // namespace

Variant ColumnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: {
      const sqlite3_int64 value = sqlite3_column_int64(statement, column);
      if (value >= std::numeric_limits<int32_t>::min() &&
          value <= std::numeric_limits<int32_t>::max()) {
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

std::vector<std::string> ColumnNames(sqlite3_stmt* statement, const ErrorSite& site) {
  std::vector<std::string> names;
  const int columns = sqlite3_column_count(statement);
  for (int c = 0; c < columns; ++c) {
    const char* name = sqlite3_column_name(statement, c);
    if (name == nullptr) site.Raise(err::kOutOfMemory);
    names.emplace_back(name);
  }
  return names;
}

int32_t NameIndex(const std::vector<std::string>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (ascii::EqualsIgnoreCase(names[i], name)) return static_cast<int32_t>(i);
  }
  return -1;
}

std::shared_ptr<Recordset> DbInternals::ReadRecordset(Connection& connection,
                                                      sqlite3_stmt* statement,
                                                      const ErrorSite& site, std::string_view sql) {
  return kRead.Guard([&] {
    auto recordset = std::make_shared<Recordset>();
    Recordset::Impl& rows = *recordset->impl_;
    Connection::Impl& db = Of(connection);
    rows.names = ColumnNames(statement, kRead);
    const int columns = static_cast<int>(rows.names.size());
    while (db.Step(statement, site, sql)) {
      if (rows.rows == INT_MAX) {
        kRead.Raise(err::kOverflow, "The query returns more rows than a recordset holds.");
      }
      for (int c = 0; c < columns; ++c) {
        rows.cells.push_back({ColumnValue(statement, c), sqlite3_column_int64(statement, c)});
      }
      ++rows.rows;
    }
    return recordset;
  });
}

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}

Recordset::~Recordset() = default;

Recordset::Recordset(const Recordset& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}

Recordset& Recordset::operator=(const Recordset& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
  return *this;
}

int32_t Recordset::RecordCount() const { return impl_->rows; }

bool Recordset::Eof() const { return impl_->position >= impl_->rows; }

void Recordset::MoveFirst() { impl_->position = 0; }

void Recordset::MoveNext() {
  kMoveNext.Guard([&] {
    if (Eof()) kMoveNext.Raise(err::kInvalidProcedureCall, "There is no current record.");
    ++impl_->position;
  });
}

int32_t Recordset::FieldCount() const { return static_cast<int32_t>(impl_->names.size()); }

std::string Recordset::FieldName(int32_t index) const {
  return kFieldName.Guard([&] {
    if (index < 0 || index >= FieldCount()) kFieldName.Raise(err::kSubscriptOutOfRange);
    return impl_->names[static_cast<size_t>(index)];
  });
}

int32_t Recordset::FieldIndex(std::string_view name) const {
  return kFieldIndex.Guard([&] { return NameIndex(impl_->names, name); });
}

const Recordset::Impl::Field& Recordset::Impl::CurrentField(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(names.size()))
    kValue.Raise(err::kSubscriptOutOfRange);
  if (position >= rows) kValue.Raise(err::kInvalidProcedureCall, "There is no current record.");
  const auto cell = static_cast<size_t>(position) * names.size() + static_cast<size_t>(index);
  return cells[cell];
}

Variant Recordset::Value(int32_t index) const {
  return kValue.Guard([&] { return impl_->CurrentField(index).value; });
}

Variant Recordset::Value(std::string_view name) const {
  return kValueByName.Guard(
      [&] {
        const int32_t index = FieldIndex(name);
        if (index < 0) kValueByName.Raise(err::kInvalidProcedureCall, "No field of that name.");
        return impl_->CurrentField(index).value;
      },
      [&] { return "Field: " + std::string(name.substr(0, 200)); });
}

int64_t Recordset::Int64(int32_t index) const {
  return kInt64.Guard([&] { return impl_->CurrentField(index).integer; });
}

}  // namespace prvdrinfo
