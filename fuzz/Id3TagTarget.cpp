// The ID3v1 tag writer over any file and any field texts: the audio before the tag is never
// touched, the file ends in exactly the block for those fields, and the reader finds them again.
// Input: six lines (title, artist, album, year, comment, genre), then the file's bytes.

#include "common/RaisedError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"

namespace korvalin::fuzz {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// A tag is the last 128 bytes when they begin with "tag" in any case; nothing else is one.
bool EndsInTag(std::string_view file) {
  if (file.size() < kId3v1Size) return false;
  const std::string_view mark = file.substr(file.size() - kId3v1Size, 3);
  return Lower(mark[0]) == 't' && Lower(mark[1]) == 'a' && Lower(mark[2]) == 'g';
}

std::string Trimmed(std::string_view bytes) {
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  return Latin1ToUtf8(bytes);
}

}  // namespace

int FuzzId3Tag(const uint8_t* data, std::size_t size) {
  std::string_view input = AsText(data, size);
  std::string lines[6];
  for (auto& line : lines) {
    const std::size_t end = input.find('\n');
    if (end == std::string_view::npos) break;
    line = input.substr(0, end);
    input.remove_prefix(end + 1);
  }
  const Id3v1Fields fields{lines[0], lines[1], lines[2], lines[3], lines[4], lines[5]};
  const std::string before(input);
  const std::string path = ScratchPath("tagged.mp3");
  WriteWholeFile(path, before);

  try {
    WriteId3v1Tag(path, fields);
  } catch (const RaisedError&) {
    Check(false, "a tag is written to a writable file without raising");
  }
  const std::string after = ReadWholeFile(path);
  const std::size_t audio = EndsInTag(before) ? before.size() - kId3v1Size : before.size();
  Check(after.size() == audio + kId3v1Size, "the tag replaces a tag or is appended");
  Check(after.compare(0, audio, before, 0, audio) == 0, "the audio before the tag is untouched");
  const std::string block = BuildId3v1Block(fields);
  Check(block.size() == kId3v1Size && block.compare(0, 3, "TAG") == 0, "the block is 128 bytes from \"TAG\"");
  Check(after.compare(audio, kId3v1Size - 2, block, 0, kId3v1Size - 2) == 0 && after.back() == block.back(),
        "the file ends in the block for these fields");

  if (after.size() >= 256) {
    Mp3Info info;
    GetMp3Info(path, info);
    Check(info.hasTag, "the tag just written is found");
    Check(info.title == Trimmed(block.substr(3, 30)) && info.artist == Trimmed(block.substr(33, 30)) &&
              info.album == Trimmed(block.substr(63, 30)) && info.year == Trimmed(block.substr(93, 4)),
          "the fields read back are the fields written");
    Check(info.genre == static_cast<unsigned char>(block[127]), "the genre reads back");
  }
  return 0;
}

}  // namespace korvalin::fuzz
