#pragma once

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/column_enums.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The value type that values of a column of this data type carry: text for the three
// string types, Currency, Date, Long, Double, Boolean, byte array (8209) and Single (4)
// for percentages. Anything outside 0 to 9 raises 5 "Unknown VESK data type.".
PRVDRINFO_API VariantType VariantTypeOfVeskDataType(e_VeskDataType p_VeskDataType);

}  // namespace prvdrinfo
