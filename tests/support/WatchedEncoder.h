#pragma once
// The real encoder, watched: the sample count and bytes of every chunk, what the stream's end
// gave, how often streams started and closed, and chunks it can be made to refuse.

#include <functional>
#include <string>
#include <vector>

#include "platform/linux/LameEncoderLibrary.h"

namespace korvalin::test {

class WatchedEncoder : public EncoderLibrary {
 public:
  int32_t beInitStream(const uint8_t* c, uint32_t* s, uint32_t* o, uint32_t* h) override {
    ++starts;
    return real.beInitStream(c, s, o, h);
  }
  int32_t beEncodeChunk(uint32_t h, uint32_t samples, const uint8_t* pcm, uint8_t* out, uint32_t* bytes) override {
    chunkSizes.push_back(samples);
    lastChunk.assign(reinterpret_cast<const char*>(pcm), samples * 2);
    if (refuseChunk && refuseChunk(chunkSizes.size())) {
      *bytes = 0;
      return 4;  // "Invalid handle": the chunk is refused
    }
    return real.beEncodeChunk(h, samples, pcm, out, bytes);
  }
  int32_t beDeinitStream(uint32_t h, uint8_t* out, uint32_t* bytes) override {
    const int32_t r = real.beDeinitStream(h, out, bytes);
    lastBytes.assign(reinterpret_cast<char*>(out), *bytes);
    return r;
  }
  int32_t beCloseStream(uint32_t h) override {
    ++closes;
    return real.beCloseStream(h);
  }

  LameEncoderLibrary real;
  int starts = 0;
  std::vector<uint32_t> chunkSizes;
  std::string lastChunk;                                    // the samples of the last chunk, as bytes
  std::function<bool(std::size_t chunkNumber)> refuseChunk;  // chunks counted from 1
  std::string lastBytes;                                    // what the stream's end gave
  int closes = 0;
};

}  // namespace korvalin::test
