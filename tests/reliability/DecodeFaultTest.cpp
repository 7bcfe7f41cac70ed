// The decode batch meeting a full disk, a destination that goes away between two files, a source
// cut short while it is decoded, and a cancel at every yield. Each leaves no WAV or a valid one
// whose header states exactly what it holds, no stray file, one message at most, and its sources.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "mp3/DecodeBatch.h"
#include "tests/support/AudioTools.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/OpenFiles.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

namespace fs = std::filesystem;
using test::SmallDisk;

// The entries of a folder, leaving out the filler files of a small disk.
std::vector<std::string> EntriesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename();
    if (name.rfind(".filler-", 0) != 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ExpectNoFileOrValidWav(const std::string& path) {
  if (!test::Exists(path)) return;
  const std::string bytes = test::ReadFile(path);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav) << path << " is no WAV file: " << bytes.size() << " bytes";
  EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size())) << path;
  EXPECT_EQ(wav->dataLength % 4, 0u) << path << " ends inside a sample frame";
}

// The main window over a destination folder, MP3 sources listed under "MP3 Files".
struct DecodeRig {
  explicit DecodeRig(const std::string& destination) {
    form->settings.DecodePath = destination;
    form->settings.ShowFullPath = 1;
    form->collection.showfiles();
  }
  std::string AddMp3(const std::string& path, double seconds, uint32_t seed) {
    const auto frames = static_cast<int64_t>(seconds * 44100);
    test::WriteFile(path, test::EncodeMp3(discgen::MusicBytes(frames, seed), 44100, 2, 128));
    test::Inside(form->collection).List2.AddItem(path);
    sources.push_back(path);
    contents.push_back(test::ReadFile(path));
    return path;
  }
  void Run() {
    test::Inside(form->collection).TreeView1.SetSelectedItem(form->collection.FindText("MP3 Files"));
    decoding->CmdDecoder_Click();
  }
  std::string WavFor(std::size_t i) const {
    return form->settings.DecodePath + "/" + fs::path(sources[i]).stem().string() + ".wav";
  }
  void ExpectSourcesKept() const {
    for (std::size_t i = 0; i < sources.size(); ++i) {
      EXPECT_TRUE(test::Exists(sources[i]) && test::ReadFile(sources[i]) == contents[i]) << sources[i] << " changed";
    }
  }

  test::FakeServices fake;
  std::unique_ptr<test::StandInJobHost> form = std::make_unique<test::StandInJobHost>(fake.services);
  std::unique_ptr<DecodeBatch> decoding = std::make_unique<DecodeBatch>(*form, form->events, fake.services);
  std::vector<std::string> sources, contents;
};

TEST(DecodeFaults, AFullDiskShowsOneMessageNamingTheFileAndLeavesValidWavsOnly) {
  struct Case {
    const char* name;
    int64_t freeBytes;
  };
  for (const Case c : {Case{"the first write", 0}, Case{"a later block", 64 * 1024}}) {
    SCOPED_TRACE(c.name);
    SmallDisk disk(4 << 20);
    if (!disk.Available()) GTEST_SKIP() << disk.Why();
    test::TempDir in;
    DecodeRig rig(disk.Path());
    rig.AddMp3(in / "one.mp3", 2, 1);
    rig.AddMp3(in / "two.mp3", 2, 2);
    disk.LeaveFree(c.freeBytes);
    rig.Run();

    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u) << "a full disk fails every file alike: one message is enough";
    EXPECT_NE(rig.fake.dialogs.messages[0].text.find(rig.WavFor(0)), std::string::npos)
        << rig.fake.dialogs.messages[0].text;
    rig.ExpectSourcesKept();
    ExpectNoFileOrValidWav(rig.WavFor(0));
    EXPECT_FALSE(test::Exists(rig.WavFor(1))) << "the batch went on after the disk was full";
    for (const auto& name : EntriesIn(disk.Path())) EXPECT_EQ(name, "one.wav") << "a stray file was left";
  }
}

TEST(DecodeFaults, ADestinationMovedAwayOrMadeReadOnlyBetweenTwoFilesStopsTheBatch) {
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only" : "moved away");
    SmallDisk disk(8 << 20);
    if (readOnly && !disk.Available()) GTEST_SKIP() << disk.Why();
    test::TempDir place, in;
    const std::string dest = readOnly ? disk.Path() : place / "music";
    fs::create_directories(dest);
    DecodeRig rig(dest);
    for (uint32_t i = 1; i <= 3; ++i) rig.AddMp3(in / ("song " + std::to_string(i) + ".mp3"), 1, i);
    bool changed = false;
    rig.fake.loop.EveryYield([&] {
      if (changed || !test::Exists(rig.WavFor(0)) || test::HoldsFileUnder(dest)) return;
      changed = true;
      if (readOnly) {
        disk.MakeReadOnly();
      } else {
        fs::rename(dest, place / "moved");
      }
    });
    rig.Run();

    ASSERT_TRUE(changed);
    const std::string first = readOnly ? rig.WavFor(0) : place / "moved/song 1.wav";
    ExpectNoFileOrValidWav(first);
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fs::exists(dest), readOnly) << "the batch made the destination again";
    rig.ExpectSourcesKept();
  }
}

TEST(DecodeFaults, ASourceCutShortWhileItIsDecodedLeavesAValidWav) {
  test::TempDir in, dest;
  DecodeRig rig(dest.Path());
  const std::string source = rig.AddMp3(in / "long.mp3", 20, 3);
  bool cut = false;
  rig.fake.loop.EveryYield([&] {
    if (!cut && rig.decoding->Host() && rig.decoding->Host()->ConversionStarted()) {
      cut = true;
      fs::resize_file(source, fs::file_size(source) / 3);
    }
  });
  rig.Run();

  ASSERT_TRUE(cut);
  EXPECT_LE(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_TRUE(test::Exists(source));
  ExpectNoFileOrValidWav(rig.WavFor(0));
  EXPECT_EQ(EntriesIn(dest.Path()), (std::vector<std::string>{"long.wav"}));
}

TEST(DecodeFaults, ACancelAtAnyYieldLeavesAValidWavOrNoneAndNoStrayFile) {
  // Every yield while the host loads and the conversion starts; after that the batch only waits
  // for the host's half-second ticks, so every seventh yield still lands between any two of them.
  for (int yield = 1;; yield += yield < 40 ? 1 : 7) {
    SCOPED_TRACE("cancel at yield " + std::to_string(yield));
    test::TempDir in, dest;
    DecodeRig rig(dest.Path());
    rig.AddMp3(in / "short.mp3", 0.5, 4);
    bool cancelled = false;
    rig.fake.loop.AtYield(yield, [&] {
      cancelled = true;
      // The cancel button: both flags, and the decoder host unloaded.
      rig.form->RequestStop(true);
      rig.decoding->UnloadHost();
    });
    rig.Run();

    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
    ExpectNoFileOrValidWav(rig.WavFor(0));
    const auto entries = EntriesIn(dest.Path());
    EXPECT_TRUE(entries.empty() || entries == std::vector<std::string>{"short.wav"}) << entries.size() << " entries";
    rig.ExpectSourcesKept();
    if (!cancelled) break;  // the batch ended before this yield: every yield was tried
  }
}

}  // namespace
}  // namespace korvalin
