#pragma once
// The displays a job reports to: the window's caption, the next-action, destination and status
// lines, the percentage and the progress bar. They follow the job's signals and return to idle
// when a job asks (at once, or a second later through Timer1). Why the program stopped a job
// itself (low disk space) stays in the status line until the next job starts.

#include <cstdint>
#include <string>
#include <vector>

#include "controls/Label.h"
#include "controls/ProgressBar.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "joblife/JobEvents.h"
#include "settings/Settings.h"

namespace korvalin {

class JobDisplays {
 public:
  // `window`: whose caption shows a job's progress; `settings`: the destination folder shown.
  JobDisplays(JobEvents& events, controls::Window& window, const Settings& settings);
  JobDisplays(const JobDisplays&) = delete;
  JobDisplays& operator=(const JobDisplays&) = delete;
  virtual ~JobDisplays() = default;

  controls::Label Label3{"Label3", "Next Action: Make a selection"};  // next-action line
  controls::Label Label2{"Label2", "Destination:  "};                 // destination line
  controls::Label Label33{"Label33", "OFF"};                          // percent
  controls::Label lblStatus{"lblStatus"};
  controls::ProgressBar ProgressBar1{"ProgressBar1"};
  controls::Timer Timer1{"Timer1", 1000, false};  // returns the displays to idle

  // Places the displays in their regions (twips from each one's corner): the next-action line in
  // its strip, the destination line in the activity bar, the progress bar, the percentage and the
  // status line in the status bar.
  void PlaceControls();
  // Fits the lines to a window `width` wide: the destination and status lines keep the margin of
  // the destination line on the right, the next-action line ends at `nextActionEnd`.
  void ArrangeLines(int32_t width, int32_t nextActionEnd);

  void ResetStatus();
  void Timer1_Timer();
  // The destination line for a folder setting: "Destination:  " + folder + "/".
  std::string DestinationLine() const { return "Destination:  " + settings_.DecodePath + "/"; }

 private:
  controls::Window& window_;
  const Settings& settings_;
  std::string stopNotice_;
  std::vector<controls::Connection> connections_;
};

}  // namespace korvalin
