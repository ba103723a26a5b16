#pragma once

// Column lists interfaces of the provider contract. A provider module derives from the ones
// it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderColumnList() override = default;

  virtual void TranslateColumnListGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                       const std::string& p_OldGuid,
                                       const std::string& p_NewGuid) = 0;
};

// Column-list items: references to them and the columns that use column lists.
class PRVDRINFO_API IProviderColumnList2 : public virtual IObject {
 public:
  ~IProviderColumnList2() override = default;

  virtual bool ColumnListItemReferenced(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                        const std::string& p_ColumnListItemRecordGuid) const = 0;
  virtual std::shared_ptr<Recordset> ReferencedColumnListItemRecordGuids(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber) const = 0;
  virtual std::shared_ptr<CColumnDefs> ColumnListColumns() const = 0;
  virtual void DereferenceColumnListItem(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber,
                                         const std::string& p_ColumnListItemRecordGuid) = 0;
  virtual void ChangeReferencedColumnListItems(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_OldColumnListItemRecordGuid,
      const std::string& p_NewColumnListItemRecordGuid) = 0;
};

}  // namespace prvdrinfo
