#include "prvdrinfo/viewsdb/provider_views_db.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/notify/notifier_enums.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/error_capture.h"
#include "support/host_seams.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

constexpr const char* kProvider = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
constexpr const char* kProviderAsTyped = "{6f9619ff-8b86-d011-b42d-00c04fc964ff}";
constexpr const char* kOtherProvider = "A3F1C2D4-5B6E-4F70-8192-A3B4C5D6E7F8";
constexpr const char* kUser = "0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0";
constexpr const char* kOtherUser = "11111111-2222-3333-4444-555555555555";

class ViewsDb : public ::testing::Test {
 protected:
  void SetUp() override { CVesk::SetDataFolder(folder_.Path()); }
  void TearDown() override { CVesk::SetDataFolder(""); }

  static std::shared_ptr<CProviderView> NewView(const std::string& caption,
                                                const std::string& provider = kProvider) {
    auto view = std::make_shared<CProviderView>();
    view->SetCaption(caption);
    view->SetProviderGuid(provider);
    return view;
  }
  // A user view saved and handed back.
  std::shared_ptr<CProviderView> Saved(const std::string& caption,
                                       const std::string& provider = kProvider) {
    auto view = NewView(caption, provider);
    EXPECT_TRUE(db_.SaveView4(view, false, viewtype_UserDefined));
    return view;
  }
  std::shared_ptr<CProviderView> SavedPrivate(const std::string& caption,
                                              const std::string& owner) {
    auto view = NewView(caption);
    view->SetPrivateToGuid(owner);
    EXPECT_TRUE(db_.SaveView4(view, false, viewtype_UserDefined));
    return view;
  }

  static std::shared_ptr<Connection> File() { return views_db::OpenViewsDatabase(); }
  static std::vector<std::string> Column(const std::string& sql) {
    std::vector<std::string> values;
    for (auto rows = File()->OpenRecordset(sql); !rows->Eof(); rows->MoveNext()) {
      values.push_back(rows->Value(0).IsNull() ? "<null>" : rows->Value(0).ToText());
    }
    return values;
  }
  static std::string One(const std::string& sql) {
    const auto values = Column(sql);
    return values.empty() ? "<none>" : values.front();
  }
  static int64_t Rows() { return std::stoll(One("SELECT COUNT(*) FROM views")); }
  static int32_t CounterOf(const std::string& guid) {
    return std::stoi(One("SELECT updates FROM views WHERE rec_guid='" + guid + "'"));
  }
  // Replaces a stored row's bytes.
  static void StoreBytes(const std::string& guid, const Bytes& bytes) {
    const auto command =
        File()->CreateCommand("UPDATE views SET propertybag_content=? WHERE rec_guid=?");
    command->SetBytes(1, bytes);
    command->SetText(2, guid);
    command->Execute();
  }
  static std::vector<std::string> Guids(const CProviderViews& views) {
    std::vector<std::string> guids;
    for (const auto& view : views) guids.push_back(view->Guid());
    return guids;
  }

  test::TempDir folder_;
  CProviderViewsDb db_;
};

// Runs fn in a child process, as another host process would; true when it succeeded.
bool InAnotherProcess(const std::function<void()>& fn) {
  const pid_t pid = fork();
  if (pid == 0) {
    int status = 0;
    try {
      fn();
    } catch (...) {
      status = 1;
    }
    _exit(status);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ViewsDb, ASavedViewComesBackWithItsRowFields) {
  test::ScopedLogCapture log;
  auto view = NewView("  Open \t items ");
  view->SetProviderGuid(kProviderAsTyped);
  view->SetPrivateToGuid("{0b1c2d3e-4f50-6172-8394-a5b6c7d8e9f0}");
  view->Columns()->Add("{A}")->SetWidthTwips(900);
  view->SortOrder()->Add("{A}");
  view->FilterGroups()->Add()->Add("{A}", "x", logicop_And);
  ASSERT_TRUE(db_.SaveView4(view, false, viewtype_UserDefined));
  const std::string guid = view->Guid();

  EXPECT_EQ(One("SELECT provider_guid FROM views"), kProvider);
  EXPECT_EQ(One("SELECT private_to_guid FROM views"), kUser);
  EXPECT_EQ(One("SELECT caption FROM views"), "Open items");
  EXPECT_EQ(One("SELECT caption_sort FROM views"), TextService::SmartSortKey("Open items"));
  EXPECT_EQ(One("SELECT standard_view || notification_view FROM views"), "00");
  EXPECT_EQ(CounterOf(guid), 10);  // an empty table counts as 0

  const auto back = db_.GetViewByGuid(guid);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Guid(), guid);
  EXPECT_EQ(back->ProviderGuid(), kProvider);
  EXPECT_EQ(back->PrivateToGuid(), kUser);
  EXPECT_EQ(back->UpdateCounter(), 10);
  EXPECT_EQ(back->Caption(), "Open items");
  EXPECT_EQ(back->Columns()->ContentString(), view->Columns()->ContentString());
  EXPECT_EQ(back->SortOrder()->ContentString(), view->SortOrder()->ContentString());
  EXPECT_EQ(back->FilterGroups()->ContentString(), view->FilterGroups()->ContentString());
  EXPECT_FALSE(db_.GetViewByGuid("no such view"));

  const std::vector<std::string> expected = {"Began transaction in SaveView3: True",
                                             "Saving view GUID: " + guid + ", Version: 6",
                                             "Saved view GUID " + guid + ", Version: 6"};
  std::vector<std::string> saveLines;
  for (const auto& line : log.Lines()) {
    if (line.className == "CProviderViewsDb") saveLines.push_back(line.message);
  }
  EXPECT_EQ(saveLines, expected);
}

TEST_F(ViewsDb, GuidArgumentsMatchWhateverTheirLetterCaseOrBraces) {
  const auto view = Saved("Open");
  const auto mine = SavedPrivate("Mine", kUser);
  const std::string lower = TextService::ComparisonForm(view->Guid());

  EXPECT_EQ(Guids(*db_.GetViewsByProviderGuid(kProviderAsTyped)).size(), 2u);
  EXPECT_EQ(Guids(*db_.GetPublicAndPrivateProviderViews(kProviderAsTyped,
                                                        "{0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0}")),
            std::vector<std::string>{mine->Guid()});
  EXPECT_EQ(db_.GetProviderViewUpdateCounter(kProviderAsTyped), 10 + 20);
  ASSERT_TRUE(db_.GetViewByGuid(lower));
  EXPECT_EQ(db_.GetViewByGuid(lower)->Guid(), view->Guid());
  EXPECT_EQ(db_.GetViewUpdateCounter(lower), 10);

  // Overwriting under another spelling keeps one row, spelt as stored.
  auto again = NewView("Open");
  again->SetGuid(lower);
  ASSERT_TRUE(db_.SaveView4(again, true, viewtype_UserDefined));
  EXPECT_EQ(again->Guid(), view->Guid());
  EXPECT_EQ(Rows(), 2);

  // DeleteView alone matches exactly.
  db_.DeleteView(lower);
  EXPECT_EQ(Rows(), 2);
  db_.DeleteView(view->Guid());
  EXPECT_EQ(Rows(), 1);
}

TEST_F(ViewsDb, CountersOverNoRowsAreZeroAndEachSaveTopsTheTableByTen) {
  EXPECT_EQ(db_.GetProviderViewUpdateCounter(kProvider), 0);
  EXPECT_EQ(db_.GetDeleteCounter(), 0);
  EXPECT_EQ(db_.GetViewUpdateCounter("none"), 0);

  const auto a = Saved("A");
  const auto b = Saved("B", kOtherProvider);
  ASSERT_TRUE(db_.SaveView4(a, true, viewtype_UserDefined));
  EXPECT_EQ(db_.GetViewUpdateCounter(a->Guid()), 30);
  EXPECT_EQ(db_.GetViewUpdateCounter(b->Guid()), 20);
  EXPECT_EQ(db_.GetProviderViewUpdateCounter(kProvider), 30);
  EXPECT_EQ(db_.GetProviderViewUpdateCounter(kOtherProvider), 20);

  // The maximum is table-wide: a row raised by hand lifts the next save above it.
  File()->Execute("UPDATE views SET updates=1000 WHERE rec_guid='" + b->Guid() + "'");
  ASSERT_TRUE(db_.SaveView4(a, true, viewtype_UserDefined));
  EXPECT_EQ(db_.GetViewUpdateCounter(a->Guid()), 1010);

  File()->Execute("UPDATE views SET updates=2147483640 WHERE rec_guid='" + b->Guid() + "'");
  const CError e = ErrorOf([&] { db_.SaveView4(a, true, viewtype_UserDefined); });
  EXPECT_EQ(e.Number(), saveviewerr_Unknown);
  EXPECT_EQ(db_.GetViewUpdateCounter(a->Guid()), 1010);
}

TEST_F(ViewsDb, TemporaryAndAllColumnsViewsAreNeverStored) {
  auto temporary = NewView("Scratch");
  temporary->SetTemporary(true);
  auto all = NewView("All");
  all->SetAllColumnsView(true);
  EXPECT_TRUE(db_.SaveView4(temporary, false, viewtype_UserDefined));
  EXPECT_TRUE(db_.SaveView4(all, false, viewtype_CorvaneStandard));
  EXPECT_TRUE(db_.SaveView3(all, true, false));
  EXPECT_EQ(Rows(), 0);
}

TEST_F(ViewsDb, TheViewTypeSetsTheStandardAndPrivacyFlags) {
  struct Case {
    const char* name;
    std::function<void(CProviderView&)> prepare;
    e_ViewType type;
    bool standard;
    const char* privateTo;
    bool newGuid;
  };
  const std::vector<Case> cases = {
      {"standard", [](CProviderView& v) { v.SetPrivateToGuid(kUser); }, viewtype_CorvaneStandard,
       true, "", false},
      {"notification keeps privacy",
       [](CProviderView& v) {
         v.SetStandardView(true);
         v.SetPrivateToGuid(kUser);
       },
       viewtype_Notification, false, kUser, false},
      {"user view of a standard one is a copy", [](CProviderView& v) { v.SetStandardView(true); },
       viewtype_UserDefined, false, "", true},
      {"private standard view saved as the user's",
       [](CProviderView& v) {
         v.SetStandardView(true);
         v.SetPrivateToGuid(kUser);
       },
       viewtype_UserDefined, false, kUser, false},
      {"notification view saved as user-defined loses its notifiers",
       [](CProviderView& v) {
         v.SetPrivateToGuid(kUser);
         v.Notifiers()->Add(viewschedid_WeeklyMonday);
       },
       viewtype_UserDefined, false, "", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto view = NewView("View " + std::to_string(++n));
    c.prepare(*view);
    const std::string guid = view->Guid();
    ASSERT_TRUE(db_.SaveView4(view, false, c.type));
    EXPECT_EQ(view->Guid() != guid, c.newGuid);
    EXPECT_EQ(view->StandardView(), c.standard);
    EXPECT_EQ(view->PrivateToGuid(), c.privateTo);
    EXPECT_EQ(One("SELECT standard_view FROM views WHERE rec_guid='" + view->Guid() + "'"),
              c.standard ? "1" : "0");
    EXPECT_EQ(One("SELECT notification_view FROM views WHERE rec_guid='" + view->Guid() + "'"),
              view->NotificationView() ? "1" : "0");
    EXPECT_FALSE(c.type == viewtype_UserDefined && view->NotificationView());
  }
  const CError e =
      ErrorOf([&] { db_.SaveView4(NewView("Other"), false, static_cast<e_ViewType>(7)); });
  EXPECT_EQ(e.Number(), 5);
  EXPECT_EQ(e.Description(), "Unknown view type: 7");
  EXPECT_EQ(ErrorOf([&] {
              db_.SaveView4(NewView("Other", ""), false, viewtype_UserDefined);
            }).Description(),
            "View must have an associated provider GUID.");
  EXPECT_EQ(ErrorOf([&] { db_.SaveViewX(kProvider, "", NewView("x"), true); }).Description(),
            "Deprecated, use SaveView");
  EXPECT_EQ(db_.SaveViewAs(NewView("x")), "");
}

TEST_F(ViewsDb, AStandardViewStaysWhenTheUserSavesItAsTheirOwn) {
  auto standard = NewView("Standard");
  ASSERT_TRUE(db_.SaveView3(standard, false, true));
  const std::string standardGuid = standard->Guid();
  const std::string standardBytes = One("SELECT hex(propertybag_content) FROM views");

  // Saved as user-defined under its own GUID: a copy under a new one.
  auto copy = db_.GetViewByGuid(standardGuid);
  copy->SetCaption("Mine");
  ASSERT_TRUE(db_.SaveView4(copy, false, viewtype_UserDefined));
  EXPECT_NE(copy->Guid(), standardGuid);
  EXPECT_FALSE(copy->StandardView());

  // A user view that arrives under the standard view's GUID is stored as a new one too.
  auto intruder = NewView("Intruder");
  intruder->SetGuid(standardGuid);
  ASSERT_TRUE(db_.SaveView4(intruder, false, viewtype_Notification));
  EXPECT_NE(intruder->Guid(), standardGuid);

  // Under the standard view's caption the file has no room for both: refused, whatever
  // the overwrite flag, rather than silently replacing the standard view.
  for (const bool overwrite : {false, true}) {
    auto sameCaption = db_.GetViewByGuid(standardGuid);
    const CError e = ErrorOf([&] { db_.SaveView4(sameCaption, overwrite, viewtype_UserDefined); });
    EXPECT_EQ(e.Number(), saveviewerr_DuplicateCaption);
    EXPECT_EQ(e.Description(),
              "View caption in use, you must choose a different caption for this view.");
  }
  EXPECT_EQ(Rows(), 3);
  EXPECT_EQ(One("SELECT hex(propertybag_content) FROM views WHERE rec_guid='" + standardGuid + "'"),
            standardBytes);
  EXPECT_EQ(One("SELECT standard_view FROM views WHERE rec_guid='" + standardGuid + "'"), "1");
}

TEST_F(ViewsDb, ExistingGuidsAndCaptionsAreReplacedOnlyWhenAsked) {
  const auto open = Saved("Open items");
  const auto closed = Saved("Closed items");

  const CError guidTaken = ErrorOf([&] { db_.SaveView4(open, false, viewtype_UserDefined); });
  EXPECT_EQ(guidTaken.Number(), saveviewerr_DuplicateGuid);
  EXPECT_EQ(guidTaken.Description(),
            "View already exists, must explicitly declare that you want it to be replaced.");

  auto rival = NewView("OPEN  ITEMS");
  const CError captionTaken = ErrorOf([&] { db_.SaveView4(rival, false, viewtype_UserDefined); });
  EXPECT_EQ(captionTaken.Number(), saveviewerr_DuplicateCaption);
  EXPECT_EQ(
      captionTaken.Description(),
      "View caption already exists. Rename it or re-call this function with the overwrite flag set.");
  EXPECT_EQ(Rows(), 2);

  // With overwrite the rival takes over the row of that caption.
  rival->Columns()->Add("{NEW}");
  ASSERT_TRUE(db_.SaveView4(rival, true, viewtype_UserDefined));
  EXPECT_EQ(rival->Guid(), open->Guid());
  EXPECT_EQ(Rows(), 2);
  EXPECT_TRUE(db_.GetViewByGuid(open->Guid())->Columns()->Exists("{NEW}"));
  EXPECT_EQ(db_.GetViewByGuid(open->Guid())->Caption(), "OPEN ITEMS");
  EXPECT_EQ(db_.GetViewUpdateCounter(open->Guid()), 30);

  // The same caption is free for another provider, another owner and a standard view.
  EXPECT_TRUE(db_.SaveView4(NewView("Closed items", kOtherProvider), false, viewtype_UserDefined));
  const auto privateView = SavedPrivate("Closed items", kUser);
  EXPECT_EQ(Rows(), 4);
}

TEST_F(ViewsDb, AFailedWriteRollsBackAndSaysWhatTheDatabaseSaid) {
  const auto view = Saved("Open");
  const std::string before = One("SELECT hex(propertybag_content) || updates FROM views");
  File()->Execute(
      "CREATE TRIGGER refuse BEFORE INSERT ON views BEGIN SELECT RAISE(ABORT, 'no writes today'); END");
  view->Columns()->Add("{X}");
  const CError e = ErrorOf([&] { db_.SaveView4(view, true, viewtype_UserDefined); });
  EXPECT_EQ(e.Number(), saveviewerr_Unknown);
  EXPECT_EQ(
      e.Description(),
      "An unknown error occurred when trying to save the view: \r\n-2147467259 no writes today");
  EXPECT_NE(e.Context().find("Database result: no writes today"), std::string::npos);
  EXPECT_EQ(ErrorOf([&] { db_.SaveView(kProvider, NewView("Other"), false); }).Number(),
            saveviewerr_Unknown);

  File()->Execute("DROP TRIGGER refuse");
  EXPECT_EQ(One("SELECT hex(propertybag_content) || updates FROM views"), before);
  EXPECT_TRUE(db_.SaveView4(view, true, viewtype_UserDefined));  // nothing was left open
}

TEST_F(ViewsDb, AFileThatCannotBeOpenedIsReportedByEachCallersNumber) {
  std::filesystem::create_directories(
      views_db::ViewsDatabasePath());  // a folder where the file belongs
  struct Case {
    const char* name;
    std::function<void()> call;
    int32_t number;
  };
  const std::vector<Case> cases = {
      {"GetViewByGuid", [&] { db_.GetViewByGuid("x"); }, _saveviewerr_Base},
      {"GetViewsByProviderGuid", [&] { db_.GetViewsByProviderGuid(kProvider); }, _saveviewerr_Base},
      {"GetFiltersByProviderGuid", [&] { db_.GetFiltersByProviderGuid(kProvider); },
       _saveviewerr_Base},
      {"GetPublicAndPrivateProviderViews",
       [&] { db_.GetPublicAndPrivateProviderViews(kProvider, ""); }, _saveviewerr_Base},
      {"DeleteView", [&] { db_.DeleteView("x"); }, saveviewerr_NoDatabase},
      {"SaveView", [&] { db_.SaveView(kProvider, NewView("x"), false); }, saveviewerr_NoDatabase},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CError e = ErrorOf(c.call);
    EXPECT_EQ(e.Number(), c.number);
    EXPECT_EQ(e.Description(),
              "Could not get views database. Could not create or open views database.");
  }
  // The others pass the open's own error on.
  EXPECT_EQ(ErrorOf([&] { db_.SaveView4(NewView("x"), false, viewtype_UserDefined); }).Number(),
            _saveviewerr_Base);
}

TEST_F(ViewsDb, RefreshSinceCountersListsChangesAndDeletionsOnce) {
  const auto a = Saved("A");
  const auto b = Saved("B");
  Saved("Elsewhere", kOtherProvider);
  const auto all = Saved("All columns");
  auto allBytes = db_.GetViewByGuid(all->Guid());
  allBytes->SetAllColumnsView(true);
  StoreBytes(all->Guid(), allBytes->Serialize());

  int32_t deleteCounter = 0;
  std::shared_ptr<KeyedCollection> updated;
  std::shared_ptr<KeyedCollection> deleted;
  db_.ViewsByProviderGuidSinceCounters(kProviderAsTyped, 0, deleteCounter, updated, deleted);
  ASSERT_TRUE(updated && deleted);
  EXPECT_EQ(updated->Count(), 2);  // the all-columns row is deleted, never listed
  EXPECT_TRUE(updated->Exists(a->Guid()) && updated->Exists(b->Guid()));
  EXPECT_EQ(updated->Item(b->Guid()).ToObject<CProviderView>()->UpdateCounter(), 20);
  EXPECT_EQ(updated->Item(b->Guid()).ToObject<CProviderView>()->ProviderGuid(), kProviderAsTyped);
  EXPECT_EQ(One("SELECT COUNT(*) FROM views WHERE rec_guid='" + all->Guid() + "'"), "0");
  ASSERT_EQ(deleted->Count(), 1);
  EXPECT_EQ(deleted->Item(all->Guid()).ToText(), all->Guid());
  const int32_t firstDeletion = deleteCounter;
  EXPECT_GT(firstDeletion, 0);
  EXPECT_EQ(db_.GetDeleteCounter(), firstDeletion);

  // Only later changes; a deleted GUID that was stored again is no deletion.
  db_.DeleteView(a->Guid());
  db_.DeleteView(b->Guid());
  ASSERT_TRUE(db_.SaveView4(b, false, viewtype_UserDefined));
  auto keptUpdated = std::make_shared<KeyedCollection>();
  auto keptDeleted = std::make_shared<KeyedCollection>();
  db_.ViewsByProviderGuidSinceCounters(kProvider, 30, deleteCounter, keptUpdated, keptDeleted);
  EXPECT_EQ(keptUpdated->Count(), 1);
  EXPECT_TRUE(keptUpdated->Exists(b->Guid()));
  ASSERT_EQ(keptDeleted->Count(), 1);
  EXPECT_TRUE(keptDeleted->Exists(a->Guid()));
  EXPECT_GT(deleteCounter, firstDeletion);

  // Nothing new: the counter stays and nothing is listed.
  const int32_t settled = deleteCounter;
  std::shared_ptr<KeyedCollection> none;
  std::shared_ptr<KeyedCollection> noneDeleted;
  db_.ViewsByProviderGuidSinceCounters(kProvider, 1000, deleteCounter, none, noneDeleted);
  EXPECT_EQ(deleteCounter, settled);
  EXPECT_EQ(none->Count() + noneDeleted->Count(), 0);
}

TEST_F(ViewsDb, ProviderListingsComeInSmartCaptionOrder) {
  test::ScopedLogCapture log;
  for (const char* caption : {"View 10", "view 2", "Alpha", "View 1"}) Saved(caption);
  Saved("Beta", kOtherProvider);
  const auto broken = Saved("Broken");
  StoreBytes(broken->Guid(), Bytes{0xFF, 0x00});
  db_.DeleteView(Saved("Gone")->Guid());

  const auto views = db_.GetViewsByProviderGuid(kProviderAsTyped);
  std::vector<std::string> captions;
  for (const auto& view : *views) captions.push_back(view->Caption());
  // The unreadable row is listed as a fresh view under its GUID, in its caption's place.
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Alpha", "New View", "View 1", "view 2", "View 10"}));
  EXPECT_TRUE(views->Exists(broken->Guid()));
  EXPECT_EQ(views->View(broken->Guid())->ProviderGuid(), kProviderAsTyped);
  EXPECT_TRUE(log.Contains("Could not deserialize view GUID: " + broken->Guid() + ". Error: "));
  EXPECT_EQ(views->DeleteCounter(), db_.GetDeleteCounter());
  EXPECT_GT(views->DeleteCounter(), 0);
  EXPECT_EQ(db_.GetViewsByProviderGuid("not a provider")->Count(), 0);
}

TEST_F(ViewsDb, PrivateViewsAreListedChangedAndDeletedByOwner) {
  const auto mine = SavedPrivate("Mine", kUser);
  const auto theirs = SavedPrivate("Theirs", kOtherUser);
  const auto clash = SavedPrivate("Public", kOtherUser);
  Saved("Public");
  const auto privacy = [&](const std::shared_ptr<CProviderView>& view) {
    return One("SELECT private_to_guid FROM views WHERE rec_guid='" + view->Guid() + "'");
  };

  EXPECT_EQ(Guids(*db_.GetPublicAndPrivateProviderViews(kProvider, kUser)),
            std::vector<std::string>{mine->Guid()});
  EXPECT_EQ(db_.GetPublicAndPrivateProviderViews(kProvider, "")->Count(), 1);

  // Ownership moves, but not onto a caption the new owner already holds.
  db_.ChangeAllViewsPrivateToGuid("{11111111-2222-3333-4444-555555555555}",
                                  "{" + std::string(kUser) + "}");
  EXPECT_EQ(privacy(theirs), kUser);
  EXPECT_EQ(privacy(clash), kUser);
  db_.ChangeAllViewsPrivateToGuid(kUser, kOtherUser);
  EXPECT_EQ(privacy(mine), kOtherUser);

  // A blank owner changes nothing; a clash with a public caption fails as a whole.
  db_.DeprivatizeViewsByProviderGuid(kProvider, " ");
  db_.DeletePrivateViewsByProviderGuid(kProvider, "");
  EXPECT_EQ(Rows(), 4);
  EXPECT_NE(ErrorOf([&] { db_.DeprivatizeViewsByProviderGuid(kProvider, kOtherUser); }).Number(),
            0);
  EXPECT_EQ(privacy(mine), kOtherUser);
  db_.DeleteView(clash->Guid());
  db_.DeprivatizeViewsByProviderGuid(kProviderAsTyped, kOtherUser);
  EXPECT_EQ(privacy(mine), "");
  EXPECT_EQ(privacy(theirs), "");

  const auto last = SavedPrivate("Last", kUser);
  db_.DeletePrivateViewsByProviderGuid(kOtherProvider, kUser);
  EXPECT_EQ(Rows(), 4);
  db_.DeletePrivateViewsByProviderGuid(kProviderAsTyped, "{0b1c2d3e-4f50-6172-8394-a5b6c7d8e9f0}");
  EXPECT_EQ(Rows(), 3);
}

TEST_F(ViewsDb, ChangeViewGuidRenamesTheRowForEveryProcess) {
  EXPECT_EQ(ErrorOf([&] { db_.ChangeViewGuid("a", " "); }).Description(),
            "New GUID required for ChangeViewGUID");
  EXPECT_EQ(ErrorOf([&] { db_.ChangeViewGuid("", ""); }).Description(),
            "New GUID required for ChangeViewGUID");
  EXPECT_EQ(ErrorOf([&] { db_.ChangeViewGuid("", "b"); }).Description(),
            "Old GUID required for ChangeViewGUID");
  EXPECT_FALSE(std::filesystem::exists(
      views_db::ViewsDatabasePath()));  // refused before any database access

  const auto view = Saved("Open");
  const std::string oldGuid = view->Guid();
  CProviderViews elsewhere;  // another process's collection
  ASSERT_TRUE(elsewhere.RefreshByProviderGuid(kProvider));

  db_.ChangeViewGuid(oldGuid, oldGuid);  // the same GUID keeps its row
  EXPECT_EQ(Rows(), 1);
  db_.ChangeViewGuid(TextService::ComparisonForm(oldGuid), "NEW-GUID");
  EXPECT_EQ(Column("SELECT rec_guid FROM views"), std::vector<std::string>{"NEW-GUID"});
  EXPECT_EQ(db_.GetViewByGuid("NEW-GUID")->Caption(), "Open");

  EXPECT_TRUE(elsewhere.RefreshByProviderGuid(kProvider));
  EXPECT_EQ(Guids(elsewhere), std::vector<std::string>{"NEW-GUID"});
  // A clash with an existing GUID fails and changes nothing.
  const auto other = Saved("Other");
  EXPECT_NE(ErrorOf([&] { db_.ChangeViewGuid(other->Guid(), "NEW-GUID"); }).Number(), 0);
  EXPECT_EQ(Rows(), 2);
}

TEST_F(ViewsDb, StandardViewsAreKnownByTheirStoredBytes) {
  auto standard = NewView("Standard");
  ASSERT_TRUE(db_.SaveView3(standard, false, true));
  const auto user = Saved("User");
  const auto flaggedOnly = Saved("Flagged only");
  const auto unreadable = Saved("Unreadable");
  File()->Execute("UPDATE views SET standard_view=1 WHERE rec_guid='" + flaggedOnly->Guid() + "'");
  File()->Execute("UPDATE views SET standard_view=0 WHERE rec_guid='" + standard->Guid() + "'");
  StoreBytes(unreadable->Guid(), Bytes{1, 2, 3});

  db_.DeleteAllStandardViews();
  EXPECT_EQ(Rows(), 3);
  EXPECT_FALSE(db_.GetViewByGuid(standard->Guid()));
  db_.DeleteAllStandardViews();  // none left: nothing happens
  EXPECT_EQ(Rows(), 3);
}

TEST_F(ViewsDb, CleaningTheDeletionLogKeepsLaterCountersRising) {
  db_.DeleteView(Saved("A")->Guid());
  db_.DeleteView(Saved("B")->Guid());
  const int32_t before = db_.GetDeleteCounter();
  EXPECT_GT(before, 0);
  File()->Execute(
      "INSERT INTO \"CX1IVUUEQIHUW8W2DIJVS3B9O\" (rec_guid, table_name) VALUES ('F', 'providers_filters')");
  db_.CleanDeletedViewsTable();
  EXPECT_EQ(db_.GetDeleteCounter(), 0);
  EXPECT_EQ(One("SELECT COUNT(*) FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\""),
            "1");  // other tables' rows stay
  db_.DeleteView(Saved("C")->Guid());
  EXPECT_GT(db_.GetDeleteCounter(), before);
}

TEST_F(ViewsDb, ChangesByProviderAndComputerMapGuidsToViewsOrNothing) {
  const auto older = Saved("Older");
  const auto publicView = Saved("Public");
  const auto mine = SavedPrivate("Mine", kUser);
  const auto theirs = SavedPrivate("Theirs", kOtherUser);
  const auto gone = Saved("Gone");
  db_.DeleteView(gone->Guid());
  const int32_t goneAt = db_.GetDeleteCounter();
  const auto back = Saved("Back");
  db_.DeleteView(back->Guid());
  ASSERT_TRUE(db_.SaveView4(back, false, viewtype_UserDefined));

  const auto changes =
      db_.GetViewsByProviderAndComputerSinceCounters(kProviderAsTyped, kUser, 10, goneAt);
  std::vector<std::string> keys;
  for (auto it = changes->begin(); it != changes->end(); ++it) keys.push_back(it.Key());
  EXPECT_EQ(keys, (std::vector<std::string>{publicView->Guid(), mine->Guid(), back->Guid(),
                                            gone->Guid()}));
  EXPECT_EQ(changes->Item(mine->Guid()).ToObject<CProviderView>()->Caption(), "Mine");
  EXPECT_FALSE(changes->Item(gone->Guid()).ToObject<CProviderView>());
  // A deletion counts from its own counter on (">="), but not after it.
  EXPECT_FALSE(db_.GetViewsByProviderAndComputerSinceCounters(kProvider, "", 1000, goneAt + 1)
                   ->Exists(gone->Guid()));
  EXPECT_FALSE(changes->Exists(older->Guid()));
}

TEST_F(ViewsDb, NotificationViewsArePublicUserViewsAndOthersLoseTheRole) {
  test::ScopedLogCapture log;
  const auto withNotifier = [&](const std::string& caption, const std::string& privateTo,
                                e_ViewType type) {
    auto view = NewView(caption);
    view->SetPrivateToGuid(privateTo);
    view->Notifiers()->Add(viewschedid_WeeklyMonday);
    EXPECT_TRUE(db_.SaveView4(view, false, type));
    return view;
  };
  const auto deliver = withNotifier("Deliver", "", viewtype_Notification);
  const auto privateOne = withNotifier("Private", kUser, viewtype_Notification);
  const auto standard = withNotifier("Standard", "", viewtype_CorvaneStandard);
  Saved("Quiet");
  // A flagged row that cannot be read is neither listed nor written over.
  const auto unreadable = withNotifier("Unreadable", kUser, viewtype_Notification);
  StoreBytes(unreadable->Guid(), Bytes{0xFF});

  const auto views = db_.GetNotificationViews();
  EXPECT_EQ(Guids(*views), std::vector<std::string>{deliver->Guid()});
  EXPECT_EQ(
      One("SELECT hex(propertybag_content) FROM views WHERE rec_guid='" + unreadable->Guid() + "'"),
      "FF");
  EXPECT_TRUE(log.Contains("Notification view count is 4."));
  EXPECT_TRUE(log.Contains("Deserializing view GUID: " + privateOne->Guid()));
  EXPECT_TRUE(log.Contains("Notification views collection count: 1"));
  EXPECT_EQ(Column("SELECT rec_guid FROM views WHERE notification_view ORDER BY caption"),
            (std::vector<std::string>{deliver->Guid(), unreadable->Guid()}));
  EXPECT_EQ(db_.GetViewByGuid(privateOne->Guid())->Notifiers()->Count(), 0);
  EXPECT_EQ(db_.GetViewByGuid(standard->Guid())->Notifiers()->Count(), 0);
  EXPECT_TRUE(db_.GetViewByGuid(standard->Guid())->StandardView());
  EXPECT_EQ(db_.GetNotificationViews()->Count(), 1);
  EXPECT_TRUE(log.Contains("Could not deserialize view GUID: " + unreadable->Guid()));
}

TEST_F(ViewsDb, SavedFiltersComeBackFromTheirRows) {
  test::ScopedLogCapture log;
  views_db::OpenViewsDatabase();
  const auto store = [&](const std::string& guid, const std::string& provider,
                         const std::string& caption, const Bytes& bytes) {
    const auto command = File()->CreateCommand(
        "INSERT INTO providers_filters (rec_guid, provider_guid, caption, propertybag_content) VALUES (?, ?, ?, ?)");
    command->SetText(1, guid);
    command->SetText(2, provider);
    command->SetText(3, caption);
    command->SetBytes(4, bytes);
    command->Execute();
  };
  CProviderViewFilter open;
  open.SetCaption("Open");
  open.SetGuid("F-OPEN");
  open.Groups()->Add()->Add("{A}", "x", logicop_And);
  CProviderViewFilter unnamed;
  unnamed.SetCaption("Unnamed");
  store("ROW-1", kProvider, "Open", open.Serialize());
  store("ROW-2", kProvider, "Bad", Bytes{0xFF});
  store("ROW-3", kProvider, "Open again", open.Serialize());  // its caption repeats
  store("ROW-4", kProvider, "Unnamed", unnamed.Serialize());
  store("ROW-5", kOtherProvider, "Elsewhere", open.Serialize());

  const auto filters = db_.GetFiltersByProviderGuid(kProviderAsTyped);
  ASSERT_EQ(filters->Count(), 2);
  EXPECT_EQ(filters->FilterByCaption("open")->Guid(), "F-OPEN");
  EXPECT_EQ(filters->FilterByCaption("Open")->ContentString(), open.ContentString());
  EXPECT_EQ(filters->FilterByCaption("Unnamed")->Guid(), "ROW-4");
  EXPECT_TRUE(log.Contains("Could not read filter GUID: ROW-2. Error: "));
  EXPECT_TRUE(log.Contains("Could not read filter GUID: ROW-3. Error: "));
  EXPECT_EQ(db_.GetFiltersByProviderGuid("none")->Count(), 0);
}

TEST_F(ViewsDb, TheOlderSaveGivesTheRowANewCounterThatOtherProcessesSee) {
  auto standard = NewView("Standard");
  standard->SetStandardView(true);
  EXPECT_FALSE(db_.SaveView(kProvider, standard, false));
  EXPECT_EQ(Rows(), 0);

  const auto view = NewView("View 2");
  ASSERT_TRUE(db_.SaveView(kProviderAsTyped, view, false));
  EXPECT_EQ(CounterOf(view->Guid()), 10);
  EXPECT_EQ(One("SELECT provider_guid || '|' || caption_sort FROM views"),
            std::string(kProvider) + "|" + TextService::SmartSortKey("View 2"));

  CProviderViews here;
  ASSERT_TRUE(here.RefreshByProviderGuid(kProvider));
  const std::string guid = view->Guid();
  ASSERT_TRUE(InAnotherProcess([&] {
    auto changed = CProviderViewsDb().GetViewByGuid(guid);
    changed->Columns()->Add("{FROM-CHILD}");
    if (!CProviderViewsDb().SaveView(kProvider, changed, true)) throw 1;
  }));
  EXPECT_EQ(CounterOf(guid), 20);
  EXPECT_TRUE(
      here.RefreshByProviderGuid(kProvider));  // neither the change nor the re-insert is lost
  ASSERT_EQ(here.Count(), 1);
  EXPECT_TRUE(here.View(guid)->Columns()->Exists("{FROM-CHILD}"));

  const CError guidTaken = ErrorOf([&] { db_.SaveView(kProvider, view, false); });
  EXPECT_EQ(guidTaken.Number(), saveviewerr_DuplicateGuid);
  auto rival = NewView("VIEW 02");  // the same smart-sort key
  const CError captionTaken = ErrorOf([&] { db_.SaveView(kProvider, rival, false); });
  EXPECT_EQ(captionTaken.Number(), saveviewerr_DuplicateCaption);
  EXPECT_EQ(captionTaken.Description(),
            "View caption in use, you must choose a different caption for this view.");

  // Overwriting a public view of that caption rewrites it in place, with a new counter.
  ASSERT_TRUE(db_.SaveView(kProvider, rival, true));
  EXPECT_EQ(rival->Guid(), guid);
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(One("SELECT caption FROM views"), "VIEW 02");
  EXPECT_EQ(CounterOf(guid), 30);
  EXPECT_TRUE(here.RefreshByProviderGuid(kProvider));
  EXPECT_EQ(here.View(guid)->Caption(), "VIEW 02");

  // A private view of the same caption replaces the owner's row of that caption.
  auto mine = NewView("Mine");
  mine->SetPrivateToGuid(kUser);
  ASSERT_TRUE(db_.SaveView(kProvider, mine, false));
  auto mineAgain = NewView("MINE");
  mineAgain->SetPrivateToGuid(kUser);
  ASSERT_TRUE(db_.SaveView(kProvider, mineAgain, true));
  EXPECT_EQ(mineAgain->Guid(), mine->Guid());
  EXPECT_EQ(Rows(), 2);
}

// The collection's refresh, on a real file.
class ViewsRefresh : public ViewsDb {
 protected:
  struct Sink : CProviderViewsEvents {
    std::vector<std::string> fixed;
    std::vector<std::string> ignore;
    void FixView(std::shared_ptr<CProviderView>& po_View) override {
      fixed.push_back(po_View->Guid());
    }
    void RequestAllColumnsView(std::shared_ptr<CProviderView>&) override {}
    void IgnoreView(const std::string& p_ViewGuid, bool& p_Ignore) override {
      for (const auto& guid : ignore) p_Ignore = p_Ignore || guid == p_ViewGuid;
    }
  };
};

TEST_F(ViewsRefresh, TakesInStoredViewsOnceAndKeepsNewerOnesInMemory) {
  const auto a = Saved("A");
  const auto b = Saved("B");
  const auto c = Saved("C");
  CProviderViews views;
  auto sink = std::make_shared<Sink>();
  sink->ignore = {c->Guid()};
  views.Advise(sink);
  EXPECT_TRUE(views.RefreshByProviderGuid(kProviderAsTyped));
  EXPECT_EQ(Guids(views), (std::vector<std::string>{a->Guid(), b->Guid()}));
  EXPECT_EQ(sink->fixed, Guids(views));
  EXPECT_FALSE(views.RefreshByProviderGuid(kProvider));  // same counters: nothing changes

  // A newer stored copy replaces the view and goes to the end; one as new or newer in
  // memory stays, unsaved changes and all; views only in memory stay.
  ASSERT_TRUE(db_.SaveView4(a, true, viewtype_UserDefined));
  views.View(b->Guid())->SetUpdateCounter(500);
  views.View(b->Guid())->Columns()->Add("{UNSAVED}");
  views.Add("", "Only here");
  const auto oldA = views.View(a->Guid());
  sink->fixed.clear();
  EXPECT_TRUE(views.RefreshByProviderGuid(kProvider));
  EXPECT_EQ(sink->fixed, std::vector<std::string>{a->Guid()});
  EXPECT_NE(views.View(a->Guid()), oldA);
  EXPECT_EQ(views.ViewByIndex(2)->Guid(), a->Guid());
  EXPECT_EQ(views.View(a->Guid())->UpdateCounter(), 40);
  EXPECT_TRUE(views.View(b->Guid())->Columns()->Exists("{UNSAVED}"));
  EXPECT_EQ(views.Count(), 3);
}

TEST_F(ViewsRefresh, DeletionsRemoveViewsButTheAllColumnsViewAndRaiseTheDeleteCounter) {
  const auto a = Saved("A");
  const auto b = Saved("B");
  const auto all = Saved("All");
  CProviderViews views;
  ASSERT_TRUE(views.RefreshByProviderGuid(kProvider));
  views.View(all->Guid())->SetAllColumnsView(true);

  // The all-columns view alone: it stays, yet the refresh reports a change.
  db_.DeleteView(all->Guid());
  EXPECT_TRUE(views.RefreshByProviderGuid(kProvider));
  EXPECT_EQ(Guids(views), (std::vector<std::string>{a->Guid(), b->Guid(), all->Guid()}));

  db_.DeleteView(a->Guid());
  EXPECT_TRUE(views.RefreshByProviderGuid(kProvider));
  EXPECT_EQ(Guids(views), (std::vector<std::string>{b->Guid(), all->Guid()}));
  EXPECT_EQ(views.DeleteCounter(), db_.GetDeleteCounter());
  EXPECT_EQ(views.AllColumnsView()->Guid(), all->Guid());

  // The raised counter is kept, also through the stored bytes: old deletions are not
  // taken in again, so the all-columns view no longer reports a change.
  CProviderViews restored;
  restored.Deserialize(views.Serialize());
  EXPECT_FALSE(restored.RefreshByProviderGuid(kProvider));
  EXPECT_FALSE(views.RefreshByProviderGuid(kProvider));
}

TEST_F(ViewsRefresh, AFailingSinkLeavesTheDeleteCounterForTheNextRefresh) {
  const auto a = Saved("A");
  const auto b = Saved("B");
  CProviderViews views;
  ASSERT_TRUE(views.RefreshByProviderGuid(kProvider));
  db_.DeleteView(a->Guid());
  ASSERT_TRUE(db_.SaveView4(b, true, viewtype_UserDefined));

  struct Failing : Sink {
    void FixView(std::shared_ptr<CProviderView>&) override {
      throw CError(5, "host", "cannot fix");
    }
  };
  const int32_t cookie = views.Advise(std::make_shared<Failing>());
  EXPECT_EQ(ErrorOf([&] { views.RefreshByProviderGuid(kProvider); }).Description(), "cannot fix");
  EXPECT_EQ(views.DeleteCounter(), 0);
  EXPECT_FALSE(views.Exists(b->Guid()));  // removed as replaced, not yet added back
  views.Unadvise(cookie);
  EXPECT_TRUE(views.RefreshByProviderGuid(kProvider));
  EXPECT_EQ(Guids(views), std::vector<std::string>{b->Guid()});
  EXPECT_GT(views.DeleteCounter(), 0);
}

}  // namespace
}  // namespace prvdrinfo
