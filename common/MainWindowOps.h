#pragma once
// The main window's operations that the jobs call. Form1 implements them; the jobs below the
// main window see only this interface, and the command-line companion has its own.

#include <string>

namespace korvalin {

class MainWindowOps {
 public:
  virtual ~MainWindowOps() = default;

  // Shows a job's progress: `done` of `total` as a percentage in the caption, the percent
  // label and the progress bar. A total of 0 raises the division-by-zero error.
  virtual void ChangeProgress(const std::string& status, float done, float total) = 0;
};

}  // namespace korvalin
