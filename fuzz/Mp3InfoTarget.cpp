// The MP3 header and tag reader over any file: it fills the record or says why it could not,
// never reads outside the file, and what it reports is within the format's own ranges.

#include "common/RaisedError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "mp3/Mp3Info.h"

namespace korvalin::fuzz {
namespace {

bool IsUtf8Of(const std::string& text, std::size_t maxCharacters) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) != 0x80) ++characters;
  }
  return characters <= maxCharacters;
}

}  // namespace

int FuzzMp3Info(const uint8_t* data, std::size_t size) {
  const std::string path = ScratchPath("input.mp3");
  WriteWholeFile(path, AsText(data, size));
  Mp3Info info;
  info.title = "left over from the file before";
  try {
    GetMp3Info(path, info);
  } catch (const RaisedError&) {
    Check(false, "a readable file is analysed without raising");
  }
  if (info.problem.empty()) {
    Check(info.version == 1 && info.layer >= 1 && info.layer <= 3, "a frame analysed is an MPEG-1 audio frame");
    // The bitrate is the header's, or with a Xing frame count the file's average.
    Check(info.bitrate >= 0, "the bitrate is not negative");
    Check(info.frequency == 32000 || info.frequency == 44100 || info.frequency == 48000, "its rate is one of MPEG-1's");
    Check(info.duration >= 0, "the duration is not negative");
  }
  Check(info.hasTag || (info.title.empty() && info.genre == 255), "without a tag no tag field is left over");
  Check(IsUtf8Of(info.title, 30) && IsUtf8Of(info.artist, 30) && IsUtf8Of(info.album, 30) && IsUtf8Of(info.year, 4) &&
            IsUtf8Of(info.comment, 29),
        "tag fields keep their widths");
  Check(info.genre >= 0 && info.genre <= 255, "the genre is one byte");

  // The frame search alone, as the header view runs it.
  Mp3Info again;
  FrameSearch search;
  const std::string bits = ReadFrameHeader(path, false, true, again, search);
  Check(search.fileLength == static_cast<int64_t>(size), "the search knows the file's length");
  if (search.found) {
    // Its sync bytes lie in the file; a header cut by the file's end reads as zeros there.
    Check(search.offset >= 0 && search.offset < kFrameSearchPositions && search.offset + 2 <= search.fileLength,
          "a frame is found inside the searched range");
    Check(bits.size() == 32, "a found header has 32 bits");
  } else {
    Check(bits.empty(), "no frame gives no bits");
  }
  Check(search.XingFrames >= 0, "the Xing frame count is not negative");
  return 0;
}

}  // namespace korvalin::fuzz
