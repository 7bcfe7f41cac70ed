#pragma once
// Writes audio CD images as a CUE sheet and the files it names: one BIN file of raw 2352-byte
// frames, or one BIN or WAVE file per track, with pregaps and data tracks when asked.

#include <string>
#include <vector>

namespace korvalin::discgen {

// Writes <folder>/<name>.cue and <folder>/<name>.bin with the tracks in order, each track's raw
// bytes padded with silence to whole frames. Returns the path of the CUE sheet; throws
// std::runtime_error when the files cannot be written.
std::string WriteDiscImage(const std::string& folder, const std::string& name, const std::vector<std::string>& tracks);

// One track of a generated image.
struct ImageTrack {
  std::string audio;   // the track's bytes from its INDEX 01 on (raw CD audio, or sectors of a data track)
  std::string pregap;  // whole frames between INDEX 00 and INDEX 01; "" for no INDEX 00
  bool data = false;   // a MODE1/2352 data track
};

// How the image's bytes are spread over files.
enum class ImageFiles {
  OneBinary,       // <name>.bin holds every track, each padded to whole frames
  BinaryPerTrack,  // "<name> NN.bin" per track
  WavePerTrack,    // "<name> NN.wav" per track: 16-bit 44.1 kHz stereo PCM, not padded
  GapsAppended,    // "<name> NN.wav" per track, padded, each ending with the next track's pregap,
                   // whose INDEX 00 stands in that file and INDEX 01 at the start of the next
  SplitBinary,     // the bytes of OneBinary cut into "<name> 1.bin" and "<name> 2.bin" in the
                   // middle of the audio of a middle track, which goes on in the second file
};

// Writes <folder>/<name>.cue and the files it names, tracks numbered from `firstNumber`. Returns
// the path of the sheet; throws std::runtime_error when a file cannot be written. A drive reads
// track k as its audio (padded to whole frames) followed by the next track's pregap.
std::string WriteCueImage(const std::string& folder, const std::string& name, const std::vector<ImageTrack>& tracks,
                          ImageFiles files, int firstNumber = 1);

// "mm:ss:ff" for a frame offset (75 frames a second).
std::string CueTime(long frames);

}  // namespace korvalin::discgen
