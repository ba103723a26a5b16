// prvdrinfo demo: walks through what the library does, one step per subsystem.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "commands.h"

namespace prvdrinfo::tool {

std::vector<DemoStep> DemoSteps() {
  return {
      {"Property bag: values, nested objects and their bytes", RunBagDemo},
      {"Table definition: the SQLite statements of a provider table, run on a real file",
       RunDdlDemo},
      {"A view over that table: columns, sort order, a filter run as SQL, a notifier's next date",
       RunViewDemo},
      {"The views database: one file every process shares, kept in step by refreshes",
       RunViewsDatabaseDemo},
  };
}

namespace {

std::filesystem::path MakeScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "prvdrinfo-demo-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw CommandFailed("cannot create a folder under " + pattern);
  return pattern;
}

}  // namespace

void RunDemo(const DemoOptions& options) {
  const auto folder = MakeScratchFolder();
  DemoContext context{folder, std::cout};
  std::cout << "prvdrinfo demo, working in " << folder.string() << "\n";
  int number = 0;
  try {
    for (const DemoStep& step : DemoSteps()) {
      std::cout << "\n== Step " << ++number << ": " << step.title << " ==\n";
      step.run(context);
    }
  } catch (...) {
    if (!options.keep) std::filesystem::remove_all(folder);
    throw;
  }
  if (options.keep) {
    std::cout << "\nKept " << folder.string() << ".\n";
  } else {
    std::filesystem::remove_all(folder);
    std::cout << "\nDone; removed " << folder.string() << " (--keep keeps it).\n";
  }
}

}  // namespace prvdrinfo::tool
