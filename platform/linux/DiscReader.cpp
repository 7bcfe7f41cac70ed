#include "platform/linux/DiscReader.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include "platform/linux/CdioDiscText.h"
#include "platform/linux/CueImage.h"
#include "platform/linux/ParanoiaReader.h"

namespace korvalin {
namespace {

// libcdio reports through its own log; the program shows its own messages instead.
void QuietLog(cdio_log_level_t, const char*) {}

// The disc in a real drive, read through libcdio.
class CdioDrive : public DiscReader {
 public:
  CdioDrive(CdIo_t* cdio, std::string device) : cdio_(cdio), device_(std::move(device)) {}
  ~CdioDrive() override { cdio_destroy(cdio_); }
  CdioDrive(const CdioDrive&) = delete;
  CdioDrive& operator=(const CdioDrive&) = delete;

  bool ReadTable() {
    const track_t first = cdio_get_first_track_num(cdio_);
    const track_t last = cdio_get_last_track_num(cdio_);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || last < first || first < 1 || last > 99) return false;
    for (int t = first; t <= last; ++t) {
      const lsn_t lsn = cdio_get_track_lsn(cdio_, static_cast<track_t>(t));
      if (lsn == CDIO_INVALID_LSN || lsn < 0) return false;
      tracks_.push_back({t, lsn, cdio_get_track_format(cdio_, static_cast<track_t>(t)) != TRACK_FORMAT_AUDIO});
    }
    const lsn_t end = cdio_get_track_lsn(cdio_, CDIO_CDROM_LEADOUT_TRACK);
    if (end == CDIO_INVALID_LSN || end < tracks_.back().start) return false;
    leadOut_ = end;
    return true;
  }

  bool ReadAudio(int32_t first, int32_t count, uint8_t* out) override {
    // libcdio answers success for a read that runs past the end, filling only what exists: a
    // read must lie wholly on the disc.
    if (first < 0 || count < 0 || static_cast<int64_t>(first) + count > leadOut_) {
      readFault_ = "The disc ends at frame " + std::to_string(leadOut_) + ".";
      return false;
    }
    if (count == 0) return true;
    const driver_return_code_t answer = cdio_read_audio_sectors(cdio_, out, first, static_cast<uint32_t>(count));
    if (answer == DRIVER_OP_SUCCESS) return true;
    readFault_ = std::string("The drive answered: ") + cdio_driver_errmsg(answer) + ".";
    return false;
  }

  std::vector<std::string> SourceFiles() const override { return {device_}; }

  std::unique_ptr<CorrectingReader> OpenCorrectingReader() override { return ParanoiaReader::Open(cdio_); }

  // Read from the lead-in only when asked for: a drive may take a moment over it.
  DiscText Text() override {
    std::vector<int> numbers;
    for (const DiscTrack& t : tracks_) numbers.push_back(t.number);
    return DiscTextOf(cdio_get_cdtext(cdio_), numbers);
  }

 private:
  CdIo_t* cdio_;
  std::string device_;
};

}  // namespace

OpenedDisc OpenDisc(const CdDriveSource& source) {
  OpenedDisc opened;
  if (source.isImage) {
    try {
      opened.reader = CueImage::Open(source.path);
    } catch (const CueFault& fault) {
      opened.fault = fault.what();
    }
    return opened;
  }
  cdio_log_set_handler(QuietLog);
  CdIo_t* cdio = cdio_open(source.path.c_str(), DRIVER_DEVICE);
  if (!cdio) {
    opened.fault = "The drive " + source.path + " cannot be opened, or holds no disc.";
    return opened;
  }
  auto drive = std::make_unique<CdioDrive>(cdio, source.path);
  if (!drive->ReadTable()) {
    opened.fault = "The disc in " + source.path + " has no table of contents that can be read.";
    return opened;
  }
  opened.reader = std::move(drive);
  return opened;
}

}  // namespace korvalin
