#include "app/Form1.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <utility>

#include "desktop/CrashReporter.h"
#include "common/TrackLine.h"
#include "platform/UserFolders.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeDrives.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::FakeServices;

std::vector<std::string> Texts(const controls::TreeView& tree) {
  std::vector<std::string> texts;
  for (auto* node : tree.All()) texts.push_back(node->Text());
  return texts;
}

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() {
    fake.media.trackMs = {65000, 120500, 3000};
    fake.cd.identifications = {"Demo"};
    fake.cd.SetTrackLengths({4875, 9038, 225});
  }
  FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
};

TEST_F(Form1Test, LoadReadsSettingsAndTheDiscAndBuildsTheCollection) {
  fake.store.values[{"Korvalin v2.0", "Settings", "Encoding bitrate"}] = "8";
  fake.store.values[{"Korvalin v2.0", "Settings", "Encoding quality"}] = "12";  // outside the list
  form.Form_Load();
  EXPECT_EQ(form.settings.DecodePath, fake.programFolder / "WAVFiles");
  EXPECT_EQ(form.options.cmbBitrate.ListIndex(), 8);
  EXPECT_EQ(form.options.cmbBitrate.Text(), "128");
  EXPECT_EQ(form.options.cmbQuality.ListIndex(), -1);
  EXPECT_EQ(form.cdBar.lblCDID.Caption(), "1234567");
  EXPECT_EQ(form.cdBar.cmbDrives.ListCount(), 2);
  EXPECT_EQ(form.programJobs.cd.CurrentDriveHandle, 1);
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  " + (fake.programFolder / "WAVFiles") + "/");
  EXPECT_EQ(Texts(test::Inside(form.collection).TreeView1),
            (std::vector<std::string>{"CD Tracks, WAV, MP3 files", "Selected Tracks", "Available Tracks", "Track  1 - 01:05",
                                      "Track  2 - 02:00", "Track  3 - 00:03", "Selected WAV Files", "WAV Files",
                                      "Selected MP3 Files", "MP3 Files"}));
  EXPECT_EQ(fake.exceptionFilter.installed, &CrashReporterFilter);
  EXPECT_TRUE(form.window.Visible());
  EXPECT_EQ(fake.screen.MousePointer(), controls::MousePointer::Default);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(Form1Test, RefreshListsTheTracksAndEmptiesBothListsEachTime) {
  fake.media.trackMs.assign(12, 61000);
  test::Inside(form.collection).lstRecord.AddItem("Track  9 - 01:01");
  form.cdBar.cmdRefresh_Click();
  ASSERT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 12);
  EXPECT_EQ(test::Inside(form.collection).lstTracks.List(0), "Track  1 - 01:01");
  EXPECT_EQ(test::Inside(form.collection).lstTracks.List(9), "Track 10 - 01:01");
  EXPECT_EQ(test::Inside(form.collection).lstRecord.ListCount(), 0);
  EXPECT_EQ(form.cdBar.lblNumTracks.Caption(), "12");
  form.cdBar.cmdRefresh_Click();
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 12);
  EXPECT_EQ(fake.media.commands.back(), "close cd");
  EXPECT_EQ(std::vector<std::string>(fake.media.commands.begin(), fake.media.commands.begin() + 5),
            (std::vector<std::string>{"stop cd", "close cd", "open cdaudio alias cd", "info cd identity",
                                      "status cd number of tracks"}));
}

TEST_F(Form1Test, RefreshWithoutAMusicDiscSaysSoAndNoDiscSaysNothing) {
  fake.media.trackMs = {1000};
  fake.media.dataTracks = {1};
  form.cdBar.cmdRefresh_Click();
  EXPECT_EQ(fake.media.commands.back(), "status cd type track 1");  // the device is left open
  fake.media.trackMs = {};
  form.cdBar.cmdRefresh_Click();
  EXPECT_EQ(fake.dialogs.MessageTexts(),
            (std::vector<std::string>{"The current CD is not a music CD. If you wish to use your CD as a source, "
                                      "please insert a music CD into the CD drive.",
                                      "The CD drive is empty. If you wish to use your CD as a source, please insert a "
                                      "music CD into the CD drive."}));
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 0);

  fake.media.discPresent = false;  // no disc at all: the open fails and the refresh ends silently
  form.cdBar.cmdRefresh_Click();
  EXPECT_EQ(fake.dialogs.messages.size(), 2u);
  EXPECT_EQ(form.cdBar.lblCDID.Caption(), "");
  EXPECT_EQ(form.cdBar.lblNumTracks.Caption(), "");

  // One audio track is a music CD: its track is listed.
  fake.media.discPresent = true;
  fake.media.trackMs = {61000};
  fake.media.dataTracks = {};
  form.cdBar.cmdRefresh_Click();
  EXPECT_EQ(fake.dialogs.messages.size(), 2u);
  EXPECT_EQ(test::Inside(form.collection).lstTracks.Items(), (std::vector<std::string>{"Track  1 - 01:01"}));
}

TEST_F(Form1Test, PlayStartsAtTheSumOfTheTracksBeforeTheCurrentOne) {
  form.cdBar.cmdRefresh_Click();
  form.jobs.state.CurrentTrack = 1;
  form.cdBar.Command11_Click();
  EXPECT_EQ(fake.media.commands.back(), "play cd from 0");
  form.jobs.state.CurrentTrack = 3;
  form.cdBar.Command11_Click();
  EXPECT_EQ(fake.media.commands.back(), "play cd from 185500");
  form.cdBar.Command12_Click();
  EXPECT_EQ(std::vector<std::string>(fake.media.commands.end() - 4, fake.media.commands.end()),
            (std::vector<std::string>{"stop capture", "stop cd", "close capture", "close cd"}));
}

TEST_F(Form1Test, DisablemLocksExactlyTheJobCommandsAndEnablemFreesThem) {
  form.Disablem();
  MainToolbar& t = form.toolbar;
  for (controls::Control* c : std::vector<controls::Control*>{
           &t.C777, &t.CmdSelectAction, &t.Copt, &t.C5555555, &t.Cmdhelp, &t.Command4, &form.mnuStart2,
           &form.mnuFile, &form.mnuActiopn, &form.mnuPrefs, &form.mnuHelp, &form.mnupopup, &form.mnuRemoveDelete,
           &form.mnuFileRemove}) {
    EXPECT_FALSE(c->Enabled()) << c->Name();
  }
  for (controls::Control* c : std::vector<controls::Control*>{&t.Command1, &t.Command2, &form.jobButtons.Command8,
                                                              &form.cdBar.cmdRefresh, &form.cdBar.cmbDrives, &t.Command5}) {
    EXPECT_TRUE(c->Enabled()) << c->Name();
  }
  form.Enablem();
  EXPECT_TRUE(form.toolbar.C777.Enabled());
  EXPECT_TRUE(form.mnuRemoveDelete.Enabled());
}

TEST_F(Form1Test, TheStatusReturnsToIdleOneSecondAfterTimer1IsEnabled) {
  form.settings.DecodePath = "/music";
  form.jobs.ChangeProgress("", 1, 4);
  form.displays.lblStatus.SetCaption("busy");
  form.displays.Timer1.SetEnabled(true);
  fake.loop.Advance(0.999);
  EXPECT_EQ(form.displays.Label33.Caption(), "25.00 %");
  fake.loop.Advance(0.001);
  EXPECT_EQ(form.window.Caption(), "Korvalin V " KORVALIN_VERSION);
  EXPECT_EQ(form.displays.Label3.Caption(), "Next action:");
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  /music/");
  EXPECT_EQ(form.displays.Label33.Caption(), "");
  EXPECT_EQ(form.displays.lblStatus.Caption(), "");
  EXPECT_EQ(form.displays.ProgressBar1.Value(), 0);
  EXPECT_FALSE(form.displays.Timer1.Enabled());
}

TEST_F(Form1Test, ClosingStopsTheJobThenUnloadsAndRemovesTheCrashReporter) {
  form.Form_Load();
  form.Disablem();
  bool cancel = false;
  form.window.OnQueryUnload(cancel);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(form.jobs.flags.CaptureStopRequested, kTrue);
  EXPECT_EQ(form.jobs.flags.CancelRequested, kTrue);
  EXPECT_TRUE(form.toolbar.C777.Enabled());  // "Stop Everything" re-enabled the commands
  EXPECT_TRUE(form.displays.Timer1.Enabled());
  form.window.OnUnload();
  EXPECT_TRUE(form.Unloaded());
  EXPECT_FALSE(form.window.Visible());
  EXPECT_EQ(fake.exceptionFilter.installed, nullptr);
}

TEST_F(Form1Test, RefreshDataInThePreferencesShowsTheMonitorsSurveyOfTheDrives) {
  test::FakeDrives drives;
  drives["/"] = {"/", 10'000'000'000, 4'000'500'000};
  drives["/media/stick"] = {"/media/stick", 8'000'000'000, 2'000'000'000, "Removable drive"};
  form.programJobs.diskMonitor.SetDriveSource(drives);
  form.Form_Load();
  form.windows.prefs.Text6.SetText("stale");
  form.windows.prefs.Command3.Click();
  EXPECT_EQ(form.windows.prefs.Text6.Text(), "/ - 4000 MB available\r\n");
  EXPECT_EQ(form.windows.prefs.lblDestinationRoot.Caption(), "/");
  EXPECT_EQ(form.windows.prefs.Label4.Caption(), "4000");
}

TEST(TextBeforeNul, TakesTheTextUpToTheFirstNulOrNothing) {
  const char withNul[6] = {'1', '2', '\0', '9', ' ', ' '};
  EXPECT_EQ(TextBeforeNul(withNul, 6), "12");
  EXPECT_EQ(TextBeforeNul("      ", 6), "");
  EXPECT_EQ(TrackLine(3, "04:05"), "Track  3 - 04:05");
  EXPECT_EQ(TrackLine(99, "x"), "Track 99 - x");
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST_F(Form1Test, TheBitrateAndQualityListsSaveTheirIndexAndANewStartSelectsItAgain) {
  form.Form_Load();
  form.options.cmbBitrate.SetText("128");
  EXPECT_EQ(form.settings.EncodingBitrate, 8);
  EXPECT_EQ((fake.store.values[{"Korvalin v2.0", "Settings", "Encoding bitrate"}]), "8");
  form.options.cmbQuality.SetListIndex(2);
  EXPECT_EQ((fake.store.values[{"Korvalin v2.0", "Settings", "Encoding quality"}]), "2");
  ProgramJobs againJobs{fake.services};
  Form1 again(fake.services, againJobs);
  again.Form_Load();
  EXPECT_EQ(again.options.cmbBitrate.Text(), "128");
  EXPECT_EQ(again.options.cmbQuality.Text(), "High");
}

TEST_F(Form1Test, AllTracksMovesEveryTrackAndClearingItReadsTheDiscAgain) {
  form.cdBar.cmdRefresh_Click();
  form.cdBar.Check3.SetValue(controls::CheckBox::Checked);
  EXPECT_EQ(form.cdBar.Check3.Caption(), "All Tracks");
  EXPECT_EQ(form.collection.ChosenTracks(),
            (std::vector<std::string>{"Track  1 - 01:05", "Track  2 - 02:00", "Track  3 - 00:03"}));
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 0);
  form.cdBar.Check3.SetValue(controls::CheckBox::Unchecked);
  EXPECT_EQ(form.cdBar.Check3.Caption(), "Select Tracks");
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 3);
  EXPECT_EQ(test::Inside(form.collection).lstRecord.ListCount(), 0);

  form.options.Chk2Stage.SetValue(controls::CheckBox::Unchecked);
  EXPECT_EQ(form.options.Chk2Stage.Caption(), "2 Step Extraction");
  form.options.Chk2Stage.SetValue(controls::CheckBox::Checked);
  EXPECT_EQ(form.options.Chk2Stage.Caption(), "1 Step Extraction");
}

TEST_F(Form1Test, OpenHandsAChosenWavOrMp3ToTheCollectionAndIgnoresTheRest) {
  form.Form_Load();
  const std::string wav = fake.programFolder / "Chosen.WAV", ogg = fake.programFolder / "x.ogg";
  test::WriteFile(wav, std::string(200, 'w'));
  test::WriteFile(ogg, std::string(200, 'o'));
  fake.dialogs.fileAnswers = {wav, ogg, std::nullopt};
  form.mnuOpenfile.Click();
  form.mnuOpenfile.Click();
  form.mnuOpenfile.Click();
  ASSERT_EQ(fake.dialogs.fileDialogs.size(), 3u);
  EXPECT_EQ(fake.dialogs.fileDialogs[0].title, "Select WAV or MP3 file");
  EXPECT_EQ(fake.dialogs.fileDialogs[0].filter, "WAV, MP3|*.wav;*.mp3");
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), std::vector<std::string>{wav});
  EXPECT_EQ(test::Inside(form.collection).List2.ListCount(), 0);
}

TEST(Form1Installed, AnInstalledProgramReadsItsFilesFromShareAndStartsWithTheUsersMusicFolder) {
  test::TempDir root;
  test::MakeTree(root.Path(), {"usr/bin/", "usr/share/korvalin/pictures/"});
  test::ScopedEnv env;
  env.Set("HOME", root / "home").Set("XDG_MUSIC_DIR", nullptr).Set("XDG_CONFIG_HOME", root / "home/.config");
  FakeServices fake;
  Services services = fake.services;
  services.programFolder = root / "usr/bin";
  ProgramJobs formJobs{services};
  Form1 form(services, formJobs);
  form.Form_Load();
  EXPECT_EQ(form.settings.DecodePath, root / "home/Music/Korvalin");
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  " + root / "home/Music/Korvalin" + "/");
  form.toolbar.Cmdhelp.Click();
  EXPECT_EQ(fake.help.shown, std::vector<std::string>{root / "usr/share/korvalin/Tesmor2.chm"});
}

TEST_F(Form1Test, TheFindersSelectForConversionListsAnMp3UnderMp3Files) {
  form.Form_Load();
  test::TempDir elsewhere;
  const std::string song = elsewhere / "Song.mp3", tiny = elsewhere / "tiny.mp3";
  test::WriteFile(song, std::string(200, 'm'));
  test::WriteFile(tiny, std::string(50, 'm'));  // too small for a node
  form.toolbar.C777.Click();
  form.windows.finder.Dir1.SetText(elsewhere.Path());
  form.windows.finder.zFileExt.SetText("mp3");
  form.windows.finder.Command1.Click();
  ASSERT_EQ(form.windows.finder.lstfiles.Items(), (std::vector<std::string>{song, tiny}));

  form.windows.finder.lstfiles.SetListIndex(0);
  form.windows.finder.mnuSeelectfile.Click();
  const controls::TreeNode* mp3Files = form.collection.FindText("MP3 Files");
  ASSERT_NE(mp3Files, nullptr);
  ASSERT_EQ(mp3Files->Children().size(), 1u);
  EXPECT_EQ(mp3Files->Children()[0]->Text(), song);  // full paths are shown unless set otherwise
  EXPECT_EQ(test::Inside(form.collection).List2.Items(), std::vector<std::string>{song});

  // A file the tree turns away still enters the list, so that it can be converted.
  form.windows.finder.lstfiles.SetListIndex(1);
  form.windows.finder.mnuSeelectfile.Click();
  EXPECT_EQ(mp3Files->Children().size(), 1u);
  EXPECT_EQ(test::Inside(form.collection).List2.Items(), (std::vector<std::string>{song, tiny}));
}

TEST_F(Form1Test, HelpOpensTheProgramsHelpFileOrSaysItCannotFindIt) {
  form.toolbar.Cmdhelp.Click();
  EXPECT_EQ(fake.help.shown, std::vector<std::string>{fake.programFolder / "Tesmor2.chm"});
  EXPECT_TRUE(fake.dialogs.messages.empty());
  fake.help.canShow = false;
  form.mnuHelpfile.Click();
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{"Can't find \"Tesmor2.chm\""});
}

TEST_F(Form1Test, TheAboutBoxSitsInTheHelpMenuAndNamesTheProgramAndItsLibraries) {
  ASSERT_EQ(form.mnuHelp.Items().back(), &form.windows.about.mnuAbout);
  EXPECT_EQ(form.windows.about.mnuAbout.Caption(), "About Korvalin");
  form.windows.about.mnuAbout.Click();
  EXPECT_TRUE(form.windows.about.window.Visible());
  EXPECT_EQ(form.windows.about.lblProgram.Caption(), "Korvalin V " KORVALIN_VERSION);
  std::vector<std::string> names;
  for (int32_t i = 0; i < form.windows.about.lstLibraries.ListCount(); ++i) {
    const std::string line = form.windows.about.lstLibraries.List(i);
    const auto blank = line.find(' ');
    ASSERT_NE(blank, std::string::npos) << line;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(line[blank + 1]))) << line;  // a version follows the name
    names.push_back(line.substr(0, blank));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"libcdio", "libdiscid", "LAME", "libmpg123", "ALSA", "libcurl", "TagLib"}));
  form.windows.about.cmdOK.Click();
  EXPECT_FALSE(form.windows.about.window.Visible());
}

TEST_F(Form1Test, EveryStopCommandSetsBothStopFlagsAndFreesTheCommands) {
  // Stop, Cancel, "Stop Everything" and the Action menu's Stop: a rip reads the one flag, the
  // batches the other.
  const std::pair<const char*, std::function<void()>> commands[] = {{"Stop", [&] { form.toolbar.Command1.Click(); }},
                                                                     {"Cancel", [&] { form.toolbar.Command2.Click(); }},
                                                                     {"Stop Everything", [&] { form.jobButtons.Command8.Click(); }},
                                                                     {"Action > Stop", [&] { form.mnuStop.Click(); }}};
  for (const auto& [name, click] : commands) {
    SCOPED_TRACE(name);
    form.jobs.flags = JobFlags{};
    form.Disablem();
    click();
    EXPECT_EQ(form.jobs.flags.CaptureStopRequested, kTrue);
    EXPECT_EQ(form.jobs.flags.CancelRequested, kTrue);
    EXPECT_TRUE(form.toolbar.CmdSelectAction.Enabled());
  }
}

TEST_F(Form1Test, ExitUnloadsTheWindowAndAsksItToClose) {
  form.Form_Load();
  int closes = 0;
  auto c = form.window.CloseRequested.Connect([&] { ++closes; });
  form.toolbar.Command5.Click();
  EXPECT_TRUE(form.Unloaded());
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(form.jobs.flags.CaptureStopRequested, kTrue);  // a running job was told to stop first
  EXPECT_EQ(form.jobs.flags.CancelRequested, kTrue);
}

TEST_F(Form1Test, AnEmptyDestinationSettingBecomesTheDefaultFolderNeverTheRoot) {
  fake.store.values[{"Korvalin v2.0", "Settings", "DecodePath"}] = "";
  form.Form_Load();
  EXPECT_EQ(form.settings.DecodePath, DefaultDestination(fake.programFolder.Path()));
  EXPECT_NE(form.settings.DecodePath, "");
  EXPECT_TRUE(std::filesystem::is_directory(form.settings.DecodePath));
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  " + form.settings.DecodePath + "/");
}

// The WAV files of a folder, each with the audio bytes after its 44-byte header, by track number.
std::map<int, std::string> WavTracks(const std::string& folder) {
  std::map<int, std::string> tracks;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename();
    if (entry.path().extension() != ".wav") continue;
    const int track = std::stoi(name.substr(name.find('-') + 1));
    tracks[track] = test::ReadFile(entry.path()).substr(44);
  }
  return tracks;
}

TEST(Form1Drives, TheTrackListAndTheRipReadTheDriveChosenInTheDriveList) {
  FakeServices fake;
  test::TempDir discs;
  const std::vector<std::string> a{discgen::MusicCdFrames(40, 1), discgen::MusicCdFrames(50, 2)};
  const std::vector<std::string> b{discgen::MusicCdFrames(30, 5), discgen::MusicCdFrames(60, 6), discgen::MusicCdFrames(45, 7)};
  const std::vector<CdDriveSource> drives{CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs.Path(), "a", a)),
                                          CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs.Path(), "b", b))};
  CdioLibrary library(drives);
  MediaCommandInterpreter media(drives, "null");
  Services services = fake.With({.cdLibrary = &library, .media = &media});
  ProgramJobs formJobs{services};
  Form1 form(services, formJobs);
  form.Form_Load();
  ASSERT_EQ(form.cdBar.cmbDrives.ListCount(), 3);  // two drives and the blank line
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 2);
  const std::string firstIdentity = form.cdBar.lblCDID.Caption();

  form.cdBar.cmbDrives.SetListIndex(1);
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 3);
  EXPECT_NE(form.cdBar.lblCDID.Caption(), firstIdentity);
  ASSERT_NE(form.collection.FindText(test::Inside(form.collection).lstTracks.List(2)), nullptr);  // the tree shows them

  form.options.optWAV.SetValue(true);
  test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
  form.CmdSelectAction_Click();
  const auto ripped = WavTracks(form.settings.DecodePath);
  ASSERT_EQ(ripped.size(), 3u);
  for (int t = 1; t <= 3; ++t) EXPECT_TRUE(ripped.at(t) == b[static_cast<std::size_t>(t - 1)]) << "track " << t;

  // The blank last line is no drive: nothing is listed and nothing is said.
  form.cdBar.cmbDrives.SetListIndex(2);
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 0);
  EXPECT_EQ(form.cdBar.lblCDID.Caption(), "");
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvalin
