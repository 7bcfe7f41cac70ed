#pragma once
// A disc read with read-ahead: the plain reads of the program, and those of the disc's correcting
// reader for secure reading, each run ahead of the program on a thread of their own (ReadAhead),
// up to the end of the track being read. Both go through one lock, since they share the drive.

#include <memory>
#include <mutex>

#include "platform/linux/DiscReader.h"
#include "platform/linux/ReadAhead.h"

namespace korvalin {

class ReadAheadDisc : public DiscReader {
 public:
  explicit ReadAheadDisc(std::unique_ptr<DiscReader> disc, int32_t capacityFrames = ReadAhead::kCapacityFrames);
  ~ReadAheadDisc() override;

  bool ReadAudio(int32_t first, int32_t count, uint8_t* out) override;
  std::vector<std::string> SourceFiles() const override { return disc_->SourceFiles(); }
  std::unique_ptr<CorrectingReader> OpenCorrectingReader() override;
  void ReadsEnded() override { ahead_.Stop(); }
  // Through the lock: a drive answers one command at a time, and the reads ahead share it.
  DiscText Text() override {
    std::lock_guard<std::mutex> lock(discLock_);
    return disc_->Text();
  }

  // The end (exclusive) of the track that holds `frame`; `frame` itself when no track does.
  int32_t TrackEnd(int32_t frame) const;

 private:
  std::unique_ptr<DiscReader> disc_;
  std::mutex discLock_;
  ReadAhead ahead_;  // after the disc and its lock: it stops before they go
};

}  // namespace korvalin
