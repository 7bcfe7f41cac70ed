#pragma once
// What a command's job runs on: the stop signals caught, an event loop that turns one into the
// job's cancel, the program's job runner, and the progress bar that follows the runner.

#include <exception>
#include <utility>

#include "jobs/JobRunner.h"
#include "tools/ConsoleProgress.h"
#include "tools/StopSignals.h"

namespace korvalin::cli {

class CliJob {
 public:
  CliJob() : runner(loop) { loop.Watch(runner.flags); }

  StopSignals stopSignals;
  StoppingEventLoop loop;
  JobRunner runner;
  ConsoleProgress progress{runner.events};

  // Runs `job` on the runner and returns what it returns; an error it raises reaches the caller.
  template <class Job>
  auto Run(Job job) -> decltype(job()) {
    decltype(job()) result{};
    std::exception_ptr error;
    runner.Run([&] {
      try {
        result = job();
      } catch (...) {
        error = std::current_exception();
      }
    });
    if (error) std::rethrow_exception(error);
    return result;
  }
};

}  // namespace korvalin::cli
