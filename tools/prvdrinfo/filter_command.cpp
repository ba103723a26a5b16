// prvdrinfo filter sql: a filter written as JSON to the SQL condition it stands for.
// The input format is described in docs/filter-json.md.

#include <nlohmann/json.hpp>

#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/filters/provider_view_filter.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/tables/provider_table_def.h"

namespace prvdrinfo::tool {

namespace {

using nlohmann::json;

std::string At(const std::string& path) { return " (at " + path + ")"; }

// A name from the table, or a number taken as it is (so stored values outside the
// enumeration reach the library and its errors).
int32_t Enumerated(const json& value, const std::map<std::string, int32_t>& names,
                   const std::string& path) {
  if (value.is_number_integer()) {
    const auto number = value.get<int64_t>();
    if (number < INT32_MIN || number > INT32_MAX)
      throw CommandFailed("number out of range" + At(path));
    return static_cast<int32_t>(number);
  }
  if (value.is_string()) {
    const auto found = names.find(value.get<std::string>());
    if (found != names.end()) return found->second;
  }
  std::string known;
  for (const auto& [name, number] : names) known += (known.empty() ? "" : ", ") + name;
  throw CommandFailed("expected one of " + known + " or a number" + At(path));
}

const std::map<std::string, int32_t>& Connectives() {
  static const std::map<std::string, int32_t> names{{"and", logicop_And}, {"or", logicop_Or}};
  return names;
}

const std::map<std::string, int32_t>& Operators() {
  static const std::map<std::string, int32_t> names{{"=", operator_Equals},
                                                    {"<>", operator_NotEquals},
                                                    {">", operator_GreaterThan},
                                                    {"<", operator_LessThan},
                                                    {">=", operator_GreaterThanOrEqual},
                                                    {"<=", operator_LessThanOrEqual}};
  return names;
}

std::string Text(const json& object, const char* name, const std::string& path) {
  if (!object.contains(name))
    throw CommandFailed(std::string("missing \"") + name + "\"" + At(path));
  if (!object.at(name).is_string()) throw CommandFailed("expected text" + At(path + "." + name));
  return object.at(name).get<std::string>();
}

std::shared_ptr<CProviderViewFilter> ParseFilter(const json& document) {
  if (!document.is_object()) throw CommandFailed("the filter must be a JSON object");
  auto filter = std::make_shared<CProviderViewFilter>();
  if (!document.contains("groups") || !document.at("groups").is_array()) {
    throw CommandFailed("\"groups\" must be an array");
  }
  const json& groups = document.at("groups");
  for (size_t i = 0; i < groups.size(); ++i) {
    const std::string path = "groups[" + std::to_string(i) + "]";
    const json& entry = groups[i];
    if (!entry.is_object()) throw CommandFailed("expected an object" + At(path));
    auto group = filter->Groups()->Add();
    if (entry.contains("logicalOperator")) {
      group->SetLogicalOperator(static_cast<e_FilterLogicalOperator>(
          Enumerated(entry.at("logicalOperator"), Connectives(), path + ".logicalOperator")));
    }
    if (!entry.contains("items")) continue;
    if (!entry.at("items").is_array()) throw CommandFailed("\"items\" must be an array" + At(path));
    const json& items = entry.at("items");
    for (size_t j = 0; j < items.size(); ++j) {
      const std::string itemPath = path + ".items[" + std::to_string(j) + "]";
      const json& item = items[j];
      if (!item.is_object()) throw CommandFailed("expected an object" + At(itemPath));
      const int32_t op = item.contains("operator")
                             ? Enumerated(item.at("operator"), Operators(), itemPath + ".operator")
                             : operator_Equals;
      const int32_t connective =
          item.contains("logicalOperator")
              ? Enumerated(item.at("logicalOperator"), Connectives(), itemPath + ".logicalOperator")
              : logicop_And;
      group->Add2(Text(item, "column", itemPath), static_cast<e_FilterItemOperator>(op),
                  Text(item, "criteria", itemPath),
                  static_cast<e_FilterLogicalOperator>(connective));
    }
  }
  return filter;
}

e_FilterPrefixType Prefix(const std::string& name) {
  if (name == "none") return filterprefix_None;
  if (name == "where") return filterprefix_Where;
  if (name == "operator") return filterprefix_LogicalOperator;
  throw UsageError("filter sql --prefix takes none, where or operator, not \"" + name + "\"");
}

}  // namespace

void RunFilterSql(const FilterSqlOptions& options) {
  const e_FilterPrefixType prefix = Prefix(options.prefix);
  const std::string source = InputName(options.input);
  const json document = ReadJsonInput(options.input);
  // The columns file names itself in its errors.
  std::shared_ptr<CProviderTableDef> table;
  if (options.columns) table = TableDefinitionFrom(*options.columns);
  std::shared_ptr<CProviderViewFilter> filter;
  try {
    filter = ParseFilter(document);
    if (!table) {
      if (!document.contains("table")) {
        throw CommandFailed("no columns: give --columns TABLE.json or a \"table\" member");
      }
      table = TableDefinition(document.at("table"));
    }
    // The filter holds its provider weakly: this one lives to the end of the block.
    const auto provider = std::make_shared<CColumnSetProvider>(table->Columns());
    filter->SetProviderInfo(provider);
    if (options.params) {
      const FilterSqlParameters bound = filter->SqlParameterized(prefix);
      std::cout << Printed(bound.Sql) << '\n';
      for (size_t i = 0; i < bound.Parameters.size(); ++i) {
        std::cout << "?" << (i + 1) << " = " << Printed(SqlService::SqlLiteral(bound.Parameters[i]))
                  << '\n';
      }
    } else {
      // A condition holding control characters prints as a JSON string.
      std::cout << Printed(filter->Sql(prefix)) << '\n';
    }
  } catch (const CError& e) {
    throw CommandFailed(source + ": " + e.Description());
  } catch (const CommandFailed& e) {
    throw CommandFailed(source + ": " + e.what());
  }
}

}  // namespace prvdrinfo::tool
