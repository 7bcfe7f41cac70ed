#pragma once
// Secure reading of a real drive through libcdio's paranoia layer at full strength: every
// stretch is read in overlapping passes and verified, jitter is lined up, and what a scratch
// spoiled is read again; a stretch that still will not verify is given up after a fixed number
// of tries and reported. The drive's libcdio handle stays owned by its DiscReader.

#include <cdio/cdio.h>

#include <memory>

#include "platform/CorrectingReader.h"

namespace korvalin {

class ParanoiaReader : public CorrectingReader {
 public:
  // Tries per stretch before paranoia gives up and returns its best read.
  static constexpr int kMaxRetries = 20;

  // A reader over the open disc of `cdio`, or none when the disc holds no audio paranoia can read.
  static std::unique_ptr<ParanoiaReader> Open(CdIo_t* cdio);
  ~ParanoiaReader() override;
  ParanoiaReader(const ParanoiaReader&) = delete;
  ParanoiaReader& operator=(const ParanoiaReader&) = delete;

  bool Read(int32_t first, int32_t count, uint8_t* out, Findings& findings) override;

 private:
  struct Handles;
  explicit ParanoiaReader(std::unique_ptr<Handles> handles);

  std::unique_ptr<Handles> handles_;
  int32_t next_ = -1;  // the frame paranoia reads next without a seek
};

}  // namespace korvalin
