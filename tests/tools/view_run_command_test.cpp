// prvdrinfo view run, on a real project database made with the table's own DDL, its
// output read back by the parsers a user's scripts would use.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/services/vesk.h"
#include "prvdrinfo/views/page_templates.h"
#include "prvdrinfo/views/provider_view.h"
#include "prvdrinfo/viewsdb/provider_views_db.h"
#include "support/built_tool.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using nlohmann::json;
using Outcome = test::ToolOutcome;

constexpr const char* kViewGuid = "5E0C9A11-7B2D-4C3E-8F40-A1B2C3D4E5F6";
constexpr const char* kTemplateGuid = "0F1E2D3C-4B5A-4968-8776-A5B4C3D2E1F0";
// Markup and a CSV field's special characters (a caption keeps no control character).
const std::string kHostileCaption = "<script>alert(1)</script>, \"Code\"";
// A value with a terminal escape sequence.
const std::string kEscape = "Z\x1b[2J";

// Shows Code (hostile caption), Price and Due; Qty hidden but filtered on (Qty > 0);
// sorted by Due, latest first.
std::shared_ptr<CProviderView> Worked() {
  auto view = std::make_shared<CProviderView>();
  view->SetGuid(kViewGuid);
  view->SetCaption("Items <&> due");
  view->SetProviderGuid("7D3C2F5E-0A41-4B8E-9C35-2E1F6A9B4D10");
  view->SetTemplateGuid(kTemplateGuid);
  const auto columns = view->Columns();
  columns->RemoveAll();
  columns->Add("Code")->SetCaption(kHostileCaption);
  columns->Column("Code")->SetWidthTwips(2880);
  columns->Add("Price")->SetCaption("Price");
  columns->Column("Price")->SetWidthTwips(1440);
  columns->Add("Due")->SetCaption("Due");
  columns->Column("Due")->SetWidthTwips(1000);
  columns->Add("Qty")->SetVisible(false);
  view->SortOrder()->Add("Due")->SetDirection(colsort_Descending);
  view->FilterGroups()->Add()->Add2("Qty", operator_GreaterThan, "0", logicop_And);
  return view;
}

// The rows the view shows, in its order, as the text and CSV forms print them.
const std::vector<std::vector<std::string>> kShown = {
    {kEscape, "", "2026-05-18T12:00:00"},
    {"Co,\"q\"\r\n<b>x</b>", "3.2500", "2026-04-18"},
    {"A-1", "-12.5000", "2026-03-19"},
    {"Old", "", "1899-12-29T06:00:00"},  // before 1899-12-30 the fraction still counts forward
};

class ViewRunCommand : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef PRVDRINFO_TOOL_PATH
    GTEST_SKIP() << "the prvdrinfo tool is not part of this build";
#else
    Write("items.json", R"({"table": "Items", "columns": [{"identifier": "Code", "type": "string"},
        {"identifier": "Price", "type": "currency"}, {"identifier": "Due", "type": "date"},
        {"identifier": "Qty", "type": "integer"}]})");
    const Outcome ddl = Run("ddl items.json --apply items.db");
    ASSERT_EQ(ddl.status, 0) << ddl.err;
    const auto db = Connection::Open(dir_.File("items.db"));
    auto insert = db->CreateCommand(
        "INSERT INTO \"Items\" (\"Code\", \"Price\", \"Due\", \"Qty\") VALUES (?, ?, ?, ?)");
    struct Row {
      const char* code;
      Variant price;
      double due;
      int32_t qty;
    };
    for (const Row& row : std::vector<Row>{{"A-1", Variant(-12.5), 46100, 1},
                                           {"Co,\"q\"\r\n<b>x</b>", Variant(3.25), 46130, 2},
                                           {"filtered out", Variant(1.0), 46200, 0},
                                           {kEscape.c_str(), Variant::Null(), 46160.5, 3},
                                           {"Old", Variant::Null(), -1.25, 1}}) {
      insert->SetText(1, row.code);
      insert->SetValue(2, row.price);
      insert->SetDouble(3, row.due);
      insert->SetLong(4, row.qty);
      insert->Execute();
    }
    const Bytes bytes = Worked()->Serialize();
    Write("items.view", std::string(bytes.begin(), bytes.end()));
    CPageTemplates templates;
    templates.AddTemplate(kTemplateGuid, pagetemplate_Custom, "Wide", papersize_A4,
                          paperorient_Landscape);
    const Bytes pages = templates.Serialize();
    Write("pages.bin", std::string(pages.begin(), pages.end()));
    // Reads standard input as a user's script would and prints what it parsed as JSON.
    Write(
        "csv_rows.py",
        "import csv, io, json, sys\n"
        "print(json.dumps(list(csv.reader(io.TextIOWrapper(sys.stdin.buffer, encoding='utf-8', newline='')))))\n");
    Write(
        "html_rows.py",
        "import json, sys\n"
        "from html.parser import HTMLParser\n"
        "class P(HTMLParser):\n"
        "  def __init__(s):\n"
        "    super().__init__(); s.tags=[]; s.open=[]; s.rows=[]; s.head=[]; s.sorted={}; s.style=''; s.title=''; s.cell=None\n"
        "  def handle_starttag(s, tag, attrs):\n"
        "    s.tags.append(tag); a=dict(attrs)\n"
        "    if tag not in ('meta','col'): s.open.append(tag)\n"
        "    if tag=='tr': s.rows.append([])\n"
        "    if tag in ('td','th'): s.cell=''\n"
        "    if tag=='th' and 'aria-sort' in a: s.sorted[str(len(s.rows[-1]))]=a['aria-sort']\n"
        "  def handle_endtag(s, tag):\n"
        "    assert s.open and s.open.pop()==tag, 'unbalanced ' + tag\n"
        "    if tag in ('td','th'): s.rows[-1].append(s.cell); s.cell=None\n"
        "  def handle_data(s, d):\n"
        "    if s.cell is not None: s.cell+=d\n"
        "    elif s.open and s.open[-1]=='style': s.style+=d\n"
        "    elif s.open and s.open[-1]=='title': s.title+=d\n"
        "p=P(); p.feed(sys.stdin.buffer.read().decode('utf-8')); p.close()\n"
        "assert not p.open, 'left open: ' + str(p.open)\n"
        "print(json.dumps({'tags': sorted(set(p.tags)), 'rows': p.rows, 'sorted': p.sorted, 'title': p.title,\n"
        "                  'page': [l for l in p.style.splitlines() if l.startswith('@page')]}))\n");
#endif
  }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.File(name), std::ios::binary) << text;
  }
  Outcome Run(const std::string& args, const test::ToolEnvironment& environment = {}) {
    return test::RunBuiltTool(dir_.Path(), args, environment);
  }
  // The tool's output, piped through a Python reader; its JSON.
  json Parsed(const std::string& args, const std::string& script) {
    const Outcome r = test::RunBuiltToolShell(dir_.Path(), "TOOL " + args + " | python3 " + script);
    EXPECT_EQ(r.status, 0) << r.err;
    return json::parse(r.out);
  }

  test::TempDir dir_;
};

constexpr const char* kRun = "view run items.view --db items.db --columns items.json";

TEST_F(ViewRunCommand, CsvRoundTripsThroughPythonsReaderWithCaptionsAsHeaders) {
  struct Case {
    std::string limit;
    size_t rows;
  };
  for (const Case& c : std::vector<Case>{{"", 4}, {" --limit 2", 2}, {" --limit 0", 0}}) {
    const json parsed = Parsed(std::string(kRun) + " --format csv" + c.limit, "csv_rows.py");
    std::vector<std::vector<std::string>> want{{kHostileCaption, "Price", "Due"}};
    want.insert(want.end(), kShown.begin(), kShown.begin() + static_cast<std::ptrdiff_t>(c.rows));
    EXPECT_EQ(parsed, json(want)) << c.limit;
  }
}

TEST_F(ViewRunCommand, HtmlParsesWithCaptionsAsTextWidthsPaperAndSortKeys) {
  const json parsed =
      Parsed(std::string(kRun) + " --format html --templates pages.bin", "html_rows.py");
  // The captions and values that look like markup stay text: no element comes from them.
  EXPECT_EQ(parsed["tags"], json({"body", "col", "colgroup", "h1", "head", "html", "meta", "style",
                                  "table", "tbody", "td", "th", "thead", "title", "tr"}));
  EXPECT_EQ(parsed["title"], "Items <&> due");
  std::vector<std::vector<std::string>> want{{kHostileCaption, "Price", "Due"}};
  want.insert(want.end(), kShown.begin(), kShown.end());
  // The terminal escape is no character HTML allows: it shows as U+FFFD.
  want[1][0] = "Z\xEF\xBF\xBD[2J";
  EXPECT_EQ(parsed["rows"], json(want));
  EXPECT_EQ(parsed["sorted"], json({{"2", "descending"}}));
  EXPECT_EQ(parsed["page"], json({"@page { size: A4 landscape; }"}));

  const Outcome html = Run(std::string(kRun) + " --format html");
  EXPECT_NE(
      html.out.find(
          "<col style=\"width: 144pt\">\n<col style=\"width: 72pt\">\n<col style=\"width: 50pt\">"),
      std::string::npos)
      << html.out;
  EXPECT_EQ(html.out.find("@page"), std::string::npos) << "no template given, the printer decides";
}

TEST_F(ViewRunCommand, JsonKeysRowsByColumnIdentifierWithTypedValues) {
  const Outcome r = Run(std::string(kRun) + " --format json --limit 2");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(r.out), json::parse(R"([
      {"Code": "Z\u001b[2J", "Price": null, "Due": "2026-05-18T12:00:00"},
      {"Code": "Co,\"q\"\r\n<b>x</b>", "Price": "3.2500", "Due": "2026-04-18"}])"));
  EXPECT_LT(r.out.find("\"Code\""), r.out.find("\"Price\"")) << "keys in the view's order";
}

TEST_F(ViewRunCommand, TableAlignsRowsAndQuotesWhatCouldSteerTheTerminal) {
  const Outcome r = Run(kRun);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('\r'), std::string::npos) << r.out;
  // Text columns to the left, currency to the right; the widest cell sets the width.
  const std::string want = R"(<script>alert(1)</script>, "Code"     Price  Due
---------------------------------  --------  -------------------
"Z\u001b[2J"                                 2026-05-18T12:00:00
"Co,\"q\"\r\n<b>x</b>"               3.2500  2026-04-18
A-1                                -12.5000  2026-03-19
Old                                          1899-12-29T06:00:00
(4 rows)
)";
  EXPECT_EQ(r.out, want);
}

TEST_F(ViewRunCommand, RunsAStoredViewOfTheViewsDatabase) {
  const std::string data = dir_.File("data/");
  std::filesystem::create_directories(data);
  CVesk::SetDataFolder(data);
  CProviderViewsDb().SaveView4(Worked(), false, viewtype_UserDefined);
  CVesk::SetDataFolder("");
  const std::string tail = " --db items.db --columns items.json --format csv";
  const json byFolder = Parsed(
      std::string("view run --view ") + kViewGuid + " --data-dir data/" + tail, "csv_rows.py");
  EXPECT_EQ(byFolder.size(), 5u);
  EXPECT_EQ(byFolder[1][0], kEscape);
  const Outcome byVariable =
      Run(std::string("view run --view ") + kViewGuid + tail, {{"PRVDRINFO_DATA_DIR", data}});
  EXPECT_EQ(byVariable.status, 0) << byVariable.err;
  EXPECT_EQ(byVariable.out.substr(byVariable.out.find("\r\n") + 2, kEscape.size()), kEscape);
}

TEST_F(ViewRunCommand, RefusesWhatItCannotRunAndNeverWritesTheDatabase) {
  test::ExpectRefusals(
      [this](const std::string& args) { return Run(args); },
      {
          {"view run items.view --db missing.db --columns items.json", 1,
           "prvdrinfo: missing.db: unable to open database file..."},
          {"view run items.view --db items.json --columns items.json", 1,
           "prvdrinfo: items.json: file is not a database..."},
          {std::string(kRun) + " --format xml", 2,
           "prvdrinfo: view run --format takes table, csv, json or html, not \"xml\"..."},
          {std::string(kRun) + " --view " + kViewGuid, 2,
           "prvdrinfo: view run --view takes no input..."},
          {std::string(kRun) + " --data-dir x", 2,
           "prvdrinfo: view run --data-dir goes with --view..."},
          {"view run items.view --columns items.json", 2, "prvdrinfo: --db is required..."},
      });
  EXPECT_FALSE(std::filesystem::exists(dir_.File("missing.db")));
}

// The demo leaves its view, table definition and database behind with --keep; the tool
// prints the rows the demo printed from them.
TEST_F(ViewRunCommand, PrintsTheRowsOfTheDemosView) {
  const Outcome demo = Run("demo --keep");
  ASSERT_EQ(demo.status, 0) << demo.err;
  const size_t kept = demo.out.rfind("Kept ");
  ASSERT_NE(kept, std::string::npos) << demo.out;
  const std::string folder = demo.out.substr(kept + 5, demo.out.find(".\n", kept) - kept - 5);
  const Outcome r = test::RunBuiltTool(
      folder + "/", "view run open-tasks.view --db view-demo.db --columns tasks.json --format csv");
  std::filesystem::remove_all(folder);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(demo.out.find("it selects:\n  Roof\n  Frame walls\n  O'Brien inspection\n"),
            std::string::npos);
  EXPECT_EQ(
      r.out,
      "Task,Due\r\nRoof,2026-05-18\r\nFrame walls,2026-04-18\r\nO'Brien inspection,2026-04-08\r\n");
}

}  // namespace
}  // namespace prvdrinfo
