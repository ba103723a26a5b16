#pragma once

// Views interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderViewable() override = 0;

  void RefreshViews() { IProviderViewable_RefreshViews(); }

 protected:
  virtual void IProviderViewable_RefreshViews() {}
};
inline IProviderViewable::~IProviderViewable() = default;

// Adds a column, by GUID, to a view definition.
class PRVDRINFO_API IProviderViewable2 : public virtual IObject {
 public:
  ~IProviderViewable2() override = 0;

  void AddViewColumnByGuid(const std::shared_ptr<CProviderView>& po_View,
                           const std::string& p_ColumnGuid) {
    IProviderViewable2_AddViewColumnByGuid(po_View, p_ColumnGuid);
  }

 protected:
  virtual void IProviderViewable2_AddViewColumnByGuid(
      const std::shared_ptr<CProviderView>& /*po_View*/, const std::string& /*p_ColumnGuid*/) {}
};
inline IProviderViewable2::~IProviderViewable2() = default;

// Lets the provider repair a view definition.
class PRVDRINFO_API IProviderViewable3 : public virtual IObject {
 public:
  ~IProviderViewable3() override = 0;

  void FixView(const std::shared_ptr<CProviderView>& po_ViewDef) {
    IProviderViewable3_FixView(po_ViewDef);
  }

 protected:
  virtual void IProviderViewable3_FixView(const std::shared_ptr<CProviderView>& /*po_ViewDef*/) {}
};
inline IProviderViewable3::~IProviderViewable3() = default;

}  // namespace prvdrinfo
