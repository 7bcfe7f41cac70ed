#pragma once
// A disc as the CD library and the media commands read it: its tracks (number, first frame,
// audio or data), its lead-out, and its audio frames. A real drive is read through libcdio; a
// disc image through its CUE sheet (CueImage). Frame addresses are those of the program area:
// 0 is the first frame after the lead-in.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/CorrectingReader.h"
#include "platform/DiscText.h"

namespace korvalin {

struct CdDriveSource {
  std::string path;            // the device node, or the CUE sheet of an image
  std::string identification;  // vendor, model and revision; or the image's file name
  bool isImage = false;
};

struct DiscTrack {
  int number = 0;     // 1..99, as the disc numbers it
  int32_t start = 0;  // the first frame of the track (its INDEX 01)
  bool data = false;  // a data track: it holds no audio
};

class DiscReader {
 public:
  virtual ~DiscReader() = default;

  // The tracks in order, numbered one after the other; never empty.
  const std::vector<DiscTrack>& Tracks() const { return tracks_; }
  // The first frame after the last track.
  int32_t LeadOut() const { return leadOut_; }

  // Reads `count` audio frames of 2352 bytes from frame `first` into `out`. False (and `out`
  // undefined) when a frame lies off the disc or in a data track, or the read fails. Safe to call
  // from one thread while another holds the reader, as long as only one reads at a time.
  virtual bool ReadAudio(int32_t first, int32_t count, uint8_t* out) = 0;
  // Why the last ReadAudio that failed did, in one sentence ("" when nothing is known): for an
  // image the file and what is wrong with it, for a drive what the drive answered.
  const std::string& ReadFault() const { return readFault_; }
  // The files the disc is read from: the device node, or an image's sheet and audio files.
  virtual std::vector<std::string> SourceFiles() const = 0;
  // A reader that verifies and corrects its own reads (a real drive's), or none. It reads
  // through this reader's handle and must not outlive it.
  virtual std::unique_ptr<CorrectingReader> OpenCorrectingReader() { return nullptr; }
  // The text the disc carries about itself (CD-Text, or a sheet's TITLE/PERFORMER lines).
  virtual DiscText Text() { return {}; }
  // The program reads no further for now (a track ended or was cancelled): a reader that reads
  // ahead stops and lets go of what it holds.
  virtual void ReadsEnded() {}

 protected:
  std::vector<DiscTrack> tracks_;
  int32_t leadOut_ = 0;
  std::string readFault_;
};

// A disc that opened, or the one sentence that says why it did not.
struct OpenedDisc {
  std::unique_ptr<DiscReader> reader;
  std::string fault;
};

// Opens the disc of a drive (no disc, or no audio table: a fault) or a disc image (a sheet that
// cannot describe a real disc: a fault naming what is wrong).
OpenedDisc OpenDisc(const CdDriveSource& source);

}  // namespace korvalin
