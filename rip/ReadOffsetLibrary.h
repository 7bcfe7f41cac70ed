#pragma once
// The drive's read offset correction, at the one place every read of a disc passes: a wrapper of
// the extraction library that takes each read `samples` stereo samples further on (positive) or
// back (negative), and wraps the correcting reader of secure reading the same way. Drive and disc
// image, plain and secure reads, the window's jobs and the command line all read through it. A
// track's samples are so taken from the neighbouring track where the shift reaches into it, and
// are silence before the disc's first frame, from its lead-out on and inside a data track. With
// no offset it passes every call through untouched.

#include <map>
#include <memory>

#include "platform/CdExtractionLibrary.h"
#include "rip/ShiftedFrames.h"
#include "settings/AccuracySettings.h"

namespace korvalin {

// The frames of the disc that hold audio, from an 804-byte table of contents: frame 0 (the first
// track's pregap included) up to the lead-out, less the data tracks.
std::vector<FrameSpan> AudioSpansOf(const uint8_t* toc);

class ReadOffsetLibrary : public CdExtractionLibrary {
 public:
  explicit ReadOffsetLibrary(CdExtractionLibrary& inner) : inner_(inner) {}

  // The shift of the reads from now on, clamped to ±kMaxReadOffset.
  void SetOffset(int32_t samples);
  int32_t Offset() const { return offset_; }

  int32_t GetNumAdapters() override { return inner_.GetNumAdapters(); }
  int32_t GetCDList(uint8_t* driveList) override { return inner_.GetCDList(driveList); }
  int32_t GetCDHandle(const uint8_t* request) override;
  int32_t ModifyCDParms(int32_t handle, int32_t parameter, int32_t value) override {
    return inner_.ModifyCDParms(handle, parameter, value);
  }
  int32_t ReadTOC(int32_t handle, uint8_t* toc) override;
  int32_t ReadCDAudioLBA(int32_t handle, uint8_t* trackBuffer) override;
  void ReadsEnded(int32_t handle) override;
  int32_t CloseCDHandle(int32_t handle) override;
  int32_t GetAspiLibError() override { return inner_.GetAspiLibError(); }
  std::string ExplainError(const std::string& codeText) const override { return inner_.ExplainError(codeText); }
  std::vector<std::string> SourceFiles(int32_t handle) const override { return inner_.SourceFiles(handle); }
  std::unique_ptr<CorrectingReader> OpenCorrectingReader(int32_t handle) override;
  DiscText ReadDiscText(int32_t handle) override { return inner_.ReadDiscText(handle); }

 private:
  // The shifted reads of an open disc; made at its first read with an offset, from its table.
  ShiftedFrames* ShiftedOf(int32_t handle);
  std::vector<FrameSpan> SpansOf(int32_t handle);

  CdExtractionLibrary& inner_;
  int32_t offset_ = 0;
  std::map<int32_t, std::vector<FrameSpan>> spans_;  // per handle, from its table of contents
  std::map<int32_t, std::unique_ptr<ShiftedFrames>> shifted_;
};

}  // namespace korvalin
