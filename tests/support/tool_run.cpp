#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace prvdrinfo::test {

ToolOutcome RunToolIn(const std::string& folder, const std::string& toolPath,
                      const std::string& args, const ToolEnvironment& environment) {
  std::string line;
  for (const auto& [name, value] : environment) line += name + "='" + value + "' ";
  return RunShellIn(folder, toolPath, line + "TOOL </dev/null " + args);
}

ToolOutcome RunShellIn(const std::string& folder, const std::string& toolPath, std::string line) {
  const std::string tool = "'" + toolPath + "'";
  for (size_t at = line.find("TOOL"); at != std::string::npos;
       at = line.find("TOOL", at + tool.size())) {
    line.replace(at, 4, tool);
  }
  const std::string command = "cd '" + folder + "' && { " + line + " ; } >out 2>err";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(folder + "out"),
          ReadText(folder + "err")};
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

bool SafeForTerminal(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\n') || c == 0x7F) return false;
      ++i;
      continue;
    }
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (length == 0 || c > 0xF4 || i + length > text.size()) return false;
    uint32_t code = length == 4 ? c & 0x07u : length == 3 ? c & 0x0Fu : c & 0x1Fu;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3Fu);
    }
    if (code < 0xA0 || (length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
        code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace prvdrinfo::test
