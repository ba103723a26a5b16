#include "prvdrinfo/views/provider_view_cols.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/services/vesk.h"
#include "support/column_test_support.h"
#include "support/host_seams.h"

namespace prvdrinfo {
namespace {

using testing::BagOf;
using testing::ErrorOf;
using testing::KeysOf;
using testing::UnitsOf;

const std::vector<std::string> kStandardKeys = {"rec_guid", "hidden", "updates", "modified",
                                                "created"};

// The GUIDs in column order.
std::vector<std::string> Order(const CProviderViewCols& columns) {
  std::vector<std::string> guids;
  for (const auto& column : columns) guids.push_back(column->Guid());
  return guids;
}

// A loaded (so unseeded) collection holding the given columns, visible and 100 wide.
std::shared_ptr<CProviderViewCols> Loaded(const std::vector<std::string>& guids) {
  CProviderViewCols source;
  source.RemoveAll();
  for (const auto& guid : guids) source.Add(guid)->SetWidthTwips(100);
  auto loaded = std::make_shared<CProviderViewCols>();
  loaded->Deserialize(source.Serialize());
  return loaded;
}

TEST(ViewCol, FreshColumnAndReadDefaults) {
  const auto fresh = CProviderViewColFactory().CreateViewColDef();
  EXPECT_EQ(fresh->Guid(), "");
  EXPECT_EQ(fresh->Caption(), CVesk::DefaultCaption());
  EXPECT_EQ(fresh->WidthTwips(), 0);
  EXPECT_EQ(fresh->MinWidthTwips(), 180);
  EXPECT_EQ(fresh->MaxWidthTwips(), 24480);
  EXPECT_TRUE(fresh->Visible());
  EXPECT_EQ(fresh->AggregateType(), colaggregate_UseDefault);
  EXPECT_EQ(fresh->Alignment(), colalign_Standard);
  EXPECT_EQ(fresh->FormatType(), viewcolformat_Default);
  EXPECT_FALSE(fresh->ManuallySized());
  EXPECT_FALSE(fresh->Ghosted());
  EXPECT_FALSE(fresh->IsDirty());

  CProviderViewCol read;
  read.Deserialize(PropertyBag().Contents());
  EXPECT_EQ(read.Caption(), "");
  EXPECT_EQ(read.WidthTwips(), 1440);
  EXPECT_EQ(read.MinWidthTwips(), 180);
  EXPECT_EQ(read.MaxWidthTwips(), 24480);
  EXPECT_TRUE(read.Visible());
  EXPECT_EQ(read.AggregateType(), colaggregate_UseDefault);
}

TEST(ViewCol, WritesEveryKeyInOrderAndOnlyWhatDiffersFromTheReadDefaults) {
  CProviderViewCol column;
  column.SetGuid("g");
  column.SetWidthTwips(1440);  // the read default: not written
  column.SetVisible(false);
  column.SetAlias("a");
  column.SetManuallySized(true);
  column.SetGhosted(true);
  EXPECT_EQ(KeysOf(column.Serialize()),
            (std::vector<std::string>{"Guid", "Caption", "Visible", "Alias", "ManuallySized",
                                      "Ghosted"}));
  // A new column's width of 0 differs from 1440 and is written.
  EXPECT_EQ(KeysOf(CProviderViewCol().Serialize()),
            (std::vector<std::string>{"Caption", "WidthTwips"}));
}

TEST(ViewCol, GhostedIsReadTolerantlyEveryOtherKeyStrictly) {
  CProviderViewCol source;
  source.SetGhosted(true);
  source.SetCaption("Kept");
  PropertyBag bag = BagOf(source.Serialize());
  bag.WriteProperty("Ghosted", "not a boolean");
  CProviderViewCol column;
  column.Deserialize(bag.Contents());
  EXPECT_FALSE(column.Ghosted());
  EXPECT_EQ(column.Caption(), "Kept");

  PropertyBag broken = BagOf(source.Serialize());
  broken.WriteProperty("Visible", "not a boolean");
  CProviderViewCol untouched;
  untouched.SetAlias("before");
  EXPECT_EQ(ErrorOf([&] { untouched.Deserialize(broken.Contents()); }).Number(), 13);
  EXPECT_EQ(untouched.Alias(), "before");
}

TEST(ViewCol, OnlyWidthVisibleAggregateAndCaptionMarkDirty) {
  struct Case {
    const char* name;
    void (*change)(CProviderViewCol&);
    bool dirty;
  };
  const Case cases[] = {
      {"WidthTwips", [](CProviderViewCol& c) { c.SetWidthTwips(500); }, true},
      {"Visible", [](CProviderViewCol& c) { c.SetVisible(false); }, true},
      {"AggregateType", [](CProviderViewCol& c) { c.SetAggregateType(colaggregate_Sum); }, true},
      {"Caption", [](CProviderViewCol& c) { c.SetCaption("Other"); }, true},
      {"Caption case", [](CProviderViewCol& c) { c.SetCaption("title"); }, true},
      {"same Caption", [](CProviderViewCol& c) { c.SetCaption("Title"); }, false},
      {"same WidthTwips", [](CProviderViewCol& c) { c.SetWidthTwips(100); }, false},
      {"MinWidthTwips", [](CProviderViewCol& c) { c.SetMinWidthTwips(1); }, false},
      {"MaxWidthTwips", [](CProviderViewCol& c) { c.SetMaxWidthTwips(1); }, false},
      {"Alignment", [](CProviderViewCol& c) { c.SetAlignment(colalign_Right); }, false},
      {"FormatType", [](CProviderViewCol& c) { c.SetFormatType(viewcolformat_Checkbox); }, false},
      {"Alias", [](CProviderViewCol& c) { c.SetAlias("x"); }, false},
      {"Guid", [](CProviderViewCol& c) { c.SetGuid("x"); }, false},
      {"ManuallySized", [](CProviderViewCol& c) { c.SetManuallySized(true); }, false},
      {"Ghosted", [](CProviderViewCol& c) { c.SetGhosted(true); }, false},
  };
  CProviderViewCol base;
  base.SetCaption("Title");
  base.SetWidthTwips(100);
  for (const Case& c : cases) {
    CProviderViewCol column = base;
    column.SetIsDirty(false);
    c.change(column);
    EXPECT_EQ(column.IsDirty(), c.dirty) << c.name;
    // A loaded column is initialised too.
    CProviderViewCol loaded;
    loaded.Deserialize(base.Serialize());
    loaded.SetIsDirty(false);
    c.change(loaded);
    EXPECT_EQ(loaded.IsDirty(), c.dirty) << c.name << " loaded";
  }
}

TEST(ViewCol, CaptionIsNormalised) {
  CProviderViewCol column;
  column.SetCaption("  Due\t date ");
  EXPECT_EQ(column.Caption(), "Due date");
}

TEST(ViewCol, ContentStringIsTheSerializedBytes) {
  CProviderViewCol column;
  column.SetGuid("g");
  column.SetCaption("Due");
  EXPECT_EQ(column.ContentString(), UnitsOf(column.Serialize()));
}

TEST(ViewCol, AutoSaveIdentifierIgnoresWidthsAndManualSizing) {
  struct Case {
    const char* name;
    void (*change)(CProviderViewCol&);
    bool autoSaveChanges;
  };
  const Case cases[] = {
      {"WidthTwips", [](CProviderViewCol& c) { c.SetWidthTwips(900); }, false},
      {"MinWidthTwips", [](CProviderViewCol& c) { c.SetMinWidthTwips(10); }, false},
      {"MaxWidthTwips", [](CProviderViewCol& c) { c.SetMaxWidthTwips(10); }, false},
      {"ManuallySized", [](CProviderViewCol& c) { c.SetManuallySized(true); }, false},
      {"Visible", [](CProviderViewCol& c) { c.SetVisible(false); }, true},
      {"Caption", [](CProviderViewCol& c) { c.SetCaption("Other"); }, true},
      {"Alias", [](CProviderViewCol& c) { c.SetAlias("x"); }, true},
      {"Ghosted", [](CProviderViewCol& c) { c.SetGhosted(true); }, true},
      {"Alignment", [](CProviderViewCol& c) { c.SetAlignment(colalign_Center); }, true},
  };
  for (const Case& c : cases) {
    CProviderViewCol column;
    column.SetGuid("g");
    const std::string id = column.ContentId();
    const std::string autoSave = column.ContentIdForAutoSave();
    c.change(column);
    EXPECT_NE(column.ContentId(), id) << c.name;
    EXPECT_EQ(column.ContentIdForAutoSave() != autoSave, c.autoSaveChanges) << c.name;
  }
}

TEST(ViewCols, FreshCollectionStartsWithTheStandardColumnsHidden) {
  CProviderViewCols columns;
  EXPECT_EQ(Order(columns), kStandardKeys);
  const std::vector<std::string> captions = {"GUID", "Hidden", "Updates", "Modified", "Created"};
  for (size_t i = 0; i < captions.size(); ++i) {
    const auto column = columns.ColumnByIndex(static_cast<int32_t>(i));
    EXPECT_EQ(column->Caption(), captions[i]);
    EXPECT_FALSE(column->Visible());
  }
  EXPECT_EQ(columns.VisibleCount(), 0);
  // Seeding adds the columns through Add, so a new set is unsaved work.
  EXPECT_TRUE(columns.IsDirty());
}

TEST(ViewCols, LoadedCollectionHoldsExactlyWhatWasStored) {
  EXPECT_EQ(Order(*Loaded({"a", "b"})), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Loaded({})->Count(), 0);
}

TEST(ViewCols, RoundTripKeepsBytesAndContentId) {
  const auto columns = Loaded({"a", "b", "c"});
  columns->Column("b")->SetGhosted(true);
  CProviderViewCols copy;
  copy.Deserialize(columns->Serialize());
  EXPECT_EQ(copy.Serialize(), columns->Serialize());
  EXPECT_EQ(copy.ContentId(), columns->ContentId());
  EXPECT_EQ(KeysOf(columns->Serialize()), (std::vector<std::string>{"Columns"}));
}

TEST(ViewCols, ErrorsAndMessages) {
  const auto columns = Loaded({"a", "b"});
  struct Case {
    const char* name;
    void (*call)(CProviderViewCols&);
    int32_t number;
    const char* description;
  };
  const Case cases[] = {
      {"Add existing", [](CProviderViewCols& c) { c.Add("A"); }, 5, "Column already exists."},
      {"ChangeColumnGuid to existing", [](CProviderViewCols& c) { c.ChangeColumnGuid("a", "B"); },
       5, "Column GUID already exists in collection."},
      {"MoveColumnAfter absent",
       [](CProviderViewCols& c) { c.MoveColumnAfterColumnByGuid("zz", "a"); }, 5,
       "Could not find column to move. GUID: zz"},
      {"Column absent", [](CProviderViewCols& c) { c.Column("zz"); },
       static_cast<int32_t>(0x80040000u), "Column not in collection: zz"},
  };
  for (const Case& c : cases) {
    const Bytes before = columns->Serialize();
    const CError error = ErrorOf([&] { c.call(*columns); });
    EXPECT_EQ(error.Number(), c.number) << c.name;
    EXPECT_EQ(error.Description(), c.description) << c.name;
    EXPECT_EQ(columns->Serialize(), before) << c.name;
  }
}

TEST(ViewCols, MissingMoveColumnIsLogged) {
  test::ScopedLogCapture log;
  const auto columns = Loaded({"a"});
  ErrorOf([&] { columns->MoveColumnAfterColumnByGuid("zz", "a"); });
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0].className, "CProviderViewCols");
  EXPECT_EQ(log.Lines()[0].message, "Missing 'move' column GUID: zz");
}

TEST(ViewCols, ReorderingOperations) {
  struct Case {
    const char* name;
    void (*call)(CProviderViewCols&);
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"AddExistingToFront",
       [](CProviderViewCols& c) {
         auto x = std::make_shared<CProviderViewCol>();
         x->SetGuid("x");
         c.AddExistingToFront(x);
       },
       {"x", "a", "b", "c"}},
      {"MoveBefore",
       [](CProviderViewCols& c) { c.MoveColumnBeforeColumnByGuid("c", "a"); },
       {"c", "a", "b"}},
      {"MoveBefore itself",
       [](CProviderViewCols& c) { c.MoveColumnBeforeColumnByGuid("b", "b"); },
       {"a", "b", "c"}},
      {"MoveAfter",
       [](CProviderViewCols& c) { c.MoveColumnAfterColumnByGuid("a", "b"); },
       {"b", "a", "c"}},
      {"MoveAfter absent target goes to the end",
       [](CProviderViewCols& c) { c.MoveColumnAfterColumnByGuid("a", "zz"); },
       {"b", "c", "a"}},
      {"MoveAfter itself",
       [](CProviderViewCols& c) { c.MoveColumnAfterColumnByGuid("b", "B"); },
       {"a", "b", "c"}},
      {"ChangeColumnGuid keeps the place",
       [](CProviderViewCols& c) { c.ChangeColumnGuid("b", "n"); },
       {"a", "n", "c"}},
      {"UpdateColumnGuidIfExists absent old",
       [](CProviderViewCols& c) { c.UpdateColumnGuidIfExists("zz", "n"); },
       {"a", "b", "c"}},
      {"UpdateColumnGuidIfExists both present",
       [](CProviderViewCols& c) { c.UpdateColumnGuidIfExists("a", "c"); },
       {"b", "c"}},
      {"UpdateColumnGuidIfExists keeps the place",
       [](CProviderViewCols& c) { c.UpdateColumnGuidIfExists("b", "n"); },
       {"a", "n", "c"}},
      {"UpdateColumnGuidIfExists last",
       [](CProviderViewCols& c) { c.UpdateColumnGuidIfExists("c", "n"); },
       {"a", "b", "n"}},
      {"UpdateColumnGuidIfExists case only",
       [](CProviderViewCols& c) { c.UpdateColumnGuidIfExists("b", "B"); },
       {"a", "B", "c"}},
      {"RemoveByIndex", [](CProviderViewCols& c) { c.RemoveByIndex(0); }, {"b", "c"}},
      {"RemoveByGuid", [](CProviderViewCols& c) { c.RemoveByGuid("B"); }, {"a", "c"}},
  };
  for (const Case& c : cases) {
    const auto columns = Loaded({"a", "b", "c"});
    c.call(*columns);
    EXPECT_EQ(Order(*columns), c.order) << c.name;
  }
}

TEST(ViewCols, MoveBeforeAnAbsentColumnLosesNothing) {
  const auto columns = Loaded({"a", "b"});
  EXPECT_EQ(ErrorOf([&] { columns->MoveColumnBeforeColumnByGuid("a", "zz"); }).Number(), 5);
  EXPECT_EQ(Order(*columns), (std::vector<std::string>{"a", "b"}));
}

TEST(ViewCols, ChangedGuidKeepsEverySetting) {
  const auto columns = Loaded({"a", "b"});
  const auto old = columns->Column("b");
  old->SetCaption("Due");
  old->SetAlias("alias");
  old->SetGhosted(true);
  columns->ChangeColumnGuid("b", "n");
  const auto changed = columns->Column("n");
  EXPECT_NE(changed, old);
  EXPECT_EQ(changed->Guid(), "n");
  EXPECT_EQ(changed->Caption(), "Due");
  EXPECT_EQ(changed->Alias(), "alias");
  EXPECT_TRUE(changed->Ghosted());
  EXPECT_EQ(changed->WidthTwips(), 100);
  EXPECT_FALSE(columns->Exists("b"));
}

TEST(ViewCols, DirtyRulesPerOperation) {
  struct Case {
    const char* name;
    void (*call)(CProviderViewCols&);
    bool dirty;
  };
  const Case cases[] = {
      {"Add", [](CProviderViewCols& c) { c.Add("x"); }, true},
      {"AddExisting",
       [](CProviderViewCols& c) {
         auto x = std::make_shared<CProviderViewCol>();
         x->SetGuid("x");
         c.AddExisting(x);
       },
       true},
      {"MoveBefore", [](CProviderViewCols& c) { c.MoveColumnBeforeColumnByGuid("b", "a"); }, true},
      {"MoveAfter", [](CProviderViewCols& c) { c.MoveColumnAfterColumnByGuid("a", "b"); }, true},
      {"RemoveAll", [](CProviderViewCols& c) { c.RemoveAll(); }, true},
      {"RemoveByGuid", [](CProviderViewCols& c) { c.RemoveByGuid("a"); }, false},
      {"RemoveByIndex", [](CProviderViewCols& c) { c.RemoveByIndex(0); }, false},
      {"column resized", [](CProviderViewCols& c) { c.Column("a")->SetWidthTwips(7); }, true},
      {"column aliased", [](CProviderViewCols& c) { c.Column("a")->SetAlias("x"); }, false},
  };
  for (const Case& c : cases) {
    const auto columns = Loaded({"a", "b"});
    columns->SetIsDirty(false);
    c.call(*columns);
    EXPECT_EQ(columns->IsDirty(), c.dirty) << c.name;
  }
}

TEST(ViewCols, RemoveAllOnAnEmptyCollectionLeavesTheFlag) {
  const auto columns = Loaded({});
  columns->SetIsDirty(false);
  columns->RemoveAll();
  EXPECT_FALSE(columns->IsDirty());
}

TEST(ViewCols, SettingTheFlagReachesEveryColumn) {
  const auto columns = Loaded({"a", "b"});
  columns->SetIsDirty(true);
  for (const auto& column : *columns) EXPECT_TRUE(column->IsDirty());
  columns->SetIsDirty(false);
  for (const auto& column : *columns) EXPECT_FALSE(column->IsDirty());
  EXPECT_FALSE(columns->IsDirty());
}

TEST(ViewCols, VisibleCountNeedsAWidth) {
  const auto columns = Loaded({"a", "b", "c"});
  columns->Column("b")->SetWidthTwips(0);
  columns->Column("c")->SetVisible(false);
  EXPECT_EQ(columns->VisibleCount(), 1);
}

TEST(ViewCols, ContentIdentifiers) {
  const auto columns = Loaded({"a", "b"});
  EXPECT_EQ(columns->ContentString(),
            columns->Column("a")->ContentString() + columns->Column("b")->ContentString());

  struct Case {
    const char* name;
    void (*change)(CProviderViewCols&);
    bool autoSaveChanges;
  };
  const Case cases[] = {
      {"resize", [](CProviderViewCols& c) { c.Column("a")->SetWidthTwips(3000); }, false},
      {"hide", [](CProviderViewCols& c) { c.Column("a")->SetVisible(false); }, true},
  };
  for (const Case& c : cases) {
    const auto changed = Loaded({"a", "b"});
    c.change(*changed);
    EXPECT_NE(changed->ContentId(), columns->ContentId()) << c.name;
    EXPECT_EQ(changed->ContentIdForAutoSave() != columns->ContentIdForAutoSave(), c.autoSaveChanges)
        << c.name;
  }
  // A hidden column contributes nothing to the auto-save identifier.
  const auto hidden = Loaded({"a", "b"});
  hidden->Column("b")->SetVisible(false);
  const std::string before = hidden->ContentIdForAutoSave();
  hidden->Column("b")->SetCaption("Renamed");
  EXPECT_EQ(hidden->ContentIdForAutoSave(), before);
  EXPECT_EQ(hidden->ContentIdForAutoSave(), Loaded({"a"})->ContentIdForAutoSave());
}

}  // namespace
}  // namespace prvdrinfo
