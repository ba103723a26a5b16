#pragma once

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/tables/table_upgrade_plan.h"

namespace prvdrinfo {

class CProviderTableDef;
class Connection;

// Reads a provider table of a database and compares it with a table definition, as a
// schema-diff tool does, to plan its upgrade without losing a row.
//
// The table compares as SQLite describes it: columns by name (ASCII letters in any case;
// their order does not count) with declared type, NOT NULL and default; the primary key;
// the UNIQUE constraints; the update-counter index and the 5 triggers the definition
// makes, by name and statement (the deletion trigger as CDbFactory::SqlDeletionLog
// writes it counts as the definition's). The plan then:
//  - has no step when the table is as defined;
//  - renames a column (ALTER TABLE RENAME COLUMN) whose identifier changed while its GUID
//    stayed, which only the previous definition can tell: without it, such a column is
//    one removed and one added;
//  - adds columns with ALTER TABLE ADD COLUMN where SQLite allows it: nullable, or NOT
//    NULL with a constant default;
//  - makes the definition's indexes and triggers that are missing, and replaces those of
//    its names that differ;
//  - rebuilds the table for any other change (a column removed; a type, NOT NULL or
//    default changed; the primary key or a unique constraint changed; a NOT NULL column
//    without default added to an empty table), as SQLite documents: the new table made
//    by the definition's own CREATE TABLE, every row copied with its rowid and every
//    value of the columns that stay, the old table dropped, the new one renamed, then the
//    indexes and triggers made again exactly as before (the definition's as its
//    statements write them, the host's own as the schema kept them; a host index on a
//    column that goes is dropped first, as its own step). The update counter goes on from
//    the old maximum, since its values are copied.
//  - a missing table is created with the definition's statements and the deletion log.
// Values that change type are converted by SQLite's column affinity (text bound for a
// byte column becomes its bytes); docs/tables.md says which values survive which type.
//
// Refusals (80040000 hexadecimal, nothing changed), each naming the table and column:
//  - a table without the record GUID column, or a WITHOUT ROWID table, or a view: the
//    library did not create it;
//  - a NOT NULL column without default added to a table that has rows;
//  - a column that becomes NOT NULL while rows hold NULL in it, a type change (declared
//    type, or data type when the previous definition tells it) whose values would not
//    survive, a new primary key or unique constraint that rows already break: each with
//    the count of rows and the record GUIDs of the first 5;
//  - identifiers that trade places (a second run could not tell that they had);
//  - a missing table to create beside a deletion log without its columns.
// The definition's own errors (invalid table definition) and SQLite failures pass on.
class PRVDRINFO_API TableUpgradePlanner {
 public:
  // p_Previous: the definition the table was made from, when the host has it; null when not.
  static TableUpgradePlan Plan(Connection& connection, const CProviderTableDef& p_Next,
                               const CProviderTableDef* p_Previous = nullptr);
};

}  // namespace prvdrinfo
