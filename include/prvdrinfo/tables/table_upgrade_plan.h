#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/tables/table_upgrade_step.h"

namespace prvdrinfo {

class Connection;
struct TableTarget;

// What it takes to bring one provider table of a database to a table definition, made by
// TableUpgradePlanner: no step when the table already is as defined, else the steps in the
// order they run. A host shows Describe() (or each step) and then calls Run.
//
// Run is all or nothing. It takes the write lock (Transaction), plans again under it and
// refuses when the table has changed since this plan was made, runs every statement, and
// commits only after PRAGMA integrity_check of the table and PRAGMA foreign_key_check of
// the table and of the tables that refer to it find nothing. A failure or a refusal
// leaves the database exactly as it was; a process killed on the way leaves the old table
// or the new one, whole, as SQLite's journal does for any transaction. Inside a
// transaction the caller opened, the work joins it (under a savepoint of its own, so a
// failure undoes this work only), and a rebuild then needs foreign key enforcement to be
// off already: PRAGMA foreign_keys cannot change inside a transaction, and a DROP TABLE
// with enforcement on would run the ON DELETE actions of the tables that refer to it.
// Outside one, Run switches enforcement off for a rebuild and back on afterwards.
//
// Errors: the refusals of TableUpgradePlanner (80040000 hexadecimal) when the table no
// longer allows the upgrade; 80040000 hexadecimal "Table T changed since its upgrade was
// planned; plan it again."; the failed checks, 80040000 hexadecimal with the first of what
// SQLite reports; SQLite failures as Connection describes them, with the step in the
// context.
class PRVDRINFO_API TableUpgradePlan {
 public:
  // The table's name as the definition spells it.
  const std::string& TableName() const { return table_; }
  bool NothingToDo() const { return steps_.empty(); }
  const std::vector<TableUpgradeStep>& Steps() const { return steps_; }
  // The rows that the steps copy, together.
  int64_t RowsToCopy() const;
  // Each step's description on a line of its own; "table T: nothing to do" when there is
  // no step.
  std::string Describe() const;

  // Runs the plan on the database it was made for (any connection to it). A plan with no
  // step does nothing.
  void Run(Connection& connection) const;

 private:
  friend class TableUpgradeBuilder;

  TableUpgradePlan(std::string table, std::vector<TableUpgradeStep> steps, std::string schemaSeen,
                   std::shared_ptr<const TableTarget> target);

  std::string table_;
  std::vector<TableUpgradeStep> steps_;
  std::string schemaSeen_;  // the table's statements as the plan found them
  std::shared_ptr<const TableTarget> target_;
};

}  // namespace prvdrinfo
