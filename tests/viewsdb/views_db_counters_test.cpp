// Update counters that never go back, and save decisions taken under the write lock.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/viewsdb/provider_views.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"
#include "viewsdb/provider_views_db_internal.h"
#include "viewsdb/views_db_internal.h"
#include "viewsdb/views_db_schema.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

constexpr const char* kProvider = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
constexpr const char* kUser = "0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0";

std::shared_ptr<CProviderView> NewView(const std::string& caption) {
  auto view = std::make_shared<CProviderView>();
  view->SetCaption(caption);
  view->SetProviderGuid(kProvider);
  return view;
}

std::string One(const std::string& sql) {
  const auto rows = views_db::OpenViewsDatabase()->OpenRecordset(sql);
  return rows->Eof() || rows->Value(0).IsNull() ? "<none>" : rows->Value(0).ToText();
}

// A fresh data folder as a process that just started finds it.
class Fresh {
 public:
  Fresh() {
    CVesk::SetDataFolder(folder_.Path());
    views_db::internal::ResetProcessState();
  }
  ~Fresh() {
    views_db::internal::ResetProcessState();
    CVesk::SetDataFolder("");
  }
  Fresh(const Fresh&) = delete;
  Fresh& operator=(const Fresh&) = delete;

 private:
  test::TempDir folder_;
};

std::shared_ptr<CProviderView> Saved(const std::string& caption,
                                     e_ViewType type = viewtype_UserDefined) {
  auto view = NewView(caption);
  EXPECT_TRUE(CProviderViewsDb().SaveView4(view, false, type));
  return view;
}

TEST(ViewsUpdateCounters, AViewDeletedAndSavedAgainReachesAnotherProcessesCollection) {
  Fresh fresh;
  const CProviderViewsDb db;
  Saved("First");
  auto view = Saved("Open");
  ASSERT_EQ(db.GetViewUpdateCounter(view->Guid()), 20);
  CProviderViews elsewhere;
  ASSERT_TRUE(elsewhere.RefreshByProviderGuid(kProvider));

  db.DeleteView(view->Guid());
  view->SetCaption("Renamed");
  ASSERT_TRUE(db.SaveView4(view, false, viewtype_UserDefined));
  EXPECT_EQ(db.GetViewUpdateCounter(view->Guid()), 30);
  EXPECT_TRUE(elsewhere.RefreshByProviderGuid(kProvider));
  ASSERT_TRUE(elsewhere.Exists(view->Guid()));
  EXPECT_EQ(elsewhere.View(view->Guid())->Caption(), "Renamed");
}

// The row with the largest counter (20) goes by each path; the next save still tops it.
TEST(ViewsUpdateCounters, EveryDeletionOfTheTopRowKeepsTheNextSaveAboveIt) {
  struct Case {
    const char* name;
    e_ViewType type;
    const char* privateTo;
    std::function<void(const std::string& guid)> remove;
  };
  const CProviderViewsDb db;
  const std::vector<Case> cases = {
      {"DeleteView", viewtype_UserDefined, "",
       [&](const std::string& guid) { db.DeleteView(guid); }},
      {"DeleteAllStandardViews", viewtype_CorvaneStandard, "",
       [&](const std::string&) { db.DeleteAllStandardViews(); }},
      {"DeletePrivateViewsByProviderGuid", viewtype_UserDefined, kUser,
       [&](const std::string&) { db.DeletePrivateViewsByProviderGuid(kProvider, kUser); }},
      {"a refresh dropping a stored all-columns view", viewtype_UserDefined, "",
       [&](const std::string& guid) {
         auto all = db.GetViewByGuid(guid);
         all->SetAllColumnsView(true);
         const auto write = views_db::OpenViewsDatabase()->CreateCommand(
             "UPDATE views SET propertybag_content=? WHERE rec_guid=?");
         write->SetBytes(1, all->Serialize());
         write->SetText(2, guid);
         write->Execute();
         CProviderViews views;
         views.RefreshByProviderGuid(kProvider);
       }},
      {"another program's own DELETE", viewtype_UserDefined, "",
       [&](const std::string& guid) {
         views_db::OpenViewsDatabase()->Execute("DELETE FROM views WHERE rec_guid='" + guid + "'");
       }},
      {"the repair of an emptied caption, then a restart", viewtype_UserDefined, "",
       [&](const std::string& guid) {
         views_db::OpenViewsDatabase()->Execute("UPDATE views SET caption='' WHERE rec_guid='" +
                                                guid + "'");
         views_db::internal::ResetProcessState();
         views_db::OpenViewsDatabase();
         views_db::internal::ResetProcessState();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh fresh;
    Saved("Low");
    auto top = NewView("Top");
    top->SetPrivateToGuid(c.privateTo);
    ASSERT_TRUE(db.SaveView4(top, false, c.type));
    ASSERT_EQ(db.GetViewUpdateCounter(top->Guid()), 20);
    c.remove(top->Guid());
    ASSERT_EQ(One("SELECT COUNT(*) FROM views WHERE rec_guid='" + top->Guid() + "'"), "0");
    EXPECT_EQ(db.GetViewUpdateCounter(Saved("Next")->Guid()), 30);
  }
}

TEST(ViewsUpdateCounters, EverySaveAndRenameTopsAGoneRow) {
  struct Case {
    const char* name;
    std::function<std::string(const std::shared_ptr<CProviderView>& low)> save;  // the GUID written
  };
  const CProviderViewsDb db;
  const std::vector<Case> cases = {
      {"SaveView4",
       [&](const std::shared_ptr<CProviderView>& low) {
         EXPECT_TRUE(db.SaveView4(low, true, viewtype_UserDefined));
         return low->Guid();
       }},
      {"SaveView inserting",
       [&](const std::shared_ptr<CProviderView>& low) {
         EXPECT_TRUE(db.SaveView(kProvider, low, true));
         return low->Guid();
       }},
      {"SaveView updating the public view of its caption",
       [&](const std::shared_ptr<CProviderView>&) {
         auto rival = NewView("Low");
         EXPECT_TRUE(db.SaveView(kProvider, rival, true));
         return rival->Guid();
       }},
      {"ChangeViewGuid",
       [&](const std::shared_ptr<CProviderView>& low) {
         db.ChangeViewGuid(low->Guid(), "RENAMED");
         return std::string("RENAMED");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh fresh;
    const auto low = Saved("Low");
    db.DeleteView(Saved("Top")->Guid());
    EXPECT_EQ(db.GetViewUpdateCounter(c.save(low)), 30);
  }
}

TEST(ViewsUpdateCounters, AFileWithoutItsRepairedPropertiesCountsFromTheLargestRow) {
  Fresh fresh;
  const CProviderViewsDb db;
  Saved("Low");
  db.DeleteView(Saved("Top")->Guid());
  // As a file whose repair another process has not finished: no mark, no trigger.
  const auto connection = views_db::OpenViewsDatabase();
  connection->Execute(std::string("DROP TRIGGER ") + views_db::schema::kCounterMarkTrigger);
  connection->Execute("DROP TABLE properties");
  EXPECT_EQ(db.GetViewUpdateCounter(Saved("Next")->Guid()), 20);
}

// Another process's row lands while this save waits for the write lock: the save decides
// on what is stored once it holds the lock.
TEST(ViewsSaveDecisions, FollowWhatAnotherProcessStoredBeforeTheLock) {
  struct Case {
    const char* name;
    bool rivalTakesTheGuid;  // else the caption
    std::function<bool(const std::shared_ptr<CProviderView>&)> save;
    int32_t number;  // 0: saved over the rival's row
    const char* description;
  };
  const CProviderViewsDb db;
  const std::vector<Case> cases = {
      {"SaveView4 over the caption", false,
       [&](const std::shared_ptr<CProviderView>& v) {
         return db.SaveView4(v, true, viewtype_UserDefined);
       },
       0, ""},
      {"SaveView4 refusing the caption", false,
       [&](const std::shared_ptr<CProviderView>& v) {
         return db.SaveView4(v, false, viewtype_UserDefined);
       },
       saveviewerr_DuplicateCaption,
       "View caption already exists. Rename it or re-call this function with the overwrite flag set."},
      {"SaveView4 refusing the GUID", true,
       [&](const std::shared_ptr<CProviderView>& v) {
         return db.SaveView4(v, false, viewtype_UserDefined);
       },
       saveviewerr_DuplicateGuid,
       "View already exists, must explicitly declare that you want it to be replaced."},
      {"SaveView over the caption", false,
       [&](const std::shared_ptr<CProviderView>& v) { return db.SaveView(kProvider, v, true); }, 0,
       ""},
      {"SaveView refusing the caption", false,
       [&](const std::shared_ptr<CProviderView>& v) { return db.SaveView(kProvider, v, false); },
       saveviewerr_DuplicateCaption,
       "View caption in use, you must choose a different caption for this view."},
      {"SaveView refusing the GUID", true,
       [&](const std::shared_ptr<CProviderView>& v) { return db.SaveView(kProvider, v, false); },
       saveviewerr_DuplicateGuid,
       "View already exists, must explicitly declare that you want it to be replaced."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh fresh;
    auto view = NewView("Open");
    auto rival = NewView(c.rivalTakesTheGuid ? "Rival" : "OPEN");
    if (c.rivalTakesTheGuid) rival->SetGuid(view->Guid());
    views_db::ops::SetBeforeSaveLock([&] {
      views_db::ops::SetBeforeSaveLock({});
      EXPECT_TRUE(db.SaveView4(rival, false, viewtype_UserDefined));
    });
    if (c.number == 0) {
      EXPECT_TRUE(c.save(view));
    } else {
      const CError e = ErrorOf([&] { c.save(view); });
      EXPECT_EQ(e.Number(), c.number);
      EXPECT_EQ(e.Description(), c.description);
    }
    views_db::ops::SetBeforeSaveLock({});
    EXPECT_EQ(One("SELECT COUNT(*) FROM views"), "1");
    if (c.number == 0) {
      EXPECT_EQ(view->Guid(), rival->Guid());
      EXPECT_EQ(One("SELECT caption FROM views"), "Open");
    } else {
      EXPECT_EQ(One("SELECT caption FROM views"),
                rival->Caption());  // the rival's row is untouched
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
