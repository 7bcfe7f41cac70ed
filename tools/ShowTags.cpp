#include "tools/ShowTags.h"

#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"

#include <fstream>

namespace korvalin::cli {
namespace {

std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else {
      line += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
  }
  return line;
}

// An ID3v1 field as shown: up to its first zero byte, without the blanks that pad it.
std::string Field(const std::string& text) {
  std::string field = text.substr(0, text.find('\0'));
  while (!field.empty() && field.back() == ' ') field.pop_back();
  return OneLine(field);
}

// The last 128 bytes of the file; fewer when it is shorter.
std::string LastBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < static_cast<std::streamoff>(kId3v1Size)) return {};
  in.seekg(size - static_cast<std::streamoff>(kId3v1Size));
  std::string bytes(kId3v1Size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return in ? bytes : std::string();
}

}  // namespace

std::vector<std::string> TagLines(const std::string& path, TagLibrary& library) {
  std::vector<std::string> lines;
  const Id3v2Reading v2 = library.ReadId3v2File(path);
  if (!v2.present) {
    lines.push_back("ID3v2 tag: none");
  } else if (!v2.readable) {
    lines.push_back("ID3v2." + std::to_string(v2.version) + " tag: damaged, cannot be read");
  } else {
    lines.push_back("ID3v2." + std::to_string(v2.version) + " tag, " + std::to_string(v2.frames.size()) +
                    (v2.frames.size() == 1 ? " frame:" : " frames:"));
    for (const TagFrameText& frame : v2.frames) lines.push_back("  " + OneLine(frame.id) + ": " + OneLine(frame.text));
  }

  const std::string last = LastBytes(path);
  if (!IsId3v1Tag(last)) {
    lines.push_back("ID3v1 tag: none");
    return lines;
  }
  Mp3Info info;
  GetMp3Info(path, info);
  lines.push_back("ID3v1 tag:");
  lines.push_back("  Title: " + Field(info.title));
  lines.push_back("  Artist: " + Field(info.artist));
  lines.push_back("  Album: " + Field(info.album));
  lines.push_back("  Year: " + Field(info.year));
  lines.push_back("  Comment: " + Field(info.comment));
  // ID3v1.1: a zero byte before the comment's last byte, which then holds the track number.
  if (last[125] == '\0' && last[126] != '\0') {
    lines.push_back("  Track: " + std::to_string(static_cast<unsigned char>(last[126])));
  }
  lines.push_back("  Genre: " + std::to_string(info.genre));
  return lines;
}

}  // namespace korvalin::cli
