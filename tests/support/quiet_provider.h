#pragma once

#include <memory>

#include "prvdrinfo/filters/column_set_provider.h"

namespace prvdrinfo::testing {

// The one interface every provider implements, answering nothing: empty texts, no
// columns, no views. Tests derive from it and answer what they are about. The library's
// column-set provider already answers empty everywhere else; this one has no columns.
struct QuietProvider : CColumnSetProvider {
  QuietProvider() : CColumnSetProvider(nullptr) {}
  std::shared_ptr<CProviderColDefs> Columns() const override { return nullptr; }
};

}  // namespace prvdrinfo::testing
