#pragma once

// References to other providers interfaces of the provider contract. A provider module
// derives from the ones it implements and overrides every member; the compiler names any it
// forgets (docs/provider-modules.md).

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
  ~IProviderReferencer() override = default;

  virtual std::shared_ptr<KeyedCollection> ReferencedProviders() const = 0;
  virtual std::shared_ptr<KeyedCollection> ReferenceColumnInfos() const = 0;
  virtual void TouchReferencedRecords(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<KeyedCollection>& po_ReferencedProviderAndRecordGuids) = 0;
  virtual std::shared_ptr<KeyedCollection> ReferencedProviderAndRecordGuidsByRecordGuid(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_RecordGuid) const = 0;
};

// The reference infos.
class PRVDRINFO_API IProviderReferencer2 : public virtual IObject {
 public:
  ~IProviderReferencer2() override = default;

  virtual std::shared_ptr<KeyedCollection> ReferenceInfos() const = 0;
};

}  // namespace prvdrinfo
