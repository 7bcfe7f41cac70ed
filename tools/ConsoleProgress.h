#pragma once
// A job's progress on the command line: a text bar on standard error that follows the job
// runner's progress reports.

#include <cstdint>
#include <string>

#include "joblife/JobEvents.h"

namespace korvalin::cli {

class ConsoleProgress {
 public:
  explicit ConsoleProgress(JobEvents& events);
  ConsoleProgress(const ConsoleProgress&) = delete;
  ConsoleProgress& operator=(const ConsoleProgress&) = delete;
  ~ConsoleProgress() { Finish(); }
  // Ends the bar's line, if one was drawn.
  void Finish();

 private:
  void Draw(int32_t percent);
  int lastPercent_ = -1;
  bool drawn_ = false;
  controls::Connection connection_;
};

}  // namespace korvalin::cli
