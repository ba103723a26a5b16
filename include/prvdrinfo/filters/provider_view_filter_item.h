#pragma once

#include <string>

#include "prvdrinfo/filters/filter_enums.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// One criterion of a filter group: column, operator, criteria text and the connective to
// the item before it. DbFunction and UiGuid belong to the host and take no part in SQL.
// Its content string is its serialized bytes taken as text. Guid() stores a new GUID on
// first read when none is set: one thread at a time, reads included.
class PRVDRINFO_API CProviderViewFilterItem : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewFilterItem";

  // A blank GUID is replaced by a new one on first read; later reads return that one.
  const std::string& Guid() const;
  const std::string& ProviderColumnGuid() const { return providerColumnGuid_; }
  void SetProviderColumnGuid(const std::string& value) { providerColumnGuid_ = value; }
  e_FilterItemOperator Operator() const { return operator_; }
  void SetOperator(e_FilterItemOperator value) { operator_ = value; }
  const std::string& Criteria() const { return criteria_; }
  void SetCriteria(const std::string& value) { criteria_ = value; }
  e_FilterLogicalOperator LogicalOperator() const { return logicalOperator_; }
  void SetLogicalOperator(e_FilterLogicalOperator value) { logicalOperator_ = value; }
  e_FilterItemFunction DbFunction() const { return dbFunction_; }
  void SetDbFunction(e_FilterItemFunction value) { dbFunction_ = value; }
  const std::string& UiGuid() const { return uiGuid_; }
  void SetUiGuid(const std::string& value) { uiGuid_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  mutable std::string guid_;
  std::string providerColumnGuid_;
  e_FilterItemOperator operator_ = operator_Equals;
  std::string criteria_;
  e_FilterLogicalOperator logicalOperator_ = logicop_And;
  e_FilterItemFunction dbFunction_ = filterfunction_None;
  std::string uiGuid_;
};

}  // namespace prvdrinfo
