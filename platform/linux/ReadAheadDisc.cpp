#include "platform/linux/ReadAheadDisc.h"

namespace korvalin {
namespace {

// A correcting reader whose reads run ahead of the program like the plain ones.
class ReadAheadCorrectingReader : public CorrectingReader {
 public:
  ReadAheadCorrectingReader(std::unique_ptr<CorrectingReader> reader, std::mutex& discLock, const ReadAheadDisc& disc,
                            int32_t capacityFrames)
      : reader_(std::move(reader)),
        disc_(disc),
        ahead_([this](int32_t first, int32_t count, uint8_t* out,
                      ReadAhead::Notes& notes) { return reader_->Read(first, count, out, notes.findings); },
               discLock, capacityFrames) {}

  bool Read(int32_t first, int32_t count, uint8_t* out, Findings& findings) override {
    ReadAhead::Notes notes;
    const bool ok = ahead_.Read(first, count, disc_.TrackEnd(first), out, notes);
    findings.rereads += notes.findings.rereads;
    findings.uncorrected.insert(findings.uncorrected.end(), notes.findings.uncorrected.begin(),
                                notes.findings.uncorrected.end());
    return ok;
  }

 private:
  std::unique_ptr<CorrectingReader> reader_;
  const ReadAheadDisc& disc_;
  ReadAhead ahead_;  // stops before the reader goes
};

}  // namespace

ReadAheadDisc::ReadAheadDisc(std::unique_ptr<DiscReader> disc, int32_t capacityFrames)
    : disc_(std::move(disc)),
      ahead_(
          [this](int32_t first, int32_t count, uint8_t* out, ReadAhead::Notes& notes) {
            const bool ok = disc_->ReadAudio(first, count, out);
            if (!ok) notes.fault = disc_->ReadFault();
            return ok;
          },
          discLock_, capacityFrames) {
  tracks_ = disc_->Tracks();
  leadOut_ = disc_->LeadOut();
}

ReadAheadDisc::~ReadAheadDisc() { ahead_.Stop(); }

bool ReadAheadDisc::ReadAudio(int32_t first, int32_t count, uint8_t* out) {
  ReadAhead::Notes notes;
  const bool ok = ahead_.Read(first, count, TrackEnd(first), out, notes);
  if (!ok) readFault_ = notes.fault;
  return ok;
}

std::unique_ptr<CorrectingReader> ReadAheadDisc::OpenCorrectingReader() {
  std::unique_ptr<CorrectingReader> reader;
  {
    std::lock_guard<std::mutex> disc(discLock_);
    reader = disc_->OpenCorrectingReader();
  }
  if (!reader) return nullptr;
  return std::make_unique<ReadAheadCorrectingReader>(std::move(reader), discLock_, *this, ReadAhead::kCapacityFrames);
}

int32_t ReadAheadDisc::TrackEnd(int32_t frame) const {
  if (tracks_.empty() || frame < tracks_.front().start || frame >= leadOut_) return frame;
  for (std::size_t k = 0; k + 1 < tracks_.size(); ++k) {
    if (frame < tracks_[k + 1].start) return tracks_[k + 1].start;
  }
  return leadOut_;
}

}  // namespace korvalin
