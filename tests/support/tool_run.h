#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace prvdrinfo::test {

struct ToolOutcome {
  int status = -1;  // the exit status, -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

// Variables set for the tool's run only: name and value.
using ToolEnvironment = std::vector<std::pair<std::string, std::string>>;

// Runs the tool with args (shell words, as written) inside folder, with no standard
// input unless args redirect it; standard output and error are captured through the
// files "out" and "err" there, as far as args do not send them elsewhere.
ToolOutcome RunToolIn(const std::string& folder, const std::string& toolPath,
                      const std::string& args, const ToolEnvironment& environment = {});

// Runs a shell line inside folder in which each TOOL stands for the tool; standard output
// and error are captured as RunToolIn captures them.
ToolOutcome RunShellIn(const std::string& folder, const std::string& toolPath, std::string line);

// A run that must fail: its exit status and its one line on standard error. A line given
// ending in "..." need only begin with what stands before the dots.
struct Refusal {
  std::string args;
  int status;
  std::string err;
};
// Runs each through run: it must end with that status and line, and print nothing on
// standard output.
void ExpectRefusals(const std::function<ToolOutcome(const std::string& args)>& run,
                    std::initializer_list<Refusal> refusals);

// Whether text can go to a terminal as it is: UTF-8 throughout, with no control
// character (C0 but line feed, DEL, C1) that could start an escape sequence.
bool SafeForTerminal(const std::string& text);

// A file's whole contents, byte for byte; empty when it cannot be read.
std::string ReadText(const std::string& path);

}  // namespace prvdrinfo::test
