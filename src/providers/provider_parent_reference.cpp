#include "prvdrinfo/providers/provider_parent_reference.h"

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCreate{"CC3TGXJ6VQ69IAKZDNMMWT5BV",
                            "CProviderParentRefFctry.CreateProviderParentReference"};
}  // namespace

std::shared_ptr<CProviderParentReference> CProviderParentRefFctry::CreateProviderParentReference()
    const {
  return kCreate.Guard([] { return std::make_shared<CProviderParentReference>(); });
}

}  // namespace prvdrinfo
