#pragma once
// The commands of korvalin-cli. Each command lives in a file of its own and registers itself
// with a static CliRegistration, so adding one touches nothing else.

#include <functional>
#include <string>
#include <vector>

namespace korvalin::cli {

struct CliCommand {
  std::string name;
  std::string usage;    // the arguments, as shown by --help
  std::string summary;  // one line
  // Runs with the arguments after the command's name; returns the exit status.
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<CliCommand>& Commands();

struct CliRegistration {
  explicit CliRegistration(CliCommand command) { Commands().push_back(std::move(command)); }
};

// Prints "korvalin-cli: <reason>" on stderr and returns the failure status.
int Fail(const std::string& reason);

}  // namespace korvalin::cli
