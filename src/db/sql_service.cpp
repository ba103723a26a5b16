#include "prvdrinfo/db/sql_service.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "db/sql_text.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kQuoteIdentifier{"ABF0J9AP7V59CDTDQJDA6MFWB", "SqlService.QuoteIdentifier"};
constexpr ErrorSite kEscapeLiteral{"4PRV04TPV8XPFQRO55Z96H4JP", "SqlService.EscapeLiteral"};
constexpr ErrorSite kSqlLiteral{"H5Z9RYGUJSUR2YVYCME5ZTI26", "SqlService.SqlLiteral"};
constexpr ErrorSite kSqlTypeName{"O2VPHUDPT9WFHNECUX94UQPNI", "SqlService.SqlTypeName"};
constexpr ErrorSite kOpenDatabase{"OR2OUDYY2T7PZ2ACKAH55MGVI", "SqlService.OpenDatabase"};
constexpr ErrorSite kBegin{"MNDCHGAO8P0LD9ALNORS4DM7I", "SqlService.Begin"};
constexpr ErrorSite kCommit{"DDYHAYER4ATVSS3WNAJ5Z90A4", "SqlService.Commit"};
constexpr ErrorSite kRollback{"3VYT6K7KOSKSFNSXXWT9P467Q", "SqlService.Rollback"};
constexpr ErrorSite kInsert{"OAYTZPJ8A5EO5KZIDH89LDBOV", "SqlService.InsertStatement"};
constexpr ErrorSite kUpdate{"IOMZ062FNZY3030X94JNYMQ5C", "SqlService.UpdateStatement"};
constexpr ErrorSite kAddColumn{"KSD3WVPGKMA7PUN1RW5GM4A7X", "SqlService.AddColumnStatement"};
constexpr ErrorSite kTableExists{"NDEP42HBG19K1A67M00UWX0DT", "SqlService.TableExists"};
constexpr ErrorSite kColumnExists{"SMT607K7RHOQWUAIVV5S6QUBA", "SqlService.ColumnExists"};

std::string Doubled(std::string_view text, char quote) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const char c : text) {
    out += c;
    if (c == quote) out += quote;
  }
  return out;
}

std::string DoubleLiteral(double value) {
  if (std::isnan(value)) return "NULL";
  if (std::isinf(value)) return value > 0 ? "9e999" : "-9e999";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  // Keep the value a REAL where no column type decides it.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

const char kHex[] = "0123456789ABCDEF";

// Column list and matching value list; placeholders when there are no values.
void CheckLists(const ErrorSite& site, const std::vector<std::string>& columns,
                const std::vector<Variant>* values) {
  if (columns.empty()) site.Raise(err::kInvalidProcedureCall, "At least one column is required.");
  if (values != nullptr && values->size() != columns.size()) {
    site.Raise(err::kInvalidProcedureCall, "The column and value lists differ in length.");
  }
}

std::string BuildInsert(const ErrorSite& site, std::string_view table,
                        const std::vector<std::string>& columns,
                        const std::vector<Variant>* values) {
  CheckLists(site, columns, values);
  std::string sql = "INSERT OR REPLACE INTO " + SqlService::QuoteIdentifier(table) + " (";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += SqlService::QuoteIdentifier(columns[i]);
  }
  sql += ") VALUES (";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += values != nullptr ? SqlService::SqlLiteral((*values)[i]) : std::string("?");
  }
  sql += ")";
  return sql;
}

std::string BuildUpdate(const ErrorSite& site, std::string_view table,
                        const std::vector<std::string>& columns,
                        const std::vector<Variant>* values) {
  CheckLists(site, columns, values);
  std::string sql = "UPDATE " + SqlService::QuoteIdentifier(table) + " SET ";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += SqlService::QuoteIdentifier(columns[i]);
    sql += "=";
    sql += values != nullptr ? SqlService::SqlLiteral((*values)[i]) : std::string("?");
  }
  return sql;
}
}  // namespace

std::string SqlService::QuoteIdentifier(std::string_view name) {
  return kQuoteIdentifier.Guard([&] {
    CheckSqlText(name, kQuoteIdentifier, "The identifier");
    return "\"" + Doubled(name, '"') + "\"";
  });
}

std::string SqlService::EscapeLiteral(std::string_view text, int32_t flag) {
  return kEscapeLiteral.Guard([&] {
    if (flag != kEscapePlain && flag != kEscapeGuid && flag != kEscapeCaption) {
      kEscapeLiteral.Raise(err::kInvalidProcedureCall,
                           "Unknown escaping flag: " + std::to_string(flag));
    }
    CheckSqlText(text, kEscapeLiteral, "The text");
    return Doubled(text, '\'');
  });
}

std::string SqlService::SqlLiteral(const Variant& value) {
  return kSqlLiteral.Guard([&]() -> std::string {
    switch (value.Type()) {
      case VariantType::Empty:
      case VariantType::Null: return "NULL";
      case VariantType::Integer: return std::to_string(value.AsInteger());
      case VariantType::Long: return std::to_string(value.AsLong());
      case VariantType::Boolean: return value.AsBoolean() ? "1" : "0";
      case VariantType::Double: return DoubleLiteral(value.AsDouble());
      case VariantType::Date: return DoubleLiteral(value.AsDate());
      case VariantType::Currency: return value.AsCurrency().ToString();
      case VariantType::Text: return "'" + EscapeLiteral(value.AsText()) + "'";
      case VariantType::ByteArray: {
        const Bytes& bytes = value.AsBytes();
        std::string sql = "X'";
        sql.reserve(bytes.size() * 2 + 3);
        for (const uint8_t b : bytes) {
          sql += kHex[b >> 4];
          sql += kHex[b & 0x0F];
        }
        sql += "'";
        return sql;
      }
      case VariantType::Single:
      case VariantType::Object: break;
    }
    kSqlLiteral.Raise(err::kTypeMismatch);
  });
}

std::string SqlService::SqlTypeName(int32_t variantType) {
  return kSqlTypeName.Guard([&]() -> std::string {
    switch (variantType) {
      case 8: return "TEXT";
      case 2:
      case 3:
      case 11:
      case 16:
      case 17:
      case 18:
      case 19:
      case 20:
      case 21:
      case 22:
      case 23: return "INTEGER";
      case 4:
      case 5:
      case 6:
      case 7: return "REAL";
      case 14: return "NUMERIC";
      case 8209: return "BLOB";
      default: break;
    }
    kSqlTypeName.Raise(err::kInvalidProcedureCall,
                       "No SQL type for variant type " + std::to_string(variantType) + ".");
  });
}

std::shared_ptr<Connection> SqlService::OpenDatabase(std::string_view path) {
  return kOpenDatabase.Guard(
      [&] { return Connection::Open(path, Connection::OpenMode::ReadWrite); });
}

bool SqlService::Begin(Connection& connection, int32_t waitSeconds) {
  return kBegin.Guard([&] {
    if (waitSeconds < 0)
      kBegin.Raise(err::kInvalidProcedureCall, "The wait bound cannot be negative.");
    const int32_t milliseconds = waitSeconds > INT_MAX / 1000 ? INT_MAX : waitSeconds * 1000;
    return connection.BeginImmediate(milliseconds);
  });
}

void SqlService::Commit(Connection& connection) {
  kCommit.Guard([&] { connection.Commit(); });
}

void SqlService::Rollback(Connection& connection) {
  kRollback.Guard([&] { connection.Rollback(); });
}

std::string SqlService::InsertStatement(std::string_view table,
                                        const std::vector<std::string>& columns,
                                        const std::vector<Variant>& values) {
  return kInsert.Guard([&] { return BuildInsert(kInsert, table, columns, &values); });
}

std::string SqlService::InsertStatement(std::string_view table,
                                        const std::vector<std::string>& columns) {
  return kInsert.Guard([&] { return BuildInsert(kInsert, table, columns, nullptr); });
}

std::string SqlService::UpdateStatement(std::string_view table,
                                        const std::vector<std::string>& columns,
                                        const std::vector<Variant>& values) {
  return kUpdate.Guard([&] { return BuildUpdate(kUpdate, table, columns, &values); });
}

std::string SqlService::UpdateStatement(std::string_view table,
                                        const std::vector<std::string>& columns) {
  return kUpdate.Guard([&] { return BuildUpdate(kUpdate, table, columns, nullptr); });
}

std::string SqlService::AddColumnStatement(std::string_view table, std::string_view column,
                                           int32_t variantType) {
  return kAddColumn.Guard([&] {
    return "ALTER TABLE " + QuoteIdentifier(table) + " ADD COLUMN " + QuoteIdentifier(column) +
           " " + SqlTypeName(variantType);
  });
}

std::string SqlService::AddColumnStatement(std::string_view table, std::string_view column,
                                           int32_t variantType, const Variant& defaultValue) {
  return kAddColumn.Guard([&] {
    return AddColumnStatement(table, column, variantType) + " DEFAULT " + SqlLiteral(defaultValue);
  });
}

bool SqlService::TableExists(Connection& connection, std::string_view table) {
  return kTableExists.Guard([&] {
    auto command = connection.CreateCommand(
        "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
    command->SetText(1, table);
    return command->OpenRecordset()->RecordCount() > 0;
  });
}

bool SqlService::ColumnExists(Connection& connection, std::string_view table,
                              std::string_view column) {
  return kColumnExists.Guard([&] {
    auto command = connection.CreateCommand(
        "SELECT 1 FROM pragma_table_info(?1) WHERE name=?2 COLLATE NOCASE");
    command->SetText(1, table);
    command->SetText(2, column);
    return command->OpenRecordset()->RecordCount() > 0;
  });
}

}  // namespace prvdrinfo
