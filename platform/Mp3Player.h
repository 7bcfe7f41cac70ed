#pragma once
// The MP3 player control, as the program drives it: a source file, a conversion of that file to
// a WAV file that runs in the background while the program polls busy, position and length, a
// stop, and playback. The dispatch id each operation has in the control is noted beside it.
//
// The operations that start and stop work (SetSourceFile, ConvertToWav, Play, Stop) are called
// from the program's one thread. Busy, Position and Length may be read at any time, from any
// thread, also while a conversion runs. None of the operations throws: a conversion or playback
// that cannot run simply ends (Busy false).
//
// Position and Length count sample frames (one sample of every channel). Read Position before
// Length: a Length read after a Position is never smaller than it, so position / length never
// passes 1. Length is 0 while nothing is known about the stream yet.

#include <cstdint>
#include <string>
#include <vector>

namespace korvalin {

class ActiveMP3 {
 public:
  virtual ~ActiveMP3() = default;

  // Id 3: the MP3 file that the next conversion or playback reads.
  virtual void SetSourceFile(const std::string& path) = 0;
  // Id 13: starts converting the source file into a 16-bit PCM WAV file at `wavPath` (replacing
  // any file there) and returns while the conversion runs. A second call for the same source and
  // target while that conversion runs, or after it ran to its end with both files untouched since,
  // changes nothing.
  virtual void ConvertToWav(const std::string& wavPath) = 0;
  // Id 4: true while a conversion or playback runs.
  virtual bool Busy() const = 0;
  // Id 5: sample frames converted or played so far.
  virtual int64_t Position() const = 0;
  // Id 7: the stream's length in sample frames, as far as it is known; never behind Position.
  virtual int64_t Length() const = 0;
  // Id 9: ends a running conversion or playback and returns when it has ended. A WAV file cut
  // short this way is still a valid WAV file holding what was converted.
  virtual void Stop() = 0;
  // Id 8: starts playing the source file on the audio output and returns while it plays. Without
  // an audio output nothing plays and Busy stays false.
  virtual void Play() = 0;

  // RIFF chunks (the tags of the MP3 being converted) that the next conversions write after the
  // WAV's audio; none leaves the WAV its audio alone. The control itself has no such operation:
  // the program needs it so that a decoded file keeps its tags.
  virtual void SetWavTrailer(std::vector<uint8_t> chunks) { (void)chunks; }

  // Whether the last conversion, now over, could not create its WAV file or failed writing it (a
  // full disk, a folder gone or read-only). The control itself has no such query: the program
  // needs it to say so once and stop, where every later file would fail alike.
  enum class TargetFault { None, CannotCreate, WriteFailed };
  virtual TargetFault LastTargetFault() const { return TargetFault::None; }
  // The file the last conversion, now over, wrote its WAV to: the name it was given, or a fresh
  // numbered one when another file took that name while it ran; empty when it kept nothing.
  // A control that cannot tell answers empty, and the name it was given stands.
  virtual std::string LastOutputPath() const { return {}; }
  // Why the last conversion could not create or write its WAV file, in the system's words
  // ("Permission denied"); empty when it could, or when the control cannot tell.
  virtual std::string LastTargetCause() const { return {}; }
};

}  // namespace korvalin
