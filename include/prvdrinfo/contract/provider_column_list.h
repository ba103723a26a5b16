#pragma once

// Column lists interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Replaces one column-list item GUID by another throughout a project.
class PRVDRINFO_API IProviderColumnList : public virtual IObject {
 public:
  ~IProviderColumnList() override = 0;

  void TranslateColumnListGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                               const std::string& p_OldGuid, const std::string& p_NewGuid) {
    IProviderColumnList_TranslateColumnListGuid(p_ProjectGuid, p_StatementNumber, p_OldGuid,
                                                p_NewGuid);
  }

 protected:
  virtual void IProviderColumnList_TranslateColumnListGuid(const std::string& /*p_ProjectGuid*/,
                                                           int32_t /*p_StatementNumber*/,
                                                           const std::string& /*p_OldGuid*/,
                                                           const std::string& /*p_NewGuid*/) {}
};
inline IProviderColumnList::~IProviderColumnList() = default;

// Column-list items: references to them and the columns that use column lists.
class PRVDRINFO_API IProviderColumnList2 : public virtual IObject {
 public:
  ~IProviderColumnList2() override = 0;

  bool ColumnListItemReferenced(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                const std::string& p_ColumnListItemRecordGuid) {
    return IProviderColumnList2_ColumnListItemReferenced(p_ProjectGuid, p_StatementNumber,
                                                         p_ColumnListItemRecordGuid);
  }
  std::shared_ptr<Recordset> ReferencedColumnListItemRecordGuids(const std::string& p_ProjectGuid,
                                                                 int32_t p_StatementNumber) {
    return IProviderColumnList2_ReferencedColumnListItemRecordGuids(p_ProjectGuid,
                                                                    p_StatementNumber);
  }
  std::shared_ptr<CColumnDefs> ColumnListColumns() {
    return IProviderColumnList2_ColumnListColumns();
  }
  void DereferenceColumnListItem(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_ColumnListItemRecordGuid) {
    IProviderColumnList2_DereferenceColumnListItem(p_ProjectGuid, p_StatementNumber,
                                                   p_ColumnListItemRecordGuid);
  }
  void ChangeReferencedColumnListItems(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                       const std::string& p_OldColumnListItemRecordGuid,
                                       const std::string& p_NewColumnListItemRecordGuid) {
    IProviderColumnList2_ChangeReferencedColumnListItems(p_ProjectGuid, p_StatementNumber,
                                                         p_OldColumnListItemRecordGuid,
                                                         p_NewColumnListItemRecordGuid);
  }

 protected:
  virtual bool IProviderColumnList2_ColumnListItemReferenced(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ColumnListItemRecordGuid*/) {
    return {};
  }
  virtual std::shared_ptr<Recordset> IProviderColumnList2_ReferencedColumnListItemRecordGuids(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual std::shared_ptr<CColumnDefs> IProviderColumnList2_ColumnListColumns() { return {}; }
  virtual void IProviderColumnList2_DereferenceColumnListItem(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ColumnListItemRecordGuid*/) {}
  virtual void IProviderColumnList2_ChangeReferencedColumnListItems(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_OldColumnListItemRecordGuid*/,
      const std::string& /*p_NewColumnListItemRecordGuid*/) {}
};
inline IProviderColumnList2::~IProviderColumnList2() = default;

}  // namespace prvdrinfo
