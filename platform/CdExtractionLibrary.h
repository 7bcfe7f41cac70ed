#pragma once
// The CD digital-audio extraction library, as the program calls it: byte records in and out,
// 32-bit results. The real adapter reads drives and disc images (platform/linux/CdioLibrary);
// tests use fakes.
//
// Records (all integers little-endian unless said otherwise):
// - drive list, 970 bytes: a 2-byte header, then eight 121-byte drive entries: host adapter,
//   target id, logical unit, one unused byte, 65 bytes of identification text (zero-padded).
// - open request, 16 bytes: size byte 12, version byte 1, host adapter, target id, unit.
// - table of contents, 804 bytes: a 4-byte header, then 8-byte entries, entry k for track k+1
//   with the track's first frame as a big-endian address in bytes 4-7; the entry after the last
//   track is the lead-out.
// - track buffer, 61,176 bytes: first frame, frame count, capacity of the data area, three
//   fields for the library; then 26 frames of 2352 bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/CorrectingReader.h"
#include "platform/DiscText.h"

namespace korvalin {

namespace cdrecord {
inline constexpr std::size_t kDriveListSize = 970;
inline constexpr std::size_t kDriveEntrySize = 121;
inline constexpr std::size_t kDriveEntries = 8;
inline constexpr std::size_t kIdentificationOffset = 4;
inline constexpr std::size_t kIdentificationSize = 65;
inline constexpr std::size_t kOpenRequestSize = 16;
inline constexpr uint8_t kOpenRequestSizeByte = 12;  // the size and version bytes the library checks
inline constexpr uint8_t kOpenRequestVersion = 1;
inline constexpr std::size_t kTocSize = 804;
inline constexpr std::size_t kTocEntries = 100;
inline constexpr std::size_t kFrameSize = 2352;
inline constexpr std::size_t kFramesPerBlock = 26;
inline constexpr std::size_t kTrackHeaderSize = 24;
inline constexpr std::size_t kTrackDataSize = kFrameSize * kFramesPerBlock;  // 61,152
inline constexpr std::size_t kTrackBufferSize = kTrackHeaderSize + kTrackDataSize;

// The library's error codes.
inline constexpr int32_t kReadFailed = -4;
inline constexpr int32_t kBufferTooSmall = -6;
inline constexpr int32_t kInvalidHandle = -7;
inline constexpr int32_t kNoFreeHandle = -8;
inline constexpr int32_t kNotACdDevice = -10;
inline constexpr int32_t kAlreadyOpen = -12;
inline constexpr int32_t kBadRequest = -13;
inline constexpr int32_t kBadRequestVersion = -14;
}  // namespace cdrecord

class CdExtractionLibrary {
 public:
  virtual ~CdExtractionLibrary() = default;

  // Number of host adapters. May raise an error when the library has nothing to work with.
  virtual int32_t GetNumAdapters() = 0;
  // Fills the entries of a 970-byte drive list.
  virtual int32_t GetCDList(uint8_t* driveList) = 0;
  // Opens the drive of a 16-byte request; the handle in the low 8 bits, 0 on failure.
  virtual int32_t GetCDHandle(const uint8_t* request) = 0;
  virtual int32_t ModifyCDParms(int32_t handle, int32_t parameter, int32_t value) = 0;
  // 1 = success: the 804-byte record is filled.
  virtual int32_t ReadTOC(int32_t handle, uint8_t* toc) = 0;
  // 1 = success: the frames the buffer's header asks for stand from offset 24.
  virtual int32_t ReadCDAudioLBA(int32_t handle, uint8_t* trackBuffer) = 0;
  // The program reads no further from `handle` for now (a track ended, completed or cancelled): an
  // adapter that reads ahead stops and lets go of what it holds. Not one of the library's calls.
  virtual void ReadsEnded(int32_t /*handle*/) {}
  virtual int32_t CloseCDHandle(int32_t handle) = 0;
  // The error code of the last call that failed.
  virtual int32_t GetAspiLibError() = 0;

  // The text to show for the last failure, given `codeText`, the text of its error code: as it
  // stands, or with what the library knows of the cause (a drive's answer follows the text; for a
  // disc image, the file that failed and how replaces it).
  virtual std::string ExplainError(const std::string& codeText) const { return codeText; }

  // The files the open disc of `handle` is read from (a disc image's sheet and audio files, a
  // drive's device node), so that no output is written over them. Empty when unknown.
  virtual std::vector<std::string> SourceFiles(int32_t /*handle*/) const { return {}; }

  // A reader that corrects its own reads of the disc of `handle` (a real drive), for secure
  // reading; none when the disc has no such reader (an image, a fake), and secure reading then
  // compares plain reads itself. It may be used only while `handle` stays open.
  virtual std::unique_ptr<CorrectingReader> OpenCorrectingReader(int32_t /*handle*/) { return nullptr; }

  // The text the open disc of `handle` carries about itself: a real disc's CD-Text, a disc
  // image's TITLE, PERFORMER and SONGWRITER lines. Empty when it has none (or for a fake).
  virtual DiscText ReadDiscText(int32_t /*handle*/) { return {}; }
};

}  // namespace korvalin
