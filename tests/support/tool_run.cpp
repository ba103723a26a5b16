#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace prvdrinfo::test {

ToolOutcome RunToolIn(const std::string& folder, const std::string& toolPath, const std::string& args,
                      const ToolEnvironment& environment) {
  std::string line;
  for (const auto& [name, value] : environment) line += name + "='" + value + "' ";
  return RunShellIn(folder, toolPath, line + "TOOL </dev/null " + args);
}

ToolOutcome RunShellIn(const std::string& folder, const std::string& toolPath, std::string line) {
  const std::string tool = "'" + toolPath + "'";
  for (size_t at = line.find("TOOL"); at != std::string::npos; at = line.find("TOOL", at + tool.size())) {
    line.replace(at, 4, tool);
  }
  const std::string command = "cd '" + folder + "' && { " + line + " ; } >out 2>err";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(folder + "out"), ReadText(folder + "err")};
}

void ExpectRefusals(const std::function<ToolOutcome(const std::string& args)>& run,
                    std::initializer_list<Refusal> refusals) {
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.args);
    const ToolOutcome outcome = run(refusal.args);
    EXPECT_EQ(outcome.status, refusal.status);
    const std::string& want = refusal.err;
    if (want.size() >= 3 && want.compare(want.size() - 3, 3, "...") == 0) {
      EXPECT_EQ(outcome.err.rfind(want.substr(0, want.size() - 3), 0), 0u) << outcome.err;
    } else {
      EXPECT_EQ(outcome.err, want);
    }
    EXPECT_EQ(outcome.out, "");
  }
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace prvdrinfo::test
