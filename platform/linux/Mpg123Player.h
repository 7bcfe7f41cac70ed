#pragma once
// The MP3 player control over libmpg123: conversion to a WAV file and playback through ALSA, each
// on a worker thread of the adapter's own. The WAV file is 16-bit PCM at the stream's own rate and
// channel count; its header is written first and given the exact lengths when the conversion ends,
// however it ends, so a stopped or damaged conversion still leaves a valid (shorter) WAV file. The
// WAV is written under a temporary name in its folder and takes the target's name only when the
// conversion ends with audio in it: an existing file of that name is never lost to a source
// without audio, a conversion in progress or a killed program. A file that took the target's name
// while the conversion ran is kept; the WAV then gets a fresh numbered name (LastOutputPath).

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Mp3Player.h"

namespace korvalin {

class Mpg123Player final : public ActiveMP3 {
 public:
  // How the last conversion or playback ended (or that it still runs).
  enum class Outcome {
    None,              // nothing started yet
    Running,
    Finished,          // the whole stream was converted or played
    Stopped,           // Stop ended it
    SourceUnreadable,  // the source file could not be opened; no WAV was written
    NotMp3,            // the source holds no MP3 audio; no WAV was written
    DecodeError,       // decoding failed partway; the WAV holds what came before
    FormatChanged,     // the stream changed its rate or channels partway; the WAV holds the first part
    TargetUnwritable,  // the WAV file could not be created, or it is the source file itself
    WriteFailed,       // writing the WAV file failed (disk full); it holds what was written, if any audio was,
                       // and no tags when writing them failed
    TooLong,           // the audio does not fit a WAV file; it holds as much as fits
    NoAudioOutput,     // playback: the audio output could not be opened
  };

  // The bytes a conversion decodes per block: large blocks decode fastest and write least.
  static constexpr std::size_t kConvertBufferBytes = 256 * 1024;

  // `audioDevice`: the ALSA output that Play uses; `convertBufferBytes`: the block of a conversion.
  explicit Mpg123Player(std::string audioDevice = "default", std::size_t convertBufferBytes = kConvertBufferBytes);
  ~Mpg123Player() override;
  Mpg123Player(const Mpg123Player&) = delete;
  Mpg123Player& operator=(const Mpg123Player&) = delete;

  void SetSourceFile(const std::string& path) override;
  void ConvertToWav(const std::string& wavPath) override;
  void SetWavTrailer(std::vector<uint8_t> chunks) override { trailer_ = std::move(chunks); }
  bool Busy() const override { return busy_.load(std::memory_order_acquire); }
  int64_t Position() const override { return position_.load(); }
  int64_t Length() const override { return length_.load(); }
  void Stop() override;
  void Play() override;
  // Blocks until the running conversion or playback ends by itself (at once when none runs).
  void Wait();

  Outcome LastOutcome() const { return outcome_.load(); }
  TargetFault LastTargetFault() const override;
  // Read only while not Busy: the file the last conversion wrote (empty when it kept nothing),
  // and why its WAV file could not be made or written, in words.
  std::string LastOutputPath() const override { return writtenPath_; }
  std::string LastTargetCause() const override { return cause_; }

  // The most sample data bytes a WAV file can hold (its 32-bit length fields).
  static constexpr int64_t kMaxWavDataBytes = 0xFFFFFFFFLL - 36;

 private:
  // Identity and state of a file on disk, to tell whether it changed since a conversion.
  struct FileStamp {
    bool exists = false;
    uint64_t device = 0, inode = 0;
    int64_t size = 0, modifiedNs = 0, changedNs = 0;
    bool operator==(const FileStamp&) const = default;
  };
  struct FinishedConversion {
    std::string source, target;
    FileStamp sourceStamp, targetStamp;
  };
  static FileStamp StampOf(const std::string& path);

  // Runs `job` on a fresh worker; `conversion` says whether it writes `target` from `source`.
  void Launch(std::function<Outcome()> job, bool conversion, const std::string& source, const std::string& target);
  Outcome Convert(const std::string& source, const std::string& target, const std::vector<uint8_t>& trailer);
  // Publishes progress and the decoder's latest estimate of the length (it refines it as it reads
  // frames of another size). The length goes first and is never below the position, so a Length
  // read after a Position is never behind it.
  void Advance(int64_t frames, int64_t estimatedLength);

  const std::string audioDevice_;
  const std::size_t convertBufferBytes_;
  std::string source_;
  std::vector<uint8_t> trailer_;  // written after the audio of each conversion
  std::thread worker_;
  bool converting_ = false;  // the worker runs a conversion (not playback)
  std::string runningSource_, runningTarget_;
  // Written by the worker before it clears busy_; read only while busy_ is false.
  std::optional<FinishedConversion> finished_;
  std::string writtenPath_, cause_;

  std::atomic<bool> busy_{false};
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> position_{0};
  std::atomic<int64_t> length_{0};
  std::atomic<Outcome> outcome_{Outcome::None};
};

}  // namespace korvalin
