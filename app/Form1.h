#pragma once
// The main window: MainWindowState, JobDisplays, the CdBar, its frame (regions and menus), the
// windows it owns, and here its toolbar, its life (load, layout, unload) and its handlers. Qt
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
#include "encode/EncodeBatch.h"
#include "encode/EncoderChoices.h"
#include "window/JobDisplays.h"

namespace korvalin {

class Form1 : public MainWindowState, public JobDisplays, public CdBar, public Form1Frame, public Form1Windows {
 public:
  // `programJobs`: the runner and the job components, which the composition root owns.
  Form1(Services& services, ProgramJobs& programJobs);
  ~Form1() override;

  // --- toolbar: pictures with tool tips ---
  controls::CommandButton CmdSelectAction{"CmdSelectAction"};
  controls::CommandButton C777{"C777"};
  controls::CommandButton C5555555{"C5555555"};
  controls::CommandButton Copt{"Copt"};
  controls::CommandButton Cmdhelp{"Cmdhelp"};
  controls::CommandButton Command4{"Command4"};
  controls::CommandButton Command5{"Command5"};
  controls::CommandButton Command7{"Command7"};

  // --- next-action strip: the job buttons ---
  controls::CommandButton cmdStart{"cmdStart", "Extract"};
  controls::CommandButton cmdEncFile{"cmdEncFile", "encode"};
  controls::CommandButton CmdDecoder{"CmdDecoder", "decode"};

  // --- options panel labels ---
  controls::Label lblBitrate{"lblBitrate", "Bitrate (kbit/s)"};
  controls::Label lblQuality{"lblQuality", "Quality"};

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
  void cmdStart_Click() { programJobs.extraction.cmdStart_Click(); }
  void cmdEncFile_Click() { korvalin::cmdEncFile_Click(jobs, services); }
  void CmdDecoder_Click() { programJobs.decoding.CmdDecoder_Click(); }
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
  void Cmdhelp_Click();
  void Check3_Click();
  void Chk2Stage_Click();
  void cmbBitrate_Click();
  void cmbQuality_Click();
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

  // --- low disk space ---
  controls::Label Label5{"Label5", "Low Drive space"};  // red; shown while the destination runs low

 private:
  void PlaceDesignGeometry();
  void ArrangeOptionsPanel();
  void ArrangeStatusLines(int32_t width);
  // An empty destination folder setting becomes the default destination, created when missing.
  void SettleDestination();
  void ConnectPreferences();
  void ConnectHandlers();
  template <typename Form>
  void ShowInFront(Form& form) {
    form.Show();
    form.window.RequestActivate();
  }
  // Runs a job between the Start action's opening and closing steps.
  void RunJob(const std::function<void()>& job);
  // The buttons and menus a running job disables.
  std::vector<controls::Control*> JobLockedControls();
  std::vector<std::unique_ptr<EventLoop::TimerHandle>> timers_;
  bool unloaded_ = false;
  // The window's part of a job's start and end.
  void FollowJobLife();
  std::vector<controls::Connection> lifeConnections_;
  // The Preferences' "desktop icon" box puts the window into the tray and takes it out again.
  std::unique_ptr<TrayFormSeam> prefsTray_;
};

// Chooses the drive, then adds the files as the File Finder's "Select for Conversion" does.
void ApplyStartArguments(Form1& form, const StartArguments& arguments);

}  // namespace korvalin
