// Disc images read through their CUE sheets: every layout of files rips bit-exactly and reports
// its table as a drive would; a sheet that cannot describe a real disc is refused with a sentence.

#include "platform/linux/CueImage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/linux/CdioLibrary.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using discgen::ImageFiles;
using discgen::ImageTrack;
using discgen::MusicBytes;
using discgen::MusicCdFrames;

std::string Padded(const std::string& bytes) { return bytes + std::string((2352 - bytes.size() % 2352) % 2352, '\0'); }

ImageTrack Audio(std::string audio, std::string pregap = {}) { return {std::move(audio), std::move(pregap), false}; }
ImageTrack Data(int32_t frames) { return {std::string(static_cast<std::size_t>(frames) * 2352, '\x5A'), {}, true}; }

struct Layout {
  const char* name;
  ImageFiles files;
  int firstNumber;
  std::vector<ImageTrack> tracks;
};

// Opens the image of `cue` and rips every audio track, each of which must equal its audio
// (padded to whole frames) followed by the next track's pregap, as a drive reads it.
void ExpectEveryTrackRipsBitExactly(const std::string& cue, const std::vector<ImageTrack>& tracks, int firstNumber) {
  test::TempDir out;
  CdioLibrary lib({CdioLibrary::ImageDrive(cue)});
  test::ExtractionRig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0)) << lib.LastFault();
  const auto count = static_cast<int32_t>(tracks.size());
  EXPECT_EQ(rig.cd.CurrentToc[2], firstNumber);
  EXPECT_EQ(rig.cd.CurrentToc[3], firstNumber + count - 1);
  EXPECT_EQ(rig.cd.CurrentToc[4 + 8 * static_cast<std::size_t>(count) + 2], 0xAA);

  int32_t expectedStart = 0;
  for (int32_t k = 0; k < count; ++k) {
    SCOPED_TRACE(k);
    const ImageTrack& track = tracks[static_cast<std::size_t>(k)];
    const std::string nextPregap = k + 1 < count ? tracks[static_cast<std::size_t>(k) + 1].pregap : "";
    const std::string expected = Padded(track.audio) + nextPregap;
    expectedStart += static_cast<int32_t>(track.pregap.size() / 2352);
    EXPECT_EQ(rig.cd.CurrentToc[4 + 8 * static_cast<std::size_t>(k) + 2], firstNumber + k);
    EXPECT_EQ(rig.cd.TrackFirstFrame(k + 1), expectedStart);
    EXPECT_EQ(rig.cd.TrackEndFrame(k + 1) - rig.cd.TrackFirstFrame(k + 1), static_cast<int32_t>(expected.size() / 2352));
    EXPECT_EQ(rig.cd.IsDataTrack(k + 1), track.data);
    expectedStart += static_cast<int32_t>(expected.size() / 2352) - static_cast<int32_t>(nextPregap.size() / 2352);
    if (track.data) {  // never read as audio
      std::vector<uint8_t> buffer(cdrecord::kTrackBufferSize);
      const int32_t first = rig.cd.TrackFirstFrame(k + 1), frames = 1;
      std::memcpy(buffer.data(), &first, 4);
      std::memcpy(buffer.data() + 4, &frames, 4);
      const auto capacity = static_cast<uint32_t>(cdrecord::kTrackDataSize);
      std::memcpy(buffer.data() + 8, &capacity, 4);
      EXPECT_EQ(lib.ReadCDAudioLBA(rig.cd.CurrentDriveHandle, buffer.data()), 0);
      continue;
    }
    const std::string wav = out / ("t" + std::to_string(k) + ".wav");
    const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, wav, rig.cd.TrackFirstFrame(k + 1), rig.cd.TrackEndFrame(k + 1));
    EXPECT_TRUE(outcome.complete);
    EXPECT_TRUE(test::ReadFile(wav).substr(44) == expected);
  }
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
}

TEST(CueImage, EveryLayoutRipsEachAudioTrackBitExactlyAndReportsItsTable) {
  const std::vector<Layout> layouts = {
      {"one file, INDEX 00 pregaps", ImageFiles::OneBinary, 1,
       {Audio(MusicCdFrames(40, 1)), Audio(MusicCdFrames(30, 2), MusicCdFrames(10, 3)),
        Audio(MusicBytes(27 * 588 + 100, 4), MusicCdFrames(5, 5))}},
      {"one file per track, from track 2", ImageFiles::BinaryPerTrack, 2,
       {Audio(MusicCdFrames(33, 6), MusicCdFrames(4, 7)), Audio(MusicCdFrames(29, 8), MusicCdFrames(3, 9))}},
      {"WAVE files", ImageFiles::WavePerTrack, 1,
       {Audio(MusicCdFrames(30, 10)), Audio(MusicCdFrames(41, 11), MusicCdFrames(6, 12))}},
      {"a data track first", ImageFiles::OneBinary, 1, {Data(20), Audio(MusicCdFrames(31, 13)), Audio(MusicCdFrames(12, 14))}},
      {"a data track last", ImageFiles::BinaryPerTrack, 1, {Audio(MusicCdFrames(28, 15)), Data(17)}},
      {"one audio track", ImageFiles::OneBinary, 1, {Audio(MusicCdFrames(50, 16))}},
      {"each pregap closing the file before", ImageFiles::GapsAppended, 1,
       {Audio(MusicCdFrames(24, 17), MusicCdFrames(2, 18)), Audio(MusicCdFrames(30, 19), MusicCdFrames(10, 20)),
        Audio(MusicCdFrames(21, 21)), Audio(MusicCdFrames(26, 22), MusicCdFrames(7, 23))}},
      {"a track going on in the next file", ImageFiles::SplitBinary, 1,
       {Audio(MusicCdFrames(35, 24)), Audio(MusicCdFrames(31, 25), MusicCdFrames(9, 26)),
        Audio(MusicCdFrames(22, 27), MusicCdFrames(4, 28)), Data(15)}},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    test::TempDir dir;
    ExpectEveryTrackRipsBitExactly(discgen::WriteCueImage(dir.Path(), "disc", layout.tracks, layout.files, layout.firstNumber),
                                   layout.tracks, layout.firstNumber);
  }
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

TEST(CueImage, NamesWrittenOnOtherSystemsReachTheirFilesAndANameAsWrittenComesFirst) {
  test::TempDir dir;
  const std::vector<ImageTrack> tracks = {Audio(MusicCdFrames(20, 1)), Audio(MusicCdFrames(25, 2), MusicCdFrames(3, 3)),
                                          Audio(MusicCdFrames(18, 4))};
  const std::string cue = discgen::WriteCueImage(dir.Path(), "disc", tracks, ImageFiles::WavePerTrack);
  ASSERT_EQ(::mkdir((dir / "rips").c_str(), 0700), 0);
  ASSERT_EQ(::rename((dir / "disc 01.wav").c_str(), (dir / "rips/disc 01.wav").c_str()), 0);
  // A twin that differs only in case, and would come first among the names that match without it.
  test::WriteFile(dir / "DISC 03.WAV", test::ReadFile(dir / "disc 02.wav"));
  std::string sheet = test::ReadFile(cue);
  Replace(sheet, "\"disc 01.wav\"", "\"Rips\\Disc 01.WAV\"");                  // "\" and case
  Replace(sheet, "\"disc 02.wav\"", "\"C:\\Users\\me\\Music\\DISC 02.wav\"");  // another machine's folder
  std::string windows = "\xEF\xBB\xBF";  // a byte order mark, and lines ending in CR LF
  for (char c : sheet) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  test::WriteFile(cue, windows);
  ExpectEveryTrackRipsBitExactly(cue, tracks, 1);
  const auto image = CueImage::Open(cue);
  EXPECT_EQ(image->SourceFiles(),
            (std::vector<std::string>{cue, dir / "rips/disc 01.wav", dir / "disc 02.wav", dir / "disc 03.wav"}));
}

TEST(CueImage, AFileEndingInsideAFrameEndsTheDiscWithAShortFrameThatFailsToRead) {
  struct Case {
    const char* name;
    ImageFiles files;
    std::vector<ImageTrack> tracks;
    int64_t cut;          // bytes taken off the end of the file of `shortTrack`
    int shortTrack;       // 1-based
    int32_t wholeFrames;  // of that track, before its short frame
    std::string fileName;
    int64_t bytesHeld;  // of the short frame
  };
  const std::vector<Case> cases = {
      {"the last track's BIN", ImageFiles::OneBinary, {Audio(MusicCdFrames(40, 1)), Audio(MusicCdFrames(30, 2))}, 1000,
       2, 29, "disc.bin", 2352 - 1000},
      {"a WAVE before another", ImageFiles::WavePerTrack,
       {Audio(MusicBytes(30 * 588 + 7, 3)), Audio(MusicCdFrames(41, 4), MusicCdFrames(6, 5))}, 0, 1, 30, "disc 01.wav", 28},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string cue = discgen::WriteCueImage(dir.Path(), "disc", c.tracks, c.files);
    const std::string file = dir / c.fileName;
    ASSERT_EQ(::truncate(file.c_str(), test::FileSize(file) - c.cut), 0);
    CdioLibrary lib({CdioLibrary::ImageDrive(cue)});
    test::ExtractionRig rig(lib);
    ASSERT_TRUE(rig.cd.OpenDrive(0)) << lib.LastFault();
    for (int t = 1; t <= static_cast<int>(c.tracks.size()); ++t) {
      SCOPED_TRACE(t);
      const int32_t first = rig.cd.TrackFirstFrame(t), end = rig.cd.TrackEndFrame(t);
      const std::string wav = dir / ("t" + std::to_string(t) + ".wav");
      const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, wav, first, end);
      const std::string& audio = c.tracks[static_cast<std::size_t>(t) - 1].audio;
      if (t != c.shortTrack) {
        EXPECT_TRUE(outcome.complete);
        continue;
      }
      const std::string nextPregap = t < static_cast<int>(c.tracks.size()) ? c.tracks[static_cast<std::size_t>(t)].pregap : "";
      EXPECT_EQ(end - first, c.wholeFrames + 1 + static_cast<int32_t>(nextPregap.size() / 2352)) << "the short frame counts";
      EXPECT_FALSE(outcome.complete);
      EXPECT_EQ(outcome.framesWritten, c.wholeFrames);
      EXPECT_TRUE(test::ReadFile(wav).substr(44) == audio.substr(0, static_cast<std::size_t>(c.wholeFrames) * 2352));
      ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
      EXPECT_EQ(rig.fake.dialogs.messages[0].text,
                "The disc image \"" + cue + "\" cannot be read at frame " + std::to_string(first + c.wholeFrames) +
                    ": the file \"" + file + "\" ends " + std::to_string(c.bytesHeld) +
                    " bytes into that frame, which is short.");
    }
  }
}

TEST(CueImage, TheMediaCommandsSeeTheSameDiscAndTellDataFromAudio) {
  test::TempDir dir;
  const std::string audio = discgen::WriteCueImage(dir.Path(), "audio", {Audio(MusicCdFrames(150, 1))}, ImageFiles::OneBinary);
  const std::string data = discgen::WriteCueImage(dir.Path(), "data", {Data(150)}, ImageFiles::OneBinary);
  const std::string late = discgen::WriteCueImage(
      dir.Path(), "late", {Audio(MusicCdFrames(75, 2)), Audio(MusicCdFrames(150, 3), MusicCdFrames(75, 4))},
      ImageFiles::BinaryPerTrack, 5);
  struct Case {
    std::string cue;
    std::vector<std::string> replies;  // tracks, then type and length of each
  };
  for (const Case& c : std::vector<Case>{{audio, {"1", "audio", "2000"}},
                                         {data, {"1", "other", "2000"}},
                                         {late, {"2", "audio", "2000", "audio", "2000"}}}) {
    SCOPED_TRACE(c.cue);
    MediaCommandInterpreter mci({CdioLibrary::ImageDrive(c.cue)}, "null");
    char reply[64] = {};
    auto ask = [&](const std::string& command) {
      EXPECT_EQ(mci.SendCommand(command, reply, sizeof reply), 0) << command;
      return std::string(reply);
    };
    ASSERT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
    EXPECT_NE(ask("info cd identity"), "0");  // a disc that starts at track 5 has an identity too
    std::vector<std::string> replies{ask("status cd number of tracks")};
    for (int n = 1; n <= std::stoi(replies[0]); ++n) {
      replies.push_back(ask("status cd type track " + std::to_string(n)));
      replies.push_back(ask("status cd length track " + std::to_string(n)));
    }
    EXPECT_EQ(replies, c.replies);
  }
}

struct Malformed {
  const char* name;
  std::string sheet;
  std::string why;  // a part of the sentence that refuses it
};

TEST(CueImage, SheetsThatCannotDescribeARealDiscAreRefusedWithASentence) {
  test::TempDir dir;
  test::WriteFile(dir / "a.bin", MusicCdFrames(100, 1));
  test::WriteFile(dir / "empty.bin", "");
  test::WriteFile(dir / "mono.wav", test::PcmWav(MusicBytes(4410, 1, 1, 22050), 22050, 1));
  test::WriteFile(dir / "words.wav", "these are words, not a RIFF file");
  ASSERT_EQ(::mkdir((dir / "folder.bin").c_str(), 0700), 0);
  const std::string file = "FILE \"a.bin\" BINARY\n";
  std::string hundred = file;
  for (int t = 1; t <= 100; ++t) {
    char line[64];
    std::snprintf(line, sizeof line, "TRACK %02d AUDIO\nINDEX 01 00:00:%02d\n", t, t % 75);
    hundred += line;
  }
  const std::vector<Malformed> sheets = {
      {"empty", "", "not a CUE sheet"},
      {"binary", std::string("FILE \"a.bin\" BINARY\n\0\x01\x02TRACK 01 AUDIO\n", 36), "binary data"},
      {"prose", "Dear diary, today I burned a CD.\n", "not a CUE sheet"},
      {"missing file", "FILE \"gone.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "\"gone.bin\" named by the sheet cannot be read"},
      {"index 00 after 01", file + "TRACK 01 AUDIO\nINDEX 00 00:00:50\nINDEX 01 00:00:10\n", "go backwards"},
      {"tracks backwards", file + "TRACK 01 AUDIO\nINDEX 01 00:00:40\nTRACK 02 AUDIO\nINDEX 01 00:00:20\n", "go backwards"},
      {"empty track", file + "TRACK 01 AUDIO\nINDEX 01 00:00:20\nTRACK 02 AUDIO\nINDEX 01 00:00:20\n", "go backwards"},
      {"index past the end", file + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:01:50\n", "past the end"},
      {"far past the end", file + "TRACK 01 AUDIO\nINDEX 01 99:59:74\n", "past the end"},
      {"100 tracks", hundred, "more than 99 tracks"},
      {"track 0", file + "TRACK 00 AUDIO\nINDEX 01 00:00:00\n", "between 1 and 99"},
      {"first track 71 of 30", file + [] {
         std::string s;
         for (int t = 71; t <= 100; ++t) s += "TRACK " + std::to_string(t) + " AUDIO\nINDEX 01 00:00:" + (t - 71 < 10 ? "0" : "") + std::to_string(t - 71) + "\n";
         return s;
       }(), "between 1 and 99"},
      {"a gap in the numbers", file + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 00:00:30\n", "follow one another"},
      {"frames of 80", file + "TRACK 01 AUDIO\nINDEX 01 00:00:80\n", "not a CD time"},
      {"seconds of 61", file + "TRACK 01 AUDIO\nINDEX 01 00:61:00\n", "not a CD time"},
      {"no INDEX 01", file + "TRACK 01 AUDIO\nINDEX 00 00:00:00\n", "no INDEX 01"},
      {"a track before any file", "TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "names no file"},
      {"an MP3 file", "FILE \"a.bin\" MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "only BINARY"},
      {"a mono WAVE", "FILE \"mono.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "not CD audio"},
      {"a WAVE of words", "FILE \"words.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "not CD audio"},
      {"data in a WAVE", "FILE \"mono.wav\" WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n", "cannot hold a data track"},
      {"an empty file", "FILE \"empty.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "holds no frames"},
      {"a folder as file", "FILE \"folder.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "not a regular file"},
      {"a huge index number", file + "TRACK 01 AUDIO\nINDEX 9999 00:00:00\nINDEX 01 00:00:00\n", "not between 0 and 99"},
  };
  for (const Malformed& m : sheets) {
    SCOPED_TRACE(m.name);
    test::WriteFile(dir / "bad.cue", m.sheet);
    std::string fault;
    try {
      CueImage::Open(dir / "bad.cue");
    } catch (const CueFault& e) {
      fault = e.what();
    }
    EXPECT_EQ(fault.rfind("The disc image \"" + dir / "bad.cue" + "\" cannot be used: ", 0), 0u) << fault;
    EXPECT_NE(fault.find(m.why), std::string::npos) << fault;
    // Through the drive list: the open fails and says the same.
    CdioLibrary lib({CdioLibrary::ImageDrive(dir / "bad.cue")});
    modAKRip32 cd(lib);
    EXPECT_FALSE(cd.OpenDrive(0));
    EXPECT_EQ(lib.LastFault(), fault);
  }
}

TEST(CueImage, AnImageCutShortAfterOpeningFailsTheReadsBeyondItsEnd) {
  test::TempDir dir;
  const std::string cue = discgen::WriteCueImage(dir.Path(), "cut", {Audio(MusicCdFrames(100, 1))}, ImageFiles::OneBinary);
  CdioLibrary lib({CdioLibrary::ImageDrive(cue)});
  test::ExtractionRig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  ASSERT_EQ(::truncate((dir / "cut.bin").c_str(), 60 * 2352 + 1000), 0);
  const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, dir / "cut.wav", 0, 100);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.framesWritten, 60);  // every whole frame that is still there
  EXPECT_TRUE(test::ReadFile(dir / "cut.wav").substr(44) == MusicCdFrames(100, 1).substr(0, 60 * 2352));
  EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace korvalin
