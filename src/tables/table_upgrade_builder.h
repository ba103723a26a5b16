#pragma once

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/tables/table_upgrade_plan.h"

namespace prvdrinfo {

class Connection;
struct TableTarget;

// Compares the table of a database with the table a definition asks for and builds the
// plan, refusing what cannot be done without losing a value (TableUpgradePlanner says
// which). Reads only.
class TableUpgradeBuilder {
 public:
  static TableUpgradePlan Build(Connection& connection, std::shared_ptr<const TableTarget> target);
  // A plan of these steps (the plan's constructor is for this class only).
  static TableUpgradePlan Make(std::string table, std::vector<TableUpgradeStep> steps,
                               std::string schemaSeen, std::shared_ptr<const TableTarget> target);
};

}  // namespace prvdrinfo
