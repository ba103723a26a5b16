#pragma once

#include <optional>
#include <string_view>

#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo::filters {

// The value of a criteria that is exactly one SQLite literal once blanks around it are
// trimmed: a number (sign, digits, decimal part, exponent), a single-quoted string with
// its inner quotes doubled, NULL, TRUE or FALSE in any letter case. Anything else, which
// pasted into SQL could change the statement, gives nothing.
// Whole numbers that fit 32 bits come back as Long, other numbers as Double, strings as
// text, TRUE and FALSE as Long 1 and 0 (as SQLite reads them), NULL as Null.
std::optional<Variant> ParseCriteriaLiteral(std::string_view criteria);

}  // namespace prvdrinfo::filters
