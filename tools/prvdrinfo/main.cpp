// prvdrinfo: the command-line face of the library. Commands register themselves
// (commands.h); main only parses and reports failures.

// GCC 12 reports a null dereference inside CLI11's string splitting that cannot happen.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#include <CLI/CLI.hpp>
#pragma GCC diagnostic pop

#include <exception>
#include <iostream>
#include <string>

#include "commands.h"
#include "prvdrinfo/foundation/error.h"

namespace {

// One line, whatever the message holds: error texts may quote untrusted input.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"prvdrinfo: provider metadata, property bags and views databases"};
  app.set_version_flag("--version", std::string("prvdrinfo ") + PRVDRINFO_VERSION);
  app.require_subcommand(1);
  prvdrinfo::tool::AddBagCommands(app);
  prvdrinfo::tool::AddDemoCommand(app);
  prvdrinfo::tool::AddDdlCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const prvdrinfo::CError& e) {
    std::cerr << "prvdrinfo: " << OneLine(e.Description()) << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "prvdrinfo: " << OneLine(e.what()) << '\n';
    return 1;
  }
  return 0;
}
