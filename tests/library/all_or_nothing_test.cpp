// A strict load either takes all of the stored bytes or leaves the object exactly as it
// was: a failure midway (a later key holding a value of the wrong kind) must not leave
// the keys read before it in place.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/prvdrinfo.h"

namespace prvdrinfo {
namespace {

// Every persistable class of the library, by the name the class registry knows it under.
const std::vector<std::string>& LibraryClasses() {
  static const std::vector<std::string> names = {"CColumnDefStored",
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
                                                 "CProviderCacheInfo"};
  return names;
}

// Classes whose load reads every key leniently by their own rules (a key it cannot read
// keeps its default), so no forged key makes it fail.
bool LoadsLeniently(const std::string& name) { return name == "CProviderViewNotifier"; }

// A fresh object of the class; the classes whose fresh state stores no key at all are
// given a few values, so that their bytes hold keys to forge.
std::shared_ptr<CPersistable> Create(const std::string& name) {
  auto object = std::dynamic_pointer_cast<CPersistable>(ClassRegistry::Create(name));
  if (!object) {
    ADD_FAILURE() << name << " is not a CPersistable";
  } else if (auto info = std::dynamic_pointer_cast<CReferencerColumnInfo>(object)) {
    info->SetReferencedProviderGuid("{A}");
    info->SetReferencedRecordColumnGuid("{B}");
  } else if (auto link = std::dynamic_pointer_cast<CProviderFormViewLink>(object)) {
    link->SetViewProviderGuid("{A}");
    link->SetViewGuid("{B}");
  } else if (auto filters = std::dynamic_pointer_cast<CProviderViewFilters>(object)) {
    filters->Add("First")->Groups()->Add()->Add("{A}", "x", logicop_And);
  } else if (auto filter = std::dynamic_pointer_cast<CProviderViewFilter>(object)) {
    filter->SetCaption("First");
    filter->Groups()->Add()->Add("{A}", "x", logicop_And);
  } else if (auto groups = std::dynamic_pointer_cast<CProviderViewFilterGroups>(object)) {
    groups->Add()->Add("{A}", "x", logicop_Or);
  } else if (auto group = std::dynamic_pointer_cast<CProviderViewFilterGroup>(object)) {
    group->Add("{A}", "x", logicop_Or);
  } else if (auto change = std::dynamic_pointer_cast<CChangeSummaryInfo>(object)) {
    change->SetReasonGuid("{A}");
    change->SetCount(3);
  } else if (auto list = std::dynamic_pointer_cast<CNotifierTextList>(object)) {
    list->Add("{A}");
  } else if (auto cert = std::dynamic_pointer_cast<CCertSummaryInfo>(object)) {
    cert->SetNumber("7");
    cert->SetContractsWorkToDate(Currency::FromScaled(12345));
  } else if (auto views = std::dynamic_pointer_cast<CProviderViews>(object)) {
    views->Add("{A}", "First");
    views->SetDeleteCounter(3);
  } else if (auto shell = std::dynamic_pointer_cast<CProviderInfoShell>(object)) {
    shell->SetNames("Task", "Tasks");
    shell->Views()->Add("{A}", "First");
  } else if (auto providers = std::dynamic_pointer_cast<CProvidersCollection>(object)) {
    auto member = std::make_shared<CProviderInfoShell>();
    member->SetNames("Task", "Tasks");
    providers->Add(member);
    providers->ProviderFormLinkedChildViews()->LinkViewToProvider("{A}", "{B}", "{C}", false);
  } else if (auto cache = std::dynamic_pointer_cast<CProviderCacheInfo>(object)) {
    auto cached = std::make_shared<CProviderInfoShell>();
    cached->Views()->Add("{A}", "First");
    cache->PrepCacheInfo(cached);
  } else if (auto colors = std::dynamic_pointer_cast<CCellColors>(object)) {
    colors->SetForecolor(1);
    colors->SetBackcolor(2);
  }
  return object;
}

// Another valid value of the same kind, so that a key read before the failure would show.
Variant Changed(const Variant& value) {
  switch (value.Type()) {
    case VariantType::Text: return Variant(value.AsText() + "~");
    case VariantType::Long: return Variant(value.AsLong() + 1);
    case VariantType::Integer: return Variant(static_cast<int16_t>(value.AsInteger() + 1));
    case VariantType::Boolean: return Variant(!value.AsBoolean());
    case VariantType::Double: return Variant(value.AsDouble() + 1.5);
    case VariantType::Date: return Variant::FromDate(value.AsDate() + 1);
    case VariantType::Currency: return Variant(value.AsCurrency() + Currency::FromScaled(10000));
    default: return value;
  }
}

TEST(AllOrNothingLoad, AFailureAtAnyKeyLeavesEveryClassAsItWas) {
  for (const std::string& name : LibraryClasses()) {
    SCOPED_TRACE(name);
    auto target = Create(name);
    if (!target) continue;
    const Bytes before = target->Serialize();
    PropertyBag stored;
    stored.SetContents(before);
    const auto& entries = stored.Entries();
    int failures = 0;
    for (size_t poisoned = 0; poisoned < entries.size(); ++poisoned) {
      SCOPED_TRACE(entries[poisoned].key);
      PropertyBag forged;
      for (size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        if (i == poisoned) {
          // Bytes no reader of a text, number, object or keyed collection accepts.
          forged.WriteProperty(entry.key, Variant(Bytes{0xFF, 0x00}));
        } else if (entry.nested) {
          forged.WriteProperty(entry.key,
                               Variant(std::shared_ptr<IObject>(RestoreObject(*entry.nested))));
        } else {
          forged.WriteProperty(entry.key, Changed(entry.value));
        }
      }
      bool raised = false;
      try {
        target->Deserialize(forged.Contents());
      } catch (const CError&) {
        raised = true;
      }
      if (!raised) continue;  // a key the load does not read, or reads leniently
      ++failures;
      EXPECT_EQ(target->Serialize(), before);
    }
    if (LoadsLeniently(name)) {
      EXPECT_EQ(failures, 0);
    } else {
      EXPECT_GT(failures, 0) << "no forged key made the load fail";
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
