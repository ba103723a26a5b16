// Runs the built prvdrinfo binary as a user would, on good and bad input.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/bag_test_classes.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#endif
  }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir_.File(name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // args are passed to the shell as written; stdinFile empty means no input.
  Result Run(const std::string& args, const std::string& stdinFile = "") {
#ifdef PRVDRINFO_TOOL_PATH
    const std::string command = std::string("'") + PRVDRINFO_TOOL_PATH + "' " + args + " <" +
                                (stdinFile.empty() ? "/dev/null" : stdinFile) + " >" + dir_.File("out") + " 2>" +
                                dir_.File("err");
    const int raw = std::system(command.c_str());
    Result result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = Read(dir_.File("out"));
    result.err = Read(dir_.File("err"));
    return result;
#else
    (void)args;
    (void)stdinFile;
    return {};
#endif
  }

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

TEST_F(ToolTest, DumpShowsKeysTypesAndValuesWithNestedObjectsIndented) {
  const std::string file = Write("sample.bag", SampleBag());
  for (const Result& r : {Run("bag dump " + file), Run("bag dump -", file), Run("bag dump", file)}) {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "property bag, " + std::to_string(SampleBag().size()) +
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
                  "Items: Bytes[26] d9d9f7836f7072766472696e666f2d6974656d7301818261" "6bf5\n"
                  "  keyed items (1 item)\n"
                  "  [0] k: Boolean True\n");
  }
}

TEST_F(ToolTest, DumpReadsKeyedItemsToo) {
  const std::string file =
      Write("items.bin", OneItem(Variant(int32_t{7}), ""));
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
      {"empty file", "bag dump " + Write("empty.bag", {}), "", "Invalid property bag contents: empty input"},
      {"empty stdin", "bag dump -", Write("empty2.bag", {}), "Invalid property bag contents: empty input"},
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
  EXPECT_NE(r.out.find("PRIMARY KEY(\"rec_guid\", \"Code\") , UNIQUE(\"Code\") )"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"trigger_Parts_CX1IVUUEQIHUW8W2DIJVS3B9O\""), std::string::npos);
  // Applying twice is harmless: every statement is IF NOT EXISTS.
  EXPECT_EQ(Run("ddl - --apply " + db, input).status, 0);

  const Result example = Run("ddl --example");
  EXPECT_EQ(example.status, 0);
  EXPECT_EQ(example.out.rfind("CREATE TABLE IF NOT EXISTS \"Tasks\"( \"rec_guid\" TEXT NOT NULL DEFAULT '',", 0), 0u);
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
      {"table with space", R"({"table": "A B", "columns": []})", "Table name cannot contain whitespace"},
      {"unknown type", R"({"table": "T", "columns": [{"identifier": "x", "type": "text"}]})",
       "unknown data type \"text\""},
      {"type out of range", R"({"table": "T", "columns": [{"identifier": "x", "type": 10}]})",
       "data type must be 0 to 9"},
      {"twice", R"({"table": "T", "columns": [{"identifier": "x", "type": 0}, {"identifier": "X", "type": 0}]})",
       "defined twice"},
      {"unknown index column", R"({"table": "T", "columns": [], "uniqueIndexes": [["nope"]]})", "no column \"nope\""},
      {"no stored column left", R"({"table": "T", "columns": [{"identifier": "rowid", "type": 5}]})", ""},
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

}  // namespace
}  // namespace prvdrinfo
