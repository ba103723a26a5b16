#include "prvdrinfo/views/provider_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/notify/notifier_enums.h"
#include "support/error_capture.h"
#include "support/host_seams.h"

namespace prvdrinfo {
namespace {

using test::ScopedLogCapture;
using testing::ErrorOf;

// The view's stored keys but the dropped ones.
PropertyBag StoredWithout(const CProviderView& view, const std::vector<std::string>& dropped) {
  PropertyBag stored;
  stored.SetContents(view.Serialize());
  PropertyBag kept;
  for (const auto& entry : stored.Entries()) {
    if (std::find(dropped.begin(), dropped.end(), entry.key) == dropped.end()) {
      kept.WriteProperty(entry.key, stored.ReadProperty(entry.key));
    }
  }
  return kept;
}

// A loaded view with two visible columns, a sort key and a filter group.
std::shared_ptr<CProviderView> Sample() {
  CProviderView source;
  source.SetCaption("Open items");
  source.Columns()->Add("{A}")->SetWidthTwips(900);
  source.Columns()->Add("{B}")->SetWidthTwips(1200);
  source.SortOrder()->Add("{A}");
  source.FilterGroups()->Add()->Add("{A}", "x", logicop_And);
  auto view = std::make_shared<CProviderView>();
  view->Deserialize(source.Serialize());
  return view;
}

TEST(ProviderView, FreshState) {
  const auto view = CProviderViewFactory().CreateProviderView();
  EXPECT_EQ(view->Caption(), "New View");
  EXPECT_EQ(view->PaperSpan(), 1);
  EXPECT_EQ(view->Version(), 6);
  EXPECT_EQ(view->UpdateCounter(), 0);
  const std::string guid = view->Guid();
  EXPECT_FALSE(guid.empty());
  EXPECT_EQ(view->Guid(), guid);
  EXPECT_EQ(view->SortOrder()->Count(), 0);
  EXPECT_EQ(view->FilterGroups()->Count(), 0);
  EXPECT_EQ(view->Notifiers()->Count(), 0);
  // The standard columns are seeded, but seeding is no change: a new view is clean.
  EXPECT_GT(view->Columns()->Count(), 0);
  EXPECT_FALSE(view->IsDirty());

  CProviderView copy;
  copy.Deserialize(view->Serialize());
  EXPECT_EQ(copy.Guid(), guid);
  EXPECT_EQ(copy.Version(), 6);
  EXPECT_EQ(copy.UpdateCounter(), 0);
}

TEST(ProviderView, SetterRulesAndDirtyMarks) {
  struct Case {
    const char* name;
    std::function<void(CProviderView&)> change;
    bool marks;
  };
  const std::vector<Case> cases = {
      {"caption", [](CProviderView& v) { v.SetCaption("Other"); }, true},
      {"same caption", [](CProviderView& v) { v.SetCaption("Open items"); }, false},
      {"caption in other case", [](CProviderView& v) { v.SetCaption("OPEN ITEMS"); }, true},
      {"template", [](CProviderView& v) { v.SetTemplateGuid("{T}"); }, true},
      {"filter", [](CProviderView& v) { v.SetFilterGuid("{F}"); }, true},
      {"paper span", [](CProviderView& v) { v.SetPaperSpan(2); }, true},
      {"same paper span", [](CProviderView& v) { v.SetPaperSpan(1); }, false},
      {"provider", [](CProviderView& v) { v.SetProviderGuid("{P}"); }, false},
      {"private to", [](CProviderView& v) { v.SetPrivateToGuid("{O}"); }, false},
      {"update counter", [](CProviderView& v) { v.SetUpdateCounter(9); }, false},
      {"flags",
       [](CProviderView& v) {
         v.SetStandardView(true);
         v.SetAllColumnsView(true);
         v.SetPauseFilters(true);
         v.SetTemporary(true);
         v.SetFixed(true);
         v.SetVersion(3);
       },
       false},
      {"filter groups and notifiers",
       [](CProviderView& v) {
         v.FilterGroups()->Add()->Add("{B}", "y", logicop_Or);
         v.Notifiers()->Add(viewschedid_WeeklyMonday);
       },
       false},
      {"column width", [](CProviderView& v) { v.Columns()->Column("{A}")->SetWidthTwips(50); },
       true},
      {"sort key", [](CProviderView& v) { v.SortOrder()->Add("{B}"); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto loaded = Sample();
    ASSERT_FALSE(loaded->IsDirty());
    c.change(*loaded);
    EXPECT_EQ(loaded->IsDirty(), c.marks);
    // A view that was never loaded changes quietly through its own setters.
    CProviderView fresh;
    fresh.SetCaption("Open items");
    fresh.Columns()->Add("{A}");
    fresh.SortOrder()->Add("{A}");
    fresh.SetIsDirty(false);
    c.change(fresh);
    const bool throughParts =
        std::string(c.name) == "column width" || std::string(c.name) == "sort key";
    EXPECT_EQ(fresh.IsDirty(), throughParts);
  }
}

TEST(ProviderView, SetterErrors) {
  const auto view = Sample();
  for (const std::string caption : {"", "   ", "\t\r\n"}) {
    const CError e = ErrorOf([&] { view->SetCaption(caption); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), "View caption is required.");
  }
  EXPECT_EQ(view->Caption(), "Open items");
  EXPECT_FALSE(view->IsDirty());
  for (const int32_t span : {0, -1}) {
    const CError e = ErrorOf([&] { view->SetPaperSpan(span); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), "PaperSpan must be greater than zero.");
  }
  EXPECT_EQ(view->PaperSpan(), 1);
  const CError deprecated = ErrorOf([&] { view->SetNotificationView(false); });
  EXPECT_EQ(deprecated.Number(), 5);
  EXPECT_EQ(deprecated.Description(), "Deprecated.");
}

TEST(ProviderView, ExplicitDirtyIsNotLostByALaterSetter) {
  CProviderView fresh;
  fresh.SetIsDirty(true);
  fresh.Columns()->SetIsDirty(false);
  fresh.SortOrder()->SetIsDirty(false);
  fresh.SetCaption("Other");
  EXPECT_TRUE(fresh.IsDirty());
}

TEST(ProviderView, IsDirtyAcrossParts) {
  const auto view = Sample();
  view->SetIsDirty(true);
  EXPECT_TRUE(view->Columns()->IsDirty());
  EXPECT_TRUE(view->SortOrder()->IsDirty());
  view->SetIsDirty(false);
  EXPECT_FALSE(view->Columns()->IsDirty());
  EXPECT_FALSE(view->SortOrder()->IsDirty());
  EXPECT_FALSE(view->IsDirty());
}

TEST(ProviderView, NotificationViewFollowsNotifiers) {
  CProviderView view;
  EXPECT_FALSE(view.NotificationView());
  view.Notifiers()->Add(viewschedid_WeeklyMonday);
  EXPECT_TRUE(view.NotificationView());
  view.Notifiers()->RemoveByScheduleId(viewschedid_WeeklyMonday);
  EXPECT_FALSE(view.NotificationView());
}

TEST(ProviderView, RoundTripAndClone) {
  const auto view = Sample();
  view->Notifiers()->Add(viewschedid_WeeklyMonday);
  view->SetTemporary(true);
  view->SetFixed(true);
  const auto control = std::shared_ptr<IObject>(std::make_shared<CProviderView>());
  view->SetUiControl(control);

  CProviderView copy;
  copy.Deserialize(view->Serialize());
  EXPECT_EQ(copy.Serialize(), view->Serialize());
  EXPECT_EQ(copy.ContentId(), view->ContentId());

  const auto clone = view->Clone();
  EXPECT_NE(clone.get(), view.get());
  EXPECT_EQ(clone->Guid(), view->Guid());
  EXPECT_EQ(clone->ContentId(), view->ContentId());
  EXPECT_NE(clone->Columns(), view->Columns());
  EXPECT_FALSE(clone->Temporary());
  EXPECT_FALSE(clone->Fixed());
  EXPECT_EQ(clone->UiControl(), nullptr);
  clone->Columns()->Column("{A}")->SetVisible(false);
  EXPECT_NE(clone->ContentId(), view->ContentId());
}

TEST(ProviderView, FullViewRoundTripsToTheSameBytes) {
  CProviderView view;
  view.SetCaption("Everything");
  for (int i = 0; i < 50; ++i) {
    const auto column = view.Columns()->Add("{C" + std::to_string(i) + "}");
    column->SetWidthTwips(100 + i);
    column->SetVisible(i % 3 != 0);
  }
  for (int i = 0; i < 5; ++i) view.SortOrder()->Add("{C" + std::to_string(i * 7) + "}");
  view.SortOrder()->Add("{C7}");
  for (int i = 0; i < 3; ++i)
    view.FilterGroups()->Add()->Add("{C" + std::to_string(i) + "}", "x", logicop_Or);
  view.Notifiers()->Add(viewschedid_WeeklyMonday);
  view.Notifiers()->Add(viewschedid_MonthlyLast);
  view.SetUpdateCounter(12);
  view.SetPauseFilters(true);

  CProviderView copy;
  copy.Deserialize(view.Serialize());
  EXPECT_EQ(copy.Serialize(), view.Serialize());
  EXPECT_EQ(copy.ContentId(), view.ContentId());
  EXPECT_EQ(copy.ContentIdForAutoSave(), view.ContentIdForAutoSave());
  EXPECT_EQ(copy.SortOrder()->Column("{C7}")->Direction(), colsort_Descending);
  EXPECT_EQ(copy.Notifiers()->Count(), 2);
  EXPECT_TRUE(copy.PauseFilters());
  EXPECT_FALSE(copy.IsDirty());
}

TEST(ProviderView, ReferencesAreHeldWeaklyAndNotStored) {
  CProviderView view;
  const Bytes before = view.Serialize();
  {
    auto control = std::shared_ptr<IObject>(std::make_shared<CProviderView>());
    view.SetUiControl(control);
    EXPECT_EQ(view.UiControl(), control);
    EXPECT_EQ(view.Serialize(), before);
  }
  EXPECT_EQ(view.UiControl(), nullptr);
  EXPECT_EQ(view.ProviderInfo(), nullptr);
}

TEST(ProviderView, OlderAndPartialBytes) {
  const auto view = Sample();
  view->Notifiers()->Add(viewschedid_WeeklyMonday);

  CProviderView old;
  old.Deserialize(StoredWithout(*view, {"Version"}).Contents());
  EXPECT_EQ(old.Version(), 0);
  EXPECT_EQ(old.Caption(), "Open items");

  CProviderView bare;
  bare.Deserialize(
      StoredWithout(*view, {"Columns", "SortOrder", "FilterGroups", "Notifiers"}).Contents());
  EXPECT_EQ(bare.SortOrder()->Count(), 0);
  EXPECT_EQ(bare.FilterGroups()->Count(), 0);
  EXPECT_EQ(bare.Notifiers()->Count(), 0);
  // Columns come as for a new view: the standard ones, hidden.
  EXPECT_TRUE(bare.Columns()->Exists(CVesk::ColumnName(veskcol_RecordGuid)));
  EXPECT_FALSE(bare.Columns()->Exists("{A}"));
  EXPECT_EQ(bare.Columns()->VisibleCount(), 0);
  EXPECT_FALSE(bare.IsDirty());
}

// The view's bytes with the key holding a value no reader accepts.
Bytes Poisoned(const CProviderView& view, const std::string& key) {
  PropertyBag forged = StoredWithout(view, {key});
  forged.WriteProperty(key, Variant(Bytes{0xFF, 0x00}));
  return forged.Contents();
}

TEST(ProviderView, StrictThenTolerantLoading) {
  const auto source = Sample();
  source->SetVersion(4);
  source->SetPauseFilters(true);
  source->SortOrder()->Add("{B}");
  for (const std::string key :
       {"Guid", "Caption", "PaperSpan", "TemplateGuid", "FilterGuid", "PrivateToGuid",
        "StandardView", "AllColumnsView", "UpdateCounter", "ProviderGuid"}) {
    SCOPED_TRACE(key);
    CProviderView target;
    const Bytes before = target.Serialize();
    EXPECT_EQ(ErrorOf([&] { target.Deserialize(Poisoned(*source, key)); }).Number(), 13);
    EXPECT_EQ(target.Serialize(), before);
  }
  struct Case {
    const char* key;
    std::function<bool(const CProviderView&)> keptOld;
  };
  const std::vector<Case> tolerant = {
      {"Version", [](const CProviderView& v) { return v.Version() == 6; }},
      {"PauseFilters", [](const CProviderView& v) { return !v.PauseFilters(); }},
      {"Columns", [](const CProviderView& v) { return !v.Columns()->Exists("{A}"); }},
      {"SortOrder", [](const CProviderView& v) { return v.SortOrder()->Count() == 0; }},
      {"FilterGroups", [](const CProviderView& v) { return v.FilterGroups()->Count() == 0; }},
  };
  for (const auto& c : tolerant) {
    SCOPED_TRACE(c.key);
    ScopedLogCapture log;
    CProviderView target;
    target.Deserialize(Poisoned(*source, c.key));
    EXPECT_EQ(target.Caption(), "Open items");
    EXPECT_TRUE(c.keptOld(target));
    if (std::string(c.key) == "Version") {
      ASSERT_EQ(log.Lines().size(), 1u);
      EXPECT_EQ(log.Lines()[0].className, "CProviderView");
      EXPECT_EQ(log.Lines()[0].message, "Error reading view version number for " + source->Guid() +
                                            ". Error: Type mismatch");
    } else {
      EXPECT_TRUE(log.Lines().empty());
      EXPECT_EQ(target.Version(), 4);
    }
  }
}

// What each change reaches: ContentId, ContentIdForAutoSave, ContentIdForDirtyCheck.
TEST(ProviderView, ContentIdentifiersCoverTheirParts) {
  struct Case {
    const char* name;
    std::function<void(CProviderView&)> change;
    bool content, autoSave, dirtyCheck;
  };
  const std::vector<Case> cases = {
      {"resize a column", [](CProviderView& v) { v.Columns()->Column("{A}")->SetWidthTwips(2000); },
       true, false, false},
      {"size a column by hand",
       [](CProviderView& v) { v.Columns()->Column("{A}")->SetManuallySized(true); }, true, false,
       false},
      {"hide a column", [](CProviderView& v) { v.Columns()->Column("{A}")->SetVisible(false); },
       true, true, true},
      {"caption a column", [](CProviderView& v) { v.Columns()->Column("{A}")->SetCaption("Due"); },
       true, true, true},
      {"change the sort", [](CProviderView& v) { v.SortOrder()->Add("{A}"); }, true, true, false},
      {"change the caption", [](CProviderView& v) { v.SetCaption("Closed items"); }, true, true,
       false},
      {"change UpdateCounter", [](CProviderView& v) { v.SetUpdateCounter(7); }, true, true, false},
      {"change Version", [](CProviderView& v) { v.SetVersion(5); }, true, true, false},
      {"add a filter",
       [](CProviderView& v) { v.FilterGroups()->Add()->Add("{B}", "y", logicop_Or); }, true, true,
       true},
      {"add a notifier", [](CProviderView& v) { v.Notifiers()->Add(viewschedid_WeeklyMonday); },
       false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto view = Sample();
    const std::string content = view->ContentId();
    const std::string autoSave = view->ContentIdForAutoSave();
    const std::string dirtyCheck = view->ContentIdForDirtyCheck();
    c.change(*view);
    EXPECT_EQ(view->ContentId() != content, c.content);
    EXPECT_EQ(view->ContentIdForAutoSave() != autoSave, c.autoSave);
    EXPECT_EQ(view->ContentIdForDirtyCheck() != dirtyCheck, c.dirtyCheck);
  }
}

TEST(ProviderView, ContentStringIsCoreThenColumnsSortAndFilters) {
  const auto view = Sample();
  const std::u16string all = view->ContentString();
  const std::u16string tail = view->Columns()->ContentString() +
                              view->SortOrder()->ContentString() +
                              view->FilterGroups()->ContentString();
  ASSERT_GT(all.size(), tail.size());
  EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
  view->Notifiers()->Add(viewschedid_WeeklyMonday);
  EXPECT_EQ(view->ContentString(), all);
}

std::vector<std::string> FieldNames(const Recordset& records) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < records.FieldCount(); ++i) names.push_back(records.FieldName(i));
  return names;
}

TEST(ProviderView, LocalRecordsets) {
  CProviderView view;
  view.Columns()->RemoveAll();
  view.Columns()->Add("{A}");
  view.Columns()->Add("we\"ird; drop table x; --");
  view.Columns()->Add("it's");
  view.Columns()->Column("{A}")->SetVisible(false);
  const auto empty = view.EmptyRecordset();
  EXPECT_EQ(empty->RecordCount(), 0);
  EXPECT_TRUE(empty->Eof());
  EXPECT_EQ(FieldNames(*empty),
            (std::vector<std::string>{"{A}", "we\"ird; drop table x; --", "it's"}));

  const auto guids = view.RecordGuidRecordset();
  EXPECT_EQ(guids->RecordCount(), 0);
  EXPECT_EQ(FieldNames(*guids), (std::vector<std::string>{CVesk::ColumnName(veskcol_RecordGuid)}));

  // Hidden standard columns still count.
  CProviderView fresh;
  EXPECT_EQ(fresh.EmptyRecordset()->FieldCount(), fresh.Columns()->Count());

  // Two GUIDs that SQLite takes as one column name cannot make a table.
  CProviderView clash;
  clash.Columns()->RemoveAll();
  clash.Columns()->Add("{a}x");
  clash.Columns()->Add("{A}X ");
  clash.Columns()->Column("{A}X ")->SetGuid("{A}X");
  const CError e = ErrorOf([&] { clash.EmptyRecordset(); });
  EXPECT_EQ(e.Number(), err::kObjectErrorBase);
  EXPECT_EQ(e.Description(), "Could not create local view table.");

  view.Columns()->RemoveAll();
  for (const auto& make : {&CProviderView::EmptyRecordset, &CProviderView::RecordGuidRecordset}) {
    const CError none = ErrorOf([&] { (view.*make)(); });
    EXPECT_EQ(none.Number(), 5);
    EXPECT_EQ(none.Description(), "Must have at least one column");
  }
}

}  // namespace
}  // namespace prvdrinfo
