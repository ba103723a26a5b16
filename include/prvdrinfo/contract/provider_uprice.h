#pragma once

// Unit prices interfaces of the provider contract. A provider module derives from the ones
// it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderUPrice() override = default;

  virtual std::string TotalAmountColumnGuid() const = 0;
  virtual std::string UnitsColumnGuid() const = 0;
  virtual std::string QuantityColumnGuid() const = 0;
  virtual std::string UnitAmountColumnGuid() const = 0;
};

}  // namespace prvdrinfo
