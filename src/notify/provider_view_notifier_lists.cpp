#include "foundation/internal/class_registration.h"
#include "prvdrinfo/notify/provider_view_notifier_lists.h"

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAddIfNot{"L7L9XS4IO372QTUYN45NPLOM8",
                              "CProviderViewNotifierCCs.AddIfNotExists"};
constexpr ErrorSite kIndexBy{"ZOGFUZ0PI3QBK1CG4XN461M9Q",
                             "CProviderViewNotifierCCs.IndexByCategory"};
constexpr ErrorSite kRemoveIf{"JWZGY3RKJ0GXZ7FXAYL385YL7",
                              "CProviderViewNotifierCCs.RemoveIfExists"};

void RequireCategory(const ErrorSite& site, const std::string& category) {
  if (TextService::IsEmpty(category)) site.Raise(err::kInvalidProcedureCall, "Category required.");
}
}  // namespace

void CProviderViewNotifierCCs::AddIfNotExists(const std::string& p_ContactCategory) {
  kAddIfNot.Guard([&] {
    CheckNoTab(p_ContactCategory);
    RequireCategory(kAddIfNot, p_ContactCategory);
    Append(p_ContactCategory);
  });
}

int32_t CProviderViewNotifierCCs::IndexByCategory(const std::string& p_ContactCategory) const {
  return kIndexBy.Guard([&] {
    RequireCategory(kIndexBy, p_ContactCategory);
    return IndexOf(p_ContactCategory);
  });
}

void CProviderViewNotifierCCs::RemoveIfExists(const std::string& p_ContactCategory) {
  kRemoveIf.Guard([&] {
    RequireCategory(kRemoveIf, p_ContactCategory);
    const int32_t index = IndexOf(p_ContactCategory);
    if (index >= 0) RemoveByIndex(index);
  });
}

std::shared_ptr<CProviderViewNotifierCCs>
CProviderViewNotifierCCF::CreateProviderViewNotifierContactCategories() const {
  return std::make_shared<CProviderViewNotifierCCs>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewNotifierPGs)
PRVDRINFO_REGISTER_CLASS(CProviderViewNotifierCGs)
PRVDRINFO_REGISTER_CLASS(CProviderViewNotifierCCs)
}  // namespace prvdrinfo
