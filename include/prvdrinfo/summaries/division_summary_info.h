#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/division_fields.h"

namespace prvdrinfo {

// The summary of one division of a project: its numbering and names (as a CDivisionInfo
// has them), the contracted and completed amounts and an item count. Holds what was last
// set or loaded; derives nothing.
class PRVDRINFO_API CDivisionSummaryInfo : public CPersistable, public DivisionFields {
 public:
  static constexpr const char* kClassName = "CDivisionSummaryInfo";

  Currency ContractedAmount() const { return contractedAmount_; }
  void SetContractedAmount(Currency value) { contractedAmount_ = value; }
  Currency CompletedAmount() const { return completedAmount_; }
  void SetCompletedAmount(Currency value) { completedAmount_ = value; }
  int32_t Count() const { return count_; }
  void SetCount(int32_t value) { count_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Loads the values as stored, without the setter rules.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  Currency contractedAmount_;
  Currency completedAmount_;
  int32_t count_ = 0;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CDivisionSummaryInfoFctry {
 public:
  std::shared_ptr<CDivisionSummaryInfo> CreateDivisionSummaryInfo() const;
};

}  // namespace prvdrinfo
