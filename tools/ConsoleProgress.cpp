#include "tools/ConsoleProgress.h"

#include <unistd.h>

#include <cstdio>

namespace korvalin::cli {

ConsoleProgress::ConsoleProgress(JobEvents& events)
    : connection_(events.progress.Connect([this](const std::string&, int32_t bar) { Draw(bar); })) {}

void ConsoleProgress::Draw(int32_t percent) {
  if (!::isatty(STDERR_FILENO)) return;  // a bar is for people watching, not for logs
  if (percent == lastPercent_) return;   // redraw only when the figure changes
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
