// What "Open with" hands the program: files and a drive are taken, and anything else gets a
// sentence and is left out.

#include "desktop/StartArguments.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

using Strings = std::vector<std::string>;

TEST(StartArguments, FilesAndDrivesAreTakenAndEverythingElseIsNamed) {
  test::TempDir dir;
  for (const char* name : {"a.wav", "B.MP3", "c d.mp3", "notes.txt", "disc.cue"}) test::WriteFile(dir / name, "x");
  ::mkdir((dir / "folder.mp3").c_str(), 0755);
  ::symlink((dir / "disc.cue").c_str(), (dir / "cdrom").c_str());
  const Strings drives{"/dev/null-drive", dir / "disc.cue"};

  struct Case {
    std::string arg;
    std::string file;       // taken as a file
    int32_t drive;          // taken as this drive
    std::string complaint;  // the end of the sentence about it
  };
  const std::vector<Case> cases{
      {dir / "a.wav", dir / "a.wav", -1, ""},
      {dir / "B.MP3", dir / "B.MP3", -1, ""},
      {"file://" + dir.Path() + "/c%20d.mp3", dir / "c d.mp3", -1, ""},
      {dir / "disc.cue", "", 1, ""},
      {dir / "cdrom", "", 1, ""},  // a link to a drive is that drive
      {"cdda://sr77/", "", -1, "is not a CD drive this program can read; it is left out."},
      {"/run/user/1/gvfs/cdda:host=sr77", "", -1, "is not a CD drive this program can read; it is left out."},
      {dir / "notes.txt", "", -1, "is neither a WAV nor an MP3 file; it is left out."},
      {dir / "folder.mp3", "", -1, "is neither a WAV nor an MP3 file; it is left out."},
      {dir / "gone.wav", "", -1, "cannot be opened (File not found); it is left out."},
      {"--fullscreen", "", -1, "is not an option of this program; it is left out."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg);
    const StartArguments got = ReadStartArguments({c.arg}, drives);
    EXPECT_EQ(got.files, c.file.empty() ? Strings{} : Strings{c.file});
    EXPECT_EQ(got.drive, c.drive);
    if (c.complaint.empty()) {
      EXPECT_TRUE(got.complaints.empty());
    } else {
      ASSERT_EQ(got.complaints.size(), 1u);
      EXPECT_EQ(got.complaints[0], "korvalin: \"" + c.arg + "\" " + c.complaint);
    }
  }
  EXPECT_TRUE(ReadStartArguments({"--help"}, drives).help);
}

}  // namespace
}  // namespace korvalin
