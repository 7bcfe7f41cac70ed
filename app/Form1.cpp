#include "app/Form1.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "collection/BackingLists.h"
#include "common/FileKind.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "controls/BarSwitches.h"
#include "desktop/CrashReporter.h"
#include "desktop/MixerProgram.h"
#include "encode/EncoderChoices.h"
#include "platform/UserFolders.h"
#include "settings/AccuracySettings.h"
#include "settings/DiscInfoSettings.h"
#include "settings/TagSettings.h"
#include "settings/NamingSettings.h"

namespace korvalin {

namespace {
// Design sizes, in twips.
constexpr int32_t kDesignWidth = 9000;
constexpr int32_t kDesignHeight = 7200;
constexpr int32_t kOptionsPanelWidth = 3000;
constexpr int32_t kToolButton = 480;
constexpr int32_t kPanelGap = 50;            // between the tree area and the options panel
constexpr int32_t kPanelMargin = 90;         // inside the options panel
constexpr int32_t kPanelContentWidth = 2820;
constexpr int32_t kTrackListsTop = 2130;     // below the option boxes
constexpr int32_t kListGap = 90;
constexpr int32_t kMinTrackListHeight = 735;  // three lines of a list
constexpr int32_t kMinTreeWidth = 3000;
constexpr int32_t kJobButtonWidth = 900;
constexpr int32_t kJobButtonGap = 60;
constexpr int32_t kStripRightMargin = 300;
}  // namespace

Form1::Form1(Services& s, ProgramJobs& p)
    : MainWindowState(s, p),
      JobDisplays(p.runner.events, window, settings),
      CdBar(s, {collection, cd, jobs.state, p.capture, p, lblCDID, lblNumTracks}),
      Form1Windows(*this, lblStatus, *this) {
  PlaceDesignGeometry();
  for (const auto& entry : BitrateListEntries()) cmbBitrate.AddItem(entry);
  for (const auto& entry : QualityListEntries()) cmbQuality.AddItem(entry);
  controls::SwitchBarsFromMenu(
      {{&mnuToolbar, &Picture3}, {&mnuCDbar, &Picture4}, {&mnuActivityBar, &Picture2}, {&mnuStatusbar, &Picture1}},
      [this] { Form_Resize(); });
  mnupopup.SetVisible(false);
  for (auto* item : {&mnuStart2, &mnuFileRemove, &mnuRemoveDelete}) item->SetEnabled(false);
  ConnectHandlers();
  finder.SetCollection(&collection);
  finder.SetProgramFolder(s.programFolder);
  ConnectPreferences();
  FollowJobLife();
  knownDisc = [this] { return discInfo.Known(); };
  timers_.push_back(services.loop.Attach(Timer1));
}

void Form1::FollowJobLife() {
  JobEvents& e = jobs.events;
  auto& c = lifeConnections_;
  c.push_back(e.starting.Connect([this] {
    IgnoreErrors([&] {
      if (settings.MinimizeOnstart == 1) MinimizeCommand();
    });
  }));
  c.push_back(e.ended.Connect([this] {
    IgnoreErrors([&] { tray.RestoreAfterJob(); });
    IgnoreErrors([&] { Timer1.SetEnabled(true); }, [&] { Enablem(); },
                 [&] {
                   // A window closed during the job stays closed: the program is ending.
                   if (!unloaded_) window.SetVisible(true);
                 });
  }));
  c.push_back(e.lowSpace.Connect([this](bool low) { Label5.SetVisible(low); }));
}

Form1::~Form1() = default;

// The Preferences' "Disk Space" tab shows the monitor's survey; every survey (a refresh or a
// tick of the monitor during a job) brings the tab up to date. Its "desktop icon" box drives the
// tray form; its encoding lists and new destination show in this window at once.
namespace {
struct PrefsTray : TrayFormSeam {
  PrefsTray(WindowTray& tray, controls::Window& preferences) : tray(tray), preferences(preferences) {}
  void LoadTrayForm() override { tray.SetDesktopIcon(true, preferences); }
  void UnloadTrayForm() override { tray.SetDesktopIcon(false, preferences); }
  WindowTray& tray;
  controls::Window& preferences;
};
}  // namespace

void Form1::ConnectPreferences() {
  prefsTray_ = std::make_unique<PrefsTray>(tray, prefs.window);
  prefs.trayForm = prefsTray_.get();
  DiskSpaceMonitor& diskMonitor = programJobs.diskMonitor;
  programJobs.diskLimits = [this] {
    return DiskSpaceLimits{settings.HDWarning, settings.HDWarningNo, settings.HDstopdecoding, settings.HDStopNo,
                           settings.DecodePath};
  };
  prefs.DriveSurvey = [&diskMonitor] { diskMonitor.Survey(); };
  // Bitrate and quality chosen there are the ones the next job uses: the main window's lists
  // show them at once (their click stores them).
  prefs.OnEncodingChosen = [this] {
    IgnoreErrors([&] { cmbQuality.SetListIndex(settings.EncodingQuality); },
                 [&] { cmbBitrate.SetListIndex(settings.EncodingBitrate); });
  };
  // A job shows its own output in the destination line until it ends.
  prefs.OnDestinationChosen = [this] {
    if (!jobs.Running()) Label2.SetCaption(DestinationLine());
  };
  // The names preview shows what a job started now would write.
  prefs.KnownDiscTags = [this] { return ReadJobOptions().trackTags; };
  discInfo.OnKnownChanged = [this] {
    if (prefs.window.Loaded()) prefs.ShowNamePreview();
  };
  prefs.PreviewExtension = discInfo.PreviewExtension = [this] { return std::string(optMP3.Value() ? ".mp3" : ".wav"); };
  diskMonitor.OnSurveyed = [this, &diskMonitor] {
    prefs.Text6.SetText(diskMonitor.DriveListing());
    prefs.lblDestinationRoot.SetCaption(diskMonitor.DestinationRoot());
    prefs.Label4.SetCaption(diskMonitor.DestinationFigure());
  };
}

void Form1::ConnectHandlers() {
  window.OnResize = [this] { Form_Resize(); };
  window.OnQueryUnload = [this](bool& cancel) { Form_QueryUnload(cancel); };
  window.OnUnload = [this] { Form_Unload(); };
  window.OnMouseDown = [this](int16_t button, int16_t shift, int32_t x, int32_t y) { Form_MouseDown(button, shift, x, y); };
  OnDiscRead = [this] { discInfo.DiscRead(); };
  Command8.OnClick = [this] { Command8_Click(); };
  mnuStop.OnClick = [this] { Command8_Click(); };
  CmdSelectAction.OnClick = [this] { CmdSelectAction_Click(); };
  mnuStart.OnClick = [this] { mnuStart_Click(); };
  mnuStart2.OnClick = [this] { mnuStart_Click(); };
  // The job buttons start their own job, with the same opening and closing steps as Start.
  cmdStart.OnClick = [this] { RunJob([this] { cmdStart_Click(); }); };
  cmdEncFile.OnClick = [this] { RunJob([this] { cmdEncFile_Click(); }); };
  CmdDecoder.OnClick = [this] { RunJob([this] { CmdDecoder_Click(); }); };
  mnuRefreshlist.OnClick = [this] { mnuRefreshlist_Click(); };
  for (auto* exit : {&mnuExit, &mnuExit2}) exit->OnClick = [this] { ExitCommand(); };
  Command5.OnClick = [this] { ExitCommand(); };
  mnuMinimize.OnClick = [this] { MinimizeCommand(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command2.OnClick = [this] { Command2_Click(); };
  mnuOpenfile.OnClick = [this] { mnuOpenfile_Click(); };
  Cmdhelp.OnClick = [this] { Cmdhelp_Click(); };
  mnuHelpfile.OnClick = [this] { Cmdhelp_Click(); };
  Check3.OnClick = [this] { Check3_Click(); };
  Chk2Stage.OnClick = [this] { Chk2Stage_Click(); };
  cmbBitrate.OnClick = [this] { cmbBitrate_Click(); };
  cmbQuality.OnClick = [this] { cmbQuality_Click(); };
  C777.OnClick = [this] { C777_Click(); };
  mnuSearch.OnClick = [this] { C777_Click(); };
  C5555555.OnClick = [this] { C5555555_Click(); };
  mnuPlaylist.OnClick = [this] { C5555555_Click(); };
  Command4.OnClick = [this] { Command4_Click(); };
  Copt.OnClick = [this] { Copt_Click(); };
  mnuGetMainPrefs.OnClick = [this] { Copt_Click(); };
}

void Form1::PlaceDesignGeometry() {
  window.Move(0, 0, kDesignWidth, kDesignHeight);
  window.SetScaleSize(kDesignWidth, kDesignHeight);
  Picture3.Move(0, 0, kDesignWidth, 540);
  Picture4.Move(0, 540, kDesignWidth, 405);
  Picture4.SetVisible(false);
  Picture5.Move(0, 540, kDesignWidth, 420);
  Picture7.Move(0, 960, kDesignWidth - kOptionsPanelWidth - 50, 5235);
  Picture8.Move(kDesignWidth - kOptionsPanelWidth, 960, kOptionsPanelWidth, 5235);
  Picture2.Move(0, kDesignHeight - 705, kDesignWidth, 345);
  Picture1.Move(0, kDesignHeight - 360, kDesignWidth, 360);

  // Contents, relative to their region.
  int32_t left = 60;
  for (auto* b : {&CmdSelectAction, &C777, &C5555555, &Copt, &Cmdhelp, &Command4, &Command1, &Command2, &Command5}) {
    b->Move(left, 30, kToolButton, kToolButton);
    left += kToolButton + 30;
  }
  Command7.Move(left, 30, kToolButton, kToolButton);
  Command7.SetVisible(false);
  Label5.Move(left + kToolButton + 120, 150, 2000, 255);
  Label5.SetVisible(false);
  const std::pair<controls::CommandButton*, const char*> tips[] = {
      {&CmdSelectAction, "Start"}, {&C777, "Search for Files"}, {&C5555555, "Playlist Editor"}, {&Copt, "Preferences"},
      {&Cmdhelp, "Help"},          {&Command5, "Exit"},         {&Command2, "Cancel"},          {&Command4, "Sound Mixer"},
      {&Command8, "Stop Everything"}, {&Command1, "Stop"}};
  for (const auto& [button, tip] : tips) button->SetToolTipText(tip);
  const std::pair<controls::CommandButton*, const char*> pictures[] = {
      {&CmdSelectAction, "start.svg"}, {&C777, "search.svg"}, {&C5555555, "playlist.svg"}, {&Copt, "preferences.svg"},
      {&Cmdhelp, "help.svg"},          {&Command4, "mixer.svg"}, {&Command1, "stop.svg"}, {&Command2, "cancel.svg"},
      {&Command5, "exit.svg"}};
  for (const auto& [button, picture] : pictures) button->SetPicture(picture);

  CdBar::PlaceControls();
  Check3.Move(4620, 45, 1740, 315);  // wide enough for "Select Tracks"
  lblCDID.Move(6420, 75, 1200, 255);
  lblNumTracks.Move(7680, 75, 900, 255);

  cmdStart.Move(4920, 45, 900, 330);
  cmdEncFile.Move(5880, 45, 900, 330);
  CmdDecoder.Move(6840, 45, 900, 330);
  Command8.Move(7800, 45, 900, 330);

  lblBitrate.Move(90, 60, 1350, 255);
  cmbBitrate.Move(1500, 30, 1410, 315);
  lblQuality.Move(90, 420, 1350, 255);
  cmbQuality.Move(1500, 390, 1410, 315);
  chkCRC.Move(90, 780, 1350, 285);
  chkPrivate.Move(1500, 780, 1410, 285);
  chkOriginal.Move(90, 1080, 1350, 285);
  chkCopyright.Move(1500, 1080, 1410, 285);
  optMP3.Move(90, 1440, 1350, 285);
  optWAV.Move(1500, 1440, 1410, 285);
  Chk2Stage.Move(90, 1770, 2820, 285);
  collection.Shown().lstTracks.Move(90, 2130, 2820, 1440);
  collection.Shown().lstRecord.Move(90, 3660, 2820, 1440);

  JobDisplays::PlaceControls();
}

// --- life --------------------------------------------------------------------------------------

void Form1::Form_Load() {
  services.screen.SetMousePointer(controls::MousePointer::Hourglass);
  IgnoreErrors(
      [&] { ::chdir(services.programFolder.c_str()); },
      [&] {
        controls::TreeView& tree = collection.Shown().TreeView1;
        tree.Move(0, 0, tree.Width(), tree.Height());
      },
      [&] {
        window.Move((services.screen.Width() - window.Width()) / 2, (services.screen.Height() - window.Height()) / 2,
                    window.Width(), window.Height());
      },
      [&] { ProgressBar1.SetValue(0); },
      [&] { LoadSettings(services.store, settings, StartingDestination(services.programFolder)); },
      [&] { LoadAccuracySettings(services.store, settings); },
      [&] { LoadDiscInfoSettings(services.store, settings); },
      [&] { LoadTagSettings(services.store, settings); },
      [&] { LoadNamingSettings(services.store, settings); },
      [&] { SettleDestination(); },
      [&] { cmdRefresh_Click(); },
      [&] { ::chdir(services.programFolder.c_str()); },
      [&] { FillDriveList(); },
      [&] { prefs.Form_Load(); },  // hidden; it settles the destination folder
      [&] { finder.Dir1.SetText(settings.DecodePath); },
      [&] { Label2.SetCaption(DestinationLine()); },
      [&] { collection.showfiles(); },
      [&] { Form_Resize(); },
      [&] { cmbQuality.SetListIndex(settings.EncodingQuality); },
      [&] { cmbBitrate.SetListIndex(settings.EncodingBitrate); },
      [&] { services.exceptionFilter.SetUnhandledExceptionFilter(CrashReporterFilter); },
      [&] { window.SetVisible(true); });
  services.screen.SetMousePointer(controls::MousePointer::Default);
}

void Form1::SettleDestination() {
  // An empty destination would make every rebuild of the collection read the whole file system
  // and every output name a path at its root.
  if (!settings.DecodePath.empty()) return;
  settings.DecodePath = DefaultDestination(services.programFolder);
  std::error_code ec;
  std::filesystem::create_directories(settings.DecodePath, ec);  // a failure shows at the first write
}

void Form1::Form_Resize() {
  const int32_t width = window.ScaleWidth();
  const int32_t height = window.ScaleHeight();
  controls::FreeBand band{0, height};  // what the bars leave
  IgnoreErrors(
      [&] { band = Bars().Arrange(width, height); },
      [&] { Picture7.SetLeft(0); },
      [&] { Picture8.SetLeft(width - Picture8.Width()); },
      // The tree area and the options panel share the height between the bars, so no bar ever
      // covers the panel nor the panel a bar.
      [&] { Picture7.Move(0, band.top, Picture7.Width(), band.Height()); },
      [&] { Picture8.Move(Picture8.Left(), band.top, Picture8.Width(), Picture7.Height()); },
      [&] { Picture7.SetWidth(std::max(0, width - Picture8.Width() - kPanelGap)); },
      [&] { collection.Shown().TreeView1.SetHeight(Picture7.Height()); },
      [&] { collection.Shown().TreeView1.SetWidth(Picture7.Width()); },
      [&] { ArrangeOptionsPanel(); },
      [&] { ArrangeStatusLines(width); });
}

void Form1::ArrangeOptionsPanel() {
  // The two track lists share what the panel has below the option boxes.
  // Each keeps a few lines in a window too small for them; the window's minimum size is set so
  // that they fit (MinimumScaleHeight).
  const int32_t room = std::max(0, Picture8.Height() - kTrackListsTop - kPanelMargin - kListGap);
  const int32_t each = std::max(kMinTrackListHeight, room / 2);
  collection.Shown().lstTracks.Move(kPanelMargin, kTrackListsTop, kPanelContentWidth, each);
  collection.Shown().lstRecord.Move(kPanelMargin, kTrackListsTop + each + kListGap, kPanelContentWidth, each);
}

int32_t Form1::MinimumScaleWidth() {
  return std::max(kMinTreeWidth + kPanelGap + Picture8.Width(),
                  kStripRightMargin + 4 * kJobButtonWidth + 3 * kJobButtonGap + kMinTreeWidth / 2);
}

int32_t Form1::MinimumScaleHeight() {
  // Every bar may be switched on.
  return Bars().TotalHeight() + kTrackListsTop + 2 * kMinTrackListHeight + kListGap + kPanelMargin;
}

void Form1::ArrangeStatusLines(int32_t width) {
  // The job buttons keep to the right edge; the next-action line has the rest of the strip.
  int32_t left = width - kStripRightMargin - 4 * kJobButtonWidth - 3 * kJobButtonGap;
  for (auto* b : {&cmdStart, &cmdEncFile, &CmdDecoder, &Command8}) {
    b->SetLeft(left);
    left += kJobButtonWidth + kJobButtonGap;
  }
  ArrangeLines(width, cmdStart.Left() - kJobButtonGap);
}

// Closing during a job first stops it: the job ends after the block in hand and returns to the
// event loop, which then ends the program.
void Form1::Form_QueryUnload(bool&) { Command1_Click(); }

void Form1::Form_Unload() {
  // The program is closing: the other windows close on the runner's signal.
  IgnoreErrors([&] { jobs.Close(); });
  IgnoreErrors([&] { services.exceptionFilter.SetUnhandledExceptionFilter(nullptr); },
               [&] { window.SetVisible(false); },
               [&] { window.SetLoaded(false); });
  unloaded_ = true;
}

// --- status ------------------------------------------------------------------------------------

std::vector<controls::Control*> Form1::JobLockedControls() {
  return {&C777,     &CmdSelectAction, &Copt,     &C5555555, &Cmdhelp,       &Command4,       &mnuStart2,
          &mnuFile,  &mnuActiopn,      &mnuPrefs, &mnuHelp,  &mnupopup,      &mnuRemoveDelete, &mnuFileRemove};
}

void Form1::Disablem() {
  for (auto* c : JobLockedControls()) c->SetEnabled(false);
}

void Form1::Enablem() {
  for (auto* c : JobLockedControls()) c->SetEnabled(true);
}

// --- dragging ----------------------------------------------------------------------------------

void Form1::Form_MouseDown(int16_t button, int16_t, int32_t, int32_t) {
  if (button == 1) N1Drag();
}

void Form1::N1Drag() { window.RequestSystemMove(); }

// --- other windows -----------------------------------------------------------------------------

void Form1::Command4_Click() {
  if (playlistEditor.window.Loaded()) playlistEditor.Form_Unload();
  // And the desktop's own mixer, where one is installed.
  const char* path = std::getenv("PATH");
  const auto mixer = FindMixerProgram(path ? path : "");
  std::string why;
  if (!mixer) {
    services.dialogs.MsgBox(kNoMixerProgram, MsgBoxButtons::OK, MsgBoxIcon::Information, "Sound Mixer");
  } else if (!StartDetached(*mixer, why)) {
    services.dialogs.MsgBox("The sound mixer " + mixer->front() + " could not be started: " + why, MsgBoxButtons::OK,
                            MsgBoxIcon::Exclamation, "Sound Mixer");
  }
}

}  // namespace korvalin
