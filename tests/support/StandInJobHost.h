#pragma once
// A job's host, and the collection tree's, without a window: the status lines, the cancel and stop commands, the timers and
// the collection as plain controls under the main window's names, the option controls as one
// JobOptions value the test sets, and a count of every lock and release of the commands. A job
// test builds this and the job, and nothing else of the program.

#include <string>
#include <vector>

#include "collection/CollectionTree.h"
#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/ProgressBar.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "platform/Services.h"
#include "rip/modAKRip32.h"
#include "tests/support/ExtractionRig.h"
#include "window/JobHost.h"

namespace korvalin::test {

class StandInJobHost : public JobHost, public CollectionHost {
 public:
  // The timers tick on the services' event loop; the drive module uses their CD library.
  explicit StandInJobHost(Services& services);
  StandInJobHost(const StandInJobHost&) = delete;
  StandInJobHost& operator=(const StandInJobHost&) = delete;
  ~StandInJobHost() override = default;

  Services& services;

  // The displays a job writes, as the main window starts them.
  controls::Window window{"Form1", "Korvalin V 2.1"};
  controls::Label Label3{"Label3", "Next Action: Make a selection"};
  controls::Label Label2{"Label2", "Destination:  "};
  controls::Label Label33{"Label33", "OFF"};
  controls::Label lblStatus{"lblStatus"};
  controls::ProgressBar ProgressBar1{"ProgressBar1"};
  controls::CommandButton Command1{"Command1"};
  controls::CommandButton Command2{"Command2"};
  controls::Timer Timer1{"Timer1", 1000, false};  // resets the displays when it fires
  controls::Timer tmrWarning{"tmrWarning", 2000, false};
  controls::Timer tmrRecord{"tmrRecord", 100, false};
  controls::CheckBox Check9{"Check9"};

  CollectionTree collection;
  modAKRip32 cd;

  // The option controls' part of the options; ReadJobOptions adds the settings' part.
  JobOptions options;

  // Every progress report, and the locks and releases of the commands.
  ProgressLog progress;
  int disables = 0;
  int enables = 0;
  int resets = 0;
  // Between a Disablem and the next Enablem.
  bool Locked() const { return locked_; }

  // JobHost
  void ChangeProgress(const std::string& status, float done, float total) override;
  void ShowCaption(const std::string& text) override { window.SetCaption(text); }
  void ShowNextAction(const std::string& line) override { Label3.SetCaption(line); }
  void ShowDestination(const std::string& line) override { Label2.SetCaption(line); }
  void ShowPercent(const std::string& text, int32_t bar) override;
  void ShowStatus(const std::string& line) override { lblStatus.SetCaption(line); }
  void ResetStatus() override;
  void ResetStatusSoon() override { Timer1.SetEnabled(true); }
  void Disablem() override;
  void Enablem() override;
  void ShowCancelCommand() override { Command2.SetVisible(true); }
  void ShowStopCommand() override { Command1.SetVisible(true); }
  void StopSpaceWatch() override { tmrWarning.SetEnabled(false); }
  bool StopMarked() const override { return Check9.Value() == controls::CheckBox::Checked; }
  void ClearStopMark() override { Check9.SetValue(controls::CheckBox::Unchecked); }
  CollectionTree& Collection() override { return collection; }
  void Cmaddfile2(const std::string& path) override { collection.Cmaddfile2(path); }
  void DeleteAndUnlist(const std::string& path) override { collection.DeleteAndUnlist(path); }

  // CollectionHost
  void ShowMainWindow() override { window.SetVisible(true); }
  void SetCurrentTrack(int32_t track) override { CurrentTrack = track; }
  void ShowPopupMenu(controls::MenuItem& menu) override { window.PopupMenu(menu); }

  // What the stop and cancel commands do to a running job: both flags set (a cancel only; a stop
  // sets CaptureStopRequested).
  void RequestStop(bool cancel);

 protected:
  JobOptions WindowOptions() const override { return options; }

 private:
  bool locked_ = false;
  std::vector<std::unique_ptr<EventLoop::TimerHandle>> timers_;
};

}  // namespace korvalin::test
