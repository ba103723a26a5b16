#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "prvdrinfo/foundation/variant.h"

namespace CLI {
class App;
}

namespace prvdrinfo {
class Connection;
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

// Each command lives in its own file and adds itself to the application here.
void AddBagCommands(CLI::App& app);   // bag_command.cpp
void AddDemoCommand(CLI::App& app);   // demo_command.cpp
void AddDdlCommand(CLI::App& app);    // ddl_command.cpp
void AddFilterCommand(CLI::App& app); // filter_command.cpp
void AddViewCommand(CLI::App& app);   // view_command.cpp
void AddProviderCommands(CLI::App& app);  // provider_command.cpp
void AddViewsCommands(CLI::App& app); // views_command.cpp
void AddDbCommands(CLI::App& app);    // db_command.cpp

// The views database of the data folder, opened as it is (neither created nor upgraded),
// with SmartSort registered; a missing file raises CommandFailed naming the path.
std::shared_ptr<Connection> OpenExistingViewsDatabase();  // db_command.cpp

// The built-in example table definition (JSON) of the ddl command.
std::string DdlExample();
// A table definition as the ddl command reads it (docs/ddl-json.md); what it cannot use
// raises CommandFailed, the file's form naming the file.
std::shared_ptr<CProviderTableDef> TableDefinition(const nlohmann::json& document);
std::shared_ptr<CProviderTableDef> TableDefinitionFrom(const std::string& fileOrDash);
// A provider whose columns are the table's: all a filter's SQL asks of a provider.
std::shared_ptr<IProviderInfo> TableProvider(std::shared_ptr<CProviderTableDef> table);
// A JSON document from a file or standard input; bad JSON raises CommandFailed naming it.
nlohmann::json ReadJsonInput(const std::string& fileOrDash);

// JSON string syntax, with C1 controls escaped as well: a terminal may take U+009B as
// the start of an escape sequence. Bytes that are no UTF-8 show as U+FFFD.
std::string Quoted(const std::string& text);

// What an input is called in messages: the file name, or "standard input" for "-".
std::string InputName(const std::string& fileOrDash);

// Inputs larger than this are refused unless a command is told otherwise. Real documents
// are kilobytes; decoded, a document takes some thirty times its size in memory.
constexpr uint64_t kDefaultMaxInputBytes = uint64_t{16} << 20;

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
