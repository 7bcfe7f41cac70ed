#include "tests/support/BoundedRun.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>

namespace korvalin::test {

BoundedRun RunBounded(std::chrono::milliseconds limit, const std::function<std::string()>& body) {
  BoundedRun run;
  int out[2];
  if (::pipe(out) != 0) return run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);  // its own group, so that whatever it starts is killed with it
    ::close(out[0]);
    const std::string result = body();
    for (std::size_t done = 0; done < result.size();) {
      const ssize_t n = ::write(out[1], result.data() + done, result.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(out[1]);
  if (pid < 0) {
    ::close(out[0]);
    return run;
  }
  ::setpgid(pid, pid);
  std::string result;
  int status = 0;
  while (true) {
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      run.finished = true;
      break;
    }
    if (std::chrono::steady_clock::now() - start > limit) {
      ::kill(-pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      break;
    }
    const timespec pause{0, 2'000'000};
    ::nanosleep(&pause, nullptr);
  }
  run.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  char buffer[4096];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<std::size_t>(n));
  ::close(out[0]);
  run.finished = run.finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.result = run.finished ? result : std::string();
  return run;
}

}  // namespace korvalin::test
