#include "tables/table_target.h"

#include "foundation/internal/ascii.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/connection.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/tables/provider_table_def.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kOf{"I9MHCMF10GC0MNAPCR0XCBSIQ", "TableTarget.Of"};
constexpr ErrorSite kCreateTableNamed{"M3NMN6BJNFIQOIZVUJ2N8PXAC", "TableTarget.CreateTableNamed"};

constexpr const char* kCreateTable = "CREATE TABLE ";

// The stored columns that CREATE TABLE makes, standard ones first.
std::vector<std::shared_ptr<CColumnDefStored>> TableColumns(const CProviderTableDef& table) {
  std::vector<std::shared_ptr<CColumnDefStored>> columns;
  const auto set = table.Columns();
  for (const auto& collection : {set->Standard(), set->ProviderSpecific()}) {
    for (const auto& column : *collection) {
      auto stored = std::dynamic_pointer_cast<CColumnDefStored>(column);
      if (stored && !ascii::EqualsIgnoreCase(stored->Guid(), "ROWID"))
        columns.push_back(std::move(stored));
    }
  }
  return columns;
}

std::optional<e_VeskDataType> Find(const std::vector<TableTarget::Typed>& types,
                                   std::string_view column) {
  for (const auto& typed : types) {
    if (ascii::EqualsIgnoreCase(typed.column, column)) return typed.type;
  }
  return std::nullopt;
}
}  // namespace

std::shared_ptr<const TableTarget> TableTarget::Of(const CProviderTableDef& next,
                                                   const CProviderTableDef* previous) {
  return kOf.Guard(
      [&] {
        auto target = std::make_shared<TableTarget>();
        target->table = next.TableName();
        if (ascii::EqualsIgnoreCase(target->table, CDbFactory::kDeletionLogTable)) {
          kOf.Raise(err::kInvalidProcedureCall,
                    "The table name " + target->table + " is the deletion log's own.");
        }
        target->createStatements = next.SqlCreateTable();
        auto trial = Connection::CreateMemory();
        trial->Execute(target->createStatements);
        target->schema = TableSchema::Read(*trial, target->table);
        target->deletionLog = CDbFactory::SqlDeletionLog(*trial, target->table);
        trial->Execute(target->deletionLog);
        const TableSchema logged = TableSchema::Read(*trial, target->table);
        const auto* trigger =
            logged.FindObject("trigger_" + target->table + "_" + CDbFactory::kDeletionLogTable);
        if (trigger != nullptr) target->factoryDeletionTrigger = trigger->sql;

        for (const auto& column : TableColumns(next)) {
          target->types.push_back({column->Identifier(), column->VeskDatatype()});
          if (previous == nullptr || !previous->Columns()->Exists(column->Guid())) continue;
          const auto before = std::dynamic_pointer_cast<CColumnDefStored>(
              previous->Columns()->FindByGuid(column->Guid()));
          if (!before || ascii::EqualsIgnoreCase(before->Guid(), "ROWID")) continue;
          target->previousTypes.push_back({column->Identifier(), before->VeskDatatype()});
          if (!ascii::EqualsIgnoreCase(before->Identifier(), column->Identifier())) {
            target->renames.push_back({before->Identifier(), column->Identifier()});
          }
        }
        return std::shared_ptr<const TableTarget>(std::move(target));
      },
      [&] { return "Table: " + next.TableName().substr(0, 200); });
}

std::optional<e_VeskDataType> TableTarget::TypeOf(std::string_view column) const {
  return Find(types, column);
}

std::optional<e_VeskDataType> TableTarget::PreviousTypeOf(std::string_view column) const {
  return Find(previousTypes, column);
}

std::string TableTarget::CreateTableNamed(const std::string& name) const {
  const std::string prefix = kCreateTable + SqlService::QuoteIdentifier(table);
  // SQLite keeps the statement from the name on, after its own CREATE TABLE.
  if (schema.sql.compare(0, prefix.size(), prefix) != 0) {
    kCreateTableNamed.Raise(
        err::kUnspecified,
        "The table's statement does not begin with its name: " + schema.sql.substr(0, 200));
  }
  return kCreateTable + SqlService::QuoteIdentifier(name) + schema.sql.substr(prefix.size());
}

bool TableTarget::Makes(const TableSchema::Object& object) const {
  const auto* made = schema.FindObject(object.name);
  if (made == nullptr || made->type != object.type) return false;
  return object.sql == made->sql ||
         (!factoryDeletionTrigger.empty() && object.sql == factoryDeletionTrigger &&
          ascii::EqualsIgnoreCase(object.name,
                                  "trigger_" + table + "_" + CDbFactory::kDeletionLogTable));
}

}  // namespace prvdrinfo
