// A track's tags kept through every step: a tagged WAV encodes to an MP3 with the same tags (and
// exactly the frames of the untagged WAV), and that MP3 decodes to a WAV with the same tags again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

#include "encode/EncodeWavToMp3.h"
#include "fileout/OutputFailure.h"
#include "fileout/WavTagChunks.h"
#include "mp3/DecodeBatch.h"
#include "mp3/DecodeTags.h"
#include "mp3/Id3v1Tag.h"
#include "platform/WavTags.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

using test::ReadFile;

TrackTags Everything() {
  TrackTags t;
  t.title = "Title";
  t.artist = "Artist";
  t.album = "Album";
  t.albumArtist = "Album Artist";
  t.year = "1994";
  t.genre = "Art Rock";
  t.track = 3, t.trackCount = 12;
  t.disc = 1, t.discCount = 2;
  t.isrc = "GBAYE9400001";
  t.comment = "A comment";
  t.albumId = "0a5d5a6e-6c2b-4d1f-9d8a-0e2b6f9c1a01";
  t.trackId = "1b6e6b7f-7d3c-4e2a-8e9b-1f3c7a0d2b02";
  t.recordingId = "2c7f7c80-8e4d-4f3b-9fac-2a4d8b1e3c03";
  t.artistId = "3d808d91-9f5e-4a4c-8abd-3b5e9c2f4d04";
  t.releaseGroupId = "4e919ea2-a06f-4b5d-9bce-4c6fad305e05";
  return t;
}

class TagsThroughEncodeAndDecode : public ::testing::Test {
 protected:
  TagsThroughEncodeAndDecode() {
    form.settings.DecodePath = out.Path();
    form.collection.showfiles();
  }

  // A WAV of generated music with `tags` after its audio, as a rip writes it.
  std::string TaggedWav(const std::string& name, const TrackTags& tags, int version) {
    const std::string path = in / name;
    test::WriteFile(path, test::PcmWav(discgen::MusicBytes(44100, 5), 44100, 2));
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    int error = 0;
    EXPECT_TRUE(AppendWavChunks(fd, test::FileSize(path), RenderWavTags(fake.tags, tags, version), error));
    ::close(fd);
    return path;
  }

  std::string Encode(const std::string& wav, int version) {
    form.settings.TagVersion = version;
    const WavEncodingOutcome outcome = EncodeWavToMp3(form, fake.services, wav, form.ReadJobOptions());
    EXPECT_TRUE(outcome.Succeeded()) << outcome.message;
    return outcome.mp3Path;
  }

  // Decodes `mp3` through the decode action, as the window runs it; the WAV written.
  std::string Decode(const std::string& mp3, int version) {
    form.settings.TagVersion = version;
    test::Inside(form.collection).List2.Clear();
    test::Inside(form.collection).List2.AddItem(mp3);
    form.collection.SelectText(group::Mp3);
    form.flags.CaptureStopRequested = kFalse;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    // By value: the loop keeps this after the decode, and later jobs' yields call it too.
    fake.loop.EveryYield([this, limit] {
      if (std::chrono::steady_clock::now() > limit) batch.UnloadHost();
    });
    batch.CmdDecoder_Click();
    EXPECT_TRUE(fake.dialogs.messages.empty());
    return batch.DecodeTarget;
  }

  test::FakeServices fake;
  test::StandInJobHost form{fake.services};
  DecodeBatch batch{form, form.events, fake.services};
  test::TempDir in, out;
};

TEST_F(TagsThroughEncodeAndDecode, AWavToMp3ToWavKeepsEveryTag) {
  TrackTags utf16 = Everything();
  utf16.title = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // Greek: no ISO-8859-1 byte
  utf16.artist = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";                            // Japanese
  TrackTags emoji = Everything();
  emoji.title = "Ship \xF0\x9F\x9A\xA2 and note \xF0\x9F\x8E\xB5";
  TrackTags rightToLeft = Everything();
  rightToLeft.title = "\xD7\xA9\xD7\x99\xD7\xA8";                    // Hebrew
  rightToLeft.artist = "\xD8\xB9\xD9\x85\xD8\xB1 Ensemble";          // Arabic, then Latin
  TrackTags long600 = Everything();
  long600.title.clear();
  for (int i = 0; i < 600; ++i) long600.title += "\xC3\xA9";  // 600 characters, 1200 bytes
  long600.comment = std::string(600, 'c');
  const struct {
    const char* what;
    TrackTags tags;
    int version;
  } cases[] = {{"UTF-16 text", utf16, 3},   {"emoji", emoji, 3},      {"right-to-left text", rightToLeft, 3},
               {"600 characters", long600, 3}, {"ID3v2.4", emoji, 4}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "track" + std::to_string(++n);
    const std::string wav = TaggedWav(name + ".wav", c.tags, c.version);
    ASSERT_EQ(ReadWavTags(fake.tags, wav), c.tags);

    const std::string mp3 = Encode(wav, c.version);
    const Id3v2Reading id3 = fake.tags.ReadId3v2File(mp3);
    ASSERT_TRUE(id3.readable);
    EXPECT_EQ(id3.version, c.version);
    EXPECT_EQ(id3.tags, c.tags);
    const std::string bytes = ReadFile(mp3);
    EXPECT_EQ(TagsOfId3v1Block(bytes.substr(bytes.size() - kId3v1Size)).track, c.tags.track);

    const std::string decoded = Decode(mp3, c.version);
    EXPECT_EQ(decoded, out / (name + ".wav"));
    EXPECT_EQ(ReadWavTags(fake.tags, decoded), c.tags);
  }
}

TEST_F(TagsThroughEncodeAndDecode, TheTagsFrameTheVeryFramesOfTheUntaggedWav) {
  const TrackTags tags = Everything();
  const std::string plainWav = in / "plain.wav";
  test::WriteFile(plainWav, test::PcmWav(discgen::MusicBytes(44100, 5), 44100, 2));
  const std::string plain = ReadFile(Encode(plainWav, 3));
  const std::string tagged = ReadFile(Encode(TaggedWav("tagged.wav", tags, 3), 3));
  const std::vector<uint8_t> front = fake.tags.RenderId3v2(tags, Id3v2Version::v3);
  ASSERT_EQ(tagged.size(), front.size() + plain.size() + kId3v1Size);
  EXPECT_TRUE(tagged.substr(0, front.size()) == std::string(front.begin(), front.end()));
  EXPECT_TRUE(tagged.substr(front.size(), plain.size()) == plain) << "the frames differ";
  EXPECT_TRUE(IsId3v1Tag(tagged.substr(tagged.size() - kId3v1Size)));

  // No tags chosen: the tagged WAV gives the untagged MP3.
  EXPECT_EQ(ReadFile(Encode(in / "tagged.wav", 0)), plain);

  // Tag chunks cut short or damaged are no tags, and the audio before them is all there.
  const std::string whole = ReadFile(in / "tagged.wav");
  const std::string audioEnd = ReadFile(plainWav);
  for (const std::size_t cut : {audioEnd.size() + 5, whole.size() - 1}) {
    SCOPED_TRACE(cut);
    test::WriteFile(in / "cut.wav", whole.substr(0, cut));
    std::string damaged = ReadFile(in / "cut.wav");
    if (cut == whole.size() - 1) damaged[audioEnd.size() + 7] = '\x7F';  // the list's length runs past the end
    test::WriteFile(in / "cut.wav", damaged);
    EXPECT_EQ(ReadWavTags(fake.tags, in / "cut.wav"), TrackTags{});
    EXPECT_EQ(ReadFile(Encode(in / "cut.wav", 3)), plain);
  }
}

TEST_F(TagsThroughEncodeAndDecode, ADiskThatRefusesTheLastTagKeepsTheWholeAudioAndSaysSo) {
  const TrackTags tags = Everything();
  const std::string plainWav = in / "plain.wav";
  test::WriteFile(plainWav, test::PcmWav(discgen::MusicBytes(44100, 5), 44100, 2));
  const std::string plain = ReadFile(Encode(plainWav, 3));
  const std::string wav = TaggedWav("tagged.wav", tags, 3);
  const std::vector<uint8_t> front = fake.tags.RenderId3v2(tags, Id3v2Version::v3);
  const std::string mp3 = out / "tagged.mp3";

  // A file size limit that takes the ID3v2 tag and every frame, and half of the ID3v1 tag.
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit limit = old;
  limit.rlim_cur = static_cast<rlim_t>(front.size() + plain.size() + kId3v1Size / 2);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  form.settings.TagVersion = 3;
  const WavEncodingOutcome outcome = EncodeWavToMp3(form, fake.services, wav, form.ReadJobOptions());
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(outcome.Succeeded());
  EXPECT_TRUE(outcome.destinationFailed);
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].text, WriteFailureText(mp3, "File too large"));
  // The MP3 replaced nothing, so it stays: its tag and all its frames, no half tag after them.
  EXPECT_EQ(outcome.mp3Path, mp3);
  EXPECT_TRUE(ReadFile(mp3) == std::string(front.begin(), front.end()) + plain);
}

TEST_F(TagsThroughEncodeAndDecode, AnMp3WithOnlyAnId3v1TagGivesItsFieldsToTheWav) {
  const std::string plainWav = in / "v1.wav";
  test::WriteFile(plainWav, test::PcmWav(discgen::MusicBytes(22050, 9), 44100, 2));
  const std::string mp3 = Encode(plainWav, 3);
  WriteId3v1Tag(mp3, {"Caf\xC3\xA9 song", "Someone", "Album", "1987", "Said", "17"});
  const std::string decoded = Decode(mp3, 3);
  const TrackTags read = ReadWavTags(fake.tags, decoded);
  EXPECT_EQ(read.title, "Caf\xC3\xA9 song");
  EXPECT_EQ(read.artist, "Someone");
  EXPECT_EQ(read.year, "1987");
  EXPECT_EQ(read.genre, "17");

  // An MP3 without tags decodes to a WAV that holds its audio alone, as before.
  test::WriteFile(in / "bare.wav", test::PcmWav(discgen::MusicBytes(22050, 4), 44100, 2));
  const std::string plainMp3 = Encode(in / "bare.wav", 3);
  const std::string bare = ReadFile(Decode(plainMp3, 3));
  const auto parsed = test::ParseWav(bare);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_TRUE(test::HeaderIsExact(*parsed, bare.size()));
}

}  // namespace
}  // namespace korvalin
