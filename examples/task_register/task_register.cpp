// A small provider module: a register of tasks per project and statement, kept in
// memory. It shows what a module does to take part in the provider contract: derive from
// the interfaces it serves, override their slots, raise the standard write errors, and
// export the factory symbols of provider_module.h.

#include "task_register.h"

#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/providers/descend_menu_items.h"
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

// GUIDs are compared without regard to case, as everywhere in the contract.
std::string KeyOf(std::string guid) {
  for (char& c : guid) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return guid;
}

std::string NewRecordGuid() {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string guid;
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) guid += '-';
    guid += kHex[random() & 15];
  }
  return guid;
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
  TaskRegister() { IProviderInfo_InitializeProperties(); }

 protected:
  // IProviderInfo
  std::string IProviderInfo_Guid() override { return kProviderGuid; }
  std::string IProviderInfo_DllName() override { return "libtask_register.so"; }
  std::string IProviderInfo_ClassName() override { return kClassName; }
  e_ProviderCategory IProviderInfo_Category() override { return providercategory_Construction; }
  std::string IProviderInfo_PluralName(e_LocaleId p_LocaleId, RoleId) override {
    return p_LocaleId == localeid_FrenchCanada ? "Tâches" : "Tasks";
  }
  std::string IProviderInfo_SingularName(e_LocaleId p_LocaleId, RoleId) override {
    return p_LocaleId == localeid_FrenchCanada ? "Tâche" : "Task";
  }
  std::string IProviderInfo_CommonPluralName(e_LocaleId p_LocaleId, RoleId p_Role) override {
    return IProviderInfo_PluralName(p_LocaleId, p_Role);
  }
  std::string IProviderInfo_CommonSingularName(e_LocaleId p_LocaleId, RoleId p_Role) override {
    return IProviderInfo_SingularName(p_LocaleId, p_Role);
  }
  std::string IProviderInfo_Description() override {
    return "Things to do on a project, numbered as they are entered.";
  }
  std::shared_ptr<CProviderColDefs> IProviderInfo_Columns() override { return columns_; }

  // The register's metadata is its column set; records are data, not metadata.
  Bytes IProviderInfo_Serialize() override {
    return kSerialize.Guard([&] {
      PropertyBag bag;
      bag.WriteProperty("Columns", Variant(columns_));
      return bag.Contents();
    });
  }
  void IProviderInfo_Deserialize(const Bytes& pa_Content) override {
    kDeserialize.Guard([&] {
      PropertyBag bag;
      bag.SetContents(pa_Content);
      if (auto columns = bag.ReadObject<CProviderColDefs>("Columns")) columns_ = std::move(columns);
    });
  }

  void IProviderInfo_InitializeProperties() override {
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
        if (std::string_view(own.guid) == kNumberColumnGuid)
          column->SetEditability(coleditable_ReadOnly);
        columns->ProviderSpecific()->AddExisting(column);
      }
      columns_ = std::move(columns);
    });
  }

  // IProviderInfo2: a cached provider info (a shell, or another register) saves building
  // the columns again.
  void IProviderInfo2_InitFromCachedProviderInfo(
      const std::shared_ptr<IProviderInfo>& po_ProviderInfo) override {
    kFromCache.Guard([&] {
      if (!po_ProviderInfo || !po_ProviderInfo->Columns()) return;
      auto columns = std::make_shared<CProviderColDefs>();
      columns->Deserialize(po_ProviderInfo->Columns()->Serialize());
      columns_ = std::move(columns);
    });
  }

  // IProviderInsert
  std::string IProviderInsert_InsertRecord(
      const std::string& /*p_SessionGuid*/, const std::string& p_ProjectGuid,
      int32_t p_StatementNumber, const std::shared_ptr<KeyedCollection>& po_OverrideWarningNumbers,
      const std::shared_ptr<KeyedCollection>& po_FieldsAndValues) override {
    return kInsert.Guard([&] {
      Task task;
      if (po_FieldsAndValues) {
        for (int32_t i = 0; i < po_FieldsAndValues->Count(); ++i) {
          const std::string column = KeyOf(po_FieldsAndValues->KeyByIndex(i));
          const std::string value = po_FieldsAndValues->ItemByIndex(i).ToText();
          if (column == kTitleColumnGuid) {
            task.title = value;
          } else if (column == kStatusColumnGuid) {
            task.status = value;
          } else if (column == kNumberColumnGuid) {
            kInsert.Raise(stddberr_ColumnReadOnly, "Task numbers are given by the register.");
          } else {
            kInsert.Raise(stddberr_ColumnUnknown, "Unknown column: " + column);
          }
        }
      }
      CheckTitle(kInsert, task.title, po_OverrideWarningNumbers);
      auto& tasks = tasks_[{KeyOf(p_ProjectGuid), p_StatementNumber}];
      task.number = "T-" + std::to_string(tasks.size() + 1);
      const std::string guid = NewRecordGuid();
      tasks.emplace(guid, std::move(task));
      return guid;
    });
  }
  e_DatabaseErrorLevel IProviderInsert_InsertRecordErrorLevel(int32_t p_Code) override {
    return LevelOf(p_Code);
  }

  // IProviderUpdate
  bool IProviderUpdate_UpdateField(const std::string& /*p_SessionGuid*/,
                                   const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                   const std::string& p_RecordGuid, const std::string& p_ColumnGuid,
                                   const std::string& p_Value) override {
    return kUpdate.Guard([&] {
      return Update(kUpdate, p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_ColumnGuid, p_Value,
                    nullptr);
    });
  }
  bool IProviderUpdate_UpdateField2(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber, const std::string& p_RecordGuid,
      const std::string& p_ColumnGuid, const std::string& p_Value,
      const std::shared_ptr<KeyedCollection>& po_OverrideWarnings) override {
    return kUpdate2.Guard([&] {
      return Update(kUpdate2, p_ProjectGuid, p_StatementNumber, p_RecordGuid, p_ColumnGuid, p_Value,
                    po_OverrideWarnings);
    });
  }
  e_DatabaseErrorLevel IProviderUpdate_UpdateFieldErrorLevel(int32_t p_Code) override {
    return LevelOf(p_Code);
  }

  // IProviderDelete: GUIDs the register does not hold are already gone.
  void IProviderDelete_DeleteRecords(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<KeyedCollection>& po_RecordGuids) override {
    kDelete.Guard([&] {
      if (!po_RecordGuids) return;
      const auto project = tasks_.find({KeyOf(p_ProjectGuid), p_StatementNumber});
      if (project == tasks_.end()) return;
      for (const Variant& guid : *po_RecordGuids) project->second.erase(KeyOf(guid.ToText()));
    });
  }
  e_DatabaseErrorLevel IProviderDelete_DeleteRecordsErrorLevel(int32_t p_Code) override {
    return LevelOf(p_Code);
  }

  // IProviderTitled, IProviderNumbered, IProviderNumbered2, IProviderRecordStatus: an
  // unknown record has no title, number or status.
  std::string IProviderTitled_ItemTitle(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                        const std::string& p_RecordGuid) override {
    const Task* task = Find(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
    return task ? task->title : std::string();
  }
  std::string IProviderTitled_TitleColumnGuid() override { return kTitleColumnGuid; }
  std::string IProviderNumbered_NumberColumnGuid() override { return kNumberColumnGuid; }
  std::string IProviderNumbered2_ItemNumber(const std::string& p_ProjectGuid,
                                            int32_t p_StatementNumber,
                                            const std::string& p_RecordGuid) override {
    const Task* task = Find(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
    return task ? task->number : std::string();
  }
  std::string IProviderRecordStatus_RecordStatus(const std::string& p_ProjectGuid,
                                                 int32_t p_StatementNumber,
                                                 const std::string& p_RecordGuid) override {
    const Task* task = Find(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
    return task ? task->status : std::string();
  }

  // IProviderDescendable: from a task a user goes on to the drawings it concerns.
  std::shared_ptr<CDescendMenuItems> IProviderDescendable_DescendMenuItems() override {
    return kMenu.Guard([] {
      auto menu = CDescendMenuItemsFactory().CreateNewDescendMenuItems();
      auto drawings = menu->Add("5E6F7A8B-9C0D-4E1F-8A2B-3C4D5E6F7A8B", "Related drawings");
      drawings->SetDescendToProviderGuid(kDrawingsProviderGuid);
      return menu;
    });
  }
  std::shared_ptr<CDescendMenuItems> IProviderDescendable_DescendMenuItems2(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) override {
    return IProviderDescendable_DescendMenuItems();
  }

 private:
  using ProjectKey = std::pair<std::string, int32_t>;

  static void CheckTitle(const ErrorSite& site, const std::string& title,
                         const std::shared_ptr<KeyedCollection>& overrides) {
    if (title.find_first_not_of(" \t") == std::string::npos) {
      site.Raise(stddberr_ValueRequired, "A task needs a title.");
    }
    if (title.size() > kLongTitle && !Accepts(overrides, stddberr_ValueTooHigh)) {
      site.Raise(stddberr_ValueTooHigh, "The title is longer than a task title should be.");
    }
  }

  Task* Find(const std::string& project, int32_t statement, const std::string& record) {
    const auto tasks = tasks_.find({KeyOf(project), statement});
    if (tasks == tasks_.end()) return nullptr;
    const auto task = tasks->second.find(KeyOf(record));
    return task == tasks->second.end() ? nullptr : &task->second;
  }

  bool Update(const ErrorSite& site, const std::string& project, int32_t statement,
              const std::string& record, const std::string& column, const std::string& value,
              const std::shared_ptr<KeyedCollection>& overrides) {
    Task* task = Find(project, statement, record);
    if (!task) site.Raise(stddberr_Unknown, "No such task: " + record);
    const std::string key = KeyOf(column);
    std::string* field = nullptr;
    if (key == kTitleColumnGuid) {
      CheckTitle(site, value, overrides);
      field = &task->title;
    } else if (key == kStatusColumnGuid) {
      field = &task->status;
    } else if (key == kNumberColumnGuid) {
      site.Raise(stddberr_ColumnReadOnly, "Task numbers are given by the register.");
    } else {
      site.Raise(stddberr_ColumnUnknown, "Unknown column: " + column);
    }
    if (*field == value) return false;
    *field = value;
    return true;
  }

  std::shared_ptr<CProviderColDefs> columns_;
  std::map<ProjectKey, std::map<std::string, Task>> tasks_;  // record GUID -> task
};

}  // namespace
}  // namespace task_register

extern "C" int32_t prvdrinfo_ProviderContractVersion() noexcept {
  return prvdrinfo::kProviderContractVersion;
}

extern "C" int32_t prvdrinfo_CreateProvider(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) noexcept {
  if (p_ClassName == nullptr || po_Provider == nullptr)
    return prvdrinfo::err::kInvalidProcedureCall;
  if (std::string_view(p_ClassName) != task_register::kClassName) {
    return prvdrinfo::err::kCannotCreateObject;
  }
  try {
    *po_Provider = std::make_shared<task_register::TaskRegister>();
    return 0;
  } catch (const prvdrinfo::CError& e) {
    return e.Number();
  } catch (const std::bad_alloc&) {
    return prvdrinfo::err::kOutOfMemory;
  } catch (...) {
    return prvdrinfo::err::kUnspecified;
  }
}
