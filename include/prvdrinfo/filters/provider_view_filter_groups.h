#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/filters/provider_view_filter_group.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// The ordered groups of a filter or a view, by position only. Its content string is every
// group's content string in order.
class PRVDRINFO_API CProviderViewFilterGroups : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewFilterGroups";

  // A new empty group joined with logicop_And.
  std::shared_ptr<CProviderViewFilterGroup> Add();
  std::shared_ptr<CProviderViewFilterGroup> FilterGroupByIndex(int32_t p_ZeroBasedIndex) const;
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll();
  int32_t Count() const { return groups_.Count(); }
  KeyedObjects<CProviderViewFilterGroup>::const_iterator begin() const { return groups_.begin(); }
  KeyedObjects<CProviderViewFilterGroup>::const_iterator end() const { return groups_.end(); }

  // The same as ContentId.
  std::string ContentIdForAutoSave() const { return ContentId(); }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 private:
  KeyedObjects<CProviderViewFilterGroup> groups_;
};

class PRVDRINFO_API CPViewFilterGrpsFctry {
 public:
  std::shared_ptr<CProviderViewFilterGroups> CreateProviderViewFilterGroups() const;
};

class PRVDRINFO_API CProviderViewFilterGroupsF {
 public:
  std::shared_ptr<CProviderViewFilterGroups> CreateProviderViewFilterGroups() const;
};

}  // namespace prvdrinfo
