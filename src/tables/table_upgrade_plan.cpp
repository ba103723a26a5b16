#include "prvdrinfo/tables/table_upgrade_plan.h"

#include <algorithm>

#include "prvdrinfo/db/command.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/recordset.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/db/transaction.h"
#include "prvdrinfo/foundation/error.h"
#include "tables/table_target.h"
#include "tables/table_upgrade_builder.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kRun{"RAFE0Z16F3YEGVDGNXSREMKB4", "TableUpgradePlan.Run"};
constexpr ErrorSite kChanged{"MEYY7EXRE7GWA7CRDADOX0VIE", "TableUpgradePlan.Run"};
constexpr ErrorSite kForeignKeys{"QCNXXBZ9Q1ACH02ROM4G9V907", "TableUpgradePlan.Run"};
constexpr ErrorSite kStep{"EATSFYPV7CKFSC8GL3KMJ6C2D", "TableUpgradePlan.Run"};
constexpr ErrorSite kIntegrity{"Z6WDEL9QOISPTTAEK4F9H6RNP", "TableUpgradePlan.Run"};
constexpr ErrorSite kForeignKeyCheck{"U2O47REJNCH69W63DD7N0HY13", "TableUpgradePlan.Run"};

constexpr const char* kSavepoint = "prvdrinfo_table_upgrade";

std::string Q(std::string_view name) { return SqlService::QuoteIdentifier(name); }

bool PragmaOn(Connection& connection, const char* pragma) {
  return connection.OpenRecordset(std::string("PRAGMA ") + pragma)->Int64(0) != 0;
}

// A connection setting put back as it was when the object goes; a failure to do so is
// dropped, as a destructor cannot report it.
class PragmaKept {
 public:
  PragmaKept(Connection& connection, const char* pragma)
      : connection_(connection), pragma_(pragma), on_(PragmaOn(connection, pragma)) {}
  ~PragmaKept() {
    try {
      connection_.Execute("PRAGMA " + pragma_ + (on_ ? "=ON" : "=OFF"));
    } catch (...) {
    }
  }
  PragmaKept(const PragmaKept&) = delete;
  PragmaKept& operator=(const PragmaKept&) = delete;

  bool WasOn() const { return on_; }

 private:
  Connection& connection_;
  std::string pragma_;
  bool on_;
};

// Inside a caller's transaction: a failure undoes this work and leaves the caller's.
class Savepoint {
 public:
  Savepoint(Connection& connection, bool needed) : connection_(connection), active_(needed) {
    if (active_) connection_.Execute(std::string("SAVEPOINT ") + kSavepoint);
  }
  ~Savepoint() {
    if (!active_) return;
    try {
      connection_.Execute(std::string("ROLLBACK TO ") + kSavepoint + "; RELEASE " + kSavepoint);
    } catch (...) {
    }
  }
  Savepoint(const Savepoint&) = delete;
  Savepoint& operator=(const Savepoint&) = delete;

  void Release() {
    if (active_) connection_.Execute(std::string("RELEASE ") + kSavepoint);
    active_ = false;
  }

 private:
  Connection& connection_;
  bool active_;
};

bool SameStatements(const std::vector<TableUpgradeStep>& a,
                    const std::vector<TableUpgradeStep>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const TableUpgradeStep& x, const TableUpgradeStep& y) {
                      return x.StepKind() == y.StepKind() && x.Statements() == y.Statements();
                    });
}

void RunStep(Connection& connection, const TableUpgradeStep& step) {
  kStep.Guard(
      [&] {
        for (const auto& statement : step.Statements()) connection.Execute(statement);
      },
      [&] { return "Step: " + step.Description(); });
}

// What SQLite finds wrong with the table, or with the keys between it and other tables.
void Check(Connection& connection, const std::string& table) {
  auto integrity = connection.OpenRecordset("PRAGMA integrity_check(" + Q(table) + ")");
  if (integrity->RecordCount() != 1 || integrity->Value(0).ToText() != "ok") {
    std::string found;
    for (int shown = 0; !integrity->Eof() && shown < 3; integrity->MoveNext(), ++shown) {
      found += (found.empty() ? "" : "; ") + integrity->Value(0).ToText();
    }
    kIntegrity.Raise(err::kObjectErrorBase,
                     "Table " + table + " fails the integrity check after its upgrade: " + found);
  }
  std::vector<std::string> tables{table};
  auto children = connection.CreateCommand(
      "SELECT DISTINCT m.name FROM sqlite_master AS m JOIN pragma_foreign_key_list(m.name) AS f "
      "WHERE m.type='table' AND f.\"table\"=?1 COLLATE NOCASE");
  children->SetText(1, table);
  for (auto rows = children->OpenRecordset(); !rows->Eof(); rows->MoveNext())
    tables.push_back(rows->Value(0).ToText());
  for (const auto& each : tables) {
    auto broken = connection.OpenRecordset("PRAGMA foreign_key_check(" + Q(each) + ")");
    if (broken->Eof()) continue;
    kForeignKeyCheck.Raise(err::kObjectErrorBase,
                           "The upgrade of table " + table + " breaks a foreign key: row " +
                               broken->Value(1).ToText() + " of " + broken->Value(0).ToText() +
                               " refers to a row of " + broken->Value(2).ToText() +
                               " that is not there.");
  }
}
}  // namespace

TableUpgradePlan::TableUpgradePlan(std::string table, std::vector<TableUpgradeStep> steps,
                                   std::string schemaSeen,
                                   std::shared_ptr<const TableTarget> target)
    : table_(std::move(table)),
      steps_(std::move(steps)),
      schemaSeen_(std::move(schemaSeen)),
      target_(std::move(target)) {}

int64_t TableUpgradePlan::RowsToCopy() const {
  int64_t rows = 0;
  for (const auto& step : steps_) rows += step.RowsCopied();
  return rows;
}

std::string TableUpgradePlan::Describe() const {
  if (steps_.empty()) return "table " + table_ + ": nothing to do";
  std::string text;
  for (const auto& step : steps_) text += (text.empty() ? "" : "\n") + step.Description();
  return text;
}

void TableUpgradePlan::Run(Connection& connection) const {
  kRun.Guard(
      [&] {
        if (steps_.empty()) return;
        const bool rebuilds =
            std::any_of(steps_.begin(), steps_.end(), [](const TableUpgradeStep& step) {
              return step.StepKind() == TableUpgradeStep::kRebuildTable;
            });
        PragmaKept keys(connection, "foreign_keys");
        if (rebuilds && keys.WasOn()) {
          if (connection.InTransaction()) {
            kForeignKeys.Raise(
                err::kObjectErrorBase,
                "Rebuilding table " + table_ +
                    " needs foreign key enforcement off, which cannot change inside the open "
                    "transaction; run the upgrade outside it.");
          }
          connection.Execute("PRAGMA foreign_keys=OFF");
        }
        PragmaKept legacy(connection, "legacy_alter_table");
        Transaction transaction(connection);
        Savepoint savepoint(connection, !transaction.OwnsTransaction());

        // Under the write lock the table is what it is: the plan must still be the one shown.
        TableUpgradePlan live = TableUpgradeBuilder::Build(connection, target_);
        // A column that goes is in no statement: the table's own statements tell.
        if (live.schemaSeen_ != schemaSeen_ || !SameStatements(live.steps_, steps_)) {
          kChanged.Raise(
              err::kObjectErrorBase,
              "Table " + table_ + " changed since its upgrade was planned; plan it again.");
        }
        size_t next = 0;
        for (; next < live.steps_.size() &&
               live.steps_[next].StepKind() == TableUpgradeStep::kRenameColumn;
             ++next) {
          RunStep(connection, live.steps_[next]);
        }
        // A rename rewrites the indexes and triggers that name the column; what follows is
        // planned on the table as the renames left it.
        if (next > 0 && next < live.steps_.size()) {
          live = TableUpgradeBuilder::Build(connection, target_);
          next = 0;
        }
        for (; next < live.steps_.size(); ++next) RunStep(connection, live.steps_[next]);
        Check(connection, table_);
        savepoint.Release();
        transaction.Commit();
      },
      [&] { return "Table: " + table_.substr(0, 200); });
}

}  // namespace prvdrinfo
