#pragma once
// A WAV file opened for encoding: its RIFF chunks are walked to find the format and the audio,
// wherever they lie, and the audio is then read block by block. Only 16-bit PCM with one or two
// channels is accepted; anything else is refused before a byte of audio is read, with a text that
// tells the user why.

#include <cstdint>
#include <string>

namespace korvalin {

// The number of the error raised for a file that is no WAV file the encoder can take.
inline constexpr int32_t kInvalidFileFormat = 321;

struct WavAudioFormat {
  int channels = 0;
  int32_t sampleRate = 0;
  int64_t dataOffset = 0;  // where the first sample stands in the file
  int64_t dataLength = 0;  // bytes of audio, no more than the file holds
  int64_t declaredLength = 0;  // bytes of audio as the data chunk's header gives them
  int64_t bytesAfterData = 0;  // what the file holds from the first sample to its end
  // False when the header's figure and the file disagree: the data chunk runs past the end of the
  // file, or what follows it is not whole RIFF chunks (audio the header does not count).
  bool lengthAgrees = true;
};

// The sample rates an MP3 file can hold, in Hz.
inline constexpr int32_t kMp3SampleRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

// Raises a RaisedError (kInvalidFileFormat) that names the file, its rate and the rates MP3 can
// hold when `format`'s rate is not one of them: the encoder would refuse it with no reason given.
void RequireMp3SampleRate(const std::string& path, const WavAudioFormat& format);

class WavInput {
 public:
  // Opens `path` read-only and reads its header. A file that cannot be opened, is no RIFF/WAVE
  // file, has no format or data chunk, or holds other than 16-bit PCM in one or two channels
  // raises a RaisedError (kInvalidFileFormat, or the system's error) whose description is the
  // message for the user.
  explicit WavInput(const std::string& path);
  ~WavInput();
  WavInput(const WavInput&) = delete;
  WavInput& operator=(const WavInput&) = delete;

  const WavAudioFormat& Format() const { return format_; }

  // Reads the next `size` bytes of audio (fewer at the end of the data); the count read. A read
  // the system refuses raises a RaisedError naming the file.
  int32_t Read(void* buffer, int32_t size);

 private:
  void ReadHeader();
  bool WholeChunksFrom(int64_t at) const;
  bool ReadAt(int64_t offset, void* buffer, std::size_t size) const;
  [[noreturn]] void Refuse(const std::string& why) const;

  std::string path_;
  int fd_ = -1;
  int64_t fileSize_ = 0;
  WavAudioFormat format_;
  int64_t position_ = 0;  // audio bytes read so far
};

}  // namespace korvalin
