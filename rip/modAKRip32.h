#pragma once
// The program's road to the raw audio of a CD: lists the drives the extraction library knows,
// opens one and reads its table of contents, turns table entries into frame addresses, closes
// the drive and turns the library's last error into a message. One instance per process; its
// handle and table of contents live from one drive selection to the next.

#include <array>
#include <cstdint>
#include <string>

#include "platform/CdExtractionLibrary.h"
#include "rip/ReadOffsetLibrary.h"

namespace korvalin {

using DriveEntry = std::array<uint8_t, cdrecord::kDriveEntrySize>;
using TocRecord = std::array<uint8_t, cdrecord::kTocSize>;

class modAKRip32 {
 public:
  explicit modAKRip32(CdExtractionLibrary& library) : library_(library) {}

  // The library as the program reads it: every read shifted by the read offset correction.
  CdExtractionLibrary& Library() { return library_; }

  // The drive's read offset correction, in samples, for the reads from now on (0: none).
  void SetReadOffset(int32_t samples) { library_.SetOffset(samples); }
  int32_t ReadOffset() const { return library_.Offset(); }

  // A copy of drive entry `index` from a fresh drive list; an index outside 0..7 raises the
  // subscript error.
  DriveEntry GetDriveEntry(int32_t index);
  // Opens drive `index` and reads its table of contents into CurrentToc; true when the table was
  // read. A failed open leaves CurrentDriveHandle 0 and CurrentToc as it was.
  bool OpenDrive(int32_t index);
  // Closes CurrentDriveHandle (which keeps its value).
  int16_t CloseDrive();
  // The text of the library's last error code; "" for a code it does not know.
  std::string LibraryErrorText();

  // A big-endian table address; a first byte of 128 or more raises the overflow error.
  static int32_t TrackAddress(const uint8_t* fourBytes);
  // The first frame of track `track` (1..99) and its end frame (exclusive: the next entry, the
  // lead-out for the last track). A track outside 1..99 raises the subscript error.
  int32_t TrackFirstFrame(int32_t track) const;
  int32_t TrackEndFrame(int32_t track) const;
  // Whether the table marks track `track` (1..99, counted from the disc's first track) as data,
  // which holds no audio to copy. A track outside 1..99 raises the subscript error.
  bool IsDataTrack(int32_t track) const;

  int32_t CurrentDriveHandle = 0;
  TocRecord CurrentToc{};

 private:
  int32_t EntryAddress(int32_t entry) const;
  ReadOffsetLibrary library_;
};

// The line a drive entry shows in the drive list: every non-zero byte of its identification
// text, in order (zero bytes are skipped, not taken as the end).
std::string DriveListText(const DriveEntry& entry);

// The library's text for an error code.
std::string AkripErrorText(int32_t code);

}  // namespace korvalin
