// Writing an ID3v2 tag to an MP3: the tag there, of any version, is replaced whole and the audio
// after it kept byte for byte; a damaged tag, a read-only file or a full disk leave the file as it was.

#include <gtest/gtest.h>

#include "common/RaisedError.h"
#include "mp3/StagedTagWrite.h"
#include "platform/linux/TagLibTags.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

TrackTags Titled(const std::string& title) {
  TrackTags t;
  t.title = title;
  t.artist = "Anna Vector";
  return t;
}

TEST(Id3v2TagWrite, TheOldTagGoesWholeAndTheAudioStaysOrTheFileIsLeftAsItWas) {
  TagLibTags library;
  const std::string audio = std::string(3000, '\xff') + "TAG" + std::string(125, 'v');  // frames and an ID3v1 tag
  const std::vector<uint8_t> fresh = library.RenderId3v2(Titled("New"), Id3v2Version::v3);
  std::string footer = Bytes(library.RenderId3v2(Titled("Old"), Id3v2Version::v4));
  footer[5] = static_cast<char>(footer[5] | 0x10);  // a v2.4 tag with a footer: ten bytes more
  footer += "3DI" + footer.substr(3, 7);
  struct Row {
    const char* name;
    std::string before;  // what precedes the audio
    bool refused;
  };
  const std::vector<Row> rows = {
      {"no tag", "", false},
      {"a v2.4 tag", Bytes(library.RenderId3v2(Titled("Old"), Id3v2Version::v4)), false},
      {"a v2.3 tag", Bytes(library.RenderId3v2(Titled("Old"), Id3v2Version::v3)), false},
      {"a v2.4 tag with a footer", footer, false},
      {"an empty v2.2 tag", std::string("ID3\x02\x00\x00\x00\x00\x00\x00", 10), false},
      {"a size that is no tag's size", std::string("ID3\x03\x00\x00\x00\x00\x80\x10", 10), true},
      {"a size beyond the file", std::string("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10), true},
  };
  test::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir / "song.mp3";
    test::WriteFile(path, row.before + audio);
    if (row.refused) {
      EXPECT_THROW(WriteId3v2TagStaged(path, fresh), RaisedError);
      EXPECT_TRUE(test::ReadFile(path) == row.before + audio);
    } else {
      EXPECT_EQ(WriteId3v2TagStaged(path, fresh), path);
      EXPECT_TRUE(test::ReadFile(path) == Bytes(fresh) + audio);
      EXPECT_EQ(library.ReadId3v2File(path).tags, Titled("New"));
    }
    EXPECT_EQ(test::NamesIn(dir.Path()), (std::vector<std::string>{"song.mp3"}));  // nothing left beside it
  }
}

TEST(Id3v2TagWrite, AReadOnlyFileOrAFullDiskLeavesTheFileAsItWas) {
  TagLibTags library;
  const std::vector<uint8_t> fresh = library.RenderId3v2(Titled(std::string(600, 'n')), Id3v2Version::v3);
  const std::string before = Bytes(library.RenderId3v2(Titled("Old"), Id3v2Version::v4)) + std::string(64 * 1024, '\xff');

  test::SmallDisk disk(1024 * 1024);
  if (!disk.Available()) GTEST_SKIP() << disk.Why();
  test::WriteFile(disk / "full.mp3", before);
  disk.LeaveFree(16 * 1024);
  try {
    WriteId3v2TagStaged(disk / "full.mp3", fresh);
    ADD_FAILURE() << "a full disk took the copy";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Source(), "WriteId3v2Tag");
  }
  EXPECT_TRUE(test::ReadFile(disk / "full.mp3") == before);

  disk.MakeReadOnly();
  EXPECT_THROW(WriteId3v2TagStaged(disk / "full.mp3", fresh), RaisedError);
  EXPECT_TRUE(test::ReadFile(disk / "full.mp3") == before);
}

}  // namespace
}  // namespace korvalin
