#pragma once
// What one track's extraction works with in tests: the fake services, a record of the progress
// reports, the job flags and the drive module over a given CD library.

#include <string>
#include <vector>

#include "common/MainWindowOps.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/FakeServices.h"

namespace korvalin::test {

// The progress reports a job made, as the main window would receive them.
struct ProgressCall {
  std::string status;
  float done;
  float total;
};

struct ProgressLog : MainWindowOps {
  void ChangeProgress(const std::string& status, float done, float total) override { calls.push_back({status, done, total}); }
  // The frames done of each report, in order.
  std::vector<int> Done() const {
    std::vector<int> done;
    for (const auto& c : calls) done.push_back(static_cast<int>(c.done));
    return done;
  }
  std::vector<ProgressCall> calls;
};

struct ExtractionRig {
  explicit ExtractionRig(CdExtractionLibrary& library) : cd(library) {}
  FakeServices fake;
  ProgressLog progress;
  JobFlags flags;
  modAKRip32 cd;
  ExtractionContext ctx{cd, progress, fake.dialogs, fake.loop, flags};
};

}  // namespace korvalin::test
