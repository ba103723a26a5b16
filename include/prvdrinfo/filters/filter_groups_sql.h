#pragma once

#include <string>
#include <vector>

#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/filters/filter_enums.h"
#include "prvdrinfo/filters/provider_view_filter_groups.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// A condition with "?" placeholders and the values to bind to them, in order.
struct PRVDRINFO_API FilterSqlParameters {
  std::string Sql;
  std::vector<Variant> Parameters;
};

// The SQL condition of filter groups (a filter's, or a view's own) against a provider's
// column set. Columns are named by their GUIDs, quoted as identifiers: the query the
// condition goes into must expose each column under its GUID. Text columns (plain,
// smart-sort, rich text) compare their quoted criteria with COLLATE NOCASE; other columns
// take the criteria as one SQLite literal.
//
// Errors: 80040000 hex "Unknown Logical Operator: n" for a connective that is neither And
// nor Or, and "Could not find column definition for '<guid>'" for a column the set does
// not have; 5 for an operator outside 0 to 5, or a criteria of a non-text column that is
// not a single literal (a number, a quoted string with its quotes doubled, NULL, TRUE or
// FALSE). Groups with no items contribute nothing, so the text stays valid SQL; groups
// without items give only the prefix.
PRVDRINFO_API std::string FilterGroupsSql(const CProviderViewFilterGroups& p_Groups,
                                          const CProviderColDefs& p_Columns,
                                          e_FilterPrefixType p_PrefixType);

// The same condition with each criteria as a bound value: text columns bind text (and
// keep COLLATE NOCASE), other columns the literal's value.
PRVDRINFO_API FilterSqlParameters
FilterGroupsSqlParameterized(const CProviderViewFilterGroups& p_Groups,
                             const CProviderColDefs& p_Columns, e_FilterPrefixType p_PrefixType);

}  // namespace prvdrinfo
