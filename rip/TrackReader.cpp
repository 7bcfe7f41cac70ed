#include "rip/TrackReader.h"

#include <algorithm>
#include <cstring>

namespace korvalin {
namespace {

constexpr std::size_t kListedFrames = 10;  // a message names this many frames, then counts the rest

std::string FrameCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " frame" : " frames"); }

}  // namespace

TrackReader::TrackReader(modAKRip32& cd, bool secure) : cd_(cd), secure_(secure) {
  report_.secure = secure;
  if (secure) correcting_ = cd.Library().OpenCorrectingReader(cd.CurrentDriveHandle);
}

TrackReader::~TrackReader() {
  correcting_.reset();
  cd_.Library().ReadsEnded(cd_.CurrentDriveHandle);
}

int32_t TrackReader::Read(int32_t address, int32_t frames) {
  if (!secure_) {
    data_ = buffer_.Data();
    const uint32_t before = buffer_.Retries();
    const int32_t read = buffer_.ReadReadableFrames(cd_, address, frames);
    report_.retries += buffer_.Retries() - before;
    return read;
  }
  if (correcting_) return ReadCorrected(address, frames);
  const int32_t read = agreeing_.Read(cd_, address, frames, report_);
  data_ = agreeing_.Data();  // its storage is made at the first read
  return read;
}

int32_t TrackReader::ReadCorrected(int32_t address, int32_t frames) {
  CorrectingReader::Findings findings;
  std::vector<uint8_t>& out = corrected_;
  out.resize(cdrecord::kTrackDataSize);
  if (correcting_->Read(address, frames, out.data(), findings)) {
    report_.retries += findings.rereads;
    for (int32_t frame : findings.uncorrected) {
      // Each frame once, in order, even when the reader reports it again.
      auto& list = report_.suspiciousFrames;
      if (std::find(list.begin(), list.end(), frame) == list.end()) list.push_back(frame);
    }
    data_ = out.data();
    return frames;
  }
  // The correcting reader could not read the block at all: the plain reads get one more chance
  // (and, failing, leave the library's own error for the message). Frames they bring back are
  // unverified, so they count as suspicious.
  report_.retries += findings.rereads + 1;
  data_ = buffer_.Data();
  const uint32_t before = buffer_.Retries();
  const int32_t read = buffer_.ReadReadableFrames(cd_, address, frames);
  report_.retries += buffer_.Retries() - before;
  for (int32_t f = 0; f < read; ++f) report_.suspiciousFrames.push_back(address + f);
  return read;
}

const uint8_t* TrackReader::Data() const { return data_ ? data_ : buffer_.Data(); }

std::string TrackReader::ProgressNote() const {
  if (!report_.Suspicious()) return {};
  return " (" + std::to_string(report_.suspiciousFrames.size()) + " suspicious " +
         (report_.suspiciousFrames.size() == 1 ? "frame)" : "frames)");
}

std::string SuspiciousTrackText(const std::string& path, const TrackReadReport& report) {
  const auto& frames = report.suspiciousFrames;
  std::string list;
  for (std::size_t i = 0; i < frames.size() && i < kListedFrames; ++i) {
    list += (i == 0 ? "" : ", ") + std::to_string(frames[i]);
  }
  if (frames.size() > kListedFrames) list += " and " + std::to_string(frames.size() - kListedFrames) + " more";
  return "\"" + path + "\" may not be an exact copy: " + FrameCount(frames.size()) +
         " could not be read the same way twice; the file holds the best read of each (disc frames " + list + ").";
}

}  // namespace korvalin
