// The decode action on real MP3 files through the real player control: which files are converted,
// in which order, under which names, what the window shows meanwhile, and how stops and files
// that cannot be converted end or pass.

#include "mp3/DecodeBatch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "settings/PathHelpers.h"
#include "tests/support/AudioTools.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

using test::Exists;
using Texts = std::vector<std::string>;

// What the window showed while the host converted one file.
struct Shown {
  std::string source, caption, line, destination;
  bool operator==(const Shown&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Shown& s) {
  return os << "{" << s.source << " | " << s.caption << " | " << s.line << " | " << s.destination << "}";
}

class DecodeBatchTest : public ::testing::Test {
 protected:
  DecodeBatchTest() {
    form.settings.DecodePath = out.Path();
    form.settings.ShowFullPath = 1;
    form.collection.showfiles();
    fake.loop.EveryYield([this] { Watch(); });
  }

  // An MP3 of generated music.
  std::string MakeMp3(const std::string& path, double seconds, uint32_t seed, int rate = 44100, int channels = 2,
                      int kbps = 128) {
    const auto frames = static_cast<int64_t>(seconds * rate);
    test::WriteFile(path, test::EncodeMp3(discgen::MusicBytes(frames, seed, channels, rate), rate, channels, kbps));
    return path;
  }

  void Select(const std::string& text) {
    controls::TreeNode* node = form.collection.FindText(text);
    ASSERT_NE(node, nullptr) << text;
    test::Inside(form.collection).TreeView1.SetSelectedItem(node);
  }
  // An item under a group, as the collection shows a file.
  void SelectNewItem(const char* group, const std::string& text) {
    test::Inside(form.collection).TreeView1.SetSelectedItem(
        &test::Inside(form.collection).TreeView1.Add(form.collection.FindText(group), "p " + text, text));
  }
  void Fill(controls::ListBox& list, const Texts& entries) {
    list.Clear();
    for (const auto& e : entries) list.AddItem(e);
  }

  // Our WAV file beside what the mpg123 command writes for the same MP3: same format, same
  // samples within 1 LSB, and a header that states exactly what the file holds.
  void ExpectDecodedLikeMpg123(const std::string& wav, const std::string& mp3) {
    SCOPED_TRACE(wav);
    const std::string reference = in / (FileTitleNoExt(SplitPathName(mp3)) + ".reference.wav");
    ASSERT_EQ(test::RunTool({"mpg123", "-q", "-w", reference, mp3}), 0);
    const std::string bytes = test::ReadFile(wav);
    const auto ours = test::ParseWav(bytes);
    const auto theirs = test::ParseWav(test::ReadFile(reference));
    ASSERT_TRUE(ours && theirs);
    EXPECT_TRUE(test::HeaderIsExact(*ours, bytes.size()));
    EXPECT_EQ(ours->formatTag, 1);
    EXPECT_EQ(ours->rate, theirs->rate);
    EXPECT_EQ(ours->channels, theirs->channels);
    ASSERT_FALSE(ours->samples.empty());
    const int difference = test::LargestSampleDifference(ours->samples, theirs->samples);
    EXPECT_TRUE(difference >= 0 && difference <= 1) << "largest sample difference " << difference;
  }

  // Runs inside every yield: notes what the window shows for each file while its host is loaded,
  // runs the test's own check, and gives up (failing) on a batch that waits for good.
  void Watch() {
    if (batch.Host() && batch.Host()->Loaded() && (shown.empty() || shown.back().source != batch.DecodeSource)) {
      shown.push_back({batch.DecodeSource, form.caption, form.nextAction, form.destination});
    }
    if (during) during();
    if (!gaveUp && std::chrono::steady_clock::now() - started > std::chrono::seconds(120)) {
      gaveUp = true;
      ADD_FAILURE() << "the batch did not end";
      form.flags.CaptureStopRequested = kTrue;
      batch.UnloadHost();
      batch.DecodeBusy = false;
    }
  }

  test::FakeServices fake;
  test::StandInJobHost form{fake.services};
  DecodeBatch batch{form, form.events, fake.services};
  test::TempDir in, out;
  std::vector<Shown> shown;
  std::function<void()> during;
  bool gaveUp = false;
  const std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

TEST_F(DecodeBatchTest, Mp3FilesConvertsTheWholeListInItsOrderLikeTheMpg123Command) {
  // The list's order is not the names' order. A path in mixed case is used as it is and only
  // captioned in lower case.
  ASSERT_EQ(::mkdir((out / "Mixed Case").c_str(), 0700), 0);
  const std::string c = MakeMp3(out / "c.mp3", 2, 1), a = MakeMp3(out / "Mixed Case/Song A.mp3", 1.5, 2, 22050, 1, 64),
                    b = MakeMp3(out / "b.mp3", 1, 3, 48000, 2, 160);
  Fill(test::Inside(form.collection).List2, {c, a, b});
  // A second click while the batch runs is ignored.
  during = [&] {
    if (batch.DecodeSource == a && batch.Host()) batch.CmdDecoder_Click();
  };
  Select(group::Mp3);
  batch.CmdDecoder_Click();

  const std::string dest = "Destination:  " + out.Path() + "/";
  EXPECT_EQ(shown, (std::vector<Shown>{{c, "Decoding c.mp3", "Decoding #1 of 3 files", dest + "c.wav"},
                                       {a, "Decoding song a.mp3", "Decoding #2 of 3 files", dest + "song a.wav"},
                                       {b, "Decoding b.mp3", "Decoding #3 of 3 files", dest + "b.wav"}}));
  ExpectDecodedLikeMpg123(out / "c.wav", c);
  ExpectDecodedLikeMpg123(out / "Song A.wav", a);
  ExpectDecodedLikeMpg123(out / "b.wav", b);
  // Each WAV went to the front of the WAV list as it was done.
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (Texts{out / "b.wav", out / "Song A.wav", out / "c.wav"}));
  EXPECT_EQ(batch.DecodeTarget, out / "b.wav");
  EXPECT_EQ(form.percent, "100 %");
  EXPECT_EQ(form.bar, 100);
  EXPECT_EQ(form.disables, 3);
  EXPECT_TRUE(form.cancelShown);
  EXPECT_TRUE(form.resetPending);
  EXPECT_EQ(form.flags.CaptureStopRequested, kTrue);
  EXPECT_FALSE(batch.DecodeBusy);
  EXPECT_EQ(batch.Host(), nullptr);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(DecodeBatchTest, EmptyGroupsAreAnsweredWithAMessageAndOtherNodesOnlyStop) {
  Select(group::Mp3);
  batch.CmdDecoder_Click();
  Select(group::SelectedMp3);
  batch.CmdDecoder_Click();
  ASSERT_EQ(fake.dialogs.MessageTexts(), (Texts{"No files in list.", "No files selected"}));
  EXPECT_EQ(fake.dialogs.messages[0].icon, MsgBoxIcon::Information);
  EXPECT_EQ(form.flags.CaptureStopRequested, kFalse);
  EXPECT_FALSE(form.resetPending);

  // Any other node, or none: the stop flag is set and nothing else happens.
  test::Inside(form.collection).List2.AddItem(MakeMp3(out / "x.mp3", 1, 4));
  Select(kRootText);
  batch.CmdDecoder_Click();
  EXPECT_EQ(form.flags.CaptureStopRequested, kTrue);

  EXPECT_EQ(form.disables, 0);
  EXPECT_FALSE(form.resetPending);
  EXPECT_FALSE(Exists(out / "x.wav"));
  EXPECT_EQ(fake.dialogs.messages.size(), 2u);
}

TEST_F(DecodeBatchTest, ACancelDuringTheSecondFileEndsTheBatchOnceItsWavIsListed) {
  const std::string one = MakeMp3(in / "one.mp3", 1, 7), two = MakeMp3(in / "two.mp3", 20, 8),
                    three = MakeMp3(in / "three.mp3", 1, 9);
  Fill(test::Inside(form.collection).List4, {one, two, three});
  bool cancelled = false;
  during = [&] {
    // The cancel button, once the second file's conversion has got going.
    Form6* host = batch.Host();
    if (!cancelled && batch.DecodeSource == two && host && host->Loaded() && host->ActiveMP31->Position() > 0) {
      cancelled = true;
      // The cancel button: both flags, and the decoder host unloaded.
      form.RequestStop(true);
      batch.UnloadHost();
      EXPECT_FALSE(host->Loaded());
      EXPECT_EQ(form.flags.CancelRequested, kTrue);
    }
  };
  Select(group::SelectedMp3);
  batch.CmdDecoder_Click();

  ASSERT_TRUE(cancelled);
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_FALSE(Exists(out / "three.wav"));
  // The part converted is a WAV file of its own, and it is in the collection.
  const std::string bytes = test::ReadFile(out / "two.wav");
  const auto partial = test::ParseWav(bytes);
  ASSERT_TRUE(partial);
  EXPECT_TRUE(test::HeaderIsExact(*partial, bytes.size()));
  EXPECT_FALSE(partial->samples.empty());
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (Texts{out / "two.wav", out / "one.wav"}));
  EXPECT_EQ(form.statusLine, std::to_string(bytes.size()) + " bytes");
  EXPECT_TRUE(form.resetPending);
  EXPECT_EQ(batch.Host(), nullptr);
}

TEST_F(DecodeBatchTest, FilesThatCannotBeConvertedArePassedAndTheBatchGoesOn) {
  ASSERT_EQ(::mkdir((in / "Mixed Case").c_str(), 0700), 0);
  const std::string missing = in / "missing.mp3", fifty = in / "fifty.mp3", text = in / "text.mp3",
                    good = MakeMp3(in / "Mixed Case/Good.mp3", 1, 10), ninetyNine = in / "ninety-nine.mp3";
  test::WriteFile(fifty, std::string(50, '\xFF'));
  std::string prose;
  while (prose.size() < 2000) prose += "Not music at all, only a text file that was given another name.\n";
  test::WriteFile(text, prose);
  test::WriteFile(ninetyNine, std::string(99, '\xFF'));
  Fill(test::Inside(form.collection).List4, {missing, fifty, text, good, ninetyNine});
  Select(group::SelectedMp3);
  batch.CmdDecoder_Click();

  EXPECT_FALSE(gaveUp);
  // Only the files that could be tried loaded the host.
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].source, text);
  // The selected files are shown as they are named.
  EXPECT_EQ(shown[1], (Shown{good, "Decoding Good.mp3", "Decoding #4 of 5 files",
                             "Destination:  " + out.Path() + "/Good.wav"}));
  // The text file holds no audio: no WAV is written for it either.
  for (const char* name : {"missing.wav", "fifty.wav", "ninety-nine.wav", "text.wav"}) {
    EXPECT_FALSE(Exists(out / name)) << name;
  }
  ExpectDecodedLikeMpg123(out / "Good.wav", good);
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), Texts{out / "Good.wav"});
  // The last WAV written, not the name of a file passed over.
  EXPECT_EQ(batch.DecodeTarget, out / "Good.wav");
  EXPECT_EQ(form.statusLine, std::to_string(test::FileSize(out / "Good.wav")) + " bytes");
  EXPECT_FALSE(batch.DecodeBusy);
  EXPECT_TRUE(form.resetPending);
}

TEST_F(DecodeBatchTest, AnItemIsFoundByItsNameInEitherListOrRefused) {
  form.settings.ShowFullPath = 0;
  const std::string beat = MakeMp3(in / "Beat.mp3", 1, 11), picked = MakeMp3(in / "LIVE.MP3", 1, 12);
  Fill(test::Inside(form.collection).List2, {in / "other.mp3", beat});
  Fill(test::Inside(form.collection).List4, {picked});

  SelectNewItem(group::Mp3, "Beat.mp3");
  batch.CmdDecoder_Click();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], (Shown{beat, "Decoding beat.mp3", "Decoding  Beat.mp3", "Destination:  " + out.Path() + "/Beat.wav"}));
  ExpectDecodedLikeMpg123(out / "Beat.wav", beat);
  EXPECT_EQ(batch.DecodeTarget, out / "Beat.wav");
  EXPECT_TRUE(form.resetPending);
  EXPECT_EQ(form.flags.CaptureStopRequested, kTrue);

  form.flags.CaptureStopRequested = kFalse;
  SelectNewItem(group::SelectedMp3, "LIVE.MP3");  // an MP3 whatever the case of its extension
  batch.CmdDecoder_Click();
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (Texts{out / "LIVE.wav", out / "Beat.wav"}));

  // A file neither list holds is not converted, and certainly not the one converted last.
  form.flags.CaptureStopRequested = kFalse;
  form.resetPending = false;
  const int disables = form.disables;
  SelectNewItem(group::Mp3, "stray.mp3");
  batch.CmdDecoder_Click();
  EXPECT_EQ(fake.dialogs.MessageTexts(), Texts{Mp3NotListedText("stray.mp3")});
  EXPECT_EQ(form.disables, disables);
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_EQ(batch.DecodeTarget, out / "LIVE.wav");
  EXPECT_TRUE(form.resetPending);
  EXPECT_EQ(form.flags.CaptureStopRequested, kTrue);
}

}  // namespace
}  // namespace korvalin
