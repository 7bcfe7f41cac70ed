#include "mp3/HeaderView.h"

#include <utility>

namespace korvalin {
namespace {

std::string Line(const char* label, int blanks, const std::string& value) {
  return label + std::string(static_cast<std::size_t>(blanks), ' ') + value;
}

}  // namespace

std::vector<std::string> HeaderViewLines(const Mp3Info& info) {
  if (!info.problem.empty()) return {"Header: " + info.problem};
  return {
      Line("Bitrate", 12, std::to_string(info.bitrate)),
      Line("Frequency", 7, std::to_string(info.frequency)),
      Line("Duration", 10, std::to_string(info.duration)),
      Line("MpegVersion", 3, std::to_string(info.version)),
      Line("MpegLayer", 6, std::to_string(info.layer)),
      Line("Original", 11, info.original),
      Line("Emphasis", 8, info.emphasis),
      Line("CopyRight", 8, info.copyright),
      Line("Mode", 15, info.mode),
      Line("Padding", 11, info.padding),
      Line("CRC", 16, info.crc),
      Line("Private", 13, info.privateBit),
  };
}

const std::vector<std::string>& TagBoxCaptions() {
  static const std::vector<std::string> captions{"Artist", "Title", "Album", "Year",
                                                 "Comment", "Genre", "HasTag", "Length"};
  return captions;
}

std::vector<std::string> TagBoxTexts(const Mp3Info& info) {
  return {info.artist, info.title, info.album, info.year, info.comment,
          std::to_string(info.genre), info.hasTag ? "True" : "False"};
}

std::string LengthText(long long bytes) { return std::to_string(bytes) + " bytes"; }

}  // namespace korvalin
