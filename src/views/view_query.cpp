#include "prvdrinfo/views/view_query.h"

#include <memory>

#include "foundation/internal/ascii.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/filters/filter_groups_sql.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kBuild{"117YJSKG8TZU3YV2WJ15OZ262", "BuildViewQuery"};

constexpr int32_t kCanadianEnglish = 4105;

std::string Quote(const std::string& name) { return SqlService::QuoteIdentifier(name); }

// The column FindByGuid answers for the GUID, or none; "" is no column.
std::shared_ptr<IBaseColumnDef> Find(const CProviderColDefs& columns, const std::string& guid) {
  if (guid.empty() || !columns.Exists(guid)) return nullptr;
  return columns.FindByGuid(guid);
}

// What the inner query selects for a column: its stored value, or NULL when computed.
// The table's DDL leaves a provider column named ROWID out; SQLite's own row id stands in.
std::string ValueOf(const IBaseColumnDef& column, bool providerSpecific) {
  const auto* stored = dynamic_cast<const CColumnDefStored*>(&column);
  if (!stored) return "NULL";
  if (providerSpecific && ascii::EqualsIgnoreCase(stored->Guid(), "ROWID")) return "rowid";
  return stored->EscapedIdentifier();
}

bool IsComputed(const IBaseColumnDef& column) {
  return dynamic_cast<const CColumnDefStored*>(&column) == nullptr;
}

// Every column of the set under its GUID; where two share a GUID, the one FindByGuid finds.
std::string InnerSelect(const CProviderColDefs& columns, const std::string& table) {
  std::string list;
  auto add = [&](const CColumnDefs& collection, bool providerSpecific) {
    for (const auto& column : collection) {
      if (Find(columns, column->Guid()) != column) continue;
      if (!list.empty()) list += ", ";
      list += ValueOf(*column, providerSpecific);
      list += " AS ";
      list += Quote(column->Guid());
    }
  };
  add(*columns.ProviderSpecific(), true);
  add(*columns.Standard(), false);
  return "SELECT " + list + " FROM " + Quote(table);
}

const char* CollationOf(e_VeskDataType type) {
  switch (type) {
    case datatype_String:
    case datatype_StringRtf: return " COLLATE NOCASE";
    case datatype_StringSmartSort: return " COLLATE SMARTSORT";
    default: return "";
  }
}

struct Selection {
  std::vector<ViewQueryColumn> columns;
  std::vector<std::string> sources;  // what the outer query selects for each column
  int32_t recordGuidIndex = -1;
};

Selection SelectColumns(const CProviderView& view, const CProviderColDefs& columns,
                        std::vector<ViewQuerySkip>& skipped) {
  Selection selection;
  const std::string recordGuid = CVesk::ColumnName(veskcol_RecordGuid, veskform_Plain);
  const auto recordColumn = Find(columns, recordGuid);
  auto add = [&](const IBaseColumnDef& column, const std::string& guid,
                 const std::string& caption) {
    if (recordColumn && &column == recordColumn.get()) {
      selection.recordGuidIndex = static_cast<int32_t>(selection.columns.size());
    }
    selection.columns.push_back({guid, caption, column.VeskDatatype(), IsComputed(column)});
    // Named as the set names it, under the view's spelling of the GUID.
    selection.sources.push_back(Quote(column.Guid()) + " AS " + Quote(guid));
  };
  for (const auto& viewColumn : *view.Columns()) {
    const auto column = Find(columns, viewColumn->Guid());
    if (!column) {
      skipped.push_back({viewColumn->Guid(), viewqueryskip_Deleted, false});
    } else if (!viewColumn->Visible()) {
      skipped.push_back({viewColumn->Guid(), viewqueryskip_Hidden, false});
    } else {
      add(*column, viewColumn->Guid(), viewColumn->Caption());
    }
  }
  if (recordColumn && selection.recordGuidIndex < 0) {
    const auto viewColumns = view.Columns();
    const std::string caption = viewColumns->Exists(recordGuid)
                                    ? viewColumns->Column(recordGuid)->Caption()
                                    : recordColumn->DefaultCaption(kCanadianEnglish);
    add(*recordColumn, recordColumn->Guid(), caption);
  }
  return selection;
}

std::string OrderBy(const CProviderView& view, const CProviderColDefs& columns, ViewQuery& query) {
  std::string order;
  auto addKey = [&](const std::string& guid, const char* collation, bool descending) {
    order += order.empty() ? " ORDER BY " : ", ";
    order += Quote(guid);
    order += collation;
    order += descending ? " DESC" : " ASC";
  };
  const auto sort = view.SortOrder();
  const auto viewColumns = view.Columns();
  bool recordGuidSorted = false;
  const auto recordColumn = Find(columns, CVesk::ColumnName(veskcol_RecordGuid, veskform_Plain));
  for (int32_t i = 0; i < sort->Count(); ++i) {
    const std::string guid = sort->GuidByIndex(i);
    const auto column = Find(columns, guid);
    ViewQuerySkip skip{guid, viewqueryskip_Hidden, true};
    if (!column) {
      skip.Reason = viewqueryskip_Deleted;
    } else if (!viewColumns->Exists(guid) || !viewColumns->Column(guid)->Visible()) {
      skip.Reason = viewqueryskip_Hidden;
    } else if (IsComputed(*column)) {
      skip.Reason = viewqueryskip_Computed;
    } else {
      const e_VeskDataType type = column->VeskDatatype();
      if (type == datatype_StringSmartSort) query.UsesSmartSort = true;
      if (column == recordColumn) recordGuidSorted = true;
      addKey(column->Guid(), CollationOf(type),
             sort->ColumnByIndex(i)->Direction() == colsort_Descending);
      continue;
    }
    query.Skipped.push_back(skip);
  }
  if (recordColumn && !recordGuidSorted) addKey(recordColumn->Guid(), "", false);
  return order;
}
}  // namespace

ViewQuery BuildViewQuery(const CProviderView& p_View, const std::string& p_TableName,
                         const CProviderColDefs& p_Columns, const ViewQueryPage& p_Page) {
  return kBuild.Guard([&] {
    if (p_Page.Offset < 0) kBuild.Raise(err::kInvalidProcedureCall, "Offset must not be negative.");
    ViewQuery query;
    Selection selection = SelectColumns(p_View, p_Columns, query.Skipped);
    if (selection.columns.empty())
      kBuild.Raise(err::kInvalidProcedureCall, "Must have at least one column");
    query.Columns = std::move(selection.columns);
    query.RecordGuidIndex = selection.recordGuidIndex;

    std::string head = "SELECT ";
    for (size_t i = 0; i < selection.sources.size(); ++i) {
      if (i > 0) head += ", ";
      head += selection.sources[i];
    }
    head += " FROM (" + InnerSelect(p_Columns, p_TableName) + ")";

    const auto groups = p_View.FilterGroups();
    const std::string where = FilterGroupsSql(*groups, p_Columns, filterprefix_None);
    FilterSqlParameters bound = FilterGroupsSqlParameterized(*groups, p_Columns, filterprefix_None);
    const std::string order = OrderBy(p_View, p_Columns, query);

    query.Sql = head;
    query.ParameterizedSql = head;
    if (!where.empty()) {
      query.Sql += " WHERE " + where;
      query.ParameterizedSql += " WHERE " + bound.Sql;
    }
    query.Parameters = std::move(bound.Parameters);
    query.Sql += order;
    query.ParameterizedSql += order;
    if (p_Page.Limit >= 0 || p_Page.Offset > 0) {
      const int32_t limit = p_Page.Limit >= 0 ? p_Page.Limit : -1;
      query.Sql += " LIMIT " + std::to_string(limit) + " OFFSET " + std::to_string(p_Page.Offset);
      query.ParameterizedSql += " LIMIT ? OFFSET ?";
      query.Parameters.emplace_back(limit);
      query.Parameters.emplace_back(p_Page.Offset);
    }
    return query;
  });
}

}  // namespace prvdrinfo
