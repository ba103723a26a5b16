#pragma once

// Contacts interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

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
  ~IProviderContacter() override = 0;

  std::shared_ptr<KeyedCollection> ReferencedContactGuids(const std::string& p_ProjectGuid,
                                                          int32_t p_StatementNumber) {
    return IProviderContacter_ReferencedContactGuids(p_ProjectGuid, p_StatementNumber);
  }
  std::shared_ptr<KeyedCollection> ReferencedContactGuidsByColumnGuid(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_ColumnGuid) {
    return IProviderContacter_ReferencedContactGuidsByColumnGuid(p_ProjectGuid, p_StatementNumber,
                                                                 p_ColumnGuid);
  }
  std::shared_ptr<KeyedCollection> ContactPrimaryColumnGuids() {
    return IProviderContacter_ContactPrimaryColumnGuids();
  }
  void TranslateContactGuids(const std::string& p_ProjectGuid,
                             const std::shared_ptr<KeyedCollection>& po_TranslationMap) {
    IProviderContacter_TranslateContactGuids(p_ProjectGuid, po_TranslationMap);
  }
  std::string SelectDistinctContactGuidsSql() {
    return IProviderContacter_SelectDistinctContactGuidsSql();
  }

 protected:
  virtual std::shared_ptr<KeyedCollection> IProviderContacter_ReferencedContactGuids(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual std::shared_ptr<KeyedCollection> IProviderContacter_ReferencedContactGuidsByColumnGuid(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ColumnGuid*/) {
    return {};
  }
  virtual std::shared_ptr<KeyedCollection> IProviderContacter_ContactPrimaryColumnGuids() {
    return {};
  }
  virtual void IProviderContacter_TranslateContactGuids(
      const std::string& /*p_ProjectGuid*/,
      const std::shared_ptr<KeyedCollection>& /*po_TranslationMap*/) {}
  virtual std::string IProviderContacter_SelectDistinctContactGuidsSql() { return {}; }
};
inline IProviderContacter::~IProviderContacter() = default;

// The signature columns (copied into a shell) and the computed contact columns.
class PRVDRINFO_API IProviderContacter2 : public virtual IObject {
 public:
  ~IProviderContacter2() override = 0;

  std::string OwnerSignedColumnGuid() { return IProviderContacter2_OwnerSignedColumnGuid(); }
  std::string BuilderSignedColumnGuid() { return IProviderContacter2_BuilderSignedColumnGuid(); }
  std::string DesignerSignedColumnGuid() { return IProviderContacter2_DesignerSignedColumnGuid(); }
  std::string ContractAdminSignedColumnGuid() {
    return IProviderContacter2_ContractAdminSignedColumnGuid();
  }
  std::shared_ptr<KeyedCollection> ComputedContactColumnGuids() {
    return IProviderContacter2_ComputedContactColumnGuids();
  }

 protected:
  virtual std::string IProviderContacter2_OwnerSignedColumnGuid() { return {}; }
  virtual std::string IProviderContacter2_BuilderSignedColumnGuid() { return {}; }
  virtual std::string IProviderContacter2_DesignerSignedColumnGuid() { return {}; }
  virtual std::string IProviderContacter2_ContractAdminSignedColumnGuid() { return {}; }
  virtual std::shared_ptr<KeyedCollection> IProviderContacter2_ComputedContactColumnGuids() {
    return {};
  }
};
inline IProviderContacter2::~IProviderContacter2() = default;

// Removes every reference to one contact from a project.
class PRVDRINFO_API IProviderContacter3 : public virtual IObject {
 public:
  ~IProviderContacter3() override = 0;

  void RemoveProjectContactReferences(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                      const std::string& p_ContactGuid) {
    IProviderContacter3_RemoveProjectContactReferences(p_ProjectGuid, p_StatementNumber,
                                                       p_ContactGuid);
  }

 protected:
  virtual void IProviderContacter3_RemoveProjectContactReferences(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ContactGuid*/) {}
};
inline IProviderContacter3::~IProviderContacter3() = default;

// The contact GUIDs referenced by the records of a recordset.
class PRVDRINFO_API IProviderContacter4 : public virtual IObject {
 public:
  ~IProviderContacter4() override = 0;

  std::shared_ptr<Dictionary> ReferencedContactGuidsByRecordset(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<Recordset>& po_Recordset) {
    return IProviderContacter4_ReferencedContactGuidsByRecordset(p_ProjectGuid, p_StatementNumber,
                                                                 po_Recordset);
  }

 protected:
  virtual std::shared_ptr<Dictionary> IProviderContacter4_ReferencedContactGuidsByRecordset(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::shared_ptr<Recordset>& /*po_Recordset*/) {
    return {};
  }
};
inline IProviderContacter4::~IProviderContacter4() = default;

}  // namespace prvdrinfo
