#pragma once
// The AccurateRip database for the CD commands: its address from `--accuraterip-url URL` (for one
// run) or the stored setting, the look-up started as soon as the disc is open, and the verdict
// lines printed after a track.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/linux/CurlHttpClient.h"
#include "rip/AccurateRipLookup.h"
#include "rip/modAKRip32.h"

namespace korvalin::cli {

inline constexpr const char* kAccurateRipUsage = "[--accuraterip-url URL]";

// Takes "--accuraterip-url URL" out of `args`; without it, the address the settings keep.
std::string TakeAccurateRipUrl(std::vector<std::string>& args);

class CliAccurateRip {
 public:
  CliAccurateRip(const std::string& url, EventLoop& loop);
  // Starts the look-up for the disc open in `cd`.
  void Start(const modAKRip32& cd);
  // The verdict for track `position` (counted from the disc's first track), waiting for the
  // answer; a stop signal ends the wait.
  TrackVerdict Judge(int32_t position, const RippedTrack& track);
  // The look-up's one line (after Judge).
  const std::string& Line() const { return line_; }

 private:
  CurlHttpClient http_;
  AccurateRipCheck check_;
  DiscToc toc_;
  std::string line_;
};

// "  AccurateRip: <verdict>" and the look-up's line, on standard output.
void PrintVerdict(const TrackVerdict& verdict, const std::string& line);

}  // namespace korvalin::cli
