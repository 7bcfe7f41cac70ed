#pragma once
// The CD extraction library: its drives are the CD drives libcdio finds, then the disc images
// (CUE sheets) of the disc image folders, one host adapter each. Drives are read through libcdio,
// images through their sheets (CueImage). Frame addresses are those of the program area: 0 is
// the first frame after the lead-in.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/CdExtractionLibrary.h"
#include "platform/linux/DiscReader.h"

namespace korvalin {

class CdioLibrary : public CdExtractionLibrary {
 public:
  // Real drives, then every *.cue of each folder in turn, in name order within a folder. Only
  // regular files (or links to them) count: a FIFO, device or socket named *.cue is left out.
  static std::vector<CdDriveSource> FindDrives(const std::vector<std::string>& discFolders);
  static std::vector<CdDriveSource> FindDrives(const std::string& discFolder) {
    return FindDrives(std::vector<std::string>{discFolder});
  }
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
  void ReadsEnded(int32_t handle) override;
  int32_t CloseCDHandle(int32_t handle) override;
  int32_t GetAspiLibError() override;
  std::vector<std::string> SourceFiles(int32_t handle) const override;
  // A real drive's correcting reader; none for a disc image.
  std::unique_ptr<CorrectingReader> OpenCorrectingReader(int32_t handle) override;
  // After a failed read: a disc image's sentence naming the file and what went wrong instead of
  // the code's text; a drive's answer after it.
  std::string ExplainError(const std::string& codeText) const override;
  // A real disc's CD-Text, or a disc image's TITLE/PERFORMER/SONGWRITER lines.
  DiscText ReadDiscText(int32_t handle) override;

  // Why the last drive that would not open did not, in one sentence ("" after a good open).
  const std::string& LastFault() const { return lastFault_; }

  static constexpr int kMaxHandles = 8;

 private:
  struct Slot {
    std::unique_ptr<DiscReader> disc;
    int drive = -1;
  };
  Slot* SlotOf(int32_t handle);
  const Slot* SlotOf(int32_t handle) const;
  int32_t Fail(int32_t code, int32_t result = 0);

  std::vector<CdDriveSource> drives_;
  std::array<Slot, kMaxHandles> slots_{};
  int32_t lastError_ = 0;
  std::string lastFault_;
  std::string readFault_;      // why the last failed read failed, as its disc said
  bool readFaultOfImage_ = false;
};

}  // namespace korvalin
