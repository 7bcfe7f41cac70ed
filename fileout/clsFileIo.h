#pragma once
// The file object of every audio path: opens one file for reading and writing, writes and reads
// raw blocks, flushes, closes, and writes the CD WAV header. Each caller uses a fresh object per
// file. Results follow the operating system's success flags: non-zero = success.
//
// The file is opened without truncation and held under an exclusive lock until closed. An object
// that writes replaces the file's content: before its first write the file is cut at the write
// position, so the file holds exactly what was written and no old tail survives. An object that
// only reads leaves the file as it was.

#include <cstdint>
#include <string>

namespace korvalin {

class clsFileIo {
 public:
  clsFileIo() = default;
  clsFileIo(const clsFileIo&) = delete;
  clsFileIo& operator=(const clsFileIo&) = delete;
  ~clsFileIo();

  static constexpr int32_t kInvalidHandle = -1;

  // Opens (creating when missing) `name` for reading and writing. On failure the handle is
  // kInvalidHandle and the stored name stays as it was.
  bool OpenFile(const std::string& name);
  // Closes an open file; false (and nothing done) without one.
  bool CloseFile();
  // Forces written data to the disk.
  bool FlushBuffers();
  // Writes the 44-byte CD WAV header for `length` data bytes at the current position, then
  // flushes. A length whose RIFF length overflows 32 bits raises the overflow error.
  bool writeWavHeader(int64_t length);
  // Writes the header again at the start of the file for `length` data bytes, leaving the
  // position where it was, then flushes: for a WAV that ended up shorter than announced.
  bool RewriteWavHeader(int64_t length);
  // Writes `size` bytes, then flushes; false when the write fails or no file is open. A write
  // that fails partway is taken back from a regular file (TransferCount() 0 then).
  bool WriteBytes(const void* address, int32_t size);
  // Reads up to `size` bytes; the count read goes to TransferCount(). Non-zero = success, also
  // for a read that meets the end of the file early.
  int32_t ReadBytes(void* address, int32_t size);

  int32_t Handle() const { return handle_; }
  int32_t LastResult() const { return lastResult_; }
  int32_t TransferCount() const { return transferCount_; }
  // The system's error number of the last failed write or flush (0 before any failure).
  int LastError() const { return lastError_; }
  const std::string& FileName() const { return fileName_; }

 private:
  bool IsOpen() const { return !fileName_.empty() && handle_ != kInvalidHandle && !closed_; }
  bool PrepareFirstWrite();
  bool WriteAll(const void* address, int32_t size);

  int32_t handle_ = 0;
  int32_t lastResult_ = 0;
  int32_t transferCount_ = 0;
  int lastError_ = 0;
  std::string fileName_;
  bool closed_ = false;  // the descriptor is released; it may already belong to another file
  bool wrote_ = false;
};

// Deletes the regular file at `path` when it is empty: what a write failure leaves of an output
// that never received its first byte. True when it was removed.
bool RemoveIfEmpty(const std::string& path);

}  // namespace korvalin
