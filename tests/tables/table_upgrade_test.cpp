#include "prvdrinfo/tables/table_upgrade_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"
#include "upgrade_test_tables.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;
using upgrade_test::Col;
using upgrade_test::Def;
using upgrade_test::Definition;
using upgrade_test::Dump;
using upgrade_test::MakeTable;
using upgrade_test::Rows;
using Kind = TableUpgradeStep::Kind;

// Items: Title (text, required), Qty (text), Due (date); three rows G1..G3.
const Def kItems{{{"Title", "Title", datatype_String, true},
                  {"Qty", "Qty", datatype_String},
                  {"Due", "Due", datatype_DateUtc}}};
constexpr const char* kThreeRows =
    "INSERT INTO Items (rec_guid, Title, Qty, Due) VALUES ('G1', 'a', '12', 45000.5), ('G2', 'b', ' 7', NULL), "
    "('G3', 'c', '3.0', 45001)";

Def With(Def def, std::initializer_list<Col> more) {
  for (const auto& column : more) def.columns.push_back(column);
  return def;
}

Def Without(Def def, const std::string& guid) {
  std::erase_if(def.columns, [&](const Col& c) { return c.guid == guid; });
  return def;
}

Def Changed(Def def, const std::string& guid, Col column) {
  for (auto& c : def.columns) {
    if (c.guid == guid) c = column;
  }
  return def;
}

std::vector<Kind> KindsOf(const TableUpgradePlan& plan) {
  std::vector<Kind> kinds;
  for (const auto& step : plan.Steps()) kinds.push_back(step.StepKind());
  return kinds;
}

// The indexes and triggers by name with their statements, and the table's own statement.
std::vector<std::string> Objects(Connection& db, const std::string& where) {
  return Rows(
      db,
      "SELECT type, name, sql FROM sqlite_master WHERE tbl_name='Items' AND sql IS NOT NULL AND " +
          where + " ORDER BY name");
}

// After an upgrade the table must work as a fresh one does: the triggers keep the standard
// columns, the counter goes on from the highest value, deletions reach the log.
void ExpectTriggersWork(Connection& db, const CProviderTableDef& def) {
  const int64_t highest = db.OpenRecordset("SELECT MAX(updates) FROM Items")->Int64(0);
  std::string columns = "Title", values = "'new'";
  for (const auto& column : *def.Columns()->ProviderSpecific()) {
    const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(column);
    if (stored->Identifier() == "Title" || !def.Columns()->Required()->ExistsByGuid(stored->Guid()))
      continue;
    columns += ", \"" + stored->Identifier() + "\"";
    values += ", 'new " + stored->Identifier() + "'";
  }
  db.Execute("INSERT INTO Items (" + columns + ") VALUES (" + values + ")");
  auto added =
      db.OpenRecordset("SELECT rec_guid, created, updates, rowid FROM Items WHERE Title='new'");
  const std::string guid = added->Value(0).ToText();
  EXPECT_EQ(guid.size(), 32u);
  EXPECT_FALSE(added->Value(1).ToText().empty());
  EXPECT_GT(added->Int64(2), highest);
  const int64_t afterInsert = db.OpenRecordset("SELECT MAX(updates) FROM Items")->Int64(0);
  db.Execute("UPDATE Items SET hidden=1 WHERE rec_guid='" + guid + "'");
  auto updated =
      db.OpenRecordset("SELECT modified, updates FROM Items WHERE rec_guid='" + guid + "'");
  EXPECT_FALSE(updated->Value(0).ToText().empty());
  EXPECT_GT(updated->Int64(1), afterInsert);
  db.Execute("DELETE FROM Items WHERE rec_guid='" + guid + "'");
  EXPECT_EQ(Rows(db, std::string("SELECT table_name FROM ") + CDbFactory::kDeletionLogTable +
                         " WHERE rec_guid='" + guid + "'"),
            std::vector<std::string>{"Items"});
}

TEST(TableUpgrade, EachChangeTakesItsStepsAndKeepsTheRows) {
  struct Case {
    const char* name;
    Def before;
    Def after;
    bool withPrevious;
    const char* setup;  // run after the three rows went in
    std::vector<Kind> kinds;
    const char* describes;  // part of the plan's description
    const char* query;
    std::vector<std::string> rows;
  };
  Def unique = kItems;
  unique.uniques = {{"Title"}};
  Def keyed = kItems;
  keyed.key = {"Title"};
  Def withStatus = kItems;
  withStatus.requiredRecordStatus = true;
  const Col quantity{"Qty", "Quantity", datatype_String};

  for (
      const Case& c : std::initializer_list<Case>{
          {"nothing changes",
           kItems,
           kItems,
           true,
           "",
           {},
           "table Items: nothing to do",
           "SELECT quote(Title), quote(Qty), quote(Due) FROM Items ORDER BY rowid",
           {"'a'|'12'|45000.5", "'b'|' 7'|NULL", "'c'|'3.0'|45001.0"}},
          {"a nullable column added",
           kItems,
           With(kItems, {{"Note", "Note", datatype_String}}),
           false,
           "",
           {TableUpgradeStep::kAddColumn},
           "add column Items.Note TEXT",
           "SELECT quote(Title), quote(Note) FROM Items ORDER BY rowid",
           {"'a'|NULL", "'b'|NULL", "'c'|NULL"}},
          {"a column with a default added",
           kItems,
           withStatus,
           false,
           "",
           {TableUpgradeStep::kAddColumn},
           "add column Items.record_status TEXT NOT NULL DEFAULT ''",
           "SELECT quote(record_status) FROM Items ORDER BY rowid",
           {"''", "''", "''"}},
          {"a column removed",
           kItems,
           Without(kItems, "Due"),
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "rebuild table Items, copying 3 rows: remove column Due (2 values)",
           "SELECT quote(Title), quote(Qty) FROM Items ORDER BY rowid",
           {"'a'|'12'", "'b'|' 7'", "'c'|'3.0'"}},
          {"a type changed, every value convertible",
           kItems,
           Changed(kItems, "Qty", {"Qty", "Qty", datatype_Integer}),
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "change column Qty from TEXT to INTEGER",
           "SELECT quote(Qty) FROM Items ORDER BY rowid",
           {"12", "7", "3"}},
          {"a column made required",
           kItems,
           Changed(kItems, "Qty", {"Qty", "Qty", datatype_String, true}),
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "column Qty becomes NOT NULL",
           "SELECT quote(Qty) FROM Items ORDER BY rowid",
           {"'12'", "' 7'", "'3.0'"}},
          {"a required column made optional",
           kItems,
           Changed(kItems, "Title", {"Title", "Title", datatype_String}),
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "column Title may be NULL",
           "SELECT quote(Title) FROM Items ORDER BY rowid",
           {"'a'", "'b'", "'c'"}},
          {"a unique constraint added",
           kItems,
           unique,
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "add unique (Title)",
           "SELECT quote(Title) FROM Items ORDER BY rowid",
           {"'a'", "'b'", "'c'"}},
          {"a unique constraint removed",
           unique,
           kItems,
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "drop unique (Title)",
           "SELECT quote(Title) FROM Items ORDER BY rowid",
           {"'a'", "'b'", "'c'"}},
          {"the primary key widened",
           kItems,
           keyed,
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "primary key (rec_guid) becomes (rec_guid, Title)",
           "SELECT quote(Title) FROM Items ORDER BY rowid",
           {"'a'", "'b'", "'c'"}},
          {"the update-counter index missing",
           kItems,
           kItems,
           false,
           "DROP INDEX idx_Items_updates",
           {TableUpgradeStep::kCreateIndex},
           "create index idx_Items_updates",
           "SELECT name FROM sqlite_master WHERE type='index' AND name='idx_Items_updates'",
           {"idx_Items_updates"}},
          {"a trigger of the definition's name that differs",
           kItems,
           kItems,
           false,
           "DROP TRIGGER trigger_Items_created; CREATE TRIGGER trigger_Items_created AFTER INSERT ON Items BEGIN "
           "SELECT 1; END",
           {TableUpgradeStep::kReplaceTrigger},
           "replace trigger trigger_Items_created",
           "SELECT quote(Title) FROM Items ORDER BY rowid",
           {"'a'", "'b'", "'c'"}},
          {"a host index on a removed column",
           kItems,
           Without(kItems, "Due"),
           false,
           "CREATE INDEX host_due ON Items (Due)",
           {TableUpgradeStep::kDropIndex, TableUpgradeStep::kRebuildTable},
           "drop index host_due: it uses column Due, which the table loses",
           "SELECT name FROM sqlite_master WHERE name='host_due'",
           {}},
          {"a host index and view kept through a rebuild",
           kItems,
           Without(kItems, "Due"),
           false,
           "CREATE INDEX host_title ON Items (Title); CREATE VIEW host_view AS SELECT Title FROM Items",
           {TableUpgradeStep::kRebuildTable},
           "make the table's 1 other indexes and triggers again",
           "SELECT sql FROM sqlite_master WHERE name='host_title' UNION ALL SELECT group_concat(Title) FROM host_view",
           {"CREATE INDEX host_title ON Items (Title)", "a,b,c"}},
          {"an identifier changed under its GUID, previous definition given",
           kItems,
           Changed(kItems, "Qty", quantity),
           true,
           "",
           {TableUpgradeStep::kRenameColumn},
           "rename column Items.Qty to Quantity",
           "SELECT quote(Quantity) FROM Items ORDER BY rowid",
           {"'12'", "' 7'", "'3.0'"}},
          {"an identifier changed under its GUID, no previous definition",
           kItems,
           Changed(kItems, "Qty", quantity),
           false,
           "",
           {TableUpgradeStep::kRebuildTable},
           "remove column Qty (3 values); add column Quantity",
           "SELECT quote(Quantity) FROM Items ORDER BY rowid",
           {"NULL", "NULL", "NULL"}},
          {"a rename and a removal: the host index follows the rename",
           kItems,
           Without(Changed(kItems, "Qty", quantity), "Due"),
           true,
           "CREATE INDEX host_qty ON Items (Qty)",
           {TableUpgradeStep::kRenameColumn, TableUpgradeStep::kRebuildTable},
           "remove column Due",
           "SELECT sql FROM sqlite_master WHERE name='host_qty' UNION ALL SELECT * FROM (SELECT quote(Quantity) FROM "
           "Items ORDER BY rowid)",
           {"CREATE INDEX host_qty ON Items (\"Quantity\")", "'12'", "' 7'", "'3.0'"}},
          {"a required column without default added to an empty table",
           kItems,
           With(kItems, {{"Code", "Code", datatype_String, true}}),
           false,
           "DELETE FROM Items",
           {TableUpgradeStep::kRebuildTable},
           "copying 0 rows: add column Code",
           "SELECT COUNT(*) FROM Items",
           {"0"}},
      }) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    auto db = Connection::Open(folder.File("project.db"));
    db->Execute("PRAGMA synchronous=OFF");  // what the upgrade does is tested here; the crash test
                                            // keeps the syncs
    MakeTable(*db, *Definition(c.before));
    db->Execute(kThreeRows);
    if (*c.setup) db->Execute(c.setup);
    const std::string standard =
        "SELECT rowid, rec_guid, created, modified, updates, hidden FROM Items ORDER BY rowid";
    const auto kept = Rows(*db, standard);

    const auto before = Definition(c.before);
    const auto after = Definition(c.after);
    const auto plan =
        TableUpgradePlanner::Plan(*db, *after, c.withPrevious ? before.get() : nullptr);
    EXPECT_EQ(KindsOf(plan), c.kinds);
    EXPECT_NE(plan.Describe().find(c.describes), std::string::npos) << plan.Describe();
    plan.Run(*db);

    EXPECT_EQ(Rows(*db, c.query), c.rows);
    EXPECT_EQ(Rows(*db, standard), kept);  // GUIDs, times, counters and rowids as they were
    EXPECT_EQ(Rows(*db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_TRUE(TableUpgradePlanner::Plan(*db, *after, c.withPrevious ? before.get() : nullptr)
                    .NothingToDo());

    // The definition's indexes and triggers as its statements write them; after a rebuild,
    // the table's own statement too.
    test::TempDir freshFolder;
    auto fresh = Connection::Open(freshFolder.File("fresh.db"));
    MakeTable(*fresh, *after);
    const auto kinds = KindsOf(plan);
    const bool rebuilt =
        std::find(kinds.begin(), kinds.end(), TableUpgradeStep::kRebuildTable) != kinds.end();
    const std::string made =
        std::string("name NOT LIKE 'host%'") + (rebuilt ? "" : " AND type<>'table'");
    EXPECT_EQ(Objects(*db, made), Objects(*fresh, made));
    ExpectTriggersWork(*db, *after);
  }
}

TEST(TableUpgrade, RefusesWhatWouldLoseAValueAndChangesNothing) {
  struct Case {
    const char* name;
    Def after;
    const char* setup;
    const char* message;
    bool withPrevious = false;
  };
  Def unique = kItems;
  unique.uniques = {{"Qty"}};
  const Def swapped = Changed(Changed(kItems, "Title", {"Title", "Qty", datatype_String, true}),
                              "Qty", {"Qty", "Title", datatype_String});
  for (
      const Case& c : std::initializer_list<Case>{
          {"a required column without default added to a table with rows",
           With(kItems, {{"Code", "Code", datatype_String, true}}), "",
           "Column Items.Code cannot be added as NOT NULL without a default: the table has 3 rows."},
          {"a column made required while a row holds no value in it",
           Changed(kItems, "Due", {"Due", "Due", datatype_DateUtc, true}), "",
           "Column Items.Due becomes NOT NULL, but it holds no value in 1 row (record GUIDs: G2)."},
          {"a type change that values would not survive",
           Changed(kItems, "Qty", {"Qty", "Qty", datatype_Integer}),
           "UPDATE Items SET Qty='twelve' WHERE rec_guid='G1'; UPDATE Items SET Qty='3.5' WHERE rec_guid='G3'",
           "Column Items.Qty cannot become integer: its values in 2 rows (record GUIDs: G1, G3) would not survive."},
          {"more rows than the message lists",
           Changed(kItems, "Qty", {"Qty", "Qty", datatype_Integer}),
           "WITH n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 7) "
           "INSERT INTO Items (rec_guid, Title, Qty) SELECT 'H' || i, 'x', 'no' FROM n",
           "Column Items.Qty cannot become integer: its values in 7 rows (record GUIDs: H1, H2, H3, H4, H5, ...) "
           "would not survive."},
          {"a unique constraint that rows break", unique,
           "UPDATE Items SET Qty='12' WHERE rec_guid='G3'",
           "The unique constraint (Qty) of table Items cannot hold: 2 rows (record GUIDs: G1, G3) share their values "
           "with another row."},
          {"a table without the record GUID column", kItems,
           "DROP TABLE Items; CREATE TABLE Items (Title TEXT)",
           "Table Items was not created by the library: it has no record GUID column rec_guid."},
          {"a WITHOUT ROWID table", kItems,
           "DROP TABLE Items; CREATE TABLE Items (rec_guid TEXT PRIMARY KEY, Title TEXT) WITHOUT ROWID",
           "Table Items was not created by the library: it is a WITHOUT ROWID table."},
          {"a view", kItems, "DROP TABLE Items; CREATE VIEW Items AS SELECT 1 AS rec_guid",
           "Items is a view, not a table."},
          {"a table to make beside a deletion log without its columns", kItems,
           "DROP TABLE Items; DROP TABLE CX1IVUUEQIHUW8W2DIJVS3B9O; CREATE TABLE CX1IVUUEQIHUW8W2DIJVS3B9O (a)",
           "The deletion log CX1IVUUEQIHUW8W2DIJVS3B9O has no column rec_guid."},
          {"identifiers that trade places", swapped, "",
           "Columns Title, Qty of table Items trade identifiers, which the table cannot tell from an upgrade already "
           "done; upgrade through a definition that gives one of them an identifier of its own first.",
           true},
      }) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    auto db = Connection::Open(folder.File("project.db"));
    MakeTable(*db, *Definition(kItems));
    db->Execute(kThreeRows);
    if (*c.setup) db->Execute(c.setup);
    const auto dump = Dump(*db);
    const auto before = Definition(kItems);
    const auto error = ErrorOf([&] {
      TableUpgradePlanner::Plan(*db, *Definition(c.after), c.withPrevious ? before.get() : nullptr);
    });
    EXPECT_EQ(error.Description(), c.message);
    EXPECT_EQ(error.Number(), err::kObjectErrorBase);
    EXPECT_EQ(Dump(*db), dump);
  }
}

// Which stored values survive a column's new type (docs/tables.md): those that do are
// converted, any that does not refuses the upgrade. A data type change within one SQL
// type shows only through the previous definition.
TEST(TableUpgrade, ValuesSurviveATypeChangeAsDocumented) {
  struct Case {
    e_VeskDataType from;
    e_VeskDataType to;
    const char* value;  // SQL
    const char* after;  // quote() of the value afterwards; null when refused
    bool withPrevious = false;
  };
  constexpr auto kText = datatype_String;
  for (const Case& c : std::initializer_list<Case>{
           {kText, datatype_Integer, "'42'", "42"},
           {kText, datatype_Integer, "' 42 '", "42"},
           {kText, datatype_Integer, "'4.2e1'", "42"},
           {kText, datatype_Integer, "''", "''"},
           {kText, datatype_Integer, "NULL", "NULL"},
           {kText, datatype_Integer, "'4.5'", nullptr},
           {kText, datatype_Integer, "'forty'", nullptr},
           {kText, datatype_Integer, "'0x2A'", nullptr},
           {kText, datatype_Integer, "'3000000000'", nullptr},
           {kText, datatype_Boolean, "'-1'", "-1"},
           {kText, datatype_Boolean, "'2'", nullptr},
           {kText, datatype_Real, "'0.5'", "0.5"},
           {kText, datatype_Real, "'1e3'", "1000.0"},
           {kText, datatype_Percentage, "'12.5'", "12.5"},
           {kText, datatype_Currency, "'1.2345'", "1.2345"},
           {kText, datatype_Currency, "'1.23456'", nullptr},
           {kText, datatype_Currency, "'1e15'", nullptr},
           {kText, datatype_DateUtc, "'45000.25'", "45000.25"},
           {kText, datatype_DateUtc, "'2024-05-01'", nullptr},
           {kText, datatype_DateUtc, "'3000000'", nullptr},
           {kText, datatype_Blob, "'abc'", "X'616263'"},
           {datatype_Real, kText, "0.5", "'0.5'"},
           {datatype_Real, kText, "0.1 + 0.2", nullptr},
           {datatype_Integer, kText, "9007199254740993", "'9007199254740993'"},
           {datatype_Integer, datatype_Real, "42", "42.0"},
           {datatype_Integer, datatype_Real, "9007199254740993", nullptr},
           {datatype_Real, datatype_Integer, "3.0", "3"},
           {datatype_Real, datatype_Integer, "3.5", nullptr},
           {datatype_Blob, kText, "X'00'", nullptr},
           {datatype_Blob, datatype_Integer, "X'01'", nullptr},
           {datatype_Integer, datatype_Blob, "5", nullptr},
           {datatype_Real, datatype_Currency, "0.12345", "0.12345"},
           {datatype_Real, datatype_Currency, "0.12345", nullptr, true},
           {datatype_Real, datatype_Currency, "0.1234", "0.1234", true},
           {datatype_Integer, datatype_Boolean, "5", nullptr, true},
           {datatype_Integer, datatype_Boolean, "-1", "-1", true},
       }) {
    SCOPED_TRACE(std::string(c.value) + " from type " + std::to_string(c.from) + " to " +
                 std::to_string(c.to) + (c.withPrevious ? " (previous definition given)" : ""));
    test::TempDir folder;
    auto db = Connection::Open(folder.File("project.db"));
    db->Execute("PRAGMA synchronous=OFF");
    const auto before = Definition({{{"V", "V", c.from}}});
    MakeTable(*db, *before);
    db->Execute(std::string("INSERT INTO Items (rec_guid, V) VALUES ('G1', ") + c.value + ")");
    const auto after = Definition({{{"V", "V", c.to}}});
    if (c.after == nullptr) {
      const auto error = ErrorOf(
          [&] { TableUpgradePlanner::Plan(*db, *after, c.withPrevious ? before.get() : nullptr); });
      EXPECT_NE(error.Description().find("would not survive"), std::string::npos)
          << error.Description();
      continue;
    }
    TableUpgradePlanner::Plan(*db, *after, c.withPrevious ? before.get() : nullptr).Run(*db);
    EXPECT_EQ(Rows(*db, "SELECT quote(V) FROM Items"), std::vector<std::string>{c.after});
  }
}

// A plan is made from the table as it stood; Run decides again under the write lock.
TEST(TableUpgrade, RunRefusesATableThatChangedSinceThePlan) {
  struct Case {
    const char* name;
    const char* change;
    const char* message;
  };
  for (
      const Case& c : std::initializer_list<Case>{
          {"another column", "ALTER TABLE Items ADD COLUMN Extra TEXT",
           "Table Items changed since its upgrade was planned; plan it again."},
          {"a value that would not survive", "UPDATE Items SET Qty='many' WHERE rec_guid='G2'",
           "Column Items.Qty cannot become integer: its values in 1 row (record GUIDs: G2) would not survive."},
      }) {
    SCOPED_TRACE(c.name);
    test::TempDir folder;
    auto db = Connection::Open(folder.File("project.db"));
    MakeTable(*db, *Definition(kItems));
    db->Execute(kThreeRows);
    const auto plan = TableUpgradePlanner::Plan(
        *db, *Definition(Changed(kItems, "Qty", {"Qty", "Qty", datatype_Integer})));
    db->Execute(c.change);
    const auto dump = Dump(*db);
    EXPECT_EQ(ErrorOf([&] { plan.Run(*db); }).Description(), c.message);
    EXPECT_EQ(Dump(*db), dump);
  }
}

TEST(TableUpgrade, AMissingTableIsCreatedWithTheDeletionLog) {
  test::TempDir folder;
  auto db = Connection::Open(folder.File("project.db"));
  const auto def = Definition(kItems);
  const auto plan = TableUpgradePlanner::Plan(*db, *def);
  EXPECT_EQ(KindsOf(plan), std::vector<Kind>{TableUpgradeStep::kCreateTable});
  EXPECT_EQ(plan.Describe(), "create table Items and log its deletions");
  plan.Run(*db);
  db->Execute(kThreeRows);
  EXPECT_TRUE(TableUpgradePlanner::Plan(*db, *def).NothingToDo());
  ExpectTriggersWork(*db, *def);
}

// A DROP TABLE with foreign keys enforced would run the ON DELETE actions of the tables
// that refer to it: the rebuild runs with enforcement off and checks the keys before it
// commits.
TEST(TableUpgrade, ARebuildKeepsTheRowsThatReferToTheTable) {
  test::TempDir folder;
  auto db = Connection::Open(folder.File("project.db"));
  MakeTable(*db, *Definition(kItems));
  db->Execute(kThreeRows);
  db->Execute(
      "PRAGMA foreign_keys=ON; CREATE TABLE Notes (item TEXT REFERENCES Items (rec_guid) ON DELETE CASCADE); "
      "INSERT INTO Notes VALUES ('G1'), ('G2')");
  const auto plan = TableUpgradePlanner::Plan(*db, *Definition(Without(kItems, "Due")));
  plan.Run(*db);
  EXPECT_EQ(Rows(*db, "SELECT item FROM Notes ORDER BY item"),
            (std::vector<std::string>{"G1", "G2"}));
  EXPECT_EQ(Rows(*db, "PRAGMA foreign_keys"), std::vector<std::string>{"1"});
  EXPECT_EQ(Rows(*db, "SELECT COUNT(*) FROM " + std::string(CDbFactory::kDeletionLogTable)),
            std::vector<std::string>{"0"});

  // Inside a caller's transaction enforcement cannot be switched off.
  const auto next = TableUpgradePlanner::Plan(*db, *Definition(Without(kItems, "Qty")));
  Transaction transaction(*db);
  const auto dump = Dump(*db);
  EXPECT_NE(ErrorOf([&] { next.Run(*db); }).Description().find("needs foreign key enforcement off"),
            std::string::npos);
  EXPECT_EQ(Dump(*db), dump);
}

// A step that fails leaves the table as it was; inside a caller's transaction it undoes
// the upgrade alone (a savepoint), and the caller's own work stays to commit. An index on
// an expression names no column, so the planner cannot see that it uses one that goes:
// making it again fails.
TEST(TableUpgrade, AFailingStepUndoesTheUpgradeOnly) {
  const std::string kSchema =
      "SELECT type, name, tbl_name, quote(sql) FROM sqlite_master ORDER BY name";
  for (const bool callersTransaction : {false, true}) {
    SCOPED_TRACE(callersTransaction ? "in the caller's transaction" : "on its own");
    test::TempDir folder;
    auto db = Connection::Open(folder.File("project.db"));
    MakeTable(*db, *Definition(kItems));
    db->Execute(kThreeRows);
    db->Execute("CREATE INDEX host_year ON Items (round(Due / 365.25))");
    const auto plan = TableUpgradePlanner::Plan(*db, *Definition(Without(kItems, "Due")));
    const auto dump = Dump(*db);
    const auto schemaRows = static_cast<std::ptrdiff_t>(Rows(*db, kSchema).size());
    std::unique_ptr<Transaction> transaction;
    if (callersTransaction) {
      transaction = std::make_unique<Transaction>(*db);
      db->Execute("UPDATE Items SET Title='kept' WHERE rec_guid='G1'");
    }
    const auto error = ErrorOf([&] { plan.Run(*db); });
    EXPECT_EQ(error.Description(), "no such column: Due");
    EXPECT_NE(error.Context().find("Step: rebuild table Items"), std::string::npos)
        << error.Context();
    if (transaction) {
      transaction->Commit();
      EXPECT_EQ(Rows(*db, "SELECT quote(Title), quote(Due) FROM Items WHERE rec_guid='G1'"),
                std::vector<std::string>{"'kept'|45000.5"});
      EXPECT_EQ(Rows(*db, kSchema),
                std::vector<std::string>(dump.begin(), dump.begin() + schemaRows));
    } else {
      EXPECT_EQ(Dump(*db), dump);
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
