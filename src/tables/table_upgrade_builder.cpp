#include "tables/table_upgrade_builder.h"

#include <algorithm>
#include <optional>

#include "foundation/internal/ascii.h"
#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/vesk.h"
#include "tables/table_schema.h"
#include "tables/table_target.h"
#include "tables/value_survival.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kBuild{"2OQ67FHOTJAVDH25X984XKS3G", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseView{"2P49QI07R8LUPUM911O7Q6MQJ", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseNoRecordGuid{"4FSCA55T92ZVZ188NY02EJARF", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseWithoutRowId{"17KN0G0ZC6ZSR24UXP9RQDU05", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseRequiredAdded{"SAZVWIA9KMPBUZK8KOAO6DBV7", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseBecomesRequired{"3MUNRX1S1N36X06VDFBL8KA92", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseConversion{"5W9TQWZCLHGE3DANJWTW8B7RB", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseDuplicates{"RB95W058OUNEK3GA48XQ72SPH", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseRenameCycle{"ZH2IS9VV3FEU88LI48SCBSJGP", "TableUpgradePlanner.Plan"};
constexpr ErrorSite kRefuseDeletionLog{"BCRPTCC1UCYAHZO5K3QE2PMEQ", "TableUpgradePlanner.Plan"};

constexpr int kGuidsShown = 5;

using Column = TableSchema::Column;

std::string Q(std::string_view name) { return SqlService::QuoteIdentifier(name); }
bool Same(std::string_view a, std::string_view b) { return ascii::EqualsIgnoreCase(a, b); }

std::string List(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
  return "(" + text + ")";
}

bool SameList(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](const auto& x, const auto& y) { return Same(x, y); });
}

bool Contains(const std::vector<std::vector<std::string>>& lists,
              const std::vector<std::string>& list) {
  return std::any_of(lists.begin(), lists.end(),
                     [&](const auto& each) { return SameList(each, list); });
}

std::string ColumnDefinition(const Column& column) {
  std::string sql = Q(column.name) + " " + column.type;
  if (column.notNull) sql += " NOT NULL";
  if (column.defaultSql) sql += " DEFAULT " + *column.defaultSql;
  return sql;
}

// A column of the table as it will stand after the renames, and its name now.
struct Current {
  Column column;
  std::string nameNow;
};

// Rows that break a condition: how many, and the record GUIDs of the first few.
class Offenders {
 public:
  Offenders(Connection& connection, const std::string& table, const std::string& condition)
      : count_(
            connection
                .OpenRecordset("SELECT COUNT(*) FROM " + table + " WHERE NOT (" + condition + ")")
                ->Int64(0)) {
    if (count_ == 0) return;
    const std::string guid = Q(CVesk::ColumnName(veskcol_RecordGuid));
    auto rows =
        connection.OpenRecordset("SELECT " + guid + " FROM " + table + " WHERE NOT (" + condition +
                                 ") ORDER BY rowid LIMIT " + std::to_string(kGuidsShown));
    for (; !rows->Eof(); rows->MoveNext())
      guids_ += (guids_.empty() ? "" : ", ") + rows->Value(0).ToText();
    if (count_ > kGuidsShown) guids_ += ", ...";
  }
  int64_t Count() const { return count_; }
  // "3 rows (record GUIDs: A, B, C)"
  std::string Text() const {
    return std::to_string(count_) + (count_ == 1 ? " row" : " rows") + " (record GUIDs: " + guids_ +
           ")";
  }

 private:
  int64_t count_ = 0;
  std::string guids_;
};

// A name for the new table that nothing in the schema has.
std::string FreeTableName(Connection& connection, const std::string& table) {
  for (int i = 0;; ++i) {
    const std::string name = table + "_upgrade" + (i == 0 ? "" : std::to_string(i));
    auto taken =
        connection.CreateCommand("SELECT 1 FROM sqlite_master WHERE name=?1 COLLATE NOCASE");
    taken->SetText(1, name);
    if (taken->OpenRecordset()->Eof()) return name;
  }
}

// The renames that apply to the table now, in an order that never takes a name still in
// use. A rename whose new name another column of the table keeps is done already (or the
// new name was the table's own): a second run finds nothing to rename. Identifiers that
// trade places would be renamed again on every run, so they are refused.
std::vector<TableTarget::Rename> RenameSteps(const TableSchema& existing,
                                             const std::vector<TableTarget::Rename>& wanted,
                                             const std::string& table) {
  std::vector<std::string> names;
  for (const auto& column : existing.columns) names.push_back(column.name);
  auto has = [&](std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const auto& n) { return Same(n, name); });
  };
  std::vector<TableTarget::Rename> pending;
  for (const auto& rename : wanted) {
    if (!has(rename.from)) continue;  // done already, or never there
    const bool vacated = std::any_of(wanted.begin(), wanted.end(), [&](const auto& other) {
      return Same(other.from, rename.to);
    });
    if (has(rename.to) && !vacated) continue;
    pending.push_back(rename);
  }
  std::vector<TableTarget::Rename> steps;
  while (!pending.empty()) {
    const auto ready =
        std::find_if(pending.begin(), pending.end(), [&](const auto& r) { return !has(r.to); });
    if (ready == pending.end()) {
      std::string cycle;
      for (const auto& rename : pending) cycle += (cycle.empty() ? "" : ", ") + rename.from;
      kRefuseRenameCycle.Raise(
          err::kObjectErrorBase,
          "Columns " + cycle + " of table " + table +
              " trade identifiers, which the table cannot tell from an upgrade already done; "
              "upgrade through a definition that gives one of them an identifier of its own first.");
    }
    steps.push_back(*ready);
    for (auto& name : names) {
      if (Same(name, ready->from)) name = ready->to;
    }
    pending.erase(ready);
  }
  return steps;
}

class Builder {
 public:
  Builder(Connection& connection, std::shared_ptr<const TableTarget> target)
      : db_(connection), target_(std::move(target)), t_(*target_) {}

  TableUpgradePlan Build(std::vector<TableUpgradeStep>& steps) {
    existing_ = TableSchema::Read(db_, t_.table);
    if (!existing_.Exists()) {
      CheckDeletionLog();
      steps.emplace_back(TableUpgradeStep::kCreateTable,
                         "create table " + t_.table + " and log its deletions", 0,
                         std::vector<std::string>{t_.createStatements, t_.deletionLog});
      return Finish(steps);
    }
    if (existing_.IsView())
      kRefuseView.Raise(err::kObjectErrorBase, existing_.name + " is a view, not a table.");
    const std::string guid = CVesk::ColumnName(veskcol_RecordGuid);
    if (existing_.FindColumn(guid) == nullptr) {
      kRefuseNoRecordGuid.Raise(
          err::kObjectErrorBase,
          "Table " + existing_.name +
              " was not created by the library: it has no record GUID column " + guid + ".");
    }
    if (existing_.withoutRowId) {
      kRefuseWithoutRowId.Raise(
          err::kObjectErrorBase,
          "Table " + existing_.name +
              " was not created by the library: it is a WITHOUT ROWID table.");
    }
    table_ = Q(existing_.name);
    rows_ = db_.OpenRecordset("SELECT COUNT(*) FROM " + table_)->Int64(0);

    for (const auto& rename : RenameSteps(existing_, t_.renames, t_.table)) {
      steps.emplace_back(TableUpgradeStep::kRenameColumn,
                         "rename column " + t_.table + "." + rename.from + " to " + rename.to, 0,
                         std::vector<std::string>{"ALTER TABLE " + table_ + " RENAME COLUMN " +
                                                  Q(rename.from) + " TO " + Q(rename.to)});
      renamed_.push_back(rename);
    }
    MapColumns();
    Compare();
    if (rebuild_) {
      DropHostIndexes(steps);
      steps.push_back(Rebuild());
    } else {
      AddColumns(steps);
      MakeObjects(steps);
    }
    return Finish(steps);
  }

 private:
  TableUpgradePlan Finish(std::vector<TableUpgradeStep>& steps) {
    std::string seen = existing_.kind + "\n" + existing_.sql;
    for (const auto& object : existing_.objects)
      seen += "\n" + object.type + " " + object.name + "\n" + object.sql;
    return TableUpgradeBuilder::Make(t_.table, std::move(steps), std::move(seen), target_);
  }

  void CheckDeletionLog() {
    if (!SqlService::TableExists(db_, CDbFactory::kDeletionLogTable)) return;
    for (auto column : {veskcol_DeletedGuid, veskcol_DeletedTable, veskcol_DeletedUpdates}) {
      const std::string name = CVesk::ColumnName(column);
      if (!SqlService::ColumnExists(db_, CDbFactory::kDeletionLogTable, name)) {
        kRefuseDeletionLog.Raise(err::kObjectErrorBase, std::string("The deletion log ") +
                                                            CDbFactory::kDeletionLogTable +
                                                            " has no column " + name + ".");
      }
    }
  }

  // A name now, after the renames.
  std::string AfterRenames(const std::string& name) const {
    std::string result = name;
    for (const auto& rename : renamed_) {
      if (Same(result, rename.from)) result = rename.to;
    }
    return result;
  }

  void MapColumns() {
    for (const auto& column : existing_.columns) {
      Current current{column, column.name};
      current.column.name = AfterRenames(column.name);
      current_.push_back(std::move(current));
    }
    for (auto& key : existing_.primaryKey) currentKey_.push_back(AfterRenames(key));
    for (const auto& unique : existing_.uniques) {
      std::vector<std::string> list;
      for (const auto& name : unique) list.push_back(AfterRenames(name));
      currentUniques_.push_back(std::move(list));
    }
  }

  const Current* Source(std::string_view name) const {
    for (const auto& current : current_) {
      if (Same(current.column.name, name)) return &current;
    }
    return nullptr;
  }

  void Change(const std::string& text) {
    rebuild_ = true;
    changes_ += (changes_.empty() ? "" : "; ") + text;
  }

  // Decides between ALTER TABLE and a rebuild, and refuses what would lose a value.
  void Compare() {
    for (const auto& current : current_) {
      if (t_.schema.FindColumn(current.column.name) != nullptr) continue;
      const int64_t values =
          db_.OpenRecordset("SELECT COUNT(" + Q(current.nameNow) + ") FROM " + table_)->Int64(0);
      Change("remove column " + current.column.name + " (" + std::to_string(values) +
             (values == 1 ? " value)" : " values)"));
      removed_.push_back(current.column.name);
    }
    for (const auto& wanted : t_.schema.columns) {
      const Current* source = Source(wanted.name);
      if (source == nullptr) {
        AddedColumn(wanted);
        continue;
      }
      const Column& have = source->column;
      const auto type = t_.TypeOf(wanted.name);
      const auto before = t_.PreviousTypeOf(wanted.name);
      const bool typeChanged = !Same(have.type, wanted.type);
      if (type && (typeChanged || (before && *before != *type))) {
        const Offenders lost(db_, table_, ValueSurvival::Condition(*type, Q(source->nameNow)));
        if (lost.Count() > 0) {
          kRefuseConversion.Raise(err::kObjectErrorBase,
                                  "Column " + t_.table + "." + wanted.name + " cannot become " +
                                      ValueSurvival::TypeName(*type) + ": its values in " +
                                      lost.Text() + " would not survive.");
        }
      }
      if (typeChanged) {
        Change("change column " + wanted.name + " from " + have.type + " to " + wanted.type);
        converted_.push_back(wanted.name);
      }
      if (wanted.notNull && !have.notNull) {
        const Offenders empty(db_, table_, Q(source->nameNow) + " IS NOT NULL");
        if (empty.Count() > 0) {
          kRefuseBecomesRequired.Raise(err::kObjectErrorBase,
                                       "Column " + t_.table + "." + wanted.name +
                                           " becomes NOT NULL, but it holds no value in " +
                                           empty.Text() + ".");
        }
      }
      if (wanted.notNull != have.notNull)
        Change("column " + wanted.name + (wanted.notNull ? " becomes NOT NULL" : " may be NULL"));
      if (wanted.defaultSql != have.defaultSql) {
        Change("column " + wanted.name + " default " + have.defaultSql.value_or("none") +
               " becomes " + wanted.defaultSql.value_or("none"));
      }
    }
    if (!SameList(currentKey_, t_.schema.primaryKey)) {
      CheckUnique(t_.schema.primaryKey, "primary key");
      Change("primary key " + List(currentKey_) + " becomes " + List(t_.schema.primaryKey));
    }
    for (const auto& unique : t_.schema.uniques) {
      if (Contains(currentUniques_, unique)) continue;
      CheckUnique(unique, "unique constraint");
      Change("add unique " + List(unique));
    }
    for (const auto& unique : currentUniques_) {
      if (!Contains(t_.schema.uniques, unique)) Change("drop unique " + List(unique));
    }
    // ALTER TABLE cannot add a NOT NULL column without a default, even to an empty table.
    if (std::any_of(added_.begin(), added_.end(),
                    [](const Column& c) { return c.notNull && !c.defaultSql; }))
      rebuild_ = true;
  }

  void AddedColumn(const Column& wanted) {
    if (wanted.notNull && !wanted.defaultSql && rows_ > 0) {
      kRefuseRequiredAdded.Raise(
          err::kObjectErrorBase,
          "Column " + t_.table + "." + wanted.name +
              " cannot be added as NOT NULL without a default: the table has " +
              std::to_string(rows_) + (rows_ == 1 ? " row." : " rows."));
    }
    added_.push_back(wanted);
  }

  // Rows that a new key or unique constraint would refuse, refused here by name.
  void CheckUnique(const std::vector<std::string>& columns, const char* what) {
    std::string list, present;
    for (const auto& name : columns) {
      const Current* source = Source(name);
      if (source == nullptr) return;  // a column still to come holds no values to clash
      list += (list.empty() ? "" : ", ") + Q(source->nameNow);
      present += (present.empty() ? "" : " AND ") + Q(source->nameNow) + " IS NOT NULL";
    }
    const Offenders clashing(db_, table_,
                             "(" + list + ") NOT IN (SELECT " + list + " FROM " + table_ +
                                 " WHERE " + present + " GROUP BY " + list +
                                 " HAVING COUNT(*) > 1)");
    if (clashing.Count() > 0) {
      kRefuseDuplicates.Raise(err::kObjectErrorBase, std::string("The ") + what + " " +
                                                         List(columns) + " of table " + t_.table +
                                                         " cannot hold: " + clashing.Text() +
                                                         " share their values with another row.");
    }
  }

  bool UsesRemovedColumn(const TableSchema::Object& index, std::string* column) const {
    for (const auto& name : index.columns) {
      const std::string after = AfterRenames(name);
      if (std::any_of(removed_.begin(), removed_.end(),
                      [&](const auto& r) { return Same(r, after); })) {
        *column = after;
        return true;
      }
    }
    return false;
  }

  bool IsHostObject(const TableSchema::Object& object) const {
    return t_.schema.FindObject(object.name) == nullptr;
  }

  void DropHostIndexes(std::vector<TableUpgradeStep>& steps) {
    for (const auto& object : existing_.objects) {
      std::string column;
      if (object.type != "index" || !IsHostObject(object) || !UsesRemovedColumn(object, &column))
        continue;
      steps.emplace_back(
          TableUpgradeStep::kDropIndex,
          "drop index " + object.name + ": it uses column " + column + ", which the table loses", 0,
          std::vector<std::string>{"DROP INDEX " + Q(object.name)});
      dropped_.push_back(object.name);
    }
  }

  // The row key under a name that no column of the table takes.
  std::string RowKey() const {
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
      if (existing_.FindColumn(name) == nullptr) return name;
    }
    return "rowid";  // every alias a column: SQLite then has no way to reach it either
  }

  TableUpgradeStep Rebuild() {
    const std::string fresh = FreeTableName(db_, t_.table);
    const std::string key = RowKey();
    std::string into = key, from = key;
    for (const auto& wanted : t_.schema.columns) {
      const Current* source = Source(wanted.name);
      if (source == nullptr) continue;
      const std::string value = Q(source->column.name);
      const bool convert = std::any_of(converted_.begin(), converted_.end(),
                                       [&](const auto& c) { return Same(c, wanted.name); });
      into += ", " + Q(wanted.name);
      from += ", " + (convert ? ValueSurvival::Converted(*t_.TypeOf(wanted.name), value) : value);
    }
    std::vector<std::string> statements{
        t_.CreateTableNamed(fresh),
        "INSERT INTO " + Q(fresh) + " (" + into + ") SELECT " + from + " FROM " + table_,
        "DROP TABLE " + table_,
        // Views and triggers elsewhere that name the table would fail the rename's check
        // of the schema while the table is gone; nothing names the new one yet.
        "PRAGMA legacy_alter_table=ON",
        "ALTER TABLE " + Q(fresh) + " RENAME TO " + Q(t_.table),
        "PRAGMA legacy_alter_table=OFF",
    };
    for (const auto& made : t_.schema.objects) {
      const auto* had = existing_.FindObject(made.name);
      statements.push_back(had != nullptr && t_.Makes(*had) ? had->sql : made.sql);
    }
    int hosts = 0;
    for (const auto& object : existing_.objects) {
      if (!IsHostObject(object) ||
          std::any_of(dropped_.begin(), dropped_.end(),
                      [&](const auto& d) { return Same(d, object.name); })) {
        continue;
      }
      statements.push_back(object.sql);
      ++hosts;
    }
    for (const auto& column : added_)
      changes_ += (changes_.empty() ? "" : "; ") + ("add column " + column.name);
    std::string text = "rebuild table " + t_.table + ", copying " + std::to_string(rows_) +
                       (rows_ == 1 ? " row: " : " rows: ") + changes_;
    if (hosts > 0)
      text += "; make the table's " + std::to_string(hosts) + " other indexes and triggers again";
    return TableUpgradeStep(TableUpgradeStep::kRebuildTable, text, rows_, std::move(statements));
  }

  void AddColumns(std::vector<TableUpgradeStep>& steps) {
    for (const auto& column : added_) {
      const std::string definition = ColumnDefinition(column);
      steps.emplace_back(
          TableUpgradeStep::kAddColumn,
          "add column " + t_.table + "." + column.name + " " +
              definition.substr(Q(column.name).size() + 1),
          0, std::vector<std::string>{"ALTER TABLE " + table_ + " ADD COLUMN " + definition});
    }
  }

  void MakeObjects(std::vector<TableUpgradeStep>& steps) {
    for (const auto& made : t_.schema.objects) {
      const bool index = made.type == "index";
      const auto* had = existing_.FindObject(made.name);
      if (had == nullptr) {
        steps.emplace_back(
            index ? TableUpgradeStep::kCreateIndex : TableUpgradeStep::kCreateTrigger,
            "create " + made.type + " " + made.name, 0, std::vector<std::string>{made.sql});
      } else if (!t_.Makes(*had)) {
        steps.emplace_back(
            index ? TableUpgradeStep::kReplaceIndex : TableUpgradeStep::kReplaceTrigger,
            "replace " + had->type + " " + had->name + " with the definition's " + made.type, 0,
            std::vector<std::string>{
                "DROP " + std::string(had->type == "index" ? "INDEX " : "TRIGGER ") + Q(had->name),
                made.sql});
      }
    }
  }

  Connection& db_;
  std::shared_ptr<const TableTarget> target_;
  const TableTarget& t_;
  TableSchema existing_;
  std::string table_;  // the table's name now, quoted
  int64_t rows_ = 0;
  std::vector<TableTarget::Rename> renamed_;
  std::vector<Current> current_;
  std::vector<std::string> currentKey_;
  std::vector<std::vector<std::string>> currentUniques_;
  std::vector<std::string> removed_;
  std::vector<std::string> converted_;
  std::vector<Column> added_;
  std::vector<std::string> dropped_;
  bool rebuild_ = false;
  std::string changes_;
};
}  // namespace

TableUpgradePlan TableUpgradeBuilder::Build(Connection& connection,
                                            std::shared_ptr<const TableTarget> target) {
  return kBuild.Guard([&] {
    std::vector<TableUpgradeStep> steps;
    return Builder(connection, std::move(target)).Build(steps);
  });
}

TableUpgradePlan TableUpgradeBuilder::Make(std::string table, std::vector<TableUpgradeStep> steps,
                                           std::string schemaSeen,
                                           std::shared_ptr<const TableTarget> target) {
  return TableUpgradePlan(std::move(table), std::move(steps), std::move(schemaSeen),
                          std::move(target));
}

}  // namespace prvdrinfo
