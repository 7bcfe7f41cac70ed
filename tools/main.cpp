// korvalin-cli: the program's jobs without a window, for scripts, benchmarks and checks.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/CliCommand.h"

namespace korvalin::cli {

std::vector<CliCommand>& Commands() {
  static std::vector<CliCommand> commands;
  return commands;
}

int Fail(const std::string& reason) {
  std::fprintf(stderr, "korvalin-cli: %s\n", reason.c_str());
  return 1;
}

namespace {

void PrintHelp(std::FILE* out) {
  std::fprintf(out,
               "Usage: korvalin-cli COMMAND [ARGUMENTS]\n"
               "       korvalin-cli --help\n\n"
               "Runs Korvalin's jobs without a window. Exit status 0 on success; otherwise a\n"
               "one-line reason on standard error.\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  if (!commands.empty()) std::fprintf(out, "\nCommands:\n");
  for (const auto& c : commands) {
    std::fprintf(out, "  %s %s\n      %s\n", c.name.c_str(), c.usage.c_str(), c.summary.c_str());
  }
}

}  // namespace
}  // namespace korvalin::cli

int main(int argc, char** argv) {
  using namespace korvalin::cli;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintHelp(stderr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(stdout);
    return 0;
  }
  for (const auto& c : Commands()) {
    if (c.name == args[0]) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  Fail("unknown command \"" + args[0] + "\" (see korvalin-cli --help)");
  return 2;
}
