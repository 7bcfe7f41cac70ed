#include "fileout/WavTagChunks.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "fileout/WavInput.h"
#include "tests/support/RiffWav.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

using namespace std::string_literals;
using test::RiffFile;
using test::TempDir;

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Of `tags`, the fields a LIST/INFO chunk has room for.
TrackTags InfoPart(const TrackTags& tags) {
  TrackTags t;
  t.title = tags.title, t.artist = tags.artist, t.album = tags.album, t.year = tags.year;
  t.genre = tags.genre, t.comment = tags.comment;
  t.track = tags.track, t.trackCount = tags.track > 0 ? tags.trackCount : 0;
  return t;
}

std::string Pcm(std::size_t frames) {
  std::string pcm;
  for (std::size_t i = 0; i < frames * 4; ++i) pcm += static_cast<char>(i * 7 % 251);
  return pcm;
}

// Appends `chunks` to the WAV file at `path` as a writer does once its audio is in.
bool Append(const std::string& path, const std::vector<uint8_t>& chunks, int& error) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  EXPECT_GE(fd, 0);
  const bool ok = AppendWavChunks(fd, test::FileSize(path), chunks, error);
  ::close(fd);
  return ok;
}

const TrackTags kFull = [] {
  TrackTags t;
  t.title = "Stra\xC3\x9F" "e der Lieder";  // German sharp s
  t.artist = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D and friends";  // right-to-left, then left-to-right
  t.album = "Ship \xF0\x9F\x9A\xA2 of odd length";  // an emoji
  t.year = "1994-05-02";
  t.genre = "Art Rock";
  t.track = 7, t.trackCount = 12;
  t.comment = std::string(600, 'x');
  t.albumArtist = "left out of INFO";
  t.isrc = "GBAYE9400001";
  return t;
}();

TEST(WavTagChunks, InfoTextsComeBackAsWrittenAndEveryChunkIsEven) {
  TrackTags trackOnly;
  trackOnly.track = 3;  // no count: "3"
  TrackTags countOnly;
  countOnly.trackCount = 9;  // a count without a track says nothing
  countOnly.title = "T";
  const struct {
    const char* what;
    TrackTags tags;
  } cases[] = {{"every INFO field, wide texts", kFull}, {"a track without a count", trackOnly},
               {"a one-letter title", countOnly}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> chunk = InfoListChunk(c.tags);
    ASSERT_GE(chunk.size(), 12u);
    EXPECT_EQ(chunk.size() % 2, 0u);
    EXPECT_EQ(AsText(chunk).substr(0, 4), "LIST");
    const uint32_t length = chunk[4] | chunk[5] << 8 | chunk[6] << 16 | uint32_t{chunk[7]} << 24;
    EXPECT_EQ(length, chunk.size() - 8);
    const auto read = ParseInfoList(AsText(chunk).substr(8));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, InfoPart(c.tags));
  }
  EXPECT_TRUE(InfoListChunk(TrackTags{}).empty());
  EXPECT_TRUE(Id3Chunk({}).empty());
  EXPECT_EQ(AsText(Id3Chunk({'I', 'D', '3'})), "id3 \x03\0\0\0ID3\0"s);
}

TEST(WavTagChunks, ListsOfOtherWritersAndDamagedListsAreReadAsTheyDeserve) {
  const struct {
    const char* what;
    std::string body;
    std::optional<std::string> title;  // nothing: the list is not taken
    int track = 0;
  } cases[] = {
      {"ISO-8859-1 text", "INFOINAM\x05\0\0\0Caf\xE9\0"s, "Caf\xC3\xA9"},
      {"no terminating NUL, odd length and its pad", "INFOINAM\x03\0\0\0abc\0IPRT\x02\0\0\0" "5\0"s, "abc", 5},
      {"an unknown field", "INFOISFT\x04\0\0\0Tool"s "INAM\x02\0\0\0T\0"s, "T"},
      {"a sub-chunk longer than the list", "INFOINAM\xFF\0\0\0abc"s, std::nullopt},
      {"a cut sub-chunk header", "INFOINAM\x02\0\0"s, std::nullopt},
      {"another list type", "adtlINAM\x02\0\0\0T\0"s, std::nullopt},
      {"nothing at all", "", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto read = ParseInfoList(c.body);
    ASSERT_EQ(read.has_value(), c.title.has_value());
    if (!read) continue;
    EXPECT_EQ(read->title, *c.title);
    EXPECT_EQ(read->track, c.track);
  }
}

TEST(WavTagChunks, TagsAfterTheAudioLeaveItAndItsLengthUntouchedAndAreFoundAgain) {
  TempDir dir;
  for (const std::size_t bytes : {std::size_t{4000}, std::size_t{3001}}) {  // an odd data chunk needs its pad byte
    SCOPED_TRACE(bytes);
    const std::string path = dir / ("a" + std::to_string(bytes) + ".wav");
    const std::string pcm = Pcm(1000).substr(0, bytes);
    test::WriteFile(path, test::RiffFile({{"fmt ", test::FormatBody(1, 2, 44100, 16)}, {"data", pcm, -1}}).substr(
                              0, 44 + bytes));  // no pad byte yet, as a writer leaves it
    std::vector<uint8_t> chunks = InfoListChunk(kFull);
    const std::vector<uint8_t> id3 = Id3Chunk({'I', 'D', '3', 4, 0, 0, 0, 0, 0, 1, 'x'});
    chunks.insert(chunks.end(), id3.begin(), id3.end());
    int error = -1;
    ASSERT_TRUE(Append(path, chunks, error));
    EXPECT_EQ(error, 0);

    const std::string file = test::ReadFile(path);
    EXPECT_EQ(file.size(), 44 + bytes + bytes % 2 + chunks.size());
    const auto wav = test::ParseWav(file);
    ASSERT_TRUE(wav.has_value());
    EXPECT_EQ(wav->riffLength, file.size() - 8);
    EXPECT_EQ(wav->dataLength, bytes);
    EXPECT_EQ(file.substr(44, bytes), pcm);
    WavInput input(path);
    EXPECT_EQ(input.Format().dataLength, static_cast<int64_t>(bytes));
    EXPECT_TRUE(input.Format().lengthAgrees);

    const WavTagChunks found = ReadWavTagChunks(path);
    ASSERT_TRUE(found.info.has_value());
    EXPECT_EQ(*found.info, InfoPart(kFull));
    EXPECT_EQ(AsText(found.id3), "ID3\x04\0\0\0\0\0\x01x"s);
  }
}

TEST(WavTagChunks, AFileCutShortOrDamagedReadsAsUntagged) {
  TempDir dir;
  const std::string pcm = Pcm(100);
  const std::string info = AsText(InfoListChunk(kFull)).substr(8);
  const std::string fmt = test::FormatBody(1, 2, 44100, 16);
  const std::string tagged = RiffFile({{"fmt ", fmt}, {"data", pcm}, {"LIST", info}, {"id3 ", "ID3..."}});
  const struct {
    const char* what;
    std::string file;
    bool info;
    bool id3;
  } cases[] = {
      {"whole", tagged, true, true},
      {"tags before the audio", RiffFile({{"LIST", info}, {"fmt ", fmt}, {"data", pcm}}), true, false},
      {"the id3 chunk cut short", tagged.substr(0, tagged.size() - 3), true, false},
      {"the list cut short", tagged.substr(0, 44 + pcm.size() + 20), false, false},
      {"audio cut short", tagged.substr(0, 44 + pcm.size() / 2), false, false},
      {"a list whose length says more than the file holds",
       RiffFile({{"fmt ", fmt}, {"data", pcm}, {"LIST", info, 1 << 30}}), false, false},
      {"a damaged list before a good id3 chunk", RiffFile({{"fmt ", fmt}, {"data", pcm},
                                                           {"LIST", "INFOINAM\x50\0\0\0x"s}, {"id3 ", "ID3"}}),
       false, true},
      {"no WAV at all", "RIFX" + tagged.substr(4), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteFile(dir / "t.wav", c.file);
    const WavTagChunks found = ReadWavTagChunks(dir / "t.wav");
    EXPECT_EQ(found.info.has_value(), c.info);
    EXPECT_EQ(!found.id3.empty(), c.id3);
  }
  EXPECT_FALSE(ReadWavTagChunks(dir / "missing.wav").info.has_value());
}

TEST(WavTagChunks, TheFirstTagsWinFieldByField) {
  TrackTags first;
  first.title = "from id3";
  first.disc = 2;
  TrackTags second = kFull;
  const TrackTags merged = WithGapsFilled(first, second);
  EXPECT_EQ(merged.title, "from id3");
  EXPECT_EQ(merged.disc, 2);
  EXPECT_EQ(merged.artist, kFull.artist);
  EXPECT_EQ(merged.track, 7);
  EXPECT_EQ(merged.isrc, kFull.isrc);
}

TEST(WavTagChunks, AFullDiskGetsTheTagsCutOffAndLeavesTheAudioAsItWas) {
  test::SmallDisk disk(1 << 20);
  if (!disk.Available()) GTEST_SKIP() << disk.Why();
  const std::string path = disk / "full.wav";
  const std::string original = test::PcmWav(Pcm(2000), 44100, 2);
  test::WriteFile(path, original);
  disk.LeaveFree(0);
  TrackTags big;
  big.comment = std::string(200000, 'c');  // more than any page left
  int error = 0;
  EXPECT_FALSE(Append(path, InfoListChunk(big), error));
  EXPECT_EQ(error, ENOSPC);
  EXPECT_EQ(test::ReadFile(path), original);
}

}  // namespace
}  // namespace korvalin
