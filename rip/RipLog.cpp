#include "rip/RipLog.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#ifndef KORVALIN_VERSION
#define KORVALIN_VERSION "unknown"
#endif

namespace korvalin {
namespace {

std::string Joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const auto& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

std::string Padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string SettingsText(const RipSettings& s) {
  std::string text = "Settings\n";
  text += "  Secure reading: " + std::string(s.secureReading ? "yes" : "no") + "\n";
  if (!s.mp3) return text + "  Output: WAV (44,100 Hz, 16-bit stereo)\n";
  text += "  Output: MP3\n";
  text += "  Bitrate: " + std::to_string(s.bitrateKbps) + " kbit/s\n";
  text += "  Quality: " + (s.quality.empty() ? std::string("(none chosen)") : s.quality) + "\n";
  text += "  Flags: " + (s.flags.empty() ? std::string("none") : Joined(s.flags, ", ")) + "\n";
  return text;
}

std::string TocText(const DiscToc& toc, const std::string& musicDatabaseId) {
  std::string text = "Table of contents\n  Track      Start     Length  Type\n";
  for (std::size_t i = 0; i < toc.tracks.size(); ++i) {
    const DiscTocTrack& t = toc.tracks[i];
    text += "  " + Padded(std::to_string(t.number), 5) + Padded(std::to_string(t.start), 11) +
            Padded(std::to_string(toc.EndOf(i) - t.start), 11) + (t.data ? "  data" : "  audio") + "\n";
  }
  text += "  Lead-out " + Padded(std::to_string(toc.leadOut), 12) + "\n";
  const AccurateRipDiscId ar = AccurateRipIdOf(toc);
  text += "CDDB id: " + Hex8(ar.cddb) + "\n";
  text += "AccurateRip disc id: " + Hex8(ar.id1) + "-" + Hex8(ar.id2) + "-" + Hex8(ar.cddb) + "\n";
  text += "Music database disc id: " + (musicDatabaseId.empty() ? std::string("(not available)") : musicDatabaseId) + "\n";
  return text;
}

}  // namespace

const char* ProgramVersion() { return KORVALIN_VERSION; }

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
  return text;
}

std::string FrameRanges(const std::vector<int32_t>& given) {
  std::vector<int32_t> frames = given;
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  std::string text;
  for (std::size_t i = 0; i < frames.size();) {
    std::size_t j = i;
    while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1) ++j;
    text += (text.empty() ? "" : ", ") + std::to_string(frames[i]);
    if (j > i) text += "-" + std::to_string(frames[j]);
    i = j + 1;
  }
  return text;
}

std::string TrackFiguresText(const RipLogTrack& t) {
  std::string text = "  Frames: " + std::to_string(t.framesCopied) + " of " + std::to_string(t.frames) + "\n";
  text += "  Read retries: " + std::to_string(t.read.retries) + "\n";
  text += "  Suspicious frames: " + (t.read.Suspicious() ? FrameRanges(t.read.suspiciousFrames) : std::string("none")) + "\n";
  if (t.checksummed) {
    text += "  CRC32: " + Hex8(t.crc32) + "\n";
    text += "  AccurateRip v1: " + Hex8(t.accurateRipV1) + "\n";
    text += "  AccurateRip v2: " + Hex8(t.accurateRipV2) + "\n";
  }
  return text;
}

std::string RipLogText(const RipLog& log) {
  std::string text = "Korvalin " + std::string(ProgramVersion()) + " rip log\n";
  text += "Date: " + log.date + "\n";
  text += "Source: " + log.source + "\n";
  text += "Destination: " + log.destination + "\n\n";
  text += SettingsText(log.settings) + "\n";
  text += TocText(log.toc, log.musicDatabaseId) + "\n";
  for (const RipLogTrack& t : log.tracks) {
    text += "Track " + std::to_string(t.number) + "\n";
    text += "  File: " + t.file + "\n";
    text += TrackFiguresText(t);
    if (!t.tags.empty()) text += "  Tags: " + t.tags + "\n";
    text += "  Status: " + t.status + "\n\n";
  }
  text += "Outcome: " + log.outcome + "\n";
  return text;
}

}  // namespace korvalin
