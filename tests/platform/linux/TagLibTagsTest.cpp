// The ID3v2 tags the TagLib adapter renders read back the same through the adapter and through a
// second reader (mutagen), in the version and text encoding asked for; damaged or foreign blocks
// are told apart from tags, and a special file is never waited on.

#include "platform/linux/TagLibTags.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/SecondReader.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::FrameLine;
using test::FrameText;
using test::ReadWithMutagen;

TrackTags FullTags(const std::string& title) {
  TrackTags t;
  t.title = title;
  t.artist = "The Artist";
  t.album = "An Album";
  t.albumArtist = "Various Artists";
  t.year = "1994";
  t.genre = "Rock";
  t.track = 4;
  t.trackCount = 12;
  t.disc = 1;
  t.discCount = 2;
  t.isrc = "GBAYE9400123";
  t.comment = "Remastered";
  t.albumId = "6f2a9c1e-0000-4000-8000-000000000001";
  t.trackId = "6f2a9c1e-0000-4000-8000-000000000002";
  t.recordingId = "6f2a9c1e-0000-4000-8000-000000000003";
  t.artistId = "6f2a9c1e-0000-4000-8000-000000000004";
  t.releaseGroupId = "6f2a9c1e-0000-4000-8000-000000000005";
  return t;
}

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// The text as the reader's script shows it: newlines as "\n".
std::string Shown(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
  return shown;
}

TEST(TagLibTags, EveryFieldReadsBackTheSameThroughBothReadersInTheChosenVersionAndEncoding) {
  struct Row {
    const char* name;
    std::string title;
    bool latin1;  // the title fits ISO-8859-1
  };
  const std::vector<Row> rows = {
      {"plain", "Song", true},
      {"accents", "Caf\xc3\xa9 No\xc3\xabl", true},
      {"slash", "AC/DC / Live", true},
      {"dots", "..", true},
      {"newline", "first line\nsecond line", true},
      {"600 characters", std::string(600, 'x'), true},
      {"right to left", "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd8\xb3\xd9\x84\xd8\xa7\xd9\x85", false},
      {"emoji", "Night \xf0\x9f\x8c\x99 Drive", false},
  };
  TagLibTags library;
  test::TempDir dir;
  for (const Row& row : rows) {
    for (Id3v2Version version : {Id3v2Version::v3, Id3v2Version::v4}) {
      const int major = static_cast<int>(version);
      SCOPED_TRACE(std::string(row.name) + " v2." + std::to_string(major));
      const TrackTags tags = FullTags(row.title);
      const std::vector<uint8_t> block = library.RenderId3v2(tags, version);
      ASSERT_GE(block.size(), 10u);
      EXPECT_EQ(Bytes(block).substr(0, 4), "ID3" + std::string(1, static_cast<char>(major)));

      const Id3v2Reading reading = library.ReadId3v2(block);
      EXPECT_TRUE(reading.present);
      EXPECT_TRUE(reading.readable);
      EXPECT_EQ(reading.version, major);
      EXPECT_EQ(reading.tags, tags);

      const std::string path = dir / ("tag-" + std::to_string(major) + ".id3");
      test::WriteFile(path, Bytes(block));
      EXPECT_EQ(library.ReadId3v2File(path).tags, tags);

      const test::SecondReading second = ReadWithMutagen(path);
      ASSERT_TRUE(second.ran) << second.output;
      EXPECT_EQ(second.v2, std::to_string(major));
      const std::string encoding = major == 4 ? "3" : row.latin1 ? "0" : "1";
      EXPECT_EQ(FrameLine(second, "TIT2"), "TIT2\t" + encoding + "\t" + Shown(row.title));
      EXPECT_EQ(FrameLine(second, "TPE1"), "TPE1\t" + std::string(major == 4 ? "3" : "0") + "\tThe Artist");
      EXPECT_EQ(FrameText(second, "TRCK"), "4/12");
      EXPECT_EQ(FrameText(second, "TPOS"), "1/2");
      EXPECT_EQ(FrameText(second, major == 4 ? "TDRC" : "TYER"), "1994");
      EXPECT_EQ(FrameText(second, "TXXX:MusicBrainz Album Id"), tags.albumId);
      EXPECT_EQ(FrameText(second, "TXXX:MusicBrainz Artist Id"), tags.artistId);
      EXPECT_EQ(FrameText(second, "TXXX:MusicBrainz Release Group Id"), tags.releaseGroupId);
      EXPECT_EQ(FrameText(second, "TXXX:MusicBrainz Release Track Id"), tags.trackId);
      EXPECT_EQ(FrameLine(second, "UFID:http://musicbrainz.org"), "UFID:http://musicbrainz.org\t-\t" + tags.recordingId);
      EXPECT_EQ(FrameText(second, "COMM"), "Remastered");
      EXPECT_EQ(FrameText(second, "TSRC"), "GBAYE9400123");
    }
  }
}

TEST(TagLibTags, TheFramesAreListedInOrderWithTheirTexts) {
  TagLibTags library;
  const Id3v2Reading reading = library.ReadId3v2(library.RenderId3v2(FullTags("Song"), Id3v2Version::v4));
  std::vector<std::string> lines;
  for (const TagFrameText& frame : reading.frames) lines.push_back(frame.id + "=" + frame.text);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "TIT2=Song", "TPE1=The Artist", "TALB=An Album", "TPE2=Various Artists", "TDRC=1994",
                       "TCON=Rock", "TRCK=4/12", "TPOS=1/2", "TSRC=GBAYE9400123", "COMM=Remastered",
                       "TXXX:MusicBrainz Album Id=6f2a9c1e-0000-4000-8000-000000000001",
                       "TXXX:MusicBrainz Artist Id=6f2a9c1e-0000-4000-8000-000000000004",
                       "TXXX:MusicBrainz Release Group Id=6f2a9c1e-0000-4000-8000-000000000005",
                       "TXXX:MusicBrainz Release Track Id=6f2a9c1e-0000-4000-8000-000000000002",
                       "UFID:http://musicbrainz.org=6f2a9c1e-0000-4000-8000-000000000003"}));
}

TEST(TagLibTags, FieldsNotGivenAreLeftOut) {
  struct Row {
    const char* name;
    TrackTags tags;
    std::vector<std::string> ids;
  };
  TrackTags titleOnly;
  titleOnly.title = "Only";
  TrackTags numberWithoutCount;
  numberWithoutCount.track = 5;
  TrackTags countWithoutNumber;
  countWithoutNumber.trackCount = 9;
  countWithoutNumber.album = "A";
  TrackTags fullDate;
  fullDate.year = "1994-05-02";
  const std::vector<Row> rows = {
      {"title only", titleOnly, {"TIT2=Only"}},
      {"number without count", numberWithoutCount, {"TRCK=5"}},
      {"count without number", countWithoutNumber, {"TALB=A"}},
      {"full date", fullDate, {"TDRC=1994-05-02"}},
  };
  TagLibTags library;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> ids;
    for (const TagFrameText& frame : library.ReadId3v2(library.RenderId3v2(row.tags, Id3v2Version::v4)).frames) {
      ids.push_back(frame.id + "=" + frame.text);
    }
    EXPECT_EQ(ids, row.ids);
  }
  EXPECT_TRUE(library.RenderId3v2(TrackTags{}, Id3v2Version::v3).empty());
  EXPECT_TRUE(library.RenderId3v2(TrackTags{}, Id3v2Version::v4).empty());
}

TEST(TagLibTags, BlocksThatAreNoTagOrADamagedOneAreToldApart) {
  TagLibTags library;
  const std::vector<uint8_t> good = library.RenderId3v2(FullTags("Song"), Id3v2Version::v3);
  std::vector<uint8_t> cut(good.begin(), good.begin() + 40);
  std::vector<uint8_t> futureVersion = good;
  futureVersion[3] = 5;
  std::vector<uint8_t> v22 = {'I', 'D', '3', 2, 0, 0, 0, 0, 0, 0};
  struct Row {
    const char* name;
    std::vector<uint8_t> bytes;
    bool present, readable;
    int version;
  };
  const std::vector<Row> rows = {
      {"nothing", {}, false, false, 0},
      {"an MP3 frame", {0xff, 0xfb, 0x90, 0x64, 0, 0, 0, 0, 0, 0, 0, 0}, false, false, 0},
      {"shorter than a header", {'I', 'D', '3', 3, 0}, false, false, 0},
      {"cut short", cut, true, false, 3},
      {"a version to come", futureVersion, true, false, 5},
      {"an empty v2.2 tag", v22, true, true, 2},
      {"whole", good, true, true, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Id3v2Reading reading = library.ReadId3v2(row.bytes);
    EXPECT_EQ(reading.present, row.present);
    EXPECT_EQ(reading.readable, row.readable);
    EXPECT_EQ(reading.version, row.version);
    if (!row.readable) {
      EXPECT_TRUE(reading.frames.empty());
    }
  }
}

TEST(TagLibTags, AFileIsReadFromItsStartAndASpecialOrMissingFileGivesNothing) {
  TagLibTags library;
  test::TempDir dir;
  const std::vector<uint8_t> tag = library.RenderId3v2(FullTags("Song"), Id3v2Version::v3);
  test::WriteFile(dir / "tagged.mp3", Bytes(tag) + std::string(5000, '\xff'));
  test::WriteFile(dir / "late.mp3", std::string(100, '\0') + Bytes(tag));
  ASSERT_EQ(::mkfifo((dir / "fifo.mp3").c_str(), 0600), 0);

  EXPECT_EQ(library.ReadId3v2File(dir / "tagged.mp3").tags, FullTags("Song"));
  EXPECT_FALSE(library.ReadId3v2File(dir / "late.mp3").present);
  EXPECT_FALSE(library.ReadId3v2File(dir / "fifo.mp3").present);
  EXPECT_FALSE(library.ReadId3v2File(dir / "missing.mp3").present);
}

}  // namespace
}  // namespace korvalin
