#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/views/provider_view.h"

namespace prvdrinfo::bench {

// The GUID of the typical view's i-th column.
std::string ColumnGuid(int i);

// A typical view as users keep them: 20 columns, 3 sort keys, 2 filter groups of two
// items each (about 5 KB stored).
std::shared_ptr<CProviderView> TypicalView(const std::string& guid, const std::string& caption,
                                           const std::string& provider);

}  // namespace prvdrinfo::bench
