#include "prvdrinfo/providers/provider_info_shell.h"

#include <utility>

#include "foundation/internal/class_registration.h"
#include "foundation/internal/content_parts.h"
#include "services/internal/timer.h"
#include "prvdrinfo/contract/provider_interfaces.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kClone{"5ML1Z913RR48VK9K3BYURFDPG", "CProviderInfoShell.Clone"};
constexpr ErrorSite kSetNames{"DA73RCJXBMD6KDEOWM7SIDBDE", "CProviderInfoShell.SetNames"};
constexpr ErrorSite kSetViews{"X3SR5O51CGV422OQJGVUHNME0", "CProviderInfoShell.Views"};
constexpr ErrorSite kSerialize{"G2VYA07Z0ZOQ7JVUXR0M1PX2C",
                               "CProviderInfoShell.IProviderInfo_Serialize"};
constexpr ErrorSite kInitialize{"9IJZOCKYXH1TSKNJMYNZUEQYI",
                                "CProviderInfoShell.IProviderInfo_InitializeProperties"};
constexpr ErrorSite kWrite{"AI07UPPOEQJORPSN478R6V6I8", "CProviderInfoShell.Class_WriteProperties"};
constexpr ErrorSite kRead{"D9MIA32JCA0H5ZT04Q24CBL05", "CProviderInfoShell.Class_ReadProperties"};
constexpr ErrorSite kContent{"J94B4L6PR83EXOZER401T1UUZ",
                             "CProviderInfoShell.AppendContentString3"};

// The locale and role the names are asked for.
constexpr e_LocaleId kNamesLocale = localeid_EnglishCanada;
constexpr RoleId kNamesRole = -1;

template <class Interface>
bool Implements(const std::shared_ptr<IProviderInfo>& provider) {
  return std::dynamic_pointer_cast<Interface>(provider) != nullptr;
}

template <class Interface>
std::shared_ptr<Interface> As(const std::shared_ptr<IProviderInfo>& provider) {
  auto seen = std::dynamic_pointer_cast<Interface>(provider);
  if (!seen) kClone.Raise(err::kTypeMismatch);
  return seen;
}

void Log(const std::string& message) { CVesk::Log(CProviderInfoShell::kClassName, message); }
}  // namespace

// The bag keys of the flags and role columns, in the order of CProviderInfoShell's Flag
// and Role, with what tells a flag from a provider object.
struct ShellKeys {
  using Flag = CProviderInfoShell::Flag;
  struct FlagKey {
    const char* key;
    bool (*implements)(const std::shared_ptr<IProviderInfo>&);
  };
  static constexpr size_t kFlagsWithoutDefault = CProviderInfoShell::kTemplate;
  static constexpr FlagKey kFlags[CProviderInfoShell::kFlagCount] = {
      {"IProviderSubList", Implements<IProviderSubList>},
      {"IProviderAttach", Implements<IProviderAttach>},
      {"IProviderAttach2", Implements<IProviderAttach2>},
      {"IProviderAttach3", Implements<IProviderAttach3>},
      {"IProviderDated", Implements<IProviderDated>},
      {"IProviderCertify", Implements<IProviderCertify>},
      {"IProviderDelete", Implements<IProviderDelete>},
      {"IProviderForm", Implements<IProviderForm>},
      {"IProviderForm3", Implements<IProviderForm3>},
      {"IProviderInsert", Implements<IProviderInsert>},
      {"IProviderStored", Implements<IProviderStored>},
      {"IProviderStored5", Implements<IProviderStored5>},
      {"IProviderUpdate", Implements<IProviderUpdate>},
      {"IProviderDescendable", Implements<IProviderDescendable>},
      {"IProviderNotable", Implements<IProviderNotable>},
      {"IProviderChild", Implements<IProviderChild>},
      {"IProviderTyped", Implements<IProviderTyped>},
      {"IProviderRecordStatus", Implements<IProviderRecordStatus>},
      // Contacter flags are set with the contacter columns.
      {"IProviderContacter", nullptr},
      {"IProviderContacter2", nullptr},
      {"IProviderTitled", Implements<IProviderTitled>},
      {"IProviderPhaseable", Implements<IProviderPhaseable>},
      {"IProviderNumbered", Implements<IProviderNumbered>},
      {"IProviderExternalNumbered", Implements<IProviderExternalNumbered>},
      {"IProviderSearch", Implements<IProviderSearch>},
      {"IProviderTemplate", Implements<IProviderTemplate>},
      {"IProviderDivided", Implements<IProviderDivided>},
      {"IProviderUPrice", Implements<IProviderUPrice>},
      {"IProviderUpdate2", Implements<IProviderUpdate2>},
      {"IProviderDraftable", Implements<IProviderDraftable>},
      {"IProviderReferencer", Implements<IProviderReferencer>},
      {"IProviderReferencer2", Implements<IProviderReferencer2>},
      {"IProviderReasonable", Implements<IProviderReasonable>},
      {"IProviderReasonable2", Implements<IProviderReasonable2>},
      {"IProviderDisciplined", Implements<IProviderDisciplined>},
  };
  static constexpr const char* kRoles[CProviderInfoShell::kRoleCount] = {
      "NotableNotesColumnGuid",
      "NotableHasNotesColumnGuid",
      "ContacterOwnerSignedColumnGuid",
      "ContacterBuilderSignedColumnGuid",
      "ContacterDesignerSignedColumnGuid",
      "ContacterContractAdminSignedColumnGuid",
      "ReferenceMask",
      "ReferenceShortMask",
      "ReferenceAttributesMask",
      "TypeColumnGuid",
      "TitleColumnGuid",
      "PhaseColumnGuid",
      "NumberColumnGuid",
      "ExternalNumberColumnGuid",
      "FormTypeColumnGuid",
      "FormTypeTitleColumnGuid",
      "CertifiableApplyHoldbackColumnGuid",
      "ChildParentRecordGuidColumnGuid",
      "AttachmentCountColumnGuid",
      "EmailCountColumnGuid",
      "ReasonableReasonColumnGuid",
      "Reasonable2ReasonTitleColumnGuid",
      "DisciplineAbbreviationsColumnGuid",
      "DisciplineTitlesColumnGuid",
      "AttachmentListColumnGuid",
      "AttachmentListCrLfColumnGuid",
      "PrimaryDateColumnGuid"};
};

CProviderInfoShell::CProviderInfoShell()
    : columns_(std::make_shared<CProviderColDefs>()), views_(std::make_shared<CProviderViews>()) {}

std::shared_ptr<IProviderInfo> CProviderInfoShell::Info() { return weak_from_this().lock(); }

std::shared_ptr<IProviderInfo> CProviderInfoShell::ProviderInfo() { return Info(); }

void CProviderInfoShell::Clone(const std::shared_ptr<IProviderInfo>& po_ProviderInfo) {
  kClone.Guard([&] {
    if (!po_ProviderInfo) kClone.Raise(91);
    const IProviderInfo& provider = *po_ProviderInfo;
    const double start = Timer::Seconds();
    Log("Cloning " + provider.DllName() + "." + provider.ClassName());

    dllName_ = provider.DllName();
    guid_ = provider.Guid();
    className_ = provider.ClassName();
    singularName_ = provider.SingularName(kNamesLocale, kNamesRole);
    pluralName_ = provider.PluralName(kNamesLocale, kNamesRole);
    commonSingularName_ = provider.CommonSingularName(kNamesLocale, kNamesRole);
    commonPluralName_ = provider.CommonPluralName(kNamesLocale, kNamesRole);
    category_ = provider.Category();
    description_ = provider.Description();

    const auto columns = provider.Columns();
    if (!columns) kClone.Raise(91);
    Log("Source provider provider specific columns count: " +
        std::to_string(columns->ProviderSpecific()->Count()));
    columns_ = std::make_shared<CProviderColDefs>();
    columns_->DeserializeV(columns->SerializeV());
    Log("Cloned provider provider specific columns count: " +
        std::to_string(columns_->ProviderSpecific()->Count()));

    const auto views = provider.Views();
    if (!views) kClone.Raise(91);
    Log("Source provider views count: " + std::to_string(views->Count()));
    views_ = std::make_shared<CProviderViews>();
    views_->DeserializeV(views->SerializeV());
    Log("Cloned provider views count: " + std::to_string(views_->Count()));

    // A shell cloned again describes the new provider only: nothing of the one before
    // survives where the new one is silent.
    flags_ = {};
    roles_ = {};
    ignoreCounters_ = alwaysShowPage2_ = requiresExclusiveForInsert_ = requiresExclusiveForDelete_ =
        false;
    attachmentsType_ = iproviderattachtype_Standard;
    for (size_t flag = 0; flag < kFlagCount; ++flag) {
      if (const auto implements = ShellKeys::kFlags[flag].implements) {
        flags_[flag] = implements(po_ProviderInfo);
      }
    }
    CollectRoles(po_ProviderInfo);

    Log("Clone time for " + pluralName_ + ": " + Variant(Timer::Seconds() - start).ToText());
  });
}

// Each only under its condition, in an order that decides what a failure leaves behind.
void CProviderInfoShell::CollectRoles(const std::shared_ptr<IProviderInfo>& provider) {
  if (flags_[kDisciplined]) {
    const auto disciplined = As<IProviderDisciplined>(provider);
    roles_[kDisciplineAbbreviationsColumn] = disciplined->DisciplineAbbreviationsColumnGuid();
    roles_[kDisciplineTitlesColumn] = disciplined->DisciplineTitlesColumnGuid();
  }
  if (flags_[kDated])
    roles_[kPrimaryDateColumn] = As<IProviderDated>(provider)->PrimaryDateColumnGuid();
  if (flags_[kAttach] || flags_[kAttach2] || flags_[kAttach3]) {
    // Any attachment interface brings the other two with it.
    roles_[kAttachmentCountColumn] = As<IProviderAttach2>(provider)->AttachmentCountColumnGuid();
    const auto lists = As<IProviderAttach3>(provider);
    roles_[kAttachmentListColumn] = lists->AttachmentListColumnGuid();
    roles_[kAttachmentListCrLfColumn] = lists->AttachmentListCrLfColumnGuid();
  }
  if (flags_[kReasonable])
    roles_[kReasonColumn] = As<IProviderReasonable>(provider)->ReasonColumnGuid();
  if (flags_[kReasonable2]) {
    roles_[kReasonTitleColumn] = As<IProviderReasonable2>(provider)->ReasonTitleColumnGuid();
  }
  if (const auto numbered = std::dynamic_pointer_cast<IProviderNumbered>(provider)) {
    roles_[kNumberColumn] = numbered->NumberColumnGuid();
  }
  if (const auto external = std::dynamic_pointer_cast<IProviderExternalNumbered>(provider)) {
    roles_[kExternalNumberColumn] = external->ExternalNumberColumnGuid();
  }
  if (const auto notable = std::dynamic_pointer_cast<IProviderNotable2>(provider)) {
    roles_[kNotesColumn] = notable->NotesColumnGuid();
    roles_[kHasNotesColumn] = notable->HasNotesColumnGuid();
  }
  if (const auto attach2 = std::dynamic_pointer_cast<IProviderAttach2>(provider)) {
    roles_[kAttachmentCountColumn] = attach2->AttachmentCountColumnGuid();
  }
  if (const auto email = std::dynamic_pointer_cast<IProviderEmail>(provider)) {
    roles_[kEmailCountColumn] = email->EmailCountColumnGuid();
  }
  if (Implements<IProviderContacter>(provider)) flags_[kContacter] = true;
  if (const auto contacter2 = std::dynamic_pointer_cast<IProviderContacter2>(provider)) {
    flags_[kContacter2] = true;
    roles_[kOwnerSignedColumn] = contacter2->OwnerSignedColumnGuid();
    roles_[kBuilderSignedColumn] = contacter2->BuilderSignedColumnGuid();
    roles_[kDesignerSignedColumn] = contacter2->DesignerSignedColumnGuid();
    roles_[kContractAdminSignedColumn] = contacter2->ContractAdminSignedColumnGuid();
  }
  if (const auto certify3 = std::dynamic_pointer_cast<IProviderCertify3>(provider)) {
    roles_[kApplyHoldbackColumn] = certify3->ApplyHoldbackColumnGuid();
  }
  if (flags_[kDelete]) {
    requiresExclusiveForDelete_ =
        As<IProviderDelete>(provider)->RequireExclusiveProjectAccessForDelete();
  }
  if (flags_[kInsert]) {
    requiresExclusiveForInsert_ =
        As<IProviderInsert>(provider)->RequireExclusiveProjectAccessForInsert();
  }
  if (flags_[kStored]) ignoreCounters_ = As<IProviderStored>(provider)->IgnoreCounters();
  if (flags_[kAttach]) attachmentsType_ = As<IProviderAttach>(provider)->IProviderAttachmentType();
  if (flags_[kForm]) {
    const auto form = As<IProviderForm>(provider);
    alwaysShowPage2_ = form->AlwaysShowPage2();
    roles_[kFormTypeColumn] = form->FormTypeColumnGuid();
  }
  if (flags_[kForm3])
    roles_[kFormTypeTitleColumn] = As<IProviderForm3>(provider)->FormTypeTitleColumnGuid();
  if (flags_[kStored5]) {
    const auto stored5 = As<IProviderStored5>(provider);
    roles_[kReferenceMask] = stored5->ReferenceMask();
    roles_[kReferenceShortMask] = stored5->ReferenceShortMask();
    roles_[kReferenceAttributesMask] = stored5->ReferenceAttributesMask();
  }
  if (flags_[kTyped]) roles_[kTypeColumn] = As<IProviderTyped>(provider)->TypeColumnGuid();
  if (flags_[kTitled]) roles_[kTitleColumn] = As<IProviderTitled>(provider)->TitleColumnGuid();
  if (flags_[kPhaseable])
    roles_[kPhaseColumn] = As<IProviderPhaseable>(provider)->PhaseColumnGuid();
  if (flags_[kChild]) {
    roles_[kParentRecordColumn] = As<IProviderChild>(provider)->ParentRecordGuidColumnGuid();
  }
}

void CProviderInfoShell::SetNames(const std::string& p_SingularName,
                                  const std::string& p_PluralName) {
  kSetNames.Guard([&] {
    Log("In SetNames: " + p_SingularName + ", " + p_PluralName);
    std::string singular = singularName_;
    if (!TextService::IsEmpty(p_SingularName)) singular = TextService::CleanCaption(p_SingularName);
    std::string plural = pluralName_;
    if (!TextService::IsEmpty(p_PluralName)) plural = TextService::CleanCaption(p_PluralName);
    singularName_ = std::move(singular);
    pluralName_ = std::move(plural);
  });
}

void CProviderInfoShell::SetViews(const std::shared_ptr<CProviderViews>& value) {
  if (!value) kSetViews.Raise(91);
  views_ = value;
}

void CProviderInfoShell::Deserialize(const Bytes& po_PropertyBagBytes) {
  CPersistable::Deserialize(po_PropertyBagBytes);
}

void CProviderInfoShell::InitializeProperties() {
  kInitialize.Raise(err::kInvalidProcedureCall, "Not supported.");
}

Bytes CProviderInfoShell::ProviderSerialize() const {
  kSerialize.Raise(err::kInvalidProcedureCall);
}

void CProviderInfoShell::WriteScalars(PropertyBag& bag) const {
  bag.WriteProperty("ProviderInfoDllName", dllName_);
  bag.WriteProperty("ProviderInfoGuid", guid_);
  bag.WriteProperty("ProviderInfoClassName", className_);
  bag.WriteProperty("ProviderInfoCommonSingularName", commonSingularName_);
  bag.WriteProperty("ProviderInfoCommonPluralName", commonPluralName_);
  bag.WriteProperty("ProviderInfoSingularName", singularName_);
  bag.WriteProperty("ProviderInfoPluralName", pluralName_);
  bag.WriteProperty("ProviderInfoCategory", Variant(static_cast<int32_t>(category_)));
  bag.WriteProperty("ProviderInfoDescription", description_, std::string());
  const Variant no(false);
  for (size_t flag = 0; flag < kFlagCount; ++flag) {
    if (flag < ShellKeys::kFlagsWithoutDefault) {
      bag.WriteProperty(ShellKeys::kFlags[flag].key, Variant(flags_[flag]));
    } else {
      bag.WriteProperty(ShellKeys::kFlags[flag].key, Variant(flags_[flag]), no);
    }
  }
  bag.WriteProperty("IgnoreCounters", Variant(ignoreCounters_), no);
  bag.WriteProperty("AttachmentsType", Variant(static_cast<int32_t>(attachmentsType_)),
                    Variant(int32_t{0}));
  bag.WriteProperty("AlwaysShowPage2", Variant(alwaysShowPage2_), no);
  bag.WriteProperty("RequiresExclusiveProjectForInsert", Variant(requiresExclusiveForInsert_), no);
  bag.WriteProperty("RequiresExclusiveProjectForDelete", Variant(requiresExclusiveForDelete_), no);
  for (size_t role = 0; role < kRoleCount; ++role) {
    bag.WriteProperty(ShellKeys::kRoles[role], roles_[role], std::string());
  }
}

void CProviderInfoShell::ReadScalars(const PropertyBag& bag) {
  dllName_ = bag.ReadText("ProviderInfoDllName");
  guid_ = bag.ReadText("ProviderInfoGuid");
  className_ = bag.ReadText("ProviderInfoClassName");
  commonSingularName_ = bag.ReadText("ProviderInfoCommonSingularName");
  commonPluralName_ = bag.ReadText("ProviderInfoCommonPluralName");
  singularName_ = bag.ReadText("ProviderInfoSingularName");
  pluralName_ = bag.ReadText("ProviderInfoPluralName");
  category_ = static_cast<e_ProviderCategory>(bag.ReadLong("ProviderInfoCategory"));
  description_ = bag.ReadText("ProviderInfoDescription");
  // Keys older bytes lack read as False, "IProviderExternalNumbered" among them.
  for (size_t flag = 0; flag < kFlagCount; ++flag)
    flags_[flag] = bag.ReadBoolean(ShellKeys::kFlags[flag].key, false);
  ignoreCounters_ = bag.ReadBoolean("IgnoreCounters", false);
  attachmentsType_ = static_cast<e_IProviderAttachmentType>(bag.ReadLong("AttachmentsType", 0));
  alwaysShowPage2_ = bag.ReadBoolean("AlwaysShowPage2", false);
  requiresExclusiveForInsert_ = bag.ReadBoolean("RequiresExclusiveProjectForInsert", false);
  requiresExclusiveForDelete_ = bag.ReadBoolean("RequiresExclusiveProjectForDelete", false);
  for (size_t role = 0; role < kRoleCount; ++role)
    roles_[role] = bag.ReadText(ShellKeys::kRoles[role]);
}

void CProviderInfoShell::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    WriteScalars(bag);
    bag.WriteProperty("ProviderInfoColumns", Variant(columns_));
    bag.WriteProperty("ProviderInfoViews", Variant(views_));
  });
}

void CProviderInfoShell::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    ReadScalars(bag);
    // Bytes without an owned object keep a new empty one, so a loaded shell always has both.
    auto columns = bag.ReadObject<CProviderColDefs>("ProviderInfoColumns");
    columns_ = columns ? std::move(columns) : std::make_shared<CProviderColDefs>();
    auto views = bag.ReadObject<CProviderViews>("ProviderInfoViews");
    views_ = views ? std::move(views) : std::make_shared<CProviderViews>();
  });
}

void CProviderInfoShell::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder, [&](PropertyBag& bag) { WriteScalars(bag); });
    views_->AppendContentString3(po_StringBuilder);
    columns_->AppendContentString3(po_StringBuilder);
  });
}

std::shared_ptr<CProviderInfoShell> CProviderInfoShellFactory::CreateProviderInfoShell() const {
  return std::make_shared<CProviderInfoShell>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderInfoShell)
}  // namespace prvdrinfo
