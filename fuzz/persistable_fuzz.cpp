// libFuzzer target: arbitrary bytes given to Deserialize of every persistable class of the
// library; the first byte picks the class. Anything but a CError escaping, a crash, a leak
// or a hang is a finding, and so is a failed load that changed the object, or a loaded
// object whose saved bytes do not load into a fresh object as the same bytes and the same
// content id. docs/fuzzing.md says how to run it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prvdrinfo/prvdrinfo.h"

namespace {

using namespace prvdrinfo;

constexpr const char* kClasses[] = {
    "CColumnDefStored",
    "CColumnDefComputed",
    "CColumnDefs",
    "CProviderColDefs",
    "CColumnListItem",
    "CContactColumnsInfo",
    "CReferencerColumnInfo",
    "CIndexDef",
    "CUniqueIndexes",
    "CIndexDefs",
    "CProviderTableDef",
    "CProviderTableDefs",
    "CFormInfo",
    "CDivisionInfo",
    "CDescendMenuItem",
    "CDescendMenuItems",
    "CProviderFormViewLink",
    "CProviderFormViewLinks",
    "CChangeSummaryInfo",
    "CCertSummaryInfo",
    "CDivisionSummaryInfo",
    "CProviderViewNotifierPGs",
    "CProviderViewNotifierCGs",
    "CProviderViewNotifierCCs",
    "CProviderViewNotifierDels",
    "CProviderViewNotifier",
    "CProviderViewNotifiers",
    "CProviderViewCol",
    "CProviderViewCols",
    "CProviderViewColsSortItem",
    "CProviderViewColsSort",
    "CPageTemplate",
    "CPageTemplates",
    "CCellColors",
    "CProviderViewFilterItem",
    "CProviderViewFilterGroup",
    "CProviderViewFilterGroups",
    "CProviderViewFilter",
    "CProviderViewFilters",
    "CProviderView",
    "CProviderViews",
    "CProviderInfoShell",
    "CProvidersCollection",
    "CProviderCacheInfo",
};
constexpr size_t kClassCount = std::size(kClasses);

[[noreturn]] void Finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

// Runs fn; a CError is an outcome the caller handles, anything else is a finding.
template <class Fn>
bool Succeeds(const char* className, const char* step, Fn&& fn) {
  try {
    fn();
    return true;
  } catch (const CError&) {
    return false;
  } catch (const std::exception& e) {
    Finding(std::string(className) + " " + step + ": " + e.what());
  } catch (...) {
    Finding(std::string(className) + " " + step + ": an exception that is no std::exception");
  }
}

std::shared_ptr<CPersistable> Create(const char* className) {
  auto object = std::dynamic_pointer_cast<CPersistable>(ClassRegistry::Create(className));
  if (!object) Finding(std::string(className) + " is no CPersistable");
  return object;
}

std::optional<std::string> ContentIdOf(const CPersistable& object) {
  const auto* source = dynamic_cast<const IContentSource*>(&object);
  if (!source) return std::nullopt;
  return content::ContentId(*source);
}

constexpr const char* kGuidA = "{6F9619FF-8B86-D011-B42D-00C04FC964FF}";
constexpr const char* kGuidB = "{0E984725-C51C-4BF4-9960-E1C80E27ABA0}";
constexpr const char* kGuidC = "{A3F1C2D4-5B6E-4F70-8192-A3B4C5D6E7F8}";

std::shared_ptr<CColumnDefStored> StoredColumn(const char* guid) {
  auto column = std::make_shared<CColumnDefStored>();
  column->SetGuid(guid);
  column->SetIdentifier("Amount");
  column->SetDefaultCaption(1033, "Amount");
  column->SetDescription("Grüße 東京");
  column->SetLegalCharactersRegex("[0-9]+");
  return column;
}

std::shared_ptr<CColumnDefComputed> ComputedColumn(const char* guid) {
  auto column = std::make_shared<CColumnDefComputed>();
  column->SetGuid(guid);
  column->SetFormula("[Amount] * 2");
  column->SetExternallyLinkedInfo(kGuidA, kGuidB);
  return column;
}

// A populated object of each class where the public API makes one cheaply; the others
// start from their fresh state.
std::shared_ptr<CPersistable> Sample(const std::string& name) {
  if (name == "CProviderViewFilters") {
    auto filters = std::make_shared<CProviderViewFilters>();
    auto group = filters->Add("Open")->Groups()->Add();
    group->Add2(kGuidA, operator_GreaterThan, "5", logicop_And);
    group->Add3(kGuidB, operator_Equals, "O'Brien", logicop_Or, filterfunction_EmailDomain);
    filters->Add("Closed")->Groups()->Add()->SetLogicalOperator(logicop_Or);
    return filters;
  }
  if (name == "CColumnDefStored") return StoredColumn(kGuidA);
  if (name == "CColumnDefComputed") return ComputedColumn(kGuidB);
  if (name == "CProviderColDefs") {
    auto columns = std::make_shared<CProviderColDefs>();
    columns->ProviderSpecific()->AddExisting(StoredColumn(kGuidA));
    columns->InitRecordStatusColumn();
    return columns;
  }
  if (name == "CColumnDefs") {
    auto columns = std::make_shared<CColumnDefs>();
    columns->AddExisting(StoredColumn(kGuidA));
    columns->AddExisting(ComputedColumn(kGuidB));
    return columns;
  }
  if (name == "CColumnListItem") {
    auto item = std::make_shared<CColumnListItem>();
    item->SetRecordGuid(kGuidA);
    item->SetAbbreviation("AB");
    item->SetTitle("Title");
    item->SetBackcolor(0xFFFFFF);
    return item;
  }
  if (name == "CContactColumnsInfo") {
    auto info = std::make_shared<CContactColumnsInfo>();
    info->SetNameColumnGuid(kGuidA);
    info->SetOfficeCityColumnGuid(kGuidB);
    return info;
  }
  if (name == "CReferencerColumnInfo") {
    auto info = std::make_shared<CReferencerColumnInfo>();
    info->SetReferencedProviderGuid(kGuidA);
    info->SetReferencedRecordColumnGuid(kGuidB);
    return info;
  }
  if (name == "CIndexDef") {
    auto index = std::make_shared<CIndexDef>();
    index->Columns()->AddExisting(StoredColumn(kGuidA));
    return index;
  }
  if (name == "CUniqueIndexes") {
    auto indexes = std::make_shared<CUniqueIndexes>();
    indexes->Add(kGuidC)->Columns()->AddExisting(StoredColumn(kGuidA));
    return indexes;
  }
  if (name == "CProviderTableDef" || name == "CProviderTableDefs") {
    auto tables = std::make_shared<CProviderTableDefs>();
    auto table = tables->Add("Invoices");
    table->Columns()->ProviderSpecific()->AddExisting(StoredColumn(kGuidA));
    table->Columns()->ProviderSpecific()->AddExisting(ComputedColumn(kGuidB));
    table->Indexes();
    if (name == "CProviderTableDef") return table;
    return tables;
  }
  if (name == "CFormInfo") {
    auto form = std::make_shared<CFormInfo>();
    form->SetTitle("Invoice");
    form->SetAbbreviation("INV");
    form->SetProviderGuid(kGuidA);
    form->SetSourceProjectStatementNumber(12);
    return form;
  }
  if (name == "CDescendMenuItem" || name == "CDescendMenuItems") {
    auto items = std::make_shared<CDescendMenuItems>();
    auto item = items->Add(kGuidA, "Lines");
    item->SetDescendToProviderGuid(kGuidB);
    items->Add(kGuidC, "Notes");
    if (name == "CDescendMenuItem") return item;
    return items;
  }
  if (name == "CProviderFormViewLink") {
    auto link = std::make_shared<CProviderFormViewLink>();
    link->SetViewProviderGuid(kGuidA);
    link->SetViewGuid(kGuidB);
    return link;
  }
  if (name == "CChangeSummaryInfo") {
    auto info = std::make_shared<CChangeSummaryInfo>();
    info->SetReasonGuid(kGuidA);
    info->SetReasonTitle("Scope");
    info->SetCount(3);
    info->SetValue(Currency::FromScaled(-123456789));
    return info;
  }
  if (name == "CCertSummaryInfo") {
    auto info = std::make_shared<CCertSummaryInfo>();
    info->SetNumber("7");
    info->SetPayableToDate(Currency::FromScaled(std::numeric_limits<int64_t>::max()));
    return info;
  }
  if (name == "CProviderViewNotifierPGs" || name == "CProviderViewNotifierCGs" ||
      name == "CProviderViewNotifierCCs") {
    auto list = std::dynamic_pointer_cast<CNotifierTextList>(Create(name.c_str()));
    list->Add(kGuidA);
    list->Add(kGuidB);
    return list;
  }
  if (name == "CProviderViewNotifierDels" || name == "CProviderViewNotifier" ||
      name == "CProviderViewNotifiers") {
    auto notifiers = std::make_shared<CProviderViewNotifiers>();
    auto notifier = notifiers->Add(viewschedid_WeeklyMonday);
    notifier->SetMessage("Changes");
    notifier->AddToDistribution(viewdist_Owner, viewdistopt_OnlyDeliverIfContactReferenced);
    notifier->ProjectGuids()->Add(kGuidA);
    notifier->DeliverToContactCategories()->Add("Architects");
    notifier->LastDeliveries()->UpdateLastDeliveryDateUtc(kGuidA);
    notifiers->Add(viewschedid_MonthlyLast);
    if (name == "CProviderViewNotifierDels") return notifier->LastDeliveries();
    if (name == "CProviderViewNotifier") return notifier;
    return notifiers;
  }
  if (name == "CDivisionSummaryInfo") {
    auto info = std::make_shared<CDivisionSummaryInfo>();
    info->SetContractedAmount(Currency::FromScaled(10000));
    info->SetCount(1);
    return info;
  }
  if (name == "CProviderViewCols") {
    auto columns = std::make_shared<CProviderViewCols>();
    columns->Add(kGuidA)->SetWidthTwips(900);
    columns->Column("rec_guid")->SetVisible(true);
    return columns;
  }
  if (name == "CProviderViewColsSort") {
    auto sort = std::make_shared<CProviderViewColsSort>();
    sort->Add(kGuidA);
    sort->Prepend(kGuidB);
    return sort;
  }
  if (name == "CProviderView") {
    auto view = std::make_shared<CProviderView>();
    view->SetCaption("Open items");
    view->Columns()->Add(kGuidA)->SetWidthTwips(900);
    view->SortOrder()->Add(kGuidA);
    view->FilterGroups()->Add()->Add(kGuidA, "x", logicop_And);
    view->Notifiers()->Add(viewschedid_WeeklyMonday);
    return view;
  }
  if (name == "CProviderViews") {
    auto views = std::make_shared<CProviderViews>();
    views->Add(kGuidA, "Open items")->Columns()->Add(kGuidB);
    views->Add(kGuidC, "Closed items")->SetTemporary(true);
    views->SetDeleteCounter(40);
    return views;
  }
  if (name == "CProviderInfoShell" || name == "CProvidersCollection" ||
      name == "CProviderCacheInfo") {
    auto shell = std::make_shared<CProviderInfoShell>();
    shell->SetNames("Task", "Tasks");
    shell->Views()->Add(kGuidA, "Open items")->Columns()->Add(kGuidB);
    shell->Columns()->ProviderSpecific()->AddExisting(StoredColumn(kGuidC));
    if (name == "CProviderInfoShell") return shell;
    if (name == "CProviderCacheInfo") {
      auto cache = std::make_shared<CProviderCacheInfo>();
      cache->PrepCacheInfo(shell);
      return cache;
    }
    auto providers = std::make_shared<CProvidersCollection>();
    providers->Add(shell);
    providers->ProviderFormLinkedChildViews()->LinkViewToProvider(kGuidA, kGuidB, kGuidC, false);
    return providers;
  }
  if (name == "CPageTemplates") {
    auto templates = std::make_shared<CPageTemplates>();
    templates->AddTemplate(kGuidA, pagetemplate_Standard, "", papersize_Letter,
                           paperorient_Landscape);
    templates->AddTemplate(kGuidC, pagetemplate_Custom, "Mine", papersize_A4, paperorient_Portrait);
    return templates;
  }
  return nullptr;
}

// Per class: the bytes of its sample (or of a fresh object), the state every run starts
// from, so that a failed load has something to leave alone.
const std::vector<Bytes>& StartBytes() {
  static const std::vector<Bytes> bytes = [] {
    std::vector<Bytes> all;
    for (const char* name : kClasses) {
      std::shared_ptr<CPersistable> sample;
      if (!Succeeds(name, "building its sample", [&] { sample = Sample(name); }) || !sample)
        sample = Create(name);
      if (sample->ClassName() != name)
        Finding(std::string("the sample of ") + name + " is a " + sample->ClassName());
      all.push_back(sample->Serialize());
    }
    return all;
  }();
  return bytes;
}

void FuzzClass(const char* name, const Bytes& start, const Bytes& input) {
  auto object = Create(name);
  if (!Succeeds(name, "loading its start bytes", [&] { object->Deserialize(start); })) {
    Finding(std::string(name) + " does not load its own sample");
  }
  const Bytes before = object->Serialize();
  if (!Succeeds(name, "Deserialize", [&] { object->Deserialize(input); })) {
    Bytes after;
    if (!Succeeds(name, "Serialize after a failed load", [&] { after = object->Serialize(); }) ||
        after != before) {
      Finding(std::string("a failed Deserialize changed a ") + name);
    }
    return;
  }
  Bytes saved;
  std::optional<std::string> id;
  // A class's own rules may refuse to save what loaded, with a CError: a table whose bytes
  // hold no indexes and a column set without the record GUID column cannot make its
  // default primary key. Only what does save must come back the same.
  if (!Succeeds(name, "Serialize after a load", [&] { saved = object->Serialize(); }) ||
      !Succeeds(name, "ContentId after a load", [&] { id = ContentIdOf(*object); })) {
    return;
  }
  auto fresh = Create(name);
  Bytes again;
  std::optional<std::string> freshId;
  if (!Succeeds(name, "Deserialize of saved bytes", [&] { fresh->Deserialize(saved); }) ||
      !Succeeds(name, "Serialize after reloading", [&] { again = fresh->Serialize(); }) ||
      !Succeeds(name, "ContentId after reloading", [&] { freshId = ContentIdOf(*fresh); })) {
    Finding(std::string("the saved bytes of a loaded ") + name + " do not load");
  }
  if (again != saved) Finding(std::string(name) + " does not save again what it was loaded from");
  if (freshId != id) Finding(std::string(name) + " reloaded has another ContentId");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const char* name : kClasses) {
    if (!ClassRegistry::IsRegistered(name)) Finding(std::string(name) + " is not registered");
  }
  const auto& start = StartBytes();
  if (const char* dir = std::getenv("PRVDRINFO_FUZZ_SEED_DIR")) {
    std::filesystem::create_directories(dir);
    auto write = [&](const std::string& file, size_t index, const Bytes& bytes) {
      std::ofstream out(std::filesystem::path(dir) / file, std::ios::binary);
      const char head = static_cast<char>(index);
      out.write(&head, 1);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    };
    for (size_t i = 0; i < kClassCount; ++i) {
      write(std::string("sample-") + kClasses[i], i, start[i]);
      write(std::string("fresh-") + kClasses[i], i, Create(kClasses[i])->Serialize());
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t index = data[0] % kClassCount;
  FuzzClass(kClasses[index], StartBytes()[index], Bytes(data + 1, data + size));
  return 0;
}
