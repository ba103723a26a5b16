// prvdrinfo ddl: a table definition from JSON to the SQLite statements that create it.
// The input format is described in docs/ddl-json.md.

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/tables/provider_table_defs.h"
#include "prvdrinfo/tables/table_upgrade_planner.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

// SQLITE_MAX_COLUMN as SQLite ships it; the library does not say what its SQLite allows.
constexpr int kSqliteDefaultMaxColumns = 2000;

const std::map<std::string, e_VeskDataType>& TypeNames() {
  static const std::map<std::string, e_VeskDataType> names = {
      {"string", datatype_String}, {"smartsort", datatype_StringSmartSort},
      {"rtf", datatype_StringRtf}, {"currency", datatype_Currency},
      {"date", datatype_DateUtc},  {"integer", datatype_Integer},
      {"real", datatype_Real},     {"boolean", datatype_Boolean},
      {"blob", datatype_Blob},     {"percentage", datatype_Percentage},
  };
  return names;
}

const char* kExample = R"({
  "table": "Tasks",
  "columns": [
    {"identifier": "Title", "type": "string", "required": true, "caption": "Title"},
    {"identifier": "Due", "type": "date", "caption": "Due date"}
  ]
})";

std::string Where(const std::string& path) { return path.empty() ? "" : " (at " + path + ")"; }

const json& Member(const json& object, const char* name, const std::string& path) {
  if (!object.contains(name))
    throw CommandFailed(std::string("missing \"") + name + "\"" + Where(path));
  return object.at(name);
}

std::string Text(const json& value, const std::string& path) {
  if (!value.is_string()) throw CommandFailed("expected a text" + Where(path));
  return value.get<std::string>();
}

e_VeskDataType DataType(const json& value, const std::string& path) {
  if (value.is_number_integer()) {
    const auto number = value.get<int64_t>();
    if (number < 0 || number > 9) throw CommandFailed("data type must be 0 to 9" + Where(path));
    return static_cast<e_VeskDataType>(number);
  }
  const std::string name = Text(value, path);
  const auto found = TypeNames().find(name);
  if (found == TypeNames().end()) {
    throw CommandFailed("unknown data type \"" + name +
                        "\" (string, smartsort, rtf, currency, date, integer, real, boolean, blob, "
                        "percentage or 0 to 9)" +
                        Where(path));
  }
  return found->second;
}

// The column named by an index entry: one of the table's own columns or a standard one.
std::shared_ptr<IBaseColumnDef> IndexColumn(const CProviderTableDef& table, const json& entry,
                                            const std::string& path) {
  const std::string name = Text(entry, path);
  const auto columns = table.Columns();
  if (!columns->Exists(name)) throw CommandFailed("no column \"" + name + "\"" + Where(path));
  return columns->FindByGuid(name);
}

std::shared_ptr<CProviderTableDef> ParseTable(const json& document) {
  if (!document.is_object()) throw CommandFailed("the table definition must be a JSON object");
  CProviderTableDefs tables;  // validates the name as every table name is validated
  auto table = tables.Add(Text(Member(document, "table", ""), "table"));

  const json& columns = Member(document, "columns", "");
  if (!columns.is_array()) throw CommandFailed("\"columns\" must be an array");
  for (size_t i = 0; i < columns.size(); ++i) {
    const std::string path = "columns[" + std::to_string(i) + "]";
    const json& entry = columns[i];
    if (!entry.is_object()) throw CommandFailed("expected an object" + Where(path));
    auto column = std::make_shared<CColumnDefStored>();
    const std::string identifier = Text(Member(entry, "identifier", path), path + ".identifier");
    if (identifier.empty()) throw CommandFailed("an identifier cannot be empty" + Where(path));
    if (table->Columns()->Exists(identifier)) {
      throw CommandFailed("column \"" + identifier + "\" is defined twice" + Where(path));
    }
    column->SetGuid(identifier);
    column->SetIdentifier(identifier);
    column->SetVeskDatatype(DataType(Member(entry, "type", path), path + ".type"));
    if (entry.contains("caption")) {
      column->SetDefaultCaption(4105, Text(entry.at("caption"), path + ".caption"));
    }
    table->Columns()->ProviderSpecific()->AddExisting(column);
    if (entry.contains("required")) {
      if (!entry.at("required").is_boolean())
        throw CommandFailed("expected true or false" + Where(path + ".required"));
      if (entry.at("required").get<bool>()) table->Columns()->Required()->AddExisting(column);
    }
  }

  if (document.contains("primaryKey")) {
    const json& key = document.at("primaryKey");
    if (!key.is_array())
      throw CommandFailed("\"primaryKey\" must be an array of column identifiers");
    for (size_t i = 0; i < key.size(); ++i) {
      const std::string path = "primaryKey[" + std::to_string(i) + "]";
      auto column = IndexColumn(*table, key[i], path);
      auto primary = table->Indexes()->PrimaryKey()->Columns();
      if (primary->ExistsByGuid(column->Guid()))
        throw CommandFailed("column named twice" + Where(path));
      primary->AddExisting(column);
    }
  }
  if (document.contains("uniqueIndexes")) {
    const json& indexes = document.at("uniqueIndexes");
    if (!indexes.is_array()) throw CommandFailed("\"uniqueIndexes\" must be an array of arrays");
    for (size_t i = 0; i < indexes.size(); ++i) {
      const std::string path = "uniqueIndexes[" + std::to_string(i) + "]";
      if (!indexes[i].is_array())
        throw CommandFailed("expected an array of column identifiers" + Where(path));
      auto index = table->Indexes()->Unique()->Add("unique_" + std::to_string(i));
      for (size_t j = 0; j < indexes[i].size(); ++j) {
        const std::string columnPath = path + "[" + std::to_string(j) + "]";
        auto column = IndexColumn(*table, indexes[i][j], columnPath);
        if (index->Columns()->ExistsByGuid(column->Guid()))
          throw CommandFailed("column named twice" + Where(columnPath));
        index->Columns()->AddExisting(column);
      }
    }
  }
  return table;
}

json ReadJson(const std::string& input) {
  const Bytes bytes = ReadInput(input);
  try {
    return json::parse(bytes.begin(), bytes.end());
  } catch (const json::parse_error& e) {
    throw CommandFailed(InputName(input) + ": invalid JSON: " + e.what());
  } catch (const json::exception& e) {
    // A number no double can hold (1e999), said without the parser's own code.
    const std::string what = e.what();
    const size_t code = what.find("] ");
    throw CommandFailed(InputName(input) + ": invalid JSON: " +
                        (code == std::string::npos ? what : what.substr(code + 2)));
  }
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string Literal(std::string_view text) { return "'" + SqlService::EscapeLiteral(text) + "'"; }

// A column as PRAGMA table_info describes it.
struct ColumnInfo {
  std::string name;
  std::string type;
  bool notNull = false;
  std::optional<std::string> defaultSql;
  int64_t keyPosition = 0;

  bool SameAs(const ColumnInfo& other) const {
    return SameName(name, other.name) && SameName(type, other.type) && notNull == other.notNull &&
           defaultSql == other.defaultSql && keyPosition == other.keyPosition;
  }
};

std::vector<ColumnInfo> TableColumns(Connection& db, const std::string& table) {
  std::vector<ColumnInfo> columns;
  auto rows = db.OpenRecordset("PRAGMA table_info(" + SqlService::QuoteIdentifier(table) + ")");
  for (; !rows->Eof(); rows->MoveNext()) {
    ColumnInfo column;
    column.name = rows->Value("name").ToText();
    column.type = rows->Value("type").ToText();
    column.notNull = rows->Int64(rows->FieldIndex("notnull")) != 0;
    const Variant defaultValue = rows->Value("dflt_value");
    if (!defaultValue.IsNull()) column.defaultSql = defaultValue.ToText();
    column.keyPosition = rows->Int64(rows->FieldIndex("pk"));
    columns.push_back(std::move(column));
  }
  return columns;
}

// An index or trigger with the statement that made it.
struct SchemaObject {
  std::string type;
  std::string name;
  std::string sql;
};

// The indexes and triggers the definition creates on its table (automatic indexes of
// PRIMARY KEY and UNIQUE come with the table).
std::vector<SchemaObject> TableObjects(Connection& db, const std::string& table) {
  std::vector<SchemaObject> objects;
  auto rows = db.OpenRecordset(
      "SELECT type, name, sql FROM sqlite_master WHERE tbl_name = " + Literal(table) +
      " COLLATE NOCASE AND type IN ('index', 'trigger') AND sql IS NOT NULL ORDER BY name");
  for (; !rows->Eof(); rows->MoveNext()) {
    objects.push_back({rows->Value(0).ToText(), rows->Value(1).ToText(), rows->Value(2).ToText()});
  }
  return objects;
}

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names)
    list += (list.empty() ? "" : ", ") + SqlService::QuoteIdentifier(name);
  return list;
}

// The generated statements and what they make, from a trial run on an empty database:
// whatever SQLite refuses is found before any file is touched.
struct TablePlan {
  std::string table;
  std::string sql;
  std::vector<ColumnInfo> columns;
  std::vector<SchemaObject> objects;
};

TablePlan PlanTable(const CProviderTableDef& table, size_t ownColumns, const std::string& source) {
  TablePlan plan;
  plan.table = table.TableName();
  if (SameName(plan.table, CDbFactory::kDeletionLogTable)) {
    throw CommandFailed(source + ": the table name " + plan.table + " is the deletion log's own");
  }
  plan.sql = table.SqlCreateTable();
  auto db = Connection::CreateMemory();
  try {
    db->Execute(plan.sql);
    db->Execute(CDbFactory::SqlDeletionLog(*db, plan.table));
  } catch (const CError& e) {
    // The library cannot tell its SQLite's column limit; the trial run applies it.
    if (e.Description().rfind("too many columns", 0) == 0) {
      throw CommandFailed(
          source + ": table " + plan.table + " has " + std::to_string(ownColumns) +
          " columns besides the standard ones, more than SQLite allows in a table (" +
          std::to_string(kSqliteDefaultMaxColumns) + " in all unless SQLite is built otherwise)");
    }
    throw CommandFailed(source + ": the statements fail on an empty database: " + e.Description());
  }
  plan.columns = TableColumns(*db, plan.table);
  plan.objects = TableObjects(*db, plan.table);
  return plan;
}

// Why an existing table is not the defined one; empty when its columns are the same.
std::string ColumnDifferences(const std::vector<ColumnInfo>& existing,
                              const std::vector<ColumnInfo>& defined) {
  std::vector<std::string> missing, extra, different;
  for (const auto& column : defined) {
    const auto found = std::find_if(existing.begin(), existing.end(), [&](const ColumnInfo& other) {
      return SameName(other.name, column.name);
    });
    if (found == existing.end()) {
      missing.push_back(column.name);
    } else if (!found->SameAs(column)) {
      different.push_back(column.name);
    }
  }
  for (const auto& column : existing) {
    const bool defines = std::any_of(defined.begin(), defined.end(), [&](const ColumnInfo& other) {
      return SameName(other.name, column.name);
    });
    if (!defines) extra.push_back(column.name);
  }
  std::string text;
  auto add = [&text](const char* what, const std::vector<std::string>& names) {
    if (!names.empty()) text += std::string(text.empty() ? "" : "; ") + what + NameList(names);
  };
  add("missing ", missing);
  add("declared otherwise: ", different);
  add("not in the definition: ", extra);
  return text;
}

enum class ApplyResult { Applied, AlreadyInPlace };

// Everything or nothing: one transaction, which a refusal or failure rolls back.
ApplyResult ApplyPlan(Connection& db, const TablePlan& plan) {
  Transaction transaction(db);
  bool complete = false;
  if (SqlService::TableExists(db, plan.table)) {
    const std::string differences = ColumnDifferences(TableColumns(db, plan.table), plan.columns);
    if (!differences.empty()) {
      throw CommandFailed("table " + plan.table + " already exists with other columns (" +
                          differences + ")");
    }
    complete = true;
    for (const auto& object : plan.objects) {
      auto rows = db.OpenRecordset("SELECT type, sql FROM sqlite_master WHERE name = " +
                                   Literal(object.name) + " COLLATE NOCASE");
      if (rows->Eof()) {
        complete = false;
      } else if (rows->Value(0).ToText() != object.type || rows->Value(1).ToText() != object.sql) {
        throw CommandFailed(rows->Value(0).ToText() + " " + object.name +
                            " already exists and differs from the definition");
      }
    }
    CDbFactory::SqlDeletionLog(db, plan.table);  // raises when the log lacks a column
    if (!SqlService::TableExists(db, CDbFactory::kDeletionLogTable)) complete = false;
    if (complete) return ApplyResult::AlreadyInPlace;
  }
  db.Execute(plan.sql);
  db.Execute(CDbFactory::SqlDeletionLog(db, plan.table));
  transaction.Commit();
  return ApplyResult::Applied;
}

void ApplyToFile(const TablePlan& plan, const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const auto status = fs::symlink_status(path, error);
  const bool existed = fs::exists(status);
  if (fs::is_directory(fs::status(path, error)))
    throw CommandFailed("cannot apply to " + path + ": it is a directory");
  ApplyResult result;
  try {
    auto db = Connection::Open(path);
    result = ApplyPlan(*db, plan);
  } catch (const CError& e) {
    if (!existed) fs::remove(path, error);  // made by the attempt, and empty
    throw CommandFailed(path + ": " + e.Description() + " (nothing changed)");
  } catch (const CommandFailed& e) {
    if (!existed) fs::remove(path, error);
    throw CommandFailed(path + ": " + e.what() + " (nothing changed)");
  }
  if (result == ApplyResult::AlreadyInPlace) {
    std::cerr << path << " already holds table " << plan.table << " as defined; nothing changed.\n";
  } else {
    std::cerr << "Applied to " << path << ".\n";
  }
}

std::string Copies(int64_t rows) {
  return "copies " + std::to_string(rows) + (rows == 1 ? " row" : " rows");
}

// Plans the table's upgrade in place, prints the plan, and runs it unless this is a dry
// run. Planning only reads; running is all or nothing.
void UpgradeFile(const CProviderTableDef& table, const std::string& path, bool dryRun) {
  namespace fs = std::filesystem;
  std::error_code error;
  const bool existed = fs::exists(fs::symlink_status(path, error));
  if (fs::is_directory(fs::status(path, error)))
    throw CommandFailed("cannot upgrade " + path + ": it is a directory");
  try {
    // A dry run on a missing file plans on an empty database rather than create the file.
    auto db = !existed && dryRun
                  ? Connection::CreateMemory()
                  : Connection::Open(path, dryRun ? Connection::OpenMode::ReadOnly
                                                  : Connection::OpenMode::ReadWriteCreate);
    const TableUpgradePlan plan = TableUpgradePlanner::Plan(*db, table);
    if (plan.NothingToDo()) {
      std::cout << plan.Describe() << "\n";
      std::cerr << path << " already holds table " << table.TableName()
                << " as defined; nothing changed.\n";
      return;
    }
    std::cout << "Upgrade of table " << table.TableName() << " in " << path << ":\n";
    int number = 0;
    for (const auto& step : plan.Steps()) {
      std::cout << "  " << ++number << ". " << step.Description() << " ("
                << Copies(step.RowsCopied()) << ")\n";
    }
    std::cout.flush();
    if (dryRun) {
      std::cerr << "Dry run: " << path << " not changed.\n";
      return;
    }
    plan.Run(*db);
  } catch (const CError& e) {
    if (!existed && !dryRun) fs::remove(path, error);  // made by the attempt, and empty
    throw CommandFailed(path + ": " + e.Description() + " (nothing changed)");
  }
  std::cerr << "Upgraded " << path << ".\n";
}

}  // namespace

void RunDdl(const DdlOptions& options) {
  const std::string source = options.example ? "the example" : InputName(options.input);
  const json document = options.example ? json::parse(kExample) : ReadJson(options.input);
  std::shared_ptr<CProviderTableDef> table;
  try {
    table = ParseTable(document);
  } catch (const CommandFailed& e) {
    throw CommandFailed(source + ": " + e.what());
  } catch (const CError& e) {
    throw CommandFailed(source + ": " + e.Description());
  }
  const size_t ownColumns = document.at("columns").size();
  TablePlan plan;
  try {
    plan = PlanTable(*table, ownColumns, source);
  } catch (const CError& e) {
    throw CommandFailed(source + ": " + e.Description());
  }
  if (options.upgrade) {
    UpgradeFile(*table, *options.apply, options.dryRun);
    return;
  }
  if (options.apply) ApplyToFile(plan, *options.apply);
  std::cout << plan.sql << ";\n";
}

std::string DdlExample() { return kExample; }

std::shared_ptr<CProviderTableDef> DdlExampleTable() { return ParseTable(json::parse(kExample)); }

std::shared_ptr<CProviderTableDef> TableDefinition(const json& document) {
  return ParseTable(document);
}

std::shared_ptr<CProviderTableDef> TableDefinitionFrom(const std::string& fileOrDash) {
  const json document = ReadJson(fileOrDash);
  try {
    return ParseTable(document);
  } catch (const CommandFailed& e) {
    throw CommandFailed(InputName(fileOrDash) + ": " + e.what());
  } catch (const CError& e) {
    throw CommandFailed(InputName(fileOrDash) + ": " + e.Description());
  }
}

json ReadJsonInput(const std::string& fileOrDash) { return ReadJson(fileOrDash); }

std::string DdlTypeName(e_VeskDataType type) {
  for (const auto& [name, value] : TypeNames()) {
    if (value == type) return name;
  }
  return std::to_string(static_cast<int32_t>(type));
}

void RunDdlDemo(DemoContext& context) {
  auto& out = context.out;
  const auto table = DdlExampleTable();
  out << "A provider describes its table (prvdrinfo ddl --example):\n" << kExample << "\n\n";
  const std::string sql = table->SqlCreateTable();
  out << "and gets the statements that create it:\n" << sql << ";\n\n";

  const std::string path = (context.folder / "project.db").string();
  auto db = Connection::Open(path);
  db->Execute(sql);
  db->Execute(CDbFactory::SqlDeletionLog(*db, table->TableName()));
  db->Execute("INSERT INTO \"Tasks\" (\"Title\", \"Due\") VALUES ('Pour footings', 46100.5)");
  db->Execute("UPDATE \"Tasks\" SET \"Title\"='Pour footings (east)'");
  auto row = db->OpenRecordset("SELECT rec_guid, created, modified, updates, Title FROM \"Tasks\"");
  const std::string guid = row->Value("rec_guid").ToText();
  out << "Run on " << path << ", the triggers fill the standard columns of a new row:\n"
      << "  rec_guid = " << guid << "\n  created  = " << row->Value("created").ToText()
      << "\n  modified = " << row->Value("modified").ToText()
      << "\n  updates  = " << row->Value("updates").ToText()
      << "\n  Title    = " << row->Value("Title").ToText() << "\n";
  db->Execute("DELETE FROM \"Tasks\"");
  auto log = db->OpenRecordset(std::string("SELECT rec_guid, table_name, updates FROM \"") +
                               CDbFactory::kDeletionLogTable + "\"");
  out << "and a deleted row leaves its GUID in the deletion log: "
      << log->Value("rec_guid").ToText() << " from " << log->Value("table_name").ToText()
      << " (counter " << log->Value("updates").ToText() << ")\n";
}

}  // namespace prvdrinfo::tool
