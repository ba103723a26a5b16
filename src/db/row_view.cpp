#include "prvdrinfo/db/row_view.h"

#include <sqlite3.h>

#include <string>

#include "db/db_internals.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kValue{"V00QUPJT941O5K02MRM395WOE", "RowView.Value"};
constexpr ErrorSite kValueByName{"9XRTQSWWADP3HU7M8CRWJDQZG", "RowView.Value"};
constexpr ErrorSite kBlob{"ODC1KILF6V8BMK1GUWUWTT9DD", "RowView.Blob"};

int CheckedColumn(const RowView::Impl& impl, int32_t index, const ErrorSite& site) {
  if (index < 0 || index >= static_cast<int32_t>(impl.names->size()))
    site.Raise(err::kSubscriptOutOfRange);
  return index;
}
}  // namespace

int32_t RowView::FieldCount() const { return static_cast<int32_t>(impl_.names->size()); }

int32_t RowView::FieldIndex(std::string_view name) const { return NameIndex(*impl_.names, name); }

Variant RowView::Value(int32_t index) const {
  return kValue.Guard(
      [&] { return ColumnValue(impl_.statement, CheckedColumn(impl_, index, kValue)); });
}

Variant RowView::Value(std::string_view name) const {
  return kValueByName.Guard(
      [&] {
        const int32_t index = FieldIndex(name);
        if (index < 0) kValueByName.Raise(err::kInvalidProcedureCall, "No field of that name.");
        return ColumnValue(impl_.statement, index);
      },
      [&] { return "Field: " + std::string(name.substr(0, 200)); });
}

bool RowView::Blob(int32_t index, std::span<const uint8_t>& bytes) const {
  return kBlob.Guard([&] {
    const int column = CheckedColumn(impl_, index, kBlob);
    if (sqlite3_column_type(impl_.statement, column) != SQLITE_BLOB) return false;
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(impl_.statement, column));
    const int size = sqlite3_column_bytes(impl_.statement, column);
    // A zero-length blob has no bytes to point at.
    bytes = data == nullptr || size <= 0 ? std::span<const uint8_t>()
                                         : std::span(data, static_cast<size_t>(size));
    return true;
  });
}

}  // namespace prvdrinfo
