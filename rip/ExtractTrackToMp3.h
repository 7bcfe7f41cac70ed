#pragma once
// Copies one CD track straight into an MP3 file: frames are read from the open drive in blocks,
// each frame goes through the encoder, and the encoder's output is written as it comes.

#include <cstdint>
#include <string>

#include "encode/EncoderConfig.h"
#include "mp3/Mp3TagBlocks.h"
#include "platform/EncoderLibrary.h"
#include "rip/ExtractTrackToWav.h"

namespace korvalin {

struct Mp3ExtractionOutcome {
  int32_t framesEncoded = 0;
  bool complete = false;        // every frame of the track went into the file
  bool encoderFailed = false;   // the stream could not be started: no file was made
  bool writeFailed = false;     // the file could not be made or written (a full disk)
  bool created = false;         // the output file was made
  TrackReadReport read;         // what secure reading found; empty when it was off
  // The file the audio went to: the path asked for, or a fresh numbered name when another file
  // took that name meanwhile (`renamed`). Empty when nothing was kept.
  std::string path;
  bool renamed = false;
  std::string cause;            // why the file could not be made or written, in words
};

// Extracts frames firstFrame..endFrame (exclusive) into an MP3 file at `path`. `firstFrame` is
// advanced block by block and on return is the first frame not extracted. A stream that cannot
// start shows "Critical error..." with the encoder's text and writes nothing; a block that fails
// three reads ends the track after the library's message, with the frames before the failing one
// encoded and the stream still drained, so the file is a valid, shorter MP3. The MP3 is written
// under a temporary name and takes its own only when at least one frame went in: an existing file
// of that name is never replaced by an empty one. A path that is one of the disc's own files, or a
// file that cannot be created, is refused with a message and nothing is read or written.
// `tags`' ID3v2 block goes before the first frame and its ID3v1 block after the last one, both
// inside the temporary file, so the file never has its name without them; no blocks: the bytes
// are those of an untagged rip.
Mp3ExtractionOutcome ExtractTrackToMp3(ExtractionContext& ctx, EncoderLibrary& encoder, const std::string& path,
                                       int32_t& firstFrame, int32_t endFrame, const EncoderConfig& config,
                                       const Mp3TagBlocks& tags = {});

}  // namespace korvalin
