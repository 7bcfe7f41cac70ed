// A tagged WAV as the field's own tools see it: soxi and ffprobe give it the length of its audio
// (the tag chunks are no samples) and ffprobe finds the tags.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "fileout/WavInput.h"
#include "fileout/WavTagChunks.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

// What a command prints on its standard output, without the last line break; nothing when it
// cannot run.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// A minimal ID3v2.4 tag holding one title frame in UTF-8.
std::vector<uint8_t> Id3v2Title(const std::string& title) {
  std::vector<uint8_t> frame = {'T', 'I', 'T', '2', 0, 0, 0, static_cast<uint8_t>(title.size() + 1), 0, 0, 3};
  frame.insert(frame.end(), title.begin(), title.end());
  std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, static_cast<uint8_t>(frame.size())};
  tag.insert(tag.end(), frame.begin(), frame.end());
  return tag;
}

TEST(WavTagReaders, SoxiAndFfprobeReadATaggedWavWithTheLengthOfItsAudio) {
  if (Output("command -v soxi").empty() || Output("command -v ffprobe").empty()) {
    GTEST_SKIP() << "soxi or ffprobe is not installed (scripts/install-deps installs both)";
  }
  test::TempDir dir;
  const struct {
    const char* what;
    int channels;
    std::size_t frames;
  } cases[] = {{"stereo", 2, 44100 * 2 + 17}, {"mono, odd data length", 1, 22051}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir / (std::string(c.what) + ".wav");
    std::string pcm(c.frames * 2 * static_cast<std::size_t>(c.channels), '\0');
    for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<char>(i * 13 % 256);
    if (c.channels == 1) pcm.pop_back();  // an odd data chunk: its pad byte comes before the tags
    test::WriteFile(path, test::PcmWav(pcm, 44100, static_cast<uint16_t>(c.channels)).substr(0, 44 + pcm.size()));
    TrackTags tags;
    tags.title = "Stra\xC3\x9F" "e \xF0\x9F\x9A\xA2";
    tags.artist = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
    tags.track = 7, tags.trackCount = 12;
    std::vector<uint8_t> chunks = InfoListChunk(tags);
    const std::vector<uint8_t> id3 = Id3Chunk(Id3v2Title(tags.title));
    chunks.insert(chunks.end(), id3.begin(), id3.end());
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int error = 0;
    ASSERT_TRUE(AppendWavChunks(fd, static_cast<int64_t>(44 + pcm.size()), chunks, error));
    ::close(fd);

    const std::string frames = std::to_string(pcm.size() / 2 / static_cast<std::size_t>(c.channels));
    EXPECT_EQ(Output("soxi -s " + Quoted(path)), frames);
    EXPECT_EQ(Output("ffprobe -v error -show_entries stream=duration_ts -of default=nw=1:nk=1 " + Quoted(path)),
              frames);
    EXPECT_EQ(Output("ffprobe -v error -show_entries format_tags=title,artist,track -of default=nw=1 " + Quoted(path)),
              "TAG:title=" + tags.title + "\nTAG:artist=" + tags.artist + "\nTAG:track=7/12");
    EXPECT_EQ(WavInput(path).Format().dataLength, static_cast<int64_t>(pcm.size()));
  }
}

}  // namespace
}  // namespace korvalin
