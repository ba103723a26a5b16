// The task register seen from a host: the module is opened through ModuleLoader, which
// checks its contract version, and its provider is created by class name and used only
// through the contract's interfaces.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/providers/descend_menu_items.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/contract/module_loader.h"
#include "prvdrinfo/contract/provider_interfaces.h"

namespace prvdrinfo {
namespace {

constexpr const char* kProject = "3B1F0C2E-6A7D-4B8C-9D0E-1F2A3B4C5D6E";
constexpr const char* kSession = "SESSION";

class TaskRegisterModule : public ::testing::Test {
 protected:
  std::shared_ptr<IProviderInfo> Create() { return module_.CreateProvider("CTaskRegister"); }

  ModuleLoader module_{TASK_REGISTER_MODULE};
};

std::shared_ptr<KeyedCollection> Fields(
    std::initializer_list<std::pair<std::string, std::string>> values) {
  auto fields = std::make_shared<KeyedCollection>();
  for (const auto& [column, value] : values) fields->Add(value, column);
  return fields;
}

// The provider seen through one of its interfaces; failing when it does not implement it.
template <class Interface>
std::shared_ptr<Interface> As(const std::shared_ptr<IProviderInfo>& provider) {
  auto seen = std::dynamic_pointer_cast<Interface>(provider);
  if (!seen) throw std::logic_error("the provider does not implement the interface");
  return seen;
}

int32_t NumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const CError& e) {
    return e.Number();
  }
  return 0;
}

TEST_F(TaskRegisterModule, TheFactoryCreatesOnlyItsOwnClass) {
  EXPECT_EQ(NumberOf([&] { module_.CreateProvider("CDrawingRegister"); }),
            err::kCannotCreateObject);
  EXPECT_EQ(NumberOf([&] { module_.CreateProvider("ctaskregister"); }), err::kCannotCreateObject);
  const auto provider = Create();
  ASSERT_NE(provider, nullptr);
  EXPECT_NE(provider, Create());
}

TEST_F(TaskRegisterModule, IdentifiesItselfThroughProviderInfo) {
  const auto provider = Create();
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(provider->Guid(), "7D2C4A1E-5B3F-4E60-9A7B-1C2D3E4F5061");
  EXPECT_EQ(provider->ClassName(), "CTaskRegister");
  EXPECT_EQ(provider->DllName(), "libtask_register.so");
  EXPECT_EQ(provider->Category(), providercategory_Construction);
  EXPECT_EQ(provider->PluralName(localeid_EnglishCanada, -1), "Tasks");
  EXPECT_EQ(provider->SingularName(localeid_FrenchCanada, -1), "Tâche");
  EXPECT_FALSE(provider->SupportsForms());
  EXPECT_EQ(provider->DefaultViewDefinition(), nullptr);  // it has no default view
  const auto views = provider->Views();
  ASSERT_NE(views, nullptr);
  ASSERT_EQ(views->Count(), 2);
  EXPECT_EQ(views->ViewByCaption("open TASKS")->ProviderGuid(), provider->Guid());

  const auto columns = provider->Columns();
  ASSERT_NE(columns, nullptr);
  EXPECT_EQ(columns->ProviderSpecific()->Count(), 3);
  const auto titled = As<IProviderTitled>(provider);
  const auto numbered = As<IProviderNumbered>(provider);
  EXPECT_EQ(columns->FindByGuid(titled->TitleColumnGuid())->DefaultCaption(localeid_EnglishCanada),
            "Title");
  EXPECT_EQ(
      columns->FindByGuid(numbered->NumberColumnGuid())->DefaultCaption(localeid_EnglishCanada),
      "Number");
}

TEST_F(TaskRegisterModule, AnswersOnlyToTheInterfacesItImplements) {
  const auto provider = Create();
  EXPECT_NE(std::dynamic_pointer_cast<IProviderInfo2>(provider), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IProviderInsert>(provider), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IProviderUpdate>(provider), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IProviderDelete>(provider), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IProviderNumbered2>(provider), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IProviderRecordStatus>(provider), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IProviderDescendable>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderInfo3>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderStored>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderUpdate2>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderDelete2>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderAttach>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderForm>(provider), nullptr);
}

TEST_F(TaskRegisterModule, RecordsMakeTheRoundTripThroughTheInterfaces) {
  const auto provider = Create();
  const auto insert = As<IProviderInsert>(provider);
  const auto update = As<IProviderUpdate>(provider);
  const auto remove = As<IProviderDelete>(provider);
  const auto titled = As<IProviderTitled>(provider);
  const auto numbered = As<IProviderNumbered2>(provider);
  const auto status = As<IProviderRecordStatus>(provider);
  const std::string title = titled->TitleColumnGuid();
  const std::string number = As<IProviderNumbered>(provider)->NumberColumnGuid();

  const std::string first =
      insert->InsertRecord(kSession, kProject, 1, nullptr, Fields({{title, "Pour the slab"}}));
  const std::string second =
      insert->InsertRecord(kSession, kProject, 1, nullptr, Fields({{title, "Strip forms"}}));
  EXPECT_EQ(first.size(), 36U);
  EXPECT_NE(first, second);
  EXPECT_EQ(titled->ItemTitle(kProject, 1, first), "Pour the slab");
  EXPECT_EQ(numbered->ItemNumber(kProject, 1, second), "T-2");
  EXPECT_EQ(status->RecordStatus(kProject, 1, first), "Open");
  EXPECT_EQ(titled->ItemTitle(kProject, 2, first), "");  // another statement

  EXPECT_TRUE(update->UpdateField(kSession, kProject, 1, first, title, "Pour the east slab"));
  EXPECT_FALSE(update->UpdateField(kSession, kProject, 1, first, title, "Pour the east slab"));
  EXPECT_EQ(titled->ItemTitle(kProject, 1, first), "Pour the east slab");
  // Titles are kept as cleaned-up captions, and GUIDs are matched without regard to case.
  EXPECT_FALSE(update->UpdateField(kSession, kProject, 1, first, title, " Pour the\teast  slab "));
  EXPECT_TRUE(update->UpdateField(kSession, kProject, 1, first, title, "Pour\u00A0the east slabs"));
  EXPECT_EQ(titled->ItemTitle(kProject, 1, first), "Pour the east slabs");
  const std::string lowerFirst = unicode::FoldCase(first);
  EXPECT_EQ(titled->ItemTitle(unicode::FoldCase(kProject), 1, lowerFirst), "Pour the east slabs");
  EXPECT_EQ(NumberOf([&] { update->UpdateField(kSession, kProject, 1, first, number, "T-9"); }),
            stddberr_ColumnReadOnly);

  auto gone = std::make_shared<KeyedCollection>();
  gone->Add(first);
  remove->DeleteRecords(kProject, 1, gone);
  EXPECT_EQ(titled->ItemTitle(kProject, 1, first), "");
  EXPECT_EQ(titled->ItemTitle(kProject, 1, second), "Strip forms");
}

TEST_F(TaskRegisterModule, WriteErrorsCarryTheStandardCodesAndTheirLevels) {
  const auto provider = Create();
  const auto insert = As<IProviderInsert>(provider);
  const std::string title = As<IProviderTitled>(provider)->TitleColumnGuid();

  try {
    insert->InsertRecord(kSession, kProject, 1, nullptr, Fields({{title, " \u00A0\u200B\t"}}));
    ADD_FAILURE() << "a task without title was inserted";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), stddberr_ValueRequired);
    EXPECT_EQ(e.Description(), "A task needs a title.");
    EXPECT_EQ(insert->InsertRecordErrorLevel(e.Number()), dberr_Critical);
  }

  const std::string longTitle(80, 'x');
  const int32_t warning = NumberOf([&] {
    insert->InsertRecord(kSession, kProject, 1, nullptr, Fields({{title, longTitle}}));
  });
  EXPECT_EQ(warning, stddberr_ValueTooHigh);
  EXPECT_EQ(insert->InsertRecordErrorLevel(warning), dberr_Warning);
  auto accepted = std::make_shared<KeyedCollection>();
  accepted->Add(warning);
  const std::string guid =
      insert->InsertRecord(kSession, kProject, 1, accepted, Fields({{title, longTitle}}));
  EXPECT_EQ(As<IProviderTitled>(provider)->ItemTitle(kProject, 1, guid), longTitle);
  EXPECT_EQ(insert->InsertRecordErrorLevel(0), dberr_None);
  EXPECT_EQ(
      NumberOf([&] {
        insert->InsertRecord(kSession, kProject, 1, nullptr, Fields({{"NO-SUCH-COLUMN", "x"}}));
      }),
      stddberr_ColumnUnknown);
}

TEST_F(TaskRegisterModule, MetadataTravelsThroughItsBytesAndThroughACachedProvider) {
  const auto original = Create();
  const auto columnsId = original->Columns()->ContentId();
  original->Columns()->ProviderSpecific()->Remove(
      As<IProviderNumbered>(original)->NumberColumnGuid());
  const Bytes saved = original->Serialize();

  const auto restored = Create();
  EXPECT_EQ(restored->Columns()->ContentId(), columnsId);
  restored->Deserialize(saved);
  EXPECT_EQ(restored->Columns()->ProviderSpecific()->Count(), 2);
  EXPECT_EQ(restored->Columns()->ContentId(), original->Columns()->ContentId());

  const auto cached = Create();
  As<IProviderInfo2>(cached)->InitFromCachedProviderInfo(original);
  EXPECT_EQ(cached->Columns()->ContentId(), original->Columns()->ContentId());
  EXPECT_NE(cached->Columns(), original->Columns());  // a copy, not the same object

  restored->InitializeProperties();
  EXPECT_EQ(restored->Columns()->ContentId(), columnsId);
}

TEST_F(TaskRegisterModule, OffersItsDescentMenu) {
  const auto provider = Create();
  const auto menu = As<IProviderDescendable>(provider)->DescendMenuItems();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->Count(), 1);
  EXPECT_EQ(menu->MenuItemByCaption("related DRAWINGS")->DescendToProviderGuid(),
            "0F1E2D3C-4B5A-4968-8776-A5B4C3D2E1F0");
}

}  // namespace
}  // namespace prvdrinfo
