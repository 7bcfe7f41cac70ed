// The text a disc carries about itself: CD-Text packs as libcdio decodes them, every language
// block read with the first that has a field winning; a disc image's sheet lines through the CD
// library, as the program reads them; text in older encodings turned into UTF-8.

#include <cdio/cdtext.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/DiscText.h"
#include "platform/linux/CdioDiscText.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/modAKRip32.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

TEST(DiscTextField, KeepsUtf8AndReadsOtherBytesAsLatin1) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"Caf\xC3\xA9", "Caf\xC3\xA9"},               // UTF-8 as it is
      {"Caf\xE9", "Caf\xC3\xA9"},                   // ISO-8859-1 é
      {"\xC3(", "\xC3\x83("},                       // a broken sequence: the whole text is Latin-1
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"}, // a surrogate is no UTF-8
      {"  Two\tWords\r\n", "Two Words"},            // control characters become blanks, ends trimmed
      {" \t ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DiscTextField(c.in), c.out) << c.in;
}

// CD-Text as it stands in the lead-in: 18-byte packs, each language block closed by its three
// size-information packs.
class CdTextPacks {
 public:
  // `texts`: the texts of the disc (track 0) and its tracks in turn, laid out as the lead-in
  // does: one NUL-ended run cut into 12-byte packs, each naming the track its first byte is of.
  void Add(int block, uint8_t type, const std::vector<std::string>& texts) {
    std::string run;
    std::vector<int> trackOf;
    for (std::size_t t = 0; t < texts.size(); ++t) {
      run += texts[t] + '\0';
      trackOf.resize(run.size(), static_cast<int>(t));
    }
    for (std::size_t at = 0; at < run.size(); at += 12) {
      uint8_t* p = Pack(type, trackOf[at], block);
      std::size_t start = at;
      while (start > 0 && trackOf[start - 1] == trackOf[at]) --start;
      p[3] |= static_cast<uint8_t>(std::min<std::size_t>(at - start, 15));
      std::memcpy(p + 4, run.data() + at, std::min<std::size_t>(12, run.size() - at));
      counts_[block][type - 0x80]++;
    }
  }
  void CloseBlock(int block, uint8_t language, int lastTrack) {
    uint8_t info[36] = {};
    info[1] = 1;
    info[2] = static_cast<uint8_t>(lastTrack);
    for (int t = 0; t < 16; ++t) info[4 + t] = counts_[block][t];
    info[4 + 15] = 3;
    for (int b = 0; b < 8; ++b) {
      info[20 + b] = static_cast<uint8_t>(seq_[b] + 2);
      info[28 + b] = b == block ? language : languages_[b];
    }
    languages_[block] = language;
    for (int k = 0; k < 3; ++k) std::memcpy(Pack(0x8F, k, block) + 4, info + 12 * k, 12);
  }
  cdtext_t* Decode() {
    cdtext_t* t = cdtext_init();
    EXPECT_EQ(cdtext_data_init(t, bytes_.data(), bytes_.size()), 0);
    return t;
  }

 private:
  uint8_t* Pack(uint8_t type, int track, int block) {
    bytes_.resize(bytes_.size() + 18);
    uint8_t* p = bytes_.data() + bytes_.size() - 18;
    p[0] = type;
    p[1] = static_cast<uint8_t>(track);
    p[2] = static_cast<uint8_t>(seq_[block]++);
    p[3] = static_cast<uint8_t>(block << 4);
    return p;
  }
  std::vector<uint8_t> bytes_;
  int seq_[8] = {};
  uint8_t counts_[8][16] = {};
  uint8_t languages_[8] = {};
};

TEST(CdioDiscText, EveryLanguageBlockIsReadAndTheFirstWithAFieldGivesIt) {
  CdTextPacks packs;
  // Block 0 (English): the album and track 1's title; track 2 has no title here.
  packs.Add(0, 0x80, {"Album EN", "One", ""});
  packs.CloseBlock(0, 0x09, 2);
  // Block 1 (German): another album title (not taken), the performer, and track 2's title.
  packs.Add(1, 0x80, {"Album DE", "Eins", "Zwei"});
  packs.Add(1, 0x81, {"Band", "Band", "Guest"});
  packs.CloseBlock(1, 0x08, 2);
  cdtext_t* decoded = packs.Decode();
  const DiscText text = DiscTextOf(decoded, {1, 2});
  cdtext_destroy(decoded);

  EXPECT_EQ(text.title, "Album EN");
  EXPECT_EQ(text.performer, "Band");
  ASSERT_EQ(text.tracks.size(), 2u);
  EXPECT_EQ(text.tracks[0].title, "One");
  EXPECT_EQ(text.tracks[0].performer, "Band");
  EXPECT_EQ(text.tracks[1].title, "Zwei");
  EXPECT_EQ(text.tracks[1].performer, "Guest");
  EXPECT_TRUE(DiscTextOf(nullptr, {1}).Empty());
}

// A sheet's text through the CD library, as the program and korvalin-cli read it.
TEST(CueImageText, TheSheetsLinesAtDiscAndTrackLevelReachTheProgram) {
  test::TempDir dir;
  discgen::WriteDiscImage(dir.Path(), "disc", {discgen::MusicCdFrames(10, 1), discgen::MusicCdFrames(10, 2)});
  const struct {
    const char* name;
    std::string sheet;
    DiscText expected;
  } cases[] = {
      {"disc and tracks",
       "REM DATE 1999\nPERFORMER \"The Band\"\nTITLE \"First Light\"\nSONGWRITER \"Ann\"\nFILE \"disc.bin\" BINARY\n"
       "  TRACK 01 AUDIO\n    TITLE \"Dawn\"\n    PERFORMER \"The Band\"\n    INDEX 01 00:00:00\n"
       "  TRACK 02 AUDIO\n    TITLE \"Noon\"\n    PERFORMER \"Guest\"\n    SONGWRITER \"Bo\"\n    INDEX 01 00:00:10\n",
       {"First Light", "The Band", "Ann", "1999", {{1, "Dawn", "The Band", ""}, {2, "Noon", "Guest", "Bo"}}}},
      {"a sheet written in ISO-8859-1, one track without text",
       "TITLE \"Caf\xE9\"\nFILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
       "  TRACK 02 AUDIO\n    TITLE \"Cr\xE8me\"\n    INDEX 01 00:00:10\n",
       {"Caf\xC3\xA9", "", "", "", {{2, "Cr\xC3\xA8me", "", ""}}}},
      {"no text at all",
       "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:00:10\n",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(dir / "disc.cue", c.sheet);
    CdioLibrary library({CdioLibrary::ImageDrive(dir / "disc.cue")});
    modAKRip32 cd(library);
    ASSERT_TRUE(cd.OpenDrive(0)) << library.LastFault();
    const DiscText text = library.ReadDiscText(cd.CurrentDriveHandle);
    EXPECT_EQ(text.title, c.expected.title);
    EXPECT_EQ(text.performer, c.expected.performer);
    EXPECT_EQ(text.songwriter, c.expected.songwriter);
    EXPECT_EQ(text.year, c.expected.year);
    ASSERT_EQ(text.tracks.size(), c.expected.tracks.size());
    for (std::size_t k = 0; k < text.tracks.size(); ++k) {
      EXPECT_EQ(text.tracks[k].number, c.expected.tracks[k].number);
      EXPECT_EQ(text.tracks[k].title, c.expected.tracks[k].title);
      EXPECT_EQ(text.tracks[k].performer, c.expected.tracks[k].performer);
      EXPECT_EQ(text.tracks[k].songwriter, c.expected.tracks[k].songwriter);
    }
    cd.CloseDrive();
  }
}

}  // namespace
}  // namespace korvalin
