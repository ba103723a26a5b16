#pragma once

// Child providers interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Child providers, whose records hang under a record of a parent provider.
// `ParentRecordGuidColumnGuid` is copied into a shell.
class PRVDRINFO_API IProviderChild : public virtual IObject {
 public:
  ~IProviderChild() override = 0;

  std::shared_ptr<CProviderParentReference> TopLevelParentReference(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_RecordGuid) {
    return IProviderChild_TopLevelParentReference(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string TopLevelParentReferenceRecordGuid(const std::string& p_ProjectGuid,
                                                int32_t p_StatementNumber,
                                                const std::string& p_RecordGuid) {
    return IProviderChild_TopLevelParentReferenceRecordGuid(p_ProjectGuid, p_StatementNumber,
                                                            p_RecordGuid);
  }
  bool IsTopLevelParentReferenced(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_TopLevelParentRecordGuid) {
    return IProviderChild_IsTopLevelParentReferenced(p_ProjectGuid, p_StatementNumber,
                                                     p_TopLevelParentRecordGuid);
  }
  std::string TopLevelParentReferencedFormTypesAndNumbers(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_TopLevelParentRecordGuid) {
    return IProviderChild_TopLevelParentReferencedFormTypesAndNumbers(
        p_ProjectGuid, p_StatementNumber, p_TopLevelParentRecordGuid);
  }
  std::string ItemTitleOrParentItemTitle(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber,
                                         const std::string& p_RecordGuid) {
    return IProviderChild_ItemTitleOrParentItemTitle(p_ProjectGuid, p_StatementNumber,
                                                     p_RecordGuid);
  }
  std::shared_ptr<CProvidersCollection> ParentProviders() {
    return IProviderChild_ParentProviders();
  }
  std::shared_ptr<KeyedCollection> ParentProviderGuids() {
    return IProviderChild_ParentProviderGuids();
  }
  std::string ParentRecordGuidColumnGuid() { return IProviderChild_ParentRecordGuidColumnGuid(); }
  std::string ParentProviderGuidColumnGuid() {
    return IProviderChild_ParentProviderGuidColumnGuid();
  }
  void TouchRecordsByTopLevelParentReferenceRecordGuid(const std::string& p_ProjectGuid,
                                                       int32_t p_StatementNumber,
                                                       const std::string& p_RecordGuid) {
    IProviderChild_TouchRecordsByTopLevelParentReferenceRecordGuid(p_ProjectGuid, p_StatementNumber,
                                                                   p_RecordGuid);
  }
  void TouchRecordsByParentReferenceRecordGuid(const std::string& p_ProjectGuid,
                                               int32_t p_StatementNumber,
                                               const std::string& p_RecordGuid) {
    IProviderChild_TouchRecordsByParentReferenceRecordGuid(p_ProjectGuid, p_StatementNumber,
                                                           p_RecordGuid);
  }
  void InsertParentReferences(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    IProviderChild_InsertParentReferences(p_ProjectGuid, p_StatementNumber);
  }
  bool AncestorReferenced(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                          const std::string& p_AncestorRecordGuid,
                          const std::string& p_RecordGuid) {
    return IProviderChild_AncestorReferenced(p_ProjectGuid, p_StatementNumber, p_AncestorRecordGuid,
                                             p_RecordGuid);
  }
  std::string AncestorReferenceStringShort(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber,
                                           const std::string& p_AncestorProviderGuid,
                                           const std::string& p_RecordGuid) {
    return IProviderChild_AncestorReferenceStringShort(p_ProjectGuid, p_StatementNumber,
                                                       p_AncestorProviderGuid, p_RecordGuid);
  }
  std::string LinkedFieldsTableName() { return IProviderChild_LinkedFieldsTableName(); }

 protected:
  virtual std::shared_ptr<CProviderParentReference> IProviderChild_TopLevelParentReference(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderChild_TopLevelParentReferenceRecordGuid(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual bool IProviderChild_IsTopLevelParentReferenced(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_TopLevelParentRecordGuid*/) {
    return {};
  }
  virtual std::string IProviderChild_TopLevelParentReferencedFormTypesAndNumbers(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_TopLevelParentRecordGuid*/) {
    return {};
  }
  virtual std::string IProviderChild_ItemTitleOrParentItemTitle(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::shared_ptr<CProvidersCollection> IProviderChild_ParentProviders() { return {}; }
  virtual std::shared_ptr<KeyedCollection> IProviderChild_ParentProviderGuids() { return {}; }
  virtual std::string IProviderChild_ParentRecordGuidColumnGuid() { return {}; }
  virtual std::string IProviderChild_ParentProviderGuidColumnGuid() { return {}; }
  virtual void IProviderChild_TouchRecordsByTopLevelParentReferenceRecordGuid(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {}
  virtual void IProviderChild_TouchRecordsByParentReferenceRecordGuid(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {}
  virtual void IProviderChild_InsertParentReferences(const std::string& /*p_ProjectGuid*/,
                                                     int32_t /*p_StatementNumber*/) {}
  virtual bool IProviderChild_AncestorReferenced(const std::string& /*p_ProjectGuid*/,
                                                 int32_t /*p_StatementNumber*/,
                                                 const std::string& /*p_AncestorRecordGuid*/,
                                                 const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderChild_AncestorReferenceStringShort(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_AncestorProviderGuid*/, const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderChild_LinkedFieldsTableName() { return {}; }
};
inline IProviderChild::~IProviderChild() = default;

// The SQL that inserts parent references.
class PRVDRINFO_API IProviderChild2 : public virtual IObject {
 public:
  ~IProviderChild2() override = 0;

  std::string InsertParentReferencesSql() { return IProviderChild2_InsertParentReferencesSql(); }

 protected:
  virtual std::string IProviderChild2_InsertParentReferencesSql() { return {}; }
};
inline IProviderChild2::~IProviderChild2() = default;

// An ancestor's reference date as ISO 8601 text.
class PRVDRINFO_API IProviderChild3 : public virtual IObject {
 public:
  ~IProviderChild3() override = 0;

  std::string AncestorReferenceDateIso8601(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber,
                                           const std::string& p_AncestorProviderGuid,
                                           const std::string& p_RecordGuid) {
    return IProviderChild3_AncestorReferenceDateIso8601(p_ProjectGuid, p_StatementNumber,
                                                        p_AncestorProviderGuid, p_RecordGuid);
  }

 protected:
  virtual std::string IProviderChild3_AncestorReferenceDateIso8601(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_AncestorProviderGuid*/, const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderChild3::~IProviderChild3() = default;

}  // namespace prvdrinfo
