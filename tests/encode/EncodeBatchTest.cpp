#include "encode/EncodeBatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::Exists;
using test::TempDir;
using Texts = std::vector<std::string>;
// Window caption, next-action line, destination line.
using Lines = std::tuple<std::string, std::string, std::string>;

// A job host, keeping the status lines each time a job locks the commands.
struct WatchedForm : test::StandInJobHost {
  explicit WatchedForm(Services& services) : StandInJobHost(services) {
    watch = events.locked.Connect([this] {
      const Lines now{caption, nextAction, destination};
      if (shown.empty() || shown.back() != now) shown.push_back(now);
    });
  }
  std::vector<Lines> shown;
  controls::Connection watch;
};

constexpr std::size_t kBlockBytes = 4 * 1152 * 2 * 2;

class EncodeBatchTest : public ::testing::Test {
 protected:
  EncodeBatchTest() {
    form.settings.DecodePath = out.Path();
    form.settings.DeleteWAV = 0;
    form.settings.ShowFullPath = 1;
    auto& tree = test::Inside(form.collection).TreeView1;
    root = &tree.Add(nullptr, "f Collection 1", "CD Tracks, WAV, MP3 files");
    selectedWav = &tree.Add(root, "g Selected WAV Files", "Selected WAV Files");
    wav = &tree.Add(root, "g WAV Files", "WAV Files");
    mp3 = &tree.Add(root, "g Available MP3 Files", "MP3 Files");
  }

  // A stereo CD WAV of `bytes` bytes of music, in the source folder unless told.
  std::string MakeWav(const std::string& name, std::size_t bytes = kBlockBytes, const TempDir* folder = nullptr) {
    const std::string path = (folder ? *folder : in) / name;
    test::WriteFile(path, test::PcmWav(discgen::MusicBytes(static_cast<int64_t>(bytes / 4), 9), 44100, 2));
    return path;
  }

  void Select(controls::TreeNode* node) { test::Inside(form.collection).TreeView1.SetSelectedItem(node); }
  Texts List2() const { return test::Inside(form.collection).List2.Items(); }

  test::FakeServices fake;
  WatchedForm form{fake.services};
  TempDir in, out;
  controls::TreeNode *root, *selectedWav, *wav, *mp3;
};

TEST_F(EncodeBatchTest, WavFilesEncodesTheWholeListInOrderShowingLowerCaseNames) {
  const Texts sources = {MakeWav("Song A.wav"), MakeWav("b.wav"), MakeWav("c.wav")};
  for (const auto& s : sources) test::Inside(form.collection).List1.AddItem(s);
  Select(wav);
  cmdEncFile_Click(form, fake.services);

  const std::string dest = "Destination:  " + out.Path() + "/";
  EXPECT_EQ(form.shown, (std::vector<Lines>{{"Encoding song a.wav", "Encoding #1 of 3 files", dest + "song a.mp3"},
                                            {"Encoding b.wav", "Encoding #2 of 3 files", dest + "b.mp3"},
                                            {"Encoding c.wav", "Encoding #3 of 3 files", dest + "c.mp3"}}));
  // Each new file went to the front of the MP3 list, under the name it was written with.
  EXPECT_EQ(List2(), (Texts{out / "c.mp3", out / "b.mp3", out / "Song A.mp3"}));
  EXPECT_EQ(form.state.CurrentOutputPath, out / "c.mp3");
  for (const auto& s : sources) EXPECT_TRUE(Exists(s));  // "Delete WAV" is off
  EXPECT_TRUE(form.resetPending);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(EncodeBatchTest, DeleteWavRemovesOnlyOwnIntermediatesEncodedCompletelyAndNeverDotWavInCapitals) {
  form.settings.DeleteWAV = 1;
  // The program's own intermediate files lie in the destination folder; "foreign" is the user's.
  const std::string good = MakeWav("good.wav", kBlockBytes, &out);
  const std::string foreign = MakeWav("foreign.wav");
  std::filesystem::create_directories(out / "sub");
  const std::string nested = MakeWav("sub/nested.wav", kBlockBytes, &out);  // below it, not in it
  const std::string loud = MakeWav("LOUD.WAV", kBlockBytes, &out);
  const std::string deep = out / "deep.wav";
  test::WriteFile(deep, test::RiffFile({{"fmt ", test::FormatBody(1, 2, 44100, 24)}, {"data", std::string(600, '\1')}}));
  const std::string gone = out / "gone.wav";
  const std::string longer = MakeWav("long.wav", 4 * kBlockBytes, &out);
  auto& wavs = test::Inside(form.collection).List1;
  for (const auto& s : {good, foreign, nested, loud, deep, gone, longer}) wavs.AddItem(s);
  test::Inside(form.collection).TreeView1.Add(wav, "p " + good, good);
  // The long file is cancelled after its first block.
  fake.loop.EveryYield([&] {
    if (form.state.CurrentOutputPath == longer && form.percent == "25.0%") form.flags.CancelRequested = kTrue;
  });
  Select(wav);
  cmdEncFile_Click(form, fake.services);

  EXPECT_FALSE(Exists(good));
  EXPECT_EQ(form.collection.FindText(good), nullptr);  // and its item left the tree and the list
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (Texts{foreign, nested, loud, deep, gone, longer}));
  EXPECT_TRUE(Exists(foreign));
  EXPECT_TRUE(Exists(nested));
  EXPECT_TRUE(Exists(out / "foreign.mp3"));
  EXPECT_TRUE(Exists(loud));
  EXPECT_TRUE(Exists(out / "LOUD.mp3"));
  EXPECT_TRUE(Exists(deep));    // refused
  EXPECT_TRUE(Exists(longer));  // cancelled: its MP3 is shorter than the source
  EXPECT_TRUE(Exists(out / "long.mp3"));
  // A missing file does not end the batch: the files after it are still encoded.
  ASSERT_EQ(fake.dialogs.messages.size(), 2u);
  EXPECT_EQ(fake.dialogs.messages[1].text, "File not found...");
  EXPECT_EQ(form.shown.back(), (Lines{"Encoding long.wav", "Encoding #7 of 7 files", "Destination:  " + out.Path() + "/long.mp3"}));
}

TEST_F(EncodeBatchTest, SmallMp3sAreListedOnlyWhenTheUserChoseTheFiles) {
  form.settings.EncodingBitrate = 0;  // 32 kbit/s: a few small frames
  const std::string a = MakeWav("tiny a.wav", 4410 * 4), b = MakeWav("tiny b.wav", 4410 * 4),
                    c = MakeWav("tiny c.wav", 4410 * 4);

  test::Inside(form.collection).List1.AddItem(a);
  Select(wav);
  cmdEncFile_Click(form, fake.services);
  const int64_t size = test::FileSize(out / "tiny a.mp3");
  ASSERT_GE(size, 100);  // big enough for the collection to take
  ASSERT_LE(size, 1000);
  EXPECT_TRUE(List2().empty());

  test::Inside(form.collection).List5.AddItem(b);
  Select(selectedWav);
  cmdEncFile_Click(form, fake.services);
  EXPECT_EQ(List2(), Texts{out / "tiny b.mp3"});

  test::Inside(form.collection).List1.AddItem(c);
  Select(&test::Inside(form.collection).TreeView1.Add(wav, "p tiny c.wav", "tiny c.wav"));
  cmdEncFile_Click(form, fake.services);
  EXPECT_EQ(List2(), (Texts{out / "tiny c.mp3", out / "tiny b.mp3"}));
}

TEST_F(EncodeBatchTest, OnlyWavGroupsAndWavItemsStartABatchAndAnEmptyListStillEndsIt) {
  for (controls::TreeNode* node : {static_cast<controls::TreeNode*>(nullptr), mp3, root}) {
    Select(node);
    cmdEncFile_Click(form, fake.services);
    EXPECT_FALSE(form.resetPending);
  }
  Select(wav);
  cmdEncFile_Click(form, fake.services);
  EXPECT_EQ(form.disables, 0);
  EXPECT_TRUE(form.resetPending);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(EncodeBatchTest, AStopBetweenFilesEndsTheBatch) {
  for (const char* name : {"1.wav", "2.wav", "3.wav"}) test::Inside(form.collection).List5.AddItem(MakeWav(name));
  fake.loop.AtYield(2, [&] { form.flags.CaptureStopRequested = kTrue; });  // as the first file is opened
  Select(selectedWav);
  cmdEncFile_Click(form, fake.services);
  EXPECT_TRUE(Exists(out / "1.mp3"));  // the file in hand is finished
  EXPECT_FALSE(Exists(out / "2.mp3"));
  EXPECT_FALSE(Exists(out / "3.mp3"));
  EXPECT_TRUE(form.resetPending);
}

TEST_F(EncodeBatchTest, AStopWhileTheFirstFilesLinesShowEncodesNothing) {
  test::Inside(form.collection).List5.AddItem(MakeWav("1.wav"));
  fake.loop.AtYield(1, [&] { form.flags.CaptureStopRequested = kTrue; });
  Select(selectedWav);
  cmdEncFile_Click(form, fake.services);
  EXPECT_FALSE(Exists(out / "1.mp3"));
  EXPECT_EQ(form.disables, 0);
}

TEST_F(EncodeBatchTest, AnItemInCapitalsIsAWavFileAndIsNeverDeleted) {
  form.settings.DeleteWAV = 1;
  const std::string song = MakeWav("Song.WAV", kBlockBytes, &out);
  test::Inside(form.collection).List1.AddItem(song);
  Select(&test::Inside(form.collection).TreeView1.Add(wav, "p " + song, song));
  cmdEncFile_Click(form, fake.services);
  EXPECT_GT(test::FileSize(out / "Song.mp3"), 0);
  EXPECT_TRUE(Exists(song));
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(EncodeBatchTest, AWavItemIsFoundByItsNameInTheListsOrRefused) {
  form.settings.ShowFullPath = 0;
  test::Inside(form.collection).List1.AddItem(in / "other.wav");
  test::Inside(form.collection).List1.AddItem(MakeWav("Beat.wav"));
  test::Inside(form.collection).List5.AddItem(MakeWav("picked.wav"));
  auto& tree = test::Inside(form.collection).TreeView1;

  Select(&tree.Add(wav, "p name Beat.wav", "Beat.wav"));
  cmdEncFile_Click(form, fake.services);
  EXPECT_EQ(form.shown, (std::vector<Lines>{{"Encoding Beat.wav", "Encoding " + (in / "Beat.wav"),
                                             "Destination:  " + out.Path() + "/Beat.mp3"}}));
  EXPECT_EQ(form.state.CurrentOutputPath, out / "Beat.mp3");
  EXPECT_EQ(List2(), Texts{out / "Beat.mp3"});
  EXPECT_TRUE(form.resetPending);

  Select(&tree.Add(selectedWav, "p name picked.wav", "picked.wav"));
  cmdEncFile_Click(form, fake.services);
  EXPECT_TRUE(Exists(out / "picked.mp3"));

  // A file neither list holds is not encoded, and certainly not the file of the last job.
  form.resetPending = false;
  const int disables = form.disables;
  Select(&tree.Add(wav, "p name stray.wav", "stray.wav"));
  cmdEncFile_Click(form, fake.services);
  EXPECT_EQ(fake.dialogs.MessageTexts(), Texts{NotListedText("stray.wav")});
  EXPECT_EQ(form.disables, disables);
  EXPECT_EQ(form.state.CurrentOutputPath, out / "picked.mp3");
  EXPECT_TRUE(form.resetPending);
}

}  // namespace
}  // namespace korvalin
