#pragma once

// Sub-lists interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"
#include "prvdrinfo/contract/provider_enums.h"

namespace prvdrinfo {

// Sub-lists: their kind, the parent columns, and per kind an object that replaces the
// provider's `IProviderInsert`.
class PRVDRINFO_API IProviderSubList : public virtual IObject {
 public:
  ~IProviderSubList() override = 0;

  e_ProviderSubListType SubListType() { return IProviderSubList_SubListType(); }
  std::string ParentProviderGuidColumnGuid() {
    return IProviderSubList_ParentProviderGuidColumnGuid();
  }
  std::string ParentRecordGuidColumnGuid() { return IProviderSubList_ParentRecordGuidColumnGuid(); }
  Variant OverrideIProviderInsert(e_ProviderSubListType p_SubListType) {
    return IProviderSubList_OverrideIProviderInsert(p_SubListType);
  }

 protected:
  virtual e_ProviderSubListType IProviderSubList_SubListType() { return {}; }
  virtual std::string IProviderSubList_ParentProviderGuidColumnGuid() { return {}; }
  virtual std::string IProviderSubList_ParentRecordGuidColumnGuid() { return {}; }
  virtual Variant IProviderSubList_OverrideIProviderInsert(
      e_ProviderSubListType /*p_SubListType*/) {
    return {};
  }
};
inline IProviderSubList::~IProviderSubList() = default;

}  // namespace prvdrinfo
