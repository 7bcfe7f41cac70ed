#pragma once
// The CD extraction library over libcdio. Its drives are the CD drives libcdio finds, then the
// CUE/BIN disc images of a folder (the program's discs/ folder), one host adapter each. Frame
// addresses are those of the program area: 0 is the first frame of track 1.

#include <array>
#include <string>
#include <vector>

#include "platform/CdExtractionLibrary.h"

typedef struct _CdIo CdIo_t;

namespace korvalin {

struct CdDriveSource {
  std::string path;            // the device node, or the CUE sheet of an image
  std::string identification;  // vendor, model and revision; or the image's file name
  bool isImage = false;
};

class CdioLibrary : public CdExtractionLibrary {
 public:
  // Real drives, then every *.cue in `discsFolder` in name order.
  static std::vector<CdDriveSource> FindDrives(const std::string& discsFolder);
  // One drive: the disc image whose CUE sheet is `cuePath`.
  static CdDriveSource ImageDrive(const std::string& cuePath);

  explicit CdioLibrary(std::vector<CdDriveSource> drives);
  ~CdioLibrary() override;
  CdioLibrary(const CdioLibrary&) = delete;
  CdioLibrary& operator=(const CdioLibrary&) = delete;

  const std::vector<CdDriveSource>& Drives() const { return drives_; }

  int32_t GetNumAdapters() override;
  int32_t GetCDList(uint8_t* driveList) override;
  int32_t GetCDHandle(const uint8_t* request) override;
  int32_t ModifyCDParms(int32_t handle, int32_t parameter, int32_t value) override;
  int32_t ReadTOC(int32_t handle, uint8_t* toc) override;
  int32_t ReadCDAudioLBA(int32_t handle, uint8_t* trackBuffer) override;
  int32_t CloseCDHandle(int32_t handle) override;
  int32_t GetAspiLibError() override;

  static constexpr int kMaxHandles = 8;

 private:
  struct Slot {
    CdIo_t* cdio = nullptr;
    int drive = -1;
    int32_t leadOut = 0;  // first frame after the last track
  };
  Slot* SlotOf(int32_t handle);
  int32_t Fail(int32_t code, int32_t result = 0);

  std::vector<CdDriveSource> drives_;
  std::array<Slot, kMaxHandles> slots_{};
  int32_t lastError_ = 0;
};

}  // namespace korvalin
