#pragma once

// Updates interfaces of the provider contract. Each public member forwards to the
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

// Updating one field of one record from text.
class PRVDRINFO_API IProviderUpdate : public virtual IObject {
 public:
  ~IProviderUpdate() override = 0;

  bool UpdateField(const std::string& p_SessionGuid, const std::string& p_ProjectGuid,
                   int32_t p_StatementNumber, const std::string& p_RecordGuid,
                   const std::string& p_ColumnGuid, const std::string& p_Value) {
    return IProviderUpdate_UpdateField(p_SessionGuid, p_ProjectGuid, p_StatementNumber,
                                       p_RecordGuid, p_ColumnGuid, p_Value);
  }
  bool UpdateField2(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                    const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                    const std::string& p_Value,
                    const std::shared_ptr<KeyedCollection>& po_OverrideWarnings) {
    return IProviderUpdate_UpdateField2(p_ProjectGuid, p_StatementNumber, p_RecordGuid,
                                        p_ColumnGuid, p_Value, po_OverrideWarnings);
  }
  e_DatabaseErrorLevel UpdateFieldErrorLevel(int32_t p_Code) {
    return IProviderUpdate_UpdateFieldErrorLevel(p_Code);
  }

 protected:
  virtual bool IProviderUpdate_UpdateField(const std::string& /*p_SessionGuid*/,
                                           const std::string& /*p_ProjectGuid*/,
                                           int32_t /*p_StatementNumber*/,
                                           const std::string& /*p_RecordGuid*/,
                                           const std::string& /*p_ColumnGuid*/,
                                           const std::string& /*p_Value*/) {
    return {};
  }
  virtual bool IProviderUpdate_UpdateField2(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/, const std::string& /*p_ColumnGuid*/,
      const std::string& /*p_Value*/,
      const std::shared_ptr<KeyedCollection>& /*po_OverrideWarnings*/) {
    return {};
  }
  virtual e_DatabaseErrorLevel IProviderUpdate_UpdateFieldErrorLevel(int32_t /*p_Code*/) {
    return {};
  }
};
inline IProviderUpdate::~IProviderUpdate() = default;

// Updating one field of a row held in a recordset (possibly the new item row).
class PRVDRINFO_API IProviderUpdate2 : public virtual IObject {
 public:
  ~IProviderUpdate2() override = 0;

  bool UpdateField(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                   const std::string& p_ColumnGuid, const Variant& p_Value, int32_t p_NewItemRow,
                   const std::shared_ptr<Recordset>& po_RowRecordset,
                   const std::shared_ptr<KeyedCollection>& po_OverrideWarnings) {
    return IProviderUpdate2_UpdateField(p_ProjectGuid, p_StatementNumber, p_ColumnGuid, p_Value,
                                        p_NewItemRow, po_RowRecordset, po_OverrideWarnings);
  }

 protected:
  virtual bool IProviderUpdate2_UpdateField(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ColumnGuid*/, const Variant& /*p_Value*/, int32_t /*p_NewItemRow*/,
      const std::shared_ptr<Recordset>& /*po_RowRecordset*/,
      const std::shared_ptr<KeyedCollection>& /*po_OverrideWarnings*/) {
    return {};
  }
};
inline IProviderUpdate2::~IProviderUpdate2() = default;

}  // namespace prvdrinfo
