#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/summaries/change_summary_info2.h"

namespace prvdrinfo {

// One line of a change summary: the items of one change reason, counted and summed.
// Persistable so that it can live inside a persisted collection.
class PRVDRINFO_API CChangeSummaryInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CChangeSummaryInfo";

  const std::string& ReasonGuid() const { return reasonGuid_; }
  void SetReasonGuid(const std::string& value) { reasonGuid_ = value; }
  const std::string& ReasonAbbreviation() const { return reasonAbbreviation_; }
  void SetReasonAbbreviation(const std::string& value) { reasonAbbreviation_ = value; }
  const std::string& ReasonTitle() const { return reasonTitle_; }
  void SetReasonTitle(const std::string& value) { reasonTitle_ = value; }
  int32_t Count() const { return count_; }
  void SetCount(int32_t value) { count_ = value; }
  Currency Value() const { return value_; }
  void SetValue(Currency value) { value_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string reasonGuid_;
  std::string reasonAbbreviation_;
  std::string reasonTitle_;
  int32_t count_ = 0;
  Currency value_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

// Creates both kinds of change summary, with every value zero or empty.
class PRVDRINFO_API CChangeSummaryInfoFcty {
 public:
  std::shared_ptr<CChangeSummaryInfo> CreateChangeSummaryInfo() const;
  std::shared_ptr<CChangeSummaryInfo2> CreateChangeSummaryInfo2() const;
};

}  // namespace prvdrinfo
