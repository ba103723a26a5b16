#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/viewsdb/provider_views.h"

namespace prvdrinfo {

// The shell hides the provider face's Serialize behind the class interface's: that is the
// point, not an accident.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"

// The two faces of a shell that share member names with different meanings. The persisted
// face answers IPersistable's ClassName with the shell's own class; the provider face
// answers IProviderInfo's ClassName with the provider's class and its Serialize with 5.
// Each passes the question on under a name of its own (docs/provider-modules.md).
class PRVDRINFO_API CProviderInfoShellPersisted : public CPersistable {
 public:
  std::string ClassName() const final { return PersistedClassName(); }

 protected:
  virtual std::string PersistedClassName() const = 0;
};

class PRVDRINFO_API CProviderInfoShellProvider : public IProviderInfo {
 public:
  std::string ClassName() const final { return ProviderClassName(); }
  Bytes Serialize() const final { return ProviderSerialize(); }

  virtual std::string ProviderClassName() const = 0;

 protected:
  virtual Bytes ProviderSerialize() const = 0;
};

// A serializable snapshot of what a host needs to know about one provider without loading
// its module: identity and names, its columns and views (owned copies), one flag per
// optional interface the provider object implements, the GUIDs of the columns that play
// standard roles, and a few switches. Filled by Clone from a live provider, or by loading
// bytes an earlier shell wrote; apart from AlwaysShowPage2, SetNames and SetViews it has
// no setters.
//
// Through IProviderInfo the shell stands in for its provider: ClassName is the provider's
// class, Serialize raises 5 (use the shell's own Serialize), InitializeProperties raises
// 5 "Not supported.", DefaultViewDefinition and RequiredPopulatedProviders are empty, and
// the names ignore locale and role. Clone fails (13) when the provider declares an
// attachment interface without both IProviderAttach2 and IProviderAttach3; what it
// assigned before the failure stays. A shell always owns a column set and a view
// collection: loading bytes that hold none keeps new empty ones, and SetViews refuses an
// empty reference (91).
class PRVDRINFO_API CProviderInfoShell : public CProviderInfoShellPersisted,
                                         public CProviderInfoShellProvider,
                                         public CContentSource,
                                         public std::enable_shared_from_this<CProviderInfoShell> {
 public:
  static constexpr const char* kClassName = "CProviderInfoShell";

  CProviderInfoShell();

  // The class interface's persistence; IProviderInfo's Serialize raises 5.
  using CPersistable::Serialize;
  using CProviderInfoShellProvider::ClassName;  // the provider's class

  // Identity.
  std::string Guid() const override { return guid_; }
  std::string DllName() const override { return dllName_; }
  std::string ProviderClassName() const override { return className_; }
  std::string SingularName() const { return singularName_; }
  std::string PluralName() const { return pluralName_; }
  std::string CommonSingularName() const { return commonSingularName_; }
  std::string CommonPluralName() const { return commonPluralName_; }
  e_ProviderCategory Category() const override { return category_; }
  std::string Description() const override { return description_; }

  // Capability flags: whether the provider object implements the named interface.
  bool SupportsRecordStatus() const { return flags_[kRecordStatus]; }
  bool SupportsAttachments() const { return flags_[kAttach]; }
  bool SupportsAttachments2() const { return flags_[kAttach2]; }
  bool SupportsAttachments3() const { return flags_[kAttach3]; }
  bool SupportsCertify() const { return flags_[kCertify]; }
  bool SupportsDisciplined() const { return flags_[kDisciplined]; }
  bool SupportsSearch() const { return flags_[kSearch]; }
  bool SupportsDelete() const { return flags_[kDelete]; }
  bool SupportsForms() const override { return flags_[kForm]; }
  bool SupportsForms3() const { return flags_[kForm3]; }
  bool SupportsInsert() const { return flags_[kInsert]; }
  bool SupportsStorage() const { return flags_[kStored]; }
  bool SupportsStorage5() const { return flags_[kStored5]; }
  bool SupportsUpdate() const { return flags_[kUpdate]; }
  bool SupportsUpdate2() const { return flags_[kUpdate2]; }
  bool SupportsDescendable() const { return flags_[kDescendable]; }
  bool SupportsSubList() const { return flags_[kSubList]; }
  bool SupportsNotable() const { return flags_[kNotable]; }
  bool SupportsChild() const { return flags_[kChild]; }
  bool SupportsTyped() const { return flags_[kTyped]; }
  bool SupportsTitled() const { return flags_[kTitled]; }
  bool SupportsPhaseable() const { return flags_[kPhaseable]; }
  bool SupportsContacter() const { return flags_[kContacter]; }
  bool SupportsContacter2() const { return flags_[kContacter2]; }
  bool SupportsNumber() const { return flags_[kNumbered]; }
  bool SupportsExternalNumber() const { return flags_[kExternalNumbered]; }
  bool SupportsTemplate() const { return flags_[kTemplate]; }
  bool SupportsDivided() const { return flags_[kDivided]; }
  bool SupportsUnitPrice() const { return flags_[kUPrice]; }
  bool SupportsDraftable() const { return flags_[kDraftable]; }
  bool SupportsReferencer() const { return flags_[kReferencer]; }
  bool SupportsReferencer2() const { return flags_[kReferencer2]; }
  bool SupportsReasonable() const { return flags_[kReasonable]; }
  bool SupportsReasonable2() const { return flags_[kReasonable2]; }
  bool SupportsDated() const { return flags_[kDated]; }

  // Switches copied from the provider.
  bool IgnoreCounters() const { return ignoreCounters_; }
  e_IProviderAttachmentType AttachmentsType() const { return attachmentsType_; }
  bool AlwaysShowPage2() const { return alwaysShowPage2_; }
  void SetAlwaysShowPage2(bool value) { alwaysShowPage2_ = value; }
  bool RequiresExclusiveProjectForInsert() const { return requiresExclusiveForInsert_; }
  bool RequiresExclusiveProjectForDelete() const { return requiresExclusiveForDelete_; }

  // Role columns and reference masks; "" when the provider supplies none.
  std::string NotableNotesColumnGuid() const { return roles_[kNotesColumn]; }
  std::string NotableHasNotesColumnGuid() const { return roles_[kHasNotesColumn]; }
  std::string ContacterOwnerSignedColumnGuid() const { return roles_[kOwnerSignedColumn]; }
  std::string ContacterBuilderSignedColumnGuid() const { return roles_[kBuilderSignedColumn]; }
  std::string ContacterDesignerSignedColumnGuid() const { return roles_[kDesignerSignedColumn]; }
  std::string ContacterContractAdminSignedColumnGuid() const {
    return roles_[kContractAdminSignedColumn];
  }
  std::string ReferenceMask() const { return roles_[kReferenceMask]; }
  std::string ReferenceShortMask() const { return roles_[kReferenceShortMask]; }
  std::string ReferenceAttributesMask() const { return roles_[kReferenceAttributesMask]; }
  std::string TypeColumnGuid() const { return roles_[kTypeColumn]; }
  std::string TitleColumnGuid() const { return roles_[kTitleColumn]; }
  std::string PhaseColumnGuid() const { return roles_[kPhaseColumn]; }
  std::string NumberColumnGuid() const { return roles_[kNumberColumn]; }
  std::string ExternalNumberColumnGuid() const { return roles_[kExternalNumberColumn]; }
  std::string FormTypeColumnGuid() const { return roles_[kFormTypeColumn]; }
  std::string FormTypeTitleColumnGuid() const { return roles_[kFormTypeTitleColumn]; }
  std::string CertifiableApplyHoldbackColumnGuid() const { return roles_[kApplyHoldbackColumn]; }
  std::string ChildParentRecordGuidColumnGuid() const { return roles_[kParentRecordColumn]; }
  std::string AttachmentCountColumnGuid() const { return roles_[kAttachmentCountColumn]; }
  std::string EmailCountColumnGuid() const { return roles_[kEmailCountColumn]; }
  std::string ReasonColumnGuid() const { return roles_[kReasonColumn]; }
  std::string ReasonTitleColumnGuid() const { return roles_[kReasonTitleColumn]; }
  std::string DisciplineAbbreviationsColumnGuid() const {
    return roles_[kDisciplineAbbreviationsColumn];
  }
  std::string DisciplineTitlesColumnGuid() const { return roles_[kDisciplineTitlesColumn]; }
  std::string AttachmentListColumnGuid() const { return roles_[kAttachmentListColumn]; }
  std::string AttachmentListCrLfColumnGuid() const { return roles_[kAttachmentListCrLfColumn]; }
  std::string PrimaryDateColumnGuid() const { return roles_[kPrimaryDateColumn]; }

  // Always an empty reference.
  std::shared_ptr<CProviderView> IProviderInfo_DefaultViewDefinition() const { return nullptr; }
  // The shell as the provider it stands in for.
  std::shared_ptr<IProviderInfo> Info();
  std::shared_ptr<IProviderInfo> ProviderInfo();

  // Fills the shell from a live provider: identity and names (locale 4105, role -1), deep
  // copies of its columns and views, the flags and the role columns, logging each step and
  // the time it took. Flags, switches and role columns start from their defaults, so a
  // shell cloned again keeps nothing of the provider before. An empty reference, or a
  // provider without columns or views, raises 91.
  void Clone(const std::shared_ptr<IProviderInfo>& po_ProviderInfo);
  // Replaces a display name with the cleaned-up caption, unless the argument is blank.
  void SetNames(const std::string& p_SingularName, const std::string& p_PluralName);

  // IProviderInfo
  std::shared_ptr<CProviderView> DefaultViewDefinition() const override { return nullptr; }
  std::string PluralName(e_LocaleId, RoleId) const override { return pluralName_; }
  std::string SingularName(e_LocaleId, RoleId) const override { return singularName_; }
  std::string CommonPluralName(e_LocaleId, RoleId) const override { return commonPluralName_; }
  std::string CommonSingularName(e_LocaleId, RoleId) const override { return commonSingularName_; }
  std::shared_ptr<CProvidersCollection> RequiredPopulatedProviders() const override {
    return nullptr;
  }
  std::shared_ptr<CProviderViews> Views() const override { return views_; }
  void SetViews(const std::shared_ptr<CProviderViews>& value) override;
  std::shared_ptr<CProviderColDefs> Columns() const override { return columns_; }
  // The same as CPersistable's: all or nothing.
  void Deserialize(const Bytes& po_PropertyBagBytes) override;
  [[noreturn]] void InitializeProperties() override;

  // The scalar members' bag, then the views' and the columns' content strings.
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  std::string PersistedClassName() const override { return kClassName; }
  [[noreturn]] Bytes ProviderSerialize() const override;
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  // In the order their bag keys are written: those without a default first.
  enum Flag : size_t {
    kSubList,
    kAttach,
    kAttach2,
    kAttach3,
    kDated,
    kCertify,
    kDelete,
    kForm,
    kForm3,
    kInsert,
    kStored,
    kStored5,
    kUpdate,
    kDescendable,
    kNotable,
    kChild,
    kTyped,
    kRecordStatus,
    kContacter,
    kContacter2,
    kTitled,
    kPhaseable,
    kNumbered,
    kExternalNumbered,
    kSearch,
    kTemplate,
    kDivided,
    kUPrice,
    kUpdate2,
    kDraftable,
    kReferencer,
    kReferencer2,
    kReasonable,
    kReasonable2,
    kDisciplined,
    kFlagCount
  };
  // In the order their bag keys are written.
  enum Role : size_t {
    kNotesColumn,
    kHasNotesColumn,
    kOwnerSignedColumn,
    kBuilderSignedColumn,
    kDesignerSignedColumn,
    kContractAdminSignedColumn,
    kReferenceMask,
    kReferenceShortMask,
    kReferenceAttributesMask,
    kTypeColumn,
    kTitleColumn,
    kPhaseColumn,
    kNumberColumn,
    kExternalNumberColumn,
    kFormTypeColumn,
    kFormTypeTitleColumn,
    kApplyHoldbackColumn,
    kParentRecordColumn,
    kAttachmentCountColumn,
    kEmailCountColumn,
    kReasonColumn,
    kReasonTitleColumn,
    kDisciplineAbbreviationsColumn,
    kDisciplineTitlesColumn,
    kAttachmentListColumn,
    kAttachmentListCrLfColumn,
    kPrimaryDateColumn,
    kRoleCount
  };
  friend struct ShellKeys;

  void WriteScalars(PropertyBag& bag) const;
  void ReadScalars(const PropertyBag& bag);
  void CollectRoles(const std::shared_ptr<IProviderInfo>& provider);

  std::string dllName_;
  std::string guid_;
  std::string className_;
  std::string commonSingularName_;
  std::string commonPluralName_;
  std::string singularName_;
  std::string pluralName_;
  e_ProviderCategory category_ = providercategory_PreConstruction;
  std::string description_;
  std::array<bool, kFlagCount> flags_{};
  bool ignoreCounters_ = false;
  e_IProviderAttachmentType attachmentsType_ = iproviderattachtype_Standard;
  bool alwaysShowPage2_ = false;
  bool requiresExclusiveForInsert_ = false;
  bool requiresExclusiveForDelete_ = false;
  std::array<std::string, kRoleCount> roles_;
  std::shared_ptr<CProviderColDefs> columns_;
  std::shared_ptr<CProviderViews> views_;
};
#pragma GCC diagnostic pop

class PRVDRINFO_API CProviderInfoShellFactory {
 public:
  std::shared_ptr<CProviderInfoShell> CreateProviderInfoShell() const;
};

}  // namespace prvdrinfo
