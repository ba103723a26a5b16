#pragma once

#include <string_view>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

// Rejects text that SQLite would cut short or misread: an embedded NUL, or a size
// beyond SQLite's int lengths. Raises 5 from the site, naming what the text is.
void CheckSqlText(std::string_view text, const ErrorSite& site, std::string_view what);

}  // namespace prvdrinfo
