#pragma once

// Drafts interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Drafts: create one from field values, ask whether one exists, promote it to a record.
class PRVDRINFO_API IProviderDraftable : public virtual IObject {
 public:
  ~IProviderDraftable() override = 0;

  std::string CreateDraft(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                          int32_t p_StatementNumber,
                          const std::shared_ptr<KeyedCollection>& po_OverrideWarningNumbers,
                          const std::shared_ptr<KeyedCollection>& po_FieldsAndValues) {
    return IProviderDraftable_CreateDraft(p_SessionGuid, p_ProjectGuid, p_StatementNumber,
                                          po_OverrideWarningNumbers, po_FieldsAndValues);
  }
  bool HasDraft(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderDraftable_HasDraft(p_ProjectGuid, p_StatementNumber);
  }
  void PromoteDraft(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                    int32_t p_StatementNumber, const std::string& p_RecordGuid) {
    IProviderDraftable_PromoteDraft(p_SessionGuid, p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual std::string IProviderDraftable_CreateDraft(
      const std::string& /*p_SessionGuid*/, const std::string& /*p_ProjectGuid*/,
      int32_t /*p_StatementNumber*/,
      const std::shared_ptr<KeyedCollection>& /*po_OverrideWarningNumbers*/,
      const std::shared_ptr<KeyedCollection>& /*po_FieldsAndValues*/) {
    return {};
  }
  virtual bool IProviderDraftable_HasDraft(const std::string& /*p_ProjectGuid*/,
                                           int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual void IProviderDraftable_PromoteDraft(const std::string& /*p_SessionGuid*/,
                                               const std::string& /*p_ProjectGuid*/,
                                               int32_t /*p_StatementNumber*/,
                                               const std::string& /*p_RecordGuid*/) {}
};
inline IProviderDraftable::~IProviderDraftable() = default;

}  // namespace prvdrinfo
