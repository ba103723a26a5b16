#include "foundation/class_registration.h"
#include "prvdrinfo/filters/provider_view_filter.h"

#include <optional>

#include "filters/criteria_literal.h"
#include "foundation/content_parts.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/text_service.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCaption{"3YMCS62R8F0SO1GH6AQWNR3P4", "CProviderViewFilter.Caption"};
constexpr ErrorSite kGroups{"SKCJSUWFP74IOMCES3QXBMEB6", "CProviderViewFilter.Groups"};
constexpr ErrorSite kSql{"7GOMAYGYFOUTUQ92MTZGP3EZ1", "CProviderViewFilter.Sql"};
constexpr ErrorSite kColumns{"PX2GZWI2U0908OU54UIFQG9H9", "CProviderViewFilter.Sql.Columns"};
constexpr ErrorSite kWrite{"HDTBJZGG7I51BHWTRFNQTI0ZZ", "CProviderViewFilter.Class_WriteProperties"};
constexpr ErrorSite kRead{"HFX765GI0WKKLYE2EX3M60HGI", "CProviderViewFilter.Class_ReadProperties"};
constexpr ErrorSite kContent{"OTO7TRWSM1OZYIZM2ARJ8F6FF", "CProviderViewFilter.AppendContentString3"};

const char* Connective(int32_t logicalOperator) {
  switch (logicalOperator) {
    case logicop_And:
      return " AND ";
    case logicop_Or:
      return " OR ";
    default:
      kSql.Raise(err::kObjectErrorBase,
                 "Unknown Logical Operator: " + std::to_string(logicalOperator));
  }
}

const char* OperatorText(int32_t op) {
  switch (op) {
    case operator_Equals:
      return "=";
    case operator_NotEquals:
      return "<>";
    case operator_GreaterThan:
      return ">";
    case operator_LessThan:
      return "<";
    case operator_GreaterThanOrEqual:
      return ">=";
    case operator_LessThanOrEqual:
      return "<=";
    default:
      // Without an operator the column and criteria would run together into other SQL.
      kSql.Raise(err::kInvalidProcedureCall, "Unknown Filter Operator: " + std::to_string(op));
  }
}

bool IsTextType(e_VeskDataType type) {
  return type == datatype_String || type == datatype_StringSmartSort ||
         type == datatype_StringRtf;
}

// The condition text; with parameters, each criteria goes there in place of its literal.
std::string BuildSql(const CProviderViewFilter& filter, e_FilterPrefixType prefix,
                     std::vector<Variant>* parameters) {
  const std::shared_ptr<IProviderInfo> info = filter.ProviderInfo();
  if (!info) {
    kSql.Raise(err::kObjectErrorBase,
               "ProviderInfo property must be set to convert View Filter to SQL.");
  }
  const std::shared_ptr<CProviderColDefs> columns = kColumns.Guard([&] { return info->Columns(); });

  std::string sql;
  if (prefix == filterprefix_Where) sql += " WHERE ";
  // Empty groups add nothing, so the connective goes before the first group that shows.
  bool emitted = false;
  for (const auto& group : *filter.Groups()) {
    if (group->Count() == 0) continue;
    if (emitted || prefix == filterprefix_LogicalOperator) sql += Connective(group->LogicalOperator());
    sql += '(';
    bool firstItem = true;
    for (const auto& item : *group) {
      if (!firstItem) sql += Connective(item->LogicalOperator());
      firstItem = false;
      const std::string& columnGuid = item->ProviderColumnGuid();
      sql += SqlService::QuoteIdentifier(columnGuid);
      sql += OperatorText(item->Operator());
      if (!columns || !columns->Exists(columnGuid)) {
        kSql.Raise(err::kObjectErrorBase,
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
      std::optional<Variant> literal = filters::ParseCriteriaLiteral(item->Criteria());
      if (!literal) {
        kSql.Raise(err::kInvalidProcedureCall,
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
}  // namespace

void CProviderViewFilter::SetCaption(const std::string& value) {
  kCaption.Guard([&] {
    std::string cleaned = TextService::CleanCaption(value);
    if (TextService::IsEmpty(cleaned)) {
      kCaption.Raise(err::kInvalidProcedureCall, "Caption cannot be blank.");
    }
    caption_ = std::move(cleaned);
  });
}

std::shared_ptr<CProviderViewFilterGroups> CProviderViewFilter::Groups() const {
  return kGroups.Guard([&] {
    if (!groups_) groups_ = std::make_shared<CProviderViewFilterGroups>();
    return groups_;
  });
}

std::string CProviderViewFilter::Sql(e_FilterPrefixType p_PrefixType) const {
  return kSql.Guard([&] { return BuildSql(*this, p_PrefixType, nullptr); });
}

FilterSqlParameters CProviderViewFilter::SqlParameterized(e_FilterPrefixType p_PrefixType) const {
  return kSql.Guard([&] {
    FilterSqlParameters result;
    result.Sql = BuildSql(*this, p_PrefixType, &result.Parameters);
    return result;
  });
}

void CProviderViewFilter::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Caption", Variant(caption_));
    bag.WriteProperty("Guid", Variant(guid_));
    bag.WriteProperty("FilterGroups", Variant(Groups()));
  });
}

void CProviderViewFilter::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    caption_ = bag.ReadText("Caption", "");
    guid_ = bag.ReadText("Guid", "");
    groups_ = bag.ReadObject<CProviderViewFilterGroups>("FilterGroups");
  });
}

void CProviderViewFilter::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder, [&](PropertyBag& head) {
      head.WriteProperty("Caption", Variant(caption_));
      head.WriteProperty("Guid", Variant(guid_));
    });
    if (groups_) groups_->AppendContentString3(po_StringBuilder);
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewFilter)
}  // namespace prvdrinfo
