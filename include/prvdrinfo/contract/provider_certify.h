#pragma once

// Certification interfaces of the provider contract. A provider module derives from the
// ones it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/currency.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Certification of progress: certifiable records, the role columns of amounts,
// percentages and status, contract additions and deletions and progress on them.
class PRVDRINFO_API IProviderCertify : public virtual IObject {
 public:
  ~IProviderCertify() override = default;

  virtual std::shared_ptr<Recordset> CertifiableRecords(const std::string& p_ProjectGuid,
                                                        int32_t p_StatementNumber) const = 0;
  virtual std::shared_ptr<Recordset> CertifiableRecordsSinceCounter(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      int32_t p_UpdateCounter) const = 0;
  virtual std::string ContractAmountColumnGuid() const = 0;
  virtual std::string ContractItemColumnGuid() const = 0;
  virtual std::string ProgressAmountColumnGuid() const = 0;
  virtual std::string ProgressAmountLastColumnGuid() const = 0;
  virtual std::string ProgressAmountThisColumnGuid() const = 0;
  virtual std::string ProgressAmountRemainingColumnGuid() const = 0;
  virtual std::string ProgressPercentColumnGuid() const = 0;
  virtual std::string ProgressPercentLastColumnGuid() const = 0;
  virtual std::string ProgressPercentThisColumnGuid() const = 0;
  virtual std::string ProgressPercentRemainingColumnGuid() const = 0;
  virtual std::string ProgressStatusColumnGuid() const = 0;
  virtual std::string ItemReferenceColumnGuid() const = 0;
  virtual std::string ProviderPluralNameColumnGuid() const = 0;
  virtual Currency ContractAdditionsToDate(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber) const = 0;
  virtual Currency ContractDeletionsToDate(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber) const = 0;
  virtual Currency AdditionsProgressToDate(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber) const = 0;
  virtual Currency DeletionsProgressToDate(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber) const = 0;
  virtual bool CombineAdditionsAndDeletions() const = 0;
  virtual bool RecordCertified(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                               const std::string& p_RecordGuid) const = 0;
};

// The SQL of the contract amount field.
class PRVDRINFO_API IProviderCertify2 : public virtual IObject {
 public:
  ~IProviderCertify2() override = default;

  virtual Variant ContractAmountFieldSql(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber) const = 0;
};

// The apply-holdback column; copied into a shell.
class PRVDRINFO_API IProviderCertify3 : public virtual IObject {
 public:
  ~IProviderCertify3() override = default;

  virtual std::string ApplyHoldbackColumnGuid() const = 0;
};

// The title, type, number and effect columns of certifiable records.
class PRVDRINFO_API IProviderCertify4 : public virtual IObject {
 public:
  ~IProviderCertify4() override = default;

  virtual std::string TitleColumnGuid() const = 0;
  virtual std::string TypeColumnGuid() const = 0;
  virtual std::string NumberColumnGuid() const = 0;
  virtual std::string EffectColumnGuid() const = 0;
};

// The external number and account columns of certifiable records.
class PRVDRINFO_API IProviderCertify5 : public virtual IObject {
 public:
  ~IProviderCertify5() override = default;

  virtual std::string ExternalNumberColumnGuid() const = 0;
  virtual std::string AccountColumnGuid() const = 0;
};

// Approved progress amounts to date, last and this, for one tax type.
class PRVDRINFO_API IProviderCertify6 : public virtual IObject {
 public:
  ~IProviderCertify6() override = default;

  virtual Currency ApprovedProgressAmountToDateByTaxType(const std::string& p_ProjectGuid,
                                                         int32_t p_StatementNumber,
                                                         const std::string& p_TaxType) const = 0;
  virtual Currency ApprovedProgressAmountLastByTaxType(const std::string& p_ProjectGuid,
                                                       int32_t p_StatementNumber,
                                                       const std::string& p_TaxType) const = 0;
  virtual Currency ApprovedProgressAmountThisByTaxType(const std::string& p_ProjectGuid,
                                                       int32_t p_StatementNumber,
                                                       const std::string& p_TaxType) const = 0;
};

}  // namespace prvdrinfo
