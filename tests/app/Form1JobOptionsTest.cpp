// The options a job starts with, as the main window reads them from its controls and settings,
// and that a change made while a job runs counts from the next job on.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/Form1.h"
#include "common/TrackLine.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

// The audio files' extensions; the job's rip log beside them is left out.
std::vector<std::string> Extensions(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".log") found.push_back(entry.path().extension());
  }
  std::sort(found.begin(), found.end());
  return found;
}

TEST(Form1JobOptions, AreReadFromTheOptionControlsTheCdInformationAndTheSettings) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.options.optWAV.SetValue(true);
  form.options.Chk2Stage.SetValue(controls::CheckBox::Grayed);
  form.options.cmbBitrate.SetText("192");
  form.options.cmbQuality.SetListIndex(3);
  form.options.chkPrivate.SetValue(1);
  form.options.chkCopyright.SetValue(1);
  form.cdBar.lblCDID.SetCaption("2952790027");
  form.cdBar.lblNumTracks.SetCaption("12");
  form.settings.DecodePath = "/music";
  form.settings.EncodingBitrate = 10;
  form.settings.EncodingQuality = 2;
  form.settings.DeleteWAV = 1;
  form.settings.AudioFormat = 1;

  const JobOptions o = form.ReadJobOptions();
  EXPECT_FALSE(o.toMp3);
  EXPECT_EQ(o.oneStep, controls::CheckBox::Grayed);
  EXPECT_EQ(o.bitrate, 192);  // the numeric value of the list's text
  EXPECT_EQ(o.qualityIndex, 3);
  EXPECT_EQ((std::vector<int16_t>{o.privateBox, o.crcBox, o.copyrightedBox, o.originalBox}),
            (std::vector<int16_t>{1, 0, 1, 0}));
  EXPECT_EQ(o.discIdentity, 2952790027.0);  // beyond 32 bits: kept whole
  EXPECT_EQ(o.trackCount, 12);
  EXPECT_EQ(o.destination, "/music");
  EXPECT_EQ((std::vector<int16_t>{o.encodingBitrate, o.encodingQuality, o.deleteWav, o.audioFormat}),
            (std::vector<int16_t>{10, 2, 1, 1}));
}

TEST(Form1JobOptions, TheKnownDiscGivesEachTrackItsTagsInTheChosenVersion) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.cdBar.lblNumTracks.SetCaption("3");
  form.settings.TagVersion = 4;
  EXPECT_TRUE(form.ReadJobOptions().trackTags.empty());  // a disc with no information: no tags

  DiscInfoCandidate chosen;
  chosen.album = "Vector Album";
  chosen.artist = "Anna Vector";
  TrackInfo second;
  second.number = 2;
  second.title = "Second";
  chosen.tracks = {second};
  form.windows.discInfo.Session().Use(chosen);
  const JobOptions o = form.ReadJobOptions();
  ASSERT_EQ(o.trackTags.size(), 3u);
  EXPECT_EQ(o.trackTags[1].title, "Second");
  EXPECT_EQ(o.trackTags[1].album, "Vector Album");
  EXPECT_EQ(o.trackTags[2].trackCount, 3);
  EXPECT_EQ(o.tagVersion, 4);
}

TEST(Form1JobOptions, AnOutputChosenWhileARipRunsCountsFromTheNextRip) {
  test::FakeServices fake;
  fake.cd.identifications = {"fake"};
  fake.cd.SetTrackLengths({30, 30, 30});
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  test::TempDir first, second;
  form.settings.DecodePath = first.Path();
  form.options.cmbBitrate.SetText("128");
  form.options.optWAV.SetValue(true);
  ASSERT_TRUE(form.programJobs.cd.OpenDrive(0));
  const auto start = [&] {
    for (int32_t n = 1; n <= 3; ++n) form.collection.AddAvailableTrack(TrackLine(n, "00:01"));
    form.collection.showfiles();
    test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
    form.programJobs.Start(EntryKind::Track);
  };
  // MP3 and another folder chosen as the first track is copied: the rip goes on as it started.
  fake.loop.AtYield(2, [&] {
    form.options.optMP3.SetValue(true);
    form.settings.DecodePath = second.Path();
  });
  start();
  EXPECT_EQ(Extensions(first.Path()), (std::vector<std::string>{".wav", ".wav", ".wav"}));
  EXPECT_TRUE(Extensions(second.Path()).empty());

  start();
  EXPECT_EQ(Extensions(second.Path()), (std::vector<std::string>{".mp3", ".mp3", ".mp3"}));
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvalin
