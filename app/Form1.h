#pragma once
// The main window: MainWindowState, JobDisplays, the CdBar, its frame (regions and menus), the
// windows it owns, its toolbar, and here its life (load, layout, unload) and its handlers. Qt
// shows it through app/view/Form1View; nothing here touches a widget.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1Frame.h"
#include "app/Form1Windows.h"
#include "app/MainWindowState.h"
#include "collection/TreeInteractions.h"
#include "controls/CommandButton.h"
#include "discinfo/CdBar.h"
#include "desktop/StartArguments.h"
#include "jobs/JobButtons.h"
#include "window/JobDisplays.h"
#include "window/MainToolbar.h"

namespace korvalin {

class Form1 : public MainWindowState, public JobDisplays, public CdBar, public Form1Frame, public Form1Windows {
 public:
  // `programJobs`: the runner and the job components, which the composition root owns.
  Form1(Services& services, ProgramJobs& programJobs);
  ~Form1() override;

  MainToolbar toolbar{jobs.events};

  // --- next-action strip: the job buttons ---
  JobButtons jobButtons{programJobs};

  // --- life ---
  void Form_Load();
  void Form_Resize();
  // The smallest inner size (twips) at which the tree and both track lists stay usable with
  // every bar shown.
  int32_t MinimumScaleWidth();
  int32_t MinimumScaleHeight();
  // Any attempt to close the window: stops a running job first; the close goes ahead.
  void Form_QueryUnload(bool& cancel);
  void Form_Unload();
  // Set once the window has been unloaded: the program ends.
  bool Unloaded() const { return unloaded_; }

  // --- status ---
  // The tree's mouse work shows in the next-action line.
  void ShowNextAction(const std::string& line) override { Label3.SetCaption(line); }
  // The commands a running job must not run beside: locked and freed with the job's lock.
  void Disablem() override;
  void Enablem() override;

  // --- jobs: the handlers start the job components the composition root owns ---
  void cmdStart_Click() { programJobs.Start(EntryKind::Track); }
  void tmrRecord_Timer() { programJobs.capture.tmrRecord_Timer(); }

  // The Start action: the job the tree's selected node calls for, bracketed by the steps every
  // job shares (flags cleared, the commands enabled again and the status reset a second later).
  void CmdSelectAction_Click();
  // "Start ": shows the toolbar first.
  void mnuStart_Click();

  // --- commands ---
  void mnuRefreshlist_Click() { RefreshList(); }
  // Unloads the main window, which ends the program.
  void ExitCommand();
  // Puts the main window away into the notification area (or the task bar).
  void MinimizeCommand() { tray.MinimizeCommand(); }
  void Command1_Click() { jobs.Stop(); }
  void Command2_Click() { jobs.Cancel(); }
  void mnuOpenfile_Click();
  void Check3_Click();
  // A window's button shows it, or brings it to the front when it is open already.
  void C777_Click() { ShowInFront(finder); }
  void C5555555_Click() { ShowInFront(playlistEditor); }
  // "Sound Mixer": unloads the Playlist Editor and starts the desktop's mixer program (or says
  // that none is installed).
  void Command4_Click();
  void Copt_Click() { ShowInFront(prefs); }

  // --- dragging: a left press on the window's own surface hands its drag to the window system ---
  void Form_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y);
  void N1Drag();

  // The mouse work on the tree: moves, renames and the pop-up menu's commands.
  TreeInteractions treeInteractions{collection, services.loop, *this, mnupopup, mnuStart2, mnuFileRemove, mnuRemoveDelete};

 private:
  void PlaceDesignGeometry();
  void ArrangeOptionsPanel();
  void ArrangeStatusLines(int32_t width);
  void ConnectPreferences();
  void ConnectHandlers();
  template <typename Form>
  void ShowInFront(Form& form) {
    form.Show();
    form.window.RequestActivate();
  }
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
