#include "prvdrinfo/filters/column_set_provider.h"

namespace prvdrinfo {

CColumnSetProvider::CColumnSetProvider(std::shared_ptr<CProviderColDefs> p_Columns)
    : columns_(p_Columns ? std::move(p_Columns) : std::make_shared<CProviderColDefs>()) {}

}  // namespace prvdrinfo
