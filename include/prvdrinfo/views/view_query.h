#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "prvdrinfo/columns/column_enums.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/views/provider_view.h"

namespace prvdrinfo {

// Why a view column or sort key takes no part in a view's SELECT.
enum e_ViewQuerySkipReason : int32_t {
  viewqueryskip_Hidden = 0,   // the view does not show the column (hidden, or not a view column)
  viewqueryskip_Deleted = 1,  // the column set no longer has the column
  viewqueryskip_Computed =
      2,  // a sort key on a computed column: there is no stored value to sort by
};

// One column of the statement's result, named by its GUID.
struct PRVDRINFO_API ViewQueryColumn {
  std::string Guid;
  std::string Caption;  // the view's caption of the column
  e_VeskDataType DataType = datatype_String;
  bool Computed = false;  // no stored value: always NULL, for the host to fill
};

struct PRVDRINFO_API ViewQuerySkip {
  std::string Guid;
  e_ViewQuerySkipReason Reason = viewqueryskip_Hidden;
  bool SortKey = false;  // a sort key rather than a view column
};

// Rows to skip and to return; a Limit below 0 returns every row after the offset.
struct PRVDRINFO_API ViewQueryPage {
  int32_t Limit = -1;
  int32_t Offset = 0;
};

// A view's SELECT over its provider's table, in two forms: Sql with the filter's criteria
// and the paging pasted in as literals, ParameterizedSql with "?" in their place and
// Parameters to bind, in order (the criteria first, then limit and offset).
struct PRVDRINFO_API ViewQuery {
  std::string Sql;
  std::string ParameterizedSql;
  std::vector<Variant> Parameters;
  std::vector<ViewQueryColumn> Columns;  // the result's columns, in order
  int32_t RecordGuidIndex = -1;  // the record GUID column among Columns, -1 when the set has none
  std::vector<ViewQuerySkip> Skipped;  // view columns left out in view order, then sort keys
  bool UsesSmartSort = false;          // ORDER BY needs the SmartSort collation on the connection
};

// The statement that reads a view's records from the provider's table p_TableName, whose
// columns p_Columns describes (as the table's DDL was made from it):
//
//   SELECT "g1", "g2", ..., "rec_guid"
//   FROM (SELECT <each column of the set AS its GUID> FROM "table")
//   WHERE <the view's filter groups> ORDER BY <sort keys>, "rec_guid" LIMIT n OFFSET m
//
// Result columns: the view's visible columns in view order, each under its GUID, then
// the record GUID column unless the view shows it. A visible computed column is selected
// as NULL (Computed in Columns); hidden columns and columns the set no longer has are left
// out and listed in Skipped. The inner query exposes every column of the set, stored or
// computed (as NULL), so the filter may test columns the view does not show.
//
// ORDER BY: each sort key on a shown stored column, with its direction; plain and rich
// text compare COLLATE NOCASE (as the filter compares them), smart-sort text COLLATE
// SMARTSORT (register CDbHelpers on the connection, see UsesSmartSort); other types in
// SQLite's order, NULL first. Keys on hidden, deleted or computed columns are skipped and
// listed. The record GUID ends the order, so that pages do not overlap.
//
// Every identifier is quoted; captions never enter the statement.
// Errors: 5 "Must have at least one column" when the result would have no column, 5 for a
// negative offset or text SQLite cannot take (an embedded NUL); the filter groups' errors
// as FilterGroupsSql raises them, a criteria on a column the set does not have included.
PRVDRINFO_API ViewQuery BuildViewQuery(const CProviderView& p_View, const std::string& p_TableName,
                                       const CProviderColDefs& p_Columns,
                                       const ViewQueryPage& p_Page = {});

}  // namespace prvdrinfo
