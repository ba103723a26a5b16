#pragma once

// Unit prices interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Unit-price records: the total amount, units, quantity and unit amount columns.
class PRVDRINFO_API IProviderUPrice : public virtual IObject {
 public:
  ~IProviderUPrice() override = 0;

  std::string TotalAmountColumnGuid() { return IProviderUPrice_TotalAmountColumnGuid(); }
  std::string UnitsColumnGuid() { return IProviderUPrice_UnitsColumnGuid(); }
  std::string QuantityColumnGuid() { return IProviderUPrice_QuantityColumnGuid(); }
  std::string UnitAmountColumnGuid() { return IProviderUPrice_UnitAmountColumnGuid(); }

 protected:
  virtual std::string IProviderUPrice_TotalAmountColumnGuid() { return {}; }
  virtual std::string IProviderUPrice_UnitsColumnGuid() { return {}; }
  virtual std::string IProviderUPrice_QuantityColumnGuid() { return {}; }
  virtual std::string IProviderUPrice_UnitAmountColumnGuid() { return {}; }
};
inline IProviderUPrice::~IProviderUPrice() = default;

}  // namespace prvdrinfo
