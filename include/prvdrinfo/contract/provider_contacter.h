#pragma once

// Contacts interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Records that reference project contacts.
class PRVDRINFO_API IProviderContacter : public virtual IObject {
 public:
  ~IProviderContacter() override = default;

  virtual std::shared_ptr<KeyedCollection> ReferencedContactGuids(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber) const = 0;
  virtual std::shared_ptr<KeyedCollection> ReferencedContactGuidsByColumnGuid(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_ColumnGuid) const = 0;
  virtual std::shared_ptr<KeyedCollection> ContactPrimaryColumnGuids() const = 0;
  virtual void TranslateContactGuids(const std::string& p_ProjectGuid,
                                     const std::shared_ptr<KeyedCollection>& po_TranslationMap) = 0;
  virtual std::string SelectDistinctContactGuidsSql() const = 0;
};

// The signature columns (copied into a shell) and the computed contact columns.
class PRVDRINFO_API IProviderContacter2 : public virtual IObject {
 public:
  ~IProviderContacter2() override = default;

  virtual std::string OwnerSignedColumnGuid() const = 0;
  virtual std::string BuilderSignedColumnGuid() const = 0;
  virtual std::string DesignerSignedColumnGuid() const = 0;
  virtual std::string ContractAdminSignedColumnGuid() const = 0;
  virtual std::shared_ptr<KeyedCollection> ComputedContactColumnGuids() const = 0;
};

// Removes every reference to one contact from a project.
class PRVDRINFO_API IProviderContacter3 : public virtual IObject {
 public:
  ~IProviderContacter3() override = default;

  virtual void RemoveProjectContactReferences(const std::string& p_ProjectGuid,
                                              int32_t p_StatementNumber,
                                              const std::string& p_ContactGuid) = 0;
};

// The contact GUIDs referenced by the records of a recordset.
class PRVDRINFO_API IProviderContacter4 : public virtual IObject {
 public:
  ~IProviderContacter4() override = default;

  virtual std::shared_ptr<Dictionary> ReferencedContactGuidsByRecordset(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<Recordset>& po_Recordset) const = 0;
};

}  // namespace prvdrinfo
