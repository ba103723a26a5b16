#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/filters/filter_enums.h"
#include "prvdrinfo/filters/provider_view_filter_item.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// An ordered list of criteria keyed by item GUID, and the connective that joins the group
// to the group before it. Its content string is a bag holding only "LogicalOperator",
// taken as text, followed by every item's content string.
class PRVDRINFO_API CProviderViewFilterGroup : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewFilterGroup";

  // Each appends a new item under its new GUID and returns it.
  std::shared_ptr<CProviderViewFilterItem> Add(const std::string& p_ProviderColumnGuid,
                                               const std::string& p_Criteria,
                                               e_FilterLogicalOperator p_LogicalOperator);
  std::shared_ptr<CProviderViewFilterItem> Add2(const std::string& p_ProviderColumnGuid,
                                                e_FilterItemOperator p_Operator,
                                                const std::string& p_Criteria,
                                                e_FilterLogicalOperator p_LogicalOperator);
  std::shared_ptr<CProviderViewFilterItem> Add3(const std::string& p_ProviderColumnGuid,
                                                e_FilterItemOperator p_Operator,
                                                const std::string& p_Criteria,
                                                e_FilterLogicalOperator p_LogicalOperator,
                                                e_FilterItemFunction p_FilterFunction);
  void RemoveByGuid(const std::string& p_Guid);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll();
  int32_t Count() const { return items_.Count(); }
  std::shared_ptr<CProviderViewFilterItem> FilterGroupItemByIndex(int32_t p_ZeroBasedIndex) const;
  KeyedObjects<CProviderViewFilterItem>::const_iterator begin() const { return items_.begin(); }
  KeyedObjects<CProviderViewFilterItem>::const_iterator end() const { return items_.end(); }

  e_FilterLogicalOperator LogicalOperator() const { return logicalOperator_; }
  void SetLogicalOperator(e_FilterLogicalOperator value) { logicalOperator_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  e_FilterLogicalOperator logicalOperator_ = logicop_And;
  KeyedObjects<CProviderViewFilterItem> items_;
};

}  // namespace prvdrinfo
