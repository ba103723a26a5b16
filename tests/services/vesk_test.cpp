#include "prvdrinfo/services/vesk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

#include "services/internal/date_service.h"
#include "prvdrinfo/foundation/error.h"
#include "support/host_seams.h"
#include "support/temp_dir.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

using namespace std::string_literals;
using test::ScopedEnv;
using test::TempDir;

// Made before any test touches the host state, so destroyed after anything the library
// made later: its use of the state at exit is one the sanitizer pass would catch.
struct AtExit {
  ~AtExit() {
    CVesk::SetDataFolder("");
    CVesk::Log("VeskTest", "the process exits");
  }
} atExit;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(VeskColumns, StandardAndDeletionLogNames) {
  struct Case {
    e_VeskColumn column;
    const char* plain;
  } cases[] = {
      {veskcol_RecordGuid, "rec_guid"},    {veskcol_Hidden, "hidden"},
      {veskcol_Updates, "updates"},        {veskcol_Modified, "modified"},
      {veskcol_Created, "created"},        {veskcol_RecordStatus, "record_status"},
      {veskcol_DeletedGuid, "rec_guid"},   {veskcol_DeletedTable, "table_name"},
      {veskcol_DeletedUpdates, "updates"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plain);
    const auto names = CVesk::StandardColumnNames(c.column);
    EXPECT_EQ(names[0], c.plain);
    EXPECT_EQ(names[1], "\""s + c.plain + "\"");
    EXPECT_EQ(CVesk::ColumnName(c.column), c.plain);
    EXPECT_EQ(CVesk::ColumnName(c.column, veskform_Sql), names[1]);
  }
  EXPECT_EQ(ErrorOf([] { CVesk::ColumnName(static_cast<e_VeskColumn>(9)); }).Description(),
            "Unknown column: 9");
  EXPECT_EQ(ErrorOf([] { CVesk::StandardColumnNames(static_cast<e_VeskColumn>(-1)); }).Number(), 5);
  EXPECT_EQ(ErrorOf([] {
              CVesk::ColumnName(veskcol_Hidden, static_cast<e_VeskNameForm>(2));
            }).Description(),
            "Unknown name form: 2");
}

TEST(VeskCatalogue, OneDistinctAddressBookIdentifierPerContactType) {
  std::set<std::string> seen;
  for (int32_t type = 0; type <= 33; ++type) {
    SCOPED_TRACE(type);
    const bool expected = type < 25 || type > 27;
    EXPECT_EQ(CVesk::HasAddressBookColumnIdentifier(type), expected);
    if (expected) {
      const std::string id = CVesk::AddressBookColumnIdentifier(type);
      EXPECT_FALSE(id.empty());
      EXPECT_TRUE(seen.insert(id).second) << "identifier used twice: " << id;
    }
  }
  EXPECT_EQ(seen.size(), 31u);
  for (int32_t type : {25, 26, 27, -1, 34, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(CVesk::HasAddressBookColumnIdentifier(type));
    const CError e = ErrorOf([&] { CVesk::AddressBookColumnIdentifier(type); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Description(), "Unknown contact column type.");
  }
  EXPECT_EQ(CVesk::DefaultCaption(), "New Column");
}

class VeskDataFolder : public ::testing::Test {
 protected:
  ~VeskDataFolder() override { CVesk::SetDataFolder(""); }
  TempDir temp_;
  ScopedEnv own_{"PRVDRINFO_DATA_DIR", std::nullopt};
  ScopedEnv xdg_{"XDG_DATA_HOME", std::nullopt};
  ScopedEnv home_{"HOME", temp_.Path() + "home"};
};

TEST_F(VeskDataFolder, DefaultsFollowTheEnvironmentInOrder) {
  CVesk::SetDataFolder("");
  EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "home/.local/share/prvdrinfo/");
  {
    ScopedEnv relative("XDG_DATA_HOME", "relative/data");  // ignored: XDG wants absolute
    EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "home/.local/share/prvdrinfo/");
  }
  ScopedEnv xdg("XDG_DATA_HOME", temp_.Path() + "xdg");
  EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "xdg/prvdrinfo/");
  ScopedEnv own("PRVDRINFO_DATA_DIR", temp_.Path() + "own");
  EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "own/");
  EXPECT_TRUE(std::filesystem::is_directory(temp_.Path() + "own"));
}

TEST_F(VeskDataFolder, AHostFolderWinsEndsWithASlashAndIsCreated) {
  ScopedEnv own("PRVDRINFO_DATA_DIR", temp_.Path() + "own");
  CVesk::SetDataFolder(temp_.Path() + "host/nested");
  EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "host/nested/");
  EXPECT_TRUE(std::filesystem::is_directory(temp_.Path() + "host/nested"));
  CVesk::SetDataFolder(temp_.Path() + "slash/");
  EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "slash/");
  CVesk::SetDataFolder("");
  EXPECT_EQ(CVesk::DataFolder(), temp_.Path() + "own/");
}

TEST_F(VeskDataFolder, ARelativeFolderIsMadeAbsoluteWhenSet) {
  const std::string expected = (std::filesystem::current_path() / "rel_data").string() + "/";
  CVesk::SetDataFolder("rel_data");
  EXPECT_EQ(CVesk::DataFolder(), expected);
  std::filesystem::remove_all(expected);
}

TEST_F(VeskDataFolder, BadFoldersAreClearErrors) {
  const CError nul = ErrorOf([] { CVesk::SetDataFolder("/tmp/a\0b"s); });
  EXPECT_EQ(nul.Number(), 5);
  EXPECT_EQ(nul.Description(), "The data folder path contains a NUL character.");

  std::ofstream(temp_.File("plain_file")) << "x";
  CVesk::SetDataFolder(temp_.File("plain_file"));
  const CError file = ErrorOf([] { CVesk::DataFolder(); });
  EXPECT_EQ(file.Number(), 75);
  EXPECT_EQ(file.Description().rfind(
                "Cannot create the data folder " + temp_.File("plain_file") + "/: ", 0),
            0u)
      << file.Description();
}

class VeskLog : public ::testing::Test {
 protected:
  ~VeskLog() override { CVesk::SetLogSink({}); }
  TempDir temp_;
};

TEST_F(VeskLog, AHostSinkReceivesClassAndMessage) {
  test::ScopedLogCapture capture;
  CVesk::Log("CProviderViewsDb", "Saving view GUID: X");
  CVesk::Log("", "a\0b\n\"quoted\""s);
  ASSERT_EQ(capture.Lines().size(), 2u);
  EXPECT_EQ(capture.Lines()[0].className, "CProviderViewsDb");
  EXPECT_EQ(capture.Lines()[0].message, "Saving view GUID: X");
  EXPECT_EQ(capture.Lines()[1].message, "a\0b\n\"quoted\""s);
}

TEST_F(VeskLog, ASinkThatThrowsDoesNotFailTheCaller) {
  CVesk::SetLogSink([](const std::string&, const std::string&) { throw std::runtime_error("x"); });
  EXPECT_NO_THROW(CVesk::Log("C", "m"));
}

TEST_F(VeskLog, TheDefaultSinkWritesOnlyWhereToldTo) {
  const std::string path = temp_.File("log.txt");
  {
    ScopedEnv off("PRVDRINFO_LOG", std::nullopt);
    ::testing::internal::CaptureStderr();
    CVesk::Log("C", "silent");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
  {
    ScopedEnv toFile("PRVDRINFO_LOG", path);
    CVesk::Log("CProviderView", "first");
    test::ScopedLogCapture capture;  // a host sink takes over ...
    CVesk::Log("CProviderView", "to the host");
  }  // ... and its end restores the default
  {
    ScopedEnv toFile("PRVDRINFO_LOG", path);
    CVesk::Log("modViewsDb", "second");
  }
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("Z CProviderView: first\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Z modViewsDb: second\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("to the host"), std::string::npos);
  EXPECT_EQ(text.find("silent"), std::string::npos);
  {
    ScopedEnv toStderr("PRVDRINFO_LOG", "stderr");
    ::testing::internal::CaptureStderr();
    CVesk::Log("C", "on stderr");
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Z C: on stderr\n"), std::string::npos);
  }
  {
    ScopedEnv unwritable("PRVDRINFO_LOG", temp_.File("missing/folder/log.txt"));
    EXPECT_NO_THROW(CVesk::Log("C", "lost"));
  }
}

TEST(VeskClock, AFixedClockAndTheSystemClock) {
  {
    test::ScopedClock fixed(45427.5);
    EXPECT_EQ(CVesk::Now(), 45427.5);
    EXPECT_EQ(CVesk::Now(), 45427.5);
  }
  test::ScopedTimeZone tz("EST5EDT,M3.2.0,M11.1.0");
  const double expected = DateService::UtcToLocal(DateService::FromUnixTime(std::time(nullptr)));
  EXPECT_LT(std::fabs(CVesk::Now() - expected) * 86400, 2.0);
}

TEST(VeskClock, AClockThatMisbehavesIsAClearError) {
  CVesk::SetClock([] { return std::nan(""); });
  const CError bad = ErrorOf([] { CVesk::Now(); });
  EXPECT_EQ(bad.Number(), 5);
  EXPECT_EQ(bad.Description().rfind("The clock gave an invalid date: ", 0), 0u);
  CVesk::SetClock([]() -> double { throw std::runtime_error("clock broke"); });
  const CError thrown = ErrorOf([] { CVesk::Now(); });
  EXPECT_EQ(thrown.Number(), err::kUnspecified);
  EXPECT_EQ(thrown.Description(), "clock broke");
  CVesk::SetClock({});
  EXPECT_TRUE(DateService::IsValidDate(CVesk::Now()));
}

}  // namespace
}  // namespace prvdrinfo
