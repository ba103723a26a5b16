#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// The columns whose names the host supplies: the standard columns of every provider
// table and the columns of the deletion log that the provider tables and the views
// database share.
enum e_VeskColumn : int32_t {
  veskcol_RecordGuid = 0,
  veskcol_Hidden = 1,
  veskcol_Updates = 2,
  veskcol_Modified = 3,
  veskcol_Created = 4,
  veskcol_RecordStatus = 5,
  veskcol_DeletedGuid = 6,     // deletion log: GUID of the deleted record
  veskcol_DeletedTable = 7,    // deletion log: table the record was deleted from
  veskcol_DeletedUpdates = 8,  // deletion log: update counter
};

// The form of a column name: plain for recordset fields, SQL for statement text.
enum e_VeskNameForm : int32_t {
  veskform_Plain = 0,
  veskform_Sql = 1,
};

// The host context: what the application around the library supplies. All members are
// static and process-wide; the setters are the seams through which a host, or a test,
// puts in its own data folder, log and clock. Any thread may set and read them (a lock
// guards them); the sink and the clock run on the calling thread, several at once when
// several threads log or read the time, so a host's own must allow that.
class PRVDRINFO_API CVesk {
 public:
  using LogSink = std::function<void(const std::string& className, const std::string& message)>;
  using Clock = std::function<double()>;

  CVesk() = delete;

  // The folder of the views database and the form-linked views file; it always ends with
  // "/" and is created when missing. An empty text restores the default:
  // $PRVDRINFO_DATA_DIR, else $XDG_DATA_HOME/prvdrinfo/ (an absolute XDG_DATA_HOME only),
  // else $HOME/.local/share/prvdrinfo/. Relative folders are made absolute when set.
  static void SetDataFolder(const std::string& folder);
  static std::string DataFolder();

  // Diagnostic lines. The default sink writes nothing unless PRVDRINFO_LOG is "stderr" or
  // a file path, to which each line "<UTC time> <className>: <message>" is appended. An
  // empty function restores the default. Logging never fails the caller: a sink that
  // throws is ignored.
  static void SetLogSink(LogSink sink);
  static void Log(const std::string& className, const std::string& message);

  // The local "now" as an automation date; every date rule reads it through Now(). An
  // empty function restores the system clock (whole seconds, local time through TZ).
  static void SetClock(Clock clock);
  static double Now();

  // Column names. Entry 0 of StandardColumnNames is the plain name and entry 1 the SQL
  // form (the name in double quotes): rec_guid, hidden, updates, modified, created,
  // record_status; the deletion log has rec_guid, table_name and updates.
  static std::string ColumnName(e_VeskColumn column, e_VeskNameForm form = veskform_Plain);
  static std::array<std::string, 2> StandardColumnNames(e_VeskColumn column);

  // The caption that new columns start with: "New Column", in every locale.
  static std::string DefaultCaption();

  // The address book's identifier of a standard contact column type (the values of
  // e_StandardContactColumns, 0 to 33). The signature, stamp and signed types (25, 26,
  // 27) have none; they and any number outside 0..33 raise 5 "Unknown contact column
  // type.".
  static bool HasAddressBookColumnIdentifier(int32_t contactColumnType);
  static std::string AddressBookColumnIdentifier(int32_t contactColumnType);
};

}  // namespace prvdrinfo
