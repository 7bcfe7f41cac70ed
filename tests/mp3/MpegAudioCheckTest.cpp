#include "mp3/MpegAudioCheck.h"

#include <gtest/gtest.h>

#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

// An ID3v2 tag of `size` bytes after its header (a cover picture makes tags this large).
std::string Id3v2Tag(uint32_t size) {
  std::string tag = "ID3\x03";
  tag += '\0';
  tag += '\0';
  for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((size >> shift) & 0x7F);
  return tag + std::string(size, '\0');
}

TEST(MpegAudioCheck, FindsAudioBehindATagAndNothingInOtherFiles) {
  test::TempDir dir;
  const std::string mp3 = test::EncodeMp3(discgen::MusicBytes(44100, 3), 44100, 2, 128);
  const std::string mono = test::EncodeMp3(discgen::MusicBytes(22050, 3, 1, 22050), 22050, 1, 32);
  test::WritePcmWav(dir / "wav", discgen::MusicBytes(44100, 3), 44100, 2);
  const struct {
    const char* name;
    std::string bytes;
    bool audio;
  } cases[] = {
      {"an MP3", mp3, true},
      {"an MPEG-2 MP3", mono, true},
      {"an MP3 behind a 100 KiB ID3v2 tag", Id3v2Tag(100 * 1024) + mp3, true},
      {"an MP3 with an ID3v1 tag", mp3 + "TAG" + std::string(125, ' '), true},
      {"a WAV", test::ReadFile(dir / "wav"), false},
      {"text", std::string(4000, 'a'), false},
      {"one stray frame sync", std::string(100, '\0') + "\xFF\xFB\x90\x64" + std::string(2000, '\x11'), false},
  };
  for (const auto& c : cases) {
    test::WriteFile(dir / c.name, c.bytes);
    EXPECT_EQ(HoldsMpegAudio(dir / c.name), c.audio) << c.name;
  }
  EXPECT_FALSE(HoldsMpegAudio(dir / "missing"));
}

}  // namespace
}  // namespace korvalin
