#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// The provider and record of a record's top-level parent, as IProviderChild answers it.
// Not persisted.
class PRVDRINFO_API CProviderParentReference : public IObject {
 public:
  const std::string& ProviderGuid() const { return providerGuid_; }
  void SetProviderGuid(const std::string& value) { providerGuid_ = value; }
  const std::string& RecordGuid() const { return recordGuid_; }
  void SetRecordGuid(const std::string& value) { recordGuid_ = value; }

 private:
  std::string providerGuid_;
  std::string recordGuid_;
};

class PRVDRINFO_API CProviderParentRefFctry {
 public:
  std::shared_ptr<CProviderParentReference> CreateProviderParentReference() const;
};

}  // namespace prvdrinfo
