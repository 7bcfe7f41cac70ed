#include "rip/ExtractionJob.h"

#include "controls/CheckBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <type_traits>

#include "common/TrackLine.h"
#include "fileout/WavTagChunks.h"
#include "fileout/NameTemplate.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;

// The files of a folder, by name, leaving out the jobs' rip logs.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().ends_with("-rip.log")) continue;
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The paths in `folder` named "<prefix>-<track><ext>", in name order.
std::vector<std::string> FilesFor(const std::string& folder, int32_t track, const std::string& ext) {
  const std::string tail = "-" + std::to_string(track) + ext;
  std::vector<std::string> paths;
  for (const auto& name : NamesIn(folder)) {
    if (name.size() <= tail.size() || name.compare(name.size() - tail.size(), tail.size(), tail) != 0) continue;
    const std::string prefix = name.substr(0, name.size() - tail.size());
    if (prefix.find_first_not_of("0123456789") == std::string::npos) paths.push_back(folder + "/" + name);
  }
  return paths;
}

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename(); }

// The texts of a group's children in the collection tree.
template <class Host>
std::vector<std::string> Children(const Host& form, const char* group) {
  std::vector<std::string> texts;
  if (const controls::TreeNode* node = form.collection.FindText(group)) {
    for (const auto* child : node->Children()) texts.push_back(child->Text());
  }
  return texts;
}

// A job host with the destination folder set and a disc in drive 0, its tracks listed as
// available and the collection built; the job to test works on it. The disc is either an image of
// music-like tracks read through the real drive module, or the fake library for read failures.
// The host is the stand-in, or the whole main window where a test needs the window's own commands.
template <class Host>
class JobRigOf {
 public:
  // An image disc of tracks of these lengths (frames).
  explicit JobRigOf(const std::vector<int32_t>& lengths, PrefixRandom::SeedSource seed = PrefixRandom::ClockSeed) {
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      tracks.push_back(discgen::MusicCdFrames(lengths[i], static_cast<uint32_t>(i + 3)));
    }
    image_ = std::make_unique<CdioLibrary>(
        std::vector<CdDriveSource>{CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs_.Path(), "disc", tracks))});
    Build(*image_, static_cast<int32_t>(lengths.size()), std::move(seed));
  }
  // A disc of the fake library with tracks of these lengths (frames).
  struct FakeDisc {};
  JobRigOf(FakeDisc, const std::vector<int32_t>& lengths, PrefixRandom::SeedSource seed) {
    fake.cd.identifications = {"fake"};
    fake.cd.SetTrackLengths(lengths);
    Build(fake.cd, static_cast<int32_t>(lengths.size()), std::move(seed));
  }

  void Select(const std::string& text) {
    test::Inside(form->collection).TreeView1.SetSelectedItem(form->collection.FindText(text));
  }
  std::string Line(int32_t track) const { return TrackLine(track, "00:0" + std::to_string(track)); }
  void ChooseRecord(std::initializer_list<int32_t> numbers) {
    for (int32_t n : numbers) test::Inside(form->collection).lstRecord.AddItem(Line(n));
  }
  const std::string& Dest() const { return dest.Path(); }

  test::FakeServices fake;
  TempDir dest;
  std::vector<std::string> tracks;  // the disc's audio, track by track
  std::unique_ptr<Services> services;
  std::unique_ptr<Host> form;
  std::unique_ptr<ExtractionJob> job;

 private:
  void Build(CdExtractionLibrary& library, int32_t trackCount, PrefixRandom::SeedSource seed) {
    services = std::make_unique<Services>(fake.With(library));
    form = std::make_unique<Host>(*services);
    job = std::make_unique<ExtractionJob>(*form, *services, form->cd, std::move(seed));
    form->settings.DecodePath = dest.Path();
    form->options.discIdentity = 3000;
    form->options.bitrate = 128;
    form->options.qualityIndex = 1;
    EXPECT_TRUE(form->cd.OpenDrive(0));
    for (int32_t n = 1; n <= trackCount; ++n) form->collection.AddAvailableTrack(Line(n));
    form->collection.showfiles();
  }

  TempDir discs_;
  std::unique_ptr<CdioLibrary> image_;
};

using JobRig = JobRigOf<test::StandInJobHost>;

// The frames of a WAV file's data as they stand, after checking that its header tells the truth.
std::string WavData(const std::string& path) {
  const std::string bytes = ReadFile(path);
  const auto wav = test::ParseWav(bytes);
  EXPECT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size())) << path;
  EXPECT_EQ(wav ? wav->channels : 0, 2);
  return bytes.size() >= 44 ? bytes.substr(44) : std::string();
}

TEST(ExtractionJob, AvailableTracksToWavCopiesEveryTrackInOrderAndListsEachFile) {
  JobRig rig({40, 75, 27});
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;
  rig.Select("Available Tracks");
  std::string firstCaption;
  rig.fake.loop.AtYield(1, [&] { firstCaption = form.caption + "|" + form.nextAction; });
  rig.job->cmdStart_Click();

  EXPECT_EQ(firstCaption, " Extracting Track 1| Extracting Track 1");
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 3);  // still available
  EXPECT_EQ(form.collection.ChosenTracks(), (std::vector<std::string>{rig.Line(1), rig.Line(2), rig.Line(3)}));
  EXPECT_EQ(form.collection.CurrentChosenTrack(), 0);

  std::vector<std::string> paths;
  for (int32_t t = 1; t <= 3; ++t) {
    const auto found = FilesFor(rig.Dest(), t, ".wav");
    ASSERT_EQ(found.size(), 1u) << "track " << t;
    paths.push_back(found[0]);
    EXPECT_TRUE(WavData(found[0]) == rig.tracks[static_cast<std::size_t>(t - 1)]) << "track " << t << " differs";
  }
  EXPECT_EQ(NamesIn(rig.Dest()).size(), 3u);
  // Each file joined the collection as it was finished: the tree in order, the list newest first.
  EXPECT_EQ(Children(form, "WAV Files"), (std::vector<std::string>{NameOf(paths[0]), NameOf(paths[1]), NameOf(paths[2])}));
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (std::vector<std::string>{paths[2], paths[1], paths[0]}));

  // The job leaves its last track on show and the commands locked until the Start action returns.
  EXPECT_EQ(form.state.CurrentTrack, 3);
  EXPECT_EQ(form.state.CurrentOutputPath, paths[2]);
  EXPECT_EQ(form.destination, "Destination: " + paths[2]);
  EXPECT_EQ(form.nextAction, "Extracting Track 3");
  EXPECT_TRUE(form.cancelShown);
  EXPECT_TRUE(form.Locked());
  EXPECT_EQ(form.state.StopMarked, 0);

  // The group still shows the three tracks: Start takes them again, even with the list emptied.
  test::Inside(form.collection).lstRecord.Clear();
  test::Inside(form.collection).lstTracks.Clear();
  rig.job->cmdStart_Click();
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  EXPECT_EQ(NamesIn(rig.Dest()).size(), 6u);
}

TEST(ExtractionJob, AWavTakesItsTracksTagsByNumberAndNoneWhenTheJobWritesNone) {
  for (const int version : {3, 0}) {
    SCOPED_TRACE(version);
    JobRig rig({30, 30, 30});
    test::StandInJobHost& form = *rig.form;
    form.options.toMp3 = false;
    form.settings.TagVersion = version;
    form.options.trackTags.resize(2);  // the third track has no tags
    form.options.trackTags[0].title = "First";
    form.options.trackTags[1].title = "Second";
    rig.Select("Available Tracks");
    rig.job->cmdStart_Click();

    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
    for (int32_t t = 1; t <= 3; ++t) {
      const auto found = FilesFor(rig.Dest(), t, ".wav");
      ASSERT_EQ(found.size(), 1u) << "track " << t;
      const auto info = ReadWavTagChunks(found[0]).info;
      const bool tagged = version != 0 && t <= 2;
      ASSERT_EQ(info.has_value(), tagged) << "track " << t;
      if (tagged) {
        EXPECT_EQ(info->title, form.options.trackTags[static_cast<std::size_t>(t - 1)].title);
      }
      // The audio is the track's, whatever follows it.
      const auto wav = test::ParseWav(ReadFile(found[0]));
      ASSERT_TRUE(wav.has_value());
      EXPECT_EQ(wav->dataLength, rig.tracks[static_cast<std::size_t>(t - 1)].size());
      if (!tagged) {
        EXPECT_EQ(test::FileSize(found[0]), 44 + static_cast<int64_t>(wav->dataLength));
      }
    }
    // The rip log names the tags of each tagged track.
    std::string log;
    for (const auto& entry : std::filesystem::directory_iterator(rig.Dest())) {
      if (entry.path().filename().string().ends_with("-rip.log")) log += ReadFile(entry.path());
    }
    const std::string line = "  Tags: LIST/INFO and ID3v2.3 (id3 chunk)\n";
    std::size_t named = 0;
    for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++named;
    EXPECT_EQ(named, version == 0 ? 0u : 2u) << log;
    EXPECT_EQ(log.find("  Tags: ") == std::string::npos, version == 0) << log;
  }
}

TEST(ExtractionJob, ToMp3EachTrackDecodesToItsLengthWithTheChosenBitrateAndFlags) {
  JobRig rig({60, 100});
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = true;
  form.options.bitrate = 192;
  form.options.crcBox = 1;
  form.options.copyrightedBox = 1;
  rig.Select("Available Tracks");
  rig.job->cmdStart_Click();

  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  std::vector<std::string> names;
  for (int32_t t = 1; t <= 2; ++t) {
    const auto found = FilesFor(rig.Dest(), t, ".mp3");
    ASSERT_EQ(found.size(), 1u) << "track " << t;
    const std::string mp3 = ReadFile(found[0]);
    const auto scan = test::ScanFrames(mp3);
    ASSERT_FALSE(scan.frames.empty());
    for (const auto& f : scan.frames) {
      ASSERT_EQ(f.bitrateKbps, 192);
      ASSERT_TRUE(f.crcProtected && f.copyright);
      ASSERT_FALSE(f.privateBit || f.original);
    }
    const auto decoded = test::DecodeMp3(mp3);
    const double expected = static_cast<double>(rig.tracks[static_cast<std::size_t>(t - 1)].size()) / 4;
    EXPECT_NEAR(static_cast<double>(decoded.SampleFrames()), expected, 2 * 1152 + 576) << "track " << t;
    names.push_back(NameOf(found[0]));
    EXPECT_EQ(test::Inside(form.collection).List2.Items()[static_cast<std::size_t>(2 - t)], found[0]);
  }
  EXPECT_EQ(Children(form, "MP3 Files"), names);
  EXPECT_TRUE(FilesFor(rig.Dest(), 1, ".wav").empty());
}

TEST(ExtractionJob, TheSelectionDecidesWhatStartsAndAGreyedOneStepBoxStartsNothing) {
  JobRig rig({30, 30, 30});
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;

  // "Selected Tracks" with nothing selected: one message and nothing else.
  rig.Select("Selected Tracks");
  rig.job->cmdStart_Click();
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, "You must select tracks to record.");
  EXPECT_EQ(rig.fake.dialogs.messages[0].icon, MsgBoxIcon::Information);
  EXPECT_EQ(form.caption, "Korvalin V 2.1");
  EXPECT_FALSE(form.cancelShown);
  EXPECT_FALSE(form.Locked());
  EXPECT_EQ(test::Inside(form.collection).lstTracks.ListCount(), 3);

  // "1 Step Extraction" greyed: no file, no message, no lock.
  for (int16_t value : {controls::CheckBox::Grayed}) {
    form.options.oneStep = value;
    test::Inside(form.collection).lstTracks.Clear();
    for (int32_t n = 1; n <= 3; ++n) form.collection.AddAvailableTrack(rig.Line(n));
    rig.Select("Available Tracks");
    rig.job->cmdStart_Click();
    EXPECT_TRUE(NamesIn(rig.Dest()).empty());
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_FALSE(form.cancelShown);
    EXPECT_FALSE(form.Locked());
  }

  // A track node only names the caption's track; the selected list is what is extracted.
  form.options.oneStep = controls::CheckBox::Checked;
  test::Inside(form.collection).lstRecord.Clear();
  rig.ChooseRecord({3, 1});
  rig.Select(rig.Line(2));
  std::string firstCaption;
  rig.fake.loop.AtYield(1, [&] { firstCaption = form.caption; });
  rig.job->cmdStart_Click();
  EXPECT_EQ(firstCaption, " Extracting Track 2");
  EXPECT_EQ(FilesFor(rig.Dest(), 3, ".wav").size(), 1u);
  EXPECT_EQ(FilesFor(rig.Dest(), 1, ".wav").size(), 1u);
  EXPECT_TRUE(FilesFor(rig.Dest(), 2, ".wav").empty());
  EXPECT_EQ(form.state.CurrentTrack, 1);
  EXPECT_EQ(test::Inside(form.collection).lstRecord.ListCount(), 2);
}

TEST(ExtractionJob, AStartWithNoTrackLeftToExtractSaysSoAndWritesNothing) {
  JobRig rig({30, 30});
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;
  rig.Select("Available Tracks");
  rig.job->cmdStart_Click();
  ASSERT_EQ(NamesIn(rig.Dest()).size(), 2u);

  // A disc without tracks, whose group shows none; then the Extract button with no node chosen.
  test::Inside(form.collection).lstTracks.Clear();
  form.collection.showfiles();
  const std::string caption = form.caption;
  for (controls::TreeNode* node : {form.collection.FindText("Available Tracks"), static_cast<controls::TreeNode*>(nullptr)}) {
    test::Inside(form.collection).TreeView1.SetSelectedItem(node);
    rig.job->cmdStart_Click();
  }
  EXPECT_EQ(rig.fake.dialogs.MessageTexts(),
            (std::vector<std::string>{"You must select tracks to record.", "You must select tracks to record."}));
  EXPECT_EQ(rig.fake.dialogs.messages[1].icon, MsgBoxIcon::Information);
  EXPECT_EQ(form.caption, caption);
  EXPECT_EQ(NamesIn(rig.Dest()).size(), 2u);
}

TEST(ExtractionJob, RepeatedExtractionsOfATrackNeverOverwriteAnEarlierFile) {
  // The clock gives the same seed for every name, as two starts within one clock tick would.
  JobRig rig({50, 20, 35}, [] { return uint64_t{7}; });
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;
  rig.ChooseRecord({3});
  rig.Select("Selected Tracks");
  rig.job->cmdStart_Click();
  rig.job->cmdStart_Click();
  const auto two = FilesFor(rig.Dest(), 3, ".wav");
  ASSERT_EQ(two.size(), 2u);
  for (const auto& path : two) EXPECT_TRUE(WavData(path) == rig.tracks[2]) << path;

  // Without an identity every prefix is 1: the first copy is 1-3.wav, the next a free number.
  TempDir plain;
  form.settings.DecodePath = plain.Path();
  form.options.discIdentity = 0;
  rig.job->cmdStart_Click();
  rig.job->cmdStart_Click();
  EXPECT_EQ(NamesIn(plain.Path()), (std::vector<std::string>{"1-3.wav", "2-3.wav"}));
  EXPECT_TRUE(WavData(plain / "1-3.wav") == rig.tracks[2]);
  EXPECT_EQ(test::Inside(form.collection).List1.Items().front(), plain / "2-3.wav");
}

// Every file under `folder`, relative to it, leaving out the jobs' rip logs.
std::vector<std::string> FilesUnder(const std::string& folder) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string().ends_with("-rip.log")) continue;
    paths.push_back(std::filesystem::relative(entry.path(), folder));
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<TrackTags> KnownDisc(int32_t tracks) {
  const char* titles[] = {"One", "Two/Three", ".."};
  std::vector<TrackTags> disc;
  for (int32_t t = 1; t <= tracks; ++t) {
    TrackTags tags;
    tags.title = titles[(t - 1) % 3];
    tags.artist = tags.albumArtist = "Ana Ray";
    tags.album = "Blue Hours";
    tags.track = t;
    tags.trackCount = tracks;
    disc.push_back(tags);
  }
  return disc;
}

TEST(ExtractionJob, NamesFromTheDiscInformationAreThePreviewsAndNeverTakeAnotherFilesPlace) {
  struct Row {
    const char* what;
    bool on;            // "Name files from the disc information"
    bool known;         // the disc information is known
    std::string nameTemplate;
    bool mp3;
    std::vector<std::string> before;  // files (relative, holding "mine") already there
    std::vector<std::string> made;    // the files the rip makes; empty: the described names
  };
  const std::string album = "Ana Ray/Blue Hours/";
  const std::vector<Row> rows{
      {"the default template", true, true, kDefaultNameTemplate, false, {},
       {album + "1 - One.wav", album + "2 - Two_Three.wav", album + "3 - ...wav"}},
      {"to MP3", true, true, "%artist% - %title%", true, {},
       {"Ana Ray - One.mp3", "Ana Ray - Two_Three.mp3", "Ana Ray - ...mp3"}},
      {"one name for every track", true, true, "%album%", false, {},
       {"Blue Hours.wav", "Blue Hours (2).wav", "Blue Hours (3).wav"}},
      {"a taken name gets a number", true, true, "%title%", false, {"One.wav", "One (2).wav"},
       {"One (3).wav", "Two_Three.wav", "__.wav"}},
      {"a file where a folder would go: the described names", true, true, "%artist%/%title%", false, {"Ana Ray"}, {}},
      {"turned off", false, true, kDefaultNameTemplate, false, {}, {}},
      {"no disc information", true, false, kDefaultNameTemplate, false, {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    JobRig rig({20, 25, 30});
    test::StandInJobHost& form = *rig.form;
    form.options.toMp3 = row.mp3;
    form.settings.NameFromTags = row.on ? 1 : 0;
    form.settings.NameTemplate = row.nameTemplate;
    // Names only: the files' tags are another test's (they would follow the audio here).
    form.settings.TagVersion = 0;
    form.options.tagVersion = 0;
    if (row.known) form.options.trackTags = KnownDisc(3);
    for (const auto& name : row.before) test::WriteFile(rig.Dest() + "/" + name, "mine");
    rig.Select("Available Tracks");
    rig.job->cmdStart_Click();
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());

    for (const auto& name : row.before) EXPECT_EQ(ReadFile(rig.Dest() + "/" + name), "mine") << name;
    std::vector<std::string> made;
    for (const auto& path : FilesUnder(rig.Dest())) {
      if (std::find(row.before.begin(), row.before.end(), path) == row.before.end()) made.push_back(path);
    }
    if (row.made.empty()) {  // "<prefix>-<track>.wav" in the destination itself, one per track
      ASSERT_EQ(made.size(), 3u);
      for (int32_t t = 1; t <= 3; ++t) EXPECT_EQ(FilesFor(rig.Dest(), t, ".wav").size(), 1u) << t;
      continue;
    }
    std::vector<std::string> expected = row.made;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(made, expected);
    if (row.before.empty()) {
      // What the Preferences and the Disc Information window show before the rip.
      std::vector<std::string> preview = NamesForDisc(row.nameTemplate, KnownDisc(3), row.mp3 ? ".mp3" : ".wav", false);
      std::sort(preview.begin(), preview.end());
      EXPECT_EQ(preview, made);
    }
    if (!row.mp3) {
      for (std::size_t t = 0; t < 3; ++t) EXPECT_TRUE(WavData(rig.Dest() + "/" + row.made[t]) == rig.tracks[t]) << t;
    }
    // Each file joined the collection under its real name.
    const auto& listed = row.mp3 ? test::Inside(form.collection).List2.Items() : test::Inside(form.collection).List1.Items();
    EXPECT_EQ(listed.front(), rig.Dest() + "/" + row.made[2]);
  }
}

TEST(ExtractionJob, TrackNinetyNineEndsAtTheTablesEntryNinetyNine) {
  std::vector<int32_t> lengths(99, 2);
  lengths[98] = 30;
  JobRig rig(JobRig::FakeDisc{}, lengths, [] { return uint64_t{1}; });
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;
  form.options.discIdentity = 0;
  rig.ChooseRecord({99});
  rig.Select("Selected Tracks");
  rig.job->cmdStart_Click();
  EXPECT_EQ(rig.fake.cd.reads, (std::vector<std::pair<int32_t, int32_t>>{{196, 26}, {222, 4}}));
  std::string expected;
  for (int32_t a = 196; a < 226; ++a) expected += test::FakeCdLibrary::FrameBytes(a);
  EXPECT_TRUE(WavData(rig.Dest() + "/1-99.wav") == expected);
}

TEST(ExtractionJob, ACancelDuringTheSecondTrackEndsTheJobBeforeTheThird) {
  // The window's own cancel command runs inside the job's yields.
  JobRig rig({30, 200, 30});
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;
  rig.Select("Available Tracks");
  // The cancel command: both flags, then "Stop Everything"; queued once the second track runs.
  bool queued = false;
  rig.fake.loop.EveryYield([&] {
    if (queued || form.state.CurrentTrack != 2) return;
    queued = true;
    rig.fake.loop.AtYield(2, [&] {
      form.flags.CaptureStopRequested = kTrue;
      form.flags.CancelRequested = kTrue;
      form.StopEverything();
    });
  });
  rig.job->cmdStart_Click();

  ASSERT_TRUE(queued);
  EXPECT_EQ(form.state.CurrentTrack, 2);
  EXPECT_TRUE(FilesFor(rig.Dest(), 3, ".wav").empty());
  EXPECT_TRUE(WavData(FilesFor(rig.Dest(), 1, ".wav").at(0)) == rig.tracks[0]);
  const std::string second = FilesFor(rig.Dest(), 2, ".wav").at(0);
  const std::string data = WavData(second);
  EXPECT_GT(data.size(), 0u);
  EXPECT_LT(data.size(), rig.tracks[1].size());
  EXPECT_EQ(data.size() % 2352, 0u);
  EXPECT_TRUE(data == rig.tracks[1].substr(0, data.size()));
  // Listed once, whoever listed it first.
  const auto& wavs = test::Inside(form.collection).List1.Items();
  EXPECT_EQ(std::count(wavs.begin(), wavs.end(), second), 1);
  EXPECT_EQ(Children(form, "WAV Files").size(), 2u);
  EXPECT_FALSE(form.Locked());
  EXPECT_EQ(form.state.StopMarked, 1);
}

TEST(ExtractionJob, AnEncoderThatWillNotStartEndsTheJobAfterOneMessage) {
  JobRig rig({20, 20, 20});
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = true;
  form.options.bitrate = 0;  // nothing chosen: bitrate 0, which the encoder refuses
  rig.Select("Available Tracks");
  rig.job->cmdStart_Click();
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].title, "Critical error...");
  EXPECT_EQ(form.state.CurrentTrack, 1);
  EXPECT_TRUE(NamesIn(rig.Dest()).empty());
  EXPECT_EQ(test::Inside(form.collection).List2.ListCount(), 0);
}

TEST(ExtractionJob, ATrackWhoseReadsFailIsFollowedByTheNextTrack) {
  JobRig rig(JobRig::FakeDisc{}, {40, 40, 40}, [] { return uint64_t{1}; });
  rig.fake.cd.readFails = [](int32_t address, int32_t) { return address >= 40 && address < 80; };
  test::StandInJobHost& form = *rig.form;
  form.options.toMp3 = false;
  rig.Select("Available Tracks");
  rig.job->cmdStart_Click();
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, form.cd.LibraryErrorText());
  EXPECT_TRUE(FilesFor(rig.Dest(), 2, ".wav").empty()) << "a track that gave no audio leaves no file";
  EXPECT_EQ(test::FileSize(FilesFor(rig.Dest(), 3, ".wav").at(0)), 44 + 40 * 2352);
  EXPECT_EQ(form.state.CurrentTrack, 3);
}

TEST(ExtractionJob, ADestinationThatCannotBeWrittenEndsTheJobAfterOneMessage) {
  JobRig rig(JobRig::FakeDisc{}, {30, 30, 30}, [] { return uint64_t{1}; });
  test::StandInJobHost& form = *rig.form;
  form.settings.DecodePath = rig.Dest() + "/removed";  // the folder is gone: every write fails
  for (bool mp3 : {false, true}) {
    form.options.toMp3 = mp3;
    rig.fake.dialogs.messages.clear();
    rig.Select("Available Tracks");
    rig.job->cmdStart_Click();
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u) << (mp3 ? "mp3" : "wav");
    EXPECT_EQ(rig.fake.dialogs.messages[0].text.rfind("Could not create", 0), 0u);
    const auto in = test::Inside(form.collection);
    EXPECT_TRUE(in.List1.Items().empty() && in.List2.Items().empty());  // no file to list
    EXPECT_EQ(form.state.CurrentTrack, 1);
    for (int32_t n = 1; n <= 3; ++n) form.collection.AddAvailableTrack(rig.Line(n));
  }
}

TEST(ExtractionJob, ADataTrackIsPassedOverWithAMessageAndNeverRead) {
  JobRig rig(JobRig::FakeDisc{}, {30, 30, 30}, [] { return uint64_t{1}; });
  test::StandInJobHost& form = *rig.form;
  rig.fake.cd.dataTracks = {2};
  form.cd.CloseDrive();
  ASSERT_TRUE(form.cd.OpenDrive(0));
  for (bool mp3 : {false, true}) {
    form.options.toMp3 = mp3;
    rig.fake.dialogs.messages.clear();
    rig.fake.cd.reads.clear();
    rig.Select("Available Tracks");
    rig.job->cmdStart_Click();
    EXPECT_EQ(rig.fake.dialogs.MessageTexts(), (std::vector<std::string>{DataTrackText(2)}));
    for (const auto& [address, frames] : rig.fake.cd.reads) EXPECT_TRUE(address + frames <= 30 || address >= 60);
    const char* ext = mp3 ? ".mp3" : ".wav";
    EXPECT_EQ(FilesFor(rig.Dest(), 1, ext).size(), 1u);
    EXPECT_TRUE(FilesFor(rig.Dest(), 2, ext).empty());
    EXPECT_EQ(FilesFor(rig.Dest(), 3, ext).size(), 1u);
    for (int32_t n = 1; n <= 3; ++n) form.collection.AddAvailableTrack(rig.Line(n));
  }
}

TEST(ExtractionJob, TheMp3OnlyWalkUsesTheStoredSettingsAndListsNothing) {
  JobRig rig({40, 40});
  test::StandInJobHost& form = *rig.form;
  form.settings.EncodingBitrate = 10;  // 192 kbit/s; the list shows 128
  form.settings.EncodingQuality = 1;
  rig.ChooseRecord({2, 1});

  form.options.toMp3 = false;
  rig.job->Command3_Click();
  EXPECT_TRUE(NamesIn(rig.Dest()).empty());
  EXPECT_EQ(form.collection.CurrentChosenTrack(), -1);

  form.options.toMp3 = true;
  std::vector<int32_t> selectedAtYield;
  rig.fake.loop.EveryYield([&] { selectedAtYield.push_back(form.collection.CurrentChosenTrack()); });
  rig.job->Command3_Click();
  EXPECT_EQ(selectedAtYield.front(), 0);
  EXPECT_EQ(form.collection.CurrentChosenTrack(), 1);
  for (int32_t t : {1, 2}) {
    const auto found = FilesFor(rig.Dest(), t, ".mp3");
    ASSERT_EQ(found.size(), 1u);
    for (const auto& f : test::ScanFrames(ReadFile(found[0])).frames) ASSERT_EQ(f.bitrateKbps, 192);
  }
  EXPECT_EQ(form.state.CurrentTrack, 1);
  EXPECT_EQ(form.state.CurrentOutputPath + ".mp3", FilesFor(rig.Dest(), 1, ".mp3").at(0));
  EXPECT_EQ(form.destination, "Destination: " + form.state.CurrentOutputPath);
  EXPECT_EQ(test::Inside(form.collection).List2.ListCount(), 0);
  EXPECT_TRUE(Children(form, "MP3 Files").empty());
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
}

TEST(ExtractionJob, WithSecureReadingSetEveryBlockIsReadUntilTwoReadsAgree) {
  JobRig rig(JobRig::FakeDisc{}, {30}, [] { return uint64_t{1}; });
  test::StandInJobHost& form = *rig.form;
  form.settings.SecureReading = 1;
  form.options.toMp3 = false;
  rig.Select("Available Tracks");
  rig.job->cmdStart_Click();
  EXPECT_EQ(rig.fake.cd.reads, (std::vector<std::pair<int32_t, int32_t>>{{0, 26}, {0, 26}, {26, 4}, {26, 4}}));
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  // The job's log says how its tracks were read.
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(rig.Dest())) {
    if (entry.path().filename().string().ends_with("-rip.log")) log = ReadFile(entry.path());
  }
  EXPECT_NE(log.find("Secure reading: yes"), std::string::npos) << log;
  EXPECT_NE(log.find("Read retries: 0\n  Suspicious frames: none"), std::string::npos) << log;
}

TEST(ExtractionJob, WithAReadOffsetSetEveryTrackIsTakenThatManySamplesOn) {
  JobRig rig(JobRig::FakeDisc{}, {30, 20}, [] { return uint64_t{1}; });
  test::StandInJobHost& form = *rig.form;
  form.settings.ReadOffset = 6;
  form.options.toMp3 = false;
  rig.Select("Available Tracks");
  rig.job->cmdStart_Click();
  // Each disc frame is read once: the first track reaches one frame into the second, which
  // reaches past the lead-out into silence, never read.
  EXPECT_EQ(rig.fake.cd.reads, (std::vector<std::pair<int32_t, int32_t>>{{0, 27}, {27, 4}, {30, 20}}));
  std::string disc;
  for (int32_t f = 0; f < 50; ++f) disc += test::FakeCdLibrary::FrameBytes(f);
  disc += std::string(24, '\0');
  const auto one = FilesFor(rig.Dest(), 1, ".wav"), two = FilesFor(rig.Dest(), 2, ".wav");
  ASSERT_EQ(one.size(), 1u);
  ASSERT_EQ(two.size(), 1u);
  EXPECT_TRUE(WavData(one[0]) == disc.substr(24, 30 * 2352));
  EXPECT_TRUE(WavData(two[0]) == disc.substr(24 + 30 * 2352, 20 * 2352));
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(rig.Dest())) {
    if (entry.path().filename().string().ends_with("-rip.log")) log = ReadFile(entry.path());
  }
  EXPECT_NE(log.find("Read offset correction: +6 samples"), std::string::npos) << log;
}

}  // namespace
}  // namespace korvalin
