#pragma once
// Looking inside MP3 data in tests: every frame header read by hand, header to header, and the
// audio decoded again with libmpg123.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvalin::test {

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

// Channel modes as the header codes them.
inline constexpr int kModeStereo = 0, kModeJointStereo = 1, kModeDualChannel = 2, kModeMono = 3;

struct MpegFrame {
  std::size_t offset = 0;  // where the header stands in the data
  std::size_t length = 0;  // bytes, header included
  MpegVersion version = MpegVersion::Mpeg1;
  int layer = 0;
  int bitrateKbps = 0;
  int sampleRate = 0;
  int mode = 0;
  int modeExtension = 0;
  int emphasis = 0;
  bool crcProtected = false;
  bool padding = false;
  bool privateBit = false;
  bool copyright = false;
  bool original = false;
  int samplesPerChannel = 0;  // audio samples one frame holds per channel
};

// The frame whose header starts at `offset`, or nothing when the four bytes there are not a
// valid MPEG audio header (free-format and reserved values count as invalid).
std::optional<MpegFrame> ParseFrameHeader(std::string_view data, std::size_t offset);

struct FrameScan {
  std::vector<MpegFrame> frames;
  std::size_t id3v2Size = 0;    // a leading ID3v2 tag, skipped
  bool hasId3v1 = false;        // a 128-byte "TAG" block at the very end
  std::size_t strayBytes = 0;   // bytes after the last whole frame that are no ID3v1 tag
};

// Walks the data from its first frame to its last, each header found exactly where the frame
// before it ends. A stream that breaks off or holds garbage shows as stray bytes.
FrameScan ScanFrames(std::string_view data);

// Whether a frame is a "Xing" or "Info" tag frame rather than audio.
bool IsTagFrame(std::string_view data, const MpegFrame& frame);

struct DecodedAudio {
  long rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved
  int64_t SampleFrames() const { return channels ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

// Decodes MP3 bytes with libmpg123 to 16-bit PCM at the stream's own rate and channel count.
// Data libmpg123 cannot decode gives no samples.
DecodedAudio DecodeMp3(std::string_view data);

}  // namespace korvalin::test
