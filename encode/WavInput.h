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
};

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
  bool ReadAt(int64_t offset, void* buffer, std::size_t size) const;
  [[noreturn]] void Refuse(const std::string& why) const;

  std::string path_;
  int fd_ = -1;
  int64_t fileSize_ = 0;
  WavAudioFormat format_;
  int64_t position_ = 0;  // audio bytes read so far
};

}  // namespace korvalin
