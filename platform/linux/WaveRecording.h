#pragma once
// What the "capture" device records: PCM samples in a chosen format, kept in an anonymous spool
// file while the recording runs (memory stays flat however long it gets), and written out as a
// PCM WAV file on request. Samples may arrive on a recording thread while the interpreter's
// thread saves.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace korvalin {

struct WaveFormat {
  int32_t samplesPerSecond = 44100;
  int32_t channels = 2;
  int32_t bitsPerSample = 16;
  int32_t alignment = 4;
  int32_t bytesPerSecond = 176400;
};

// A format a recorder can take: 8 or 16 bits, one or two channels, a positive rate, and the
// alignment and byte rate that follow from them.
bool IsRecordableFormat(const WaveFormat& format);

// The 44-byte header of a PCM WAV file of `format` holding `dataLength` bytes of samples.
std::string PcmWavHeader(const WaveFormat& format, uint32_t dataLength);

class WaveRecording {
 public:
  WaveRecording() = default;
  ~WaveRecording();
  WaveRecording(const WaveRecording&) = delete;
  WaveRecording& operator=(const WaveRecording&) = delete;

  // Starts afresh in `format`: whatever was recorded before is dropped. False when no spool file
  // can be made.
  bool Begin(const WaveFormat& format);
  // Adds samples (whole blocks of the format). A spool that cannot be written ends the recording
  // there; what was kept stays, and Broken() says so.
  void Append(const char* bytes, std::size_t length);
  // Drops the recording and its spool: until the next Begin there is nothing to save.
  void Discard();
  std::size_t Length() const;
  // Whether the spool stopped taking samples before the recording was stopped.
  bool Broken() const;

  // Result codes of Save.
  static constexpr int kSaved = 0;
  static constexpr int kPathTaken = 1;     // a file the recorder did not write stands there
  static constexpr int kWriteFailed = 2;   // the folder is missing or cannot be written: no file
  static constexpr int kSavedInPart = 3;   // the disk filled up: the samples that fitted were saved
  static constexpr int kNothingRecorded = 4;

  // Writes the recording as a WAV file at `path`: it is written beside the path under a hidden
  // name and renamed into place once done. When the disk fills up, the samples that fitted are
  // kept as a valid, shorter WAV file under the name (unless a file stands there already). An
  // existing file is replaced only by a whole recording and only when this recorder saved it, so
  // an earlier recording or a user's file is never lost.
  int Save(const std::string& path);
  // The cause of the last failure of Begin, Append or Save in words ("Permission denied"), with
  // what was kept when a save was cut short; empty when there was none.
  std::string ErrorText() const;

 private:
  mutable std::mutex mutex_;
  int spool_ = -1;
  std::size_t length_ = 0;
  bool broken_ = false;
  WaveFormat format_;
  std::string lastSaved_;
  std::string error_;
};

}  // namespace korvalin
