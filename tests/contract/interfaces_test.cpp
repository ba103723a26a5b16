// The provider contract as a module sees it: every member reaches its own slot, a slot
// that is not overridden answers the empty value and touches nothing, and an object answers
// only to the interfaces it derives from.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/contract/provider_interfaces.h"

namespace prvdrinfo {
namespace {

void ExpectEmpty(const std::string& v) { EXPECT_TRUE(v.empty()); }
void ExpectEmpty(int32_t v) { EXPECT_EQ(v, 0); }
void ExpectEmpty(bool v) { EXPECT_FALSE(v); }
void ExpectEmpty(Currency v) { EXPECT_EQ(v, Currency{}); }
void ExpectEmpty(const Variant& v) { EXPECT_TRUE(v.IsEmpty()); }
void ExpectEmpty(const Bytes& v) { EXPECT_TRUE(v.empty()); }
void ExpectEmpty(const std::vector<std::string>& v) { EXPECT_TRUE(v.empty()); }
template <class E>
requires std::is_enum_v<E>
void ExpectEmpty(E v) { EXPECT_EQ(static_cast<int32_t>(v), 0); }

// Implements every interface and overrides nothing.
struct Bare : public IProviderInfo,
              public IProviderInfo2,
              public IProviderInfo3,
              public IProviderStored,
              public IProviderStored2,
              public IProviderStored3,
              public IProviderStored4,
              public IProviderStored5,
              public IProviderStored6,
              public IProviderStored7,
              public IProviderStored8,
              public IProviderStored9,
              public IProviderStored10,
              public IProviderStored11,
              public IProviderInsert,
              public IProviderDraftable,
              public IProviderUpdate,
              public IProviderUpdate2,
              public IProviderDelete,
              public IProviderDelete2,
              public IProviderCertify,
              public IProviderCertify2,
              public IProviderCertify3,
              public IProviderCertify4,
              public IProviderCertify5,
              public IProviderCertify6,
              public IProviderForm,
              public IProviderForm2,
              public IProviderForm3,
              public IProviderChild,
              public IProviderChild2,
              public IProviderChild3,
              public IProviderContacter,
              public IProviderContacter2,
              public IProviderContacter3,
              public IProviderContacter4,
              public IProviderAttach,
              public IProviderAttach2,
              public IProviderAttach3,
              public IProviderReasonable,
              public IProviderReasonable2,
              public IProviderNotable,
              public IProviderNotable2,
              public IProviderReferencer,
              public IProviderReferencer2,
              public IProviderNumbered,
              public IProviderNumbered2,
              public IProviderExternalNumbered,
              public IProviderTyped,
              public IProviderTyped2,
              public IProviderTitled,
              public IProviderTitled2,
              public IProviderPhaseable,
              public IProviderDated,
              public IProviderDisciplined,
              public IProviderViewable,
              public IProviderViewable2,
              public IProviderViewable3,
              public IProviderColumnList,
              public IProviderColumnList2,
              public IProviderFormat,
              public IProviderSearch,
              public IProviderTabStats,
              public IProviderTemplate,
              public IProviderDivided,
              public IProviderUPrice,
              public IProviderApprover,
              public IProviderEmail,
              public IProviderSubList,
              public IProviderDescendable,
              public IProviderRecordStatus {};

// Implements every interface; each slot records its own name.
struct Recorder : public IProviderInfo,
                  public IProviderInfo2,
                  public IProviderInfo3,
                  public IProviderStored,
                  public IProviderStored2,
                  public IProviderStored3,
                  public IProviderStored4,
                  public IProviderStored5,
                  public IProviderStored6,
                  public IProviderStored7,
                  public IProviderStored8,
                  public IProviderStored9,
                  public IProviderStored10,
                  public IProviderStored11,
                  public IProviderInsert,
                  public IProviderDraftable,
                  public IProviderUpdate,
                  public IProviderUpdate2,
                  public IProviderDelete,
                  public IProviderDelete2,
                  public IProviderCertify,
                  public IProviderCertify2,
                  public IProviderCertify3,
                  public IProviderCertify4,
                  public IProviderCertify5,
                  public IProviderCertify6,
                  public IProviderForm,
                  public IProviderForm2,
                  public IProviderForm3,
                  public IProviderChild,
                  public IProviderChild2,
                  public IProviderChild3,
                  public IProviderContacter,
                  public IProviderContacter2,
                  public IProviderContacter3,
                  public IProviderContacter4,
                  public IProviderAttach,
                  public IProviderAttach2,
                  public IProviderAttach3,
                  public IProviderReasonable,
                  public IProviderReasonable2,
                  public IProviderNotable,
                  public IProviderNotable2,
                  public IProviderReferencer,
                  public IProviderReferencer2,
                  public IProviderNumbered,
                  public IProviderNumbered2,
                  public IProviderExternalNumbered,
                  public IProviderTyped,
                  public IProviderTyped2,
                  public IProviderTitled,
                  public IProviderTitled2,
                  public IProviderPhaseable,
                  public IProviderDated,
                  public IProviderDisciplined,
                  public IProviderViewable,
                  public IProviderViewable2,
                  public IProviderViewable3,
                  public IProviderColumnList,
                  public IProviderColumnList2,
                  public IProviderFormat,
                  public IProviderSearch,
                  public IProviderTabStats,
                  public IProviderTemplate,
                  public IProviderDivided,
                  public IProviderUPrice,
                  public IProviderApprover,
                  public IProviderEmail,
                  public IProviderSubList,
                  public IProviderDescendable,
                  public IProviderRecordStatus {
  std::vector<std::string> calls;

 protected:
  bool IProviderInfo_SupportsForms() override {
    calls.push_back("IProviderInfo.SupportsForms");
    return {};
  }
  std::shared_ptr<CProviderView> IProviderInfo_DefaultViewDefinition() override {
    calls.push_back("IProviderInfo.DefaultViewDefinition");
    return {};
  }
  std::string IProviderInfo_Guid() override {
    calls.push_back("IProviderInfo.Guid");
    return {};
  }
  std::string IProviderInfo_DllName() override {
    calls.push_back("IProviderInfo.DllName");
    return {};
  }
  std::string IProviderInfo_ClassName() override {
    calls.push_back("IProviderInfo.ClassName");
    return {};
  }
  e_ProviderCategory IProviderInfo_Category() override {
    calls.push_back("IProviderInfo.Category");
    return {};
  }
  std::string IProviderInfo_PluralName(e_LocaleId, RoleId) override {
    calls.push_back("IProviderInfo.PluralName");
    return {};
  }
  std::string IProviderInfo_SingularName(e_LocaleId, RoleId) override {
    calls.push_back("IProviderInfo.SingularName");
    return {};
  }
  std::string IProviderInfo_CommonPluralName(e_LocaleId, RoleId) override {
    calls.push_back("IProviderInfo.CommonPluralName");
    return {};
  }
  std::string IProviderInfo_CommonSingularName(e_LocaleId, RoleId) override {
    calls.push_back("IProviderInfo.CommonSingularName");
    return {};
  }
  std::shared_ptr<CProvidersCollection> IProviderInfo_RequiredPopulatedProviders() override {
    calls.push_back("IProviderInfo.RequiredPopulatedProviders");
    return {};
  }
  std::shared_ptr<CProviderViews> IProviderInfo_Views() override {
    calls.push_back("IProviderInfo.Views");
    return {};
  }
  void IProviderInfo_SetViews(const std::shared_ptr<CProviderViews>&) override {
    calls.push_back("IProviderInfo.SetViews");
  }
  std::shared_ptr<CProviderColDefs> IProviderInfo_Columns() override {
    calls.push_back("IProviderInfo.Columns");
    return {};
  }
  Bytes IProviderInfo_Serialize() override {
    calls.push_back("IProviderInfo.Serialize");
    return {};
  }
  void IProviderInfo_Deserialize(const Bytes&) override {
    calls.push_back("IProviderInfo.Deserialize");
  }
  std::string IProviderInfo_Description() override {
    calls.push_back("IProviderInfo.Description");
    return {};
  }
  void IProviderInfo_InitializeProperties() override {
    calls.push_back("IProviderInfo.InitializeProperties");
  }
  void IProviderInfo2_InitFromCachedProviderInfo(const std::shared_ptr<IProviderInfo>&) override {
    calls.push_back("IProviderInfo2.InitFromCachedProviderInfo");
  }
  void IProviderInfo3_DeserializeInternal(const Variant&) override {
    calls.push_back("IProviderInfo3.DeserializeInternal");
  }
  Variant IProviderInfo3_SerializeInternal() override {
    calls.push_back("IProviderInfo3.SerializeInternal");
    return {};
  }
  bool IProviderStored_CreateProjectTables(const std::shared_ptr<Connection>&) override {
    calls.push_back("IProviderStored.CreateProjectTables");
    return {};
  }
  void IProviderStored_RefreshViews() override { calls.push_back("IProviderStored.RefreshViews"); }
  bool IProviderStored_RefreshViewsWithResult() override {
    calls.push_back("IProviderStored.RefreshViewsWithResult");
    return {};
  }
  std::shared_ptr<Recordset> IProviderStored_GetRecordsPickList(const std::string&, int32_t,
                                                                const std::string&) override {
    calls.push_back("IProviderStored.GetRecordsPickList");
    return {};
  }
  std::shared_ptr<Recordset> IProviderStored_GetRecord(const std::string&, int32_t,
                                                       const std::string&,
                                                       const std::string&) override {
    calls.push_back("IProviderStored.GetRecord");
    return {};
  }
  std::shared_ptr<Recordset> IProviderStored_GetRecordsAll(const std::string&, int32_t,
                                                           const std::string&) override {
    calls.push_back("IProviderStored.GetRecordsAll");
    return {};
  }
  std::shared_ptr<Recordset> IProviderStored_GetRecordsSinceCounter(const std::string&, int32_t,
                                                                    const std::string&,
                                                                    int32_t) override {
    calls.push_back("IProviderStored.GetRecordsSinceCounter");
    return {};
  }
  int32_t IProviderStored_CurrentUpdateCounter(const std::string&, int32_t) override {
    calls.push_back("IProviderStored.CurrentUpdateCounter");
    return {};
  }
  int32_t IProviderStored_CurrentDeleteCounter(const std::string&, int32_t) override {
    calls.push_back("IProviderStored.CurrentDeleteCounter");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderStored_GetDeletedRecordGuidsSinceCounter(
      const std::string&, int32_t, int32_t) override {
    calls.push_back("IProviderStored.GetDeletedRecordGuidsSinceCounter");
    return {};
  }
  bool IProviderStored_UpdateProjectTables(const std::string&) override {
    calls.push_back("IProviderStored.UpdateProjectTables");
    return {};
  }
  bool IProviderStored_UpdateProjectTablesByStatement(const std::string&, int32_t) override {
    calls.push_back("IProviderStored.UpdateProjectTablesByStatement");
    return {};
  }
  int32_t IProviderStored_CurrentTableVersion() override {
    calls.push_back("IProviderStored.CurrentTableVersion");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderStored_DefaultNewItemRowValues(const std::string&,
                                                                           int32_t) override {
    calls.push_back("IProviderStored.DefaultNewItemRowValues");
    return {};
  }
  Variant IProviderStored_DefaultNewItemRowValuesByRef(
      const std::string&, int32_t, const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderStored.DefaultNewItemRowValuesByRef");
    return {};
  }
  std::string IProviderStored_ReferenceDisplayString(const std::string&, int32_t,
                                                     const std::string&) override {
    calls.push_back("IProviderStored.ReferenceDisplayString");
    return {};
  }
  std::string IProviderStored_ReferenceDisplayStringShort(const std::string&, int32_t,
                                                          const std::string&) override {
    calls.push_back("IProviderStored.ReferenceDisplayStringShort");
    return {};
  }
  bool IProviderStored_OtherProviderItemReferenced(const std::string&, int32_t, const std::string&,
                                                   const std::string&) override {
    calls.push_back("IProviderStored.OtherProviderItemReferenced");
    return {};
  }
  void IProviderStored_TouchRecord(const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderStored.TouchRecord");
  }
  void IProviderStored_TouchAllRecords(const std::string&, int32_t) override {
    calls.push_back("IProviderStored.TouchAllRecords");
  }
  void IProviderStored_ProcessComputedColumns(const std::shared_ptr<Recordset>&, const std::string&,
                                              int32_t) override {
    calls.push_back("IProviderStored.ProcessComputedColumns");
  }
  int32_t IProviderStored_UnfilteredRecordCount(const std::string&, int32_t) override {
    calls.push_back("IProviderStored.UnfilteredRecordCount");
    return {};
  }
  std::shared_ptr<CProviderTableDef> IProviderStored_TableDef() override {
    calls.push_back("IProviderStored.TableDef");
    return {};
  }
  bool IProviderStored_RecordExistsByGuid(const std::string&, int32_t,
                                          const std::string&) override {
    calls.push_back("IProviderStored.RecordExistsByGuid");
    return {};
  }
  bool IProviderStored_IgnoreCounters() override {
    calls.push_back("IProviderStored.IgnoreCounters");
    return {};
  }
  std::string IProviderStored_MostRecentRecordGuid(const std::string&, int32_t) override {
    calls.push_back("IProviderStored.MostRecentRecordGuid");
    return {};
  }
  std::string IProviderStored2_GetComputedColumnSql(const std::string&) override {
    calls.push_back("IProviderStored2.GetComputedColumnSql");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderStored2_ComputedColumnRequiredColumns(
      const std::string&) override {
    calls.push_back("IProviderStored2.ComputedColumnRequiredColumns");
    return {};
  }
  std::shared_ptr<IBaseColumnDef> IProviderStored2_ColumnDefinition(const std::string&) override {
    calls.push_back("IProviderStored2.ColumnDefinition");
    return {};
  }
  void IProviderStored3_TouchRecordsWhere(const std::string&, int32_t,
                                          const std::string&) override {
    calls.push_back("IProviderStored3.TouchRecordsWhere");
  }
  std::string IProviderStored4_ReferenceDateIso8601(const std::string&, int32_t,
                                                    const std::string&) override {
    calls.push_back("IProviderStored4.ReferenceDateIso8601");
    return {};
  }
  std::string IProviderStored5_ReferenceMask() override {
    calls.push_back("IProviderStored5.ReferenceMask");
    return {};
  }
  std::string IProviderStored5_ReferenceShortMask() override {
    calls.push_back("IProviderStored5.ReferenceShortMask");
    return {};
  }
  std::string IProviderStored5_ReferenceAttributesMask() override {
    calls.push_back("IProviderStored5.ReferenceAttributesMask");
    return {};
  }
  bool IProviderStored6_IsCellEditable(const std::string&, int32_t, const std::string&,
                                       const std::string&) override {
    calls.push_back("IProviderStored6.IsCellEditable");
    return {};
  }
  std::string IProviderStored7_ItemReferenceStringSql(
      const std::shared_ptr<IProviderInfo>&) override {
    calls.push_back("IProviderStored7.ItemReferenceStringSql");
    return {};
  }
  std::string IProviderStored7_ItemReferenceStringShortSql(
      const std::shared_ptr<IProviderInfo>&) override {
    calls.push_back("IProviderStored7.ItemReferenceStringShortSql");
    return {};
  }
  std::string IProviderStored8_ItemReferenceStringMinimalSql(const std::string&,
                                                             const std::string&) override {
    calls.push_back("IProviderStored8.ItemReferenceStringMinimalSql");
    return {};
  }
  bool IProviderStored9_IsVirtual() override {
    calls.push_back("IProviderStored9.IsVirtual");
    return {};
  }
  std::shared_ptr<Recordset> IProviderStored10_GetRecordsAllByView(
      const std::string&, int32_t, const std::shared_ptr<CProviderView>&) override {
    calls.push_back("IProviderStored10.GetRecordsAllByView");
    return {};
  }
  Variant IProviderStored11_GetColumnAggregateValue(const std::string&, int32_t, const std::string&,
                                                    const std::shared_ptr<Recordset>&) override {
    calls.push_back("IProviderStored11.GetColumnAggregateValue");
    return {};
  }
  std::string IProviderInsert_InsertRecord(const std::string&, const std::string&, int32_t,
                                           const std::shared_ptr<KeyedCollection>&,
                                           const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderInsert.InsertRecord");
    return {};
  }
  e_DatabaseErrorLevel IProviderInsert_InsertRecordErrorLevel(int32_t) override {
    calls.push_back("IProviderInsert.InsertRecordErrorLevel");
    return {};
  }
  bool IProviderInsert_RequireExclusiveProjectAccessForInsert() override {
    calls.push_back("IProviderInsert.RequireExclusiveProjectAccessForInsert");
    return {};
  }
  std::string IProviderDraftable_CreateDraft(const std::string&, const std::string&, int32_t,
                                             const std::shared_ptr<KeyedCollection>&,
                                             const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderDraftable.CreateDraft");
    return {};
  }
  bool IProviderDraftable_HasDraft(const std::string&, int32_t) override {
    calls.push_back("IProviderDraftable.HasDraft");
    return {};
  }
  void IProviderDraftable_PromoteDraft(const std::string&, const std::string&, int32_t,
                                       const std::string&) override {
    calls.push_back("IProviderDraftable.PromoteDraft");
  }
  bool IProviderUpdate_UpdateField(const std::string&, const std::string&, int32_t,
                                   const std::string&, const std::string&,
                                   const std::string&) override {
    calls.push_back("IProviderUpdate.UpdateField");
    return {};
  }
  bool IProviderUpdate_UpdateField2(const std::string&, int32_t, const std::string&,
                                    const std::string&, const std::string&,
                                    const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderUpdate.UpdateField2");
    return {};
  }
  e_DatabaseErrorLevel IProviderUpdate_UpdateFieldErrorLevel(int32_t) override {
    calls.push_back("IProviderUpdate.UpdateFieldErrorLevel");
    return {};
  }
  bool IProviderUpdate2_UpdateField(const std::string&, int32_t, const std::string&, const Variant&,
                                    int32_t, const std::shared_ptr<Recordset>&,
                                    const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderUpdate2.UpdateField");
    return {};
  }
  void IProviderDelete_DeleteRecords(const std::string&, int32_t,
                                     const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderDelete.DeleteRecords");
  }
  e_DatabaseErrorLevel IProviderDelete_DeleteRecordsErrorLevel(int32_t) override {
    calls.push_back("IProviderDelete.DeleteRecordsErrorLevel");
    return {};
  }
  DeleteErrorCode IProviderDelete_DeleteRecordErrorCodeNonStandard(const std::string&, int32_t,
                                                                   const std::string&) override {
    calls.push_back("IProviderDelete.DeleteRecordErrorCodeNonStandard");
    return {};
  }
  bool IProviderDelete_RequireExclusiveProjectAccessForDelete() override {
    calls.push_back("IProviderDelete.RequireExclusiveProjectAccessForDelete");
    return {};
  }
  void IProviderDelete2_DeleteRecords(const std::string&, const std::string&, int32_t,
                                      const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderDelete2.DeleteRecords");
  }
  std::shared_ptr<Recordset> IProviderCertify_CertifiableRecords(const std::string&,
                                                                 int32_t) override {
    calls.push_back("IProviderCertify.CertifiableRecords");
    return {};
  }
  std::shared_ptr<Recordset> IProviderCertify_CertifiableRecordsSinceCounter(const std::string&,
                                                                             int32_t,
                                                                             int32_t) override {
    calls.push_back("IProviderCertify.CertifiableRecordsSinceCounter");
    return {};
  }
  std::string IProviderCertify_ContractAmountColumnGuid() override {
    calls.push_back("IProviderCertify.ContractAmountColumnGuid");
    return {};
  }
  std::string IProviderCertify_ContractItemColumnGuid() override {
    calls.push_back("IProviderCertify.ContractItemColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressAmountColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressAmountColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressAmountLastColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressAmountLastColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressAmountThisColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressAmountThisColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressAmountRemainingColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressAmountRemainingColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressPercentColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressPercentColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressPercentLastColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressPercentLastColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressPercentThisColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressPercentThisColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressPercentRemainingColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressPercentRemainingColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProgressStatusColumnGuid() override {
    calls.push_back("IProviderCertify.ProgressStatusColumnGuid");
    return {};
  }
  std::string IProviderCertify_ItemReferenceColumnGuid() override {
    calls.push_back("IProviderCertify.ItemReferenceColumnGuid");
    return {};
  }
  std::string IProviderCertify_ProviderPluralNameColumnGuid() override {
    calls.push_back("IProviderCertify.ProviderPluralNameColumnGuid");
    return {};
  }
  Currency IProviderCertify_ContractAdditionsToDate(const std::string&, int32_t) override {
    calls.push_back("IProviderCertify.ContractAdditionsToDate");
    return {};
  }
  Currency IProviderCertify_ContractDeletionsToDate(const std::string&, int32_t) override {
    calls.push_back("IProviderCertify.ContractDeletionsToDate");
    return {};
  }
  Currency IProviderCertify_AdditionsProgressToDate(const std::string&, int32_t) override {
    calls.push_back("IProviderCertify.AdditionsProgressToDate");
    return {};
  }
  Currency IProviderCertify_DeletionsProgressToDate(const std::string&, int32_t) override {
    calls.push_back("IProviderCertify.DeletionsProgressToDate");
    return {};
  }
  bool IProviderCertify_CombineAdditionsAndDeletions() override {
    calls.push_back("IProviderCertify.CombineAdditionsAndDeletions");
    return {};
  }
  bool IProviderCertify_RecordCertified(const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderCertify.RecordCertified");
    return {};
  }
  Variant IProviderCertify2_ContractAmountFieldSql(const std::string&, int32_t) override {
    calls.push_back("IProviderCertify2.ContractAmountFieldSql");
    return {};
  }
  std::string IProviderCertify3_ApplyHoldbackColumnGuid() override {
    calls.push_back("IProviderCertify3.ApplyHoldbackColumnGuid");
    return {};
  }
  std::string IProviderCertify4_TitleColumnGuid() override {
    calls.push_back("IProviderCertify4.TitleColumnGuid");
    return {};
  }
  std::string IProviderCertify4_TypeColumnGuid() override {
    calls.push_back("IProviderCertify4.TypeColumnGuid");
    return {};
  }
  std::string IProviderCertify4_NumberColumnGuid() override {
    calls.push_back("IProviderCertify4.NumberColumnGuid");
    return {};
  }
  std::string IProviderCertify4_EffectColumnGuid() override {
    calls.push_back("IProviderCertify4.EffectColumnGuid");
    return {};
  }
  std::string IProviderCertify5_ExternalNumberColumnGuid() override {
    calls.push_back("IProviderCertify5.ExternalNumberColumnGuid");
    return {};
  }
  std::string IProviderCertify5_AccountColumnGuid() override {
    calls.push_back("IProviderCertify5.AccountColumnGuid");
    return {};
  }
  Currency IProviderCertify6_ApprovedProgressAmountToDateByTaxType(const std::string&, int32_t,
                                                                   const std::string&) override {
    calls.push_back("IProviderCertify6.ApprovedProgressAmountToDateByTaxType");
    return {};
  }
  Currency IProviderCertify6_ApprovedProgressAmountLastByTaxType(const std::string&, int32_t,
                                                                 const std::string&) override {
    calls.push_back("IProviderCertify6.ApprovedProgressAmountLastByTaxType");
    return {};
  }
  Currency IProviderCertify6_ApprovedProgressAmountThisByTaxType(const std::string&, int32_t,
                                                                 const std::string&) override {
    calls.push_back("IProviderCertify6.ApprovedProgressAmountThisByTaxType");
    return {};
  }
  std::string IProviderForm_DescriptionColumnGuid() override {
    calls.push_back("IProviderForm.DescriptionColumnGuid");
    return {};
  }
  std::string IProviderForm_FormTypeGuidByRecordGuid(const std::string&, int32_t,
                                                     const std::string&) override {
    calls.push_back("IProviderForm.FormTypeGuidByRecordGuid");
    return {};
  }
  std::string IProviderForm_FormNumberByRecordGuid(const std::string&, int32_t,
                                                   const std::string&) override {
    calls.push_back("IProviderForm.FormNumberByRecordGuid");
    return {};
  }
  std::string IProviderForm_FormTypeColumnGuid() override {
    calls.push_back("IProviderForm.FormTypeColumnGuid");
    return {};
  }
  std::string IProviderForm_FormNumberColumnGuid() override {
    calls.push_back("IProviderForm.FormNumberColumnGuid");
    return {};
  }
  std::string IProviderForm_FormattedFormValue(const std::string&, int32_t, const std::string&,
                                               const std::string&, int32_t) override {
    calls.push_back("IProviderForm.FormattedFormValue");
    return {};
  }
  std::string IProviderForm_InUseFormTitleFromAbbreviation(const std::string&, int32_t,
                                                           const std::string&) override {
    calls.push_back("IProviderForm.InUseFormTitleFromAbbreviation");
    return {};
  }
  std::string IProviderForm_InUseFormAbbreviationFromTitle(const std::string&, int32_t,
                                                           const std::string&) override {
    calls.push_back("IProviderForm.InUseFormAbbreviationFromTitle");
    return {};
  }
  std::string IProviderForm_CommonFormAbbreviationFromTitle(const std::string&) override {
    calls.push_back("IProviderForm.CommonFormAbbreviationFromTitle");
    return {};
  }
  std::string IProviderForm_CommonFormTitleFromAbbreviation(const std::string&) override {
    calls.push_back("IProviderForm.CommonFormTitleFromAbbreviation");
    return {};
  }
  bool IProviderForm_IsIncoming(RoleId) override {
    calls.push_back("IProviderForm.IsIncoming");
    return {};
  }
  std::string IProviderForm_GetDescriptionTextRtf(const std::string&, int32_t, const std::string&,
                                                  e_FormDescriptionTextRtfType) override {
    calls.push_back("IProviderForm.GetDescriptionTextRtf");
    return {};
  }
  void IProviderForm_SetDescriptionTextRtf(const std::string&, int32_t, const std::string&,
                                           e_FormDescriptionTextRtfType,
                                           const std::string&) override {
    calls.push_back("IProviderForm.SetDescriptionTextRtf");
  }
  bool IProviderForm_AutoSavedDescriptionExists(const std::string&, int32_t,
                                                const std::string&) override {
    calls.push_back("IProviderForm.AutoSavedDescriptionExists");
    return {};
  }
  std::shared_ptr<IObject> IProviderForm_FormTypesAndNumbers(const std::string&, int32_t,
                                                             const std::string&) override {
    calls.push_back("IProviderForm.FormTypesAndNumbers");
    return {};
  }
  bool IProviderForm_AlwaysShowPage2() override {
    calls.push_back("IProviderForm.AlwaysShowPage2");
    return {};
  }
  std::shared_ptr<CFormInfo> IProviderForm_DefaultFormInfo(const std::string&) override {
    calls.push_back("IProviderForm.DefaultFormInfo");
    return {};
  }
  bool IProviderForm2_ColumnSupportsFormFormatting(const std::string&) override {
    calls.push_back("IProviderForm2.ColumnSupportsFormFormatting");
    return {};
  }
  std::string IProviderForm3_FormTypeTitleColumnGuid() override {
    calls.push_back("IProviderForm3.FormTypeTitleColumnGuid");
    return {};
  }
  std::shared_ptr<CProviderParentReference> IProviderChild_TopLevelParentReference(
      const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderChild.TopLevelParentReference");
    return {};
  }
  std::string IProviderChild_TopLevelParentReferenceRecordGuid(const std::string&, int32_t,
                                                               const std::string&) override {
    calls.push_back("IProviderChild.TopLevelParentReferenceRecordGuid");
    return {};
  }
  bool IProviderChild_IsTopLevelParentReferenced(const std::string&, int32_t,
                                                 const std::string&) override {
    calls.push_back("IProviderChild.IsTopLevelParentReferenced");
    return {};
  }
  std::string IProviderChild_TopLevelParentReferencedFormTypesAndNumbers(
      const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderChild.TopLevelParentReferencedFormTypesAndNumbers");
    return {};
  }
  std::string IProviderChild_ItemTitleOrParentItemTitle(const std::string&, int32_t,
                                                        const std::string&) override {
    calls.push_back("IProviderChild.ItemTitleOrParentItemTitle");
    return {};
  }
  std::shared_ptr<CProvidersCollection> IProviderChild_ParentProviders() override {
    calls.push_back("IProviderChild.ParentProviders");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderChild_ParentProviderGuids() override {
    calls.push_back("IProviderChild.ParentProviderGuids");
    return {};
  }
  std::string IProviderChild_ParentRecordGuidColumnGuid() override {
    calls.push_back("IProviderChild.ParentRecordGuidColumnGuid");
    return {};
  }
  std::string IProviderChild_ParentProviderGuidColumnGuid() override {
    calls.push_back("IProviderChild.ParentProviderGuidColumnGuid");
    return {};
  }
  void IProviderChild_TouchRecordsByTopLevelParentReferenceRecordGuid(const std::string&, int32_t,
                                                                      const std::string&) override {
    calls.push_back("IProviderChild.TouchRecordsByTopLevelParentReferenceRecordGuid");
  }
  void IProviderChild_TouchRecordsByParentReferenceRecordGuid(const std::string&, int32_t,
                                                              const std::string&) override {
    calls.push_back("IProviderChild.TouchRecordsByParentReferenceRecordGuid");
  }
  void IProviderChild_InsertParentReferences(const std::string&, int32_t) override {
    calls.push_back("IProviderChild.InsertParentReferences");
  }
  bool IProviderChild_AncestorReferenced(const std::string&, int32_t, const std::string&,
                                         const std::string&) override {
    calls.push_back("IProviderChild.AncestorReferenced");
    return {};
  }
  std::string IProviderChild_AncestorReferenceStringShort(const std::string&, int32_t,
                                                          const std::string&,
                                                          const std::string&) override {
    calls.push_back("IProviderChild.AncestorReferenceStringShort");
    return {};
  }
  std::string IProviderChild_LinkedFieldsTableName() override {
    calls.push_back("IProviderChild.LinkedFieldsTableName");
    return {};
  }
  std::string IProviderChild2_InsertParentReferencesSql() override {
    calls.push_back("IProviderChild2.InsertParentReferencesSql");
    return {};
  }
  std::string IProviderChild3_AncestorReferenceDateIso8601(const std::string&, int32_t,
                                                           const std::string&,
                                                           const std::string&) override {
    calls.push_back("IProviderChild3.AncestorReferenceDateIso8601");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderContacter_ReferencedContactGuids(const std::string&,
                                                                             int32_t) override {
    calls.push_back("IProviderContacter.ReferencedContactGuids");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderContacter_ReferencedContactGuidsByColumnGuid(
      const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderContacter.ReferencedContactGuidsByColumnGuid");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderContacter_ContactPrimaryColumnGuids() override {
    calls.push_back("IProviderContacter.ContactPrimaryColumnGuids");
    return {};
  }
  void IProviderContacter_TranslateContactGuids(const std::string&,
                                                const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderContacter.TranslateContactGuids");
  }
  std::string IProviderContacter_SelectDistinctContactGuidsSql() override {
    calls.push_back("IProviderContacter.SelectDistinctContactGuidsSql");
    return {};
  }
  std::string IProviderContacter2_OwnerSignedColumnGuid() override {
    calls.push_back("IProviderContacter2.OwnerSignedColumnGuid");
    return {};
  }
  std::string IProviderContacter2_BuilderSignedColumnGuid() override {
    calls.push_back("IProviderContacter2.BuilderSignedColumnGuid");
    return {};
  }
  std::string IProviderContacter2_DesignerSignedColumnGuid() override {
    calls.push_back("IProviderContacter2.DesignerSignedColumnGuid");
    return {};
  }
  std::string IProviderContacter2_ContractAdminSignedColumnGuid() override {
    calls.push_back("IProviderContacter2.ContractAdminSignedColumnGuid");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderContacter2_ComputedContactColumnGuids() override {
    calls.push_back("IProviderContacter2.ComputedContactColumnGuids");
    return {};
  }
  void IProviderContacter3_RemoveProjectContactReferences(const std::string&, int32_t,
                                                          const std::string&) override {
    calls.push_back("IProviderContacter3.RemoveProjectContactReferences");
  }
  std::shared_ptr<Dictionary> IProviderContacter4_ReferencedContactGuidsByRecordset(
      const std::string&, int32_t, const std::shared_ptr<Recordset>&) override {
    calls.push_back("IProviderContacter4.ReferencedContactGuidsByRecordset");
    return {};
  }
  bool IProviderAttach_RegisterAttachment(const std::string&, int32_t, const std::string&,
                                          const std::string&, const std::string&) override {
    calls.push_back("IProviderAttach.RegisterAttachment");
    return {};
  }
  e_IProviderAttachmentType IProviderAttach_IProviderAttachmentType() override {
    calls.push_back("IProviderAttach.IProviderAttachmentType");
    return {};
  }
  std::string IProviderAttach2_AttachmentCountColumnGuid() override {
    calls.push_back("IProviderAttach2.AttachmentCountColumnGuid");
    return {};
  }
  std::string IProviderAttach3_AttachmentListColumnGuid() override {
    calls.push_back("IProviderAttach3.AttachmentListColumnGuid");
    return {};
  }
  std::string IProviderAttach3_AttachmentListCrLfColumnGuid() override {
    calls.push_back("IProviderAttach3.AttachmentListCrLfColumnGuid");
    return {};
  }
  std::string IProviderReasonable_ReasonColumnGuid() override {
    calls.push_back("IProviderReasonable.ReasonColumnGuid");
    return {};
  }
  std::string IProviderReasonable_ReasonTitle(const std::string&, int32_t,
                                              const std::string&) override {
    calls.push_back("IProviderReasonable.ReasonTitle");
    return {};
  }
  std::string IProviderReasonable_ReasonAbbreviation(const std::string&, int32_t,
                                                     const std::string&) override {
    calls.push_back("IProviderReasonable.ReasonAbbreviation");
    return {};
  }
  std::string IProviderReasonable_ReasonGuid(const std::string&, int32_t,
                                             const std::string&) override {
    calls.push_back("IProviderReasonable.ReasonGuid");
    return {};
  }
  void IProviderReasonable_ReasonTouched(const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderReasonable.ReasonTouched");
  }
  std::string IProviderReasonable2_ReasonTitleColumnGuid() override {
    calls.push_back("IProviderReasonable2.ReasonTitleColumnGuid");
    return {};
  }
  void IProviderNotable_SaveNote(const std::string&, int32_t, const std::string&,
                                 const std::string&) override {
    calls.push_back("IProviderNotable.SaveNote");
  }
  std::string IProviderNotable_GetNote(const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderNotable.GetNote");
    return {};
  }
  std::string IProviderNotable2_NotesColumnGuid() override {
    calls.push_back("IProviderNotable2.NotesColumnGuid");
    return {};
  }
  std::string IProviderNotable2_HasNotesColumnGuid() override {
    calls.push_back("IProviderNotable2.HasNotesColumnGuid");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderReferencer_ReferencedProviders() override {
    calls.push_back("IProviderReferencer.ReferencedProviders");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderReferencer_ReferenceColumnInfos() override {
    calls.push_back("IProviderReferencer.ReferenceColumnInfos");
    return {};
  }
  void IProviderReferencer_TouchReferencedRecords(
      const std::string&, int32_t, const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderReferencer.TouchReferencedRecords");
  }
  std::shared_ptr<KeyedCollection> IProviderReferencer_ReferencedProviderAndRecordGuidsByRecordGuid(
      const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderReferencer.ReferencedProviderAndRecordGuidsByRecordGuid");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderReferencer2_ReferenceInfos() override {
    calls.push_back("IProviderReferencer2.ReferenceInfos");
    return {};
  }
  std::string IProviderNumbered_NumberColumnGuid() override {
    calls.push_back("IProviderNumbered.NumberColumnGuid");
    return {};
  }
  std::string IProviderNumbered2_ItemNumber(const std::string&, int32_t,
                                            const std::string&) override {
    calls.push_back("IProviderNumbered2.ItemNumber");
    return {};
  }
  std::string IProviderExternalNumbered_ExternalNumberColumnGuid() override {
    calls.push_back("IProviderExternalNumbered.ExternalNumberColumnGuid");
    return {};
  }
  std::string IProviderExternalNumbered_ItemExternalNumber(const std::string&, int32_t,
                                                           const std::string&) override {
    calls.push_back("IProviderExternalNumbered.ItemExternalNumber");
    return {};
  }
  std::shared_ptr<KeyedCollection> IProviderTyped_TypesCollection(const std::string&,
                                                                  int32_t) override {
    calls.push_back("IProviderTyped.TypesCollection");
    return {};
  }
  std::string IProviderTyped_TypeColumnGuid() override {
    calls.push_back("IProviderTyped.TypeColumnGuid");
    return {};
  }
  std::shared_ptr<Recordset> IProviderTyped2_TypesAndIssueDatesRs(const std::string&,
                                                                  int32_t) override {
    calls.push_back("IProviderTyped2.TypesAndIssueDatesRs");
    return {};
  }
  std::string IProviderTitled_ItemTitle(const std::string&, int32_t, const std::string&) override {
    calls.push_back("IProviderTitled.ItemTitle");
    return {};
  }
  std::string IProviderTitled_TitleColumnGuid() override {
    calls.push_back("IProviderTitled.TitleColumnGuid");
    return {};
  }
  std::string IProviderTitled2_TitleSql(const std::string&, const std::string&) override {
    calls.push_back("IProviderTitled2.TitleSql");
    return {};
  }
  std::string IProviderPhaseable_ItemPhase(const std::string&, int32_t,
                                           const std::string&) override {
    calls.push_back("IProviderPhaseable.ItemPhase");
    return {};
  }
  std::string IProviderPhaseable_PhaseColumnGuid() override {
    calls.push_back("IProviderPhaseable.PhaseColumnGuid");
    return {};
  }
  std::string IProviderDated_PrimaryDateColumnGuid() override {
    calls.push_back("IProviderDated.PrimaryDateColumnGuid");
    return {};
  }
  std::string IProviderDated_PrimaryDateSql(const std::string&, const std::string&) override {
    calls.push_back("IProviderDated.PrimaryDateSql");
    return {};
  }
  std::string IProviderDisciplined_DisciplineAbbreviationsColumnGuid() override {
    calls.push_back("IProviderDisciplined.DisciplineAbbreviationsColumnGuid");
    return {};
  }
  std::string IProviderDisciplined_DisciplineTitlesColumnGuid() override {
    calls.push_back("IProviderDisciplined.DisciplineTitlesColumnGuid");
    return {};
  }
  std::string IProviderDisciplined_DisciplineTitles(const std::string&, int32_t, const std::string&,
                                                    const std::string&) override {
    calls.push_back("IProviderDisciplined.DisciplineTitles");
    return {};
  }
  std::string IProviderDisciplined_DisciplineAbbreviations(const std::string&, int32_t,
                                                           const std::string&,
                                                           const std::string&) override {
    calls.push_back("IProviderDisciplined.DisciplineAbbreviations");
    return {};
  }
  std::string IProviderDisciplined_ItemDisciplineGuids(const std::string&, int32_t,
                                                       const std::string&) override {
    calls.push_back("IProviderDisciplined.ItemDisciplineGuids");
    return {};
  }
  void IProviderDisciplined_DisciplineTouched(const std::string&, int32_t,
                                              const std::string&) override {
    calls.push_back("IProviderDisciplined.DisciplineTouched");
  }
  void IProviderViewable_RefreshViews() override {
    calls.push_back("IProviderViewable.RefreshViews");
  }
  void IProviderViewable2_AddViewColumnByGuid(const std::shared_ptr<CProviderView>&,
                                              const std::string&) override {
    calls.push_back("IProviderViewable2.AddViewColumnByGuid");
  }
  void IProviderViewable3_FixView(const std::shared_ptr<CProviderView>&) override {
    calls.push_back("IProviderViewable3.FixView");
  }
  void IProviderColumnList_TranslateColumnListGuid(const std::string&, int32_t, const std::string&,
                                                   const std::string&) override {
    calls.push_back("IProviderColumnList.TranslateColumnListGuid");
  }
  bool IProviderColumnList2_ColumnListItemReferenced(const std::string&, int32_t,
                                                     const std::string&) override {
    calls.push_back("IProviderColumnList2.ColumnListItemReferenced");
    return {};
  }
  std::shared_ptr<Recordset> IProviderColumnList2_ReferencedColumnListItemRecordGuids(
      const std::string&, int32_t) override {
    calls.push_back("IProviderColumnList2.ReferencedColumnListItemRecordGuids");
    return {};
  }
  std::shared_ptr<CColumnDefs> IProviderColumnList2_ColumnListColumns() override {
    calls.push_back("IProviderColumnList2.ColumnListColumns");
    return {};
  }
  void IProviderColumnList2_DereferenceColumnListItem(const std::string&, int32_t,
                                                      const std::string&) override {
    calls.push_back("IProviderColumnList2.DereferenceColumnListItem");
  }
  void IProviderColumnList2_ChangeReferencedColumnListItems(const std::string&, int32_t,
                                                            const std::string&,
                                                            const std::string&) override {
    calls.push_back("IProviderColumnList2.ChangeReferencedColumnListItems");
  }
  std::string IProviderFormat_FormatCell(const std::string&, int32_t, const std::string&,
                                         const std::string&, const std::string&) override {
    calls.push_back("IProviderFormat.FormatCell");
    return {};
  }
  std::string IProviderFormat_FormatCellMultiCellDependent(
      const std::string&, int32_t, const std::string&, const std::string&, const std::string&,
      const std::shared_ptr<KeyedCollection>&) override {
    calls.push_back("IProviderFormat.FormatCellMultiCellDependent");
    return {};
  }
  std::shared_ptr<Recordset> IProviderSearch_GetSearchResults(const std::string&, int32_t,
                                                              const std::string&,
                                                              e_SearchExtrasFlags) override {
    calls.push_back("IProviderSearch.GetSearchResults");
    return {};
  }
  std::shared_ptr<CProviderView> IProviderSearch_SearchableView() override {
    calls.push_back("IProviderSearch.SearchableView");
    return {};
  }
  void IProviderTabStats_PopulateProviderProjectStatistics(
      const std::string&, int32_t, const std::shared_ptr<IObject>&) override {
    calls.push_back("IProviderTabStats.PopulateProviderProjectStatistics");
  }
  std::vector<std::string> IProviderTemplate_RequiredSupportedProviderGuids() override {
    calls.push_back("IProviderTemplate.RequiredSupportedProviderGuids");
    return {};
  }
  void IProviderTemplate_PostProcessImportedTemplateData(const std::string&, int32_t,
                                                         const std::string&, int32_t) override {
    calls.push_back("IProviderTemplate.PostProcessImportedTemplateData");
  }
  std::shared_ptr<KeyedCollection> IProviderDivided_GetDivisionInfos(const std::string&,
                                                                     int32_t) override {
    calls.push_back("IProviderDivided.GetDivisionInfos");
    return {};
  }
  std::string IProviderUPrice_TotalAmountColumnGuid() override {
    calls.push_back("IProviderUPrice.TotalAmountColumnGuid");
    return {};
  }
  std::string IProviderUPrice_UnitsColumnGuid() override {
    calls.push_back("IProviderUPrice.UnitsColumnGuid");
    return {};
  }
  std::string IProviderUPrice_QuantityColumnGuid() override {
    calls.push_back("IProviderUPrice.QuantityColumnGuid");
    return {};
  }
  std::string IProviderUPrice_UnitAmountColumnGuid() override {
    calls.push_back("IProviderUPrice.UnitAmountColumnGuid");
    return {};
  }
  std::string IProviderApprover_ApprovedColumnGuid() override {
    calls.push_back("IProviderApprover.ApprovedColumnGuid");
    return {};
  }
  void IProviderApprover_GetItemApprovalRights(const std::string&, const std::string&,
                                               const std::string&, int32_t, const std::string&,
                                               bool&, bool&) override {
    calls.push_back("IProviderApprover.GetItemApprovalRights");
  }
  std::string IProviderEmail_EmailCountColumnGuid() override {
    calls.push_back("IProviderEmail.EmailCountColumnGuid");
    return {};
  }
  e_ProviderSubListType IProviderSubList_SubListType() override {
    calls.push_back("IProviderSubList.SubListType");
    return {};
  }
  std::string IProviderSubList_ParentProviderGuidColumnGuid() override {
    calls.push_back("IProviderSubList.ParentProviderGuidColumnGuid");
    return {};
  }
  std::string IProviderSubList_ParentRecordGuidColumnGuid() override {
    calls.push_back("IProviderSubList.ParentRecordGuidColumnGuid");
    return {};
  }
  Variant IProviderSubList_OverrideIProviderInsert(e_ProviderSubListType) override {
    calls.push_back("IProviderSubList.OverrideIProviderInsert");
    return {};
  }
  std::shared_ptr<CDescendMenuItems> IProviderDescendable_DescendMenuItems() override {
    calls.push_back("IProviderDescendable.DescendMenuItems");
    return {};
  }
  std::shared_ptr<CDescendMenuItems> IProviderDescendable_DescendMenuItems2(const std::string&,
                                                                            int32_t) override {
    calls.push_back("IProviderDescendable.DescendMenuItems2");
    return {};
  }
  std::string IProviderRecordStatus_RecordStatus(const std::string&, int32_t,
                                                 const std::string&) override {
    calls.push_back("IProviderRecordStatus.RecordStatus");
    return {};
  }
};

TEST(ProviderInterfaces, AreAbstract) {
  static_assert(std::is_abstract_v<IProviderInfo>);
  static_assert(std::is_abstract_v<IProviderInfo2>);
  static_assert(std::is_abstract_v<IProviderInfo3>);
  static_assert(std::is_abstract_v<IProviderStored>);
  static_assert(std::is_abstract_v<IProviderStored2>);
  static_assert(std::is_abstract_v<IProviderStored3>);
  static_assert(std::is_abstract_v<IProviderStored4>);
  static_assert(std::is_abstract_v<IProviderStored5>);
  static_assert(std::is_abstract_v<IProviderStored6>);
  static_assert(std::is_abstract_v<IProviderStored7>);
  static_assert(std::is_abstract_v<IProviderStored8>);
  static_assert(std::is_abstract_v<IProviderStored9>);
  static_assert(std::is_abstract_v<IProviderStored10>);
  static_assert(std::is_abstract_v<IProviderStored11>);
  static_assert(std::is_abstract_v<IProviderInsert>);
  static_assert(std::is_abstract_v<IProviderDraftable>);
  static_assert(std::is_abstract_v<IProviderUpdate>);
  static_assert(std::is_abstract_v<IProviderUpdate2>);
  static_assert(std::is_abstract_v<IProviderDelete>);
  static_assert(std::is_abstract_v<IProviderDelete2>);
  static_assert(std::is_abstract_v<IProviderCertify>);
  static_assert(std::is_abstract_v<IProviderCertify2>);
  static_assert(std::is_abstract_v<IProviderCertify3>);
  static_assert(std::is_abstract_v<IProviderCertify4>);
  static_assert(std::is_abstract_v<IProviderCertify5>);
  static_assert(std::is_abstract_v<IProviderCertify6>);
  static_assert(std::is_abstract_v<IProviderForm>);
  static_assert(std::is_abstract_v<IProviderForm2>);
  static_assert(std::is_abstract_v<IProviderForm3>);
  static_assert(std::is_abstract_v<IProviderChild>);
  static_assert(std::is_abstract_v<IProviderChild2>);
  static_assert(std::is_abstract_v<IProviderChild3>);
  static_assert(std::is_abstract_v<IProviderContacter>);
  static_assert(std::is_abstract_v<IProviderContacter2>);
  static_assert(std::is_abstract_v<IProviderContacter3>);
  static_assert(std::is_abstract_v<IProviderContacter4>);
  static_assert(std::is_abstract_v<IProviderAttach>);
  static_assert(std::is_abstract_v<IProviderAttach2>);
  static_assert(std::is_abstract_v<IProviderAttach3>);
  static_assert(std::is_abstract_v<IProviderReasonable>);
  static_assert(std::is_abstract_v<IProviderReasonable2>);
  static_assert(std::is_abstract_v<IProviderNotable>);
  static_assert(std::is_abstract_v<IProviderNotable2>);
  static_assert(std::is_abstract_v<IProviderReferencer>);
  static_assert(std::is_abstract_v<IProviderReferencer2>);
  static_assert(std::is_abstract_v<IProviderNumbered>);
  static_assert(std::is_abstract_v<IProviderNumbered2>);
  static_assert(std::is_abstract_v<IProviderExternalNumbered>);
  static_assert(std::is_abstract_v<IProviderTyped>);
  static_assert(std::is_abstract_v<IProviderTyped2>);
  static_assert(std::is_abstract_v<IProviderTitled>);
  static_assert(std::is_abstract_v<IProviderTitled2>);
  static_assert(std::is_abstract_v<IProviderPhaseable>);
  static_assert(std::is_abstract_v<IProviderDated>);
  static_assert(std::is_abstract_v<IProviderDisciplined>);
  static_assert(std::is_abstract_v<IProviderViewable>);
  static_assert(std::is_abstract_v<IProviderViewable2>);
  static_assert(std::is_abstract_v<IProviderViewable3>);
  static_assert(std::is_abstract_v<IProviderColumnList>);
  static_assert(std::is_abstract_v<IProviderColumnList2>);
  static_assert(std::is_abstract_v<IProviderFormat>);
  static_assert(std::is_abstract_v<IProviderSearch>);
  static_assert(std::is_abstract_v<IProviderTabStats>);
  static_assert(std::is_abstract_v<IProviderTemplate>);
  static_assert(std::is_abstract_v<IProviderDivided>);
  static_assert(std::is_abstract_v<IProviderUPrice>);
  static_assert(std::is_abstract_v<IProviderApprover>);
  static_assert(std::is_abstract_v<IProviderEmail>);
  static_assert(std::is_abstract_v<IProviderSubList>);
  static_assert(std::is_abstract_v<IProviderDescendable>);
  static_assert(std::is_abstract_v<IProviderRecordStatus>);
}

TEST(ProviderInterfaces, MembersThatAreNotOverriddenAnswerEmptyAndChangeNothing) {
  auto bare = std::make_shared<Bare>();
  {
    std::shared_ptr<IProviderInfo> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->SupportsForms());
    EXPECT_TRUE(i->DefaultViewDefinition() == nullptr);
    ExpectEmpty(i->Guid());
    ExpectEmpty(i->DllName());
    ExpectEmpty(i->ClassName());
    ExpectEmpty(i->Category());
    ExpectEmpty(i->PluralName(localeid_EnglishCanada, -1));
    ExpectEmpty(i->SingularName(localeid_EnglishCanada, -1));
    ExpectEmpty(i->CommonPluralName(localeid_EnglishCanada, -1));
    ExpectEmpty(i->CommonSingularName(localeid_EnglishCanada, -1));
    EXPECT_TRUE(i->RequiredPopulatedProviders() == nullptr);
    EXPECT_TRUE(i->Views() == nullptr);
    i->SetViews(nullptr);
    EXPECT_TRUE(i->Columns() == nullptr);
    ExpectEmpty(i->Serialize());
    i->Deserialize(Bytes{1, 2});
    ExpectEmpty(i->Description());
    i->InitializeProperties();
  }
  {
    std::shared_ptr<IProviderInfo2> i = bare;
    ASSERT_NE(i, nullptr);
    i->InitFromCachedProviderInfo(nullptr);
  }
  {
    std::shared_ptr<IProviderInfo3> i = bare;
    ASSERT_NE(i, nullptr);
    i->DeserializeInternal(Variant("v"));
    ExpectEmpty(i->SerializeInternal());
  }
  {
    std::shared_ptr<IProviderStored> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->CreateProjectTables(nullptr));
    i->RefreshViews();
    ExpectEmpty(i->RefreshViewsWithResult());
    EXPECT_TRUE(i->GetRecordsPickList("x", 7, "x") == nullptr);
    EXPECT_TRUE(i->GetRecord("x", 7, "x", "x") == nullptr);
    EXPECT_TRUE(i->GetRecordsAll("x", 7, "x") == nullptr);
    EXPECT_TRUE(i->GetRecordsSinceCounter("x", 7, "x", 7) == nullptr);
    ExpectEmpty(i->CurrentUpdateCounter("x", 7));
    ExpectEmpty(i->CurrentDeleteCounter("x", 7));
    EXPECT_TRUE(i->GetDeletedRecordGuidsSinceCounter("x", 7, 7) == nullptr);
    ExpectEmpty(i->UpdateProjectTables("x"));
    ExpectEmpty(i->UpdateProjectTablesByStatement("x", 7));
    ExpectEmpty(i->CurrentTableVersion());
    EXPECT_TRUE(i->DefaultNewItemRowValues("x", 7) == nullptr);
    ExpectEmpty(i->DefaultNewItemRowValuesByRef("x", 7, nullptr));
    ExpectEmpty(i->ReferenceDisplayString("x", 7, "x"));
    ExpectEmpty(i->ReferenceDisplayStringShort("x", 7, "x"));
    ExpectEmpty(i->OtherProviderItemReferenced("x", 7, "x", "x"));
    i->TouchRecord("x", 7, "x");
    i->TouchAllRecords("x", 7);
    i->ProcessComputedColumns(nullptr, "x", 7);
    ExpectEmpty(i->UnfilteredRecordCount("x", 7));
    EXPECT_TRUE(i->TableDef() == nullptr);
    ExpectEmpty(i->RecordExistsByGuid("x", 7, "x"));
    ExpectEmpty(i->IgnoreCounters());
    ExpectEmpty(i->MostRecentRecordGuid("x", 7));
  }
  {
    std::shared_ptr<IProviderStored2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->GetComputedColumnSql("x"));
    EXPECT_TRUE(i->ComputedColumnRequiredColumns("x") == nullptr);
    EXPECT_TRUE(i->ColumnDefinition("x") == nullptr);
  }
  {
    std::shared_ptr<IProviderStored3> i = bare;
    ASSERT_NE(i, nullptr);
    i->TouchRecordsWhere("x", 7, "x");
  }
  {
    std::shared_ptr<IProviderStored4> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ReferenceDateIso8601("x", 7, "x"));
  }
  {
    std::shared_ptr<IProviderStored5> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ReferenceMask());
    ExpectEmpty(i->ReferenceShortMask());
    ExpectEmpty(i->ReferenceAttributesMask());
  }
  {
    std::shared_ptr<IProviderStored6> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->IsCellEditable("x", 7, "x", "x"));
  }
  {
    std::shared_ptr<IProviderStored7> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ItemReferenceStringSql(nullptr));
    ExpectEmpty(i->ItemReferenceStringShortSql(nullptr));
  }
  {
    std::shared_ptr<IProviderStored8> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ItemReferenceStringMinimalSql("x", "x"));
  }
  {
    std::shared_ptr<IProviderStored9> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->IsVirtual());
  }
  {
    std::shared_ptr<IProviderStored10> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->GetRecordsAllByView("x", 7, nullptr) == nullptr);
  }
  {
    std::shared_ptr<IProviderStored11> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->GetColumnAggregateValue("x", 7, "x", nullptr));
  }
  {
    std::shared_ptr<IProviderInsert> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->InsertRecord("x", "x", 7, nullptr, nullptr));
    ExpectEmpty(i->InsertRecordErrorLevel(7));
    ExpectEmpty(i->RequireExclusiveProjectAccessForInsert());
  }
  {
    std::shared_ptr<IProviderDraftable> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->CreateDraft("x", "x", 7, nullptr, nullptr));
    ExpectEmpty(i->HasDraft("x", 7));
    i->PromoteDraft("x", "x", 7, "x");
  }
  {
    std::shared_ptr<IProviderUpdate> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->UpdateField("x", "x", 7, "x", "x", "x"));
    ExpectEmpty(i->UpdateField2("x", 7, "x", "x", "x", nullptr));
    ExpectEmpty(i->UpdateFieldErrorLevel(7));
  }
  {
    std::shared_ptr<IProviderUpdate2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->UpdateField("x", 7, "x", Variant("v"), 7, nullptr, nullptr));
  }
  {
    std::shared_ptr<IProviderDelete> i = bare;
    ASSERT_NE(i, nullptr);
    i->DeleteRecords("x", 7, nullptr);
    ExpectEmpty(i->DeleteRecordsErrorLevel(7));
    ExpectEmpty(i->DeleteRecordErrorCodeNonStandard("x", 7, "x"));
    ExpectEmpty(i->RequireExclusiveProjectAccessForDelete());
  }
  {
    std::shared_ptr<IProviderDelete2> i = bare;
    ASSERT_NE(i, nullptr);
    i->DeleteRecords("x", "x", 7, nullptr);
  }
  {
    std::shared_ptr<IProviderCertify> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->CertifiableRecords("x", 7) == nullptr);
    EXPECT_TRUE(i->CertifiableRecordsSinceCounter("x", 7, 7) == nullptr);
    ExpectEmpty(i->ContractAmountColumnGuid());
    ExpectEmpty(i->ContractItemColumnGuid());
    ExpectEmpty(i->ProgressAmountColumnGuid());
    ExpectEmpty(i->ProgressAmountLastColumnGuid());
    ExpectEmpty(i->ProgressAmountThisColumnGuid());
    ExpectEmpty(i->ProgressAmountRemainingColumnGuid());
    ExpectEmpty(i->ProgressPercentColumnGuid());
    ExpectEmpty(i->ProgressPercentLastColumnGuid());
    ExpectEmpty(i->ProgressPercentThisColumnGuid());
    ExpectEmpty(i->ProgressPercentRemainingColumnGuid());
    ExpectEmpty(i->ProgressStatusColumnGuid());
    ExpectEmpty(i->ItemReferenceColumnGuid());
    ExpectEmpty(i->ProviderPluralNameColumnGuid());
    ExpectEmpty(i->ContractAdditionsToDate("x", 7));
    ExpectEmpty(i->ContractDeletionsToDate("x", 7));
    ExpectEmpty(i->AdditionsProgressToDate("x", 7));
    ExpectEmpty(i->DeletionsProgressToDate("x", 7));
    ExpectEmpty(i->CombineAdditionsAndDeletions());
    ExpectEmpty(i->RecordCertified("x", 7, "x"));
  }
  {
    std::shared_ptr<IProviderCertify2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ContractAmountFieldSql("x", 7));
  }
  {
    std::shared_ptr<IProviderCertify3> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ApplyHoldbackColumnGuid());
  }
  {
    std::shared_ptr<IProviderCertify4> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->TitleColumnGuid());
    ExpectEmpty(i->TypeColumnGuid());
    ExpectEmpty(i->NumberColumnGuid());
    ExpectEmpty(i->EffectColumnGuid());
  }
  {
    std::shared_ptr<IProviderCertify5> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ExternalNumberColumnGuid());
    ExpectEmpty(i->AccountColumnGuid());
  }
  {
    std::shared_ptr<IProviderCertify6> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ApprovedProgressAmountToDateByTaxType("x", 7, "x"));
    ExpectEmpty(i->ApprovedProgressAmountLastByTaxType("x", 7, "x"));
    ExpectEmpty(i->ApprovedProgressAmountThisByTaxType("x", 7, "x"));
  }
  {
    std::shared_ptr<IProviderForm> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->DescriptionColumnGuid());
    ExpectEmpty(i->FormTypeGuidByRecordGuid("x", 7, "x"));
    ExpectEmpty(i->FormNumberByRecordGuid("x", 7, "x"));
    ExpectEmpty(i->FormTypeColumnGuid());
    ExpectEmpty(i->FormNumberColumnGuid());
    ExpectEmpty(i->FormattedFormValue("x", 7, "x", "x", 7));
    ExpectEmpty(i->InUseFormTitleFromAbbreviation("x", 7, "x"));
    ExpectEmpty(i->InUseFormAbbreviationFromTitle("x", 7, "x"));
    ExpectEmpty(i->CommonFormAbbreviationFromTitle("x"));
    ExpectEmpty(i->CommonFormTitleFromAbbreviation("x"));
    ExpectEmpty(i->IsIncoming(-1));
    ExpectEmpty(i->GetDescriptionTextRtf("x", 7, "x", formdesctexttype_AutoSave));
    i->SetDescriptionTextRtf("x", 7, "x", formdesctexttype_AutoSave, "x");
    ExpectEmpty(i->AutoSavedDescriptionExists("x", 7, "x"));
    EXPECT_TRUE(i->FormTypesAndNumbers("x", 7, "x") == nullptr);
    ExpectEmpty(i->AlwaysShowPage2());
    EXPECT_TRUE(i->DefaultFormInfo("x") == nullptr);
  }
  {
    std::shared_ptr<IProviderForm2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ColumnSupportsFormFormatting("x"));
  }
  {
    std::shared_ptr<IProviderForm3> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->FormTypeTitleColumnGuid());
  }
  {
    std::shared_ptr<IProviderChild> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->TopLevelParentReference("x", 7, "x") == nullptr);
    ExpectEmpty(i->TopLevelParentReferenceRecordGuid("x", 7, "x"));
    ExpectEmpty(i->IsTopLevelParentReferenced("x", 7, "x"));
    ExpectEmpty(i->TopLevelParentReferencedFormTypesAndNumbers("x", 7, "x"));
    ExpectEmpty(i->ItemTitleOrParentItemTitle("x", 7, "x"));
    EXPECT_TRUE(i->ParentProviders() == nullptr);
    EXPECT_TRUE(i->ParentProviderGuids() == nullptr);
    ExpectEmpty(i->ParentRecordGuidColumnGuid());
    ExpectEmpty(i->ParentProviderGuidColumnGuid());
    i->TouchRecordsByTopLevelParentReferenceRecordGuid("x", 7, "x");
    i->TouchRecordsByParentReferenceRecordGuid("x", 7, "x");
    i->InsertParentReferences("x", 7);
    ExpectEmpty(i->AncestorReferenced("x", 7, "x", "x"));
    ExpectEmpty(i->AncestorReferenceStringShort("x", 7, "x", "x"));
    ExpectEmpty(i->LinkedFieldsTableName());
  }
  {
    std::shared_ptr<IProviderChild2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->InsertParentReferencesSql());
  }
  {
    std::shared_ptr<IProviderChild3> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->AncestorReferenceDateIso8601("x", 7, "x", "x"));
  }
  {
    std::shared_ptr<IProviderContacter> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->ReferencedContactGuids("x", 7) == nullptr);
    EXPECT_TRUE(i->ReferencedContactGuidsByColumnGuid("x", 7, "x") == nullptr);
    EXPECT_TRUE(i->ContactPrimaryColumnGuids() == nullptr);
    i->TranslateContactGuids("x", nullptr);
    ExpectEmpty(i->SelectDistinctContactGuidsSql());
  }
  {
    std::shared_ptr<IProviderContacter2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->OwnerSignedColumnGuid());
    ExpectEmpty(i->BuilderSignedColumnGuid());
    ExpectEmpty(i->DesignerSignedColumnGuid());
    ExpectEmpty(i->ContractAdminSignedColumnGuid());
    EXPECT_TRUE(i->ComputedContactColumnGuids() == nullptr);
  }
  {
    std::shared_ptr<IProviderContacter3> i = bare;
    ASSERT_NE(i, nullptr);
    i->RemoveProjectContactReferences("x", 7, "x");
  }
  {
    std::shared_ptr<IProviderContacter4> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->ReferencedContactGuidsByRecordset("x", 7, nullptr) == nullptr);
  }
  {
    std::shared_ptr<IProviderAttach> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->RegisterAttachment("x", 7, "x", "x", "x"));
    ExpectEmpty(i->IProviderAttachmentType());
  }
  {
    std::shared_ptr<IProviderAttach2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->AttachmentCountColumnGuid());
  }
  {
    std::shared_ptr<IProviderAttach3> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->AttachmentListColumnGuid());
    ExpectEmpty(i->AttachmentListCrLfColumnGuid());
  }
  {
    std::shared_ptr<IProviderReasonable> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ReasonColumnGuid());
    ExpectEmpty(i->ReasonTitle("x", 7, "x"));
    ExpectEmpty(i->ReasonAbbreviation("x", 7, "x"));
    ExpectEmpty(i->ReasonGuid("x", 7, "x"));
    i->ReasonTouched("x", 7, "x");
  }
  {
    std::shared_ptr<IProviderReasonable2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ReasonTitleColumnGuid());
  }
  {
    std::shared_ptr<IProviderNotable> i = bare;
    ASSERT_NE(i, nullptr);
    i->SaveNote("x", 7, "x", "x");
    ExpectEmpty(i->GetNote("x", 7, "x"));
  }
  {
    std::shared_ptr<IProviderNotable2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->NotesColumnGuid());
    ExpectEmpty(i->HasNotesColumnGuid());
  }
  {
    std::shared_ptr<IProviderReferencer> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->ReferencedProviders() == nullptr);
    EXPECT_TRUE(i->ReferenceColumnInfos() == nullptr);
    i->TouchReferencedRecords("x", 7, nullptr);
    EXPECT_TRUE(i->ReferencedProviderAndRecordGuidsByRecordGuid("x", 7, "x") == nullptr);
  }
  {
    std::shared_ptr<IProviderReferencer2> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->ReferenceInfos() == nullptr);
  }
  {
    std::shared_ptr<IProviderNumbered> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->NumberColumnGuid());
  }
  {
    std::shared_ptr<IProviderNumbered2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ItemNumber("x", 7, "x"));
  }
  {
    std::shared_ptr<IProviderExternalNumbered> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ExternalNumberColumnGuid());
    ExpectEmpty(i->ItemExternalNumber("x", 7, "x"));
  }
  {
    std::shared_ptr<IProviderTyped> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->TypesCollection("x", 7) == nullptr);
    ExpectEmpty(i->TypeColumnGuid());
  }
  {
    std::shared_ptr<IProviderTyped2> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->TypesAndIssueDatesRs("x", 7) == nullptr);
  }
  {
    std::shared_ptr<IProviderTitled> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ItemTitle("x", 7, "x"));
    ExpectEmpty(i->TitleColumnGuid());
  }
  {
    std::shared_ptr<IProviderTitled2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->TitleSql("x", "x"));
  }
  {
    std::shared_ptr<IProviderPhaseable> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ItemPhase("x", 7, "x"));
    ExpectEmpty(i->PhaseColumnGuid());
  }
  {
    std::shared_ptr<IProviderDated> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->PrimaryDateColumnGuid());
    ExpectEmpty(i->PrimaryDateSql("x", "x"));
  }
  {
    std::shared_ptr<IProviderDisciplined> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->DisciplineAbbreviationsColumnGuid());
    ExpectEmpty(i->DisciplineTitlesColumnGuid());
    ExpectEmpty(i->DisciplineTitles("x", 7, "x", "x"));
    ExpectEmpty(i->DisciplineAbbreviations("x", 7, "x", "x"));
    ExpectEmpty(i->ItemDisciplineGuids("x", 7, "x"));
    i->DisciplineTouched("x", 7, "x");
  }
  {
    std::shared_ptr<IProviderViewable> i = bare;
    ASSERT_NE(i, nullptr);
    i->RefreshViews();
  }
  {
    std::shared_ptr<IProviderViewable2> i = bare;
    ASSERT_NE(i, nullptr);
    i->AddViewColumnByGuid(nullptr, "x");
  }
  {
    std::shared_ptr<IProviderViewable3> i = bare;
    ASSERT_NE(i, nullptr);
    i->FixView(nullptr);
  }
  {
    std::shared_ptr<IProviderColumnList> i = bare;
    ASSERT_NE(i, nullptr);
    i->TranslateColumnListGuid("x", 7, "x", "x");
  }
  {
    std::shared_ptr<IProviderColumnList2> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ColumnListItemReferenced("x", 7, "x"));
    EXPECT_TRUE(i->ReferencedColumnListItemRecordGuids("x", 7) == nullptr);
    EXPECT_TRUE(i->ColumnListColumns() == nullptr);
    i->DereferenceColumnListItem("x", 7, "x");
    i->ChangeReferencedColumnListItems("x", 7, "x", "x");
  }
  {
    std::shared_ptr<IProviderFormat> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->FormatCell("x", 7, "x", "x", "x"));
    ExpectEmpty(i->FormatCellMultiCellDependent("x", 7, "x", "x", "x", nullptr));
  }
  {
    std::shared_ptr<IProviderSearch> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->GetSearchResults("x", 7, "x", searchextras_Notes | searchextras_Attachments) ==
                nullptr);
    EXPECT_TRUE(i->SearchableView() == nullptr);
  }
  {
    std::shared_ptr<IProviderTabStats> i = bare;
    ASSERT_NE(i, nullptr);
    i->PopulateProviderProjectStatistics("x", 7, nullptr);
  }
  {
    std::shared_ptr<IProviderTemplate> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->RequiredSupportedProviderGuids());
    i->PostProcessImportedTemplateData("x", 7, "x", 7);
  }
  {
    std::shared_ptr<IProviderDivided> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->GetDivisionInfos("x", 7) == nullptr);
  }
  {
    std::shared_ptr<IProviderUPrice> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->TotalAmountColumnGuid());
    ExpectEmpty(i->UnitsColumnGuid());
    ExpectEmpty(i->QuantityColumnGuid());
    ExpectEmpty(i->UnitAmountColumnGuid());
  }
  {
    std::shared_ptr<IProviderApprover> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->ApprovedColumnGuid());
    bool p_CanApprove = true;
    bool p_CanUnapprove = true;
    i->GetItemApprovalRights("x", "x", "x", 7, "x", p_CanApprove, p_CanUnapprove);
    EXPECT_TRUE(p_CanApprove);
    EXPECT_TRUE(p_CanUnapprove);
  }
  {
    std::shared_ptr<IProviderEmail> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->EmailCountColumnGuid());
  }
  {
    std::shared_ptr<IProviderSubList> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->SubListType());
    ExpectEmpty(i->ParentProviderGuidColumnGuid());
    ExpectEmpty(i->ParentRecordGuidColumnGuid());
    ExpectEmpty(i->OverrideIProviderInsert(providersublisttype_StandardAttachments));
  }
  {
    std::shared_ptr<IProviderDescendable> i = bare;
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(i->DescendMenuItems() == nullptr);
    EXPECT_TRUE(i->DescendMenuItems2("x", 7) == nullptr);
  }
  {
    std::shared_ptr<IProviderRecordStatus> i = bare;
    ASSERT_NE(i, nullptr);
    ExpectEmpty(i->RecordStatus("x", 7, "x"));
  }
}

TEST(ProviderInterfaces, EveryMemberReachesItsOwnSlot) {
  auto r = std::make_shared<Recorder>();
  {
    std::shared_ptr<IProviderInfo> i = r;
    ASSERT_NE(i, nullptr);
    i->SupportsForms();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.SupportsForms");
    i->DefaultViewDefinition();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.DefaultViewDefinition");
    i->Guid();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Guid");
    i->DllName();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.DllName");
    i->ClassName();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.ClassName");
    i->Category();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Category");
    i->PluralName(localeid_EnglishCanada, -1);
    EXPECT_EQ(r->calls.back(), "IProviderInfo.PluralName");
    i->SingularName(localeid_EnglishCanada, -1);
    EXPECT_EQ(r->calls.back(), "IProviderInfo.SingularName");
    i->CommonPluralName(localeid_EnglishCanada, -1);
    EXPECT_EQ(r->calls.back(), "IProviderInfo.CommonPluralName");
    i->CommonSingularName(localeid_EnglishCanada, -1);
    EXPECT_EQ(r->calls.back(), "IProviderInfo.CommonSingularName");
    i->RequiredPopulatedProviders();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.RequiredPopulatedProviders");
    i->Views();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Views");
    i->SetViews(nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderInfo.SetViews");
    i->Columns();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Columns");
    i->Serialize();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Serialize");
    i->Deserialize(Bytes{1, 2});
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Deserialize");
    i->Description();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.Description");
    i->InitializeProperties();
    EXPECT_EQ(r->calls.back(), "IProviderInfo.InitializeProperties");
  }
  {
    std::shared_ptr<IProviderInfo2> i = r;
    ASSERT_NE(i, nullptr);
    i->InitFromCachedProviderInfo(nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderInfo2.InitFromCachedProviderInfo");
  }
  {
    std::shared_ptr<IProviderInfo3> i = r;
    ASSERT_NE(i, nullptr);
    i->DeserializeInternal(Variant("v"));
    EXPECT_EQ(r->calls.back(), "IProviderInfo3.DeserializeInternal");
    i->SerializeInternal();
    EXPECT_EQ(r->calls.back(), "IProviderInfo3.SerializeInternal");
  }
  {
    std::shared_ptr<IProviderStored> i = r;
    ASSERT_NE(i, nullptr);
    i->CreateProjectTables(nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderStored.CreateProjectTables");
    i->RefreshViews();
    EXPECT_EQ(r->calls.back(), "IProviderStored.RefreshViews");
    i->RefreshViewsWithResult();
    EXPECT_EQ(r->calls.back(), "IProviderStored.RefreshViewsWithResult");
    i->GetRecordsPickList("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.GetRecordsPickList");
    i->GetRecord("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.GetRecord");
    i->GetRecordsAll("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.GetRecordsAll");
    i->GetRecordsSinceCounter("x", 7, "x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.GetRecordsSinceCounter");
    i->CurrentUpdateCounter("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.CurrentUpdateCounter");
    i->CurrentDeleteCounter("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.CurrentDeleteCounter");
    i->GetDeletedRecordGuidsSinceCounter("x", 7, 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.GetDeletedRecordGuidsSinceCounter");
    i->UpdateProjectTables("x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.UpdateProjectTables");
    i->UpdateProjectTablesByStatement("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.UpdateProjectTablesByStatement");
    i->CurrentTableVersion();
    EXPECT_EQ(r->calls.back(), "IProviderStored.CurrentTableVersion");
    i->DefaultNewItemRowValues("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.DefaultNewItemRowValues");
    i->DefaultNewItemRowValuesByRef("x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderStored.DefaultNewItemRowValuesByRef");
    i->ReferenceDisplayString("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.ReferenceDisplayString");
    i->ReferenceDisplayStringShort("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.ReferenceDisplayStringShort");
    i->OtherProviderItemReferenced("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.OtherProviderItemReferenced");
    i->TouchRecord("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.TouchRecord");
    i->TouchAllRecords("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.TouchAllRecords");
    i->ProcessComputedColumns(nullptr, "x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.ProcessComputedColumns");
    i->UnfilteredRecordCount("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.UnfilteredRecordCount");
    i->TableDef();
    EXPECT_EQ(r->calls.back(), "IProviderStored.TableDef");
    i->RecordExistsByGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored.RecordExistsByGuid");
    i->IgnoreCounters();
    EXPECT_EQ(r->calls.back(), "IProviderStored.IgnoreCounters");
    i->MostRecentRecordGuid("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderStored.MostRecentRecordGuid");
  }
  {
    std::shared_ptr<IProviderStored2> i = r;
    ASSERT_NE(i, nullptr);
    i->GetComputedColumnSql("x");
    EXPECT_EQ(r->calls.back(), "IProviderStored2.GetComputedColumnSql");
    i->ComputedColumnRequiredColumns("x");
    EXPECT_EQ(r->calls.back(), "IProviderStored2.ComputedColumnRequiredColumns");
    i->ColumnDefinition("x");
    EXPECT_EQ(r->calls.back(), "IProviderStored2.ColumnDefinition");
  }
  {
    std::shared_ptr<IProviderStored3> i = r;
    ASSERT_NE(i, nullptr);
    i->TouchRecordsWhere("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored3.TouchRecordsWhere");
  }
  {
    std::shared_ptr<IProviderStored4> i = r;
    ASSERT_NE(i, nullptr);
    i->ReferenceDateIso8601("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored4.ReferenceDateIso8601");
  }
  {
    std::shared_ptr<IProviderStored5> i = r;
    ASSERT_NE(i, nullptr);
    i->ReferenceMask();
    EXPECT_EQ(r->calls.back(), "IProviderStored5.ReferenceMask");
    i->ReferenceShortMask();
    EXPECT_EQ(r->calls.back(), "IProviderStored5.ReferenceShortMask");
    i->ReferenceAttributesMask();
    EXPECT_EQ(r->calls.back(), "IProviderStored5.ReferenceAttributesMask");
  }
  {
    std::shared_ptr<IProviderStored6> i = r;
    ASSERT_NE(i, nullptr);
    i->IsCellEditable("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored6.IsCellEditable");
  }
  {
    std::shared_ptr<IProviderStored7> i = r;
    ASSERT_NE(i, nullptr);
    i->ItemReferenceStringSql(nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderStored7.ItemReferenceStringSql");
    i->ItemReferenceStringShortSql(nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderStored7.ItemReferenceStringShortSql");
  }
  {
    std::shared_ptr<IProviderStored8> i = r;
    ASSERT_NE(i, nullptr);
    i->ItemReferenceStringMinimalSql("x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderStored8.ItemReferenceStringMinimalSql");
  }
  {
    std::shared_ptr<IProviderStored9> i = r;
    ASSERT_NE(i, nullptr);
    i->IsVirtual();
    EXPECT_EQ(r->calls.back(), "IProviderStored9.IsVirtual");
  }
  {
    std::shared_ptr<IProviderStored10> i = r;
    ASSERT_NE(i, nullptr);
    i->GetRecordsAllByView("x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderStored10.GetRecordsAllByView");
  }
  {
    std::shared_ptr<IProviderStored11> i = r;
    ASSERT_NE(i, nullptr);
    i->GetColumnAggregateValue("x", 7, "x", nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderStored11.GetColumnAggregateValue");
  }
  {
    std::shared_ptr<IProviderInsert> i = r;
    ASSERT_NE(i, nullptr);
    i->InsertRecord("x", "x", 7, nullptr, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderInsert.InsertRecord");
    i->InsertRecordErrorLevel(7);
    EXPECT_EQ(r->calls.back(), "IProviderInsert.InsertRecordErrorLevel");
    i->RequireExclusiveProjectAccessForInsert();
    EXPECT_EQ(r->calls.back(), "IProviderInsert.RequireExclusiveProjectAccessForInsert");
  }
  {
    std::shared_ptr<IProviderDraftable> i = r;
    ASSERT_NE(i, nullptr);
    i->CreateDraft("x", "x", 7, nullptr, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderDraftable.CreateDraft");
    i->HasDraft("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderDraftable.HasDraft");
    i->PromoteDraft("x", "x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderDraftable.PromoteDraft");
  }
  {
    std::shared_ptr<IProviderUpdate> i = r;
    ASSERT_NE(i, nullptr);
    i->UpdateField("x", "x", 7, "x", "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderUpdate.UpdateField");
    i->UpdateField2("x", 7, "x", "x", "x", nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderUpdate.UpdateField2");
    i->UpdateFieldErrorLevel(7);
    EXPECT_EQ(r->calls.back(), "IProviderUpdate.UpdateFieldErrorLevel");
  }
  {
    std::shared_ptr<IProviderUpdate2> i = r;
    ASSERT_NE(i, nullptr);
    i->UpdateField("x", 7, "x", Variant("v"), 7, nullptr, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderUpdate2.UpdateField");
  }
  {
    std::shared_ptr<IProviderDelete> i = r;
    ASSERT_NE(i, nullptr);
    i->DeleteRecords("x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderDelete.DeleteRecords");
    i->DeleteRecordsErrorLevel(7);
    EXPECT_EQ(r->calls.back(), "IProviderDelete.DeleteRecordsErrorLevel");
    i->DeleteRecordErrorCodeNonStandard("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderDelete.DeleteRecordErrorCodeNonStandard");
    i->RequireExclusiveProjectAccessForDelete();
    EXPECT_EQ(r->calls.back(), "IProviderDelete.RequireExclusiveProjectAccessForDelete");
  }
  {
    std::shared_ptr<IProviderDelete2> i = r;
    ASSERT_NE(i, nullptr);
    i->DeleteRecords("x", "x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderDelete2.DeleteRecords");
  }
  {
    std::shared_ptr<IProviderCertify> i = r;
    ASSERT_NE(i, nullptr);
    i->CertifiableRecords("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify.CertifiableRecords");
    i->CertifiableRecordsSinceCounter("x", 7, 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify.CertifiableRecordsSinceCounter");
    i->ContractAmountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ContractAmountColumnGuid");
    i->ContractItemColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ContractItemColumnGuid");
    i->ProgressAmountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressAmountColumnGuid");
    i->ProgressAmountLastColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressAmountLastColumnGuid");
    i->ProgressAmountThisColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressAmountThisColumnGuid");
    i->ProgressAmountRemainingColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressAmountRemainingColumnGuid");
    i->ProgressPercentColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressPercentColumnGuid");
    i->ProgressPercentLastColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressPercentLastColumnGuid");
    i->ProgressPercentThisColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressPercentThisColumnGuid");
    i->ProgressPercentRemainingColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressPercentRemainingColumnGuid");
    i->ProgressStatusColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProgressStatusColumnGuid");
    i->ItemReferenceColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ItemReferenceColumnGuid");
    i->ProviderPluralNameColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ProviderPluralNameColumnGuid");
    i->ContractAdditionsToDate("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ContractAdditionsToDate");
    i->ContractDeletionsToDate("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify.ContractDeletionsToDate");
    i->AdditionsProgressToDate("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify.AdditionsProgressToDate");
    i->DeletionsProgressToDate("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify.DeletionsProgressToDate");
    i->CombineAdditionsAndDeletions();
    EXPECT_EQ(r->calls.back(), "IProviderCertify.CombineAdditionsAndDeletions");
    i->RecordCertified("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderCertify.RecordCertified");
  }
  {
    std::shared_ptr<IProviderCertify2> i = r;
    ASSERT_NE(i, nullptr);
    i->ContractAmountFieldSql("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderCertify2.ContractAmountFieldSql");
  }
  {
    std::shared_ptr<IProviderCertify3> i = r;
    ASSERT_NE(i, nullptr);
    i->ApplyHoldbackColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify3.ApplyHoldbackColumnGuid");
  }
  {
    std::shared_ptr<IProviderCertify4> i = r;
    ASSERT_NE(i, nullptr);
    i->TitleColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify4.TitleColumnGuid");
    i->TypeColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify4.TypeColumnGuid");
    i->NumberColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify4.NumberColumnGuid");
    i->EffectColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify4.EffectColumnGuid");
  }
  {
    std::shared_ptr<IProviderCertify5> i = r;
    ASSERT_NE(i, nullptr);
    i->ExternalNumberColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify5.ExternalNumberColumnGuid");
    i->AccountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderCertify5.AccountColumnGuid");
  }
  {
    std::shared_ptr<IProviderCertify6> i = r;
    ASSERT_NE(i, nullptr);
    i->ApprovedProgressAmountToDateByTaxType("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderCertify6.ApprovedProgressAmountToDateByTaxType");
    i->ApprovedProgressAmountLastByTaxType("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderCertify6.ApprovedProgressAmountLastByTaxType");
    i->ApprovedProgressAmountThisByTaxType("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderCertify6.ApprovedProgressAmountThisByTaxType");
  }
  {
    std::shared_ptr<IProviderForm> i = r;
    ASSERT_NE(i, nullptr);
    i->DescriptionColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderForm.DescriptionColumnGuid");
    i->FormTypeGuidByRecordGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.FormTypeGuidByRecordGuid");
    i->FormNumberByRecordGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.FormNumberByRecordGuid");
    i->FormTypeColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderForm.FormTypeColumnGuid");
    i->FormNumberColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderForm.FormNumberColumnGuid");
    i->FormattedFormValue("x", 7, "x", "x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderForm.FormattedFormValue");
    i->InUseFormTitleFromAbbreviation("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.InUseFormTitleFromAbbreviation");
    i->InUseFormAbbreviationFromTitle("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.InUseFormAbbreviationFromTitle");
    i->CommonFormAbbreviationFromTitle("x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.CommonFormAbbreviationFromTitle");
    i->CommonFormTitleFromAbbreviation("x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.CommonFormTitleFromAbbreviation");
    i->IsIncoming(-1);
    EXPECT_EQ(r->calls.back(), "IProviderForm.IsIncoming");
    i->GetDescriptionTextRtf("x", 7, "x", formdesctexttype_AutoSave);
    EXPECT_EQ(r->calls.back(), "IProviderForm.GetDescriptionTextRtf");
    i->SetDescriptionTextRtf("x", 7, "x", formdesctexttype_AutoSave, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.SetDescriptionTextRtf");
    i->AutoSavedDescriptionExists("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.AutoSavedDescriptionExists");
    i->FormTypesAndNumbers("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.FormTypesAndNumbers");
    i->AlwaysShowPage2();
    EXPECT_EQ(r->calls.back(), "IProviderForm.AlwaysShowPage2");
    i->DefaultFormInfo("x");
    EXPECT_EQ(r->calls.back(), "IProviderForm.DefaultFormInfo");
  }
  {
    std::shared_ptr<IProviderForm2> i = r;
    ASSERT_NE(i, nullptr);
    i->ColumnSupportsFormFormatting("x");
    EXPECT_EQ(r->calls.back(), "IProviderForm2.ColumnSupportsFormFormatting");
  }
  {
    std::shared_ptr<IProviderForm3> i = r;
    ASSERT_NE(i, nullptr);
    i->FormTypeTitleColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderForm3.FormTypeTitleColumnGuid");
  }
  {
    std::shared_ptr<IProviderChild> i = r;
    ASSERT_NE(i, nullptr);
    i->TopLevelParentReference("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.TopLevelParentReference");
    i->TopLevelParentReferenceRecordGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.TopLevelParentReferenceRecordGuid");
    i->IsTopLevelParentReferenced("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.IsTopLevelParentReferenced");
    i->TopLevelParentReferencedFormTypesAndNumbers("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.TopLevelParentReferencedFormTypesAndNumbers");
    i->ItemTitleOrParentItemTitle("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.ItemTitleOrParentItemTitle");
    i->ParentProviders();
    EXPECT_EQ(r->calls.back(), "IProviderChild.ParentProviders");
    i->ParentProviderGuids();
    EXPECT_EQ(r->calls.back(), "IProviderChild.ParentProviderGuids");
    i->ParentRecordGuidColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderChild.ParentRecordGuidColumnGuid");
    i->ParentProviderGuidColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderChild.ParentProviderGuidColumnGuid");
    i->TouchRecordsByTopLevelParentReferenceRecordGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.TouchRecordsByTopLevelParentReferenceRecordGuid");
    i->TouchRecordsByParentReferenceRecordGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.TouchRecordsByParentReferenceRecordGuid");
    i->InsertParentReferences("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderChild.InsertParentReferences");
    i->AncestorReferenced("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.AncestorReferenced");
    i->AncestorReferenceStringShort("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild.AncestorReferenceStringShort");
    i->LinkedFieldsTableName();
    EXPECT_EQ(r->calls.back(), "IProviderChild.LinkedFieldsTableName");
  }
  {
    std::shared_ptr<IProviderChild2> i = r;
    ASSERT_NE(i, nullptr);
    i->InsertParentReferencesSql();
    EXPECT_EQ(r->calls.back(), "IProviderChild2.InsertParentReferencesSql");
  }
  {
    std::shared_ptr<IProviderChild3> i = r;
    ASSERT_NE(i, nullptr);
    i->AncestorReferenceDateIso8601("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderChild3.AncestorReferenceDateIso8601");
  }
  {
    std::shared_ptr<IProviderContacter> i = r;
    ASSERT_NE(i, nullptr);
    i->ReferencedContactGuids("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderContacter.ReferencedContactGuids");
    i->ReferencedContactGuidsByColumnGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderContacter.ReferencedContactGuidsByColumnGuid");
    i->ContactPrimaryColumnGuids();
    EXPECT_EQ(r->calls.back(), "IProviderContacter.ContactPrimaryColumnGuids");
    i->TranslateContactGuids("x", nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderContacter.TranslateContactGuids");
    i->SelectDistinctContactGuidsSql();
    EXPECT_EQ(r->calls.back(), "IProviderContacter.SelectDistinctContactGuidsSql");
  }
  {
    std::shared_ptr<IProviderContacter2> i = r;
    ASSERT_NE(i, nullptr);
    i->OwnerSignedColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderContacter2.OwnerSignedColumnGuid");
    i->BuilderSignedColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderContacter2.BuilderSignedColumnGuid");
    i->DesignerSignedColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderContacter2.DesignerSignedColumnGuid");
    i->ContractAdminSignedColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderContacter2.ContractAdminSignedColumnGuid");
    i->ComputedContactColumnGuids();
    EXPECT_EQ(r->calls.back(), "IProviderContacter2.ComputedContactColumnGuids");
  }
  {
    std::shared_ptr<IProviderContacter3> i = r;
    ASSERT_NE(i, nullptr);
    i->RemoveProjectContactReferences("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderContacter3.RemoveProjectContactReferences");
  }
  {
    std::shared_ptr<IProviderContacter4> i = r;
    ASSERT_NE(i, nullptr);
    i->ReferencedContactGuidsByRecordset("x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderContacter4.ReferencedContactGuidsByRecordset");
  }
  {
    std::shared_ptr<IProviderAttach> i = r;
    ASSERT_NE(i, nullptr);
    i->RegisterAttachment("x", 7, "x", "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderAttach.RegisterAttachment");
    i->IProviderAttachmentType();
    EXPECT_EQ(r->calls.back(), "IProviderAttach.IProviderAttachmentType");
  }
  {
    std::shared_ptr<IProviderAttach2> i = r;
    ASSERT_NE(i, nullptr);
    i->AttachmentCountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderAttach2.AttachmentCountColumnGuid");
  }
  {
    std::shared_ptr<IProviderAttach3> i = r;
    ASSERT_NE(i, nullptr);
    i->AttachmentListColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderAttach3.AttachmentListColumnGuid");
    i->AttachmentListCrLfColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderAttach3.AttachmentListCrLfColumnGuid");
  }
  {
    std::shared_ptr<IProviderReasonable> i = r;
    ASSERT_NE(i, nullptr);
    i->ReasonColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderReasonable.ReasonColumnGuid");
    i->ReasonTitle("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderReasonable.ReasonTitle");
    i->ReasonAbbreviation("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderReasonable.ReasonAbbreviation");
    i->ReasonGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderReasonable.ReasonGuid");
    i->ReasonTouched("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderReasonable.ReasonTouched");
  }
  {
    std::shared_ptr<IProviderReasonable2> i = r;
    ASSERT_NE(i, nullptr);
    i->ReasonTitleColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderReasonable2.ReasonTitleColumnGuid");
  }
  {
    std::shared_ptr<IProviderNotable> i = r;
    ASSERT_NE(i, nullptr);
    i->SaveNote("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderNotable.SaveNote");
    i->GetNote("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderNotable.GetNote");
  }
  {
    std::shared_ptr<IProviderNotable2> i = r;
    ASSERT_NE(i, nullptr);
    i->NotesColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderNotable2.NotesColumnGuid");
    i->HasNotesColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderNotable2.HasNotesColumnGuid");
  }
  {
    std::shared_ptr<IProviderReferencer> i = r;
    ASSERT_NE(i, nullptr);
    i->ReferencedProviders();
    EXPECT_EQ(r->calls.back(), "IProviderReferencer.ReferencedProviders");
    i->ReferenceColumnInfos();
    EXPECT_EQ(r->calls.back(), "IProviderReferencer.ReferenceColumnInfos");
    i->TouchReferencedRecords("x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderReferencer.TouchReferencedRecords");
    i->ReferencedProviderAndRecordGuidsByRecordGuid("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderReferencer.ReferencedProviderAndRecordGuidsByRecordGuid");
  }
  {
    std::shared_ptr<IProviderReferencer2> i = r;
    ASSERT_NE(i, nullptr);
    i->ReferenceInfos();
    EXPECT_EQ(r->calls.back(), "IProviderReferencer2.ReferenceInfos");
  }
  {
    std::shared_ptr<IProviderNumbered> i = r;
    ASSERT_NE(i, nullptr);
    i->NumberColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderNumbered.NumberColumnGuid");
  }
  {
    std::shared_ptr<IProviderNumbered2> i = r;
    ASSERT_NE(i, nullptr);
    i->ItemNumber("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderNumbered2.ItemNumber");
  }
  {
    std::shared_ptr<IProviderExternalNumbered> i = r;
    ASSERT_NE(i, nullptr);
    i->ExternalNumberColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderExternalNumbered.ExternalNumberColumnGuid");
    i->ItemExternalNumber("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderExternalNumbered.ItemExternalNumber");
  }
  {
    std::shared_ptr<IProviderTyped> i = r;
    ASSERT_NE(i, nullptr);
    i->TypesCollection("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderTyped.TypesCollection");
    i->TypeColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderTyped.TypeColumnGuid");
  }
  {
    std::shared_ptr<IProviderTyped2> i = r;
    ASSERT_NE(i, nullptr);
    i->TypesAndIssueDatesRs("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderTyped2.TypesAndIssueDatesRs");
  }
  {
    std::shared_ptr<IProviderTitled> i = r;
    ASSERT_NE(i, nullptr);
    i->ItemTitle("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderTitled.ItemTitle");
    i->TitleColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderTitled.TitleColumnGuid");
  }
  {
    std::shared_ptr<IProviderTitled2> i = r;
    ASSERT_NE(i, nullptr);
    i->TitleSql("x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderTitled2.TitleSql");
  }
  {
    std::shared_ptr<IProviderPhaseable> i = r;
    ASSERT_NE(i, nullptr);
    i->ItemPhase("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderPhaseable.ItemPhase");
    i->PhaseColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderPhaseable.PhaseColumnGuid");
  }
  {
    std::shared_ptr<IProviderDated> i = r;
    ASSERT_NE(i, nullptr);
    i->PrimaryDateColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderDated.PrimaryDateColumnGuid");
    i->PrimaryDateSql("x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderDated.PrimaryDateSql");
  }
  {
    std::shared_ptr<IProviderDisciplined> i = r;
    ASSERT_NE(i, nullptr);
    i->DisciplineAbbreviationsColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderDisciplined.DisciplineAbbreviationsColumnGuid");
    i->DisciplineTitlesColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderDisciplined.DisciplineTitlesColumnGuid");
    i->DisciplineTitles("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderDisciplined.DisciplineTitles");
    i->DisciplineAbbreviations("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderDisciplined.DisciplineAbbreviations");
    i->ItemDisciplineGuids("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderDisciplined.ItemDisciplineGuids");
    i->DisciplineTouched("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderDisciplined.DisciplineTouched");
  }
  {
    std::shared_ptr<IProviderViewable> i = r;
    ASSERT_NE(i, nullptr);
    i->RefreshViews();
    EXPECT_EQ(r->calls.back(), "IProviderViewable.RefreshViews");
  }
  {
    std::shared_ptr<IProviderViewable2> i = r;
    ASSERT_NE(i, nullptr);
    i->AddViewColumnByGuid(nullptr, "x");
    EXPECT_EQ(r->calls.back(), "IProviderViewable2.AddViewColumnByGuid");
  }
  {
    std::shared_ptr<IProviderViewable3> i = r;
    ASSERT_NE(i, nullptr);
    i->FixView(nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderViewable3.FixView");
  }
  {
    std::shared_ptr<IProviderColumnList> i = r;
    ASSERT_NE(i, nullptr);
    i->TranslateColumnListGuid("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderColumnList.TranslateColumnListGuid");
  }
  {
    std::shared_ptr<IProviderColumnList2> i = r;
    ASSERT_NE(i, nullptr);
    i->ColumnListItemReferenced("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderColumnList2.ColumnListItemReferenced");
    i->ReferencedColumnListItemRecordGuids("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderColumnList2.ReferencedColumnListItemRecordGuids");
    i->ColumnListColumns();
    EXPECT_EQ(r->calls.back(), "IProviderColumnList2.ColumnListColumns");
    i->DereferenceColumnListItem("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderColumnList2.DereferenceColumnListItem");
    i->ChangeReferencedColumnListItems("x", 7, "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderColumnList2.ChangeReferencedColumnListItems");
  }
  {
    std::shared_ptr<IProviderFormat> i = r;
    ASSERT_NE(i, nullptr);
    i->FormatCell("x", 7, "x", "x", "x");
    EXPECT_EQ(r->calls.back(), "IProviderFormat.FormatCell");
    i->FormatCellMultiCellDependent("x", 7, "x", "x", "x", nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderFormat.FormatCellMultiCellDependent");
  }
  {
    std::shared_ptr<IProviderSearch> i = r;
    ASSERT_NE(i, nullptr);
    i->GetSearchResults("x", 7, "x", searchextras_Notes | searchextras_Attachments);
    EXPECT_EQ(r->calls.back(), "IProviderSearch.GetSearchResults");
    i->SearchableView();
    EXPECT_EQ(r->calls.back(), "IProviderSearch.SearchableView");
  }
  {
    std::shared_ptr<IProviderTabStats> i = r;
    ASSERT_NE(i, nullptr);
    i->PopulateProviderProjectStatistics("x", 7, nullptr);
    EXPECT_EQ(r->calls.back(), "IProviderTabStats.PopulateProviderProjectStatistics");
  }
  {
    std::shared_ptr<IProviderTemplate> i = r;
    ASSERT_NE(i, nullptr);
    i->RequiredSupportedProviderGuids();
    EXPECT_EQ(r->calls.back(), "IProviderTemplate.RequiredSupportedProviderGuids");
    i->PostProcessImportedTemplateData("x", 7, "x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderTemplate.PostProcessImportedTemplateData");
  }
  {
    std::shared_ptr<IProviderDivided> i = r;
    ASSERT_NE(i, nullptr);
    i->GetDivisionInfos("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderDivided.GetDivisionInfos");
  }
  {
    std::shared_ptr<IProviderUPrice> i = r;
    ASSERT_NE(i, nullptr);
    i->TotalAmountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderUPrice.TotalAmountColumnGuid");
    i->UnitsColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderUPrice.UnitsColumnGuid");
    i->QuantityColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderUPrice.QuantityColumnGuid");
    i->UnitAmountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderUPrice.UnitAmountColumnGuid");
  }
  {
    std::shared_ptr<IProviderApprover> i = r;
    ASSERT_NE(i, nullptr);
    i->ApprovedColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderApprover.ApprovedColumnGuid");
    {
      bool p_CanApprove = true;
      bool p_CanUnapprove = true;
      i->GetItemApprovalRights("x", "x", "x", 7, "x", p_CanApprove, p_CanUnapprove);
    }
    EXPECT_EQ(r->calls.back(), "IProviderApprover.GetItemApprovalRights");
  }
  {
    std::shared_ptr<IProviderEmail> i = r;
    ASSERT_NE(i, nullptr);
    i->EmailCountColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderEmail.EmailCountColumnGuid");
  }
  {
    std::shared_ptr<IProviderSubList> i = r;
    ASSERT_NE(i, nullptr);
    i->SubListType();
    EXPECT_EQ(r->calls.back(), "IProviderSubList.SubListType");
    i->ParentProviderGuidColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderSubList.ParentProviderGuidColumnGuid");
    i->ParentRecordGuidColumnGuid();
    EXPECT_EQ(r->calls.back(), "IProviderSubList.ParentRecordGuidColumnGuid");
    i->OverrideIProviderInsert(providersublisttype_StandardAttachments);
    EXPECT_EQ(r->calls.back(), "IProviderSubList.OverrideIProviderInsert");
  }
  {
    std::shared_ptr<IProviderDescendable> i = r;
    ASSERT_NE(i, nullptr);
    i->DescendMenuItems();
    EXPECT_EQ(r->calls.back(), "IProviderDescendable.DescendMenuItems");
    i->DescendMenuItems2("x", 7);
    EXPECT_EQ(r->calls.back(), "IProviderDescendable.DescendMenuItems2");
  }
  {
    std::shared_ptr<IProviderRecordStatus> i = r;
    ASSERT_NE(i, nullptr);
    i->RecordStatus("x", 7, "x");
    EXPECT_EQ(r->calls.back(), "IProviderRecordStatus.RecordStatus");
  }
  EXPECT_EQ(r->calls.size(), 228U);
}

TEST(ProviderInterfaces, NumberedInterfacesDoNotImplyTheEarlierOnes) {
  struct StoredTwoOnly : IProviderInfo, IProviderStored2 {};
  std::shared_ptr<IProviderInfo> info = std::make_shared<StoredTwoOnly>();
  EXPECT_NE(std::dynamic_pointer_cast<IProviderStored2>(info), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderStored>(info), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderStored3>(info), nullptr);
  // Every interface reaches the one object root, so a provider travels inside a Variant.
  Variant held(std::make_shared<StoredTwoOnly>());
  EXPECT_NE(held.ToObject<IProviderStored2>(), nullptr);
  EXPECT_THROW(held.ToObject<IProviderStored>(), CError);
}

// A persistable class that also implements the contract, as a provider info shell does:
// one object root, so it travels inside a Variant and comes back as its own class.
class PersistableProvider : public CPersistable, public IProviderInfo, public IProviderTitled {
 public:
  std::string title;
  std::string ClassName() const override { return "PersistableProvider"; }
  void Class_WriteProperties(PropertyBag& bag) const override { bag.WriteProperty("T", title); }
  void Class_ReadProperties(const PropertyBag& bag) override { title = bag.ReadText("T"); }

 protected:
  std::string IProviderInfo_ClassName() override { return "CSomeProvider"; }
  std::string IProviderTitled_TitleColumnGuid() override { return title; }
};

TEST(ProviderInterfaces, APersistableProviderHasOneObjectRoot) {
  ClassRegistry::Register<PersistableProvider>("PersistableProvider");
  auto provider = std::make_shared<PersistableProvider>();
  provider->title = "TITLE-COLUMN";
  // Its persisted class and the class it reports as a provider are separate members.
  EXPECT_EQ(static_cast<const IPersistable&>(*provider).ClassName(), "PersistableProvider");
  EXPECT_EQ(static_cast<IProviderInfo&>(*provider).ClassName(), "CSomeProvider");

  PropertyBag bag;
  bag.WriteProperty("Provider", Variant(provider));
  PropertyBag restored;
  restored.SetContents(bag.Contents());
  const auto back = restored.ReadObject<IProviderTitled>("Provider");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->TitleColumnGuid(), "TITLE-COLUMN");
  EXPECT_NE(std::dynamic_pointer_cast<IProviderInfo>(back), nullptr);
}

}  // namespace
}  // namespace prvdrinfo
