#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/column_def_base.h"
#include "prvdrinfo/columns/contact_columns_info.h"

namespace prvdrinfo {

// A column of a provider's database table: identity, SQL identifier, data type, how the
// host edits and cleans its values, how it is shown, and its links to other providers.
// Implements IBaseColumnDef and all seven extensions. ContactColumnsInfo() (and a save of
// a contact column) and FormGuids() create what they return on first read: one thread at
// a time, reads included.
class PRVDRINFO_API CColumnDefStored : public CColumnDefBase,
                                       public IBaseColumnDef5,
                                       public IBaseColumnDef8 {
 public:
  static constexpr const char* kClassName = "CColumnDefStored";

  // A fresh column: the host's default caption, ColumnIndex -1, everything else empty.
  CColumnDefStored();

  bool IsTemplateColumn() const { return isTemplateColumn_; }
  void SetIsTemplateColumn(bool value) { isTemplateColumn_ = value; }
  // Contact columns only (UiType coluitype_Contact), else 5 "ContactColumnsInfo only
  // available for Contact UI Type columns."; created on first access.
  std::shared_ptr<CContactColumnsInfo> ContactColumnsInfo() const;
  std::string LinkedProviderGuidColumnGuid() const;
  void SetLinkedProviderGuidColumnGuid(const std::string& value);
  // Not persisted.
  e_ColumnDefaultValueType DefaultValueType() const { return defaultValueType_; }
  void SetDefaultValueType(e_ColumnDefaultValueType value) { defaultValueType_ = value; }
  e_ColumnUiType UiType() const { return uiType_; }
  void SetUiType(e_ColumnUiType value) { uiType_ = value; }
  std::string AutocompleteGuid() const;
  void SetAutocompleteGuid(const std::string& value);
  std::string Identifier() const;
  void SetIdentifier(const std::string& value);
  // Identifier quoted as an SQL identifier, naming exactly that text.
  std::string EscapedIdentifier() const;
  e_WhitespaceHandling WhitespaceHandling() const { return whitespaceHandling_; }
  void SetWhitespaceHandling(e_WhitespaceHandling value) { whitespaceHandling_ = value; }
  e_ColumnEditability Editability() const { return editability_; }
  void SetEditability(e_ColumnEditability value) { editability_ = value; }
  e_CaseHandling CaseHandling() const { return caseHandling_; }
  void SetCaseHandling(e_CaseHandling value) { caseHandling_ = value; }
  e_LegalCharacters LegalCharacters() const { return legalCharacters_; }
  void SetLegalCharacters(e_LegalCharacters value) { legalCharacters_ = value; }
  std::string LegalCharactersRegex() const;
  void SetLegalCharactersRegex(const std::string& value);

  // IBaseColumnDef5
  bool IsHybrid() const override { return isHybrid_; }
  void SetIsHybrid(bool value) override { isHybrid_ = value; }
  // IBaseColumnDef8
  bool UpdateWhenValueUnchanged() const override { return updateWhenValueUnchanged_; }
  void SetUpdateWhenValueUnchanged(bool value) override { updateWhenValueUnchanged_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Stored values go straight into the fields, without the setters' checks.
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void WriteCoreProperties(PropertyBag& bag) const override;

 private:
  std::string identifier_;
  e_LegalCharacters legalCharacters_ = legalchars_All;
  std::string legalCharactersRegex_;
  e_CaseHandling caseHandling_ = case_LeaveAlone;
  e_WhitespaceHandling whitespaceHandling_ = white_LeaveAlone;
  std::string autocompleteGuid_;
  e_ColumnUiType uiType_ = coluitype_Standard;
  e_ColumnEditability editability_ = coleditable_Standard;
  std::string linkedProviderGuidColumnGuid_;
  bool isHybrid_ = false;
  bool isTemplateColumn_ = false;
  bool updateWhenValueUnchanged_ = false;
  e_ColumnDefaultValueType defaultValueType_ = coldefaultvalue_None;
  mutable std::shared_ptr<CContactColumnsInfo> contactColumnsInfo_;  // created on first access

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CColumnDefStoredFactory {
 public:
  std::shared_ptr<CColumnDefStored> CreateColumnDefStored() const;
};

}  // namespace prvdrinfo
