#pragma once
// The fuzz targets: one per kind of outside input the program parses. Each takes one input, runs
// the program's own code over it, checks what must hold whatever the input, and returns 0. The
// same functions serve libFuzzer (FuzzMain.cpp) and the replay test of the normal suite.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvalin::fuzz {

using TargetFunction = int (*)(const uint8_t* data, std::size_t size);

// A WAV file opened for encoding and read to its end.
int FuzzWavInput(const uint8_t* data, std::size_t size);
// An MP3 file converted to WAV by the player control.
int FuzzMp3Decode(const uint8_t* data, std::size_t size);
// Lines of commands sent to the media control interpreter, over a small disc image.
int FuzzMediaCommands(const uint8_t* data, std::size_t size);
// Lines of stored setting values read by LoadSettings.
int FuzzSettings(const uint8_t* data, std::size_t size);
// An MP3 file analysed for its frame header, Xing frame count and ID3v1 tag.
int FuzzMp3Info(const uint8_t* data, std::size_t size);
// Tag fields written into an MP3 file, then read back.
int FuzzId3Tag(const uint8_t* data, std::size_t size);
// An ID3v2 tag (or any block at a file's start) read by the tag library, and rendered again.
int FuzzId3v2Tag(const uint8_t* data, std::size_t size);
// A CUE sheet with a small BIN (and WAV) beside it, opened as a disc image and read.
int FuzzCueImage(const uint8_t* data, std::size_t size);
// The file of a kept disc choice, read and saved again.
int FuzzDiscChoice(const uint8_t* data, std::size_t size);
// The online music database's answer to a disc id look-up.
int FuzzMusicBrainzJson(const uint8_t* data, std::size_t size);
// A CDDB server's answer to a query and to a read.
int FuzzCddbResponse(const uint8_t* data, std::size_t size);
// A CDDB database entry (xmcd).
int FuzzXmcdRecord(const uint8_t* data, std::size_t size);
// The AccurateRip database's answer for a disc, and the verdicts drawn from it.
int FuzzDbar(const uint8_t* data, std::size_t size);

struct Target {
  std::string name;  // also the name of its executable, dictionary and regression folder
  TargetFunction run;
};

const std::vector<Target>& AllTargets();

}  // namespace korvalin::fuzz
