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

namespace {

std::string TrackLine(int number, bool data) {
  char line[40];
  std::snprintf(line, sizeof line, "  TRACK %02d %s\n", number, data ? "MODE1/2352" : "AUDIO");
  return line;
}

long Frames(const std::string& bytes) { return static_cast<long>(bytes.size() / kFrameBytes); }

// Each track's pregap closes the file of the track before it.
std::string GapsAppendedSheet(const std::string& folder, const std::string& name, const std::vector<ImageTrack>& tracks,
                              int firstNumber) {
  std::string sheet;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    char file[24];
    std::snprintf(file, sizeof file, " %02d.wav", firstNumber + static_cast<int>(t));
    const std::string& pregap = tracks[t].pregap;
    const std::string next = t + 1 < tracks.size() ? tracks[t + 1].pregap : std::string();
    const std::string lead = t == 0 ? pregap : std::string();
    Write(folder + "/" + name + file, CdWav(lead + Padded(tracks[t].audio) + next));
    const std::string fileLine = "FILE \"" + name + file + "\" WAVE\n";
    if (t == 0 || pregap.empty()) {
      sheet += fileLine + TrackLine(firstNumber + static_cast<int>(t), tracks[t].data);
      if (!lead.empty()) sheet += "    INDEX 00 00:00:00\n";
    } else {
      sheet += fileLine;  // the track's INDEX 00 was given in the file before
    }
    sheet += "    INDEX 01 " + CueTime(Frames(lead)) + "\n";
    if (!next.empty()) {
      sheet += TrackLine(firstNumber + static_cast<int>(t) + 1, tracks[t + 1].data) + "    INDEX 00 " +
               CueTime(Frames(lead) + Frames(Padded(tracks[t].audio))) + "\n";
    }
  }
  return sheet;
}

// One image cut in two in the middle of a track's audio.
std::string SplitSheet(const std::string& folder, const std::string& name, const std::vector<ImageTrack>& tracks,
                       int firstNumber) {
  std::string bytes, sheet = "FILE \"" + name + " 1.bin\" BINARY\n";
  const std::size_t middle = (tracks.size() - 1) / 2;
  long cut = 0;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    const long start = Frames(bytes);
    sheet += TrackLine(firstNumber + static_cast<int>(t), tracks[t].data);
    if (!tracks[t].pregap.empty()) sheet += "    INDEX 00 " + CueTime(start - cut) + "\n";
    sheet += "    INDEX 01 " + CueTime(start + Frames(tracks[t].pregap) - cut) + "\n";
    bytes += tracks[t].pregap + Padded(tracks[t].audio);
    if (t == middle) {
      cut = start + Frames(tracks[t].pregap) + Frames(Padded(tracks[t].audio)) / 2;
      sheet += "FILE \"" + name + " 2.bin\" BINARY\n";
    }
  }
  const std::size_t at = static_cast<std::size_t>(cut) * kFrameBytes;
  Write(folder + "/" + name + " 1.bin", bytes.substr(0, at));
  Write(folder + "/" + name + " 2.bin", bytes.substr(at));
  return sheet;
}

}  // namespace

std::string WriteCueImage(const std::string& folder, const std::string& name, const std::vector<ImageTrack>& tracks,
                          ImageFiles files, int firstNumber) {
  if (files == ImageFiles::GapsAppended || files == ImageFiles::SplitBinary) {
    if (tracks.empty()) throw std::runtime_error("a disc image needs a track");
    Write(folder + "/" + name + ".cue", files == ImageFiles::GapsAppended ? GapsAppendedSheet(folder, name, tracks, firstNumber)
                                                                          : SplitSheet(folder, name, tracks, firstNumber));
    return folder + "/" + name + ".cue";
  }
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
