// The tag blocks of a tagged MP3: an ID3v2 tag in the chosen version and an ID3v1.1 block whose
// fields a second reader (mutagen) reads as written; no block at all when nothing is to be written.

#include "mp3/Mp3TagBlocks.h"

#include <gtest/gtest.h>

#include "mp3/Id3v1Tag.h"
#include "platform/linux/TagLibTags.h"
#include "tests/support/SecondReader.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

TrackTags Tags(const std::string& title) {
  TrackTags t;
  t.title = title;
  t.artist = "Artist";
  t.album = "Album";
  t.year = "1994-05-02";
  t.genre = "Rock";
  t.track = 7;
  t.trackCount = 12;
  t.comment = "A comment";
  return t;
}

TEST(Mp3TagBlocks, TheId3v1BlockHoldsEachFieldCutToItsWidthWithTheTrackNumberLast) {
  struct Row {
    const char* name;
    TrackTags tags;
    std::string mutagen;  // title|artist|album|year|comment|track|genre as the second reader shows it
  };
  TrackTags longTexts = Tags(std::string(600, 'x'));
  longTexts.comment = std::string(40, 'c');
  TrackTags albumArtistOnly = Tags("Song");
  albumArtistOnly.artist.clear();
  albumArtistOnly.albumArtist = "Band";
  TrackTags noTrack = Tags("Song");
  noTrack.track = 0;
  TrackTags unknownGenre = Tags("Song");
  unknownGenre.genre = "Shoegaze";
  TrackTags numberGenre = Tags("Song");
  numberGenre.genre = "8";
  const std::vector<Row> rows = {
      {"plain", Tags("Song"), "Song|Artist|Album|1994|A comment|7|Rock"},
      {"accents", Tags("Caf\xc3\xa9"), "Caf\xc3\xa9|Artist|Album|1994|A comment|7|Rock"},
      {"slash and dots", Tags("../a/b"), "../a/b|Artist|Album|1994|A comment|7|Rock"},
      {"newline", Tags("one\ntwo"), "one\\ntwo|Artist|Album|1994|A comment|7|Rock"},
      {"emoji", Tags("Night \xf0\x9f\x8c\x99"), "Night ?|Artist|Album|1994|A comment|7|Rock"},
      {"right to left", Tags("\xd7\xa9\xd7\x9c"), "??|Artist|Album|1994|A comment|7|Rock"},
      {"600 characters", longTexts, std::string(30, 'x') + "|Artist|Album|1994|" + std::string(28, 'c') + "|7|Rock"},
      {"album artist", albumArtistOnly, "Song|Band|Album|1994|A comment|7|Rock"},
      {"no track number", noTrack, "Song|Artist|Album|1994|A comment||Rock"},
      {"genre not in the list", unknownGenre, "Song|Artist|Album|1994|A comment|7|"},
      {"genre by number", numberGenre, "Song|Artist|Album|1994|A comment|7|Jazz"},
  };
  test::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string block = Id3v1BlockFor(row.tags);
    ASSERT_EQ(block.size(), kId3v1Size);
    EXPECT_TRUE(IsId3v1Tag(block));
    if (row.tags.track > 0) {
      EXPECT_EQ(block[125], '\0');
      EXPECT_EQ(static_cast<unsigned char>(block[126]), row.tags.track);
    } else {
      EXPECT_EQ(block.substr(97, 30), "A comment" + std::string(21, ' '));  // the whole width
    }
    const std::string path = dir / "v1.mp3";
    test::WriteFile(path, std::string(400, '\xff') + block);
    const test::SecondReading second = test::ReadWithMutagen(path);
    ASSERT_TRUE(second.ran) << second.output;
    EXPECT_EQ(second.v2, "none");
    EXPECT_EQ(second.v1, row.mutagen);
  }
}

TEST(Mp3TagBlocks, NothingIsWrittenWithoutTagsOrWhenTheChoiceIsNone) {
  TagLibTags library;
  struct Row {
    const char* name;
    TrackTags tags;
    int version;
    TagLibrary* library;
    int v2;  // the ID3v2 version byte; 0: no ID3v2 tag
    bool v1;
    std::string summary;
  };
  const std::vector<Row> rows = {
      {"v2.3 (the date as TYER and TDAT)", Tags("Song"), 3, &library, 3, true, "ID3v2.3 (8 frames) and ID3v1"},
      {"v2.4", Tags("Song"), 4, &library, 4, true, "ID3v2.4 (7 frames) and ID3v1"},
      {"no tags chosen", Tags("Song"), 0, &library, 0, false, "no tags"},
      {"an unknown choice", Tags("Song"), 2, &library, 0, false, "no tags"},
      {"a disc with no information", TrackTags{}, 3, &library, 0, false, "no tags"},
      {"no tag library", Tags("Song"), 3, &NoTagLibrary::Instance(), 0, true, "ID3v1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Mp3TagBlocks blocks = RenderMp3TagBlocks(row.tags, row.version, *row.library);
    if (row.v2) {
      ASSERT_GE(blocks.id3v2.size(), 10u);
      EXPECT_EQ(blocks.id3v2[3], row.v2);
      EXPECT_EQ(library.ReadId3v2(blocks.id3v2).tags, row.tags);
    } else {
      EXPECT_TRUE(blocks.id3v2.empty());
    }
    EXPECT_EQ(blocks.id3v1, row.v1 ? Id3v1BlockFor(row.tags) : "");
    EXPECT_EQ(TagBlocksSummary(blocks, library), row.summary);
  }
}

}  // namespace
}  // namespace korvalin
