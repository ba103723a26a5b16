#pragma once

// Certification interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderCertify() override = 0;

  std::shared_ptr<Recordset> CertifiableRecords(const std::string& p_ProjectGuid,
                                                int32_t p_StatementNumber) {
    return IProviderCertify_CertifiableRecords(p_ProjectGuid, p_StatementNumber);
  }
  std::shared_ptr<Recordset> CertifiableRecordsSinceCounter(const std::string& p_ProjectGuid,
                                                            int32_t p_StatementNumber,
                                                            int32_t p_UpdateCounter) {
    return IProviderCertify_CertifiableRecordsSinceCounter(p_ProjectGuid, p_StatementNumber,
                                                           p_UpdateCounter);
  }
  std::string ContractAmountColumnGuid() { return IProviderCertify_ContractAmountColumnGuid(); }
  std::string ContractItemColumnGuid() { return IProviderCertify_ContractItemColumnGuid(); }
  std::string ProgressAmountColumnGuid() { return IProviderCertify_ProgressAmountColumnGuid(); }
  std::string ProgressAmountLastColumnGuid() {
    return IProviderCertify_ProgressAmountLastColumnGuid();
  }
  std::string ProgressAmountThisColumnGuid() {
    return IProviderCertify_ProgressAmountThisColumnGuid();
  }
  std::string ProgressAmountRemainingColumnGuid() {
    return IProviderCertify_ProgressAmountRemainingColumnGuid();
  }
  std::string ProgressPercentColumnGuid() { return IProviderCertify_ProgressPercentColumnGuid(); }
  std::string ProgressPercentLastColumnGuid() {
    return IProviderCertify_ProgressPercentLastColumnGuid();
  }
  std::string ProgressPercentThisColumnGuid() {
    return IProviderCertify_ProgressPercentThisColumnGuid();
  }
  std::string ProgressPercentRemainingColumnGuid() {
    return IProviderCertify_ProgressPercentRemainingColumnGuid();
  }
  std::string ProgressStatusColumnGuid() { return IProviderCertify_ProgressStatusColumnGuid(); }
  std::string ItemReferenceColumnGuid() { return IProviderCertify_ItemReferenceColumnGuid(); }
  std::string ProviderPluralNameColumnGuid() {
    return IProviderCertify_ProviderPluralNameColumnGuid();
  }
  Currency ContractAdditionsToDate(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderCertify_ContractAdditionsToDate(p_ProjectGuid, p_StatementNumber);
  }
  Currency ContractDeletionsToDate(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderCertify_ContractDeletionsToDate(p_ProjectGuid, p_StatementNumber);
  }
  Currency AdditionsProgressToDate(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderCertify_AdditionsProgressToDate(p_ProjectGuid, p_StatementNumber);
  }
  Currency DeletionsProgressToDate(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderCertify_DeletionsProgressToDate(p_ProjectGuid, p_StatementNumber);
  }
  bool CombineAdditionsAndDeletions() { return IProviderCertify_CombineAdditionsAndDeletions(); }
  bool RecordCertified(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                       const std::string& p_RecordGuid) {
    return IProviderCertify_RecordCertified(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual std::shared_ptr<Recordset> IProviderCertify_CertifiableRecords(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual std::shared_ptr<Recordset> IProviderCertify_CertifiableRecordsSinceCounter(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      int32_t /*p_UpdateCounter*/) {
    return {};
  }
  virtual std::string IProviderCertify_ContractAmountColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ContractItemColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressAmountColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressAmountLastColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressAmountThisColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressAmountRemainingColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressPercentColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressPercentLastColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressPercentThisColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressPercentRemainingColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProgressStatusColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ItemReferenceColumnGuid() { return {}; }
  virtual std::string IProviderCertify_ProviderPluralNameColumnGuid() { return {}; }
  virtual Currency IProviderCertify_ContractAdditionsToDate(const std::string& /*p_ProjectGuid*/,
                                                            int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual Currency IProviderCertify_ContractDeletionsToDate(const std::string& /*p_ProjectGuid*/,
                                                            int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual Currency IProviderCertify_AdditionsProgressToDate(const std::string& /*p_ProjectGuid*/,
                                                            int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual Currency IProviderCertify_DeletionsProgressToDate(const std::string& /*p_ProjectGuid*/,
                                                            int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual bool IProviderCertify_CombineAdditionsAndDeletions() { return {}; }
  virtual bool IProviderCertify_RecordCertified(const std::string& /*p_ProjectGuid*/,
                                                int32_t /*p_StatementNumber*/,
                                                const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderCertify::~IProviderCertify() = default;

// The SQL of the contract amount field.
class PRVDRINFO_API IProviderCertify2 : public virtual IObject {
 public:
  ~IProviderCertify2() override = 0;

  Variant ContractAmountFieldSql(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderCertify2_ContractAmountFieldSql(p_ProjectGuid, p_StatementNumber);
  }

 protected:
  virtual Variant IProviderCertify2_ContractAmountFieldSql(const std::string& /*p_ProjectGuid*/,
                                                           int32_t /*p_StatementNumber*/) {
    return {};
  }
};
inline IProviderCertify2::~IProviderCertify2() = default;

// The apply-holdback column; copied into a shell.
class PRVDRINFO_API IProviderCertify3 : public virtual IObject {
 public:
  ~IProviderCertify3() override = 0;

  std::string ApplyHoldbackColumnGuid() { return IProviderCertify3_ApplyHoldbackColumnGuid(); }

 protected:
  virtual std::string IProviderCertify3_ApplyHoldbackColumnGuid() { return {}; }
};
inline IProviderCertify3::~IProviderCertify3() = default;

// The title, type, number and effect columns of certifiable records.
class PRVDRINFO_API IProviderCertify4 : public virtual IObject {
 public:
  ~IProviderCertify4() override = 0;

  std::string TitleColumnGuid() { return IProviderCertify4_TitleColumnGuid(); }
  std::string TypeColumnGuid() { return IProviderCertify4_TypeColumnGuid(); }
  std::string NumberColumnGuid() { return IProviderCertify4_NumberColumnGuid(); }
  std::string EffectColumnGuid() { return IProviderCertify4_EffectColumnGuid(); }

 protected:
  virtual std::string IProviderCertify4_TitleColumnGuid() { return {}; }
  virtual std::string IProviderCertify4_TypeColumnGuid() { return {}; }
  virtual std::string IProviderCertify4_NumberColumnGuid() { return {}; }
  virtual std::string IProviderCertify4_EffectColumnGuid() { return {}; }
};
inline IProviderCertify4::~IProviderCertify4() = default;

// The external number and account columns of certifiable records.
class PRVDRINFO_API IProviderCertify5 : public virtual IObject {
 public:
  ~IProviderCertify5() override = 0;

  std::string ExternalNumberColumnGuid() { return IProviderCertify5_ExternalNumberColumnGuid(); }
  std::string AccountColumnGuid() { return IProviderCertify5_AccountColumnGuid(); }

 protected:
  virtual std::string IProviderCertify5_ExternalNumberColumnGuid() { return {}; }
  virtual std::string IProviderCertify5_AccountColumnGuid() { return {}; }
};
inline IProviderCertify5::~IProviderCertify5() = default;

// Approved progress amounts to date, last and this, for one tax type.
class PRVDRINFO_API IProviderCertify6 : public virtual IObject {
 public:
  ~IProviderCertify6() override = 0;

  Currency ApprovedProgressAmountToDateByTaxType(const std::string& p_ProjectGuid,
                                                 int32_t p_StatementNumber,
                                                 const std::string& p_TaxType) {
    return IProviderCertify6_ApprovedProgressAmountToDateByTaxType(p_ProjectGuid, p_StatementNumber,
                                                                   p_TaxType);
  }
  Currency ApprovedProgressAmountLastByTaxType(const std::string& p_ProjectGuid,
                                               int32_t p_StatementNumber,
                                               const std::string& p_TaxType) {
    return IProviderCertify6_ApprovedProgressAmountLastByTaxType(p_ProjectGuid, p_StatementNumber,
                                                                 p_TaxType);
  }
  Currency ApprovedProgressAmountThisByTaxType(const std::string& p_ProjectGuid,
                                               int32_t p_StatementNumber,
                                               const std::string& p_TaxType) {
    return IProviderCertify6_ApprovedProgressAmountThisByTaxType(p_ProjectGuid, p_StatementNumber,
                                                                 p_TaxType);
  }

 protected:
  virtual Currency IProviderCertify6_ApprovedProgressAmountToDateByTaxType(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_TaxType*/) {
    return {};
  }
  virtual Currency IProviderCertify6_ApprovedProgressAmountLastByTaxType(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_TaxType*/) {
    return {};
  }
  virtual Currency IProviderCertify6_ApprovedProgressAmountThisByTaxType(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_TaxType*/) {
    return {};
  }
};
inline IProviderCertify6::~IProviderCertify6() = default;

}  // namespace prvdrinfo
