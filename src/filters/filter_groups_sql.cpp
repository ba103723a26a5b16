#include "prvdrinfo/filters/filter_groups_sql.h"

#include <optional>

#include "filters/criteria_literal.h"
#include "filters/filter_sql_builder.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kBuild{"U3PXWC0KARQWAT4XRQ9RJJ9WK", "FilterGroupsSql"};

const char* Connective(int32_t logicalOperator) {
  switch (logicalOperator) {
    case logicop_And: return " AND ";
    case logicop_Or: return " OR ";
    default:
      kBuild.Raise(err::kObjectErrorBase,
                   "Unknown Logical Operator: " + std::to_string(logicalOperator));
  }
}

const char* OperatorText(int32_t op) {
  switch (op) {
    case operator_Equals: return "=";
    case operator_NotEquals: return "<>";
    case operator_GreaterThan: return ">";
    case operator_LessThan: return "<";
    case operator_GreaterThanOrEqual: return ">=";
    case operator_LessThanOrEqual: return "<=";
    default:
      // Without an operator the column and criteria would run together into other SQL.
      kBuild.Raise(err::kInvalidProcedureCall, "Unknown Filter Operator: " + std::to_string(op));
  }
}

bool IsTextType(e_VeskDataType type) {
  return type == datatype_String || type == datatype_StringSmartSort || type == datatype_StringRtf;
}
}  // namespace

namespace filters {

std::string BuildFilterSql(const CProviderViewFilterGroups& groups, const CProviderColDefs* columns,
                           e_FilterPrefixType prefix, std::vector<Variant>* parameters) {
  std::string sql;
  if (prefix == filterprefix_Where) sql += " WHERE ";
  // Empty groups add nothing, so the connective goes before the first group that shows.
  bool emitted = false;
  for (const auto& group : groups) {
    if (group->Count() == 0) continue;
    if (emitted || prefix == filterprefix_LogicalOperator)
      sql += Connective(group->LogicalOperator());
    sql += '(';
    bool firstItem = true;
    for (const auto& item : *group) {
      if (!firstItem) sql += Connective(item->LogicalOperator());
      firstItem = false;
      const std::string& columnGuid = item->ProviderColumnGuid();
      sql += SqlService::QuoteIdentifier(columnGuid);
      sql += OperatorText(item->Operator());
      if (!columns || !columns->Exists(columnGuid)) {
        kBuild.Raise(err::kObjectErrorBase,
                     "Could not find column definition for '" + columnGuid + "'");
      }
      const e_VeskDataType type = columns->FindByGuid(columnGuid)->VeskDatatype();
      if (IsTextType(type)) {
        if (parameters) {
          sql += "? COLLATE NOCASE";
          parameters->emplace_back(item->Criteria());
        } else {
          sql += '\'';
          sql += SqlService::EscapeLiteral(item->Criteria());
          sql += "' COLLATE NOCASE";
        }
        continue;
      }
      std::optional<Variant> literal = ParseCriteriaLiteral(item->Criteria());
      if (!literal) {
        kBuild.Raise(err::kInvalidProcedureCall,
                     "Criteria is not a valid literal for column '" + columnGuid + "'.");
      }
      if (parameters) {
        sql += '?';
        parameters->push_back(std::move(*literal));
      } else {
        sql += item->Criteria();
      }
    }
    sql += ')';
    emitted = true;
  }
  return sql;
}

}  // namespace filters

std::string FilterGroupsSql(const CProviderViewFilterGroups& p_Groups,
                            const CProviderColDefs& p_Columns, e_FilterPrefixType p_PrefixType) {
  return kBuild.Guard(
      [&] { return filters::BuildFilterSql(p_Groups, &p_Columns, p_PrefixType, nullptr); });
}

FilterSqlParameters FilterGroupsSqlParameterized(const CProviderViewFilterGroups& p_Groups,
                                                 const CProviderColDefs& p_Columns,
                                                 e_FilterPrefixType p_PrefixType) {
  return kBuild.Guard([&] {
    FilterSqlParameters result;
    result.Sql = filters::BuildFilterSql(p_Groups, &p_Columns, p_PrefixType, &result.Parameters);
    return result;
  });
}

}  // namespace prvdrinfo
