#pragma once
// The main window. Its displays and options the jobs report to and start from live in
// MainWindowState, the CD bar in CdBar, the menus in Form1Menus; here are its regions, toolbar,
// its life (load, layout, unload) and its handlers. Qt shows it through
// app/view/Form1View; nothing here touches a widget.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "about/frmAbout.h"
#include "app/Form1Menus.h"
#include "app/MainWindowState.h"
#include "collection/TreeInteractions.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/OwnedForms.h"
#include "controls/PictureBox.h"
#include "discinfo/CdBar.h"
#include "desktop/StartArguments.h"
#include "desktop/WindowTray.h"
#include "discinfo/frmDiscInfo.h"
#include "encode/EncodeBatch.h"
#include "encode/EncoderChoices.h"
#include "finder/frmsearch.h"
#include "mp3/frmPlayList.h"
#include "settings/FrmPrefs.h"
#include "window/JobDisplays.h"

namespace korvalin {

class Form1 : public MainWindowState, public JobDisplays, public CdBar, public Form1Menus {
 public:
  // `programJobs`: the runner and the job components, which the composition root owns.
  Form1(Services& services, ProgramJobs& programJobs);
  ~Form1() override;

  // --- regions (twips) ---
  controls::PictureBox Picture3{"Picture3", controls::PictureBox::Align::Top};     // toolbar
  controls::PictureBox Picture4{"Picture4", controls::PictureBox::Align::Top};     // CD bar
  controls::PictureBox Picture5{"Picture5", controls::PictureBox::Align::Top};     // next-action strip
  controls::PictureBox Picture7{"Picture7"};                                       // tree area
  controls::PictureBox Picture8{"Picture8"};                                       // options panel
  controls::PictureBox Picture2{"Picture2", controls::PictureBox::Align::Bottom};  // activity bar
  controls::PictureBox Picture1{"Picture1", controls::PictureBox::Align::Bottom};  // status bar

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

  // Bars aligned to the top edge, in stacking order, then those aligned to the bottom edge,
  // from the bottom up.
  std::vector<controls::PictureBox*> TopBars() { return {&Picture3, &Picture4, &Picture5}; }
  std::vector<controls::PictureBox*> BottomBars() { return {&Picture1, &Picture2}; }

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
  void Disablem();
  void Enablem();

  // --- bars ---
  void mnuToolbar_Click() { SwitchBar(mnuToolbar, Picture3); }
  void mnuCDbar_Click() { SwitchBar(mnuCDbar, Picture4); }
  void mnuActivityBar_Click() { SwitchBar(mnuActivityBar, Picture2); }
  void mnuStatusbar_Click() { SwitchBar(mnuStatusbar, Picture1); }

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

  // --- dragging ---
  // A press on the window's own surface: the left button drags the window.
  void Form_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y);
  // Hands the drag of the window to the window system.
  void N1Drag();

  // The mouse work on the tree: moves, renames and the pop-up menu's commands.
  TreeInteractions treeInteractions{collection, services.loop, *this, mnupopup, mnuStart2, mnuFileRemove, mnuRemoveDelete};

  // --- low disk space ---
  controls::Label Label5{"Label5", "Low Drive space"};  // red; shown while the destination runs low

  // --- other windows ---
 private:
  // The window's part of a job's start and end; made before the other windows, so that the
  // commands are locked before a window closes for the job.
  std::vector<controls::Connection> FollowJobLife();
  std::vector<controls::Connection> lifeConnections_ = FollowJobLife();

 public:
  // Each made in one line below; the main window's view makes the view of every one.
  OwnedForms forms;
  // The window's place in the notification area, and the tray form.
  WindowTray tray{services, window, lblStatus, programJobs, forms};
  frmpopup& trayForm = tray.trayForm;
  // The File Finder and the Playlist Editor: shown on demand, closed when a job starts.
  frmsearch& finder = forms.Make<frmsearch>(services, jobs.events);
  frmPlayList& playlistEditor = forms.Make<frmPlayList>(services, collection, jobs.events);
  // The Preferences dialog: loaded hidden at start, where it settles the destination folder.
  FrmPrefs& prefs = forms.Make<FrmPrefs>(services, settings, QualityListEntries());
  frmAbout& about = forms.Make<frmAbout>(services, mnuHelp);
  // Disc Information: looks each disc read up in the background; Action menu and CD bar.
  frmDiscInfo& discInfo = forms.Make<frmDiscInfo>(services, settings, mnuActiopn, cd, lblStatus, jobs.events);

 private:
  void PlaceDesignGeometry();
  void ArrangeOptionsPanel();
  void ArrangeStatusLines(int32_t width);
  // An empty destination folder setting becomes the default destination, created when missing.
  void SettleDestination();
  void ConnectPreferences();
  void ConnectHandlers();
  void SwitchBar(controls::MenuItem& item, controls::PictureBox& bar);
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
  // The Preferences' "desktop icon" box puts the window into the tray and takes it out again.
  struct PrefsTray : TrayFormSeam {
    explicit PrefsTray(Form1& form) : form(form) {}
    void LoadTrayForm() override { form.tray.SetDesktopIcon(true, form.prefs.window); }
    void UnloadTrayForm() override { form.tray.SetDesktopIcon(false, form.prefs.window); }
    Form1& form;
  } prefsTray_{*this};
};

// Chooses the drive, then adds the files to the collection as the File Finder's "Select for
// Conversion" does.
void ApplyStartArguments(Form1& form, const StartArguments& arguments);

}  // namespace korvalin
