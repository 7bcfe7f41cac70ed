#pragma once
// The encoder library over libmp3lame. Every stream is constant-bitrate in exactly the format the
// record asks for (rate, channel mode, bitrate, the private/CRC/copyright/original bits); the
// record's preset only tunes how LAME works (quality level, filters), never that format.
// Streams are used from one thread, like the rest of the program's logic.

#include <array>
#include <memory>

#include "platform/EncoderLibrary.h"

namespace korvalin {

class LameEncoderLibrary final : public EncoderLibrary {
 public:
  // How many streams may be open at once; one more gets "no more handles".
  static constexpr uint32_t kMaxStreams = 8;

  LameEncoderLibrary();
  ~LameEncoderLibrary() override;
  LameEncoderLibrary(const LameEncoderLibrary&) = delete;
  LameEncoderLibrary& operator=(const LameEncoderLibrary&) = delete;

  int32_t beInitStream(const uint8_t* config, uint32_t* samplesPerChunk, uint32_t* outputBufferSize,
                       uint32_t* stream) override;
  int32_t beEncodeChunk(uint32_t stream, uint32_t samples, const uint8_t* pcm, uint8_t* output,
                        uint32_t* outputBytes) override;
  int32_t beDeinitStream(uint32_t stream, uint8_t* output, uint32_t* outputBytes) override;
  int32_t beCloseStream(uint32_t stream) override;

 private:
  struct Stream;
  Stream* Find(uint32_t handle);

  std::array<std::unique_ptr<Stream>, kMaxStreams> streams_;
  uint32_t nextSerial_ = 1;  // makes a closed stream's handle unknown even when its slot is reused
};

}  // namespace korvalin
