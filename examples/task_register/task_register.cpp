// A small provider module: a register of tasks per project and statement, kept in
// memory. It shows what a module does to take part in the provider contract: derive from
// the interfaces it serves, override every member of each, raise the standard write errors,
// use the library's host services for GUIDs, captions and case, and export the factory
// symbols of provider_module.h.

#include "task_register.h"

#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/providers/descend_menu_items.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/contract/provider_interfaces.h"
#include "prvdrinfo/contract/provider_module.h"

namespace task_register {
namespace {

using namespace prvdrinfo;

constexpr ErrorSite kInsert{"O9XZU7V2BZQACA77804T4B8IW", "CTaskRegister.InsertRecord"};
constexpr ErrorSite kUpdate{"JQQXI263V8YFIRHEUQC0XJR90", "CTaskRegister.UpdateField"};
constexpr ErrorSite kUpdate2{"PWXT0IACRY9TV8CYJON2KFKFX", "CTaskRegister.UpdateField2"};
constexpr ErrorSite kDelete{"7YC0JA7EU5Q4M2P0MT4KCOQMQ", "CTaskRegister.DeleteRecords"};
constexpr ErrorSite kSerialize{"Z2BB9P0SBRAMQ21IE77WSAZ3V", "CTaskRegister.Serialize"};
constexpr ErrorSite kDeserialize{"GQMIKYITVCJ9M7UCB1MINZ350", "CTaskRegister.Deserialize"};
constexpr ErrorSite kFromCache{"AHNDO1WQJGOJXDSKXERCCOTHZ",
                               "CTaskRegister.InitFromCachedProviderInfo"};
constexpr ErrorSite kColumns{"7DASW5ZRD9R4BBPBAIF151CQV", "CTaskRegister.InitializeProperties"};
constexpr ErrorSite kMenu{"2AVLC1244U64DK2ADMM6DUTDN", "CTaskRegister.DescendMenuItems"};

constexpr const char* kDrawingsProviderGuid = "0F1E2D3C-4B5A-4968-8776-A5B4C3D2E1F0";

struct Task {
  std::string number;
  std::string title;
  std::string status = "Open";
};

// Which of the register's columns a column GUID names. GUIDs are compared without regard
// to case, as everywhere in the contract.
enum class Field { Number, Title, Status, Unknown };

Field FieldOf(std::string_view columnGuid) {
  static const std::string number = unicode::FoldCase(kNumberColumnGuid);
  static const std::string title = unicode::FoldCase(kTitleColumnGuid);
  static const std::string status = unicode::FoldCase(kStatusColumnGuid);
  const std::string key = unicode::FoldCase(columnGuid);
  if (key == number) return Field::Number;
  if (key == title) return Field::Title;
  if (key == status) return Field::Status;
  return Field::Unknown;
}

bool Accepts(const std::shared_ptr<KeyedCollection>& overrides, int32_t code) {
  if (!overrides) return false;
  for (const Variant& accepted : *overrides) {
    if (accepted.IsNumeric() && accepted.ToLong() == code) return true;
  }
  return false;
}

e_DatabaseErrorLevel LevelOf(int32_t code) {
  if (code == 0) return dberr_None;
  return code == stddberr_ValueTooHigh ? dberr_Warning : dberr_Critical;
}

class TaskRegister final : public IProviderInfo,
                           public IProviderInfo2,
                           public IProviderInsert,
                           public IProviderUpdate,
                           public IProviderDelete,
                           public IProviderTitled,
                           public IProviderNumbered,
                           public IProviderNumbered2,
                           public IProviderRecordStatus,
                           public IProviderDescendable {
 public:
  TaskRegister() { InitializeProperties(); }

  // IProviderInfo
  bool SupportsForms() const override { return false; }
  std::shared_ptr<CProviderView> DefaultViewDefinition() const override { return nullptr; }
  std::string Guid() const override { return kProviderGuid; }
  std::string DllName() const override { return "libtask_register.so"; }
  std::string ClassName() const override { return kClassName; }
  e_ProviderCategory Category() const override { return providercategory_Construction; }
  std::string PluralName(e_LocaleId p_LocaleId, RoleId /*p_Role*/) const override {
    return p_LocaleId == localeid_FrenchCanada ? "Tâches" : "Tasks";
  }
  std::string SingularName(e_LocaleId p_LocaleId, RoleId /*p_Role*/) const override {
    return p_LocaleId == localeid_FrenchCanada ? "Tâche" : "Task";
  }
  std::string CommonPluralName(e_LocaleId p_LocaleId, RoleId p_Role) const override {
    return PluralName(p_LocaleId, p_Role);
  }
  std::string CommonSingularName(e_LocaleId p_LocaleId, RoleId p_Role) const override {
    return SingularName(p_LocaleId, p_Role);
  }
  std::shared_ptr<CProvidersCollection> RequiredPopulatedProviders() const override {
    return nullptr;
  }
  // The host's views of the register; the register keeps them as given.
  std::shared_ptr<CProviderViews> Views() const override { return views_; }
  void SetViews(const std::shared_ptr<CProviderViews>& value) override { views_ = value; }
  std::shared_ptr<CProviderColDefs> Columns() const override { return columns_; }
  std::string Description() const override {
    return "Things to do on a project, numbered as they are entered.";
  }

  // The register's metadata is its column set; records are data, not metadata.
  Bytes Serialize() const override {
    return kSerialize.Guard([&] {
      PropertyBag bag;
      bag.WriteProperty("Columns", Variant(columns_));
      return bag.Contents();
    });
  }
  void Deserialize(const Bytes& pa_Content) override {
    kDeserialize.Guard([&] {
      PropertyBag bag;
      bag.SetContents(pa_Content);
      if (auto columns = bag.ReadObject<CProviderColDefs>("Columns")) columns_ = std::move(columns);
    });
  }

  void InitializeProperties() override {
    kColumns.Guard([&] {
      auto columns = CProviderColDefsFactory().CreateProviderColDefs();
      struct Own {
        const char* guid;
        const char* identifier;
        const char* caption;
      };
      for (const Own& own :
           {Own{kNumberColumnGuid, "number", "Number"}, Own{kTitleColumnGuid, "title", "Title"},
            Own{kStatusColumnGuid, "status", "Status"}}) {
        auto column = CColumnDefStoredFactory().CreateColumnDefStored();
        column->SetGuid(own.guid);
        column->SetIdentifier(own.identifier);
        column->SetDefaultCaption(localeid_EnglishCanada, own.caption);
        column->SetVeskDatatype(datatype_String);
        if (FieldOf(own.guid) == Field::Number) column->SetEditability(coleditable_ReadOnly);
        columns->ProviderSpecific()->AddExisting(column);
      }
      // The register ships with two views; the host may replace the collection.
      auto views = CProviderViewsFactory().CreateProviderViews();
      for (const auto& [guid, caption] : {std::pair{kAllTasksViewGuid, "All tasks"},
                                          std::pair{kOpenTasksViewGuid, "Open tasks"}}) {
        auto view = views->Add(guid, caption);
        view->SetProviderGuid(kProviderGuid);
        for (const char* column : {kNumberColumnGuid, kTitleColumnGuid, kStatusColumnGuid}) {
          view->Columns()->Add(column);
        }
      }
      columns_ = std::move(columns);
      views_ = std::move(views);
    });
  }

  // IProviderInfo2: a cached provider info (a shell, or another register) saves building
  // the columns again.
  void InitFromCachedProviderInfo(const std::shared_ptr<IProviderInfo>& po_ProviderInfo) override {
    kFromCache.Guard([&] {
      if (!po_ProviderInfo || !po_ProviderInfo->Columns()) return;
      auto columns = std::make_shared<CProviderColDefs>();
      columns->Deserialize(po_ProviderInfo->Columns()->Serialize());
      columns_ = std::move(columns);
    });
  }

  // IProviderInsert
  std::string InsertRecord(const std::string& /*p_SessionGuid*/, const std::string& p_ProjectGuid,
                           int32_t p_StatementNumber,
                           const std::shared_ptr<KeyedCollection>& po_OverrideWarningNumbers,
                           const std::shared_ptr<KeyedCollection>& po_FieldsAndValues) override {
    return kInsert.Guard([&] {
      Task task;
      if (po_FieldsAndValues) {
        for (int32_t i = 0; i < po_FieldsAndValues->Count(); ++i) {
          const std::string column = po_FieldsAndValues->KeyByIndex(i);
          const std::string value = po_FieldsAndValues->ItemByIndex(i).ToText();
          switch (FieldOf(column)) {
            case Field::Title: task.title = TextService::CleanCaption(value); break;
            case Field::Status: task.status = value; break;
            case Field::Number:
              kInsert.Raise(stddberr_ColumnReadOnly, "Task numbers are given by the register.");
            case Field::Unknown: kInsert.Raise(stddberr_ColumnUnknown, "Unknown column: " + column);
          }
        }
      }
      CheckTitle(kInsert, task.title, po_OverrideWarningNumbers);
      auto& tasks = tasks_[{unicode::FoldCase(p_ProjectGuid), p_StatementNumber}];
      task.number = "T-" + std::to_string(tasks.size() + 1);
      const std::string guid = GuidService::NewGuid();
      tasks.emplace(unicode::FoldCase(guid), std::move(task));
      return guid;
    });
  }
  e_DatabaseErrorLevel InsertRecordErrorLevel(int32_t p_Code) const override {
    return LevelOf(p_Code);
  }
  bool RequireExclusiveProjectAccessForInsert() const override { return false; }

  // IProviderUpdate
  bool UpdateField(const std::string& /*p_SessionGuid*/, const std::string& p_ProjectGuid,
                   int32_t p_StatementNumber, const std::string& p_RecordGuid,
                   const std::string& p_ColumnGuid, const std::string& p_Value) override {
    return kUpdate.Guard([&] {
      return Update(kUpdate, p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_ColumnGuid, p_Value,
                    nullptr);
    });
  }
  bool UpdateField2(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                    const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                    const std::string& p_Value,
                    const std::shared_ptr<KeyedCollection>& po_OverrideWarnings) override {
    return kUpdate2.Guard([&] {
      return Update(kUpdate2, p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_ColumnGuid, p_Value,
                    po_OverrideWarnings);
    });
  }
  e_DatabaseErrorLevel UpdateFieldErrorLevel(int32_t p_Code) const override {
    return LevelOf(p_Code);
  }

  // IProviderDelete: GUIDs the register does not hold are already gone; nothing refuses
  // a delete.
  void DeleteRecords(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                     const std::shared_ptr<KeyedCollection>& po_RecordGuids) override {
    kDelete.Guard([&] {
      if (!po_RecordGuids) return;
      const auto project = tasks_.find({unicode::FoldCase(p_ProjectGuid), p_StatementNumber});
      if (project == tasks_.end()) return;
      for (const Variant& guid : *po_RecordGuids) {
        project->second.erase(unicode::FoldCase(guid.ToText()));
      }
    });
  }
  e_DatabaseErrorLevel DeleteRecordsErrorLevel(int32_t p_Code) const override {
    return LevelOf(p_Code);
  }
  DeleteErrorCode DeleteRecordErrorCodeNonStandard(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) const override {
    return 0;
  }
  bool RequireExclusiveProjectAccessForDelete() const override { return false; }

  // IProviderTitled, IProviderNumbered, IProviderNumbered2, IProviderRecordStatus: an
  // unknown record has no title, number or status.
  std::string ItemTitle(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                        const std::string& p_RecordGuid) const override {
    const Task* task = Find(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
    return task ? task->title : std::string();
  }
  std::string TitleColumnGuid() const override { return kTitleColumnGuid; }
  std::string NumberColumnGuid() const override { return kNumberColumnGuid; }
  std::string ItemNumber(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                         const std::string& p_RecordGuid) const override {
    const Task* task = Find(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
    return task ? task->number : std::string();
  }
  std::string RecordStatus(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                           const std::string& p_RecordGuid) const override {
    const Task* task = Find(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
    return task ? task->status : std::string();
  }

  // IProviderDescendable: from a task a user goes on to the drawings it concerns.
  std::shared_ptr<CDescendMenuItems> DescendMenuItems() const override {
    return kMenu.Guard([] {
      auto menu = CDescendMenuItemsFactory().CreateNewDescendMenuItems();
      auto drawings = menu->Add("5E6F7A8B-9C0D-4E1F-8A2B-3C4D5E6F7A8B", "Related drawings");
      drawings->SetDescendToProviderGuid(kDrawingsProviderGuid);
      return menu;
    });
  }
  std::shared_ptr<CDescendMenuItems> DescendMenuItems2(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) const override {
    return DescendMenuItems();
  }

 private:
  using ProjectKey = std::pair<std::string, int32_t>;

  // Titles are captions, cleaned up before they come here: blank means missing.
  static void CheckTitle(const ErrorSite& site, const std::string& title,
                         const std::shared_ptr<KeyedCollection>& overrides) {
    if (TextService::IsEmpty(title)) site.Raise(stddberr_ValueRequired, "A task needs a title.");
    if (title.size() > kLongTitle && !Accepts(overrides, stddberr_ValueTooHigh)) {
      site.Raise(stddberr_ValueTooHigh, "The title is longer than a task title should be.");
    }
  }

  const Task* Find(const std::string& project, int32_t statement, const std::string& record) const {
    const auto tasks = tasks_.find({unicode::FoldCase(project), statement});
    if (tasks == tasks_.end()) return nullptr;
    const auto task = tasks->second.find(unicode::FoldCase(record));
    return task == tasks->second.end() ? nullptr : &task->second;
  }
  Task* Find(const std::string& project, int32_t statement, const std::string& record) {
    return const_cast<Task*>(std::as_const(*this).Find(project, statement, record));
  }

  bool Update(const ErrorSite& site, const std::string& project, int32_t statement,
              const std::string& record, const std::string& column, const std::string& value,
              const std::shared_ptr<KeyedCollection>& overrides) {
    Task* task = Find(project, statement, record);
    if (!task) site.Raise(stddberr_Unknown, "No such task: " + record);
    std::string kept = value;
    std::string& field = [&]() -> std::string& {
      switch (FieldOf(column)) {
        case Field::Title:
          kept = TextService::CleanCaption(value);
          CheckTitle(site, kept, overrides);
          return task->title;
        case Field::Status: return task->status;
        case Field::Number:
          site.Raise(stddberr_ColumnReadOnly, "Task numbers are given by the register.");
        case Field::Unknown: break;
      }
      site.Raise(stddberr_ColumnUnknown, "Unknown column: " + column);
    }();
    if (field == kept) return false;
    field = std::move(kept);
    return true;
  }

  std::shared_ptr<CProviderColDefs> columns_;
  std::shared_ptr<CProviderViews> views_;
  std::map<ProjectKey, std::map<std::string, Task>> tasks_;  // folded record GUID -> task
};

}  // namespace
}  // namespace task_register

// The entry points a host finds: the contract version and the factories.
PRVDRINFO_PROVIDER_MODULE(task_register::TaskRegister, task_register::kClassName)
