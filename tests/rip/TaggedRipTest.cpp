// A rip straight to MP3 of a known disc: the ID3v2 tag before the first frame and the ID3v1 tag after
// the last, read back by TagLib and by a second reader, around exactly the audio of an untagged rip.

#include <gtest/gtest.h>

#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3TagBlocks.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/TagLibTags.h"
#include "rip/ExtractTrackToMp3.h"
#include "encode/EncoderChoices.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/SecondReader.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;
using test::ReadFile;
using test::TempDir;

TrackTags Tags(const std::string& title) {
  TrackTags t;
  t.title = title;
  t.artist = "Anna Vector";
  t.album = "Vector Album";
  t.albumArtist = "Anna Vector";
  t.year = "1994";
  t.genre = "Rock";
  t.track = 2;
  t.trackCount = 12;
  t.disc = 1;
  t.discCount = 1;
  t.isrc = "GBAYE9400002";
  t.albumId = "album-id";
  t.trackId = "track-id";
  t.recordingId = "recording-id";
  t.artistId = "artist-id";
  t.releaseGroupId = "group-id";
  return t;
}

// The mutagen text of a frame: newlines as "\n".
std::string Shown(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
  return shown;
}

struct Ripped {
  std::string bytes;
  bool complete = false;
};

Ripped Rip(const std::string& path, int32_t frames, const Mp3TagBlocks& tags, bool cancelAtSecondYield = false) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({frames});
  test::ExtractionRig rig(lib);
  EXPECT_TRUE(rig.cd.OpenDrive(0));
  if (cancelAtSecondYield) rig.fake.loop.AtYield(2, [&] { rig.flags.CancelRequested = kTrue; });
  LameEncoderLibrary encoder;
  int32_t first = 0;
  const auto outcome = ExtractTrackToMp3(rig.ctx, encoder, path, first, frames, ExtractionConfig(128, 1, {}), tags);
  return {ReadFile(path), outcome.complete};
}

TEST(TaggedRip, TheTagsSurroundExactlyTheAudioOfAnUntaggedRipAndBothReadersReadThem) {
  struct Row {
    const char* name;
    TrackTags tags;
    int version;  // the tag choice
    bool cancelled;
  };
  const std::vector<Row> rows = {
      {"v2.3", Tags("Second Song"), 3, false},
      {"v2.4", Tags("Second Song"), 4, false},
      {"slash and dots", Tags("../AC/DC"), 3, false},
      {"newline", Tags("one\ntwo"), 3, false},
      {"600 characters", Tags(std::string(600, 'y')), 4, false},
      {"right to left", Tags("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d"), 3, false},
      {"emoji", Tags("Night \xf0\x9f\x8c\x99"), 3, false},
      {"cancelled: a shorter file, still tagged", Tags("Second Song"), 3, true},
      {"no tags chosen", Tags("Second Song"), 0, false},
      {"a disc with no information", TrackTags{}, 3, false},
  };
  TempDir dir;
  TagLibTags library;
  const Ripped untagged = Rip(dir / "untagged.mp3", 120, {});
  const Ripped untaggedShort = Rip(dir / "untagged-short.mp3", 120, {}, true);
  ASSERT_TRUE(untagged.complete);
  ASSERT_FALSE(untaggedShort.complete);
  const std::vector<int16_t> samples = test::DecodeMp3(untagged.bytes).samples;
  ASSERT_FALSE(samples.empty());

  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Mp3TagBlocks blocks = RenderMp3TagBlocks(row.tags, row.version, library);
    const std::string path = dir / "tagged.mp3";
    const Ripped tagged = Rip(path, 120, blocks, row.cancelled);
    const std::string& audio = row.cancelled ? untaggedShort.bytes : untagged.bytes;
    if (blocks.Empty()) {
      EXPECT_EQ(tagged.bytes, audio);  // byte for byte an untagged rip
      continue;
    }
    const std::string v2(blocks.id3v2.begin(), blocks.id3v2.end());
    ASSERT_EQ(tagged.bytes.size(), v2.size() + audio.size() + kId3v1Size);
    EXPECT_EQ(tagged.bytes.substr(0, v2.size()), v2);
    EXPECT_EQ(tagged.bytes.substr(v2.size(), audio.size()), audio);
    EXPECT_EQ(tagged.bytes.substr(v2.size() + audio.size()), Id3v1BlockFor(row.tags));
    if (!row.cancelled) {
      EXPECT_EQ(test::DecodeMp3(tagged.bytes).samples, samples);
    }

    const Id3v2Reading reading = library.ReadId3v2File(path);
    EXPECT_EQ(reading.version, row.version);
    EXPECT_EQ(reading.tags, row.tags);

    const test::SecondReading second = test::ReadWithMutagen(path);
    ASSERT_TRUE(second.ran) << second.output;
    EXPECT_EQ(second.v2, std::to_string(row.version));
    EXPECT_EQ(test::FrameText(second, "TIT2"), Shown(row.tags.title));
    EXPECT_EQ(test::FrameText(second, "TRCK"), "2/12");
    EXPECT_EQ(test::FrameText(second, "TXXX:MusicBrainz Release Track Id"), "track-id");
    EXPECT_EQ(second.v1.substr(second.v1.find('|')), "|Anna Vector|Vector Album|1994||2|Rock");
  }
}

TEST(TaggedRip, AnEmptyTrackKeepsItsTagButGetsNoEndTag) {
  TempDir dir;
  TagLibTags library;
  const Mp3TagBlocks blocks = RenderMp3TagBlocks(Tags("Silence"), 3, library);
  const Ripped untagged = Rip(dir / "empty.mp3", 0, {});
  const Ripped tagged = Rip(dir / "empty-tagged.mp3", 0, blocks);
  EXPECT_EQ(tagged.bytes, std::string(blocks.id3v2.begin(), blocks.id3v2.end()) + untagged.bytes);
}

}  // namespace
}  // namespace korvalin
