// The provider info shell: what Clone learns from real provider modules loaded the way a
// host loads them, from small providers of the tests' own, and what survives its bytes.
#include "prvdrinfo/providers/provider_info_shell.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "../../examples/change_order_log/change_order_log.h"
#include "../../examples/task_register/task_register.h"
#include "prvdrinfo/contract/module_loader.h"
#include "prvdrinfo/contract/provider_interfaces.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"
#include "support/error_capture.h"
#include "support/host_seams.h"
#include "test_provider.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

#if defined(TASK_REGISTER_MODULE) && defined(CHANGE_ORDER_LOG_MODULE)
std::shared_ptr<IProviderInfo> TaskRegister() {
  return ModuleLoader(TASK_REGISTER_MODULE).CreateProvider(task_register::kClassName);
}
std::shared_ptr<IProviderInfo> ChangeOrderLog() {
  return ModuleLoader(CHANGE_ORDER_LOG_MODULE).CreateProvider(change_order_log::kClassName);
}
constexpr bool kModulesBuilt = true;
#else
std::shared_ptr<IProviderInfo> TaskRegister() { return nullptr; }
std::shared_ptr<IProviderInfo> ChangeOrderLog() { return nullptr; }
constexpr bool kModulesBuilt = false;
#endif

// Tests of shells of the example modules, which a build without examples skips.
class ModuleShell : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kModulesBuilt) GTEST_SKIP() << "the example modules are not part of this build";
  }
};

std::shared_ptr<CProviderInfoShell> CloneOf(const std::shared_ptr<IProviderInfo>& provider) {
  auto shell = CProviderInfoShellFactory().CreateProviderInfoShell();
  shell->Clone(provider);
  return shell;
}

// Each flag as the two modules declare it: every one of them is True in one module and
// False in the other, but for those no example module sets (a test provider below does).
TEST_F(ModuleShell, CloneRecordsTheInterfacesEachModuleImplements) {
  const auto tasks = CloneOf(TaskRegister());
  const auto changes = CloneOf(ChangeOrderLog());
  using S = CProviderInfoShell;
  struct Case {
    const char* flag;
    bool (S::*get)() const;
    bool task;
    bool change;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"SupportsRecordStatus", &S::SupportsRecordStatus, true, false},
           {"SupportsAttachments", &S::SupportsAttachments, false, true},
           {"SupportsAttachments2", &S::SupportsAttachments2, false, true},
           {"SupportsAttachments3", &S::SupportsAttachments3, false, true},
           {"SupportsCertify", &S::SupportsCertify, false, true},
           {"SupportsDisciplined", &S::SupportsDisciplined, false, true},
           {"SupportsSearch", &S::SupportsSearch, false, true},
           {"SupportsDelete", &S::SupportsDelete, true, false},
           {"SupportsForms", &S::SupportsForms, false, true},
           {"SupportsForms3", &S::SupportsForms3, false, true},
           {"SupportsInsert", &S::SupportsInsert, true, false},
           {"SupportsStorage", &S::SupportsStorage, false, true},
           {"SupportsStorage5", &S::SupportsStorage5, false, true},
           {"SupportsUpdate", &S::SupportsUpdate, true, false},
           {"SupportsUpdate2", &S::SupportsUpdate2, false, true},
           {"SupportsDescendable", &S::SupportsDescendable, true, false},
           {"SupportsSubList", &S::SupportsSubList, false, true},
           {"SupportsNotable", &S::SupportsNotable, false, true},
           {"SupportsChild", &S::SupportsChild, false, true},
           {"SupportsTyped", &S::SupportsTyped, false, true},
           {"SupportsTitled", &S::SupportsTitled, true, false},
           {"SupportsPhaseable", &S::SupportsPhaseable, false, true},
           {"SupportsContacter", &S::SupportsContacter, false, false},
           {"SupportsContacter2", &S::SupportsContacter2, false, true},
           {"SupportsNumber", &S::SupportsNumber, true, false},
           {"SupportsExternalNumber", &S::SupportsExternalNumber, false, true},
           {"SupportsTemplate", &S::SupportsTemplate, false, true},
           {"SupportsDivided", &S::SupportsDivided, false, true},
           {"SupportsUnitPrice", &S::SupportsUnitPrice, false, true},
           {"SupportsDraftable", &S::SupportsDraftable, false, true},
           {"SupportsReferencer", &S::SupportsReferencer, false, true},
           {"SupportsReferencer2", &S::SupportsReferencer2, false, true},
           {"SupportsReasonable", &S::SupportsReasonable, false, true},
           {"SupportsReasonable2", &S::SupportsReasonable2, false, true},
           {"SupportsDated", &S::SupportsDated, false, true},
           {"IgnoreCounters", &S::IgnoreCounters, false, true},
           {"AlwaysShowPage2", &S::AlwaysShowPage2, false, true},
           {"RequiresExclusiveProjectForInsert", &S::RequiresExclusiveProjectForInsert, false,
            false},
           {"RequiresExclusiveProjectForDelete", &S::RequiresExclusiveProjectForDelete, false,
            false},
       }) {
    EXPECT_EQ(((*tasks).*c.get)(), c.task) << "task register: " << c.flag;
    EXPECT_EQ(((*changes).*c.get)(), c.change) << "change order log: " << c.flag;
  }
  EXPECT_EQ(tasks->AttachmentsType(), iproviderattachtype_Standard);
  EXPECT_EQ(changes->AttachmentsType(), iproviderattachtype_ShopDrawings);
}

TEST_F(ModuleShell, CloneCollectsTheRoleColumnsOfEachModule) {
  namespace co = change_order_log;
  const auto tasks = CloneOf(TaskRegister());
  const auto changes = CloneOf(ChangeOrderLog());
  using S = CProviderInfoShell;
  struct Case {
    const char* role;
    std::string (S::*get)() const;
    std::string task;
    std::string change;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"NumberColumnGuid", &S::NumberColumnGuid, task_register::kNumberColumnGuid, ""},
           {"TitleColumnGuid", &S::TitleColumnGuid, task_register::kTitleColumnGuid, ""},
           {"DisciplineAbbreviationsColumnGuid", &S::DisciplineAbbreviationsColumnGuid, "",
            co::kDisciplineAbbreviationsColumnGuid},
           {"DisciplineTitlesColumnGuid", &S::DisciplineTitlesColumnGuid, "",
            co::kDisciplineTitlesColumnGuid},
           {"PrimaryDateColumnGuid", &S::PrimaryDateColumnGuid, "", co::kDateColumnGuid},
           {"AttachmentCountColumnGuid", &S::AttachmentCountColumnGuid, "",
            co::kAttachmentCountColumnGuid},
           {"AttachmentListColumnGuid", &S::AttachmentListColumnGuid, "",
            co::kAttachmentListColumnGuid},
           {"AttachmentListCrLfColumnGuid", &S::AttachmentListCrLfColumnGuid, "",
            co::kAttachmentListCrLfColumnGuid},
           {"ReasonColumnGuid", &S::ReasonColumnGuid, "", co::kReasonColumnGuid},
           {"ReasonTitleColumnGuid", &S::ReasonTitleColumnGuid, "", co::kReasonTitleColumnGuid},
           {"ExternalNumberColumnGuid", &S::ExternalNumberColumnGuid, "",
            co::kExternalNumberColumnGuid},
           {"NotableNotesColumnGuid", &S::NotableNotesColumnGuid, "", co::kNotesColumnGuid},
           {"NotableHasNotesColumnGuid", &S::NotableHasNotesColumnGuid, "",
            co::kHasNotesColumnGuid},
           {"EmailCountColumnGuid", &S::EmailCountColumnGuid, "", co::kEmailCountColumnGuid},
           {"ContacterOwnerSignedColumnGuid", &S::ContacterOwnerSignedColumnGuid, "",
            co::kOwnerSignedColumnGuid},
           {"ContacterBuilderSignedColumnGuid", &S::ContacterBuilderSignedColumnGuid, "",
            co::kBuilderSignedColumnGuid},
           {"ContacterDesignerSignedColumnGuid", &S::ContacterDesignerSignedColumnGuid, "",
            co::kDesignerSignedColumnGuid},
           {"ContacterContractAdminSignedColumnGuid", &S::ContacterContractAdminSignedColumnGuid,
            "", co::kContractAdminSignedColumnGuid},
           {"CertifiableApplyHoldbackColumnGuid", &S::CertifiableApplyHoldbackColumnGuid, "",
            co::kApplyHoldbackColumnGuid},
           {"FormTypeColumnGuid", &S::FormTypeColumnGuid, "", co::kFormTypeColumnGuid},
           {"FormTypeTitleColumnGuid", &S::FormTypeTitleColumnGuid, "",
            co::kFormTypeTitleColumnGuid},
           {"ReferenceMask", &S::ReferenceMask, "", co::kReferenceMask},
           {"ReferenceShortMask", &S::ReferenceShortMask, "", co::kReferenceShortMask},
           {"ReferenceAttributesMask", &S::ReferenceAttributesMask, "",
            co::kReferenceAttributesMask},
           {"TypeColumnGuid", &S::TypeColumnGuid, "", co::kTypeColumnGuid},
           {"PhaseColumnGuid", &S::PhaseColumnGuid, "", co::kPhaseColumnGuid},
           {"ChildParentRecordGuidColumnGuid", &S::ChildParentRecordGuidColumnGuid, "",
            co::kParentRecordColumnGuid},
       }) {
    EXPECT_EQ(((*tasks).*c.get)(), c.task) << "task register: " << c.role;
    EXPECT_EQ(((*changes).*c.get)(), c.change) << "change order log: " << c.role;
  }
}

// Cloning a shell again from another provider leaves nothing of the first behind.
TEST_F(ModuleShell, ASecondCloneDescribesOnlyTheSecondProvider) {
  const auto shell = CloneOf(ChangeOrderLog());
  shell->Clone(TaskRegister());
  EXPECT_EQ(shell->Serialize(), CloneOf(TaskRegister())->Serialize());
  EXPECT_FALSE(shell->SupportsContacter2());
  EXPECT_FALSE(shell->AlwaysShowPage2());
  EXPECT_EQ(shell->AttachmentsType(), iproviderattachtype_Standard);
  EXPECT_EQ(shell->ReferenceMask(), "");
}

TEST_F(ModuleShell, CloneCopiesIdentityNamesColumnsAndViewsThroughTheirBytes) {
  const auto provider = ChangeOrderLog();
  const auto shell = CloneOf(provider);
  EXPECT_EQ(shell->Guid(), change_order_log::kProviderGuid);
  EXPECT_EQ(shell->DllName(), "libchange_order_log.so");
  EXPECT_EQ(shell->ClassName(), "CChangeOrderLog");
  EXPECT_EQ(static_cast<const IPersistable&>(*shell).ClassName(), "CProviderInfoShell");
  // Names are asked in English (Canada): the French ones never show.
  EXPECT_EQ(shell->SingularName(), "Change Order");
  EXPECT_EQ(shell->PluralName(), "Change Orders");
  EXPECT_EQ(shell->CommonSingularName(), "Change");
  EXPECT_EQ(shell->CommonPluralName(), "Changes");
  EXPECT_EQ(shell->Category(), providercategory_Certifier);
  EXPECT_EQ(shell->Description(), provider->Description());

  EXPECT_NE(shell->Columns(), provider->Columns());
  EXPECT_EQ(shell->Columns()->ContentId(), provider->Columns()->ContentId());
  EXPECT_NE(shell->Views(), provider->Views());
  ASSERT_EQ(shell->Views()->Count(), 2);
  EXPECT_EQ(shell->Views()->ContentId(), provider->Views()->ContentId());
  EXPECT_EQ(shell->Views()->ViewByIndex(1)->Guid(), change_order_log::kOpenChangesViewGuid);

  // Later changes to the provider do not reach the shell.
  provider->Views()->Remove(change_order_log::kOpenChangesViewGuid);
  provider->Columns()->Remove(change_order_log::kAmountColumnGuid);
  EXPECT_EQ(shell->Views()->Count(), 2);
  EXPECT_TRUE(shell->Columns()->Exists(change_order_log::kAmountColumnGuid));
}

TEST_F(ModuleShell, CloneLogsEachStepAndItsTime) {
  test::ScopedLogCapture log;
  CloneOf(TaskRegister());
  std::vector<std::string> messages;
  for (const auto& line : log.Lines()) {
    EXPECT_EQ(line.className, "CProviderInfoShell");
    messages.push_back(line.message);
  }
  ASSERT_EQ(messages.size(), 6U);
  EXPECT_EQ(messages[0], "Cloning libtask_register.so.CTaskRegister");
  EXPECT_EQ(messages[1], "Source provider provider specific columns count: 3");
  EXPECT_EQ(messages[2], "Cloned provider provider specific columns count: 3");
  EXPECT_EQ(messages[3], "Source provider views count: 2");
  EXPECT_EQ(messages[4], "Cloned provider views count: 2");
  EXPECT_TRUE(
      std::regex_match(messages[5], std::regex(R"(Clone time for Tasks: \d+(\.\d+)?(E-\d+)?)")))
      << messages[5];
}

TEST_F(ModuleShell, ShellBytesReproduceEveryMemberAndTheSameContent) {
  for (const auto& provider : {TaskRegister(), ChangeOrderLog()}) {
    const auto shell = CloneOf(provider);
    shell->SetAlwaysShowPage2(!shell->AlwaysShowPage2());
    const Bytes bytes = shell->Serialize();
    auto restored = std::make_shared<CProviderInfoShell>();
    restored->Deserialize(bytes);
    EXPECT_EQ(restored->Serialize(), bytes);
    EXPECT_EQ(restored->ContentString(), shell->ContentString());
    EXPECT_EQ(restored->ContentId(), shell->ContentId());
    EXPECT_EQ(restored->AlwaysShowPage2(), shell->AlwaysShowPage2());
    EXPECT_EQ(restored->Views()->ContentId(), shell->Views()->ContentId());
    EXPECT_EQ(restored->Columns()->ContentId(), shell->Columns()->ContentId());
    // Through IProviderInfo's Deserialize too.
    auto viaInterface = std::make_shared<CProviderInfoShell>();
    std::static_pointer_cast<IProviderInfo>(viaInterface)->Deserialize(bytes);
    EXPECT_EQ(viaInterface->Serialize(), bytes);
  }
}

// The content string is the scalar members' bag taken as text, the views' content, then
// the columns'; it changes with any of them.
TEST_F(ModuleShell, ContentIdFollowsScalarsViewsAndColumns) {
  const auto shell = CloneOf(TaskRegister());
  const PropertyBag scalars = testing::Without(testing::BagOf(shell->Serialize()),
                                               {"ProviderInfoColumns", "ProviderInfoViews"});
  EXPECT_EQ(shell->ContentString(), testing::UnitsOf(scalars.Contents()) +
                                        shell->Views()->ContentString() +
                                        shell->Columns()->ContentString());
  const std::string before = shell->ContentId();
  shell->SetAlwaysShowPage2(true);
  const std::string page2 = shell->ContentId();
  EXPECT_NE(page2, before);
  shell->Views()->ViewByIndex(0)->SetCaption("Every task");
  const std::string views = shell->ContentId();
  EXPECT_NE(views, page2);
  shell->Columns()->Remove(task_register::kStatusColumnGuid);
  EXPECT_NE(shell->ContentId(), views);
}

// Keys in write order; those with a default are written only when they differ from it.
TEST_F(ModuleShell, WritesItsKeysInTheirOrder) {
  const std::vector<std::string> order = {"ProviderInfoDllName",
                                          "ProviderInfoGuid",
                                          "ProviderInfoClassName",
                                          "ProviderInfoCommonSingularName",
                                          "ProviderInfoCommonPluralName",
                                          "ProviderInfoSingularName",
                                          "ProviderInfoPluralName",
                                          "ProviderInfoCategory",
                                          "ProviderInfoDescription",
                                          "IProviderSubList",
                                          "IProviderAttach",
                                          "IProviderAttach2",
                                          "IProviderAttach3",
                                          "IProviderDated",
                                          "IProviderCertify",
                                          "IProviderDelete",
                                          "IProviderForm",
                                          "IProviderForm3",
                                          "IProviderInsert",
                                          "IProviderStored",
                                          "IProviderStored5",
                                          "IProviderUpdate",
                                          "IProviderDescendable",
                                          "IProviderNotable",
                                          "IProviderChild",
                                          "IProviderTyped",
                                          "IProviderRecordStatus",
                                          "IProviderContacter",
                                          "IProviderContacter2",
                                          "IProviderTitled",
                                          "IProviderPhaseable",
                                          "IProviderNumbered",
                                          "IProviderExternalNumbered",
                                          "IProviderSearch",
                                          "IProviderTemplate",
                                          "IProviderDivided",
                                          "IProviderUPrice",
                                          "IProviderUpdate2",
                                          "IProviderDraftable",
                                          "IProviderReferencer",
                                          "IProviderReferencer2",
                                          "IProviderReasonable",
                                          "IProviderReasonable2",
                                          "IProviderDisciplined",
                                          "IgnoreCounters",
                                          "AttachmentsType",
                                          "AlwaysShowPage2",
                                          "RequiresExclusiveProjectForInsert",
                                          "RequiresExclusiveProjectForDelete",
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
                                          "PrimaryDateColumnGuid",
                                          "ProviderInfoColumns",
                                          "ProviderInfoViews"};
  const auto keysOf = [](const CProviderInfoShell& shell) {
    return testing::KeysOf(shell.Serialize());
  };
  // The change order log sets every key but the three its flags leave False.
  std::vector<std::string> changes = order;
  std::erase_if(changes, [](const std::string& key) {
    return key == "RequiresExclusiveProjectForInsert" ||
           key == "RequiresExclusiveProjectForDelete" || key == "NumberColumnGuid" ||
           key == "TitleColumnGuid";
  });
  EXPECT_EQ(keysOf(*CloneOf(ChangeOrderLog())), changes);
  // A new shell writes only the keys without a default.
  std::vector<std::string> fresh(order.begin(), order.begin() + 8);
  fresh.insert(fresh.end(), order.begin() + 9, order.begin() + 34);
  fresh.insert(fresh.end(), {"ProviderInfoColumns", "ProviderInfoViews"});
  EXPECT_EQ(keysOf(CProviderInfoShell()), fresh);
}

TEST_F(ModuleShell, OlderBytesWithoutNewerKeysLoadFalseAndEmpty) {
  const auto shell = CloneOf(ChangeOrderLog());
  PropertyBag stored;
  stored.SetContents(shell->Serialize());
  PropertyBag older;
  for (const auto& entry : stored.Entries()) {
    if (entry.key == "IProviderExternalNumbered" || entry.key == "ExternalNumberColumnGuid" ||
        entry.key == "IProviderDisciplined" || entry.key == "ProviderInfoViews") {
      continue;
    }
    older.WriteProperty(entry.key, stored.ReadProperty(entry.key));
  }
  auto loaded = std::make_shared<CProviderInfoShell>();
  loaded->Deserialize(older.Contents());
  EXPECT_FALSE(loaded->SupportsExternalNumber());
  EXPECT_EQ(loaded->ExternalNumberColumnGuid(), "");
  EXPECT_FALSE(loaded->SupportsDisciplined());
  EXPECT_TRUE(loaded->SupportsDated());
  // Bytes without views still give the shell a collection of its own.
  ASSERT_NE(loaded->Views(), nullptr);
  EXPECT_EQ(loaded->Views()->Count(), 0);
}

using testing::TestProvider;

struct Disciplined : IProviderDisciplined {
  std::string DisciplineAbbreviationsColumnGuid() const override { return "ABBREVIATIONS"; }
  std::string DisciplineTitlesColumnGuid() const override { return "TITLES"; }
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
};

struct Titled : IProviderTitled {
  std::string ItemTitle(const std::string&, int32_t, const std::string&) const override {
    return {};
  }
  std::string TitleColumnGuid() const override { return "TITLE"; }
};

struct Attach : IProviderAttach {
  bool RegisterAttachment(const std::string&, int32_t, const std::string&, const std::string&,
                          const std::string&) override {
    return false;
  }
  e_IProviderAttachmentType IProviderAttachmentType() const override {
    return iproviderattachtype_ShopDrawings;
  }
};

struct Attach2 : IProviderAttach2 {
  std::string AttachmentCountColumnGuid() const override { return "COUNT"; }
};

struct Attach3 : IProviderAttach3 {
  std::string AttachmentListColumnGuid() const override { return "LIST"; }
  std::string AttachmentListCrLfColumnGuid() const override { return "LINES"; }
};

// An attachment interface without both of the others fails at the attachment columns;
// what came before them stays, what comes after is never reached.
TEST(ProviderInfoShell, AnAttachmentInterfaceWithoutTheOtherTwoFailsClone) {
  struct AttachOnly : TestProvider, Disciplined, Titled, Attach {};
  struct AttachWithoutList : TestProvider, Disciplined, Titled, Attach, Attach2 {};
  struct ListOnly : TestProvider, Disciplined, Titled, Attach3 {};
  for (const std::shared_ptr<IProviderInfo>& provider :
       {std::shared_ptr<IProviderInfo>(std::make_shared<AttachOnly>()),
        std::shared_ptr<IProviderInfo>(std::make_shared<AttachWithoutList>()),
        std::shared_ptr<IProviderInfo>(std::make_shared<ListOnly>())}) {
    auto shell = std::make_shared<CProviderInfoShell>();
    const CError e = ErrorOf([&] { shell->Clone(provider); });
    EXPECT_EQ(e.Number(), 13);
    EXPECT_EQ(shell->Guid(), "TEST-PROVIDER");
    EXPECT_TRUE(shell->SupportsDisciplined());
    EXPECT_EQ(shell->DisciplineTitlesColumnGuid(), "TITLES");
    EXPECT_TRUE(shell->SupportsTitled());
    EXPECT_EQ(shell->TitleColumnGuid(), "");
  }
  struct AllThree : TestProvider, Attach, Attach2, Attach3 {};
  const auto shell = CloneOf(std::make_shared<AllThree>());
  EXPECT_EQ(shell->AttachmentCountColumnGuid(), "COUNT");
  EXPECT_EQ(shell->AttachmentListCrLfColumnGuid(), "LINES");
  EXPECT_EQ(shell->AttachmentsType(), iproviderattachtype_ShopDrawings);
}

TEST(ProviderInfoShell, ContacterFlagsAreTheirOwn) {
  struct Contacter : TestProvider, IProviderContacter {
    std::shared_ptr<KeyedCollection> ReferencedContactGuids(const std::string&,
                                                            int32_t) const override {
      return nullptr;
    }
    std::shared_ptr<KeyedCollection> ReferencedContactGuidsByColumnGuid(
        const std::string&, int32_t, const std::string&) const override {
      return nullptr;
    }
    std::shared_ptr<KeyedCollection> ContactPrimaryColumnGuids() const override { return nullptr; }
    void TranslateContactGuids(const std::string&,
                               const std::shared_ptr<KeyedCollection>&) override {}
    std::string SelectDistinctContactGuidsSql() const override { return {}; }
  };
  const auto shell = CloneOf(std::make_shared<Contacter>());
  EXPECT_TRUE(shell->SupportsContacter());
  EXPECT_FALSE(shell->SupportsContacter2());
  EXPECT_EQ(shell->ContacterOwnerSignedColumnGuid(), "");
}

TEST(ProviderInfoShell, ExclusiveAccessSwitchesComeFromInsertAndDelete) {
  struct Exclusive : TestProvider, IProviderInsert, IProviderDelete {
    std::string InsertRecord(const std::string&, const std::string&, int32_t,
                             const std::shared_ptr<KeyedCollection>&,
                             const std::shared_ptr<KeyedCollection>&) override {
      return {};
    }
    e_DatabaseErrorLevel InsertRecordErrorLevel(int32_t) const override { return dberr_None; }
    bool RequireExclusiveProjectAccessForInsert() const override { return true; }
    void DeleteRecords(const std::string&, int32_t,
                       const std::shared_ptr<KeyedCollection>&) override {}
    e_DatabaseErrorLevel DeleteRecordsErrorLevel(int32_t) const override { return dberr_None; }
    DeleteErrorCode DeleteRecordErrorCodeNonStandard(const std::string&, int32_t,
                                                     const std::string&) const override {
      return 0;
    }
    bool RequireExclusiveProjectAccessForDelete() const override { return true; }
  };
  const auto shell = CloneOf(std::make_shared<Exclusive>());
  EXPECT_TRUE(shell->RequiresExclusiveProjectForInsert());
  EXPECT_TRUE(shell->RequiresExclusiveProjectForDelete());
  auto restored = std::make_shared<CProviderInfoShell>();
  restored->Deserialize(shell->Serialize());
  EXPECT_TRUE(restored->RequiresExclusiveProjectForInsert());
  EXPECT_TRUE(restored->RequiresExclusiveProjectForDelete());
}

TEST(ProviderInfoShell, ProvidersWithoutColumnsOrViewsCannotBeCloned) {
  auto noColumns = std::make_shared<TestProvider>();
  noColumns->columns = nullptr;
  auto noViews = std::make_shared<TestProvider>();
  noViews->views = nullptr;
  for (const auto& provider : {noColumns, noViews}) {
    auto shell = std::make_shared<CProviderInfoShell>();
    EXPECT_EQ(ErrorOf([&] { shell->Clone(provider); }).Number(), 91);
  }
  EXPECT_EQ(ErrorOf([] { CProviderInfoShell().Clone(nullptr); }).Number(), 91);
}

// A shell implements none of the optional interfaces, so a shell of a shell keeps the
// identity, columns and views but none of the flags and role columns.
TEST_F(ModuleShell, ACloneOfAShellKeepsIdentityButNoCapabilities) {
  const auto original = CloneOf(ChangeOrderLog());
  const auto copy = CloneOf(original->ProviderInfo());
  EXPECT_EQ(copy->Guid(), original->Guid());
  EXPECT_EQ(copy->ClassName(), "CChangeOrderLog");
  EXPECT_EQ(copy->PluralName(), original->PluralName());
  EXPECT_EQ(copy->Columns()->ContentId(), original->Columns()->ContentId());
  EXPECT_EQ(copy->Views()->ContentId(), original->Views()->ContentId());
  EXPECT_FALSE(copy->SupportsForms());
  EXPECT_FALSE(copy->SupportsAttachments());
  EXPECT_EQ(copy->TypeColumnGuid(), "");
  EXPECT_EQ(copy->ReferenceMask(), "");
  // A bare provider gives the same: every flag False, every role column empty.
  const auto bare = CloneOf(std::make_shared<TestProvider>());
  PropertyBag bag;
  bag.SetContents(bare->Serialize());
  for (const auto& entry : bag.Entries()) {
    if (entry.key.rfind("IProvider", 0) == 0) {
      EXPECT_FALSE(entry.value.AsBoolean()) << entry.key;
    }
  }
  // The identity keys, the description, the flags without a default, columns and views.
  EXPECT_EQ(bag.Count(), 8U + 1U + 25U + 2U);
}

TEST(ProviderInfoShell, SetNamesTakesCleanedCaptionsAndIgnoresBlankOnes) {
  struct Case {
    const char* singular;
    const char* plural;
    const char* wantSingular;
    const char* wantPlural;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Item", "Items", "Item", "Items"},
           {"", "  Many\tthings ", "Test", "Many things"},
           {" \u00A0", "Things", "Test", "Things"},
           {"One\u00A0thing", "", "One thing", "Tests"},
       }) {
    const auto shell = CloneOf(std::make_shared<TestProvider>());
    test::ScopedLogCapture log;
    shell->SetNames(c.singular, c.plural);
    EXPECT_EQ(shell->SingularName(), c.wantSingular);
    EXPECT_EQ(shell->PluralName(), c.wantPlural);
    ASSERT_EQ(log.Lines().size(), 1U);
    EXPECT_EQ(log.Lines()[0].message, std::string("In SetNames: ") + c.singular + ", " + c.plural);
  }
}

TEST_F(ModuleShell, StandsInForItsProviderThroughProviderInfo) {
  const auto shell = CloneOf(TaskRegister());
  const std::shared_ptr<IProviderInfo> info = shell->Info();
  ASSERT_EQ(info, shell->ProviderInfo());
  EXPECT_EQ(info->ClassName(), "CTaskRegister");
  EXPECT_EQ(info->PluralName(localeid_FrenchCanada, 3), "Tasks");  // locale and role ignored
  EXPECT_EQ(info->DefaultViewDefinition(), nullptr);
  EXPECT_EQ(shell->IProviderInfo_DefaultViewDefinition(), nullptr);
  EXPECT_EQ(info->RequiredPopulatedProviders(), nullptr);
  EXPECT_EQ(info->Columns(), shell->Columns());

  const CError serialize = ErrorOf([&] { info->Serialize(); });
  EXPECT_EQ(serialize.Number(), 5);
  EXPECT_EQ(serialize.Description(), "Invalid procedure call or argument");
  const CError initialize = ErrorOf([&] { info->InitializeProperties(); });
  EXPECT_EQ(initialize.Number(), 5);
  EXPECT_EQ(initialize.Description(), "Not supported.");

  auto views = std::make_shared<CProviderViews>();
  info->SetViews(views);
  EXPECT_EQ(shell->Views(), views);
  EXPECT_EQ(ErrorOf([&] { info->SetViews(nullptr); }).Number(), 91);
  EXPECT_EQ(shell->Views(), views);
}

}  // namespace
}  // namespace prvdrinfo
