#pragma once
// The main window's encoding of one WAV file into the destination folder, with its host's
// percentage label, progress bar and cancel command.

#include <string>

#include "encode/WavFileEncoding.h"
#include "platform/Services.h"
#include "window/JobHost.h"

namespace korvalin {

// Encodes `path` into the options' destination + "/" + its name less four characters + ".mp3".
// The bitrate index is read again from the settings store ("Encoding bitrate", default "5") and
// kept in the host's in-memory setting, so a choice just made in the bitrate list counts; the
// quality is the options' "Encoding quality". The encoder takes the file's own rate and channel count, with
// private, CRC and copyright off and original on. Succeeded() when every sample went into the MP3
// file (not after a cancel, a refusal or a failure).
WavEncodingOutcome EncodeWavToMp3(JobHost& host, Services& services, const std::string& path,
                                  const JobOptions& options);

}  // namespace korvalin
