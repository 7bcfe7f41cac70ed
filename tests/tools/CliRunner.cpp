#include "tests/tools/CliRunner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace korvalin::test {

pid_t StartCli(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(o, STDOUT_FILENO);
    ::dup2(e, STDERR_FILENO);
    std::vector<char*> argv;
    static std::string program = KORVALIN_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return pid;
}

int WaitCli(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

CliResult RunCli(const std::vector<std::string>& args) {
  TempDir capture;
  const std::string out = capture / "out", err = capture / "err";
  CliResult r;
  r.status = WaitCli(StartCli(args, out, err));
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

}  // namespace korvalin::test
