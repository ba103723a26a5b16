#pragma once

// Views interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Asks the provider to refresh its views.
class PRVDRINFO_API IProviderViewable : public virtual IObject {
 public:
  ~IProviderViewable() override = default;

  virtual void RefreshViews() = 0;
};

// Adds a column, by GUID, to a view definition.
class PRVDRINFO_API IProviderViewable2 : public virtual IObject {
 public:
  ~IProviderViewable2() override = default;

  virtual void AddViewColumnByGuid(const std::shared_ptr<CProviderView>& po_View,
                                   const std::string& p_ColumnGuid) = 0;
};

// Lets the provider repair a view definition.
class PRVDRINFO_API IProviderViewable3 : public virtual IObject {
 public:
  ~IProviderViewable3() override = default;

  virtual void FixView(const std::shared_ptr<CProviderView>& po_ViewDef) = 0;
};

}  // namespace prvdrinfo
