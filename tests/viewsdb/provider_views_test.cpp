#include "prvdrinfo/viewsdb/provider_views.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

// A sink that answers each event with what the test gives it, and counts the events.
class Sink : public CProviderViewsEvents {
 public:
  std::function<void(std::shared_ptr<CProviderView>&)> onFix;
  std::function<void(std::shared_ptr<CProviderView>&)> onRequest;
  std::function<void(const std::string&, bool&)> onIgnore;
  int requests = 0;

  void FixView(std::shared_ptr<CProviderView>& po_View) override {
    if (onFix) onFix(po_View);
  }
  void RequestAllColumnsView(std::shared_ptr<CProviderView>& po_View) override {
    ++requests;
    if (onRequest) onRequest(po_View);
  }
  void IgnoreView(const std::string& p_ViewGuid, bool& p_Ignore) override {
    if (onIgnore) onIgnore(p_ViewGuid, p_Ignore);
  }
};

std::shared_ptr<CProviderView> ViewWith(const std::string& guid, int32_t counter) {
  auto view = std::make_shared<CProviderView>();
  view->SetGuid(guid);
  view->SetUpdateCounter(counter);
  return view;
}

TEST(ProviderViews, LookupErrorsCarryTheirNumbersAndTexts) {
  CProviderViews views;
  struct Case {
    const char* name;
    std::function<void()> call;
    int32_t number;
    const char* text;
  };
  const std::vector<Case> emptyCases = {
      {"index 0 of none", [&] { views.ViewByIndex(0); }, viewerr_UnknownViewIndex,
       "View Index out of range."},
  };
  for (const Case& c : emptyCases) {
    SCOPED_TRACE(c.name);
    const CError e = ErrorOf(c.call);
    EXPECT_EQ(e.Number(), c.number);
    EXPECT_EQ(e.Description(), c.text);
  }
  views.Add("{A}", "Open items");
  views.Add("{B}", "Closed items");
  const std::vector<Case> cases = {
      {"index -1", [&] { views.ViewByIndex(-1); }, viewerr_UnknownViewIndex,
       "View Index out of range."},
      {"index Count", [&] { views.ViewByIndex(2); }, viewerr_UnknownViewIndex,
       "View Index out of range."},
      {"unknown GUID", [&] { views.View("{C}"); }, viewerr_UnknownViewGuid,
       "Unknown View GUID: {C}"},
      {"unknown caption", [&] { views.ViewByCaption("Open"); }, viewerr_UnknownViewCaption,
       "View caption not found."},
      {"unknown control", [&] { views.ViewByUiControl(std::make_shared<CProviderView>()); }, 5,
       "View not found."},
      {"no control", [&] { views.ViewByUiControl(nullptr); }, 5, "View not found."},
      {"GUID in use", [&] { views.Add("{a}", "Other"); }, viewerr_ViewGuidInUse,
       "View GUID must be unique."},
      {"blank caption", [&] { views.Add("{D}", " \t"); }, 5, "View caption is required."},
      {"remove absent", [&] { views.Remove("{C}"); }, 5, ""},
      {"existing GUID", [&] { views.AddExisting(ViewWith("{B}", 0)); }, 457, ""},
      {"no view", [&] { views.AddExisting(nullptr); }, 91, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CError e = ErrorOf(c.call);
    EXPECT_EQ(e.Number(), c.number);
    if (*c.text) {
      EXPECT_EQ(e.Description(), c.text);
    }
    EXPECT_EQ(views.Count(), 2);  // nothing added or removed
  }
  EXPECT_EQ(views.ViewByIndex(1)->Guid(), "{B}");
  EXPECT_EQ(views.View("{a}")->Caption(), "Open items");
}

TEST(ProviderViews, AddAppendsUnderTheViewsGuid) {
  CProviderViews views;
  const auto first = views.Add("{A}", "  Open \t items ");
  EXPECT_EQ(first->Guid(), "{A}");
  EXPECT_EQ(first->Caption(), "Open items");
  const auto blank = views.Add("", "Fresh");
  ASSERT_FALSE(blank->Guid().empty());
  EXPECT_EQ(views.View(blank->Guid()), blank);

  const auto existing = ViewWith("{C}", 5);
  views.AddExisting(existing);
  std::vector<std::string> order;
  for (const auto& view : views) order.push_back(view->Guid());
  EXPECT_EQ(order, (std::vector<std::string>{"{A}", blank->Guid(), "{C}"}));
  EXPECT_TRUE(views.Exists("{c}"));

  views.Remove("{a}");
  views.RemoveByIndex(0);
  ASSERT_EQ(views.Count(), 1);
  EXPECT_EQ(views.ViewByIndex(0), existing);
  EXPECT_EQ(ErrorOf([&] { views.RemoveByIndex(1); }).Number(), 9);
}

TEST(ProviderViews, CaptionLookupIgnoresCaseAndCleansTheRequest) {
  CProviderViews views;
  const auto open = views.Add("{A}", "Open Items");
  views.Add("{B}", "Straße");
  auto loaded = ViewWith("{C}", 0);
  // Bytes may hold a caption that was never cleaned.
  PropertyBag bag;
  loaded->Class_WriteProperties(bag);
  bag.WriteProperty("Caption", Variant("  Raw   caption "));
  loaded->Deserialize(bag.Contents());
  views.AddExisting(loaded);
  views.Add("{D}", "open items");  // later in order: never the first match

  for (const char* asked : {"open items", "OPEN ITEMS", "  Open\t Items\n", "open\u00A0items"}) {
    SCOPED_TRACE(asked);
    EXPECT_EQ(views.ViewByCaption(asked), open);
    EXPECT_TRUE(views.ExistsByCaption(asked));
  }
  EXPECT_EQ(views.ViewByCaption("STRASSE")->Guid(), "{B}");
  EXPECT_EQ(views.ViewByCaption("raw caption"), loaded);
  EXPECT_FALSE(views.ExistsByCaption("Open"));
  EXPECT_FALSE(views.ExistsByCaption(""));
}

TEST(ProviderViews, UiControlLookupIsByIdentity) {
  CProviderViews views;
  auto control = std::make_shared<CProviderView>();
  auto twin = std::make_shared<CProviderView>();
  twin->Deserialize(control->Serialize());  // equal in every stored field, yet another object
  views.Add("{A}", "No control");
  const auto second = views.Add("{B}", "Second");
  second->SetUiControl(control);
  views.Add("{C}", "Third")->SetUiControl(control);

  EXPECT_EQ(views.ViewByUiControl(control), second);
  EXPECT_TRUE(views.ExistsByUiControl(control));
  EXPECT_FALSE(views.ExistsByUiControl(twin));
  EXPECT_FALSE(views.ExistsByUiControl(nullptr));
}

TEST(ProviderViews, AllColumnsViewIsFoundOrRequestedOnce) {
  CProviderViews views;
  views.Add("{A}", "Plain");
  EXPECT_FALSE(views.HasAllColumnsView());
  const CError e = ErrorOf([&] { views.AllColumnsView(); });
  EXPECT_EQ(e.Number(), _viewerr_Base);
  EXPECT_EQ(e.Description(), "All Columns view not found.");

  // Two sinks: the second sees what the first supplied and keeps it.
  auto first = std::make_shared<Sink>();
  auto second = std::make_shared<Sink>();
  auto supplied = ViewWith("{ALL}", 0);
  supplied->SetAllColumnsView(true);
  first->onRequest = [&](std::shared_ptr<CProviderView>& view) { view = supplied; };
  std::shared_ptr<CProviderView> seenBySecond;
  second->onRequest = [&](std::shared_ptr<CProviderView>& view) { seenBySecond = view; };
  views.Advise(first);
  views.Advise(second);

  EXPECT_TRUE(views.HasAllColumnsView());
  EXPECT_EQ(seenBySecond, supplied);
  EXPECT_EQ(views.Count(), 2);
  EXPECT_EQ(views.ViewByIndex(1), supplied);
  EXPECT_EQ(views.AllColumnsView(), supplied);
  EXPECT_EQ(first->requests, 1);
}

TEST(ProviderViews, ASuppliedViewUnderAKeyInUseIsReturnedNotAdded) {
  CProviderViews views;
  const auto plain = views.Add("{A}", "Plain");
  auto sink = std::make_shared<Sink>();
  auto supplied = ViewWith("{a}", 0);  // not flagged, and its GUID is taken
  sink->onRequest = [&](std::shared_ptr<CProviderView>& view) { view = supplied; };
  const int32_t cookie = views.Advise(sink);
  EXPECT_EQ(views.AllColumnsView(), supplied);
  EXPECT_EQ(views.Count(), 1);
  EXPECT_EQ(views.View("{A}"), plain);
  // Unflagged, so every call asks again; a detached sink is asked no more.
  views.AllColumnsView();
  EXPECT_EQ(sink->requests, 2);
  views.Unadvise(cookie);
  EXPECT_FALSE(views.HasAllColumnsView());
  EXPECT_EQ(sink->requests, 2);
}

TEST(ProviderViews, CountersSumAndPeak) {
  CProviderViews views;
  EXPECT_EQ(views.UpdateCounter(), 0);
  EXPECT_EQ(views.HighestUpdateCounter(), 0);
  views.AddExisting(ViewWith("{A}", 30));
  views.AddExisting(ViewWith("{B}", 50));
  views.AddExisting(ViewWith("{C}", 10));
  EXPECT_EQ(views.UpdateCounter(), 90);
  EXPECT_EQ(views.HighestUpdateCounter(), 50);
  views.View("{C}")->SetUpdateCounter(70);
  EXPECT_EQ(views.UpdateCounter(), 150);
  EXPECT_EQ(views.HighestUpdateCounter(), 70);

  views.AddExisting(ViewWith("{D}", std::numeric_limits<int32_t>::max()));
  EXPECT_EQ(ErrorOf([&] { views.UpdateCounter(); }).Number(), 6);
  EXPECT_EQ(views.HighestUpdateCounter(), std::numeric_limits<int32_t>::max());
}

TEST(ProviderViews, TemporaryViewsAddNothingToTheContentString) {
  CProviderViews views;
  const auto a = views.Add("{A}", "First");
  views.Add("{T}", "Scratch")->SetTemporary(true);
  const auto b = views.Add("{B}", "Second");
  EXPECT_EQ(views.ContentString(), a->ContentString() + b->ContentString());
  EXPECT_EQ(views.ContentId(), content::ContentIdOf(a->ContentString() + b->ContentString()));
  EXPECT_EQ(CProviderViews().ContentString(), u"");
}

TEST(ProviderViews, PersistsViewsAndDeleteCounter) {
  const auto views = CProviderViewsFactory().CreateProviderViews();
  EXPECT_EQ(views->Count(), 0);
  EXPECT_EQ(views->DeleteCounter(), 0);

  PropertyBag fresh;
  fresh.SetContents(views->Serialize());
  ASSERT_EQ(fresh.Count(), 2u);
  EXPECT_EQ(fresh.Entries()[0].key, "Views");
  EXPECT_EQ(fresh.Entries()[1].key, "DeleteCounter");  // written even at 0
  EXPECT_EQ(fresh.ReadProperty("DeleteCounter"), Variant(int32_t{0}));

  views->Add("{A}", "First")->SetUpdateCounter(20);
  views->Add("{B}", "Second");
  views->SetDeleteCounter(17);
  CProviderViews copy;
  copy.Deserialize(views->Serialize());
  EXPECT_EQ(copy.DeleteCounter(), 17);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.ViewByIndex(0)->Guid(), "{A}");
  EXPECT_EQ(copy.View("{b}")->Caption(), "Second");
  EXPECT_EQ(copy.UpdateCounter(), 20);
  EXPECT_EQ(copy.Serialize(), views->Serialize());

  // Bytes without the counter read it as 0.
  PropertyBag stored;
  stored.SetContents(views->Serialize());
  PropertyBag withoutCounter;
  withoutCounter.WriteProperty("Views", stored.ReadProperty("Views"));
  copy.Deserialize(withoutCounter.Contents());
  EXPECT_EQ(copy.DeleteCounter(), 0);
  EXPECT_EQ(copy.Count(), 2);
}

}  // namespace
}  // namespace prvdrinfo
