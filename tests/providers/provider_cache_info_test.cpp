// Cache information: the content identifiers of a shell and of each of its columns and
// views, which tell a host exactly what changed.
#include "prvdrinfo/providers/provider_cache_info.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

// A shell with two provider-specific columns and three views.
std::shared_ptr<CProviderInfoShell> Shell() {
  auto shell = std::make_shared<CProviderInfoShell>();
  shell->SetNames("Item", "Items");
  for (const char* guid : {"COL-1", "COL-2"}) {
    auto column = std::make_shared<CColumnDefStored>();
    column->SetGuid(guid);
    column->SetIdentifier(guid);
    shell->Columns()->ProviderSpecific()->AddExisting(column);
  }
  for (const char* guid : {"VIEW-1", "VIEW-2", "VIEW-3"}) shell->Views()->Add(guid, guid);
  return shell;
}

struct Entry {
  std::string key;
  std::string item;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> EntriesOf(const KeyedCollection& collection) {
  std::vector<Entry> entries;
  for (int32_t i = 0; i < collection.Count(); ++i) {
    entries.push_back({collection.KeyByIndex(i), collection.ItemByIndex(i).AsText()});
  }
  return entries;
}

TEST(ProviderCacheInfo, RecordsTheContentIdOfTheShellAndOfEachColumnAndView) {
  const auto shell = Shell();
  CProviderCacheInfo cache;
  cache.PrepCacheInfo(shell);
  EXPECT_EQ(cache.ProviderGuid(), shell->Guid());
  EXPECT_EQ(cache.ProviderContentId(), shell->ContentId());
  EXPECT_EQ(cache.ColumnsContentId(), shell->Columns()->ContentId());
  EXPECT_EQ(cache.ViewsContentId(), shell->Views()->ContentId());
  const auto columns = shell->Columns()->ProviderSpecific();
  EXPECT_EQ(EntriesOf(*cache.Columns()),
            (std::vector<Entry>{{"COL-1", columns->Item("COL-1")->ContentId()},
                                {"COL-2", columns->Item("COL-2")->ContentId()}}));
  const auto views = shell->Views();
  EXPECT_EQ(EntriesOf(*cache.Views()),
            (std::vector<Entry>{{"VIEW-1", views->View("VIEW-1")->ContentId()},
                                {"VIEW-2", views->View("VIEW-2")->ContentId()},
                                {"VIEW-3", views->View("VIEW-3")->ContentId()}}));
}

TEST(ProviderCacheInfo, AChangedViewShowsInItsEntryAndTheViewsIdOnly) {
  const auto shell = Shell();
  CProviderCacheInfo before;
  before.PrepCacheInfo(shell);
  shell->Views()->View("VIEW-2")->SetCaption("Renamed");
  CProviderCacheInfo after;
  after.PrepCacheInfo(shell);

  EXPECT_NE(after.ProviderContentId(), before.ProviderContentId());
  EXPECT_NE(after.ViewsContentId(), before.ViewsContentId());
  EXPECT_EQ(after.ColumnsContentId(), before.ColumnsContentId());
  EXPECT_EQ(EntriesOf(*after.Columns()), EntriesOf(*before.Columns()));
  const auto was = EntriesOf(*before.Views());
  const auto is = EntriesOf(*after.Views());
  ASSERT_EQ(is.size(), 3U);
  EXPECT_EQ(is[0], was[0]);
  EXPECT_NE(is[1], was[1]);
  EXPECT_EQ(is[2], was[2]);

  // A changed column likewise shows in its own entry and the columns' id.
  shell->Columns()->ProviderSpecific()->Item("COL-1")->SetVeskDatatype(datatype_Integer);
  CProviderCacheInfo third;
  third.PrepCacheInfo(shell);
  EXPECT_EQ(third.ViewsContentId(), after.ViewsContentId());
  EXPECT_NE(third.ColumnsContentId(), after.ColumnsContentId());
  EXPECT_NE(EntriesOf(*third.Columns())[0], EntriesOf(*after.Columns())[0]);
  EXPECT_EQ(EntriesOf(*third.Columns())[1], EntriesOf(*after.Columns())[1]);
}

// The collections are not emptied first, so a second call meets its own first key.
TEST(ProviderCacheInfo, ASecondPrepFailsOnTheFirstKeyKeepingWhatItSet) {
  const auto shell = Shell();
  CProviderCacheInfo cache;
  cache.PrepCacheInfo(shell);
  const auto views = EntriesOf(*cache.Views());
  shell->SetNames("Other", "Others");
  const CError e = ErrorOf([&] { cache.PrepCacheInfo(shell); });
  EXPECT_EQ(e.Number(), 457);
  EXPECT_EQ(cache.ProviderContentId(), shell->ContentId());
  EXPECT_EQ(cache.Columns()->Count(), 2);
  EXPECT_EQ(EntriesOf(*cache.Views()), views);
  EXPECT_EQ(ErrorOf([&] { cache.PrepCacheInfo(nullptr); }).Number(), 91);
}

TEST(ProviderCacheInfo, AFreshObjectHasEmptyCollections) {
  CProviderCacheInfo cache;
  ASSERT_NE(cache.Columns(), nullptr);
  ASSERT_NE(cache.Views(), nullptr);
  EXPECT_EQ(cache.Columns()->Count(), 0);
  EXPECT_EQ(cache.Views(), cache.Views());
  auto replaced = std::make_shared<KeyedCollection>();
  cache.SetViews(replaced);
  EXPECT_EQ(cache.Views(), replaced);
}

TEST(ProviderCacheInfo, BytesKeepEveryMemberInKeyOrder) {
  CProviderCacheInfo cache;
  cache.PrepCacheInfo(Shell());
  const Bytes bytes = cache.Serialize();
  CProviderCacheInfo restored;
  restored.Deserialize(bytes);
  EXPECT_EQ(restored.Serialize(), bytes);
  EXPECT_EQ(restored.ProviderContentId(), cache.ProviderContentId());
  EXPECT_EQ(EntriesOf(*restored.Views()), EntriesOf(*cache.Views()));
  EXPECT_EQ(testing::KeysOf(bytes),
            (std::vector<std::string>{"ProviderGuid", "ProviderContentId", "Columns", "Views",
                                      "ColumnsContentId", "ViewsContentId"}));
}

}  // namespace
}  // namespace prvdrinfo
