#pragma once
// A disc image served as a drive of a given speed would serve it, for tests and benchmarks of
// what a rip costs on a real drive: a read of n frames takes n / (75 x speed) seconds, counted
// on from the end of the last read when the reads follow on without a pause (the drive streams),
// and a read that does not start where the last one ended costs a seek first. It sleeps on the
// real clock: it stands where a physical drive would.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/DiscReader.h"

namespace korvalin {

struct DriveSpeed {
  double speed = 1;                // times the playing speed: 1 = 176,400 bytes a second
  double seekSeconds = 0.075;      // a typical CD drive's access time
};

// "37x", or "37x,seek=120ms" (the seek cost in milliseconds); none when the text is not that.
std::optional<DriveSpeed> ParseDriveSpeed(const std::string& text);

class SimulatedDrive : public DiscReader {
 public:
  SimulatedDrive(std::unique_ptr<DiscReader> disc, DriveSpeed speed);

  bool ReadAudio(int32_t first, int32_t count, uint8_t* out) override;
  std::vector<std::string> SourceFiles() const override { return disc_->SourceFiles(); }
  void ReadsEnded() override { disc_->ReadsEnded(); }
  DiscText Text() override { return disc_->Text(); }

  // The time a read of `frames` frames takes once the drive is there.
  std::chrono::nanoseconds ReadTime(int32_t frames) const;

 private:
  using Clock = std::chrono::steady_clock;
  std::unique_ptr<DiscReader> disc_;
  DriveSpeed speed_;
  int32_t next_ = -1;          // the frame that follows the last read
  Clock::time_point readyAt_;  // when the last read ended
};

}  // namespace korvalin
