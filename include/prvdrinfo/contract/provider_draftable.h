#pragma once

// Drafts interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

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
  ~IProviderDraftable() override = default;

  virtual std::string CreateDraft(const std::string& p_SessionGuid,
                                  const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::shared_ptr<KeyedCollection>& po_OverrideWarningNumbers,
                                  const std::shared_ptr<KeyedCollection>& po_FieldsAndValues) = 0;
  virtual bool HasDraft(const std::string& p_ProjectGuid, int32_t p_StatementNumber) const = 0;
  virtual void PromoteDraft(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                            int32_t p_StatementNumber, const std::string& p_RecordGuid) = 0;
};

}  // namespace prvdrinfo
