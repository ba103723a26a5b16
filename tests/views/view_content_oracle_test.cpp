// The view classes render their content straight into the builder (each save routine's
// writes encoded as they come, auto-save identifiers hashed as they are rendered). The
// content they rendered before, piece by piece from whole property bags, is rebuilt here
// from the stored bytes and stays the reference: over many generated views with unusual
// text, content strings and all three identifiers must match it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/filters/provider_view_filter.h"
#include "prvdrinfo/views/provider_view.h"

namespace prvdrinfo {
namespace {

// Empty, accented, beyond the BMP, ill-formed UTF-8 (repaired when stored), SQL and
// key-like punctuation, control characters, long.
std::string UnusualText(std::mt19937& random) {
  static const std::string kPieces[] = {
      "",          "Due", "Échéance à régler",  "\xF0\x9F\x93\x85 date", "\xC3 cut", "\xEF\xBF\xBF",
      "a\"b';c--", "_",   "line\r\nbreak\ttab", std::string(300, 'w'),   "ß and İ",  "\x01\x7F",
  };
  std::string text;
  const int pieces = static_cast<int>(random() % 3);
  for (int i = 0; i < pieces; ++i) text += kPieces[random() % std::size(kPieces)];
  return text;
}

std::shared_ptr<CProviderView> RandomView(std::mt19937& random) {
  auto view = std::make_shared<CProviderView>();
  view->SetGuid(UnusualText(random));
  view->SetCaption("View " + UnusualText(random));
  view->SetTemplateGuid(UnusualText(random));
  view->SetFilterGuid(UnusualText(random));
  view->SetPrivateToGuid(UnusualText(random));
  view->SetProviderGuid(UnusualText(random));
  view->SetStandardView(random() % 2 == 0);
  view->SetAllColumnsView(random() % 3 == 0);
  view->SetUpdateCounter(static_cast<int32_t>(random() % 4));
  view->SetVersion(static_cast<int32_t>(random() % 8));
  view->SetPauseFilters(random() % 2 == 0);
  view->SetPaperSpan(1 + static_cast<int32_t>(random() % 3));

  const auto columns = view->Columns();
  if (random() % 4 != 0) columns->RemoveAll();
  std::vector<std::string> guids;
  const int columnCount = static_cast<int>(random() % 40);
  for (int i = 0; i < columnCount; ++i) {
    const std::string guid = "{" + std::to_string(i) + UnusualText(random) + "}";
    guids.push_back(guid);
    const auto column = columns->Add(guid);
    column->SetCaption(UnusualText(random));
    column->SetWidthTwips(static_cast<int32_t>(random() % 3000) - 10);
    if (random() % 3 == 0) column->SetMinWidthTwips(static_cast<int32_t>(random() % 500));
    if (random() % 3 == 0) column->SetMaxWidthTwips(static_cast<int32_t>(random() % 30000));
    column->SetVisible(random() % 3 != 0);
    column->SetAggregateType(static_cast<e_ColumnAggregateType>(static_cast<int>(random() % 4)));
    column->SetAlignment(static_cast<e_ColumnAlignment>(static_cast<int>(random() % 3)));
    column->SetFormatType(static_cast<e_ViewColumnFormatType>(static_cast<int>(random() % 3)));
    column->SetAlias(UnusualText(random));
    column->SetManuallySized(random() % 2 == 0);
    column->SetGhosted(random() % 5 == 0);
  }
  for (size_t k = 0, keys = random() % 7; k < keys && !guids.empty(); ++k) {
    // A key added twice in place turns descending.
    view->SortOrder()->Add(guids[random() % guids.size()]);
  }
  for (size_t g = 0, groups = random() % 4; g < groups; ++g) {
    const auto group = view->FilterGroups()->Add();
    group->SetLogicalOperator(static_cast<e_FilterLogicalOperator>(static_cast<int>(random() % 3)));
    for (size_t i = 0, items = random() % 4; i < items; ++i) {
      group->Add3(
          UnusualText(random), static_cast<e_FilterItemOperator>(static_cast<int>(random() % 7)),
          UnusualText(random), static_cast<e_FilterLogicalOperator>(static_cast<int>(random() % 2)),
          static_cast<e_FilterItemFunction>(static_cast<int>(random() % 2)));
    }
  }
  std::set<int32_t> schedules;
  for (size_t n = 0, notifiers = random() % 3; n < notifiers; ++n) {
    schedules.insert(static_cast<int32_t>(random() % 13));
  }
  for (const int32_t schedule : schedules) {
    const auto notifier = view->Notifiers()->Add(schedule);
    notifier->SetMessage(UnusualText(random));
    notifier->SetNextScheduledDeliveryDate("2026-12-14T13:00:00Z");
  }
  return view;
}

std::u16string Raw(const Bytes& bytes) {
  StringBuilder builder;
  builder.AppendRawBytes(bytes);
  return builder.Release();
}

std::u16string Utf16(const std::string& text) {
  StringBuilder builder;
  builder.Append(std::string_view(text));
  return builder.Release();
}

// The stored keys of an object's bytes but the dropped ones, as a bag of their own.
std::u16string StoredWithout(const Bytes& stored, const std::set<std::string>& dropped) {
  PropertyBag all;
  all.SetContents(stored);
  PropertyBag kept;
  for (const auto& entry : all.Entries()) {
    if (!dropped.contains(entry.key)) kept.WriteProperty(entry.key, all.ReadProperty(entry.key));
  }
  return Raw(kept.Contents());
}

struct Rendered {
  std::u16string content, columns, sort, groups;
  std::string contentId, autoSave, dirtyCheck, columnsAutoSave;
};

// Field by field, without printing texts of thousands of code units.
void ExpectSame(const Rendered& got, const Rendered& want) {
  EXPECT_TRUE(got.content == want.content) << "content string";
  EXPECT_TRUE(got.columns == want.columns) << "columns";
  EXPECT_TRUE(got.sort == want.sort) << "sort order";
  EXPECT_TRUE(got.groups == want.groups) << "filter groups";
  EXPECT_EQ(got.contentId, want.contentId);
  EXPECT_EQ(got.autoSave, want.autoSave);
  EXPECT_EQ(got.dirtyCheck, want.dirtyCheck);
  EXPECT_EQ(got.columnsAutoSave, want.columnsAutoSave);
}

// What the view classes rendered when every piece was a whole bag.
Rendered Reference(const CProviderView& view) {
  Rendered r;
  for (const auto& column : *view.Columns()) r.columns += Raw(column->Serialize());
  for (auto it = view.SortOrder()->begin(); it != view.SortOrder()->end(); ++it) {
    r.sort += Utf16(it.Key()) + u"_" + Raw((*it)->Serialize());
  }
  for (const auto& group : *view.FilterGroups()) {
    PropertyBag head;
    head.WriteProperty("LogicalOperator", Variant(static_cast<int32_t>(group->LogicalOperator())));
    r.groups += Raw(head.Contents());
    for (const auto& item : *group) r.groups += Raw(item->Serialize());
  }
  const std::u16string core =
      StoredWithout(view.Serialize(), {"Columns", "SortOrder", "FilterGroups", "Notifiers"});
  r.content = core + r.columns + r.sort + r.groups;
  r.contentId = content::ContentIdOf(r.content);
  std::u16string columnIds;
  for (const auto& column : *view.Columns()) {
    if (!column->Visible()) continue;
    columnIds += Utf16(content::ContentIdOf(StoredWithout(
        column->Serialize(), {"WidthTwips", "MinWidthTwips", "MaxWidthTwips", "ManuallySized"})));
  }
  r.columnsAutoSave = content::ContentIdOf(columnIds);
  const std::u16string groupsId = Utf16(content::ContentIdOf(r.groups));
  r.autoSave = content::ContentIdOf(core + Utf16(r.columnsAutoSave) +
                                    Utf16(content::ContentIdOf(r.sort)) + groupsId);
  r.dirtyCheck = content::ContentIdOf(Utf16(r.columnsAutoSave) + groupsId);
  return r;
}

Rendered Render(const CProviderView& view) {
  return {view.ContentString(),
          view.Columns()->ContentString(),
          view.SortOrder()->ContentString(),
          view.FilterGroups()->ContentString(),
          view.ContentId(),
          view.ContentIdForAutoSave(),
          view.ContentIdForDirtyCheck(),
          view.Columns()->ContentIdForAutoSave()};
}

TEST(ViewContent, ViewsRenderWhatWholeBagsDid) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 120; ++round) {
    SCOPED_TRACE("view " + std::to_string(round));
    const auto view = RandomView(random);
    ExpectSame(Render(*view), Reference(*view));
  }
}

// The filter and notifier classes the view holds, alone: a filter is its caption and
// GUID as a bag, then its groups; a notifier and its collection are their stored bytes.
TEST(ViewContent, FiltersAndNotifiersRenderWhatWholeBagsDid) {
  std::mt19937 random(7);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const auto view = RandomView(random);
    CProviderViewFilter filter;
    filter.SetCaption("Filter " + UnusualText(random));
    filter.SetGuid(UnusualText(random));
    filter.Groups()->Deserialize(view->FilterGroups()->Serialize());
    PropertyBag head;
    head.WriteProperty("Caption", Variant(filter.Caption()));
    head.WriteProperty("Guid", Variant(filter.Guid()));
    const std::u16string filterText = Raw(head.Contents()) + Reference(*view).groups;
    const auto notifiers = view->Notifiers();
    EXPECT_TRUE(filter.ContentString() == filterText);
    EXPECT_EQ(filter.ContentId(), content::ContentIdOf(filterText));
    EXPECT_TRUE(notifiers->ContentString() == Raw(notifiers->Serialize()));
    for (const auto& notifier : *notifiers) {
      EXPECT_TRUE(notifier->ContentString() == Raw(notifier->Serialize()));
      EXPECT_TRUE(notifier->LastDeliveries()->ContentString() ==
                  Raw(notifier->LastDeliveries()->Serialize()));
      EXPECT_EQ(notifier->ContentId(), content::ContentIdOf(Raw(notifier->Serialize())));
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
