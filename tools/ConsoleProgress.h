#pragma once
// The main window's progress display for the command line: a text bar on standard error.

#include <string>

#include "common/MainWindowOps.h"

namespace korvalin::cli {

class ConsoleProgress : public MainWindowOps {
 public:
  void ChangeProgress(const std::string& status, float done, float total) override;
  // Ends the bar's line, if one was drawn.
  void Finish();
  ~ConsoleProgress() override { Finish(); }

 private:
  int lastPercent_ = -1;
  bool drawn_ = false;
};

}  // namespace korvalin::cli
