#pragma once
// The ALSA playback output of CD playback and MP3 playback: 16-bit interleaved samples written to
// a device from a worker thread that may be told to stop at any time.

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace korvalin {

// Keeps ALSA from printing its own errors: the callers answer with the program's own codes.
void SilenceAlsa();

// Opens `device` for 16-bit interleaved playback at `channels` and `rate`, with a 0.2 s buffer;
// nullptr when there is no such output or it refuses the format.
snd_pcm_t* OpenPlayback(const std::string& device, unsigned channels, unsigned rate);

// Writes interleaved frames of `frameBytes` bytes each, recovering from underruns, until all are
// written or `stop` is set. Returns the frames written, or -1 when the output is gone.
int64_t WriteFrames(snd_pcm_t* pcm, const unsigned char* data, snd_pcm_uframes_t frames, int frameBytes,
                    const std::atomic<bool>& stop);

// Ends playback: a stopped output drops what it still holds, a finished one plays it out first.
void ClosePlayback(snd_pcm_t* pcm, bool stopped);

}  // namespace korvalin
