#pragma once
// Runs korvalin-cli as a user would and keeps what it printed.

#include <sys/types.h>

#include <string>
#include <vector>

namespace korvalin::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);

// Starts it without waiting; what it prints goes to the files `out` and `err`.
pid_t StartCli(const std::vector<std::string>& args, const std::string& out, const std::string& err);
// Waits for it: its exit status as a shell reports it, 128 + the signal of a killed process.
int WaitCli(pid_t pid);

}  // namespace korvalin::test
