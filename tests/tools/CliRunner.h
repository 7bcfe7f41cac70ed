#pragma once
// Runs korvalin-cli as a user would and keeps what it printed.

#include <string>
#include <vector>

namespace korvalin::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);

}  // namespace korvalin::test
