#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/columns/column_enums.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {
class Connection;
class CProviderView;
class CProviderTableDef;
}  // namespace prvdrinfo

namespace prvdrinfo::tool {

// A command that cannot do its work throws this; main prints "prvdrinfo: <what>" on one
// line and exits with status 1. A CError is reported the same way.
class CommandFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// Arguments that make no sense together or are empty: exit status 2.
class UsageError : public CommandFailed {
 public:
  using CommandFailed::CommandFailed;
};

// Inputs larger than this are refused unless a command is told otherwise. Real documents
// are kilobytes; decoded, a document takes some thirty times its size in memory.
constexpr uint64_t kDefaultMaxInputBytes = uint64_t{16} << 20;

// Parses the command line and runs the command it names (cli.cpp, the one file that
// knows the parser). Help and version print and return 0; a command line that cannot be
// parsed raises UsageError; the command's own failures pass through.
int RunCommandLine(int argc, char** argv);

// The commands, each in its own file, run from plain options that the command line
// fills in; a default here is the option's default. What a command prints goes to
// std::cout; a command that fails throws.

struct BagDumpOptions {  // bag_command.cpp
  std::string file = "-";
  uint64_t maxBytes = kDefaultMaxInputBytes;
};
void RunBagDump(const BagDumpOptions& options);

struct DemoOptions {  // demo_command.cpp
  bool keep = false;
};
void RunDemo(const DemoOptions& options);

struct DdlOptions {  // ddl_command.cpp
  std::string input = "-";
  std::optional<std::string> apply;
  bool example = false;
  bool upgrade = false;  // with apply: bring a table already there to the definition
  bool dryRun = false;   // with upgrade: show the plan only
};
void RunDdl(const DdlOptions& options);

struct FilterSqlOptions {  // filter_command.cpp
  std::string input = "-";
  std::string prefix = "none";  // none, where or operator; anything else is a UsageError
  std::optional<std::string> columns;
  bool params = false;
};
void RunFilterSql(const FilterSqlOptions& options);

struct ViewShowOptions {  // view_command.cpp
  std::string input = "-";
  std::optional<std::string> columns;
  bool json = false;
};
void RunViewShow(const ViewShowOptions& options);
struct ViewSqlOptions {  // view_sql_command.cpp
  std::string input = "-";
  std::string columns;  // the table definition; required
  bool params = false;
  int32_t limit = -1;  // below 0: no limit
  int32_t offset = 0;
};
void RunViewSql(const ViewSqlOptions& options);
// A view's bytes as view show prints them (text, or JSON), with the update counter of its
// row where it has one; CError or CommandFailed when they are no view.
std::string ViewShown(const Bytes& bytes, const std::shared_ptr<CProviderTableDef>& table,
                      bool asJson, std::optional<int64_t> updateCounter);
struct ViewRunOptions {                  // view_run_command.cpp
  std::string input = "-";               // the view's bytes, unless viewGuid names a stored view
  std::optional<std::string> viewGuid;   // a view of the views database
  std::optional<std::string> dataDir;    // with viewGuid: the data folder to read it from
  std::string db;                        // the project database, opened read-only; required
  std::string columns;                   // the table definition; required
  std::string format = "table";          // table, csv, json or html; anything else is a UsageError
  int32_t limit = -1;                    // below 0: every row
  std::optional<std::string> templates;  // with html: page templates' bytes, for the view's paper
};
void RunViewRun(const ViewRunOptions& options);

struct ProviderShowOptions {  // provider_command.cpp
  std::string module;
  std::optional<std::string> className;  // none: the class the file name suggests
  bool json = false;
  bool check = false;  // RunProviderCheck instead of the description
};
void RunProviderShow(const ProviderShowOptions& options);
// Prints what is wrong with the module as a host would meet it (module_lint.h,
// module_linkage.h), a line each, and raises CommandFailed with their count; or one line
// that it found nothing.
void RunProviderCheck(const ProviderShowOptions& options);
struct ProvidersSaveOptions {
  std::string file;
  std::vector<std::string> modules;
};
void RunProvidersSave(const ProvidersSaveOptions& options);
struct ProvidersShowOptions {
  std::string file;
  bool json = false;
};
void RunProvidersShow(const ProvidersShowOptions& options);

struct ViewsListOptions {  // views_command.cpp
  std::string provider;    // empty: every provider's views
  bool json = false;
};
void RunViewsList(const ViewsListOptions& options);
struct ViewsShowOptions {
  std::string guid;
  std::optional<std::string> columns;  // as view show --columns
  bool json = false;
  bool raw = false;  // the row's columns and the stored contents decoded
};
void RunViewsShow(const ViewsShowOptions& options);
struct ViewsExportOptions {
  std::string guid;
  std::string file;  // - for standard output
};
void RunViewsExport(const ViewsExportOptions& options);
struct ViewsImportOptions {
  std::string file;
  bool overwrite = false;
};
void RunViewsImport(const ViewsImportOptions& options);
void RunViewsDelete(const std::string& guid);

// The data folder of the views and db commands for this run: --data-dir DIR when given
// (an empty name is a UsageError), else the library's rule (PRVDRINFO_DATA_DIR, ...).
void UseDataFolder(const std::optional<std::string>& dataDir);  // views_rows.cpp

struct DbOptions {  // db_command.cpp
  bool json = false;
};
void RunDbInfo(const DbOptions& options);
// A database with problems prints them, then raises CommandFailed.
void RunDbCheck(const DbOptions& options);
void RunDbMaintain(const DbOptions& options);

// The views database of the data folder (views_rows.cpp). OpenExistingViewsDatabase
// opens it as it is, read-only (neither created nor upgraded, never changed), with
// SmartSort registered; a missing file raises CommandFailed naming the path.
// OpenViewsForReading also refuses a file with no views table, and repairs one that needs
// the host's fix-up pass through the host's open; a current file stays read-only, so no
// other process's write lock holds the reader up.
std::shared_ptr<Connection> OpenExistingViewsDatabase();
std::shared_ptr<Connection> OpenViewsForReading();

// A library failure on the views database, as one line that names the file.
std::string ViewsDatabaseFault(const std::string& description);
template <class Work>
auto OnViewsDatabase(Work work) -> decltype(work()) {
  try {
    return work();
  } catch (const CError& e) {
    throw CommandFailed(ViewsDatabaseFault(e.Description()));
  }
}

// A row of the views table as stored. view is null when the bytes cannot be read, and
// error says why; the row's own columns are there either way.
struct StoredViewRow {
  int64_t recId = 0;
  std::string guid;
  std::string provider;
  std::string privateTo;
  std::string caption;
  int64_t updateCounter = 0;
  bool standard = false;
  bool notification = false;
  Bytes bytes;
  std::shared_ptr<CProviderView> view;
  std::string error;

  // standard, notification or user: from the view, or from the row's flags without one.
  std::string Kind() const;
};
// Every row (one provider's, matched as the host matches it, when provider is not empty)
// by provider, then caption in SmartSort order.
std::vector<StoredViewRow> StoredViewRows(Connection& connection, const std::string& provider);
// The row of that GUID (letter case aside), if there is one.
std::optional<StoredViewRow> StoredViewByGuid(Connection& connection, const std::string& guid);

// The built-in example table definition (JSON) of the ddl command, and its table.
std::string DdlExample();
std::shared_ptr<CProviderTableDef> DdlExampleTable();
// A table definition as the ddl command reads it (docs/ddl-json.md); what it cannot use
// raises CommandFailed, the file's form naming the file.
std::shared_ptr<CProviderTableDef> TableDefinition(const nlohmann::json& document);
std::shared_ptr<CProviderTableDef> TableDefinitionFrom(const std::string& fileOrDash);
// A data type's name as table definitions write it (docs/ddl-json.md), for every JSON
// output; its number when it has none.
std::string DdlTypeName(e_VeskDataType type);
// A JSON document from a file or standard input; bad JSON raises CommandFailed naming it.
nlohmann::json ReadJsonInput(const std::string& fileOrDash);

// Runs body; a CError or CommandFailed from it leaves as one CommandFailed whose line
// begins with the input's name.
template <class Body>
auto NamingInput(const std::string& source, Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const CError& e) {
    throw CommandFailed(source + ": " + e.Description());
  } catch (const CommandFailed& e) {
    throw CommandFailed(source + ": " + e.what());
  }
}

// A view from its stored bytes, with the GUID as stored (a view makes one up where none
// is); bytes that hold no view raise CommandFailed, bytes that do not decode a CError.
struct LoadedView {
  std::shared_ptr<CProviderView> view;
  std::string guid;
};
LoadedView ViewFromBytes(const Bytes& bytes);  // view_command.cpp

// JSON string syntax, with C1 controls escaped as well: a terminal may take U+009B as
// the start of an escape sequence. Bytes that are no UTF-8 show as U+FFFD. Every text
// that comes from a file or a module is printed through it: Printed gives the text bare
// where quoting would change nothing but add the quotes, else quoted; JsonText is a whole
// JSON document (indented by 2) escaped the same way.
std::string Quoted(const std::string& text);
std::string Printed(const std::string& text);
std::string JsonText(const nlohmann::json& document);
std::string JsonText(const nlohmann::ordered_json& document);

// What an input is called in messages: the file name, or "standard input" for "-".
std::string InputName(const std::string& fileOrDash);

// The bytes of a file, or of standard input for "-". A missing or unreadable file, a
// directory, an empty name or more than maxBytes bytes raise CommandFailed naming the
// input; tooLargeHint follows the size message (say how to raise the limit).
Bytes ReadInput(const std::string& fileOrDash, uint64_t maxBytes = kDefaultMaxInputBytes,
                const std::string& tooLargeHint = "");
// Writes a file whole through the library (a new file beside it, flushed, renamed over
// it), so a failure (a full disk) leaves the old file as it was. A target that exists and
// is not a regular file (a link, a device, a folder) is refused. Failures raise
// CommandFailed naming the path.
void WriteOutputFile(const std::string& path, const Bytes& bytes);
// Prints a property bag or keyed-items document; undecodable bytes raise a CError before
// anything is printed.
void DumpDocument(const Bytes& bytes, std::ostream& out);

// The demo runs its steps in order, each in a function of its own; a subsystem adds its
// step to the list in demo_command.cpp.
struct DemoContext {
  std::filesystem::path folder;  // a scratch folder for the run
  std::ostream& out;
};
struct DemoStep {
  const char* title;
  void (*run)(DemoContext&);
};
std::vector<DemoStep> DemoSteps();

void RunBagDemo(DemoContext& context);            // bag_command.cpp
void RunDdlDemo(DemoContext& context);            // ddl_command.cpp
void RunViewDemo(DemoContext& context);           // demo_view_step.cpp
void RunViewsDatabaseDemo(DemoContext& context);  // demo_view_step.cpp

}  // namespace prvdrinfo::tool
