// A batch whose destination folder goes away or becomes read-only between two files: the file
// already made stays whole, the next one fails with one message, and the batch stops there.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TrackLine.h"
#include "rip/ExtractionJob.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/OpenFiles.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

namespace fs = std::filesystem;
using test::SmallDisk;

// The audio files of a folder (not hidden files, not the job's rip log).
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name[0] != '.' && !name.ends_with("-rip.log")) paths.push_back(entry.path());
  }
  return paths;
}

// Runs `change` once, inside the first yield at which the first file of the batch is finished
// and closed and the next one is not yet open.
void BetweenTheFirstTwoFiles(test::ScriptedEventLoop& loop, const std::string& folder, std::function<void()> change) {
  auto done = std::make_shared<bool>(false);
  loop.EveryYield([=] {
    if (*done || FilesIn(folder).empty() || test::HoldsFileUnder(folder)) return;
    *done = true;
    change();
  });
}

struct FolderFault {
  const char* name;
  bool readOnly;  // else the folder is moved away
};

TEST(BatchFolderFaults, ARipOfThreeTracksStopsAfterTheFirstWhenItsFolderGoes) {
  for (const FolderFault fault : {FolderFault{"moved away", false}, FolderFault{"read-only", true}}) {
    SCOPED_TRACE(fault.name);
    SmallDisk disk(8 << 20);
    if (fault.readOnly && !disk.Available()) GTEST_SKIP() << disk.Why();
    test::TempDir place;
    const std::string dest = fault.readOnly ? disk.Path() : place / "music";
    const std::string moved = place / "moved";
    fs::create_directories(dest);

    test::FakeServices fake;
    fake.cd.identifications = {"fake"};
    fake.cd.SetTrackLengths({40, 40, 40});
    test::StandInJobHost form(fake.services);
    form.settings.DecodePath = dest;
    form.options.discIdentity = 3000;
    form.options.toMp3 = false;
    ASSERT_TRUE(form.cd.OpenDrive(0));
    for (int32_t n = 1; n <= 3; ++n) form.collection.AddAvailableTrack(TrackLine(n, "00:01"));
    form.collection.showfiles();
    test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
    std::string first;
    BetweenTheFirstTwoFiles(fake.loop, dest, [&] {
      first = FilesIn(dest).at(0);
      if (fault.readOnly) {
        disk.MakeReadOnly();
      } else {
        fs::rename(dest, moved);
      }
    });
    ExtractionJob job(form, fake.services, form.cd);
    job.cmdStart_Click();

    ASSERT_FALSE(first.empty()) << "the batch never got between two files";
    const std::string kept = fault.readOnly ? first : moved + "/" + fs::path(first).filename().string();
    const std::string bytes = test::ReadFile(kept);
    const auto wav = test::ParseWav(bytes);
    ASSERT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size()));
    EXPECT_EQ(wav->dataLength, 40u * 2352);

    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    const std::string& message = fake.dialogs.messages[0].text;  // names the second track's file
    EXPECT_NE(message.find("\"" + dest + "/"), std::string::npos) << message;
    EXPECT_NE(message.find("-2.wav\""), std::string::npos) << message;
    for (const auto& [address, frames] : fake.cd.reads) EXPECT_LT(address, 40) << "a track after the failure was read";
    EXPECT_EQ(fs::exists(dest), fault.readOnly) << "the job made the destination again";
    EXPECT_EQ(FilesIn(fault.readOnly ? dest : moved).size(), 1u);
  }
}

}  // namespace
}  // namespace korvalin
