#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/filters/provider_view_filter.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// Named filters keyed by caption (compared without regard to case). The collection hands
// its ProviderInfo to every filter it holds, added or loaded. Its content string is every
// filter's content string in order.
class PRVDRINFO_API CProviderViewFilters : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewFilters";

  // A new filter with a new GUID; 5 "Caption in use by another filter." when the cleaned
  // caption is already a key, 5 "Caption cannot be blank." when nothing is left of it.
  std::shared_ptr<CProviderViewFilter> Add(const std::string& p_Caption);
  std::shared_ptr<CProviderViewFilter> FilterByCaption(const std::string& p_Caption) const;
  std::shared_ptr<CProviderViewFilter> FilterByIndex(int32_t p_ZeroBasedIndex) const;
  void RemoveByCaption(const std::string& p_Caption);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll();
  int32_t Count() const { return filters_.Count(); }
  KeyedObjects<CProviderViewFilter>::const_iterator begin() const { return filters_.begin(); }
  KeyedObjects<CProviderViewFilter>::const_iterator end() const { return filters_.end(); }

  std::shared_ptr<IProviderInfo> ProviderInfo() const { return providerInfo_.lock(); }
  void SetProviderInfo(std::shared_ptr<IProviderInfo> value);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 private:
  KeyedObjects<CProviderViewFilter> filters_;
  std::weak_ptr<IProviderInfo> providerInfo_;
};

class PRVDRINFO_API CPViewFiltersFactory {
 public:
  std::shared_ptr<CProviderViewFilters> CreateProviderViewFilters() const;
};

}  // namespace prvdrinfo
