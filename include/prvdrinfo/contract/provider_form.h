#pragma once

// Forms interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"
#include "prvdrinfo/contract/provider_enums.h"

namespace prvdrinfo {

// Forms: form type and number of records, in-use and common form titles and abbreviations
// (unknown ones raise the form-lookup errors), description texts in RTF and the default
// form info for an abbreviation. `AlwaysShowPage2` is copied into a shell.
class PRVDRINFO_API IProviderForm : public virtual IObject {
 public:
  ~IProviderForm() override = default;

  virtual std::string DescriptionColumnGuid() const = 0;
  virtual std::string FormTypeGuidByRecordGuid(const std::string& p_ProjectGuid,
                                               int32_t p_StatementNumber,
                                               const std::string& p_RecordGuid) const = 0;
  virtual std::string FormNumberByRecordGuid(const std::string& p_ProjectGuid,
                                             int32_t p_StatementNumber,
                                             const std::string& p_RecordGuid) const = 0;
  virtual std::string FormTypeColumnGuid() const = 0;
  virtual std::string FormNumberColumnGuid() const = 0;
  virtual std::string FormattedFormValue(const std::string& p_ProjectGuid,
                                         int32_t p_StatementNumber, const std::string& p_RecordGuid,
                                         const std::string& p_ColumnGuid,
                                         int32_t p_FormatType) const = 0;
  virtual std::string InUseFormTitleFromAbbreviation(const std::string& p_ProjectGuid,
                                                     int32_t p_StatementNumber,
                                                     const std::string& p_Abbreviation) const = 0;
  virtual std::string InUseFormAbbreviationFromTitle(const std::string& p_ProjectGuid,
                                                     int32_t p_StatementNumber,
                                                     const std::string& p_Title) const = 0;
  virtual std::string CommonFormAbbreviationFromTitle(const std::string& p_Title) const = 0;
  virtual std::string CommonFormTitleFromAbbreviation(const std::string& p_Abbreviation) const = 0;
  virtual bool IsIncoming(RoleId p_RoleId) const = 0;
  virtual std::string GetDescriptionTextRtf(const std::string& p_ProjectGuid,
                                            int32_t p_StatementNumber,
                                            const std::string& p_RecordGuid,
                                            e_FormDescriptionTextRtfType p_Type) const = 0;
  virtual void SetDescriptionTextRtf(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                     const std::string& p_RecordGuid,
                                     e_FormDescriptionTextRtfType p_Type,
                                     const std::string& p_TextRtf) = 0;
  virtual bool AutoSavedDescriptionExists(const std::string& p_ProjectGuid,
                                          int32_t p_StatementNumber,
                                          const std::string& p_RecordGuid) const = 0;
  virtual std::shared_ptr<IObject> FormTypesAndNumbers(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::string& p_SpaceSeparatedRecordGuids) const = 0;
  virtual bool AlwaysShowPage2() const = 0;
  virtual std::shared_ptr<CFormInfo> DefaultFormInfo(
      const std::string& p_FormAbbreviation) const = 0;
};

// Whether a column supports form formatting.
class PRVDRINFO_API IProviderForm2 : public virtual IObject {
 public:
  ~IProviderForm2() override = default;

  virtual bool ColumnSupportsFormFormatting(const std::string& p_ColumnGuid) const = 0;
};

// The form type title column; copied into a shell.
class PRVDRINFO_API IProviderForm3 : public virtual IObject {
 public:
  ~IProviderForm3() override = default;

  virtual std::string FormTypeTitleColumnGuid() const = 0;
};

}  // namespace prvdrinfo
