#pragma once
// The encoding of one WAV file into the destination folder, reported to its host: the
// percentage, the progress bar and the cancel command.

#include <string>

#include "encode/WavFileEncoding.h"
#include "platform/Services.h"
#include "window/JobHost.h"

namespace korvalin {

// Encodes `path` into the options' destination + "/" + its name less four characters + ".mp3".
// The bitrate and quality are the options' "Encoding bitrate" and "Encoding quality", read as the
// job started. The encoder takes the file's own rate and channel count, with
// private, CRC and copyright off and original on. Succeeded() when every sample went into the MP3
// file (not after a cancel, a refusal or a failure).
WavEncodingOutcome EncodeWavToMp3(JobHost& host, Services& services, const std::string& path,
                                  const JobOptions& options);

}  // namespace korvalin
