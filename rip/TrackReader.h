#pragma once
// The reads of one track, block by block, for both extractions (to WAV and straight to MP3).
// Plain reading goes straight through TrackBuffer. Secure reading takes the drive's own
// correcting reader where there is one (a real drive) and otherwise reads every block until two
// reads agree; either way it keeps a report of the re-reads and of the frames it could not trust.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/CorrectingReader.h"
#include "rip/AgreeingReads.h"
#include "rip/TrackBuffer.h"
#include "rip/TrackReadReport.h"
#include "rip/modAKRip32.h"

namespace korvalin {

class TrackReader {
 public:
  TrackReader(modAKRip32& cd, bool secure);
  // Tells the library that the track's reads are over, so that nothing read ahead is held.
  ~TrackReader();
  TrackReader(const TrackReader&) = delete;
  TrackReader& operator=(const TrackReader&) = delete;

  // Reads `frames` frames from `address`; the count of frames that stand in Data(), in order,
  // as TrackBuffer::ReadReadableFrames counts them.
  int32_t Read(int32_t address, int32_t frames);
  const uint8_t* Data() const;

  // Empty (not secure) when the track was read plainly.
  const TrackReadReport& Report() const { return report_; }
  // What the progress line adds while a track is read: "" unless secure reading has found frames
  // it could not trust.
  std::string ProgressNote() const;

 private:
  int32_t ReadCorrected(int32_t address, int32_t frames);

  modAKRip32& cd_;
  bool secure_;
  TrackBuffer buffer_;
  AgreeingReads agreeing_;
  std::unique_ptr<CorrectingReader> correcting_;
  std::vector<uint8_t> corrected_;  // a block as the correcting reader gave it
  const uint8_t* data_ = nullptr;
  TrackReadReport report_;
};

// The message shown after a track that secure reading could not read exactly.
std::string SuspiciousTrackText(const std::string& path, const TrackReadReport& report);

}  // namespace korvalin
