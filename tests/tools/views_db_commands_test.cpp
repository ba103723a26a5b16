// prvdrinfo db ... and views ..., run as a user would on a real data folder.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/vesk.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "prvdrinfo/viewsdb/views_database.h"
#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using nlohmann::json;

using Outcome = test::ToolOutcome;

constexpr const char* kProviderA = "AAAAAAAA-0000-4000-8000-000000000001";
constexpr const char* kProviderB = "BBBBBBBB-0000-4000-8000-000000000002";

class ViewsDbCommands : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#endif
    CVesk::SetDataFolder(data_);
  }
  void TearDown() override { CVesk::SetDataFolder(""); }

  Outcome Run(const std::string& args) {
    return test::RunBuiltTool(dir_.Path(), args, {{"PRVDRINFO_DATA_DIR", data_}});
  }

  // A row as a host's save leaves it, written directly so that any bytes can be stored.
  static void StoreRow(Connection& db, const std::string& guid, const std::string& provider,
                       const std::string& caption, int32_t counter, const Bytes& bytes) {
    auto insert = db.CreateCommand(
        "INSERT INTO views (rec_guid, updates, provider_guid, private_to_guid, caption, caption_sort, "
        "propertybag_content) VALUES (?, ?, ?, '', ?, ?, ?)");
    insert->SetText(1, guid);
    insert->SetLong(2, counter);
    insert->SetText(3, provider);
    insert->SetText(4, caption);
    insert->SetText(5, caption);
    insert->SetBytes(6, bytes);
    insert->Execute();
  }

  static Bytes ViewBytes(const std::string& guid, const std::string& caption, const std::string& provider) {
    CProviderView view;
    view.SetGuid(guid);
    view.SetCaption(caption);
    view.SetProviderGuid(provider);
    return view.Serialize();
  }

  test::TempDir dir_;
  const std::string data_ = dir_.File("data/");
  const std::string file_ = data_ + views_db::kFileName;
};

TEST_F(ViewsDbCommands, LookingAtAMissingDatabaseFailsAndCreatesNothing) {
  for (const char* args : {"db info", "db info --json", "db check", "views list", "views list --provider X",
                           "views show G", "views export G out.bag", "views delete G"}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "prvdrinfo: no views database at " + file_ + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(file_));
  }
}

TEST_F(ViewsDbCommands, InfoCountsViewsPerProviderWithTheirCounters) {
  {
    auto db = views_db::OpenViewsDatabase();
    StoreRow(*db, "G1", kProviderA, "One", 10, ViewBytes("G1", "One", kProviderA));
    StoreRow(*db, "G2", kProviderA, "Two", 20, ViewBytes("G2", "Two", kProviderA));
    StoreRow(*db, "G3", kProviderB, "Three", 30, ViewBytes("G3", "Three", kProviderB));
    StoreRow(*db, "G4", kProviderB, "Four", 40, ViewBytes("G4", "Four", kProviderB));
    db->Execute("DELETE FROM views WHERE rec_guid='G4'");
  }
  const int64_t deleteCounter =
      views_db::OpenViewsDatabase()
          ->OpenRecordset("SELECT MAX(updates) FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\" WHERE table_name='views'")
          ->Int64(0);
  ASSERT_GT(deleteCounter, 0);

  const Outcome asJson = Run("db info --json");
  ASSERT_EQ(asJson.status, 0) << asJson.err;
  const json info = json::parse(asJson.out);
  EXPECT_EQ(info["file"], file_);
  EXPECT_EQ(info["views"], 3);
  EXPECT_EQ(info["highestUpdateCounter"], 30);
  EXPECT_EQ(info["deleteCounter"], deleteCounter);
  EXPECT_EQ(info["schemaVersions"], json({{"views", 1}, {"providers_filters", 1}}));
  EXPECT_TRUE(info["lastAnalyze"].is_string()) << "the open that created the file analysed it";
  EXPECT_EQ(info["providers"], json::parse(std::string(R"([{"provider": ")") + kProviderA +
                                           R"(", "views": 2, "updateCounter": 30}, {"provider": ")" + kProviderB +
                                           R"(", "views": 1, "updateCounter": 30}])"));

  const Outcome text = Run("db info");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("views: 3\nfilters: 0\nhighest update counter: 30\ndelete counter: " +
                          std::to_string(deleteCounter) + "\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find(std::string("providers:\n  ") + kProviderA + ": 2 views, update counter 30\n  " +
                          kProviderB + ": 1 view, update counter 30\n"),
            std::string::npos)
      << text.out;
}

TEST_F(ViewsDbCommands, CheckNamesEveryViewThatCannotBeRead) {
  {
    auto db = views_db::OpenViewsDatabase();
    StoreRow(*db, "G1", kProviderA, "Sound", 10, ViewBytes("G1", "Sound", kProviderA));
  }
  const Outcome sound = Run("db check");
  EXPECT_EQ(sound.status, 0) << sound.err;
  EXPECT_EQ(sound.out, "integrity: ok\nviews: 1 readable, 0 unreadable\n");

  StoreRow(*views_db::OpenViewsDatabase(), "G2", kProviderA, "Broken", 20, Bytes{0x00, 0x01});
  const Outcome broken = Run("db check");
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err, "prvdrinfo: the views database has 1 problem\n");
  EXPECT_EQ(broken.out.rfind("integrity: ok\nviews: 1 readable, 1 unreadable\nunreadable view G2 \"Broken\": ", 0), 0u)
      << broken.out;
  const Outcome asJson = Run("db check --json");
  EXPECT_EQ(asJson.status, 1);
  const json check = json::parse(asJson.out);
  EXPECT_EQ(check["problems"], 1);
  EXPECT_EQ(check["unreadable"][0]["guid"], "G2");

  // A file that is no database at all. The process lets it go first (its kept connection
  // folds the log in), as damage from outside would find it.
  {
    test::TempDir elsewhere;
    CVesk::SetDataFolder(elsewhere.Path());
    views_db::OpenViewsDatabase();
    CVesk::SetDataFolder(data_);
  }
  std::ofstream(file_, std::ios::trunc) << "not a database, just text that is long enough to have a header\n";
  const Outcome damaged = Run("db check");
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(damaged.err, "prvdrinfo: " + file_ + ": file is not a database\n");
}

TEST_F(ViewsDbCommands, MaintainRunsAnalyzeAndVacuumWhateverTimeIsStored) {
  // A missing file is created first, as any host's open would.
  const Outcome first = Run("db maintain --json");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_TRUE(std::filesystem::exists(file_));
  EXPECT_TRUE(json::parse(first.out)["analyze"]["last"].is_string()) << first.out;

  // Times a host would take as not yet due, one of them from a clock that ran ahead.
  {
    auto db = views_db::OpenViewsDatabase();
    views_db::SetViewsDbProperty(*db, views_db::kLastAnalyzeKey, "2099-01-01T00:00:00Z");
    views_db::SetViewsDbProperty(*db, views_db::kLastVacuumKey, "2099-01-01T00:00:00Z");
  }
  const Outcome again = Run("db maintain");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out.find("2099"), std::string::npos) << again.out;
  EXPECT_EQ(again.out.rfind("ANALYZE: last run 20", 0), 0u) << again.out;
  EXPECT_NE(again.out.find("\nVACUUM: last run 20"), std::string::npos) << again.out;
  auto db = views_db::OpenViewsDatabase();
  EXPECT_NE(views_db::GetViewsDbProperty(*db, views_db::kLastVacuumKey, ""), "2099-01-01T00:00:00Z");
}

std::shared_ptr<CProviderView> SavedView(const std::string& guid, const std::string& caption,
                                         const std::string& provider, e_ViewType type = viewtype_UserDefined) {
  auto view = CProviderViewFactory().CreateProviderView();
  view->SetGuid(guid);
  view->SetCaption(caption);
  view->SetProviderGuid(provider);
  view->Columns()->Add("{C0000000-0000-4000-8000-000000000001}");
  view->Columns()->Add("{C0000000-0000-4000-8000-000000000002}");
  view->SortOrder()->Add("{C0000000-0000-4000-8000-000000000002}");
  EXPECT_TRUE(CProviderViewsDb().SaveView4(view, false, type));
  return view;
}

TEST_F(ViewsDbCommands, ListGivesEveryProvidersViewsInCaptionOrder) {
  SavedView("{00000000-0000-4000-8000-00000000000A}", "View 10", kProviderA);
  SavedView("{00000000-0000-4000-8000-00000000000B}", "View 2", kProviderA);
  SavedView("{00000000-0000-4000-8000-00000000000C}", "Other", kProviderB, viewtype_CorvaneStandard);
  CProviderViewsDb db;
  const std::string a10 = std::to_string(db.GetViewUpdateCounter("{00000000-0000-4000-8000-00000000000A}"));
  const std::string a2 = std::to_string(db.GetViewUpdateCounter("{00000000-0000-4000-8000-00000000000B}"));
  const std::string b = std::to_string(db.GetViewUpdateCounter("{00000000-0000-4000-8000-00000000000C}"));
  const std::string lineA2 = std::string("{00000000-0000-4000-8000-00000000000B}  ") + kProviderA + "  " + a2 + "  user  View 2\n";
  const std::string lineA10 = std::string("{00000000-0000-4000-8000-00000000000A}  ") + kProviderA + "  " + a10 + "  user  View 10\n";
  const std::string lineB = std::string("{00000000-0000-4000-8000-00000000000C}  ") + kProviderB + "  " + b + "  standard  Other\n";
  struct Case {
    std::string args;
    std::string out;
  };
  for (const Case& c : {Case{"views list", lineA2 + lineA10 + lineB + "3 views\n"},
                        Case{std::string("views list --provider ") + kProviderB, lineB + "1 view\n"},
                        Case{"views list --provider 00000000-0000-4000-8000-000000000000", "0 views\n"}}) {
    SCOPED_TRACE(c.args);
    const Outcome run = Run(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  const Outcome asJson = Run("views list --json");
  ASSERT_EQ(asJson.status, 0) << asJson.err;
  const json list = json::parse(asJson.out);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[2], json({{"guid", "{00000000-0000-4000-8000-00000000000C}"},
                           {"provider", kProviderB},
                           {"privateTo", ""},
                           {"caption", "Other"},
                           {"updateCounter", std::stoi(b)},
                           {"kind", "standard"}}));
}

TEST_F(ViewsDbCommands, AnExportedViewComesBackAsItWasAfterItsDeletion) {
  struct Case {
    const char* guid;
    e_ViewType type;
    const char* kind;
  };
  for (const Case& c : {Case{"{00000000-0000-4000-8000-0000000000A1}", viewtype_UserDefined, "user"},
                        Case{"{00000000-0000-4000-8000-0000000000A2}", viewtype_CorvaneStandard, "standard"}}) {
    SCOPED_TRACE(c.kind);
    const auto saved = SavedView(c.guid, std::string("Exported ") + c.kind, kProviderA, c.type);
    const auto before = CProviderViewsDb().GetViewByGuid(c.guid);
    ASSERT_NE(before, nullptr);

    const Outcome shown = Run(std::string("views show ") + c.guid);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out.rfind(std::string("view ") + c.guid + "\ncaption: Exported " + c.kind + "\n", 0), 0u)
        << shown.out;
    EXPECT_NE(shown.out.find(std::string("\nkind: ") + c.kind + "\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("\ncolumns: " + std::to_string(saved->Columns()->Count()) +
                             ", sort keys: 1, filter groups: 0\nstored as property bag, "),
              std::string::npos)
        << shown.out;

    EXPECT_EQ(Run(std::string("views export ") + c.guid + " view.bag").status, 0);
    const Outcome deleted = Run(std::string("views delete ") + c.guid);
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(deleted.out, std::string("deleted view ") + c.guid + " \"Exported " + c.kind + "\"\n");
    EXPECT_EQ(CProviderViewsDb().GetViewByGuid(c.guid), nullptr);

    const Outcome imported = Run("views import view.bag");
    EXPECT_EQ(imported.status, 0) << imported.err;
    const auto after = CProviderViewsDb().GetViewByGuid(c.guid);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(imported.out, std::string("imported view ") + c.guid + " \"Exported " + c.kind +
                                "\", update counter " + std::to_string(after->UpdateCounter()) + "\n");
    after->SetUpdateCounter(before->UpdateCounter());
    EXPECT_EQ(after->Serialize(), before->Serialize());

    const Outcome again = Run("views import view.bag");
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "prvdrinfo: view.bag: View already exists, must explicitly declare that you want it to be replaced.\n");
    const Outcome replaced = Run("views import view.bag --overwrite");
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_GT(CProviderViewsDb().GetViewUpdateCounter(c.guid), after->UpdateCounter());
  }
}

TEST_F(ViewsDbCommands, ViewCommandsRefuseWhatTheyCannotFindOrRead) {
  SavedView("{00000000-0000-4000-8000-0000000000B1}", "Present", kProviderA);
  std::ofstream(dir_.File("bad.bag")) << "not a view";
  struct Case {
    const char* args;
    std::string err;  // the whole line, or its beginning where it ends in the decoder's words
  };
  for (const Case& c : {
           Case{"views show {00000000-0000-4000-8000-0000000000FF}",
                "prvdrinfo: no view with GUID {00000000-0000-4000-8000-0000000000FF}\n"},
           Case{"views delete {00000000-0000-4000-8000-0000000000FF}",
                "prvdrinfo: no view with GUID {00000000-0000-4000-8000-0000000000FF}\n"},
           Case{"views export {00000000-0000-4000-8000-0000000000FF} out.bag",
                "prvdrinfo: no view with GUID {00000000-0000-4000-8000-0000000000FF}\n"},
           Case{"views export {00000000-0000-4000-8000-0000000000B1} missing/out.bag",
                "prvdrinfo: cannot write missing/out.bag: No such file or directory\n"},
           Case{"views import absent.bag", "prvdrinfo: cannot read absent.bag: No such file or directory\n"},
           Case{"views import bad.bag", "prvdrinfo: bad.bag: Invalid property bag contents: "},
       }) {
    SCOPED_TRACE(c.args);
    const Outcome run = Run(c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.bag")));
}

}  // namespace
}  // namespace prvdrinfo
