#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/Form1.h"
#include "mp3/Id3v1Tag.h"
#include "common/TrackLine.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/ExtractionJob.h"
#include "rip/RipJournal.h"
#include "rip/RipLogFile.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/NoisyCdLibrary.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::ReadFile;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// These rips have no network: each track's verdict says so.
const std::string kUnverified = "  AccurateRip: Not verified (no answer from the database)\n";

// The main window over a generated image, every track available, the identity empty so that
// every output takes the lowest free prefix.
struct LogRig {
  // `noisy`: the disc reads as a scratched one would, and secure reading is on.
  explicit LogRig(const std::vector<int32_t>& lengths, bool noisy = false) {
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      tracks.push_back(discgen::MusicCdFrames(lengths[i], static_cast<uint32_t>(i + 21)));
    }
    image = std::make_unique<CdioLibrary>(
        std::vector<CdDriveSource>{CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs.Path(), "disc", tracks))});
    if (noisy) scratched = std::make_unique<test::NoisyCdLibrary>(*image);
    services = std::make_unique<Services>(fake.With(noisy ? static_cast<CdExtractionLibrary&>(*scratched) : *image));
    jobs = std::make_unique<ProgramJobs>(*services);
    form = std::make_unique<Form1>(*services, *jobs);
    job = std::make_unique<ExtractionJob>(jobs->runner, *services, form->programJobs.cd);
    form->settings.DecodePath = dest.Path();
    form->cdBar.lblCDID.SetCaption("");
    form->options.cmbBitrate.SetText("128");
    form->options.cmbQuality.SetListIndex(1);
    form->settings.SecureReading = noisy ? 1 : 0;
    EXPECT_TRUE(form->programJobs.cd.OpenDrive(0));
  }
  void RipAll(bool mp3) {
    test::Inside(form->collection).lstTracks.Clear();
    for (std::size_t n = 1; n <= tracks.size(); ++n) {
      form->collection.AddAvailableTrack(TrackLine(static_cast<int32_t>(n), "00:01"));
    }
    form->collection.showfiles();
    (mp3 ? form->options.optMP3 : form->options.optWAV).SetValue(true);
    test::Inside(form->collection).TreeView1.SetSelectedItem(form->collection.FindText("Available Tracks"));
    job->cmdStart_Click();
  }
  // The figures the log must show for track n, from the source audio.
  std::string Figures(std::size_t n) const {
    const DiscToc toc = TocOf(form->programJobs.cd);
    TrackChecksums sums(static_cast<int64_t>(tracks[n - 1].size() / 4), {toc.FirstAudio(n - 1), toc.LastAudio(n - 1)});
    sums.Add(reinterpret_cast<const uint8_t*>(tracks[n - 1].data()), tracks[n - 1].size());
    return "  CRC32: " + Hex8(sums.Crc32()) + "\n  AccurateRip v1: " + Hex8(sums.AccurateRipV1()) +
           "\n  AccurateRip v2: " + Hex8(sums.AccurateRipV2()) + "\n";
  }

  test::FakeServices fake;
  test::TempDir discs, dest;
  std::vector<std::string> tracks;
  std::unique_ptr<CdioLibrary> image;
  std::unique_ptr<test::NoisyCdLibrary> scratched;
  std::unique_ptr<Services> services;
  std::unique_ptr<ProgramJobs> jobs;
  std::unique_ptr<Form1> form;
  std::unique_ptr<ExtractionJob> job;
};

TEST(RipLog, EachJobLogsItsTracksBesideThemAndNeverReplacesAUsersFile) {
  LogRig rig({40, 26, 33});
  rig.RipAll(false);
  const std::string wavLog = ReadFile(rig.dest / "1-rip.log");
  EXPECT_TRUE(Has(wavLog, "Source: image " + rig.discs / "disc.cue\n")) << wavLog;
  EXPECT_TRUE(Has(wavLog, "  Secure reading: no\n  Output: WAV")) << wavLog;
  const AccurateRipDiscId id = AccurateRipIdOf(TocOf(rig.form->programJobs.cd));
  EXPECT_TRUE(Has(wavLog, "AccurateRip disc id: " + Hex8(id.id1) + "-" + Hex8(id.id2) + "-" + Hex8(id.cddb)));
  EXPECT_TRUE(Has(wavLog, "Music database disc id: ") && !Has(wavLog, "(not available)")) << wavLog;
  for (std::size_t n = 1; n <= 3; ++n) {
    const std::string frames = std::to_string(rig.tracks[n - 1].size() / 2352);
    EXPECT_TRUE(Has(wavLog, "Track " + std::to_string(n) + "\n  File: " + rig.dest / ("1-" + std::to_string(n)) +
                                ".wav\n  Frames: " + frames + " of " + frames +
                                "\n  Read retries: 0\n  Suspicious frames: none\n" + rig.Figures(n) +
                                kUnverified + "  Status: complete\n"))
        << wavLog;
  }
  EXPECT_TRUE(Has(wavLog, "; the rip is not verified\n")) << wavLog;
  EXPECT_TRUE(wavLog.ends_with("Outcome: completed\n0 of 3 tracks accurately ripped\n")) << wavLog;

  // The next job's files are 1-N.mp3: its log keeps clear of the first job's and of a user's file.
  test::WriteFile(rig.dest / "1-rip-2.log", "my notes");
  rig.RipAll(true);
  EXPECT_EQ(ReadFile(rig.dest / "1-rip-2.log"), "my notes");
  const std::string mp3Log = ReadFile(rig.dest / "1-rip-3.log");
  EXPECT_TRUE(Has(mp3Log, "  Output: MP3\n  Bitrate: 128 kbit/s\n  Quality: Normal\n  Flags: ")) << mp3Log;
  // A direct MP3 rip logs the checksums of the audio read from the disc.
  EXPECT_TRUE(Has(mp3Log, "File: " + rig.dest / "1-3.mp3\n") && Has(mp3Log, rig.Figures(3))) << mp3Log;
  EXPECT_TRUE(mp3Log.ends_with("Outcome: completed\n0 of 3 tracks accurately ripped\n"));
  EXPECT_EQ(ReadFile(rig.dest / "1-rip.log"), wavLog);
}

TEST(RipLog, ACancelledJobSaysSoAndWhereTheTrackEnded) {
  LogRig rig({30, 200, 30});
  Form1& form = *rig.form;
  bool queued = false;
  rig.fake.loop.EveryYield([&] {
    if (queued || form.jobs.state.CurrentTrack != 2) return;
    queued = true;
    rig.fake.loop.AtYield(2, [&] {
      form.jobs.flags.CancelRequested = kTrue;
      form.jobButtons.Command8.Click();
    });
  });
  rig.RipAll(false);
  ASSERT_TRUE(queued);
  const std::string log = ReadFile(rig.dest / "1-rip.log");
  EXPECT_TRUE(Has(log, "Track 1\n") && Has(log, "Track 2\n") && !Has(log, "Track 3\n")) << log;
  EXPECT_TRUE(Has(log, "  Status: cancelled after ")) << log;
  EXPECT_TRUE(Has(log, "  AccurateRip: Not verified (the track was not read to its end)\n")) << log;
  EXPECT_TRUE(log.ends_with("Outcome: cancelled\n0 of 2 tracks accurately ripped\n")) << log;
}

TEST(RipLog, SecureReadingOfAScratchedDiscLogsItsRetriesSuspiciousFramesAndTheFilesChecksums) {
  LogRig rig({40, 60}, true);
  rig.scratched->unstableFrames = {40 + 7};  // frame 7 of track 2 never reads the same way twice
  rig.RipAll(false);
  const std::string log = ReadFile(rig.dest / "1-rip.log");
  EXPECT_TRUE(Has(log, "  Secure reading: yes\n")) << log;
  EXPECT_EQ(ReadFile(rig.dest / "1-1.wav").substr(44), rig.tracks[0]);
  EXPECT_TRUE(Has(log, rig.Figures(1))) << log;
  EXPECT_TRUE(Has(log, "Track 2\n") && Has(log, "  Suspicious frames: 47\n")) << log;
  EXPECT_FALSE(Has(log, "Read retries: 0\n  Suspicious frames: 47")) << log;
  // The second track's checksums are those of the file as written, best read included.
  const std::string written = ReadFile(rig.dest / "1-2.wav").substr(44);
  EXPECT_NE(written, rig.tracks[1]);
  TrackChecksums sums(static_cast<int64_t>(written.size() / 4), {false, true});
  sums.Add(reinterpret_cast<const uint8_t*>(written.data()), written.size());
  EXPECT_TRUE(Has(log, "  CRC32: " + Hex8(sums.Crc32()) + "\n  AccurateRip v1: " + Hex8(sums.AccurateRipV1()) +
                           "\n  AccurateRip v2: " + Hex8(sums.AccurateRipV2()) + "\n" + kUnverified +
                           "  Status: complete, with suspicious frames\n"))
      << log;
  EXPECT_TRUE(log.ends_with("Outcome: completed\n0 of 2 tracks accurately ripped\n"));
}

TEST(RipLogFile, RewritesOnlyItsOwnFileAndReportsFailures) {
  test::TempDir dir;
  RipLogFile file(dir.Path(), "7");
  ASSERT_FALSE(file.Write("one"));
  ASSERT_FALSE(file.Write("two"));
  EXPECT_EQ(file.Path(), dir / "7-rip.log");
  EXPECT_EQ(ReadFile(file.Path()), "two");
  // The user put a file of their own at its name: the log moves on, the user's file stays.
  std::filesystem::remove(dir / "7-rip.log");
  test::WriteFile(dir / "7-rip.log", "mine");
  ASSERT_FALSE(file.Write("three"));
  EXPECT_EQ(ReadFile(dir / "7-rip.log"), "mine");
  EXPECT_EQ(file.Path(), dir / "7-rip-2.log");
  EXPECT_EQ(ReadFile(file.Path()), "three");
  // No temporary files are left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);

  RipLogFile nowhere(dir / "gone", "7");
  const auto failure = nowhere.Write("x");
  ASSERT_TRUE(failure);
  EXPECT_EQ(*failure, "Could not write the rip log \"" + dir / "gone/7-rip.log" + "\": No such file or directory.");

  EXPECT_EQ(LogBaseOf("/music/123-4.wav"), "123");
  EXPECT_EQ(LogBaseOf("/music/a-b-12.mp3"), "a-b");
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(RipLog, ARipOfAKnownDiscTagsEachMp3AndTheLogNamesTheTags) {
  struct Row {
    int tagVersion;
    bool known;
    std::string logLine;  // "" when no tags line is expected
  };
  for (const Row& row : {Row{3, true, "  Tags: ID3v2.3 (6 frames) and ID3v1\n"},
                         Row{4, true, "  Tags: ID3v2.4 (6 frames) and ID3v1\n"}, Row{0, true, ""},
                         Row{3, false, ""}}) {
    SCOPED_TRACE(row.tagVersion);
    LogRig rig({30, 28});
    rig.form->cdBar.lblNumTracks.SetCaption("2");
    rig.form->settings.TagVersion = row.tagVersion;
    if (row.known) {
      DiscInfoCandidate disc;
      disc.album = "Vector Album";
      disc.artist = "Anna Vector";
      disc.year = "1994";
      TrackInfo second;
      second.number = 2;
      second.title = "Second Song";
      disc.tracks = {second};
      rig.form->windows.discInfo.Session().Use(disc);
    }
    rig.RipAll(true);
    const std::string log = ReadFile(rig.dest / "1-rip.log");
    const Id3v2Reading reading = rig.fake.tags.ReadId3v2File(rig.dest / "1-2.mp3");
    if (row.logLine.empty()) {
      EXPECT_FALSE(Has(log, "Tags:")) << log;
      EXPECT_FALSE(reading.present);
      EXPECT_FALSE(IsId3v1Tag(ReadFile(rig.dest / "1-2.mp3").substr(test::FileSize(rig.dest / "1-2.mp3") - 128)));
      continue;
    }
    EXPECT_TRUE(Has(log, "Track 2\n")) << log;
    EXPECT_TRUE(Has(log, row.logLine + "  Status: complete\n")) << log;
    EXPECT_EQ(reading.version, row.tagVersion);
    EXPECT_EQ(reading.tags.title, "Second Song");
    EXPECT_EQ(reading.tags.track, 2);
    EXPECT_EQ(reading.tags.trackCount, 2);
    EXPECT_EQ(rig.fake.tags.ReadId3v2File(rig.dest / "1-1.mp3").tags.title, "");  // the information names no track 1
  }
}

}  // namespace
}  // namespace korvalin
