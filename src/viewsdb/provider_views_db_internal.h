#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/row_view.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/views/provider_view.h"

// What the operations of CProviderViewsDb share: statement pieces, the GUID forms the
// file holds, row conversion and counters.
namespace prvdrinfo::views_db::ops {

inline constexpr const char* kLogSource = "CProviderViewsDb";

// Names as statements and recordsets need them.
struct Names {
  std::string views;      // "views", quoted
  std::string guidCol;    // record GUID column, SQL form
  std::string updCol;     // update counter column, SQL form
  std::string guidField;  // the same two, plain, for recordset fields
  std::string updField;
  std::string deletionLog;   // the deletion log table, quoted
  std::string delGuid;       // its deleted GUID column, SQL form
  std::string delTable;      // its table column, SQL form
  std::string delCounter;    // its counter column, SQL form
  std::string deletedViews;  // its table column + "='views'": the log's view rows
};
const Names& Sql();

// Identifier in double quotes.
std::string Quoted(std::string_view identifier);
// 'text' with single quotes doubled.
std::string Literal(std::string_view text, int32_t flag);

// How provider and privacy GUIDs are written to the file: cleaned when the text is a
// GUID, else as given (nothing valid is refused a place).
std::string StoredGuid(std::string_view text);
// quoted column + "='" + the stored form of the GUID + "' COLLATE NOCASE".
std::string GuidMatch(std::string_view column, std::string_view guid);

// The views database, or `number` "Could not get views database. <description>" from
// the site when it cannot be opened.
std::shared_ptr<Connection> OpenOrRaise(const ErrorSite& site, int32_t number);

// A text value or field; Null reads as "".
std::string TextOf(const Variant& value);
std::string TextField(const Recordset& row, std::string_view name);
std::string TextField(const RowView& row, std::string_view name);
// A counter value; Null reads as 0.
int32_t CounterOf(const Variant& value);
// The delete counter: the deletion log's largest counter of view rows.
std::string DeleteCounterSql();
// The first field of the first row as a 32-bit counter; no row or Null is 0.
int32_t FirstCounter(Connection& connection, const std::string& sql);
// The table's largest update counter plus 10 (6 when that leaves 32 bits).
int32_t NextUpdateCounter(Connection& connection);

// The row's view: its stored bytes, then privacy, GUID, counter and provider from the
// row's fields (the provider from *providerGuid when given). Bytes that cannot be read
// are logged ("Could not deserialize view GUID: ...") and leave the view a fresh one;
// *readable says which it was.
std::shared_ptr<CProviderView> ViewFromRow(const Recordset& row, const std::string* providerGuid,
                                           bool* readable = nullptr);
std::shared_ptr<CProviderView> ViewFromRow(const RowView& row, const std::string* providerGuid,
                                           bool* readable = nullptr);

void Log(const std::string& message);

// Test seam: runs just before a save asks for the write lock, where another process's
// write may land. An empty function removes it.
void SetBeforeSaveLock(std::function<void()> action);

}  // namespace prvdrinfo::views_db::ops
