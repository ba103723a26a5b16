// prvdrinfo db ... and views ..., run as a user would on a real data folder.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/services/vesk.h"
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

  static Bytes ViewBytes(const std::string& guid, const std::string& caption,
                         const std::string& provider) {
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
  for (const char* args :
       {"db info", "db info --json", "db check", "views list", "views list --provider X",
        "views show G", "views export G out.bag", "views delete G"}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "prvdrinfo: no views database at " + file_ + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(file_));
  }
}

TEST_F(ViewsDbCommands, DataDirNamesTheFolderOverTheEnvironment) {
  StoreRow(*views_db::OpenViewsDatabase(), "{00000000-0000-4000-8000-0000000000DD}", kProviderA,
           "Elsewhere", 10,
           ViewBytes("{00000000-0000-4000-8000-0000000000DD}", "Elsewhere", kProviderA));
  const std::string other = dir_.File("other/");
  std::filesystem::create_directories(other);
  const auto run = [&](const std::string& args) {
    return test::RunBuiltTool(dir_.Path(), args, {{"PRVDRINFO_DATA_DIR", other}});
  };
  for (const std::string& args :
       {"views list --data-dir " + data_, "db info --data-dir " + data_,
        "views show {00000000-0000-4000-8000-0000000000DD} --data-dir " + data_,
        "db check --data-dir " + data_}) {
    SCOPED_TRACE(args);
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
  }
  EXPECT_NE(run("views list --data-dir " + data_).out.find("Elsewhere"), std::string::npos);
  EXPECT_EQ(run("db info").err,
            "prvdrinfo: no views database at " + other + views_db::kFileName + "\n");
  EXPECT_EQ(run("db info --data-dir ''").status, 2);
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
          ->OpenRecordset(
              "SELECT MAX(updates) FROM \"CX1IVUUEQIHUW8W2DIJVS3B9O\" WHERE table_name='views'")
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
  EXPECT_EQ(info["providers"],
            json::parse(std::string(R"([{"providerGuid": ")") + kProviderA +
                        R"(", "views": 2, "updateCounter": 30}, {"providerGuid": ")" + kProviderB +
                        R"(", "views": 1, "updateCounter": 30}])"));

  const Outcome text = Run("db info");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("views: 3\nfilters: 0\nhighest update counter: 30\ndelete counter: " +
                          std::to_string(deleteCounter) + "\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find(std::string("providers:\n  ") + kProviderA +
                          ": 2 views, update counter 30\n  " + kProviderB +
                          ": 1 view, update counter 30\n"),
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
  EXPECT_EQ(broken.err, "prvdrinfo: the views database " + file_ + " has 1 problem\n");
  EXPECT_EQ(
      broken.out.rfind(
          "integrity: ok\nviews: 1 readable, 1 unreadable\nunreadable view G2 \"Broken\": ", 0),
      0u)
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
  std::ofstream(file_, std::ios::trunc)
      << "not a database, just text that is long enough to have a header\n";
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
  EXPECT_NE(views_db::GetViewsDbProperty(*db, views_db::kLastVacuumKey, ""),
            "2099-01-01T00:00:00Z");
}

std::shared_ptr<CProviderView> SavedView(const std::string& guid, const std::string& caption,
                                         const std::string& provider,
                                         e_ViewType type = viewtype_UserDefined) {
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
  SavedView("{00000000-0000-4000-8000-00000000000C}", "Other", kProviderB,
            viewtype_CorvaneStandard);
  CProviderViewsDb db;
  const std::string a10 =
      std::to_string(db.GetViewUpdateCounter("{00000000-0000-4000-8000-00000000000A}"));
  const std::string a2 =
      std::to_string(db.GetViewUpdateCounter("{00000000-0000-4000-8000-00000000000B}"));
  const std::string b =
      std::to_string(db.GetViewUpdateCounter("{00000000-0000-4000-8000-00000000000C}"));
  const std::string lineA2 = std::string("{00000000-0000-4000-8000-00000000000B}  ") + kProviderA +
                             "  " + a2 + "  user  View 2\n";
  const std::string lineA10 = std::string("{00000000-0000-4000-8000-00000000000A}  ") + kProviderA +
                              "  " + a10 + "  user  View 10\n";
  const std::string lineB = std::string("{00000000-0000-4000-8000-00000000000C}  ") + kProviderB +
                            "  " + b + "  standard  Other\n";
  struct Case {
    std::string args;
    std::string out;
  };
  for (const Case& c :
       {Case{"views list", lineA2 + lineA10 + lineB + "3 views\n"},
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
                           {"providerGuid", kProviderB},
                           {"privateToGuid", ""},
                           {"caption", "Other"},
                           {"updateCounter", std::stoi(b)},
                           {"kind", "standard"},
                           {"readable", true}}));
}

TEST_F(ViewsDbCommands, AnExportedViewComesBackAsItWasAfterItsDeletion) {
  struct Case {
    const char* guid;
    e_ViewType type;
    const char* kind;
  };
  for (const Case& c :
       {Case{"{00000000-0000-4000-8000-0000000000A1}", viewtype_UserDefined, "user"},
        Case{"{00000000-0000-4000-8000-0000000000A2}", viewtype_CorvaneStandard, "standard"}}) {
    SCOPED_TRACE(c.kind);
    const auto saved = SavedView(c.guid, std::string("Exported ") + c.kind, kProviderA, c.type);
    const auto before = CProviderViewsDb().GetViewByGuid(c.guid);
    ASSERT_NE(before, nullptr);

    // As view show prints the stored bytes, with the row's update counter.
    const Outcome readable = Run(std::string("views show ") + c.guid);
    EXPECT_EQ(readable.status, 0) << readable.err;
    EXPECT_EQ(readable.out.rfind(
                  std::string("view \"Exported ") + c.kind + "\"\n  guid: \"" + c.guid + "\"\n", 0),
              0u)
        << readable.out;
    EXPECT_NE(
        readable.out.find("  update counter " + std::to_string(before->UpdateCounter()) + ", "),
        std::string::npos)
        << readable.out;
    EXPECT_NE(readable.out.find("\nsort order: 1 key\n"), std::string::npos) << readable.out;
    const Outcome asJson = Run(std::string("views show ") + c.guid + " --json");
    EXPECT_EQ(asJson.status, 0) << asJson.err;
    EXPECT_EQ(json::parse(asJson.out)["updateCounter"], before->UpdateCounter());
    EXPECT_EQ(json::parse(asJson.out)["guid"], c.guid);

    const Outcome shown = Run(std::string("views show ") + c.guid + " --raw");
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(
        shown.out.rfind(std::string("view ") + c.guid + "\ncaption: Exported " + c.kind + "\n", 0),
        0u)
        << shown.out;
    EXPECT_NE(shown.out.find(std::string("\nkind: ") + c.kind + "\n"), std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("\ncolumns: " + std::to_string(saved->Columns()->Count()) +
                             ", sort keys: 1, filter groups: 0\nstored as property bag, "),
              std::string::npos)
        << shown.out;

    EXPECT_EQ(Run(std::string("views export ") + c.guid + " view.bag").status, 0);
    const Outcome deleted = Run(std::string("views delete ") + c.guid);
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_EQ(deleted.out,
              std::string("deleted view ") + c.guid + " \"Exported " + c.kind + "\"\n");
    EXPECT_EQ(CProviderViewsDb().GetViewByGuid(c.guid), nullptr);

    const Outcome imported = Run("views import view.bag");
    EXPECT_EQ(imported.status, 0) << imported.err;
    const auto after = CProviderViewsDb().GetViewByGuid(c.guid);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(imported.out, std::string("imported view ") + c.guid + " \"Exported " + c.kind +
                                "\", update counter " + std::to_string(after->UpdateCounter()) +
                                "\n");
    after->SetUpdateCounter(before->UpdateCounter());
    EXPECT_EQ(after->Serialize(), before->Serialize());

    const Outcome again = Run("views import view.bag");
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(
        again.err,
        "prvdrinfo: view.bag: View already exists, must explicitly declare that you want it to be replaced.\n");
    const Outcome replaced = Run("views import view.bag --overwrite");
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_GT(CProviderViewsDb().GetViewUpdateCounter(c.guid), after->UpdateCounter());
  }
}

TEST_F(ViewsDbCommands, ImportSaysWhatTheSaveDid) {
  SavedView("{0000000A-0000-4000-8000-0000000000AB}", "Cased", kProviderA);
  struct Case {
    const char* guid;
    const char* caption;
    std::string said;  // after the update counter
  };
  for (const Case& c :
       {Case{"{0000000a-0000-4000-8000-0000000000ab}", "Recased",
             " (it replaced the stored view of that GUID, spelled as stored; exported as "
             "{0000000a-0000-4000-8000-0000000000ab})\n"},
        Case{"{0000000B-0000-4000-8000-0000000000AB}", "Recased",
             " (it replaced the view of the same caption; exported as "
             "{0000000B-0000-4000-8000-0000000000AB})\n"}}) {
    SCOPED_TRACE(c.guid);
    const Bytes bytes = ViewBytes(c.guid, c.caption, kProviderA);
    std::ofstream(dir_.File("view.bag"), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const Outcome run = Run("views import view.bag --overwrite");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string counter = std::to_string(
        CProviderViewsDb().GetViewUpdateCounter("{0000000A-0000-4000-8000-0000000000AB}"));
    EXPECT_EQ(run.out, "imported view {0000000A-0000-4000-8000-0000000000AB} \"" +
                           std::string(c.caption) + "\", update counter " + counter + c.said);
  }
}

TEST_F(ViewsDbCommands, ViewCommandsRefuseWhatTheyCannotFindOrRead) {
  SavedView("{00000000-0000-4000-8000-0000000000B1}", "Present", kProviderA);
  std::ofstream(dir_.File("bad.bag")) << "not a view";
  // Views whose caption a save would store empty, and the next open's repair delete.
  for (const auto& [name, caption] : {std::pair{"empty.bag", ""}, {"blank.bag", " \t "}}) {
    PropertyBag bag;
    bag.SetContents(ViewBytes("{00000000-0000-4000-8000-0000000000B2}", "Named", kProviderA));
    bag.WriteProperty("Caption", std::string(caption));
    const Bytes bytes = bag.Contents();
    std::ofstream(dir_.File(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
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
                "prvdrinfo: Path not found: missing/out.bag: "},
           Case{"views import absent.bag",
                "prvdrinfo: cannot read absent.bag: No such file or directory\n"},
           Case{"views import bad.bag", "prvdrinfo: bad.bag: Invalid property bag contents: "},
           Case{"views import empty.bag", "prvdrinfo: empty.bag: View caption is required.\n"},
           Case{"views import blank.bag --overwrite",
                "prvdrinfo: blank.bag: View caption is required.\n"},
       }) {
    SCOPED_TRACE(c.args);
    const Outcome run = Run(c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.bag")));
  EXPECT_EQ(CProviderViewsDb().GetViewByGuid("{00000000-0000-4000-8000-0000000000B2}"), nullptr);
}

TEST_F(ViewsDbCommands, AViewWhoseBytesCannotBeReadKeepsItsRowAndItsBytes) {
  SavedView("{00000000-0000-4000-8000-0000000000C1}", "Sound", kProviderA);
  const std::string stored("\x00\x01garbage", 9);
  StoreRow(*views_db::OpenViewsDatabase(), "G2", kProviderA, "Broken", 20,
           Bytes(stored.begin(), stored.end()));
  const std::string unreadable = "unreadable: Invalid property bag contents: ";
  struct Case {
    std::string args;
    int status;
    std::string out;  // a part of standard output that must be there
    std::string err;  // the beginning of standard error
  };
  for (
      const Case& c : {
          Case{
              "views show g2", 1, "view G2: \"Broken\"\n",
              "prvdrinfo: the stored bytes of view G2 cannot be read: Invalid property bag contents: "},
          Case{
              "views show g2 --json", 1, "\"readable\": false",
              "prvdrinfo: the stored bytes of view G2 cannot be read: Invalid property bag contents: "},
          Case{
              "views show g2 --raw", 1,
              "view G2\ncaption: Broken\nprovider: " + std::string(kProviderA) +
                  "\nprivate to: (everyone)\nkind: user\nupdate counter: 20\nstored bytes: 9, " +
                  unreadable,
              "prvdrinfo: the stored bytes of view G2 cannot be read: Invalid property bag contents: "},
          Case{"views list", 0,
               std::string("G2  ") + kProviderA + "  20  user  Broken  (" + unreadable, ""},
          Case{"views list --provider " + std::string(kProviderA), 0, "  Broken  (" + unreadable,
               ""},
          Case{"views list --json", 0, "\"readable\": false", ""},
          Case{"views export G2 -", 0, stored, ""},
          Case{"views export G2 backup.bag", 0, "", ""},
          Case{"views import backup.bag", 1, "",
               "prvdrinfo: backup.bag: Invalid property bag contents: "},
      }) {
    SCOPED_TRACE(c.args);
    const Outcome run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
  }
  EXPECT_EQ(test::ReadText(dir_.File("backup.bag")), stored)
      << "a backup holds the bytes as stored";
  EXPECT_EQ(Run("views list").out.find("New View"), std::string::npos);
}

TEST_F(ViewsDbCommands, CheckOfADamagedFileSaysWhatItFound) {
  {
    auto db = views_db::OpenViewsDatabase();
    for (int i = 0; i < 200; ++i) {
      const std::string guid = "G" + std::to_string(i);
      StoreRow(*db, guid, kProviderA, "Caption " + std::to_string(i), 10 + i,
               ViewBytes(guid, "Caption " + std::to_string(i) + std::string(300, 'x'), kProviderA));
    }
    db->Execute("PRAGMA wal_checkpoint(TRUNCATE)");
  }
  const auto pages = std::filesystem::file_size(file_) / 4096;
  ASSERT_GT(pages, 20u);
  {
    // Cells of a page near the middle overwritten: the page header stays, the rows do not.
    std::fstream damage(file_, std::ios::in | std::ios::out | std::ios::binary);
    damage.seekp(static_cast<std::streamoff>(pages / 2 * 4096 + 8));
    damage << std::string(200, '\x07');
  }
  const std::string before = test::ReadText(file_);
  for (const char* args : {"db check", "db check --json", "db info"}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    EXPECT_EQ(test::ReadText(file_), before) << "looking never changes the file";
    if (std::string(args) == "db info") continue;  // counts what it can, or names the file
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("prvdrinfo: the views database " + file_ + " has ", 0), 0u) << run.err;
    if (std::string(args) == "db check") {
      EXPECT_EQ(run.out.rfind("integrity: ", 0), 0u) << run.out;
      EXPECT_EQ(run.out.find("integrity: ok\n"), std::string::npos) << run.out;
      EXPECT_NE(run.out.find("page "), std::string::npos) << run.out;
      EXPECT_NE(run.out.find(" readable, "), std::string::npos) << run.out;
    } else {
      const json check = json::parse(run.out);
      EXPECT_GT(check["problems"].get<int>(), 0);
      EXPECT_NE(check["integrity"][0], "ok");
    }
  }
}

TEST_F(ViewsDbCommands, ACommandThatFailsLeavesTheFileAsItWas) {
  struct Kind {
    const char* name;
    const char* sql;  // run on a new file; none: the file is empty
    std::string err;  // what every command that reads views says
  };
  const std::string at = "prvdrinfo: " + file_ + ": ";
  for (const Kind& kind :
       {Kind{"empty file", nullptr, at + "not a views database (it has no views table)\n"},
        Kind{"foreign schema", "CREATE TABLE t (a); INSERT INTO t VALUES (1)",
             at + "not a views database (it has no views table)\n"},
        Kind{"foreign views table", "CREATE TABLE views (a); INSERT INTO views VALUES (1)",
             at + "no such column: private_to_guid\n"}}) {
    SCOPED_TRACE(kind.name);
    std::filesystem::remove_all(data_);
    std::filesystem::create_directories(data_);
    if (kind.sql) {
      Connection::Open(file_)->Execute(kind.sql);
    } else {
      std::ofstream{file_};
    }
    const std::string before = test::ReadText(file_);
    for (const char* args : {"db info", "db check", "db maintain", "views list", "views show G",
                             "views export G out.bag", "views delete G", "views import view.bag"}) {
      SCOPED_TRACE(args);
      std::ofstream(dir_.File("view.bag"), std::ios::binary) << "x";
      const Bytes bytes = ViewBytes("G", "Imported", kProviderA);
      std::ofstream(dir_.File("view.bag"), std::ios::binary | std::ios::trunc)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
      const Outcome run = Run(args);
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(file_), std::string::npos) << run.err;
      if (std::string(args).rfind("views ", 0) == 0 &&
          std::string(args) != "views import view.bag") {
        EXPECT_EQ(run.err, kind.err);
      }
      EXPECT_EQ(test::ReadText(file_), before) << "the file changed";
      EXPECT_EQ(std::filesystem::file_size(file_), before.size());
    }
  }
}

TEST_F(ViewsDbCommands, ReadingAnswersWhileAnotherProcessHoldsTheWriteLock) {
  SavedView("{00000000-0000-4000-8000-0000000000D1}", "Held", kProviderA);
  Run("views list");  // any repair is done before the lock is taken
  auto writer = Connection::Open(file_);
  ASSERT_TRUE(writer->BeginImmediate(1000));
  for (const char* args :
       {"views list", "views show {00000000-0000-4000-8000-0000000000D1}",
        "views export {00000000-0000-4000-8000-0000000000D1} held.bag", "db info", "db check"}) {
    SCOPED_TRACE(args);
    const auto start = std::chrono::steady_clock::now();
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  }
  writer->Rollback();
}

TEST_F(ViewsDbCommands, LookingWorksInAFolderThatCannotBeWritten) {
  SavedView("{00000000-0000-4000-8000-0000000000E1}", "Kept", kProviderA);
  Run("views list");
  const std::string before = test::ReadText(file_);
  std::filesystem::permissions(
      data_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  for (const char* args :
       {"db info", "db check", "views list", "views show {00000000-0000-4000-8000-0000000000E1}"}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::ReadText(file_), before);
  }
  std::filesystem::permissions(data_, std::filesystem::perms::owner_all);
}

TEST_F(ViewsDbCommands, TextFromTheFileNeverReachesTheTerminalRaw) {
  const std::string hostile =
      "\x1b]0;owned\x07\xc2\x9b"
      "2J\xff";
  {
    auto db = views_db::OpenViewsDatabase();
    const std::string guid = "G" + hostile;
    auto insert = db->CreateCommand(
        "INSERT INTO views (rec_guid, updates, provider_guid, private_to_guid, caption, caption_sort, "
        "propertybag_content) VALUES (?, 10, ?, ?, ?, ?, ?)");
    insert->SetText(1, guid);
    insert->SetText(2, "P" + hostile);
    insert->SetText(3, "U" + hostile);
    insert->SetText(4, "C" + hostile);
    insert->SetText(5, "C" + hostile);
    insert->SetBytes(6, ViewBytes(guid, "C" + hostile, "P" + hostile));
    insert->Execute();
    StoreRow(*db, "B" + hostile, "P" + hostile, "Broken" + hostile, 20, Bytes{0x00});
  }
  const std::string guid = "'G" + hostile + "'";
  for (const std::string& args :
       {std::string("views list"), std::string("views list --json"), "views show " + guid,
        std::string("db info"), std::string("db info --json"), std::string("db check"),
        std::string("db check --json"), "views export " + guid + " view.bag",
        "views delete " + guid, std::string("views import view.bag")}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    EXPECT_TRUE(run.status == 0 || args.rfind("db check", 0) == 0) << run.err;
    EXPECT_TRUE(test::SafeForTerminal(run.out)) << run.out;
    EXPECT_TRUE(test::SafeForTerminal(run.err)) << run.err;
  }
}

TEST_F(ViewsDbCommands, ExportNeverDestroysWhatItWouldReplace) {
  const std::string guid = "{00000000-0000-4000-8000-0000000000F1}";
  SavedView(guid, "Exported", kProviderA);
  const std::string old = "the backup taken yesterday";
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> make;  // the target as it is before
    std::string line;                                   // the shell line, the target named T
    std::string err;
  };
  const std::string env = "PRVDRINFO_DATA_DIR='" + data_ + "' ";
  for (const Case& c : {
           // The write fails part way, as on a full disk: no file may be larger than 512 bytes.
           Case{"a full disk", [&](const std::string& path) { std::ofstream(path) << old; },
                "trap '' XFSZ; ulimit -f 1; " + env + "TOOL views export " + guid + " T",
                "prvdrinfo: "},
           Case{"a link",
                [&](const std::string& path) {
                  std::ofstream(dir_.File("linked")) << old;
                  std::filesystem::create_symlink(dir_.File("linked"), path);
                },
                env + "TOOL views export " + guid + " T",
                "prvdrinfo: cannot write T: it exists and is not a regular file\n"},
           Case{"a pipe",
                [&](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
                env + "TOOL views export " + guid + " T",
                "prvdrinfo: cannot write T: it exists and is not a regular file\n"},
       }) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir_.File("target/"));
    std::filesystem::create_directories(dir_.File("target/"));
    const std::string folder = dir_.File("target/");
    c.make(folder + "T");
    const auto before = std::filesystem::symlink_status(folder + "T").type();
    const Outcome run = test::RunBuiltToolShell(folder, c.line);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(std::filesystem::symlink_status(folder + "T").type(), before);
    if (before != std::filesystem::file_type::fifo) {
      EXPECT_EQ(test::ReadText(folder + "T"), old);
    }
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().filename() != "T") ++files;
    }
    EXPECT_EQ(files, 2u) << "only the captured output beside the target";
  }
  EXPECT_EQ(Run("views export " + guid + " fresh.bag").status, 0);
  const Bytes stored =
      views_db::OpenViewsDatabase()
          ->OpenRecordset("SELECT propertybag_content FROM views WHERE rec_guid='" + guid + "'")
          ->Value(0)
          .AsBytes();
  EXPECT_EQ(test::ReadText(dir_.File("fresh.bag")), std::string(stored.begin(), stored.end()));
}

}  // namespace
}  // namespace prvdrinfo
