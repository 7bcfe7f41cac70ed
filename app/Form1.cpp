#include "app/Form1.h"

#include <unistd.h>

#include <algorithm>

#include "common/RaisedError.h"
#include "controls/BarSwitches.h"
#include "desktop/CrashReporter.h"
#include "desktop/MixerProgram.h"
#include "desktop/ProgramHelp.h"
#include "settings/ProgramSettings.h"
#include "window/CollectionSelection.h"

namespace korvalin {

namespace {
// Design sizes, in twips.
constexpr int32_t kDesignWidth = 9000;
constexpr int32_t kDesignHeight = 7200;
constexpr int32_t kOptionsPanelWidth = 3000;
constexpr int32_t kPanelGap = 50;            // between the tree area and the options panel
constexpr int32_t kMinTreeWidth = 3000;
}  // namespace

Form1::Form1(Services& s, ProgramJobs& p) : services(s), programJobs(p), jobs(p.runner) {
  jobs.readOptions = [this] { return ReadJobOptions(); };
  PlaceDesignGeometry();
  controls::SwitchBarsFromMenu(
      {{&mnuToolbar, &Picture3}, {&mnuCDbar, &Picture4}, {&mnuActivityBar, &Picture2}, {&mnuStatusbar, &Picture1}},
      [this] { Form_Resize(); });
  mnupopup.SetVisible(false);
  for (auto* item : {&mnuStart2, &mnuFileRemove, &mnuRemoveDelete}) item->SetEnabled(false);
  ConnectHandlers();
  windows.finder.SetCollection(&collection);
  windows.finder.SetProgramFolder(s.programFolder);
  ConnectPreferences();
  FollowJobLife();
  timers_.push_back(services.loop.Attach(displays.Timer1));
}

std::vector<controls::Connection> Form1::FollowJobs() {
  JobEvents& e = jobs.events;
  std::vector<controls::Connection> c;
  c.push_back(e.locked.Connect([this] { Disablem(); }));
  c.push_back(e.unlocked.Connect([this] { Enablem(); }));
  // The collection shows the tracks a job takes and lists the files it writes.
  collection.FollowJobs(e);
  return c;
}

JobOptions Form1::ReadJobOptions() const {
  JobOptions job;
  job.TakeSettings(settings);
  job.selection = SelectionOf(collection);
  options.FillJobOptions(job);
  cdBar.FillJobOptions(job);
  job.trackTags = windows.discInfo.KnownTags(job.trackCount);
  return job;
}

void Form1::FollowJobLife() {
  JobEvents& e = jobs.events;
  auto& c = lifeConnections_;
  c.push_back(e.starting.Connect([this] {
    IgnoreErrors([&] {
      if (settings.MinimizeOnstart == 1) windows.tray.MinimizeCommand();
    });
  }));
  c.push_back(e.ended.Connect([this] {
    IgnoreErrors([&] { windows.tray.RestoreAfterJob(); });
    IgnoreErrors([&] { displays.Timer1.SetEnabled(true); }, [&] { Enablem(); },
                 [&] {
                   // A window closed during the job stays closed: the program is ending.
                   if (!unloaded_) window.SetVisible(true);
                 });
  }));
}

Form1::~Form1() = default;

// The Preferences' "Disk Space" tab shows the monitor's survey; its "desktop icon" box drives the
// tray form; its encoding lists and new destination show in this window at once.
void Form1::ConnectPreferences() {
  windows.prefs.OnDesktopIcon = [this](bool shown) { windows.tray.SetDesktopIcon(shown, windows.prefs.window); };
  windows.prefs.FollowDiskMonitor(programJobs.diskMonitor);
  programJobs.WatchSpaceBy(settings);
  // Bitrate and quality chosen there are the ones the next job uses: the options panel's lists
  // show them at once (their click stores them), and the other way round.
  windows.prefs.OnEncodingChosen = [this] { options.ShowEncoding(); };
  options.OnEncodingStored = [this] { windows.prefs.ShowEncoding(); };
  // A job shows its own output in the destination line until it ends.
  windows.prefs.OnDestinationChosen = [this] {
    if (!jobs.Running()) displays.Label2.SetCaption(displays.DestinationLine());
  };
  // The names preview shows what a job started now would write.
  windows.prefs.KnownDiscTags = [this] { return ReadJobOptions().trackTags; };
  windows.discInfo.OnKnownChanged = [this] {
    if (windows.prefs.window.Loaded()) windows.prefs.ShowNamePreview();
  };
  windows.prefs.PreviewExtension = windows.discInfo.PreviewExtension = [this] { return options.OutputExtension(); };
}

void Form1::ConnectHandlers() {
  window.OnResize = [this] { Form_Resize(); };
  // Any attempt to close the window stops a running job first: the job ends after the block in
  // hand and returns to the event loop, which then ends the program. The close goes ahead.
  window.OnQueryUnload = [this](bool&) { jobs.Stop(); };
  window.OnUnload = [this] { Form_Unload(); };
  // A left press on the window's own surface hands its drag to the window system.
  window.OnMouseDown = [this](int16_t button, int16_t, int32_t, int32_t) {
    if (button == 1) window.RequestSystemMove();
  };
  cdBar.OnDiscRead = [this] { windows.discInfo.DiscRead(); };
  // Each job button starts its own job, with the same opening and closing steps as Start; a rip or
  // an encoding stops after the block in hand, a batch before its next file.
  jobButtons.cmdStart.OnClick = [this] { jobs.Run([this] { programJobs.Start(EntryKind::Track); }); };
  jobButtons.cmdEncFile.OnClick = [this] { jobs.Run([this] { programJobs.Start(EntryKind::Wav); }); };
  jobButtons.CmdDecoder.OnClick = [this] { jobs.Run([this] { programJobs.Start(EntryKind::Mp3); }); };
  jobButtons.Command8.OnClick = mnuStop.OnClick = [this] { jobs.StopEverything(); };
  toolbar.CmdSelectAction.OnClick = [this] { CmdSelectAction_Click(); };
  mnuStart.OnClick = [this] { mnuStart_Click(); };
  mnuStart2.OnClick = [this] { mnuStart_Click(); };
  mnuRefreshlist.OnClick = [this] { cdBar.RefreshList(); };
  toolbar.Command5.OnClick = mnuExit.OnClick = mnuExit2.OnClick = [this] { ExitCommand(); };
  mnuMinimize.OnClick = [this] { windows.tray.MinimizeCommand(); };
  toolbar.Command1.OnClick = [this] { jobs.Stop(); };
  toolbar.Command2.OnClick = [this] { jobs.Cancel(); };
  mnuOpenfile.OnClick = [this] { mnuOpenfile_Click(); };
  toolbar.Cmdhelp.OnClick = mnuHelpfile.OnClick = [this] { ShowProgramHelp(services); };
  // A window's button shows it, or brings it to the front when it is open already.
  toolbar.C777.OnClick = mnuSearch.OnClick = [this] { ShowInFront(windows.finder); };
  toolbar.C5555555.OnClick = mnuPlaylist.OnClick = [this] { ShowInFront(windows.playlistEditor); };
  toolbar.Copt.OnClick = mnuGetMainPrefs.OnClick = [this] { ShowInFront(windows.prefs); };
  toolbar.Command4.OnClick = [this] { Command4_Click(); };
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

  // Contents, relative to their region (the toolbar and the options panel place their own).
  cdBar.PlaceControls();
  jobButtons.Place();
  displays.PlaceControls();
  collection.Shown().lstTracks.Move(90, 2130, 2820, 1440);
  collection.Shown().lstRecord.Move(90, 3660, 2820, 1440);
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
      [&] { displays.ProgressBar1.SetValue(0); },
      [&] { LoadProgramSettings(services.store, settings, services.programFolder); },
      [&] { cdBar.cmdRefresh_Click(); },
      [&] { ::chdir(services.programFolder.c_str()); },
      [&] { cdBar.FillDriveList(); },
      [&] { windows.prefs.Form_Load(); },  // hidden; it settles the destination folder
      [&] { windows.finder.Dir1.SetText(settings.DecodePath); },
      [&] { displays.Label2.SetCaption(displays.DestinationLine()); },
      [&] { collection.showfiles(); },
      [&] { Form_Resize(); },
      [&] { options.ShowEncoding(); },
      [&] { services.exceptionFilter.SetUnhandledExceptionFilter(CrashReporterFilter); },
      [&] { window.SetVisible(true); });
  services.screen.SetMousePointer(controls::MousePointer::Default);
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
      [&] {
        const auto lists = collection.Shown();
        EncoderOptionsPanel::ArrangeTrackLists(Picture8.Height(), lists.lstTracks, lists.lstRecord);
      },
      [&] {
        // The job buttons keep to the right edge; the next-action line has the rest of the strip.
        jobButtons.Arrange(width);
        displays.ArrangeLines(width, jobButtons.cmdStart.Left() - JobButtons::kGap);
      });
}

int32_t Form1::MinimumScaleWidth() {
  return std::max(kMinTreeWidth + kPanelGap + Picture8.Width(),
                  JobButtons::kWidth + kMinTreeWidth / 2);
}

int32_t Form1::MinimumScaleHeight() {
  // Every bar may be switched on.
  return Bars().TotalHeight() + EncoderOptionsPanel::MinimumHeight();
}

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
  std::vector<controls::Control*> locked = toolbar.JobLockedButtons();
  locked.insert(locked.end(),
                {&mnuStart2, &mnuFile, &mnuActiopn, &mnuPrefs, &mnuHelp, &mnupopup, &mnuRemoveDelete, &mnuFileRemove});
  return locked;
}

void Form1::Disablem() {
  for (auto* c : JobLockedControls()) c->SetEnabled(false);
}

void Form1::Enablem() {
  for (auto* c : JobLockedControls()) c->SetEnabled(true);
}

// --- other windows -----------------------------------------------------------------------------

void Form1::Command4_Click() {
  if (windows.playlistEditor.window.Loaded()) windows.playlistEditor.Form_Unload();
  OpenSoundMixer(services.dialogs);  // the desktop's own mixer, where one is installed
}

}  // namespace korvalin
