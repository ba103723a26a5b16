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
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {
class Connection;
class CProviderView;
class CProviderTableDef;
class IProviderInfo;
}

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

struct ProviderShowOptions {  // provider_command.cpp
  std::string module;
  std::optional<std::string> className;  // none: the class the file name suggests
  bool json = false;
};
void RunProviderShow(const ProviderShowOptions& options);
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
  std::string provider;  // empty: every provider's views
  bool json = false;
};
void RunViewsList(const ViewsListOptions& options);
void RunViewsShow(const std::string& guid);
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

struct DbOptions {  // db_command.cpp
  bool json = false;
};
void RunDbInfo(const DbOptions& options);
// A database with problems prints them, then raises CommandFailed.
void RunDbCheck(const DbOptions& options);
void RunDbMaintain(const DbOptions& options);

// The views database of the data folder, opened as it is (neither created nor upgraded),
// with SmartSort registered; a missing file raises CommandFailed naming the path.
std::shared_ptr<Connection> OpenExistingViewsDatabase();  // db_command.cpp

// The built-in example table definition (JSON) of the ddl command, and its table.
std::string DdlExample();
std::shared_ptr<CProviderTableDef> DdlExampleTable();
// A table definition as the ddl command reads it (docs/ddl-json.md); what it cannot use
// raises CommandFailed, the file's form naming the file.
std::shared_ptr<CProviderTableDef> TableDefinition(const nlohmann::json& document);
std::shared_ptr<CProviderTableDef> TableDefinitionFrom(const std::string& fileOrDash);
// A provider whose columns are the table's: all a filter's SQL asks of a provider.
std::shared_ptr<IProviderInfo> TableProvider(std::shared_ptr<CProviderTableDef> table);
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

// SQL as it is, or quoted when it holds what could steer a terminal (control characters,
// bytes that are no UTF-8), which criteria and names from a file may.
std::string ShownSql(const std::string& sql);  // view_command.cpp

// JSON string syntax, with C1 controls escaped as well: a terminal may take U+009B as
// the start of an escape sequence. Bytes that are no UTF-8 show as U+FFFD.
std::string Quoted(const std::string& text);

// What an input is called in messages: the file name, or "standard input" for "-".
std::string InputName(const std::string& fileOrDash);

// The bytes of a file, or of standard input for "-". A missing or unreadable file, a
// directory, an empty name or more than maxBytes bytes raise CommandFailed naming the
// input; tooLargeHint follows the size message (say how to raise the limit).
Bytes ReadInput(const std::string& fileOrDash, uint64_t maxBytes = kDefaultMaxInputBytes,
                const std::string& tooLargeHint = "");
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

void RunBagDemo(DemoContext& context);  // bag_command.cpp
void RunDdlDemo(DemoContext& context);  // ddl_command.cpp
void RunViewDemo(DemoContext& context); // demo_view_step.cpp
void RunViewsDatabaseDemo(DemoContext& context);  // demo_view_step.cpp

}  // namespace prvdrinfo::tool
