#pragma once
// Copies one CD track, block by block, from the open drive into a WAV file.

#include <cstdint>
#include <string>
#include <vector>

#include "common/JobFlags.h"
#include "common/MainWindowOps.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "rip/TrackChecksums.h"
#include "rip/TrackReadReport.h"
#include "rip/modAKRip32.h"

namespace korvalin {

// What an extraction works with: the drive, the window it reports to, and the job flags.
struct ExtractionContext {
  modAKRip32& cd;
  MainWindowOps& window;
  Dialogs& dialogs;
  EventLoop& loop;
  JobFlags& flags;
  // When set, every block of audio read is added to these checksums as it goes to the file.
  TrackChecksums* checksums = nullptr;
  // Read every block until two reads agree (a drive that corrects its own reads is trusted to).
  bool secureReading = false;
};

struct ExtractionOutcome {
  int32_t framesWritten = 0;
  bool complete = false;     // every frame of the track is in the file
  bool writeFailed = false;  // the file could not be made or written (a full disk): later tracks would fail too
  bool created = false;      // the output file was made (it may hold less than the track)
  TrackReadReport read;      // what secure reading found; empty when it was off
  // The file the audio went to: the path asked for, or a fresh numbered name when another file
  // took that name while the track was copied (`renamed`). Empty when nothing was kept.
  std::string path;
  bool renamed = false;
  std::string cause;         // why the file could not be made or written, in words
};

// Extracts frames first..end (exclusive) into a WAV file at `path`, reporting progress after every
// block and yielding so that a cancel can set CancelRequested. A block that fails three reads
// keeps the frames before the failing one and ends the track after the library's message. When
// the track ends early, the header is rewritten to state exactly the audio written, so the file
// is always a valid WAV. The audio goes to a temporary file that takes the name only when the
// track ends with audio in it: an existing file of that name is replaced by a finished (or
// validly shortened) WAV, never by an empty one. A path that is one of the disc's own files, or a
// file that cannot be created, is refused with a message before anything is read or written.
// `tagChunks` (RIFF chunks: the track's tags) go after the audio of a file that is kept; none
// leaves the file exactly as without tags. A disk that fills while they are written keeps the
// audio whole and reports the write failure.
ExtractionOutcome ExtractTrackToWav(ExtractionContext& ctx, const std::string& path, int32_t firstFrame,
                                    int32_t endFrame, const std::vector<uint8_t>& tagChunks = {});

// The message shown when an output would be written over a file the disc is read from.
std::string OutputIsDiscSourceText(const std::string& path);

// The message shown for a data track, which is never copied as audio.
std::string DataTrackText(int32_t track);

// Shows the refusal and returns false when `path` is one of the files the open disc is read
// from: writing there would destroy the disc image while it is being read.
bool OutputMayBeWritten(ExtractionContext& ctx, const std::string& path);

}  // namespace korvalin
