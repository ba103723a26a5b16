#pragma once

// Formatting interfaces of the provider contract. A provider module derives from the ones
// it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Provider-side formatting of a cell's text; the second form also gets the cells it
// depends on.
class PRVDRINFO_API IProviderFormat : public virtual IObject {
 public:
  ~IProviderFormat() override = default;

  virtual std::string FormatCell(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                                 const std::string& p_CellValue) const = 0;
  virtual std::string FormatCellMultiCellDependent(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber, const std::string& p_RecordGuid,
      const std::string& p_ColumnGuid, const std::string& p_CellValue,
      const std::shared_ptr<KeyedCollection>& po_Dependencies) const = 0;
};

}  // namespace prvdrinfo
