#include "tools/discgen/MusicPcm.h"

#include <algorithm>
#include <cmath>

namespace korvalin::discgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A small deterministic generator, so the same seed gives the same audio on every machine.
struct Lcg {
  uint32_t state;
  uint32_t Next() { return state = state * 1664525u + 1013904223u; }
  double Unit() { return (Next() >> 8) / 16777216.0; }
};

double NoteHz(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

}  // namespace

std::vector<int16_t> MusicSamples(int64_t sampleFrames, uint32_t seed, int channels, int rate) {
  std::vector<int16_t> out(static_cast<std::size_t>(sampleFrames * channels));
  Lcg rng{seed * 2654435761u + 1};
  // A chord progression: each chord lasts half a second and has three notes.
  const int roots[] = {-9, -4, -7, -2, -5, 0, -12, -7};
  const int noteFrames = rate / 2;
  double phase[2][3] = {};
  int chord[3] = {};
  for (int64_t i = 0; i < sampleFrames; ++i) {
    const int64_t step = i / noteFrames;
    if (i % noteFrames == 0) {
      const int root = roots[(step + seed) % 8] + static_cast<int>(rng.Next() % 3);
      chord[0] = root;
      chord[1] = root + 4 - static_cast<int>(rng.Next() % 2);
      chord[2] = root + 7 + 12 * static_cast<int>(rng.Next() % 2);
    }
    const double t = static_cast<double>(i % noteFrames) / rate;
    const double envelope = std::min(1.0, t * 40.0) * std::exp(-2.5 * t);
    for (int c = 0; c < channels && c < 2; ++c) {
      double v = 0;
      for (int n = 0; n < 3; ++n) {
        // The right channel is detuned and weights the notes differently, so the channels differ.
        const double hz = NoteHz(chord[n]) * (c == 0 ? 1.0 : 1.003);
        phase[c][n] += 2 * kPi * hz / rate;
        if (phase[c][n] > 2 * kPi) phase[c][n] -= 2 * kPi;
        const double weight = c == 0 ? (n == 0 ? 0.5 : 0.3) : (n == 2 ? 0.5 : 0.3);
        v += weight * (std::sin(phase[c][n]) + 0.3 * std::sin(2 * phase[c][n]) + 0.1 * std::sin(3 * phase[c][n]));
      }
      const double noise = (rng.Unit() - 0.5) * 0.02;
      const double sample = (v * envelope * 0.45 + noise) * 32767.0;
      out[static_cast<std::size_t>(i * channels + c)] =
          static_cast<int16_t>(std::lround(std::clamp(sample, -32768.0, 32767.0)));
    }
    for (int c = 2; c < channels; ++c) out[static_cast<std::size_t>(i * channels + c)] = out[static_cast<std::size_t>(i * channels)];
  }
  return out;
}

std::string MusicBytes(int64_t sampleFrames, uint32_t seed, int channels, int rate) {
  const auto samples = MusicSamples(sampleFrames, seed, channels, rate);
  std::string bytes(samples.size() * 2, '\0');
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto u = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<char>(u & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(u >> 8);
  }
  return bytes;
}

}  // namespace korvalin::discgen
