#pragma once

#include <string>
#include <vector>

#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/filters/filter_enums.h"
#include "prvdrinfo/filters/provider_view_filter_groups.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo::filters {

// The condition text of the groups (see FilterGroupsSql). With parameters, each criteria
// goes there in place of its literal. Without columns, every item's column is unknown.
std::string BuildFilterSql(const CProviderViewFilterGroups& groups, const CProviderColDefs* columns,
                           e_FilterPrefixType prefix, std::vector<Variant>* parameters);

}  // namespace prvdrinfo::filters
