#pragma once

// Sub-lists interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

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
  ~IProviderSubList() override = default;

  virtual e_ProviderSubListType SubListType() const = 0;
  virtual std::string ParentProviderGuidColumnGuid() const = 0;
  virtual std::string ParentRecordGuidColumnGuid() const = 0;
  virtual Variant OverrideIProviderInsert(e_ProviderSubListType p_SubListType) const = 0;
};

}  // namespace prvdrinfo
