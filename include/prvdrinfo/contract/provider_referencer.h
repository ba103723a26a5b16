#pragma once

// References to other providers interfaces of the provider contract. Each public member forwards to
// the protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Records that reference records of other providers.
class PRVDRINFO_API IProviderReferencer : public virtual IObject {
 public:
  ~IProviderReferencer() override = 0;

  std::shared_ptr<KeyedCollection> ReferencedProviders() {
    return IProviderReferencer_ReferencedProviders();
  }
  std::shared_ptr<KeyedCollection> ReferenceColumnInfos() {
    return IProviderReferencer_ReferenceColumnInfos();
  }
  void TouchReferencedRecords(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<KeyedCollection>& po_ReferencedProviderAndRecordGuids) {
    IProviderReferencer_TouchReferencedRecords(p_ProjectGuid, p_StatementNumber,
                                               po_ReferencedProviderAndRecordGuids);
  }
  std::shared_ptr<KeyedCollection> ReferencedProviderAndRecordGuidsByRecordGuid(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_RecordGuid) {
    return IProviderReferencer_ReferencedProviderAndRecordGuidsByRecordGuid(
        p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual std::shared_ptr<KeyedCollection> IProviderReferencer_ReferencedProviders() { return {}; }
  virtual std::shared_ptr<KeyedCollection> IProviderReferencer_ReferenceColumnInfos() { return {}; }
  virtual void IProviderReferencer_TouchReferencedRecords(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::shared_ptr<KeyedCollection>& /*po_ReferencedProviderAndRecordGuids*/) {}
  virtual std::shared_ptr<KeyedCollection>
  IProviderReferencer_ReferencedProviderAndRecordGuidsByRecordGuid(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderReferencer::~IProviderReferencer() = default;

// The reference infos.
class PRVDRINFO_API IProviderReferencer2 : public virtual IObject {
 public:
  ~IProviderReferencer2() override = 0;

  std::shared_ptr<KeyedCollection> ReferenceInfos() {
    return IProviderReferencer2_ReferenceInfos();
  }

 protected:
  virtual std::shared_ptr<KeyedCollection> IProviderReferencer2_ReferenceInfos() { return {}; }
};
inline IProviderReferencer2::~IProviderReferencer2() = default;

}  // namespace prvdrinfo
