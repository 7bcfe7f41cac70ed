#define DO_NOT_WANT_PARANOIA_COMPATIBILITY
#include "platform/linux/ParanoiaReader.h"

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstdio>
#include <cstring>

namespace korvalin {
namespace {

constexpr long kWordsPerFrame = CDIO_CD_FRAMESIZE_RAW / 2;  // paranoia reports positions in 16-bit words

// Paranoia's callback carries no context: the findings of the read in progress. One read at a
// time per thread, as the reader is used.
thread_local CorrectingReader::Findings* tFindings = nullptr;

void Note(long position, paranoia_cb_mode_t event) {
  if (!tFindings) return;
  switch (event) {
    case PARANOIA_CB_READERR:
    case PARANOIA_CB_CACHEERR:
    case PARANOIA_CB_DRIFT:
    case PARANOIA_CB_FIXUP_DROPPED:
    case PARANOIA_CB_FIXUP_DUPED:
      ++tFindings->rereads;
      break;
    case PARANOIA_CB_SKIP:
      // Paranoia gave up on this stretch and returns what it has.
      ++tFindings->rereads;
      if (position >= 0) tFindings->uncorrected.push_back(static_cast<int32_t>(position / kWordsPerFrame));
      break;
    default:
      break;
  }
}

}  // namespace

struct ParanoiaReader::Handles {
  cdrom_drive_t* drive = nullptr;
  cdrom_paranoia_t* paranoia = nullptr;
  ~Handles() {
    if (paranoia) cdio_paranoia_free(paranoia);
    if (drive) cdio_cddap_close_no_free_cdio(drive);
  }
};

ParanoiaReader::ParanoiaReader(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
ParanoiaReader::~ParanoiaReader() = default;

std::unique_ptr<ParanoiaReader> ParanoiaReader::Open(CdIo_t* cdio) {
  if (!cdio) return nullptr;
  auto handles = std::make_unique<Handles>();
  handles->drive = cdio_cddap_identify_cdio(cdio, CDDA_MESSAGE_FORGETIT, nullptr);
  if (!handles->drive) return nullptr;
  cdio_cddap_verbose_set(handles->drive, CDDA_MESSAGE_FORGETIT, CDDA_MESSAGE_FORGETIT);
  if (cdio_cddap_open(handles->drive) != 0) return nullptr;
  handles->paranoia = cdio_paranoia_init(handles->drive);
  if (!handles->paranoia) return nullptr;
  // Full checking; a stretch that never verifies is given up after kMaxRetries, not retried forever.
  cdio_paranoia_modeset(handles->paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
  return std::unique_ptr<ParanoiaReader>(new ParanoiaReader(std::move(handles)));
}

bool ParanoiaReader::Read(int32_t first, int32_t count, uint8_t* out, Findings& findings) {
  if (first < 0 || count < 0) return false;
  if (first != next_) {
    cdio_paranoia_seek(handles_->paranoia, first, SEEK_SET);
    next_ = first;
  }
  struct Scope {
    Scope(Findings* f) { tFindings = f; }
    ~Scope() { tFindings = nullptr; }
  } scope(&findings);
  for (int32_t i = 0; i < count; ++i) {
    const int16_t* frame = cdio_paranoia_read_limited(handles_->paranoia, Note, kMaxRetries);
    if (!frame) {
      next_ = -1;  // where paranoia stands now is unknown: seek before the next read
      return false;
    }
    std::memcpy(out + static_cast<std::size_t>(i) * CDIO_CD_FRAMESIZE_RAW, frame, CDIO_CD_FRAMESIZE_RAW);
    ++next_;
  }
  return true;
}

}  // namespace korvalin
