// The MP3 header and tag parser on files the tests write byte by byte, on files made by the
// encoder adapter and the lame command, and the tag writer on all of them.

#include "mp3/Mp3Info.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/RaisedError.h"
#include "mp3/Id3v1Tag.h"
#include "tests/support/AudioTools.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// An MPEG-1 Layer III header: 0xFF, 0xFB (0xFA with CRC), then the bitrate/rate byte and the
// mode byte. 0x90 = 128 kbit/s at 44100 Hz.
std::string Header(unsigned char third = 0x90, unsigned char fourth = 0x00, bool crc = false) {
  return std::string{'\xFF', static_cast<char>(crc ? 0xFA : 0xFB), static_cast<char>(third), static_cast<char>(fourth)};
}

// A Xing frame: the header, the count at frame offsets 44 to 47 (big-endian).
std::string XingFrame(uint32_t frames) {
  std::string f = Header() + std::string(32, '\0') + "Xing" + std::string{0, 0, 0, 0x0F};
  for (int shift = 24; shift >= 0; shift -= 8) f.push_back(static_cast<char>(frames >> shift));
  return f + std::string(100, '\0');
}

// A 128-byte ID3v1 block from raw field bytes.
std::string Tag(std::string title, std::string artist = "", std::string album = "", std::string year = "",
                std::string comment = "", unsigned char genre = 0) {
  auto pad = [](std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
  };
  return "TAG" + pad(title, 30) + pad(artist, 30) + pad(album, 30) + pad(year, 4) + pad(comment, 30) +
         static_cast<char>(genre);
}

// A file of `size` bytes: `head` at its start, `tail` at its end, zeros (a hole) between.
std::string MakeFile(const TempDir& dir, const std::string& name, int64_t size, const std::string& head,
                     const std::string& tail = {}) {
  const std::string path = dir / name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::pwrite(fd, head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
  EXPECT_EQ(::ftruncate(fd, size - static_cast<int64_t>(tail.size())), 0);
  EXPECT_EQ(::pwrite(fd, tail.data(), tail.size(), size - static_cast<int64_t>(tail.size())),
            static_cast<ssize_t>(tail.size()));
  ::close(fd);
  return path;
}

Mp3Info Analyse(const std::string& path) {
  Mp3Info info;
  GetMp3Info(path, info);
  return info;
}

TEST(Bits, LeadingZerosAreDroppedAndTheTextReadsBackAsANumber) {
  const unsigned char frame[4] = {0xFF, 0xFB, 0x90, 0x64};
  EXPECT_EQ(BytesToBits(frame), "11111111111110111001000001100100");
  const unsigned char small[4] = {0, 0, 1, 5};
  EXPECT_EQ(BytesToBits(small), "100000101");
  const unsigned char none[4] = {0, 0, 0, 0};
  EXPECT_EQ(BytesToBits(none), "");
  EXPECT_EQ(BitsToNumber(""), 0);
  EXPECT_EQ(BitsToNumber("100000101"), 261);
  EXPECT_EQ(BitsToNumber("11111111111111111111111111111111"), 4294967295LL);  // a Xing count beyond 32 bits signed
}

TEST(GetMp3Info, TheWorkedExamples) {
  TempDir dir;
  // An ID3v2 block of 1000 bytes: the frame is found at the 1001st byte.
  {
    FrameSearch search;
    Mp3Info info;
    const std::string path = MakeFile(dir, "v2.mp3", 20000, std::string("ID3") + std::string(997, 'x') + Header());
    EXPECT_EQ(ReadFrameHeader(path, true, true, info, search).size(), 32u);
    EXPECT_EQ(search.offset, 1000);
    EXPECT_FALSE(search.XingFound);
  }
  // 128 kbit/s constant bitrate, 1,440,000 bytes.
  {
    const Mp3Info info = Analyse(MakeFile(dir, "cbr.mp3", 1440000, Header()));
    EXPECT_EQ(info.problem, "");
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_EQ(info.frequency, 44100);
    EXPECT_EQ(info.duration, 90);
    EXPECT_EQ(info.version, 1);
    EXPECT_EQ(info.layer, 3);
  }
  // Xing, 4,000,000 bytes, 5000 frames: 245.0 kbit/s, 130 s.
  {
    const Mp3Info info = Analyse(MakeFile(dir, "xing.mp3", 4000000, XingFrame(5000)));
    EXPECT_EQ(info.bitrate, 245);
    EXPECT_EQ(info.duration, 130);
  }
}

TEST(GetMp3Info, EveryHeaderBitIsDecoded) {
  TempDir dir;
  struct Case {
    std::string header;
    int16_t bitrate;
    int32_t frequency;
    const char *mode, *emphasis, *padding, *privateBit, *copyright, *original, *crc;
  } cases[] = {
      {Header(0x90, 0x00), 128, 44100, "stereo", "no", "no", "no", "no", "no", "no"},
      // 320 kbit/s at 48000 Hz with padding and the private bit; joint stereo, copyright,
      // original, emphasis 50/15, CRC.
      {Header(0xE7, 0x6D, true), 320, 48000, "joint stereo", "50/15", "yes", "yes", "yes", "yes", "yes"},
      {Header(0x18, 0x83), 32, 32000, "dual channel", "CCITT J 17", "no", "no", "no", "no", "no"},
      {Header(0x50, 0xC2), 64, 44100, "single channel", "reserved", "no", "no", "no", "no", "no"},
  };
  for (const auto& c : cases) {
    const Mp3Info info = Analyse(MakeFile(dir, "h.mp3", 10000, c.header));
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(info.bitrate, c.bitrate);
    EXPECT_EQ(info.frequency, c.frequency);
    EXPECT_EQ(info.mode, c.mode);
    EXPECT_EQ(info.emphasis, c.emphasis);
    EXPECT_EQ(info.padding, c.padding);
    EXPECT_EQ(info.privateBit, c.privateBit);
    EXPECT_EQ(info.copyright, c.copyright);
    EXPECT_EQ(info.original, c.original);
    EXPECT_EQ(info.crc, c.crc);
  }
}

TEST(GetMp3Info, AFileItCannotAnalyseSaysWhyAndShowsNothingOfTheFileBefore) {
  TempDir dir;
  const std::string good = MakeFile(dir, "good.mp3", 1440000, Header(), Tag("Good"));
  struct Case {
    std::string name;
    int64_t size;
    std::string head;
    std::string problem;
  } cases[] = {
      {"short", 255, Header(), kTooShort},
      // Position 5000 is the last searched: a frame one byte later is not found.
      {"late", 20000, std::string(5000, '\0') + Header(), kNoFrame},
      {"wrong layer", 20000, "\xFF\xFD\x90\x00", kNoFrame},
      {"rate 3", 20000, Header(0x9C), "reserved sample-rate index"},
      {"bitrate 15", 20000, Header(0xF0), "reserved bitrate index"},
      {"free format", 20000, Header(0x00), "free-format bitrate"},
      {"xing 0", 20000, XingFrame(0), "Xing frame count 0"},
      {"xing 1", 400000000, XingFrame(1), "bitrate out of range"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Mp3Info info;
    GetMp3Info(good, info);
    ASSERT_EQ(info.bitrate, 128);
    ASSERT_TRUE(info.hasTag);
    GetMp3Info(MakeFile(dir, "bad.mp3", c.size, c.head), info);
    EXPECT_EQ(info.problem, c.problem);
    EXPECT_EQ(info.bitrate, 0);
    EXPECT_EQ(info.frequency, 0);
    EXPECT_EQ(info.mode, "");
    EXPECT_FALSE(info.hasTag);
    EXPECT_EQ(info.title, "");
    EXPECT_EQ(info.genre, 255);
  }
  // The frame at the last position searched is found.
  EXPECT_EQ(Analyse(MakeFile(dir, "last.mp3", 20000, std::string(4999, '\0') + Header())).problem, "");
  Mp3Info info;
  EXPECT_THROW(GetMp3Info(dir / "missing.mp3", info), RaisedError);
}

TEST(GetMp3Info, FilesOver256MegabytesAndXingCountsOver32767) {
  TempDir dir;
  const Mp3Info cbr = Analyse(MakeFile(dir, "big.mp3", 300'000'000, Header()));
  EXPECT_EQ(cbr.problem, "");
  EXPECT_EQ(cbr.duration, 18750);  // 300,000,000 × 8 ÷ 128,000
  const Mp3Info vbr = Analyse(MakeFile(dir, "bigxing.mp3", 300'000'000, XingFrame(100000)));
  EXPECT_EQ(vbr.bitrate, 919);     // 300,000,000 × 44100 ÷ 100,000 ÷ 144,000 = 918.75
  EXPECT_EQ(vbr.duration, 2612);   // 2,400,000,000 ÷ 918.75 ÷ 1000
}

TEST(GetMp3Info, TheTagIsTheLast128BytesWhenTheyBeginWithTagInAnyCase) {
  TempDir dir;
  struct Case {
    std::string name;
    std::string tail;
    bool hasTag;
    std::string title, year, comment;
    int16_t genre;
  } cases[] = {
      {"zero padded", Tag(std::string("Song\0\0\0", 7), "", "", "1999", "Note   ", 32), true, std::string("Song\0\0\0", 7),
       "1999", "Note", 32},
      {"lower case", "tag" + std::string(Tag("Title")).substr(3), true, "Title", "", "", 0},
      {"ISO-8859-1", Tag("Caf\xE9"), true, "Café", "", "", 0},
      {"none", std::string(128, 'x'), false, "", "", "", 255},
      // Audio bytes spelling "taG" 100 bytes before the end are no tag.
      {"taG in audio", std::string(28, ' ') + "taG" + "Title" + std::string(92, 'z'), false, "", "", "", 255},
      // An APEv2 footer ("APETAGEX") right before the tag: the tag is read, not the footer.
      {"APEv2 before", "APETAGEX" + std::string(24, '\x01') + Tag("Real", "", "", "2001", "", 17), true, "Real", "2001", "", 17},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Mp3Info info = Analyse(MakeFile(dir, "t.mp3", 10000, Header(), c.tail));
    EXPECT_EQ(info.hasTag, c.hasTag);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.year, c.year);
    EXPECT_EQ(info.comment, c.comment);
    EXPECT_EQ(info.genre, c.genre);
  }
}

// --- real files -------------------------------------------------------------------------------------

class RealMp3 : public ::testing::Test {
 protected:
  TempDir dir;
  std::string Wav(double seconds, int channels = 2) {
    const std::string path = dir / "in.wav";
    test::WritePcmWav(path, discgen::MusicBytes(static_cast<int64_t>(seconds * 44100), 3, channels), 44100, channels);
    return path;
  }
};

TEST_F(RealMp3, EncoderStreamsAtSeveralBitratesReadBack) {
  const std::string pcm = discgen::MusicBytes(44100 * 3, 5);
  for (const int kbps : {32, 128, 320}) {
    SCOPED_TRACE(kbps);
    const std::string mp3 = test::EncodeMp3(pcm, 44100, 2, kbps);
    WriteFile(dir / "e.mp3", mp3);
    const Mp3Info info = Analyse(dir / "e.mp3");
    EXPECT_EQ(info.problem, "");
    EXPECT_EQ(info.bitrate, kbps);
    EXPECT_EQ(info.frequency, 44100);
    EXPECT_EQ(info.duration, static_cast<int32_t>(mp3.size() * 8 / kbps / 1000));
    EXPECT_FALSE(info.hasTag);
  }
}

TEST_F(RealMp3, LameTagsAndTheXingCountOfAVariableBitrateFile) {
  const std::string wav = Wav(4);
  const std::string cbr = dir / "cbr.mp3";
  ASSERT_EQ(test::RunTool({"lame", "--quiet", "-b", "192", "--cbr", "--id3v1-only", "--tt", "A Title", "--ta",
                           "Some Artist", "--tl", "The Album", "--ty", "2003", "--tc", "Remark", "--tg", "32", wav, cbr}),
            0);
  Mp3Info info = Analyse(cbr);
  EXPECT_EQ(info.bitrate, 192);
  EXPECT_TRUE(info.hasTag);
  // lame pads with zero bytes, which stay in the texts.
  auto zeros = [](std::string s, std::size_t width) { return s + std::string(width - s.size(), '\0'); };
  EXPECT_EQ(info.title, zeros("A Title", 30));
  EXPECT_EQ(info.artist, zeros("Some Artist", 30));
  EXPECT_EQ(info.album, zeros("The Album", 30));
  EXPECT_EQ(info.year, "2003");
  EXPECT_EQ(info.comment.substr(0, 6), "Remark");
  EXPECT_EQ(info.genre, 32);

  const std::string vbr = dir / "vbr.mp3";
  ASSERT_EQ(test::RunTool({"lame", "--quiet", "-V", "2", wav, vbr}), 0);
  FrameSearch search;
  ReadFrameHeader(vbr, false, true, info, search);
  const std::string bytes = ReadFile(vbr);
  const auto scan = test::ScanFrames(bytes);
  ASSERT_FALSE(scan.frames.empty());
  ASSERT_TRUE(test::IsTagFrame(bytes, scan.frames.front()));
  EXPECT_TRUE(search.XingFound);
  EXPECT_EQ(search.XingFrames, static_cast<int64_t>(scan.frames.size()) - 1);  // the tag frame is no audio
  info = Analyse(vbr);
  EXPECT_EQ(info.problem, "");
  EXPECT_EQ(info.duration, 4);
}

// --- the tag writer ------------------------------------------------------------------------------

Id3v1Fields FieldsOf(const Mp3Info& info) {
  return {info.title, info.artist, info.album, info.year, info.comment, std::to_string(info.genre)};
}

TEST(Id3v1Block, TextsAreLatin1CutOrPaddedAndTheGenreIsANumberOr255) {
  const std::string block = BuildId3v1Block({"Café 日本", std::string(40, 'a'), "", "20011", "c", "32"});
  ASSERT_EQ(block.size(), kId3v1Size);
  EXPECT_EQ(block.substr(0, 3), "TAG");
  EXPECT_EQ(block.substr(3, 30), "Caf\xE9 ??" + std::string(23, ' '));
  EXPECT_EQ(block.substr(33, 30), std::string(30, 'a'));
  EXPECT_EQ(block.substr(93, 4), "2001");
  EXPECT_EQ(block.substr(97, 30), "c" + std::string(29, ' '));
  EXPECT_EQ(static_cast<unsigned char>(block[127]), 32);
  for (const char* genre : {"", "256", "-1", "abc", "12x", "1e2"}) EXPECT_EQ(GenreByte(genre), 255) << genre;
  EXPECT_EQ(GenreByte(" 0 "), 0);
  EXPECT_EQ(GenreByte("255"), 255);
}

TEST_F(RealMp3, ATagWrittenBackUnchangedLeavesTheFileAsItWas) {
  const std::string wav = Wav(2);
  const std::string path = dir / "t.mp3";
  // A track number in the comment's last byte, and fields padded with zeros.
  ASSERT_EQ(test::RunTool({"lame", "--quiet", "-b", "128", "--id3v1-only", "--tt", "Title", "--ta", "Artist", "--tc",
                           "Comment", "--tn", "7", "--tg", "13", wav, path}),
            0);
  const std::string before = ReadFile(path);
  ASSERT_EQ(before[before.size() - 2], 7);
  WriteId3v1Tag(path, FieldsOf(Analyse(path)));
  EXPECT_EQ(ReadFile(path), before);

  WriteId3v1Tag(path, {"New", "Artist", "", "1999", "Comment", "13"});
  const std::string after = ReadFile(path);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, after.size() - 128), before.substr(0, before.size() - 128));
  const Mp3Info info = Analyse(path);
  EXPECT_EQ(info.title, "New");
  EXPECT_EQ(info.year, "1999");
  EXPECT_EQ(after[after.size() - 2], 7);
}

TEST_F(RealMp3, AFileWithoutATagGetsOneAppendedAndItsAudioStays) {
  const std::string path = dir / "plain.mp3";
  WriteFile(path, test::EncodeMp3(discgen::MusicBytes(44100, 9), 44100, 2, 128));
  const std::string before = ReadFile(path);
  WriteId3v1Tag(path, {"Title", "Artist", "Album", "2020", "Comment", "7"});
  const std::string after = ReadFile(path);
  ASSERT_EQ(after.size(), before.size() + 128);
  EXPECT_EQ(after.substr(0, before.size()), before);
  EXPECT_EQ(test::DecodeMp3(after).samples, test::DecodeMp3(before).samples);
  const Mp3Info info = Analyse(path);
  EXPECT_TRUE(info.hasTag);
  EXPECT_EQ(info.album, "Album");
  EXPECT_EQ(info.genre, 7);
  EXPECT_EQ(after.substr(after.size() - 128 + 97, 30), "Comment" + std::string(23, ' '));
}

TEST(Id3v1Write, AWriteThatFailsLeavesTheFileAsItWas) {
  TempDir dir;
  EXPECT_THROW(WriteId3v1Tag(dir / "missing.mp3", Id3v1Fields{}), RaisedError);
  EXPECT_FALSE(test::Exists(dir / "missing.mp3"));

  // The file may grow by 50 bytes only: the appended tag does not fit and is taken off again.
  const std::string path = dir / "full.mp3";
  const std::string audio = Header() + std::string(5000, 'a');
  WriteFile(path, audio);
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &old);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limit = saved;
  limit.rlim_cur = audio.size() + 50;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  bool threw = false;
  try {
    WriteId3v1Tag(path, {"Title", "", "", "", "", ""});
  } catch (const RaisedError&) {
    threw = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::sigaction(SIGXFSZ, &old, nullptr);
  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadFile(path), audio);
}

}  // namespace
}  // namespace korvalin
