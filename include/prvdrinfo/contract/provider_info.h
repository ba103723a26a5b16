#pragma once

// The provider info family interfaces of the provider contract. Each public member forwards to the
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

// The interface every provider object implements: identity, display names, category,
// columns, views and the provider's own persistence of its metadata. The names are asked
// for a locale and a role; a shell asks with locale 4105 and role -1.
class PRVDRINFO_API IProviderInfo : public virtual IObject {
 public:
  ~IProviderInfo() override = 0;

  bool SupportsForms() { return IProviderInfo_SupportsForms(); }
  std::shared_ptr<CProviderView> DefaultViewDefinition() {
    return IProviderInfo_DefaultViewDefinition();
  }
  std::string Guid() { return IProviderInfo_Guid(); }
  std::string DllName() { return IProviderInfo_DllName(); }
  std::string ClassName() { return IProviderInfo_ClassName(); }
  e_ProviderCategory Category() { return IProviderInfo_Category(); }
  std::string PluralName(e_LocaleId p_LocaleId, RoleId p_Role) {
    return IProviderInfo_PluralName(p_LocaleId, p_Role);
  }
  std::string SingularName(e_LocaleId p_LocaleId, RoleId p_Role) {
    return IProviderInfo_SingularName(p_LocaleId, p_Role);
  }
  std::string CommonPluralName(e_LocaleId p_LocaleId, RoleId p_Role) {
    return IProviderInfo_CommonPluralName(p_LocaleId, p_Role);
  }
  std::string CommonSingularName(e_LocaleId p_LocaleId, RoleId p_Role) {
    return IProviderInfo_CommonSingularName(p_LocaleId, p_Role);
  }
  std::shared_ptr<CProvidersCollection> RequiredPopulatedProviders() {
    return IProviderInfo_RequiredPopulatedProviders();
  }
  std::shared_ptr<CProviderViews> Views() { return IProviderInfo_Views(); }
  void SetViews(const std::shared_ptr<CProviderViews>& value) { IProviderInfo_SetViews(value); }
  std::shared_ptr<CProviderColDefs> Columns() { return IProviderInfo_Columns(); }
  Bytes Serialize() { return IProviderInfo_Serialize(); }
  void Deserialize(const Bytes& pa_Content) { IProviderInfo_Deserialize(pa_Content); }
  std::string Description() { return IProviderInfo_Description(); }
  void InitializeProperties() { IProviderInfo_InitializeProperties(); }

 protected:
  virtual bool IProviderInfo_SupportsForms() { return {}; }
  virtual std::shared_ptr<CProviderView> IProviderInfo_DefaultViewDefinition() { return {}; }
  virtual std::string IProviderInfo_Guid() { return {}; }
  virtual std::string IProviderInfo_DllName() { return {}; }
  virtual std::string IProviderInfo_ClassName() { return {}; }
  virtual e_ProviderCategory IProviderInfo_Category() { return {}; }
  virtual std::string IProviderInfo_PluralName(e_LocaleId /*p_LocaleId*/, RoleId /*p_Role*/) {
    return {};
  }
  virtual std::string IProviderInfo_SingularName(e_LocaleId /*p_LocaleId*/, RoleId /*p_Role*/) {
    return {};
  }
  virtual std::string IProviderInfo_CommonPluralName(e_LocaleId /*p_LocaleId*/, RoleId /*p_Role*/) {
    return {};
  }
  virtual std::string IProviderInfo_CommonSingularName(e_LocaleId /*p_LocaleId*/,
                                                       RoleId /*p_Role*/) {
    return {};
  }
  virtual std::shared_ptr<CProvidersCollection> IProviderInfo_RequiredPopulatedProviders() {
    return {};
  }
  virtual std::shared_ptr<CProviderViews> IProviderInfo_Views() { return {}; }
  virtual void IProviderInfo_SetViews(const std::shared_ptr<CProviderViews>& /*value*/) {}
  virtual std::shared_ptr<CProviderColDefs> IProviderInfo_Columns() { return {}; }
  virtual Bytes IProviderInfo_Serialize() { return {}; }
  virtual void IProviderInfo_Deserialize(const Bytes& /*pa_Content*/) {}
  virtual std::string IProviderInfo_Description() { return {}; }
  virtual void IProviderInfo_InitializeProperties() {}
};
inline IProviderInfo::~IProviderInfo() = default;

// Lets a provider take its metadata from a cached provider info (a shell) instead of
// building it again.
class PRVDRINFO_API IProviderInfo2 : public virtual IObject {
 public:
  ~IProviderInfo2() override = 0;

  void InitFromCachedProviderInfo(const std::shared_ptr<IProviderInfo>& po_ProviderInfo) {
    IProviderInfo2_InitFromCachedProviderInfo(po_ProviderInfo);
  }

 protected:
  virtual void IProviderInfo2_InitFromCachedProviderInfo(
      const std::shared_ptr<IProviderInfo>& /*po_ProviderInfo*/) {}
};
inline IProviderInfo2::~IProviderInfo2() = default;

// The provider's internal persistence, carried in a Variant.
class PRVDRINFO_API IProviderInfo3 : public virtual IObject {
 public:
  ~IProviderInfo3() override = 0;

  void DeserializeInternal(const Variant& pa_Contents) {
    IProviderInfo3_DeserializeInternal(pa_Contents);
  }
  Variant SerializeInternal() { return IProviderInfo3_SerializeInternal(); }

 protected:
  virtual void IProviderInfo3_DeserializeInternal(const Variant& /*pa_Contents*/) {}
  virtual Variant IProviderInfo3_SerializeInternal() { return {}; }
};
inline IProviderInfo3::~IProviderInfo3() = default;

}  // namespace prvdrinfo
