#include "tables/table_schema.h"

#include <algorithm>

#include "foundation/internal/ascii.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kRead{"2LZ9BLXDOFT0O4IO44FYLH7RF", "TableSchema.Read"};

std::shared_ptr<Recordset> Query(Connection& connection, std::string_view sql,
                                 std::string_view argument) {
  auto command = connection.CreateCommand(sql);
  command->SetText(1, argument);
  return command->OpenRecordset();
}

std::vector<std::string> IndexColumns(Connection& connection, const std::string& index) {
  std::vector<std::string> columns;
  // An expression names no column: it is kept as "".
  for (auto rows =
           Query(connection, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno", index);
       !rows->Eof(); rows->MoveNext()) {
    const Variant name = rows->Value(0);
    columns.push_back(name.IsNull() ? std::string() : name.AsText());
  }
  return columns;
}
}  // namespace

TableSchema TableSchema::Read(Connection& connection, std::string_view table) {
  return kRead.Guard(
      [&] {
        TableSchema schema;
        auto found =
            Query(connection,
                  "SELECT type, name, sql FROM sqlite_master WHERE type IN ('table', 'view') AND "
                  "name=?1 COLLATE NOCASE",
                  table);
        if (found->Eof()) return schema;
        schema.kind = found->Value(0).AsText();
        schema.name = found->Value(1).AsText();
        schema.sql = found->Value(2).IsNull() ? std::string() : found->Value(2).AsText();
        if (schema.IsView()) return schema;

        auto listed =
            Query(connection, "SELECT wr FROM pragma_table_list WHERE schema='main' AND name=?1",
                  schema.name);
        schema.withoutRowId = !listed->Eof() && listed->Int64(0) != 0;

        std::vector<std::pair<int64_t, std::string>> key;
        for (
            auto rows = Query(
                connection,
                "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?1) ORDER BY cid",
                schema.name);
            !rows->Eof(); rows->MoveNext()) {
          Column column;
          column.name = rows->Value(0).AsText();
          column.type = rows->Value(1).AsText();
          column.notNull = rows->Int64(2) != 0;
          if (!rows->Value(3).IsNull()) column.defaultSql = rows->Value(3).AsText();
          if (rows->Int64(4) > 0) key.emplace_back(rows->Int64(4), column.name);
          schema.columns.push_back(std::move(column));
        }
        std::sort(key.begin(), key.end());
        for (auto& [position, keyColumn] : key) schema.primaryKey.push_back(std::move(keyColumn));

        for (auto rows =
                 Query(connection,
                       "SELECT name FROM pragma_index_list(?1) WHERE origin='u' ORDER BY name",
                       schema.name);
             !rows->Eof(); rows->MoveNext()) {
          schema.uniques.push_back(IndexColumns(connection, rows->Value(0).AsText()));
        }

        for (auto rows = Query(
                 connection,
                 "SELECT type, name, sql FROM sqlite_master WHERE tbl_name=?1 COLLATE NOCASE AND "
                 "type IN ('index', 'trigger') AND sql IS NOT NULL ORDER BY rowid",
                 schema.name);
             !rows->Eof(); rows->MoveNext()) {
          Object object{
              rows->Value(0).AsText(), rows->Value(1).AsText(), rows->Value(2).AsText(), {}};
          if (object.type == "index") object.columns = IndexColumns(connection, object.name);
          schema.objects.push_back(std::move(object));
        }
        return schema;
      },
      [&] { return "Table: " + std::string(table.substr(0, 200)); });
}

const TableSchema::Column* TableSchema::FindColumn(std::string_view wanted) const {
  for (const auto& column : columns) {
    if (ascii::EqualsIgnoreCase(column.name, wanted)) return &column;
  }
  return nullptr;
}

const TableSchema::Object* TableSchema::FindObject(std::string_view wanted) const {
  for (const auto& object : objects) {
    if (ascii::EqualsIgnoreCase(object.name, wanted)) return &object;
  }
  return nullptr;
}

}  // namespace prvdrinfo
