#pragma once
// What the rip log of one extraction job says, and its text: the program and the disc, the
// settings, the table of contents and ids, each track's figures and the job's outcome.

#include <cstdint>
#include <string>
#include <vector>

#include "rip/DiscIds.h"
#include "rip/TrackReadReport.h"

namespace korvalin {

struct RipSettings {
  bool secureReading = false;
  bool mp3 = false;
  int32_t bitrateKbps = 0;   // MP3 only
  std::string quality;       // the quality list's entry; MP3 only
  std::vector<std::string> flags;  // "Private", "CRC", "Copyrighted", "Original" as ticked; MP3 only
};

struct RipLogTrack {
  int number = 0;
  std::string file;
  int32_t frames = 0;        // the frames the track holds
  int32_t framesCopied = 0;  // the frames that reached the file
  TrackReadReport read;
  bool checksummed = false;  // false: no audio was read (the track was passed over or refused)
  uint32_t crc32 = 0;
  uint32_t accurateRipV1 = 0;
  uint32_t accurateRipV2 = 0;
  std::string status;        // "complete", or what ended it
  std::string tags;          // the tags written into the file ("ID3v2.3 (9 frames) and ID3v1"); "" none
};

struct RipLog {
  std::string date;
  std::string source;       // "image <sheet>" or "drive <device>"
  std::string destination;
  RipSettings settings;
  DiscToc toc;
  std::string musicDatabaseId;  // "" when unknown
  std::vector<RipLogTrack> tracks;
  std::string outcome = "running";  // "completed", "cancelled", "stopped: <why>", "failed: <message>"
};

// The whole log as plain UTF-8 text.
std::string RipLogText(const RipLog& log);

// The lines the command line prints after a track: frames, retries, suspicious frames and the
// checksums, two blanks in.
std::string TrackFiguresText(const RipLogTrack& track);

// Frame numbers written as ranges: "100-125, 300".
std::string FrameRanges(const std::vector<int32_t>& frames);

// The program's version, as the log names it.
const char* ProgramVersion();

// The local time as "2026-12-09 10:30:12 +0000".
std::string LocalTimeText();

}  // namespace korvalin
