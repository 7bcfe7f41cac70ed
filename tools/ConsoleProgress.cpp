#include "tools/ConsoleProgress.h"

#include <unistd.h>

#include <cstdio>

#include "common/RaisedError.h"

namespace korvalin::cli {

void ConsoleProgress::ChangeProgress(const std::string&, float done, float total) {
  if (total == 0) throw RaisedError::Of(errnum::DivisionByZero);
  if (!::isatty(STDERR_FILENO)) return;  // a bar is for people watching, not for logs
  const int percent = static_cast<int>(done / total * 100.0f);
  if (percent == lastPercent_) return;  // redraw only when the figure changes
  lastPercent_ = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  std::fprintf(stderr, "\r[%.*s%*s] %3d %%", filled, "########################################", kWidth - filled, "", percent);
  std::fflush(stderr);
  drawn_ = true;
}

void ConsoleProgress::Finish() {
  if (drawn_) std::fputc('\n', stderr);
  drawn_ = false;
  lastPercent_ = -1;
}

}  // namespace korvalin::cli
