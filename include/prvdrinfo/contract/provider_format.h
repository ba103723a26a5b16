#pragma once

// Formatting interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderFormat() override = 0;

  std::string FormatCell(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                         const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                         const std::string& p_CellValue) {
    return IProviderFormat_FormatCell(p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_ColumnGuid,
                                      p_CellValue);
  }
  std::string FormatCellMultiCellDependent(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber, const std::string& p_RecordGuid,
      const std::string& p_ColumnGuid, const std::string& p_CellValue,
      const std::shared_ptr<KeyedCollection>& po_Dependencies) {
    return IProviderFormat_FormatCellMultiCellDependent(
        p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_ColumnGuid, p_CellValue, po_Dependencies);
  }

 protected:
  virtual std::string IProviderFormat_FormatCell(const std::string& /*p_ProjectGuid*/,
                                                 int32_t /*p_StatementNumber*/,
                                                 const std::string& /*p_RecordGuid*/,
                                                 const std::string& /*p_ColumnGuid*/,
                                                 const std::string& /*p_CellValue*/) {
    return {};
  }
  virtual std::string IProviderFormat_FormatCellMultiCellDependent(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/, const std::string& /*p_ColumnGuid*/,
      const std::string& /*p_CellValue*/,
      const std::shared_ptr<KeyedCollection>& /*po_Dependencies*/) {
    return {};
  }
};
inline IProviderFormat::~IProviderFormat() = default;

}  // namespace prvdrinfo
