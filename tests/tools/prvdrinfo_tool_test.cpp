// Runs the built prvdrinfo binary as a user would, on good and bad input.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/bag_test_classes.h"
#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using Result = test::ToolOutcome;
using test::ReadText;

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#endif
  }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir_.File(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // args are passed to the shell as written; stdinFile empty means no input; stdoutTo
  // empty means standard output is captured, else it is the shell redirection to use.
  Result Run(const std::string& args, const std::string& stdinFile = "",
             const std::string& stdoutTo = "") {
    return test::RunBuiltTool(dir_.Path(),
                              args + (stdinFile.empty() ? "" : " <" + stdinFile) + " " + stdoutTo);
  }

  // A shell line in which TOOL stands for the tool.
  Result Shell(const std::string& line) { return test::RunBuiltToolShell(dir_.Path(), line); }

  test::TempDir dir_;
};

// A keyed collection's Content with one item.
Bytes OneItem(const Variant& item, std::string_view key) {
  KeyedCollection items;
  items.Add(item, key);
  return items.Content();
}

Bytes SampleBag() {
  testing::RegisterBagTestClasses();
  auto point = std::make_shared<testing::TestPoint>();
  point->x = 4;
  point->label = "tab\there";
  PropertyBag bag;
  bag.WriteProperty("Caption", "Register \"A\"");
  bag.WriteProperty("Kind", int16_t{3});
  bag.WriteProperty("Count", int32_t{-2});
  bag.WriteProperty("Rate", Currency::FromString("0.0001"));
  bag.WriteProperty("Due", Variant::FromDate(36526.75));
  bag.WriteProperty("Blob", Bytes{0x00, 0xAB});
  bag.WriteProperty("Point", point);
  bag.WriteProperty("None", std::shared_ptr<IObject>());
  bag.WriteProperty("Items", OneItem(Variant(true), "k"));
  return bag.Contents();
}

TEST_F(ToolTest, VersionIsPrinted) {
  const Result r = Run("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("prvdrinfo ", 0), 0u) << r.out;
}

TEST_F(ToolTest, EveryCommandsHelpShowsExamples) {
  struct Case {
    const char* command;
    bool dataFolder;  // works on the data folder: says how to name it
  };
  for (const Case& c : {Case{"bag dump", false},
                        {"demo", false},
                        {"ddl", false},
                        {"filter sql", false},
                        {"view show", false},
                        {"view sql", false},
                        {"view run", true},
                        {"provider show", false},
                        {"providers save", false},
                        {"providers show", false},
                        {"views list", true},
                        {"views show", true},
                        {"views export", true},
                        {"views import", true},
                        {"views delete", true},
                        {"db info", true},
                        {"db check", true},
                        {"db maintain", true}}) {
    SCOPED_TRACE(c.command);
    const Result help = Run(std::string(c.command) + " --help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("Examples:\n  prvdrinfo "), std::string::npos) << help.out;
    EXPECT_EQ(help.out.find("--data-dir") != std::string::npos, c.dataFolder) << help.out;
    EXPECT_EQ(help.out.find("PRVDRINFO_DATA_DIR") != std::string::npos, c.dataFolder) << help.out;
  }
}

TEST_F(ToolTest, DumpShowsKeysTypesAndValuesWithNestedObjectsIndented) {
  const std::string file = Write("sample.bag", SampleBag());
  for (const Result& r :
       {Run("bag dump " + file), Run("bag dump -", file), Run("bag dump", file)}) {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "property bag, " + std::to_string(SampleBag().size()) +
                         " bytes, 9 entries\n"
                         "Caption: Text \"Register \\\"A\\\"\"\n"
                         "Kind: Integer 3\n"
                         "Count: Long -2\n"
                         "Rate: Currency 0.0001\n"
                         "Due: Date 36526.75 (2000-01-01 18:00:00)\n"
                         "Blob: Bytes[2] 00ab\n"
                         "Point: Object TestPoint (2 entries)\n"
                         "  X: Long 4\n"
                         "  Label: Text \"tab\\there\"\n"
                         "None: Object Nothing\n"
                         "Items: Bytes[26]\n"
                         "  keyed items (1 item)\n"
                         "  [0] k: Boolean True\n");
  }
}

TEST_F(ToolTest, DumpReadsKeyedItemsToo) {
  const std::string file = Write("items.bin", OneItem(Variant(int32_t{7}), ""));
  const Result r = Run("bag dump " + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "keyed items, 25 bytes, 1 item\n[0] (no key): Long 7\n");
}

TEST_F(ToolTest, BadInputGivesOneLineErrorAndStatusOne) {
  Bytes truncated = SampleBag();
  truncated.pop_back();
  struct Case {
    const char* what;
    std::string args;
    std::string stdinFile;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"missing file", "bag dump " + dir_.File("absent.bag"), "", "cannot read"},
      {"empty file", "bag dump " + Write("empty.bag", {}), "",
       "Invalid property bag contents: empty input"},
      {"empty stdin", "bag dump -", Write("empty2.bag", {}),
       "Invalid property bag contents: empty input"},
      {"text file", "bag dump " + Write("text.bag", Bytes{'h', 'i', '\n'}), "",
       "Invalid property bag contents: not a property bag"},
      {"truncated bag", "bag dump " + Write("cut.bag", truncated), "",
       "Invalid property bag contents: input ends too early"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Result r = Run(c.args, c.stdinFile);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");  // nothing half-printed
    EXPECT_EQ(r.err.rfind("prvdrinfo: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // exactly one line
  }
}

TEST_F(ToolTest, DemoRunsAndDumpsItsSampleBag) {
  const Result r = Run("demo");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("== Step 1:"), std::string::npos);
  EXPECT_NE(r.out.find("Object DemoPoint"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("encode again identically: yes"), std::string::npos) << r.out;
  // The view's filter really runs: the rows after the date and the one matched by title.
  EXPECT_NE(r.out.find("it selects:\n  Roof\n  Frame walls\n  O'Brien inspection\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Criteria is not a valid literal for column 'Due'."), std::string::npos)
      << r.out;
  // A second collection follows the views database through refreshes.
  EXPECT_NE(r.out.find("the refresh holds: \"Late tasks\" (counter 20);"), std::string::npos)
      << r.out;
}

TEST_F(ToolTest, DdlPrintsAndAppliesATableDefinition) {
  const std::string json = R"({"table": "Parts", "columns": [
      {"identifier": "Code", "type": "string", "required": true},
      {"identifier": "Price", "type": "currency"},
      {"identifier": "Count", "type": 5}],
    "uniqueIndexes": [["Code"]], "primaryKey": ["Code"]})";
  const std::string input = Write("parts.json", Bytes(json.begin(), json.end()));
  const std::string db = dir_.File("parts.db");
  const Result r = Run("ddl " + input + " --apply " + db);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("CREATE TABLE IF NOT EXISTS \"Parts\"("), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"Code\" TEXT NOT NULL, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("PRIMARY KEY(\"rec_guid\", \"Code\") , UNIQUE(\"Code\") )"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"trigger_Parts_CX1IVUUEQIHUW8W2DIJVS3B9O\""), std::string::npos);
  // Applying twice is harmless: every statement is IF NOT EXISTS.
  EXPECT_EQ(Run("ddl - --apply " + db, input).status, 0);

  const Result example = Run("ddl --example");
  EXPECT_EQ(example.status, 0);
  EXPECT_EQ(example.out.rfind(
                "CREATE TABLE IF NOT EXISTS \"Tasks\"( \"rec_guid\" TEXT NOT NULL DEFAULT '',", 0),
            0u);
}

TEST_F(ToolTest, DdlRejectsBadDefinitionsOnOneLine) {
  struct Case {
    const char* what;
    std::string json;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"broken JSON", R"({"table": )", "invalid JSON"},
      {"not an object", R"([1, 2])", "must be a JSON object"},
      {"no table", R"({"columns": []})", "missing \"table\""},
      {"blank table", R"({"table": " ", "columns": []})", "Table Name cannot be blank."},
      {"table with space", R"({"table": "A B", "columns": []})",
       "Table name cannot contain whitespace"},
      {"unknown type", R"({"table": "T", "columns": [{"identifier": "x", "type": "text"}]})",
       "unknown data type \"text\""},
      {"type out of range", R"({"table": "T", "columns": [{"identifier": "x", "type": 10}]})",
       "data type must be 0 to 9"},
      {"twice",
       R"({"table": "T", "columns": [{"identifier": "x", "type": 0}, {"identifier": "X", "type": 0}]})",
       "defined twice"},
      {"unknown index column", R"({"table": "T", "columns": [], "uniqueIndexes": [["nope"]]})",
       "no column \"nope\""},
      {"no stored column left",
       R"({"table": "T", "columns": [{"identifier": "rowid", "type": 5}]})", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Result r = Run("ddl -", Write("bad.json", Bytes(c.json.begin(), c.json.end())));
    if (c.message.empty()) {
      EXPECT_EQ(r.status, 0) << r.err;  // the standard columns are still there
      continue;
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
}

// ---------------------------------------------------------------------------------------
// Hostile use: crafted inputs, made here at run time, and misuse of the arguments.

// CBOR text of a length below 256 (the byte format is in docs/property-bag.md).
Bytes CborText(const std::string& text) {
  Bytes bytes = text.size() < 24 ? Bytes{static_cast<uint8_t>(0x60 + text.size())}
                                 : Bytes{0x78, static_cast<uint8_t>(text.size())};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// A bag whose one entry, under key, is a nested object of the class named, with no properties.
Bytes BagWithObject(const std::string& key, const std::string& className) {
  Bytes bytes = {0xD9, 0xD9, 0xF7, 0x83};
  for (const Bytes& part : {CborText("prvdrinfo-bag"), Bytes{0x01, 0xA1}, CborText(key),
                            Bytes{0xD9, 0x6F, 0x00, 0x82}, CborText(className), Bytes{0xA0}}) {
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return bytes;
}

std::string TableJson(const std::string& table, int columns) {
  std::string json = R"({"table": ")" + table + R"(", "columns": [)";
  for (int i = 0; i < columns; ++i) {
    json += std::string(i ? ", " : "") + R"({"identifier": "c)" + std::to_string(i) +
            R"(", "type": "integer"})";
  }
  return json + "]}";
}

const char* kPartsJson = R"({"table": "Parts", "columns": [
    {"identifier": "Code", "type": "string", "required": true},
    {"identifier": "Price", "type": "currency"}], "primaryKey": ["Code"]})";

// Nothing that reaches the terminal may steer it: no control characters but line ends, no
// C1 controls, no bytes that are no UTF-8 lead or continuation.
bool TerminalSafe(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if ((c < 0x20 && c != '\n' && c != '\r') || c == 0x7F || c >= 0xF5 || c == 0xC0 || c == 0xC1)
      return false;
    if (c == 0xC2 && next >= 0x80 && next <= 0x9F) return false;
  }
  return true;
}

TEST_F(ToolTest, HostileUseFailsOnOneNamingLineOrPrintsSafely) {
  const std::string sample = Write("sample.bag", SampleBag());
  const std::string parts =
      Write("parts.json", Bytes(kPartsJson, kPartsJson + std::strlen(kPartsJson)));
  const std::string folder = dir_.File("folder");
  std::filesystem::create_directory(folder);
  // The bag's start, then zeros up to one byte over the default limit (a sparse file).
  const std::string huge = Write("huge.bag", Bytes{0xD9, 0xD9, 0xF7, 0x83});
  std::filesystem::resize_file(huge, (uint64_t{16} << 20) + 1);
  const std::string json2001 = TableJson("Wide", 1996), json2000 = TableJson("Wide", 1995);
  const std::string logJson = R"({"table": "cx1ivuueqihuw8w2dijvs3b9o", "columns": []})";
  const std::string badUtf8 = "{\"table\": \"\xff\x1b[31m";

  struct Case {
    const char* what;
    std::string args;
    int status;
    std::string pattern;  // in standard error on failure, else in standard output
    std::string stdinFile = "";
    std::string stdoutTo = "";
  };
  const std::vector<Case> cases = {
      // Files that are no files, and input too large.
      {"directory to dump", "bag dump " + folder, 1, "cannot read " + folder + ": Is a directory"},
      {"directory as definition", "ddl " + folder, 1, "cannot read " + folder + ": Is a directory"},
      {"endless zeros", "bag dump /dev/zero", 1,
       "/dev/zero: Invalid property bag contents: not a property bag"},
      {"over the default limit", "bag dump " + huge, 1,
       huge + " is larger than the limit of 16777216 bytes"},
      {"over a given limit", "bag dump --max-bytes 10 " + sample, 1,
       sample + " is larger than the limit of 10 bytes; --max-bytes raises it"},
      {"limit raised", "bag dump --max-bytes " + std::to_string(SampleBag().size()) + " " + sample,
       0, "Caption: Text"},
      {"bytes undecodable", "bag dump -", 1,
       "standard input: Invalid property bag contents: not a property bag",
       Write("text.bag", Bytes{'h', 'i', '\n'})},
      // Forged names: quoted as texts are, never raw on the terminal.
      {"escape in a class name",
       "bag dump " + Write("cls.bag", BagWithObject("A", "\x1b[2J\nproperty bag, 1 bytes")), 0,
       "A: Object \"\\u001b[2J\\nproperty bag, 1 bytes\" (0 entries)\n"},
      {"C1 control in a class name",
       "bag dump " + Write("c1.bag", BagWithObject("A",
                                                   "X\xc2\x9b"
                                                   "31m")),
       0, "A: Object \"X\\u009b31m\" (0 entries)\n"},
      {"C1 control in a key",
       "bag dump " + Write("key.bag", BagWithObject("K\xc2\x9b"
                                                    "2J",
                                                    "T")),
       0, "\"K\\u009b2J\": Object T (0 entries)\n"},
      // Definitions SQLite would refuse, refused when the statements are made.
      {"more columns than SQLite takes",
       "ddl " + Write("wide.json", Bytes(json2001.begin(), json2001.end())), 1,
       "wide.json: table Wide has 1996 columns besides the standard ones, more than SQLite allows in a table (2000"},
      {"as many columns as SQLite takes",
       "ddl " + Write("wide2.json", Bytes(json2000.begin(), json2000.end())), 0,
       "\"c1994\" INTEGER"},
      {"the deletion log's name", "ddl " + Write("log.json", Bytes(logJson.begin(), logJson.end())),
       1, "log.json: the table name cx1ivuueqihuw8w2dijvs3b9o is the deletion log's own"},
      {"JSON that is no UTF-8", "ddl " + Write("bad.json", Bytes(badUtf8.begin(), badUtf8.end())),
       1, "bad.json: invalid JSON: "},
      // Databases that are none.
      {"apply to a text file",
       "ddl " + parts + " --apply " + Write("text.db", Bytes{'h', 'i', '\n'}), 1,
       "text.db: file is not a database (nothing changed)"},
      {"apply to a directory", "ddl " + parts + " --apply " + folder, 1,
       "cannot apply to " + folder + ": it is a directory"},
      // Usage errors.
      {"unknown command", "frob", 2,
       "unknown command \"frob\" for prvdrinfo (commands: bag, demo, ddl, filter, view, provider, providers, views, db)"},
      {"unknown bag command", "bag frob", 2,
       "unknown command \"frob\" for prvdrinfo bag (commands: dump)"},
      {"example with a file", "ddl --example " + parts, 2,
       "ddl --example takes no input, but " + parts + " was given"},
      {"apply to no name", "ddl --example --apply ''", 2, "ddl --apply needs a database file name"},
      {"no input name", "ddl ''", 2, "the input file name is empty"},
      {"limit of nothing", "bag dump --max-bytes 0 " + sample, 2, "--max-bytes"},
      // Output that does not arrive.
      {"version to a full disk", "--version", 1,
       "cannot write to standard output: No space left on device", "", ">/dev/full"},
      {"help to a full disk", "--help", 1,
       "cannot write to standard output: No space left on device", "", ">/dev/full"},
      {"demo to a full disk", "demo", 1, "cannot write to standard output: No space left on device",
       "", ">/dev/full"},
      {"ddl to a full disk", "ddl --example", 1,
       "cannot write to standard output: No space left on device", "", ">/dev/full"},
      {"dump to a full disk", "bag dump " + sample, 1,
       "cannot write to standard output: No space left on device", "", ">/dev/full"},
      {"ddl to a closed output", "ddl --example", 1,
       "cannot write to standard output: Bad file descriptor", "", ">&-"},
      {"dump to a closed output", "bag dump " + sample, 1,
       "cannot write to standard output: Bad file descriptor", "", ">&-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Result r = Run(c.args, c.stdinFile, c.stdoutTo);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_TRUE(TerminalSafe(r.out)) << r.out.substr(0, 2000);
    EXPECT_TRUE(TerminalSafe(r.err)) << r.err;
    if (c.status == 0) {
      EXPECT_NE(r.out.find(c.pattern), std::string::npos) << r.out.substr(0, 2000);
      continue;
    }
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("prvdrinfo: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.pattern), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
}

TEST_F(ToolTest, DumpPrintsEachNestedDocumentOnce) {
  // Twenty documents, each stored as bytes in the next: every level used to print all
  // the levels inside it again in hex.
  Bytes bytes(100000, 0x41);
  for (int level = 0; level < 20; ++level) {
    PropertyBag bag;
    bag.WriteProperty("Inner", bytes);
    bytes = bag.Contents();
  }
  const Result r = Run("bag dump " + Write("deep.bag", bytes));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out.rfind(
          "property bag, " + std::to_string(bytes.size()) + " bytes, 1 entry\nInner: Bytes[", 0),
      0u);
  EXPECT_NE(r.out.find("\n  property bag (1 entry)\n  Inner: Bytes["), std::string::npos);
  EXPECT_LT(r.out.size(), 3 * bytes.size());  // the innermost levels once, in hex
}

TEST_F(ToolTest, DumpRefusesWhatIsNoDocumentBeforeReadingTheRest) {
  // Standard input shares its file position with the shell, so what the tool left unread
  // is still there for the next command.
  const std::string file = Write("zeros.bin", {});
  std::filesystem::resize_file(file, 1 << 20);
  const Result r = Shell("{ TOOL bag dump - 2>/dev/null; cat | wc -c; } <" + file);
  EXPECT_EQ(r.out.substr(0, r.out.find_first_not_of("0123456789")), std::to_string((1 << 20) - 3))
      << r.out;
}

TEST_F(ToolTest, ApplyChangesTheFileCompletelyOrNotAtAll) {
  const std::string parts =
      Write("parts.json", Bytes(kPartsJson, kPartsJson + std::strlen(kPartsJson)));
  const std::string logJson = R"({"table": "CX1IVUUEQIHUW8W2DIJVS3B9O", "columns": []})";
  const std::string logDefinition = Write("log.json", Bytes(logJson.begin(), logJson.end()));
  struct Case {
    const char* what;
    std::string prepare;  // run on the file first; empty: the file is missing
    std::string definition;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"a table of that name with other columns", "CREATE TABLE Parts (rec_guid TEXT, x INTEGER)",
       parts, 1,
       "table Parts already exists with other columns (missing \"hidden\", \"updates\", \"modified\", "
       "\"created\", \"Code\", \"Price\"; declared otherwise: \"rec_guid\"; not in the definition: \"x\")"},
      {"a trigger of that name doing something else", "tool", parts, 1,
       "trigger trigger_Parts_created already exists and differs from the definition"},
      {"the deletion log's name", "CREATE TABLE t (a)", logDefinition, 1,
       "is the deletion log's own"},
      {"the deletion log's name on a new file", "", logDefinition, 1, "is the deletion log's own"},
      {"a deletion log without its columns", "CREATE TABLE CX1IVUUEQIHUW8W2DIJVS3B9O (a)", parts, 1,
       "The deletion log has no column"},
      {"the same table again", "tool", parts, 0,
       "already holds table Parts as defined; nothing changed.\n"},
  };
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string db = dir_.File("apply" + std::to_string(++number) + ".db");
    if (c.prepare == "tool") {
      ASSERT_EQ(Run("ddl " + parts + " --apply " + db).status, 0);
      if (c.status != 0) {
        Connection::Open(db)->Execute(
            "DROP TRIGGER trigger_Parts_created; CREATE TRIGGER trigger_Parts_created AFTER INSERT ON Parts "
            "BEGIN SELECT 1; END");
      }
    } else if (!c.prepare.empty()) {
      Connection::Open(db)->Execute(c.prepare);
    }
    const std::string before = ReadText(db);
    const Result r = Run("ddl " + c.definition + " --apply " + db);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.prepare.empty()) {
      EXPECT_FALSE(std::filesystem::exists(db));
    } else {
      EXPECT_EQ(ReadText(db), before);  // byte for byte
    }
    if (c.status != 0) {
      EXPECT_EQ(r.out, "");
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
