#include "prvdrinfo/tables/table_upgrade_planner.h"

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/tables/provider_table_def.h"
#include "tables/table_target.h"
#include "tables/table_upgrade_builder.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kPlan{"M2EQZPE09BBCUVCX3TMC3FMYQ", "TableUpgradePlanner.Plan"};
}  // namespace

TableUpgradePlan TableUpgradePlanner::Plan(Connection& connection, const CProviderTableDef& p_Next,
                                           const CProviderTableDef* p_Previous) {
  return kPlan.Guard(
      [&] { return TableUpgradeBuilder::Build(connection, TableTarget::Of(p_Next, p_Previous)); });
}

}  // namespace prvdrinfo
