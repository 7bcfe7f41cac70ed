#pragma once
// The main window: its frame (regions and menus) and its parts, each with its own controls and
// handlers: the collection, the options panel, the job displays, the CD bar, the toolbar, the
// job buttons and the windows it owns. Here are its life (load, layout, unload), the commands of
// its menus and what a job starts from. Qt shows it through app/view/Form1View; nothing here
// touches a widget.

#include <memory>
#include <string>
#include <vector>

#include "app/Form1Frame.h"
#include "app/Form1Windows.h"
#include "collection/TreeInteractions.h"
#include "common/ProgramTitle.h"
#include "desktop/StartArguments.h"
#include "discinfo/CdBar.h"
#include "encode/EncoderChoices.h"
#include "jobs/ProgramJobs.h"
#include "window/EncoderOptionsPanel.h"
#include "window/JobButtons.h"
#include "window/JobDisplays.h"
#include "window/MainToolbar.h"

namespace korvalin {

class Form1 : public Form1Frame, public CollectionHost {
 public:
  // `programJobs`: the runner and the job components, which the composition root owns.
  Form1(Services& services, ProgramJobs& programJobs);
  ~Form1() override;

  Services& services;
  ProgramJobs& programJobs;
  JobRunner& jobs;  // its flags, the job's shared state, its signals
  Settings settings;  // in memory
  controls::Window window{"Form1", kProgramTitle};

  // --- the parts, in the order they follow a job's signals ---
  CollectionTree collection{settings, services.loop, *this};
  EncoderOptionsPanel options{settings, services.store, BitrateListEntries(), QualityListEntries()};

 private:
  // Locking the commands comes first, before any other window closes for the job.
  std::vector<controls::Connection> jobConnections_ = FollowJobs();

 public:
  JobDisplays displays{jobs.events, window, settings};
  CdBar cdBar{services, {collection, programJobs.cd, jobs.state, programJobs.capture, programJobs}};
  MainToolbar toolbar{jobs.events};
  JobButtons jobButtons;
  Form1Windows windows{*this};
  // The mouse work on the tree: moves, renames and the pop-up menu's commands.
  TreeInteractions treeInteractions{collection, services.loop, *this, mnupopup, mnuStart2, mnuFileRemove, mnuRemoveDelete};

  // --- life ---
  void Form_Load();
  void Form_Resize();
  // The smallest inner size (twips) at which the tree and both track lists stay usable with
  // every bar shown.
  int32_t MinimumScaleWidth();
  int32_t MinimumScaleHeight();
  void Form_Unload();
  // Set once the window has been unloaded: the program ends.
  bool Unloaded() const { return unloaded_; }

  // --- CollectionHost: the tree's mouse work shows in the next-action line and the pop-up menu ---
  void ShowMainWindow() override { window.SetVisible(true); }
  void ShowNextAction(const std::string& line) override { displays.Label3.SetCaption(line); }
  void SetCurrentTrack(int32_t track) override { jobs.state.CurrentTrack = track; }
  void ShowPopupMenu(controls::MenuItem& menu) override { window.PopupMenu(menu); }

  // The commands a running job must not run beside: locked and freed with the job's lock.
  void Disablem();
  void Enablem();
  // The options and selection a job starts with: the option controls, the CD information, the
  // settings, the disc's known tags and what is selected in the collection now.
  JobOptions ReadJobOptions() const;

  // The Start action: the job the tree's selected node calls for, bracketed by the steps every
  // job shares (flags cleared, the commands enabled again and the status reset a second later).
  void CmdSelectAction_Click();
  // "Start ": shows the toolbar first.
  void mnuStart_Click();

  // --- commands ---
  // Unloads the main window, which ends the program.
  void ExitCommand();
  void mnuOpenfile_Click();
  // "Sound Mixer": unloads the Playlist Editor and starts the desktop's mixer program (or says
  // that none is installed).
  void Command4_Click();

 private:
  std::vector<controls::Connection> FollowJobs();
  void PlaceDesignGeometry();
  void ConnectPreferences();
  void ConnectHandlers();
  // The buttons and menus a running job disables.
  std::vector<controls::Control*> JobLockedControls();
  std::vector<std::unique_ptr<EventLoop::TimerHandle>> timers_;
  bool unloaded_ = false;
  // The window's part of a job's start and end.
  void FollowJobLife();
  std::vector<controls::Connection> lifeConnections_;
};

// Chooses the drive, then adds the files as the File Finder's "Select for Conversion" does.
void ApplyStartArguments(Form1& form, const StartArguments& arguments);

}  // namespace korvalin
