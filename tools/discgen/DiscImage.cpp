#include "tools/discgen/DiscImage.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace korvalin::discgen {

namespace {
constexpr std::size_t kFrameBytes = 2352;
}

std::string CueTime(long frames) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", frames / (75 * 60), (frames / 75) % 60, frames % 75);
  return buf;
}

std::string WriteDiscImage(const std::string& folder, const std::string& name, const std::vector<std::string>& tracks) {
  const std::string cuePath = folder + "/" + name + ".cue";
  const std::string binPath = folder + "/" + name + ".bin";
  std::ofstream bin(binPath, std::ios::binary | std::ios::trunc);
  std::ofstream cue(cuePath, std::ios::trunc);
  if (!bin || !cue) throw std::runtime_error("cannot write the disc image " + cuePath);
  cue << "FILE \"" << name << ".bin\" BINARY\n";
  long offset = 0;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    const std::string& audio = tracks[t];
    const std::size_t padded = (audio.size() + kFrameBytes - 1) / kFrameBytes * kFrameBytes;
    bin.write(audio.data(), static_cast<std::streamsize>(audio.size()));
    const std::string pad(padded - audio.size(), '\0');
    bin.write(pad.data(), static_cast<std::streamsize>(pad.size()));
    char number[24];
    std::snprintf(number, sizeof number, "%02zu", t + 1);
    cue << "  TRACK " << number << " AUDIO\n    INDEX 01 " << CueTime(offset) << "\n";
    offset += static_cast<long>(padded / kFrameBytes);
  }
  if (!bin.flush() || !cue.flush()) throw std::runtime_error("cannot write the disc image " + cuePath);
  return cuePath;
}

}  // namespace korvalin::discgen
