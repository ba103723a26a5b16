// A provider module that serves many optional capabilities at once: a log of change
// orders, each a form with a type, a phase, a reason, disciplines, signatures, notes,
// attachments and a contract amount. It keeps no records: what it shows is how a module
// declares capabilities and the columns that play their roles, which is what a host
// learns about it from a provider info shell. Data members give their empty answers.

#include "change_order_log.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/contract/provider_interfaces.h"
#include "prvdrinfo/contract/provider_module.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/views/provider_view.h"

namespace change_order_log {
namespace {

using namespace prvdrinfo;

constexpr ErrorSite kColumns{"IIT9X5WNGBAG7HT1DUSPA2WEX", "CChangeOrderLog.InitializeProperties"};
constexpr ErrorSite kSerialize{"10L2O1QNN0DIH29L7M6X0ESTJ", "CChangeOrderLog.Serialize"};
constexpr ErrorSite kDeserialize{"72KCJV1ZSPF9GYXB3H8OCNTHR", "CChangeOrderLog.Deserialize"};

struct Own {
  const char* guid;
  const char* identifier;
  const char* caption;
  e_VeskDataType type;
};

constexpr Own kOwnColumns[] = {
    {kTitleColumnGuid, "title", "Title", datatype_String},
    {kTypeColumnGuid, "change_type", "Type", datatype_String},
    {kPhaseColumnGuid, "phase", "Phase", datatype_String},
    {kExternalNumberColumnGuid, "external_number", "External number", datatype_String},
    {kDateColumnGuid, "issued", "Issued", datatype_DateUtc},
    {kReasonColumnGuid, "reason_guid", "Reason", datatype_String},
    {kReasonTitleColumnGuid, "reason_title", "Reason title", datatype_String},
    {kDisciplineAbbreviationsColumnGuid, "discipline_abbreviations", "Disciplines",
     datatype_String},
    {kDisciplineTitlesColumnGuid, "discipline_titles", "Discipline titles", datatype_String},
    {kAttachmentCountColumnGuid, "attachment_count", "Attachments", datatype_Integer},
    {kAttachmentListColumnGuid, "attachment_list", "Attachment list", datatype_String},
    {kAttachmentListCrLfColumnGuid, "attachment_lines", "Attachment lines", datatype_String},
    {kNotesColumnGuid, "notes", "Notes", datatype_StringRtf},
    {kHasNotesColumnGuid, "has_notes", "Has notes", datatype_Boolean},
    {kEmailCountColumnGuid, "email_count", "E-mails", datatype_Integer},
    {kOwnerSignedColumnGuid, "owner_signed", "Owner signed", datatype_Boolean},
    {kBuilderSignedColumnGuid, "builder_signed", "Builder signed", datatype_Boolean},
    {kDesignerSignedColumnGuid, "designer_signed", "Designer signed", datatype_Boolean},
    {kContractAdminSignedColumnGuid, "admin_signed", "Contract administrator signed",
     datatype_Boolean},
    {kApplyHoldbackColumnGuid, "apply_holdback", "Apply holdback", datatype_Boolean},
    {kFormTypeColumnGuid, "form_type", "Form type", datatype_String},
    {kFormTypeTitleColumnGuid, "form_type_title", "Form type title", datatype_String},
    {kParentRecordColumnGuid, "parent_record", "Parent record", datatype_String},
    {kParentProviderColumnGuid, "parent_provider", "Parent provider", datatype_String},
    {kAmountColumnGuid, "amount", "Amount", datatype_Currency},
};

class ChangeOrderLog final : public IProviderInfo,
                             public IProviderSubList,
                             public IProviderAttach,
                             public IProviderAttach2,
                             public IProviderAttach3,
                             public IProviderCertify,
                             public IProviderCertify3,
                             public IProviderForm,
                             public IProviderForm3,
                             public IProviderStored,
                             public IProviderStored5,
                             public IProviderUpdate2,
                             public IProviderNotable,
                             public IProviderNotable2,
                             public IProviderChild,
                             public IProviderTyped,
                             public IProviderPhaseable,
                             public IProviderContacter2,
                             public IProviderExternalNumbered,
                             public IProviderSearch,
                             public IProviderTemplate,
                             public IProviderDivided,
                             public IProviderUPrice,
                             public IProviderDraftable,
                             public IProviderReferencer,
                             public IProviderReferencer2,
                             public IProviderReasonable,
                             public IProviderReasonable2,
                             public IProviderDated,
                             public IProviderDisciplined,
                             public IProviderEmail {
 public:
  ChangeOrderLog() { InitializeProperties(); }

  // IProviderInfo
  bool SupportsForms() const override { return true; }
  std::shared_ptr<CProviderView> DefaultViewDefinition() const override { return nullptr; }
  std::string Guid() const override { return kProviderGuid; }
  std::string DllName() const override { return kDllName; }
  std::string ClassName() const override { return kClassName; }
  e_ProviderCategory Category() const override { return providercategory_Certifier; }
  std::string PluralName(e_LocaleId p_LocaleId, RoleId /*p_Role*/) const override {
    return p_LocaleId == localeid_FrenchCanada ? "Ordres de modification" : "Change Orders";
  }
  std::string SingularName(e_LocaleId p_LocaleId, RoleId /*p_Role*/) const override {
    return p_LocaleId == localeid_FrenchCanada ? "Ordre de modification" : "Change Order";
  }
  std::string CommonPluralName(e_LocaleId /*p_LocaleId*/, RoleId /*p_Role*/) const override {
    return "Changes";
  }
  std::string CommonSingularName(e_LocaleId /*p_LocaleId*/, RoleId /*p_Role*/) const override {
    return "Change";
  }
  std::shared_ptr<CProvidersCollection> RequiredPopulatedProviders() const override {
    return nullptr;
  }
  std::shared_ptr<CProviderViews> Views() const override { return views_; }
  void SetViews(const std::shared_ptr<CProviderViews>& value) override { views_ = value; }
  std::shared_ptr<CProviderColDefs> Columns() const override { return columns_; }
  std::string Description() const override {
    return "Changes to the contract: what changed, why, by how much, and who signed.";
  }
  Bytes Serialize() const override {
    return kSerialize.Guard([&] {
      PropertyBag bag;
      bag.WriteProperty("Columns", Variant(columns_));
      bag.WriteProperty("Views", Variant(views_));
      return bag.Contents();
    });
  }
  void Deserialize(const Bytes& pa_Content) override {
    kDeserialize.Guard([&] {
      PropertyBag bag;
      bag.SetContents(pa_Content);
      auto columns = bag.ReadObject<CProviderColDefs>("Columns");
      auto views = bag.ReadObject<CProviderViews>("Views");
      if (columns) columns_ = std::move(columns);
      if (views) views_ = std::move(views);
    });
  }
  void InitializeProperties() override {
    kColumns.Guard([&] {
      auto columns = CProviderColDefsFactory().CreateProviderColDefs();
      for (const Own& own : kOwnColumns) {
        auto column = CColumnDefStoredFactory().CreateColumnDefStored();
        column->SetGuid(own.guid);
        column->SetIdentifier(own.identifier);
        column->SetDefaultCaption(localeid_EnglishCanada, own.caption);
        column->SetVeskDatatype(own.type);
        columns->ProviderSpecific()->AddExisting(column);
      }
      auto views = CProviderViewsFactory().CreateProviderViews();
      for (const auto& [guid, caption] : {std::pair{kAllChangesViewGuid, "All change orders"},
                                          std::pair{kOpenChangesViewGuid, "Open change orders"}}) {
        auto view = views->Add(guid, caption);
        view->SetProviderGuid(kProviderGuid);
        for (const char* column :
             {kExternalNumberColumnGuid, kTitleColumnGuid, kAmountColumnGuid}) {
          view->Columns()->Add(column);
        }
      }
      columns_ = std::move(columns);
      views_ = std::move(views);
    });
  }

  // IProviderSubList: change orders are a sub-list of standard attachments.
  e_ProviderSubListType SubListType() const override {
    return providersublisttype_StandardAttachments;
  }
  std::string ParentProviderGuidColumnGuid() const override { return kParentProviderColumnGuid; }
  std::string ParentRecordGuidColumnGuid() const override { return kParentRecordColumnGuid; }
  Variant OverrideIProviderInsert(e_ProviderSubListType /*p_SubListType*/) const override {
    return {};
  }

  // IProviderAttach, IProviderAttach2, IProviderAttach3: shop drawings hang on a change.
  bool RegisterAttachment(const std::string&, int32_t, const std::string&, const std::string&,
                          const std::string&) override {
    return false;
  }
  e_IProviderAttachmentType IProviderAttachmentType() const override {
    return iproviderattachtype_ShopDrawings;
  }
  std::string AttachmentCountColumnGuid() const override { return kAttachmentCountColumnGuid; }
  std::string AttachmentListColumnGuid() const override { return kAttachmentListColumnGuid; }
  std::string AttachmentListCrLfColumnGuid() const override {
    return kAttachmentListCrLfColumnGuid;
  }

  // IProviderCertify, IProviderCertify3: the amount of a change is certified as progress.
  std::shared_ptr<Recordset> CertifiableRecords(const std::string&, int32_t) const override {
    return nullptr;
  }
  std::shared_ptr<Recordset> CertifiableRecordsSinceCounter(const std::string&, int32_t,
                                                            int32_t) const override {
    return nullptr;
  }
  std::string ContractAmountColumnGuid() const override { return kAmountColumnGuid; }
  std::string ContractItemColumnGuid() const override { return kTitleColumnGuid; }
  std::string ProgressAmountColumnGuid() const override { return {}; }
  std::string ProgressAmountLastColumnGuid() const override { return {}; }
  std::string ProgressAmountThisColumnGuid() const override { return {}; }
  std::string ProgressAmountRemainingColumnGuid() const override { return {}; }
  std::string ProgressPercentColumnGuid() const override { return {}; }
  std::string ProgressPercentLastColumnGuid() const override { return {}; }
  std::string ProgressPercentThisColumnGuid() const override { return {}; }
  std::string ProgressPercentRemainingColumnGuid() const override { return {}; }
  std::string ProgressStatusColumnGuid() const override { return {}; }
  std::string ItemReferenceColumnGuid() const override { return kExternalNumberColumnGuid; }
  std::string ProviderPluralNameColumnGuid() const override { return {}; }
  Currency ContractAdditionsToDate(const std::string&, int32_t) const override { return {}; }
  Currency ContractDeletionsToDate(const std::string&, int32_t) const override { return {}; }
  Currency AdditionsProgressToDate(const std::string&, int32_t) const override { return {}; }
  Currency DeletionsProgressToDate(const std::string&, int32_t) const override { return {}; }
  bool CombineAdditionsAndDeletions() const override { return false; }
  bool RecordCertified(const std::string&, int32_t, const std::string&) const override {
    return false;
  }
  std::string ApplyHoldbackColumnGuid() const override { return kApplyHoldbackColumnGuid; }

  // IProviderForm, IProviderForm3: every change order is a form; page 2 always shows.
  std::string DescriptionColumnGuid() const override { return kTitleColumnGuid; }
  std::string FormTypeGuidByRecordGuid(const std::string&, int32_t,
                                       const std::string&) const override {
    return {};
  }
  std::string FormNumberByRecordGuid(const std::string&, int32_t,
                                     const std::string&) const override {
    return {};
  }
  std::string FormTypeColumnGuid() const override { return kFormTypeColumnGuid; }
  std::string FormNumberColumnGuid() const override { return kExternalNumberColumnGuid; }
  std::string FormattedFormValue(const std::string&, int32_t, const std::string&,
                                 const std::string&, int32_t) const override {
    return {};
  }
  std::string InUseFormTitleFromAbbreviation(const std::string&, int32_t,
                                             const std::string&) const override {
    return {};
  }
  std::string InUseFormAbbreviationFromTitle(const std::string&, int32_t,
                                             const std::string&) const override {
    return {};
  }
  std::string CommonFormAbbreviationFromTitle(const std::string&) const override { return {}; }
  std::string CommonFormTitleFromAbbreviation(const std::string&) const override { return {}; }
  bool IsIncoming(RoleId) const override { return false; }
  std::string GetDescriptionTextRtf(const std::string&, int32_t, const std::string&,
                                    e_FormDescriptionTextRtfType) const override {
    return {};
  }
  void SetDescriptionTextRtf(const std::string&, int32_t, const std::string&,
                             e_FormDescriptionTextRtfType, const std::string&) override {}
  bool AutoSavedDescriptionExists(const std::string&, int32_t, const std::string&) const override {
    return false;
  }
  std::shared_ptr<IObject> FormTypesAndNumbers(const std::string&, int32_t,
                                               const std::string&) const override {
    return nullptr;
  }
  bool AlwaysShowPage2() const override { return true; }
  std::shared_ptr<CFormInfo> DefaultFormInfo(const std::string&) const override { return nullptr; }
  std::string FormTypeTitleColumnGuid() const override { return kFormTypeTitleColumnGuid; }

  // IProviderStored, IProviderStored5: counters do not apply to a log kept elsewhere.
  bool CreateProjectTables(const std::shared_ptr<Connection>&) override { return false; }
  void RefreshViews() override {}
  bool RefreshViewsWithResult() override { return false; }
  std::shared_ptr<Recordset> GetRecordsPickList(const std::string&, int32_t,
                                                const std::string&) const override {
    return nullptr;
  }
  std::shared_ptr<Recordset> GetRecord(const std::string&, int32_t, const std::string&,
                                       const std::string&) const override {
    return nullptr;
  }
  std::shared_ptr<Recordset> GetRecordsAll(const std::string&, int32_t,
                                           const std::string&) const override {
    return nullptr;
  }
  std::shared_ptr<Recordset> GetRecordsSinceCounter(const std::string&, int32_t, const std::string&,
                                                    int32_t) const override {
    return nullptr;
  }
  int32_t CurrentUpdateCounter(const std::string&, int32_t) const override { return 0; }
  int32_t CurrentDeleteCounter(const std::string&, int32_t) const override { return 0; }
  std::shared_ptr<KeyedCollection> GetDeletedRecordGuidsSinceCounter(const std::string&, int32_t,
                                                                     int32_t) const override {
    return nullptr;
  }
  bool UpdateProjectTables(const std::string&) override { return false; }
  bool UpdateProjectTablesByStatement(const std::string&, int32_t) override { return false; }
  int32_t CurrentTableVersion() const override { return 1; }
  std::shared_ptr<KeyedCollection> DefaultNewItemRowValues(const std::string&,
                                                           int32_t) const override {
    return nullptr;
  }
  Variant DefaultNewItemRowValuesByRef(const std::string&, int32_t,
                                       const std::shared_ptr<KeyedCollection>&) override {
    return {};
  }
  std::string ReferenceDisplayString(const std::string&, int32_t,
                                     const std::string&) const override {
    return {};
  }
  std::string ReferenceDisplayStringShort(const std::string&, int32_t,
                                          const std::string&) const override {
    return {};
  }
  bool OtherProviderItemReferenced(const std::string&, int32_t, const std::string&,
                                   const std::string&) const override {
    return false;
  }
  void TouchRecord(const std::string&, int32_t, const std::string&) override {}
  void TouchAllRecords(const std::string&, int32_t) override {}
  void ProcessComputedColumns(const std::shared_ptr<Recordset>&, const std::string&,
                              int32_t) override {}
  int32_t UnfilteredRecordCount(const std::string&, int32_t) const override { return 0; }
  std::shared_ptr<CProviderTableDef> TableDef() const override { return nullptr; }
  bool RecordExistsByGuid(const std::string&, int32_t, const std::string&) const override {
    return false;
  }
  bool IgnoreCounters() const override { return true; }
  std::string MostRecentRecordGuid(const std::string&, int32_t) const override { return {}; }
  std::string ReferenceMask() const override { return kReferenceMask; }
  std::string ReferenceShortMask() const override { return kReferenceShortMask; }
  std::string ReferenceAttributesMask() const override { return kReferenceAttributesMask; }

  // IProviderUpdate2
  bool UpdateField(const std::string&, int32_t, const std::string&, const Variant&, int32_t,
                   const std::shared_ptr<Recordset>&,
                   const std::shared_ptr<KeyedCollection>&) override {
    return false;
  }

  // IProviderNotable, IProviderNotable2
  void SaveNote(const std::string&, int32_t, const std::string&, const std::string&) override {}
  std::string GetNote(const std::string&, int32_t, const std::string&) const override { return {}; }
  std::string NotesColumnGuid() const override { return kNotesColumnGuid; }
  std::string HasNotesColumnGuid() const override { return kHasNotesColumnGuid; }

  // IProviderChild: a change order hangs under a contract item of another provider.
  std::shared_ptr<CProviderParentReference> TopLevelParentReference(
      const std::string&, int32_t, const std::string&) const override {
    return nullptr;
  }
  std::string TopLevelParentReferenceRecordGuid(const std::string&, int32_t,
                                                const std::string&) const override {
    return {};
  }
  bool IsTopLevelParentReferenced(const std::string&, int32_t, const std::string&) const override {
    return false;
  }
  std::string TopLevelParentReferencedFormTypesAndNumbers(const std::string&, int32_t,
                                                          const std::string&) const override {
    return {};
  }
  std::string ItemTitleOrParentItemTitle(const std::string&, int32_t,
                                         const std::string&) const override {
    return {};
  }
  std::shared_ptr<CProvidersCollection> ParentProviders() const override { return nullptr; }
  std::shared_ptr<KeyedCollection> ParentProviderGuids() const override { return nullptr; }
  void TouchRecordsByTopLevelParentReferenceRecordGuid(const std::string&, int32_t,
                                                       const std::string&) override {}
  void TouchRecordsByParentReferenceRecordGuid(const std::string&, int32_t,
                                               const std::string&) override {}
  void InsertParentReferences(const std::string&, int32_t) override {}
  bool AncestorReferenced(const std::string&, int32_t, const std::string&,
                          const std::string&) const override {
    return false;
  }
  std::string AncestorReferenceStringShort(const std::string&, int32_t, const std::string&,
                                           const std::string&) const override {
    return {};
  }
  std::string LinkedFieldsTableName() const override { return {}; }

  // IProviderTyped, IProviderPhaseable
  std::shared_ptr<KeyedCollection> TypesCollection(const std::string&, int32_t) const override {
    return nullptr;
  }
  std::string TypeColumnGuid() const override { return kTypeColumnGuid; }
  std::string ItemPhase(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  std::string PhaseColumnGuid() const override { return kPhaseColumnGuid; }

  // IProviderContacter2 without IProviderContacter: signatures, but no contact references.
  std::string OwnerSignedColumnGuid() const override { return kOwnerSignedColumnGuid; }
  std::string BuilderSignedColumnGuid() const override { return kBuilderSignedColumnGuid; }
  std::string DesignerSignedColumnGuid() const override { return kDesignerSignedColumnGuid; }
  std::string ContractAdminSignedColumnGuid() const override {
    return kContractAdminSignedColumnGuid;
  }
  std::shared_ptr<KeyedCollection> ComputedContactColumnGuids() const override { return nullptr; }

  // IProviderExternalNumbered
  std::string ExternalNumberColumnGuid() const override { return kExternalNumberColumnGuid; }
  std::string ItemExternalNumber(const std::string&, int32_t, const std::string&) const override {
    return {};
  }

  // IProviderSearch
  std::shared_ptr<Recordset> GetSearchResults(const std::string&, int32_t, const std::string&,
                                              e_SearchExtrasFlags) const override {
    return nullptr;
  }
  std::shared_ptr<CProviderView> SearchableView() const override { return nullptr; }

  // IProviderTemplate, IProviderDivided, IProviderUPrice
  std::vector<std::string> RequiredSupportedProviderGuids() const override { return {}; }
  void PostProcessImportedTemplateData(const std::string&, int32_t, const std::string&,
                                       int32_t) override {}
  std::shared_ptr<KeyedCollection> GetDivisionInfos(const std::string&, int32_t) const override {
    return nullptr;
  }
  std::string TotalAmountColumnGuid() const override { return kAmountColumnGuid; }
  std::string UnitsColumnGuid() const override { return {}; }
  std::string QuantityColumnGuid() const override { return {}; }
  std::string UnitAmountColumnGuid() const override { return {}; }

  // IProviderDraftable
  std::string CreateDraft(const std::string&, const std::string&, int32_t,
                          const std::shared_ptr<KeyedCollection>&,
                          const std::shared_ptr<KeyedCollection>&) override {
    return {};
  }
  bool HasDraft(const std::string&, int32_t) const override { return false; }
  void PromoteDraft(const std::string&, const std::string&, int32_t, const std::string&) override {}

  // IProviderReferencer, IProviderReferencer2
  std::shared_ptr<KeyedCollection> ReferencedProviders() const override { return nullptr; }
  std::shared_ptr<KeyedCollection> ReferenceColumnInfos() const override { return nullptr; }
  void TouchReferencedRecords(const std::string&, int32_t,
                              const std::shared_ptr<KeyedCollection>&) override {}
  std::shared_ptr<KeyedCollection> ReferencedProviderAndRecordGuidsByRecordGuid(
      const std::string&, int32_t, const std::string&) const override {
    return nullptr;
  }
  std::shared_ptr<KeyedCollection> ReferenceInfos() const override { return nullptr; }

  // IProviderReasonable, IProviderReasonable2
  std::string ReasonColumnGuid() const override { return kReasonColumnGuid; }
  std::string ReasonTitle(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  std::string ReasonAbbreviation(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  std::string ReasonGuid(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  void ReasonTouched(const std::string&, int32_t, const std::string&) override {}
  std::string ReasonTitleColumnGuid() const override { return kReasonTitleColumnGuid; }

  // IProviderDated, IProviderDisciplined, IProviderEmail
  std::string PrimaryDateColumnGuid() const override { return kDateColumnGuid; }
  std::string PrimaryDateSql(const std::string&, const std::string&) const override { return {}; }
  std::string DisciplineAbbreviationsColumnGuid() const override {
    return kDisciplineAbbreviationsColumnGuid;
  }
  std::string DisciplineTitlesColumnGuid() const override { return kDisciplineTitlesColumnGuid; }
  std::string DisciplineTitles(const std::string&, int32_t, const std::string&,
                               const std::string&) const override {
    return {};
  }
  std::string DisciplineAbbreviations(const std::string&, int32_t, const std::string&,
                                      const std::string&) const override {
    return {};
  }
  std::string ItemDisciplineGuids(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  void DisciplineTouched(const std::string&, int32_t, const std::string&) override {}
  std::string EmailCountColumnGuid() const override { return kEmailCountColumnGuid; }

 private:
  std::shared_ptr<CProviderColDefs> columns_;
  std::shared_ptr<CProviderViews> views_;
};

}  // namespace
}  // namespace change_order_log

// The entry points a host finds: the contract version and the factories.
PRVDRINFO_PROVIDER_MODULE(change_order_log::ChangeOrderLog, change_order_log::kClassName)
