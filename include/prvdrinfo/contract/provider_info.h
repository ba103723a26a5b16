#pragma once

// The provider info family interfaces of the provider contract. A provider module derives
// from the ones it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderInfo() override = default;

  virtual bool SupportsForms() const = 0;
  virtual std::shared_ptr<CProviderView> DefaultViewDefinition() const = 0;
  virtual std::string Guid() const = 0;
  virtual std::string DllName() const = 0;
  virtual std::string ClassName() const = 0;
  virtual e_ProviderCategory Category() const = 0;
  virtual std::string PluralName(e_LocaleId p_LocaleId, RoleId p_Role) const = 0;
  virtual std::string SingularName(e_LocaleId p_LocaleId, RoleId p_Role) const = 0;
  virtual std::string CommonPluralName(e_LocaleId p_LocaleId, RoleId p_Role) const = 0;
  virtual std::string CommonSingularName(e_LocaleId p_LocaleId, RoleId p_Role) const = 0;
  virtual std::shared_ptr<CProvidersCollection> RequiredPopulatedProviders() const = 0;
  virtual std::shared_ptr<CProviderViews> Views() const = 0;
  virtual void SetViews(const std::shared_ptr<CProviderViews>& value) = 0;
  virtual std::shared_ptr<CProviderColDefs> Columns() const = 0;
  virtual Bytes Serialize() const = 0;
  virtual void Deserialize(const Bytes& pa_Content) = 0;
  virtual std::string Description() const = 0;
  virtual void InitializeProperties() = 0;
};

// Lets a provider take its metadata from a cached provider info (a shell) instead of
// building it again.
class PRVDRINFO_API IProviderInfo2 : public virtual IObject {
 public:
  ~IProviderInfo2() override = default;

  virtual void InitFromCachedProviderInfo(
      const std::shared_ptr<IProviderInfo>& po_ProviderInfo) = 0;
};

// The provider's internal persistence, carried in a Variant.
class PRVDRINFO_API IProviderInfo3 : public virtual IObject {
 public:
  ~IProviderInfo3() override = default;

  virtual void DeserializeInternal(const Variant& pa_Contents) = 0;
  virtual Variant SerializeInternal() const = 0;
};

}  // namespace prvdrinfo
