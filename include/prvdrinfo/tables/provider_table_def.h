#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/event_sinks.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/tables/index_defs.h"

namespace prvdrinfo {

class IBaseColumnDef;

// The events of a table definition. A host derives from this class and attaches the
// sink with CProviderTableDef::Advise; several sinks may listen.
class PRVDRINFO_API CProviderTableDefEvents {
 public:
  virtual ~CProviderTableDefEvents() = default;
  // Asks a listener to initialise the table definition, with or without its columns.
  virtual void InitTableRequested(bool p_SkipColumns) = 0;
};

// One provider table: its name, its column set and its indexes, and the SQLite
// statements that create the table, its update-counter index and the 5 triggers that keep
// its standard columns (record GUID, created and modified time, update counter) and the
// deletion log up to date.
//
// Every name composed into the statements (table, index and trigger names) is quoted as
// an identifier, embedded double quotes doubled, so any table name gives sound SQL.
// Statements are separated by ";" and CRLF.
//
// Columns() and Indexes() create what they return on first read, and the statements and
// a save read them: one thread at a time, reads included.
class PRVDRINFO_API CProviderTableDef : public CPersistable {
 public:
  static constexpr const char* kClassName = "CProviderTableDef";

  // Raises InitTableRequested(p_SkipColumns) to every attached sink.
  void RequestInitTable(bool p_SkipColumns);

  std::string TableName() const { return tableName_; }
  void SetTableName(const std::string& value) { tableName_ = value; }

  // Created on first access: a fresh column set that already holds the standard columns.
  std::shared_ptr<CProviderColDefs> Columns() const;
  // Replaces the column set and discards the indexes: they are created anew, with the
  // default primary key, on next access.
  void SetColumns(std::shared_ptr<CProviderColDefs> value);
  // Always fails: 5 "Deprecated. Use Columns property instead.".
  void SetColumn(const std::shared_ptr<IBaseColumnDef>& value);

  // Created on first access, with the record GUID standard column as primary key (5 when
  // the column set has no such column).
  std::shared_ptr<CIndexDefs> Indexes() const;

  // SqlCreateTableNoTriggers, ";", CRLF, SqlCreateTriggers.
  std::string SqlCreateTable() const;
  // The 5 CREATE TRIGGER statements, separated by ";" and CRLF, no ";" after the last.
  std::string SqlCreateTriggers() const;
  // CREATE TABLE (columns, PRIMARY KEY, UNIQUE), ";", CRLF, then the CREATE INDEX on the
  // update counter. 80040000 hex "Invalid Table Definition - No Stored Columns for CREATE
  // TABLE." when no stored column is left; 13 when an index holds a computed column.
  std::string SqlCreateTableNoTriggers() const;

  int32_t Advise(std::shared_ptr<CProviderTableDefEvents> sink) {
    return sinks_.Advise(std::move(sink));
  }
  void Unadvise(int32_t cookie) { sinks_.Unadvise(cookie); }

  std::string ClassName() const override { return kClassName; }
  // "TableName", "ColumnDefinitions", "Indexes", in that order.
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string tableName_;
  mutable std::shared_ptr<CProviderColDefs> columns_;
  mutable std::shared_ptr<CIndexDefs> indexes_;
  EventSinks<CProviderTableDefEvents> sinks_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CProviderTableDefFctry {
 public:
  std::shared_ptr<CProviderTableDef> CreateProviderTableDef() const;
};

}  // namespace prvdrinfo
