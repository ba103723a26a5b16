#include "foundation/internal/class_registration.h"
#include "prvdrinfo/tables/provider_table_def.h"

#include "foundation/internal/ascii.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/db/db_factory.h"
#include "prvdrinfo/db/sql_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/string_builder.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kRequestInitTable{"GMTWM69KTQ6N7J4S23I28I34Q",
                                      "CProviderTableDef.RequestInitTable"};
constexpr ErrorSite kSetColumn{"XS1F8RVQ2HKM9NL3CZ0D7TYB4", "CProviderTableDef.Column"};
constexpr ErrorSite kIndexes{"E7HQ4WMZ1PJV6KC9RT2XN5LB8", "CProviderTableDef.Indexes"};
constexpr ErrorSite kSqlCreateTable{"L2YB9TFK6QM3XC8WN1RH4ZJ7P",
                                    "CProviderTableDef.SqlCreateTable"};
constexpr ErrorSite kSqlCreateTriggers{"V8NC3KQ1ZX6TJ9MB4RW7LH2FD",
                                       "CProviderTableDef.SqlCreateTriggers"};
constexpr ErrorSite kSqlNoTriggers{"B5RM8XJ2WK7QH1ZC4TN9LF6VY",
                                   "CProviderTableDef.SqlCreateTableNoTriggers"};
constexpr ErrorSite kWrite{"K9TF2LX7QB4NW1HM6ZC3RJ8VP", "CProviderTableDef.Class_WriteProperties"};
constexpr ErrorSite kRead{"Z4WJ7NH1RC9KX2LT5QB8MF3YD", "CProviderTableDef.Class_ReadProperties"};

constexpr const char* kLineBreak = "\r\n";

std::string Plain(e_VeskColumn column) { return CVesk::ColumnName(column, veskform_Plain); }
std::string Sql(e_VeskColumn column) { return CVesk::ColumnName(column, veskform_Sql); }
std::string Quote(const std::string& name) { return SqlService::QuoteIdentifier(name); }

bool IsRowId(const std::string& guid) { return ascii::EqualsIgnoreCase(guid, "ROWID"); }

// Index columns must be stored columns: a computed one has no place in the table.
std::string IndexColumnList(const CColumnDefs& columns) {
  std::string list;
  for (const auto& column : columns) {
    const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(column);
    if (!stored) RaiseTypeMismatch();
    if (!list.empty()) list += ", ";
    list += stored->EscapedIdentifier();
  }
  return list;
}

// Appends the stored columns of one collection; returns how many it appended.
int AppendColumnClauses(CStringBuilder& sql, const CColumnDefs& columns,
                        const CColumnDefs& required, const char* requiredWord, bool skipRowId) {
  int appended = 0;
  for (const auto& column : columns) {
    const auto stored = std::dynamic_pointer_cast<CColumnDefStored>(column);
    if (!stored) continue;
    if (skipRowId && IsRowId(stored->Guid())) continue;
    sql.AppendWord(stored->EscapedIdentifier());
    sql.AppendWord(SqlService::SqlTypeName(static_cast<int32_t>(stored->VbDatatype())));
    if (required.ExistsByGuid(stored->Guid())) sql.AppendWord(requiredWord);
    sql.Append(std::string_view(", "));
    ++appended;
  }
  return appended;
}
}  // namespace

void CProviderTableDef::RequestInitTable(bool p_SkipColumns) {
  kRequestInitTable.Guard([&] {
    sinks_.Raise([&](CProviderTableDefEvents& sink) { sink.InitTableRequested(p_SkipColumns); });
  });
}

std::shared_ptr<CProviderColDefs> CProviderTableDef::Columns() const {
  if (!columns_) columns_ = std::make_shared<CProviderColDefs>();
  return columns_;
}

void CProviderTableDef::SetColumns(std::shared_ptr<CProviderColDefs> value) {
  columns_ = std::move(value);
  indexes_.reset();
}

void CProviderTableDef::SetColumn(const std::shared_ptr<IBaseColumnDef>&) {
  kSetColumn.Raise(err::kInvalidProcedureCall, "Deprecated. Use Columns property instead.");
}

std::shared_ptr<CIndexDefs> CProviderTableDef::Indexes() const {
  return kIndexes.Guard([&] {
    if (!indexes_) {
      auto indexes = std::make_shared<CIndexDefs>();
      const auto recordGuid = Columns()->Standard()->Item(Plain(veskcol_RecordGuid));
      indexes->PrimaryKey()->Columns()->AddExisting(recordGuid);
      indexes_ = std::move(indexes);
    }
    return indexes_;
  });
}

std::string CProviderTableDef::SqlCreateTableNoTriggers() const {
  return kSqlNoTriggers.Guard([&] {
    const auto columns = Columns();
    const auto& required = *columns->Required();
    CStringBuilder sql;
    sql.Append(std::string_view("CREATE TABLE IF NOT EXISTS"));
    sql.AppendWord(Quote(tableName_));
    sql.Append(std::string_view("("));
    int stored =
        AppendColumnClauses(sql, *columns->Standard(), required, "NOT NULL DEFAULT ''", false);
    stored += AppendColumnClauses(sql, *columns->ProviderSpecific(), required, "NOT NULL", true);
    if (stored == 0) {
      kSqlNoTriggers.Raise(err::kObjectErrorBase,
                           "Invalid Table Definition - No Stored Columns for CREATE TABLE.");
    }
    sql.RemoveLastPiece();  // the trailing ", "

    const auto indexes = Indexes();
    std::string constraints;
    // A primary key without columns would be invalid SQL: it gets no clause.
    const std::string primaryKey = IndexColumnList(*indexes->PrimaryKey()->Columns());
    if (!primaryKey.empty()) constraints += ", PRIMARY KEY(" + primaryKey + ") ";
    for (const auto& unique : indexes->Unique()->Enumerator()) {
      const std::string list = IndexColumnList(*unique->Columns());
      if (!list.empty()) constraints += ", UNIQUE(" + list + ") ";
    }
    sql.Append(constraints);
    sql.Append(std::string_view(")"));
    sql.Append(std::string(";") + kLineBreak);

    const std::string indexName = "idx_" + tableName_ + "_" + Plain(veskcol_Updates);
    sql.Append("CREATE INDEX IF NOT EXISTS " + Quote(indexName) + " ON " + Quote(tableName_) +
               " (" + Sql(veskcol_Updates) + " ASC)");
    return sql.Text();
  });
}

std::string CProviderTableDef::SqlCreateTriggers() const {
  return kSqlCreateTriggers.Guard([&] {
    const std::string table = Quote(tableName_);
    const std::string guid = Sql(veskcol_RecordGuid);
    const std::string updates = Sql(veskcol_Updates);
    const std::string now = "strftime('%Y-%m-%dT%H:%M:%SZ', datetime('now'))";
    const std::string nextCounter = "(SELECT IFNULL(MAX(" + updates + "),0)+1 FROM " + table + ")";
    auto trigger = [&](const std::string& suffix) {
      return Quote("trigger_" + tableName_ + "_" + suffix);
    };

    const std::string statements[] = {
        "CREATE TRIGGER IF NOT EXISTS " + trigger(Plain(veskcol_RecordGuid)) + " AFTER INSERT ON " +
            table + " BEGIN UPDATE " + table + " SET " + guid +
            "=hex(randomblob(16)) WHERE rowid=new.rowid AND length(" + guid + ")=0; END",
        "CREATE TRIGGER IF NOT EXISTS  " + trigger(Plain(veskcol_Created)) + " AFTER INSERT ON " +
            table + " BEGIN UPDATE " + table + " SET " + Sql(veskcol_Created) + "=" + now +
            " WHERE rowid=new.rowid ; END",
        "CREATE TRIGGER IF NOT EXISTS  " + trigger(Plain(veskcol_Modified)) + " AFTER UPDATE ON " +
            table + " BEGIN UPDATE " + table + " SET " + Sql(veskcol_Modified) + "=" + now + ", " +
            updates + "=" + nextCounter + " WHERE rowid=new.rowid; END",
        "CREATE TRIGGER IF NOT EXISTS  " + trigger(Plain(veskcol_Updates)) + " AFTER INSERT ON " +
            table + " BEGIN UPDATE " + table + " SET " + updates + "=" + nextCounter +
            " WHERE rowid=new.rowid; END",
        "CREATE TRIGGER IF NOT EXISTS  " + trigger(CDbFactory::kDeletionLogTable) +
            " AFTER DELETE ON " + table + " BEGIN INSERT OR REPLACE INTO " +
            Quote(CDbFactory::kDeletionLogTable) + " (" + Sql(veskcol_DeletedGuid) +
            ") VALUES (old." + guid + "); END",
    };
    std::string text;
    for (const auto& statement : statements) {
      if (!text.empty()) text += std::string(";") + kLineBreak;
      text += statement;
    }
    return text;
  });
}

std::string CProviderTableDef::SqlCreateTable() const {
  return kSqlCreateTable.Guard(
      [&] { return SqlCreateTableNoTriggers() + ";" + kLineBreak + SqlCreateTriggers(); });
}

void CProviderTableDef::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("TableName", Variant(tableName_));
    bag.WriteProperty("ColumnDefinitions", Variant(Columns()));
    bag.WriteProperty("Indexes", Variant(Indexes()));
  });
}

void CProviderTableDef::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    tableName_ = bag.ReadText("TableName");
    columns_ = bag.ReadObject<CProviderColDefs>("ColumnDefinitions");
    indexes_ = bag.ReadObject<CIndexDefs>("Indexes");
  });
}

std::shared_ptr<CProviderTableDef> CProviderTableDefFctry::CreateProviderTableDef() const {
  return std::make_shared<CProviderTableDef>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderTableDef)
}  // namespace prvdrinfo
