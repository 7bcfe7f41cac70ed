#pragma once
// A CD extraction library in memory, for what real drives and images cannot show on demand:
// failing reads and handles, odd identification texts, tables of any shape. It records every
// read it is asked for.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/CdExtractionLibrary.h"

namespace korvalin::test {

class FakeCdLibrary : public CdExtractionLibrary {
 public:
  // The drive list: one raw 65-byte identification per drive (shorter texts are zero-padded).
  std::vector<std::string> identifications;
  // Reported host adapters; -1 = as many as drives.
  int32_t adapters = -1;
  // The table: first frame of each track, then the lead-out.
  std::vector<int32_t> tocAddresses;
  // Tracks (1-based) the table marks as data tracks.
  std::vector<int> dataTracks;
  // When set and true for a read (address, frames), that read fails with `readError`.
  std::function<bool(int32_t address, int32_t frames)> readFails;
  int32_t readError = cdrecord::kReadFailed;
  bool openFails = false;

  std::vector<std::pair<int32_t, int32_t>> reads;  // every read call: address, frames
  int32_t closes = 0;

  // The bytes the fake disc holds at a frame address: a pattern that differs frame by frame.
  static std::string FrameBytes(int32_t address);
  // A table with the given track lengths in frames, the first track at frame 0.
  void SetTrackLengths(const std::vector<int32_t>& lengths);

  int32_t GetNumAdapters() override;
  int32_t GetCDList(uint8_t* driveList) override;
  int32_t GetCDHandle(const uint8_t* request) override;
  int32_t ModifyCDParms(int32_t handle, int32_t parameter, int32_t value) override;
  int32_t ReadTOC(int32_t handle, uint8_t* toc) override;
  int32_t ReadCDAudioLBA(int32_t handle, uint8_t* trackBuffer) override;
  int32_t CloseCDHandle(int32_t handle) override;
  int32_t GetAspiLibError() override { return lastError_; }

 private:
  int32_t openHandle_ = 0;
  int32_t lastError_ = 0;
};

}  // namespace korvalin::test
