#pragma once
// Encodes one WAV file into an MP3 file: the audio is read in blocks of one encoder chunk, each
// block goes through one encoder stream, and the encoder's output is written as it comes. The
// main window (EncodeWavToMp3) and korvalin-cli both run this; each shows it its own way.

#include <cstdint>
#include <functional>
#include <string>

#include "common/JobFlags.h"
#include "encode/EncoderConfig.h"
#include "platform/Dialogs.h"
#include "platform/EncoderLibrary.h"
#include "platform/EventLoop.h"
#include "platform/TagLibrary.h"

namespace korvalin {

// What an encoding shows while it runs.
class WavEncodingDisplay {
 public:
  virtual ~WavEncodingDisplay() = default;
  // The encoding starts: the cancel command appears, the other commands are locked.
  virtual void Started() = 0;
  // `percent` of the audio (0 to 100) has been encoded.
  virtual void Progress(float percent) = 0;
  // The encoding is over, however it ended: the commands are free again.
  virtual void Ended() = 0;
};

struct WavEncodingContext {
  EncoderLibrary& encoder;
  Dialogs& dialogs;
  EventLoop& loop;
  JobFlags& flags;
  WavEncodingDisplay& display;
  // The WAV's tags go into the MP3 (an ID3v2 tag of this version before the frames, an ID3v1 tag
  // after them) when the library is given and the version is 3 or 4; otherwise, and for a WAV
  // without tags, the MP3 holds its frames alone.
  TagLibrary* tags = nullptr;
  int tagVersion = 0;
};

struct WavEncodingOutcome {
  enum class Result {
    Encoded,    // every sample of the WAV file is in the MP3 file
    Cancelled,  // the user cancelled: the MP3 file is valid but shorter
    Missing,    // no such file: nothing was made
    Failed,     // refused or failed; the message has been shown
  };
  Result result = Result::Failed;
  // The MP3 file could not be made or written (a full disk, a folder gone): every later file of
  // a batch would fail alike.
  bool destinationFailed = false;
  // The output's name, once it is known; after the encoding, the name the MP3 really took (a
  // fresh numbered one when another file took the usual name meanwhile: `renamed`).
  std::string mp3Path;
  bool renamed = false;
  std::string message;  // what the user was shown when it did not succeed

  bool Succeeded() const { return result == Result::Encoded; }
};

// The MP3 file that encoding `wavPath` writes into `folder`: folder + "/" + the file name less its
// last four characters + ".mp3". A name of fewer than four characters raises the invalid-argument
// error.
std::string Mp3PathFor(const std::string& folder, const std::string& wavPath);

// The message for a WAV file that holds no audio (or whose header promises audio it does not hold).
std::string NoSamplesText(const std::string& wavPath);
// The message for a file whose name is too short to lose its last four characters, the output
// name being that name less four characters plus `extension`.
std::string ShortNameText(const std::string& path, const std::string& extension);

// The encoder's record for a file's own rate and channel count; asked for once the file has been
// found and its header read.
using WavConfigChooser = std::function<EncoderConfig(int32_t sampleRate, int channels)>;

// Encodes `wavPath` into Mp3PathFor(folder, wavPath), replacing a file of that name once the
// encoding ends (the MP3 is written under a temporary name until then; an encoding that wrote
// nothing leaves an existing file as it was). A missing
// file shows "File not found..." and changes nothing. Every other failure (a file that is no
// 16-bit PCM WAV, an encoder that refuses the settings or a chunk, a file that cannot be read or
// written) shows its text under "Critical error..." and ends the encoding; what was written stays.
// The cancel flag is read after each block, so the block in hand is always finished.
WavEncodingOutcome EncodeWavFile(WavEncodingContext& ctx, const std::string& wavPath, const std::string& folder,
                                 const WavConfigChooser& chooseConfig);

// The title of a missing input's message box.
inline constexpr const char* kFileNotFoundTitle = "Critical Error";
inline constexpr const char* kFileNotFoundText = "File not found...";

}  // namespace korvalin
