// prvdrinfo provider show and prvdrinfo providers save|show, run as a module author would.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../providers/test_provider.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/providers/providers_collection.h"
#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using Outcome = test::ToolOutcome;
using test::ReadText;

class ProviderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
#if !defined(PRVDRINFO_TOOL_PATH) || !defined(TASK_REGISTER_MODULE)
    GTEST_SKIP() << "the prvdrinfo tool or the example modules are not part of this build";
#endif
  }

  Outcome Run(const std::string& args) { return test::RunBuiltTool(dir_.Path(), args); }

  test::TempDir dir_;
};

#if defined(TASK_REGISTER_MODULE) && defined(CHANGE_ORDER_LOG_MODULE)
const std::string kTasksFile = TASK_REGISTER_MODULE;
const std::string kChangesFile = CHANGE_ORDER_LOG_MODULE;
#else
const std::string kTasksFile;
const std::string kChangesFile;
#endif
const std::string kTasks = "'" + kTasksFile + "'";
const std::string kChanges = "'" + kChangesFile + "'";
// Built with the tests: a module whose classes fail in their own ways, and one built for
// another contract version.
const std::string kProbe = std::string("'") + LOADER_PROBE_MODULE + "'";
const std::string kProbeV1 = std::string("'") + LOADER_PROBE_V1_MODULE + "'";

TEST_F(ProviderCommand, ShowsWhatAHostLearnsOfAModule) {
  const Outcome run = Run("provider show " + kTasks);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  for (const char* line : {
           "Tasks (Task): 7D2C4A1E-5B3F-4E60-9A7B-1C2D3E4F5061\n",
           "  module:       libtask_register.so, class CTaskRegister\n",
           "  category:     Construction\n",
           "  supports:     Delete, Descendable, Insert, Number, RecordStatus, Titled, Update\n",
           "  switches:     (none set); attachments Standard\n",
           "    NumberColumnGuid = 7D2C4A1E-5B3F-4E60-9A7B-000000000001\n",
           "  columns (3):\n",
           "    7D2C4A1E-5B3F-4E60-9A7B-000000000002  title  \"Title\"  string\n",
           "  views (2):\n",
       }) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
  }
}

TEST_F(ProviderCommand, JsonListsTheFlagsSwitchesAndRoleColumns) {
  const Outcome run = Run("provider show " + kChanges + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto document = nlohmann::json::parse(run.out);
  EXPECT_EQ(document["className"], "CChangeOrderLog");
  EXPECT_EQ(document["category"], "Certifier");
  EXPECT_EQ(document["supports"].size(), 27U);
  EXPECT_EQ(document["switches"]["IgnoreCounters"], true);
  EXPECT_EQ(document["switches"]["AttachmentsType"], "ShopDrawings");
  EXPECT_EQ(document["roleColumns"].size(), 25U);
  EXPECT_EQ(document["roleColumns"]["ReferenceShortMask"], "CO-[ExternalNumber]");
  EXPECT_EQ(document["views"][1]["caption"], "Open change orders");
  // Data types by the names table definitions use.
  const std::set<std::string> ddlTypes = {"string", "smartsort", "rtf",  "currency",
                                          "date",   "integer",   "real", "boolean",
                                          "blob",   "percentage"};
  for (const auto& column : document["columns"]) {
    EXPECT_EQ(ddlTypes.count(column["type"].get<std::string>()), 1U) << column.dump();
  }
}

TEST_F(ProviderCommand, SavesACollectionFileAndShowsIt) {
  const Outcome save = Run("providers save providers.bin " + kTasks + " " + kChanges);
  ASSERT_EQ(save.status, 0) << save.err;
  EXPECT_EQ(save.out, "Saved 2 providers to providers.bin.\n");
  const std::string bytes = ReadText(dir_.File("providers.bin"));
  CProvidersCollection collection;
  collection.Deserialize(Bytes(bytes.begin(), bytes.end()));
  ASSERT_EQ(collection.Count(), 2);
  EXPECT_EQ(collection.ProviderInfoShellByIndex(1)->ClassName(), "CChangeOrderLog");

  const Outcome show = Run("providers show providers.bin --json");
  ASSERT_EQ(show.status, 0) << show.err;
  const auto document = nlohmann::json::parse(show.out);
  ASSERT_EQ(document.size(), 2U);
  EXPECT_EQ(document[0]["pluralName"], "Tasks");
  EXPECT_EQ(document[1]["pluralName"], "Change Orders");
  const Outcome text = Run("providers show providers.bin");
  EXPECT_EQ(text.out,
            Run("provider show " + kTasks).out + "\n" + Run("provider show " + kChanges).out);

  // The same provider twice is refused, and the file stays as it was.
  const Outcome twice = Run("providers save providers.bin " + kTasks + " " + kTasks);
  EXPECT_EQ(twice.status, 1);
  EXPECT_NE(twice.err.find("This key is already associated"), std::string::npos) << twice.err;
  EXPECT_EQ(ReadText(dir_.File("providers.bin")), bytes);
}

TEST_F(ProviderCommand, RefusesWhatIsNoModuleOrNoClassOfIt) {
  std::ofstream(dir_.File("text.so")) << "not a module";
  struct Case {
    std::string args;
    int status;
    std::string message;
  };
  for (const Case& c : std::vector<Case>{
           {"provider show text.so", 1, "cannot load text.so"},
           {"provider show missing.so", 1, "cannot load missing.so"},
           {"provider show " + kTasks + " --class CDrawingLog", 1,
            "has no provider class CDrawingLog"},
           {"provider show " + kProbe, 1,
            "has no provider class CLoaderProbe (name it with --class)"},
           {"provider show " + kProbeV1, 1, "was built for provider contract version 1"},
           {"provider show", 2, "module is required"},
           {"provider show missing.so --check", 1, "cannot load missing.so"},
           {"provider show " + kProbe + " --check", 1,
            "has no provider class CLoaderProbe (name it with --class)"},
           {"provider show " + kTasks + " --check --json", 2,
            "provider show --check takes no --json"},
           {"providers show text.so", 1, "text.so: "},
           {"providers show nothing.bin", 1, "nothing.bin"},
       }) {
    const Outcome run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.args;
  }
}

// A provider whose construction fails stops the tool with the module's own message, on one
// line, and nothing half-printed.
TEST_F(ProviderCommand, AFailingProviderGivesTheModulesMessageOnOneLine) {
  for (const std::string& args : {"provider show " + kProbe + " --class CRefusing",
                                  "providers save providers.bin " + kTasks + " " + kProbe}) {
    const Outcome run = Run(args);
    EXPECT_EQ(run.status, 1) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_EQ(run.err.rfind("prvdrinfo: ", 0), 0U) << args << ": " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << args << ": " << run.err;
  }
  const Outcome refused = Run("provider show " + kProbe + " --class CRefusing");
  EXPECT_NE(refused.err.find(": creating CRefusing failed: The probe's register is closed."),
            std::string::npos)
      << refused.err;
  EXPECT_NE(Run("provider show " + kProbe + " --class CThrowingStd")
                .err.find("creating CThrowingStd failed: disk on fire"),
            std::string::npos);
}

// provider show --check: each problem on a line of its own that begins with what is at
// fault, then status 1 and a count on standard error; a module without any, one line and
// status 0. Each class of the lint probe breaks one rule and CClean none; CManyFaults
// breaks several, one of which keeps a shell from being cloned, and every one is reported.
// The same probe linked to the static library, or to no library, breaks the linkage rule.
TEST_F(ProviderCommand, CheckReportsEachProblemOnALineOfItsOwn) {
  const std::string probe = LINT_PROBE_MODULE;
  const std::string stale = "view \"Stale\" 5B7E1C2A-0D3F-4A61-9B8C-0000000000F2: ";
  const std::string staleColumn =
      stale +
      "5B7E1C2A-0D3F-4A61-9B8C-0000000000AA is no column of Columns() (as a column, as a "
      "sort key)";
  const std::string staleFilter =
      stale + "5B7E1C2A-0D3F-4A61-9B8C-0000000000BB is no column of Columns() (in a filter)";
  const std::string noShell13 =
      "shell: Clone fails with 13 \"Type mismatch\"; role columns not checked";
  const std::string noShell91 =
      "shell: Clone fails with 91 \"Object variable or With block variable not set\"; role "
      "columns not checked";
  struct Case {
    std::string module;
    std::string className;
    std::vector<std::string> lines;  // a line ending in "..." need only begin with the rest
  };
  for (const Case& c : std::vector<Case>{
           {probe, "CClean", {}},
           {kTasksFile, "CTaskRegister", {}},
           {kChangesFile, "CChangeOrderLog", {}},
           {probe,
            "CStrayRole",
            {"role column TitleColumnGuid: \"5B7E1C2A-0D3F-4A61-9B8C-0000000000AA\\u001b[2J\" is "
             "no column of Columns()"}},
           {probe,
            "CHalfAttached",
            {"IProviderAttach2: implemented without IProviderAttach, IProviderAttach3; a provider "
             "with one attachment interface needs all three (a shell's Clone fails with 13)",
             noShell13}},
           {probe,
            "CColumnsWithoutAttach",
            {"IProviderAttach2, IProviderAttach3: implemented without IProviderAttach; a provider "
             "with one attachment interface needs all three"}},
           {probe,
            "CNoColumns",
            {"Columns(): no column set (null); a shell's Clone fails with 91", noShell91}},
           {probe,
            "CNoViews",
            {"Views(): no view collection (null); a shell's Clone fails with 91", noShell91}},
           {probe,
            "CRepeatedGuid",
            {"column GUID REC_GUID: 2 columns have it (identifiers record_guid_copy, rec_guid)"}},
           {probe,
            "CRepeatedIdentifier",
            {"column identifier title: 2 columns have it (GUIDs "
             "5B7E1C2A-0D3F-4A61-9B8C-000000000001, 5B7E1C2A-0D3F-4A61-9B8C-000000000004)"}},
           {probe, "CStaleView", {staleColumn, staleFilter}},
           {probe,
            "CManyFaults",
            {"IProviderAttach: implemented without IProviderAttach2, IProviderAttach3; ...",
             noShell13,
             "column identifier amount: 2 columns have it (GUIDs "
             "5B7E1C2A-0D3F-4A61-9B8C-000000000002, 5B7E1C2A-0D3F-4A61-9B8C-000000000004)",
             staleColumn, staleFilter}},
           {LINT_PROBE_STATIC_MODULE,
            "CClean",
            {"linkage: linked to the static library: the module defines ..."}},
           {LINT_PROBE_UNLINKED_MODULE,
            "CClean",
            {"linkage: the module does not name the shared library libprvdrinfo.so..."}},
       }) {
    SCOPED_TRACE(c.className + " of " + c.module);
    const Outcome run = Run("provider show '" + c.module + "' --class " + c.className + " --check");
    const std::string subject = c.module + ", class " + c.className;
    EXPECT_TRUE(test::SafeForTerminal(run.out)) << run.out;
    if (c.lines.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.out, subject + ": no problems found\n");
      EXPECT_EQ(run.err, "");
      continue;
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "prvdrinfo: " + subject + ": " + std::to_string(c.lines.size()) +
                           (c.lines.size() == 1 ? " problem\n" : " problems\n"));
    std::vector<std::string> lines;
    std::istringstream out(run.out);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), c.lines.size()) << run.out;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string& want = c.lines[i];
      const bool prefix = want.size() >= 3 && want.compare(want.size() - 3, 3, "...") == 0;
      if (prefix) {
        EXPECT_EQ(lines[i].rfind(want.substr(0, want.size() - 3), 0), 0U) << lines[i];
      } else {
        EXPECT_EQ(lines[i], want);
      }
    }
  }
}

// Saving replaces a regular file only: a link or a device named as the target stays.
TEST_F(ProviderCommand, SaveRefusesATargetThatIsNoRegularFile) {
  std::ofstream(dir_.File("kept.bin")) << "kept";
  std::filesystem::create_symlink(dir_.File("kept.bin"), dir_.File("link.bin"));
  ASSERT_EQ(::mkfifo(dir_.File("pipe.bin").c_str(), 0600), 0);
  for (const char* target : {"link.bin", "pipe.bin"}) {
    SCOPED_TRACE(target);
    const auto before = std::filesystem::symlink_status(dir_.File(target)).type();
    const Outcome run = Run(std::string("providers save ") + target + " " + kTasks);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, std::string("prvdrinfo: cannot write ") + target +
                           ": it exists and is not a regular file\n");
    EXPECT_EQ(std::filesystem::symlink_status(dir_.File(target)).type(), before);
  }
  EXPECT_EQ(ReadText(dir_.File("kept.bin")), "kept");
}

// Bytes that are some other document are refused; an empty collection is no error.
TEST_F(ProviderCommand, ShowRefusesBytesThatAreNoProvidersCollection) {
  PropertyBag other;
  other.WriteProperty("Caption", std::string("a view, say"));
  const Bytes otherBytes = other.Contents();
  const Bytes emptyBytes = CProvidersCollection().Serialize();
  for (const auto& [name, bytes] :
       {std::pair{"other.bin", otherBytes}, {"empty.bin", emptyBytes}}) {
    std::ofstream(dir_.File(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  const Outcome other_ = Run("providers show other.bin");
  EXPECT_EQ(other_.status, 1);
  EXPECT_EQ(other_.out, "");
  EXPECT_EQ(other_.err, "prvdrinfo: other.bin: not a providers collection (no \"Providers\")\n");
  const Outcome empty = Run("providers show empty.bin");
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(empty.out, "No providers.\n");
}

// A collection file is input like any other: what it holds reaches the terminal without
// control characters.
TEST_F(ProviderCommand, PrintsNoControlCharactersFromAFile) {
  struct Escaping : testing::TestProvider {
    std::string Description() const override {
      return "red \x1b[31m alert \xc2\x9b"
             "2J";
    }
  };
  CProvidersCollection collection;
  collection.Add(std::make_shared<Escaping>());
  const Bytes bytes = collection.Serialize();
  std::ofstream(dir_.File("escaping.bin"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  for (const char* args : {"providers show escaping.bin", "providers show escaping.bin --json"}) {
    SCOPED_TRACE(args);
    const Outcome run = Run(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(test::SafeForTerminal(run.out)) << run.out;
    EXPECT_NE(run.out.find("red \\u001b[31m alert \\u009b2J\""), std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace prvdrinfo
