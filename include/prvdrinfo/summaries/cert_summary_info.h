#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// The summary of one certificate: its number and the cumulative amounts to date. Holds
// what was last set or loaded; derives nothing.
class PRVDRINFO_API CCertSummaryInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CCertSummaryInfo";

  const std::string& Number() const { return number_; }
  void SetNumber(const std::string& value) { number_ = value; }
  Currency ContractsWorkToDate() const { return contractsWorkToDate_; }
  void SetContractsWorkToDate(Currency value) { contractsWorkToDate_ = value; }
  Currency ChangesWorkToDate() const { return changesWorkToDate_; }
  void SetChangesWorkToDate(Currency value) { changesWorkToDate_ = value; }
  Currency PayableToDate() const { return payableToDate_; }
  void SetPayableToDate(Currency value) { payableToDate_ = value; }
  Currency RevisedContract() const { return revisedContract_; }
  void SetRevisedContract(Currency value) { revisedContract_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string number_;
  Currency contractsWorkToDate_;
  Currency changesWorkToDate_;
  Currency payableToDate_;
  Currency revisedContract_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CCertSummaryInfoFcty {
 public:
  std::shared_ptr<CCertSummaryInfo> CreateCertificateSummaryInfo() const;
};

}  // namespace prvdrinfo
