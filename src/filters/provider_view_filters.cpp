#include "foundation/internal/class_registration.h"
#include "prvdrinfo/filters/provider_view_filters.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/guid_service.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"6UZCGX6H74PZIWT5JMTD3DSN2", "CProviderViewFilters.Add"};
constexpr ErrorSite kByCaption{"D6LQP6UZL1Z54LEM7BO6FXVPW", "CProviderViewFilters.FilterByCaption"};
constexpr ErrorSite kByIndex{"IZ3H2PMV45SXHV3L9CKGP9Z1Q", "CProviderViewFilters.FilterByIndex"};
constexpr ErrorSite kRemoveByCaption{"4KECW894HCKYJSK0B5TCB4N85",
                                     "CProviderViewFilters.RemoveByCaption"};
constexpr ErrorSite kRemoveByIndex{"BKWVGRZ2MC6ZVG8Z2JNQNCRXU",
                                   "CProviderViewFilters.RemoveByIndex"};
constexpr ErrorSite kWrite{"0J67L9PBH8QAFAL25XSHV9CI8",
                           "CProviderViewFilters.Class_WriteProperties"};
constexpr ErrorSite kRead{"7N5AP64MAQ30UW0RUSSHIU3ME", "CProviderViewFilters.Class_ReadProperties"};
constexpr ErrorSite kContent{"D8SFXYVCLHIWIWM8A4A0A7X0F",
                             "CProviderViewFilters.AppendContentString3"};
}  // namespace

std::shared_ptr<CProviderViewFilter> CProviderViewFilters::Add(const std::string& p_Caption) {
  return kAdd.Guard([&] {
    auto filter = std::make_shared<CProviderViewFilter>();
    filter->SetCaption(p_Caption);
    filter->SetGuid(GuidService::NewGuid());
    if (filters_.Exists(filter->Caption())) {
      kAdd.Raise(err::kInvalidProcedureCall, "Caption in use by another filter.");
    }
    filter->SetProviderInfo(providerInfo_.lock());
    filters_.Add(filter, filter->Caption());
    return filter;
  });
}

std::shared_ptr<CProviderViewFilter> CProviderViewFilters::FilterByCaption(
    const std::string& p_Caption) const {
  return kByCaption.Guard([&] { return filters_.Item(p_Caption); });
}

std::shared_ptr<CProviderViewFilter> CProviderViewFilters::FilterByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return filters_.ItemByIndex(p_ZeroBasedIndex); });
}

void CProviderViewFilters::RemoveByCaption(const std::string& p_Caption) {
  kRemoveByCaption.Guard([&] { filters_.Remove(p_Caption); });
}

void CProviderViewFilters::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { filters_.RemoveByIndex(p_ZeroBasedIndex); });
}

void CProviderViewFilters::RemoveAll() { filters_.RemoveAll(); }

void CProviderViewFilters::SetProviderInfo(std::shared_ptr<IProviderInfo> value) {
  providerInfo_ = value;
  for (const auto& filter : filters_) filter->SetProviderInfo(value);
}

void CProviderViewFilters::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { filters_.WriteTo(bag, "Filters"); });
}

void CProviderViewFilters::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    filters_.ReadFrom(bag, "Filters");
    const std::shared_ptr<IProviderInfo> info = providerInfo_.lock();
    for (const auto& filter : filters_) filter->SetProviderInfo(info);
  });
}

void CProviderViewFilters::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendEach(po_StringBuilder, filters_); });
}

std::shared_ptr<CProviderViewFilters> CPViewFiltersFactory::CreateProviderViewFilters() const {
  return std::make_shared<CProviderViewFilters>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewFilters)
}  // namespace prvdrinfo
