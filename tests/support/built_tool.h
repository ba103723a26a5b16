#pragma once

#include <string>

#include "support/tool_run.h"

namespace prvdrinfo::test {

// Runs the tool this test program was built with (PRVDRINFO_TOOL_PATH) inside folder, as
// RunToolIn and RunShellIn do; nothing runs in a build without the tool, where the tests
// skip. Included by tool tests only, so that every file that sees these definitions sees
// the same path.
inline ToolOutcome RunBuiltTool(const std::string& folder, const std::string& args,
                                const ToolEnvironment& environment = {}) {
#ifdef PRVDRINFO_TOOL_PATH
  return RunToolIn(folder, PRVDRINFO_TOOL_PATH, args, environment);
#else
  (void)folder;
  (void)args;
  (void)environment;
  return {};
#endif
}

inline ToolOutcome RunBuiltToolShell(const std::string& folder, const std::string& line) {
#ifdef PRVDRINFO_TOOL_PATH
  return RunShellIn(folder, PRVDRINFO_TOOL_PATH, line);
#else
  (void)folder;
  (void)line;
  return {};
#endif
}

}  // namespace prvdrinfo::test
