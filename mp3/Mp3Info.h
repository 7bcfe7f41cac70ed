#pragma once
// Reading an MP3 file's first MPEG-1 Layer III frame header, its Xing frame count and its ID3v1
// tag into one record, the header view's source.
//
// The record is cleared before each analysis, so a file that cannot be analysed never shows the
// values of the file before it: `problem` then says why the header fields are empty. The tag is
// read whether or not a frame was found.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvalin {

struct Mp3Info {
  int16_t bitrate = 0;     // kbit/s
  int32_t frequency = 0;   // Hz
  std::string mode;        // "stereo", "joint stereo", "dual channel", "single channel"
  std::string emphasis;    // "no", "50/15", "reserved", "CCITT J 17"
  int16_t version = 0;     // 1 for MPEG-1
  int16_t layer = 0;       // 1, 2 or 3
  std::string padding;     // "yes" / "no"
  std::string crc;         // "yes" when the frame carries a CRC
  int32_t duration = 0;    // whole seconds
  std::string copyright;
  std::string original;
  std::string privateBit;

  bool hasTag = false;
  std::string title, artist, album;  // up to 30 characters each
  std::string year;                  // up to 4
  std::string comment;               // up to 29
  int16_t genre = 255;               // 0..255; 255 without a tag

  // Empty when the header fields hold an analysed frame; otherwise why they are empty.
  std::string problem;
};

// What the frame search learnt, kept between the steps of one analysis.
struct FrameSearch {
  bool found = false;
  int64_t offset = -1;  // byte offset of the frame (0-based)
  bool XingFound = false;
  int64_t XingFrames = 0;
  int64_t fileLength = 0;
};

// How far into a file the frame search looks, and the shortest file that is analysed at all.
inline constexpr int kFrameSearchPositions = 5000;
inline constexpr int kShortestAnalysedFile = 256;

// The texts `problem` takes.
inline constexpr const char* kNoFrame = "no frame";
inline constexpr const char* kTooShort = "too short to hold a frame";

// The four bytes as "0"/"1" characters, most significant bit first; zero bits before the first
// set bit are left out, so only a first byte with its top bit set gives all 32 characters.
std::string BytesToBits(const unsigned char bytes[4]);

// The bits of a text of "0"/"1" characters as a number; "" gives 0.
int64_t BitsToNumber(std::string_view bits);

// Looks for the first MPEG-1 Layer III frame among the first 5000 byte positions and for a Xing
// frame count in it (readHeader), and reads the ID3v1 tag into `info` (readTag): the file's last
// 128 bytes when they begin with "TAG" in any letter case, nothing else. Returns the frame's
// header as bit text, "" when no frame was found or the file is shorter than 256 bytes (whose tag
// is not read either). Raises an error when the file cannot be opened or read.
std::string ReadFrameHeader(const std::string& path, bool readTag, bool readHeader, Mp3Info& info,
                            FrameSearch& search);

// Clears `info` and analyses the file into it. Raises an error when the file cannot be read; a
// file it cannot make sense of leaves the reason in `info.problem`.
void GetMp3Info(const std::string& path, Mp3Info& info);

// ISO-8859-1 bytes as UTF-8 text, and back: a character with no ISO-8859-1 byte becomes "?".
std::string Latin1ToUtf8(std::string_view bytes);
std::string Utf8ToLatin1(std::string_view text);

}  // namespace korvalin
