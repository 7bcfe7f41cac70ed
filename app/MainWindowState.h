#pragma once
// The main window's displays and options that the jobs report to and start from: the status
// displays, the encoder and extraction options, the CD labels, the collection and the drive.
// The jobs run on the job runner; these displays follow its signals, and the options and the
// collection's selection are what a job reads as it starts.
// Form1 (app/) is this state plus its toolbar, menus, layout and handlers.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ProgramTitle.h"
#include "collection/CollectionTree.h"
#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/Window.h"
#include "discinfo/DiscInfo.h"
#include "encode/EncoderOptionsPanel.h"
#include "platform/Services.h"
#include "settings/Settings.h"
#include "jobs/ProgramJobs.h"

namespace korvalin {

class MainWindowState : public CollectionHost {
 public:
  MainWindowState(Services& services, ProgramJobs& programJobs);
  MainWindowState(const MainWindowState&) = delete;
  MainWindowState& operator=(const MainWindowState&) = delete;
  ~MainWindowState() override = default;

  Services& services;
  // The job components and the drive, and their runner: its flags, the job's shared state, its
  // signals.
  ProgramJobs& programJobs;
  JobRunner& jobs;
  // The settings in memory.
  Settings settings;

  controls::Window window{"Form1", kProgramTitle};

  // --- encoder and extraction options: the options panel ---
  EncoderOptionsPanel options{settings, services.store};
  controls::CheckBox Check3{"Check3", "All"};  // all tracks

  // --- CD information ---
  controls::Label lblCDID{"lblCDID"};            // the disc's identity (a decimal number)
  controls::Label lblNumTracks{"lblNumTracks"};  // its track count

  // --- the collection and the drive ---
  CollectionTree collection;
  modAKRip32& cd;

  // The commands a running job must not run beside: locked and freed with the job's lock (the
  // window's, before any other window closes for the job).
  virtual void Disablem() = 0;
  virtual void Enablem() = 0;

  // CollectionHost: the tree's mouse work shows in the next-action line and the pop-up menu.
  void ShowMainWindow() override { window.SetVisible(true); }
  void SetCurrentTrack(int32_t track) override { jobs.state.CurrentTrack = track; }
  void ShowPopupMenu(controls::MenuItem& menu) override { window.PopupMenu(menu); }

  // The options and selection a job starts with: the option controls, the CD information, the
  // settings and what is selected in the collection now.
  JobOptions ReadJobOptions() const;
  // The disc's information as the user chose it (else as best found); null when the disc is not known.
  std::function<const DiscInfoCandidate*()> knownDisc = [] { return static_cast<const DiscInfoCandidate*>(nullptr); };

 private:
  // The displays follow the job's reports.
  void FollowJobs();
  std::vector<controls::Connection> jobConnections_;
};

}  // namespace korvalin
