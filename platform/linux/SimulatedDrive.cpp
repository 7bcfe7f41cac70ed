#include "platform/linux/SimulatedDrive.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace korvalin {
namespace {

// A read that comes this soon after the last one ended continues the stream: the drive did not
// stop turning in between, and the sleep's own overshoot is not counted twice.
constexpr auto kStreamingSlack = std::chrono::milliseconds(2);

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && value > 0 && value < 1e6;
}

}  // namespace

std::optional<DriveSpeed> ParseDriveSpeed(const std::string& text) {
  DriveSpeed speed;
  const std::size_t comma = text.find(',');
  const std::string rate = text.substr(0, comma);
  if (rate.size() < 2 || (rate.back() != 'x' && rate.back() != 'X')) return std::nullopt;
  if (!ParseNumber(rate.substr(0, rate.size() - 1), speed.speed)) return std::nullopt;
  if (comma != std::string::npos) {
    const std::string seek = text.substr(comma + 1);
    const std::string prefix = "seek=";
    const std::string unit = "ms";
    if (seek.size() <= prefix.size() + unit.size() || seek.compare(0, prefix.size(), prefix) != 0 ||
        seek.compare(seek.size() - unit.size(), unit.size(), unit) != 0) {
      return std::nullopt;
    }
    double ms = 0;
    const std::string number = seek.substr(prefix.size(), seek.size() - prefix.size() - unit.size());
    if (number != "0" && !ParseNumber(number, ms)) return std::nullopt;
    speed.seekSeconds = ms / 1000.0;
  }
  return speed;
}

SimulatedDrive::SimulatedDrive(std::unique_ptr<DiscReader> disc, DriveSpeed speed)
    : disc_(std::move(disc)), speed_(speed) {
  tracks_ = disc_->Tracks();
  leadOut_ = disc_->LeadOut();
}

std::chrono::nanoseconds SimulatedDrive::ReadTime(int32_t frames) const {
  const double seconds = frames / (75.0 * speed_.speed);
  return std::chrono::nanoseconds(static_cast<int64_t>(seconds * 1e9));
}

bool SimulatedDrive::ReadAudio(int32_t first, int32_t count, uint8_t* out) {
  const Clock::time_point now = Clock::now();
  const bool follows = first == next_;
  Clock::time_point start = follows && now - readyAt_ < kStreamingSlack ? readyAt_ : now;
  if (!follows) start += std::chrono::nanoseconds(static_cast<int64_t>(speed_.seekSeconds * 1e9));
  const bool ok = disc_->ReadAudio(first, count, out);
  if (!ok) readFault_ = disc_->ReadFault();
  readyAt_ = start + ReadTime(std::max(count, 0));
  next_ = ok ? first + count : -1;
  std::this_thread::sleep_until(readyAt_);
  return ok;
}

}  // namespace korvalin
