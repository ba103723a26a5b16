#pragma once

// Forms interfaces of the provider contract. Each public member forwards to the
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

// Forms: form type and number of records, in-use and common form titles and abbreviations
// (unknown ones raise the form-lookup errors), description texts in RTF and the default
// form info for an abbreviation. `AlwaysShowPage2` is copied into a shell.
class PRVDRINFO_API IProviderForm : public virtual IObject {
 public:
  ~IProviderForm() override = 0;

  std::string DescriptionColumnGuid() { return IProviderForm_DescriptionColumnGuid(); }
  std::string FormTypeGuidByRecordGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                       const std::string& p_RecordGuid) {
    return IProviderForm_FormTypeGuidByRecordGuid(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string FormNumberByRecordGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                     const std::string& p_RecordGuid) {
    return IProviderForm_FormNumberByRecordGuid(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string FormTypeColumnGuid() { return IProviderForm_FormTypeColumnGuid(); }
  std::string FormNumberColumnGuid() { return IProviderForm_FormNumberColumnGuid(); }
  std::string FormattedFormValue(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                                 int32_t p_FormatType) {
    return IProviderForm_FormattedFormValue(p_ProjectGuid, p_StatementNumber, p_RecordGuid,
                                            p_ColumnGuid, p_FormatType);
  }
  std::string InUseFormTitleFromAbbreviation(const std::string& p_ProjectGuid,
                                             int32_t p_StatementNumber,
                                             const std::string& p_Abbreviation) {
    return IProviderForm_InUseFormTitleFromAbbreviation(p_ProjectGuid, p_StatementNumber,
                                                        p_Abbreviation);
  }
  std::string InUseFormAbbreviationFromTitle(const std::string& p_ProjectGuid,
                                             int32_t p_StatementNumber,
                                             const std::string& p_Title) {
    return IProviderForm_InUseFormAbbreviationFromTitle(p_ProjectGuid, p_StatementNumber, p_Title);
  }
  std::string CommonFormAbbreviationFromTitle(const std::string& p_Title) {
    return IProviderForm_CommonFormAbbreviationFromTitle(p_Title);
  }
  std::string CommonFormTitleFromAbbreviation(const std::string& p_Abbreviation) {
    return IProviderForm_CommonFormTitleFromAbbreviation(p_Abbreviation);
  }
  bool IsIncoming(RoleId p_RoleId) { return IProviderForm_IsIncoming(p_RoleId); }
  std::string GetDescriptionTextRtf(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                    const std::string& p_RecordGuid,
                                    e_FormDescriptionTextRtfType p_Type) {
    return IProviderForm_GetDescriptionTextRtf(p_ProjectGuid, p_StatementNumber, p_RecordGuid,
                                               p_Type);
  }
  void SetDescriptionTextRtf(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                             const std::string& p_RecordGuid, e_FormDescriptionTextRtfType p_Type,
                             const std::string& p_TextRtf) {
    IProviderForm_SetDescriptionTextRtf(p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_Type,
                                        p_TextRtf);
  }
  bool AutoSavedDescriptionExists(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_RecordGuid) {
    return IProviderForm_AutoSavedDescriptionExists(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::shared_ptr<IObject> FormTypesAndNumbers(const std::string& p_ProjectGuid,
                                               int32_t p_StatementNumber,
                                               const std::string& p_SpaceSeparatedRecordGuids) {
    return IProviderForm_FormTypesAndNumbers(p_ProjectGuid, p_StatementNumber,
                                             p_SpaceSeparatedRecordGuids);
  }
  bool AlwaysShowPage2() { return IProviderForm_AlwaysShowPage2(); }
  std::shared_ptr<CFormInfo> DefaultFormInfo(const std::string& p_FormAbbreviation) {
    return IProviderForm_DefaultFormInfo(p_FormAbbreviation);
  }

 protected:
  virtual std::string IProviderForm_DescriptionColumnGuid() { return {}; }
  virtual std::string IProviderForm_FormTypeGuidByRecordGuid(const std::string& /*p_ProjectGuid*/,
                                                             int32_t /*p_StatementNumber*/,
                                                             const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderForm_FormNumberByRecordGuid(const std::string& /*p_ProjectGuid*/,
                                                           int32_t /*p_StatementNumber*/,
                                                           const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderForm_FormTypeColumnGuid() { return {}; }
  virtual std::string IProviderForm_FormNumberColumnGuid() { return {}; }
  virtual std::string IProviderForm_FormattedFormValue(const std::string& /*p_ProjectGuid*/,
                                                       int32_t /*p_StatementNumber*/,
                                                       const std::string& /*p_RecordGuid*/,
                                                       const std::string& /*p_ColumnGuid*/,
                                                       int32_t /*p_FormatType*/) {
    return {};
  }
  virtual std::string IProviderForm_InUseFormTitleFromAbbreviation(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_Abbreviation*/) {
    return {};
  }
  virtual std::string IProviderForm_InUseFormAbbreviationFromTitle(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_Title*/) {
    return {};
  }
  virtual std::string IProviderForm_CommonFormAbbreviationFromTitle(
      const std::string& /*p_Title*/) {
    return {};
  }
  virtual std::string IProviderForm_CommonFormTitleFromAbbreviation(
      const std::string& /*p_Abbreviation*/) {
    return {};
  }
  virtual bool IProviderForm_IsIncoming(RoleId /*p_RoleId*/) { return {}; }
  virtual std::string IProviderForm_GetDescriptionTextRtf(const std::string& /*p_ProjectGuid*/,
                                                          int32_t /*p_StatementNumber*/,
                                                          const std::string& /*p_RecordGuid*/,
                                                          e_FormDescriptionTextRtfType /*p_Type*/) {
    return {};
  }
  virtual void IProviderForm_SetDescriptionTextRtf(const std::string& /*p_ProjectGuid*/,
                                                   int32_t /*p_StatementNumber*/,
                                                   const std::string& /*p_RecordGuid*/,
                                                   e_FormDescriptionTextRtfType /*p_Type*/,
                                                   const std::string& /*p_TextRtf*/) {}
  virtual bool IProviderForm_AutoSavedDescriptionExists(const std::string& /*p_ProjectGuid*/,
                                                        int32_t /*p_StatementNumber*/,
                                                        const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::shared_ptr<IObject> IProviderForm_FormTypesAndNumbers(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_SpaceSeparatedRecordGuids*/) {
    return {};
  }
  virtual bool IProviderForm_AlwaysShowPage2() { return {}; }
  virtual std::shared_ptr<CFormInfo> IProviderForm_DefaultFormInfo(
      const std::string& /*p_FormAbbreviation*/) {
    return {};
  }
};
inline IProviderForm::~IProviderForm() = default;

// Whether a column supports form formatting.
class PRVDRINFO_API IProviderForm2 : public virtual IObject {
 public:
  ~IProviderForm2() override = 0;

  bool ColumnSupportsFormFormatting(const std::string& p_ColumnGuid) {
    return IProviderForm2_ColumnSupportsFormFormatting(p_ColumnGuid);
  }

 protected:
  virtual bool IProviderForm2_ColumnSupportsFormFormatting(const std::string& /*p_ColumnGuid*/) {
    return {};
  }
};
inline IProviderForm2::~IProviderForm2() = default;

// The form type title column; copied into a shell.
class PRVDRINFO_API IProviderForm3 : public virtual IObject {
 public:
  ~IProviderForm3() override = 0;

  std::string FormTypeTitleColumnGuid() { return IProviderForm3_FormTypeTitleColumnGuid(); }

 protected:
  virtual std::string IProviderForm3_FormTypeTitleColumnGuid() { return {}; }
};
inline IProviderForm3::~IProviderForm3() = default;

}  // namespace prvdrinfo
