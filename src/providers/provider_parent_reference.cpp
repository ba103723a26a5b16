#include "prvdrinfo/providers/provider_parent_reference.h"

namespace prvdrinfo {

std::shared_ptr<CProviderParentReference> CProviderParentRefFctry::CreateProviderParentReference()
    const {
  return std::make_shared<CProviderParentReference>();
}

}  // namespace prvdrinfo
