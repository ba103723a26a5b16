// prvdrinfo ddl: a table definition from JSON to the SQLite statements that create it.
// The input format is described in docs/ddl-json.md.

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#include <CLI/CLI.hpp>
#pragma GCC diagnostic pop

#include <nlohmann/json.hpp>

#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "commands.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/tables/provider_table_defs.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

struct DdlOptions {
  std::string input = "-";
  std::string apply;
  bool example = false;
};

const std::map<std::string, e_VeskDataType>& TypeNames() {
  static const std::map<std::string, e_VeskDataType> names = {
      {"string", datatype_String},     {"smartsort", datatype_StringSmartSort},
      {"rtf", datatype_StringRtf},     {"currency", datatype_Currency},
      {"date", datatype_DateUtc},      {"integer", datatype_Integer},
      {"real", datatype_Real},         {"boolean", datatype_Boolean},
      {"blob", datatype_Blob},         {"percentage", datatype_Percentage},
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
  if (!object.contains(name)) throw CommandFailed(std::string("missing \"") + name + "\"" + Where(path));
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
                        "percentage or 0 to 9)" + Where(path));
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
      if (!entry.at("required").is_boolean()) throw CommandFailed("expected true or false" + Where(path + ".required"));
      if (entry.at("required").get<bool>()) table->Columns()->Required()->AddExisting(column);
    }
  }

  if (document.contains("primaryKey")) {
    const json& key = document.at("primaryKey");
    if (!key.is_array()) throw CommandFailed("\"primaryKey\" must be an array of column identifiers");
    for (size_t i = 0; i < key.size(); ++i) {
      const std::string path = "primaryKey[" + std::to_string(i) + "]";
      auto column = IndexColumn(*table, key[i], path);
      auto primary = table->Indexes()->PrimaryKey()->Columns();
      if (primary->ExistsByGuid(column->Guid())) throw CommandFailed("column named twice" + Where(path));
      primary->AddExisting(column);
    }
  }
  if (document.contains("uniqueIndexes")) {
    const json& indexes = document.at("uniqueIndexes");
    if (!indexes.is_array()) throw CommandFailed("\"uniqueIndexes\" must be an array of arrays");
    for (size_t i = 0; i < indexes.size(); ++i) {
      const std::string path = "uniqueIndexes[" + std::to_string(i) + "]";
      if (!indexes[i].is_array()) throw CommandFailed("expected an array of column identifiers" + Where(path));
      auto index = table->Indexes()->Unique()->Add("unique_" + std::to_string(i));
      for (size_t j = 0; j < indexes[i].size(); ++j) {
        const std::string columnPath = path + "[" + std::to_string(j) + "]";
        auto column = IndexColumn(*table, indexes[i][j], columnPath);
        if (index->Columns()->ExistsByGuid(column->Guid())) throw CommandFailed("column named twice" + Where(columnPath));
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
    throw CommandFailed(std::string("invalid JSON: ") + e.what());
  }
}

void RunDdl(const DdlOptions& options) {
  const json document = options.example ? json::parse(kExample) : ReadJson(options.input);
  const auto table = ParseTable(document);
  const std::string sql = table->SqlCreateTable();
  std::cout << sql << ";\n";
  if (!options.apply.empty()) {
    auto db = Connection::Open(options.apply);
    db->Execute(sql);
    // The deletion log the delete trigger writes to; its own trigger also records the table.
    db->Execute(CDbFactory::SqlDeletionLog(*db, table->TableName()));
    std::cerr << "Applied to " << options.apply << ".\n";
  }
}

}  // namespace

void AddDdlCommand(CLI::App& app) {
  auto options = std::make_shared<DdlOptions>();
  auto* ddl = app.add_subcommand("ddl", "Print the SQLite statements that create a provider table");
  ddl->add_option("input", options->input, "Table definition as JSON (file, or - for standard input)");
  ddl->add_option("--apply", options->apply, "Also run the statements on this SQLite file (created if missing)");
  ddl->add_flag("--example", options->example, "Use the built-in example table (Tasks) instead of input");
  ddl->footer(std::string("Input example:\n") + kExample);
  ddl->callback([options] { RunDdl(*options); });
}

std::string DdlExample() { return kExample; }

void RunDdlDemo(DemoContext& context) {
  auto& out = context.out;
  const auto table = ParseTable(json::parse(kExample));
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
      << "\n  modified = " << row->Value("modified").ToText() << "\n  updates  = " << row->Value("updates").ToText()
      << "\n  Title    = " << row->Value("Title").ToText() << "\n";
  db->Execute("DELETE FROM \"Tasks\"");
  auto log = db->OpenRecordset("SELECT rec_guid, table_name, updates FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\"");
  out << "and a deleted row leaves its GUID in the deletion log: " << log->Value("rec_guid").ToText() << " from "
      << log->Value("table_name").ToText() << " (counter " << log->Value("updates").ToText() << ")\n";
}

}  // namespace prvdrinfo::tool
