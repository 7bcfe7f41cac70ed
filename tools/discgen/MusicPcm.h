#pragma once
// Music-like test audio: chords of a few harmonics with note envelopes, left and right voiced
// differently, deterministic for a seed. Used for the demo disc, the tests and the benchmarks.

#include <cstdint>
#include <string>
#include <vector>

namespace korvalin::discgen {

// `sampleFrames` frames of 16-bit signed PCM, channels interleaved.
std::vector<int16_t> MusicSamples(int64_t sampleFrames, uint32_t seed = 1, int channels = 2, int rate = 44100);

// The same as little-endian bytes, as they stand in a WAV file or on a CD.
std::string MusicBytes(int64_t sampleFrames, uint32_t seed = 1, int channels = 2, int rate = 44100);

// CD frames (2352 bytes, 588 stereo sample frames each) of music.
inline std::string MusicCdFrames(int64_t cdFrames, uint32_t seed = 1) { return MusicBytes(cdFrames * 588, seed); }

}  // namespace korvalin::discgen
