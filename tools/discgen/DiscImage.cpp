#include "tools/discgen/DiscImage.h"

#include <cstdint>
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

namespace {

std::string Padded(const std::string& bytes) {
  return bytes + std::string((kFrameBytes - bytes.size() % kFrameBytes) % kFrameBytes, '\0');
}

std::string Le(uint32_t value, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(value >> (8 * i));
  return s;
}

std::string CdWav(const std::string& pcm) {
  const auto size = static_cast<uint32_t>(pcm.size());
  return "RIFF" + Le(size + 36, 4) + "WAVEfmt " + Le(16, 4) + Le(1, 2) + Le(2, 2) + Le(44100, 4) + Le(44100 * 4, 4) +
         Le(4, 2) + Le(16, 2) + "data" + Le(size, 4) + pcm;
}

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace

std::string WriteCueImage(const std::string& folder, const std::string& name, const std::vector<ImageTrack>& tracks,
                          ImageFiles files, int firstNumber) {
  std::string sheet, oneBinary;
  if (files == ImageFiles::OneBinary) sheet += "FILE \"" + name + ".bin\" BINARY\n";
  long frame = 0;  // where the next track starts in the file it is written to
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    const ImageTrack& track = tracks[t];
    char number[24];
    std::snprintf(number, sizeof number, "%02d", firstNumber + static_cast<int>(t));
    if (files != ImageFiles::OneBinary) {
      const bool wave = files == ImageFiles::WavePerTrack;
      const std::string file = name + " " + number + (wave ? ".wav" : ".bin");
      Write(folder + "/" + file, wave ? CdWav(track.pregap + track.audio) : track.pregap + Padded(track.audio));
      sheet += "FILE \"" + file + "\" " + (wave ? "WAVE" : "BINARY") + "\n";
      frame = 0;
    }
    sheet += std::string("  TRACK ") + number + (track.data ? " MODE1/2352\n" : " AUDIO\n");
    const long pregapFrames = static_cast<long>(track.pregap.size() / kFrameBytes);
    if (!track.pregap.empty()) sheet += "    INDEX 00 " + CueTime(frame) + "\n";
    sheet += "    INDEX 01 " + CueTime(frame + pregapFrames) + "\n";
    if (files == ImageFiles::OneBinary) oneBinary += track.pregap + Padded(track.audio);
    frame += pregapFrames + static_cast<long>(Padded(track.audio).size() / kFrameBytes);
  }
  if (files == ImageFiles::OneBinary) Write(folder + "/" + name + ".bin", oneBinary);
  Write(folder + "/" + name + ".cue", sheet);
  return folder + "/" + name + ".cue";
}

}  // namespace korvalin::discgen
