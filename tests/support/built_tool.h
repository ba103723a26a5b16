#pragma once

#include <string>

#include "support/tool_run.h"

namespace prvdrinfo::test {

// Runs the tool this test program was built with (PRVDRINFO_TOOL_PATH) inside folder;
// nothing runs in a build without the tool, where the tests skip. Included by tool tests
// only, so that every file that sees this definition sees the same path.
inline ToolOutcome RunBuiltTool(const std::string& folder, const std::string& args) {
#ifdef PRVDRINFO_TOOL_PATH
  return RunToolIn(folder, PRVDRINFO_TOOL_PATH, args);
#else
  (void)folder;
  (void)args;
  return {};
#endif
}

}  // namespace prvdrinfo::test
