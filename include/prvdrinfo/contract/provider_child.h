#pragma once

// Child providers interfaces of the provider contract. A provider module derives from the
// ones it implements and overrides every member; the compiler names any it forgets
// (docs/provider-modules.md).

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
  ~IProviderChild() override = default;

  virtual std::shared_ptr<CProviderParentReference> TopLevelParentReference(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_RecordGuid) const = 0;
  virtual std::string TopLevelParentReferenceRecordGuid(const std::string& p_ProjectGuid,
                                                        int32_t p_StatementNumber,
                                                        const std::string& p_RecordGuid) const = 0;
  virtual bool IsTopLevelParentReferenced(const std::string& p_ProjectGuid,
                                          int32_t p_StatementNumber,
                                          const std::string& p_TopLevelParentRecordGuid) const = 0;
  virtual std::string TopLevelParentReferencedFormTypesAndNumbers(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_TopLevelParentRecordGuid) const = 0;
  virtual std::string ItemTitleOrParentItemTitle(const std::string& p_ProjectGuid,
                                                 int32_t p_StatementNumber,
                                                 const std::string& p_RecordGuid) const = 0;
  virtual std::shared_ptr<CProvidersCollection> ParentProviders() const = 0;
  virtual std::shared_ptr<KeyedCollection> ParentProviderGuids() const = 0;
  virtual std::string ParentRecordGuidColumnGuid() const = 0;
  virtual std::string ParentProviderGuidColumnGuid() const = 0;
  virtual void TouchRecordsByTopLevelParentReferenceRecordGuid(const std::string& p_ProjectGuid,
                                                               int32_t p_StatementNumber,
                                                               const std::string& p_RecordGuid) = 0;
  virtual void TouchRecordsByParentReferenceRecordGuid(const std::string& p_ProjectGuid,
                                                       int32_t p_StatementNumber,
                                                       const std::string& p_RecordGuid) = 0;
  virtual void InsertParentReferences(const std::string& p_ProjectGuid,
                                      int32_t p_StatementNumber) = 0;
  virtual bool AncestorReferenced(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_AncestorRecordGuid,
                                  const std::string& p_RecordGuid) const = 0;
  virtual std::string AncestorReferenceStringShort(const std::string& p_ProjectGuid,
                                                   int32_t p_StatementNumber,
                                                   const std::string& p_AncestorProviderGuid,
                                                   const std::string& p_RecordGuid) const = 0;
  virtual std::string LinkedFieldsTableName() const = 0;
};

// The SQL that inserts parent references.
class PRVDRINFO_API IProviderChild2 : public virtual IObject {
 public:
  ~IProviderChild2() override = default;

  virtual std::string InsertParentReferencesSql() const = 0;
};

// An ancestor's reference date as ISO 8601 text.
class PRVDRINFO_API IProviderChild3 : public virtual IObject {
 public:
  ~IProviderChild3() override = default;

  virtual std::string AncestorReferenceDateIso8601(const std::string& p_ProjectGuid,
                                                   int32_t p_StatementNumber,
                                                   const std::string& p_AncestorProviderGuid,
                                                   const std::string& p_RecordGuid) const = 0;
};

}  // namespace prvdrinfo
