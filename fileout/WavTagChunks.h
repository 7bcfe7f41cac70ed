#pragma once
// A WAV file's tags, as RIFF chunks after the audio: a "LIST" chunk of type "INFO" whose texts
// are UTF-8, and an "id3 " chunk that holds a whole ID3v2 tag. This file knows the RIFF side only;
// the ID3v2 tag inside the id3 chunk is made and read by the tag library (platform/WavTags).
//
// Every chunk is padded to an even length, the RIFF length counts the chunks, and the data chunk
// is never touched: a reader that knows nothing of tags plays the same audio.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TrackTags.h"

namespace korvalin {

// The LIST/INFO chunk for `tags` (header, body and pad byte): INAM title, IART artist, IPRD album,
// ICRD year, IGNR genre, ITRK "n" or "n/N", ICMT comment. Empty when none of these is given.
std::vector<uint8_t> InfoListChunk(const TrackTags& tags);

// The "id3 " chunk around an ID3v2 tag; empty for an empty tag.
std::vector<uint8_t> Id3Chunk(const std::vector<uint8_t>& id3v2Tag);

// The tags of a LIST chunk's body ("INFO" and its sub-chunks). Nothing for a list of another
// type, or one whose sub-chunks run past its end (a damaged list says nothing reliable). A text
// that is not UTF-8 is read as ISO-8859-1, as older writers wrote it.
std::optional<TrackTags> ParseInfoList(std::string_view listBody);

// What a WAV file's tag chunks hold, before or after its audio.
struct WavTagChunks {
  std::optional<TrackTags> info;  // the LIST/INFO chunk's fields, when there is a readable one
  std::vector<uint8_t> id3;       // the id3 chunk's body (an ID3v2 tag); empty without one
};

// Walks the RIFF chunks of the WAV file at `path` for its tag chunks. A chunk whose length runs
// past the end of the file, and everything after it, is left out; a file that is no RIFF/WAVE file
// (or cannot be read) has none.
WavTagChunks ReadWavTagChunks(const std::string& path);

// `tags` with every field it leaves empty taken from `fallback`.
TrackTags WithGapsFilled(TrackTags tags, const TrackTags& fallback);

// Writes `chunks` (whole RIFF chunks) after the audio of the WAV file open for writing at `fd`,
// whose data chunk ends at `audioEnd` (a pad byte is added first when that is odd), and makes the
// RIFF length count them. The audio and the data chunk's length stay as they were. A write that
// fails (a full disk) is cut back off, so the file ends with its audio again and the RIFF length
// is left as it was; false then, with the system's error number in `error`. Nothing to write is
// success.
bool AppendWavChunks(int fd, int64_t audioEnd, const std::vector<uint8_t>& chunks, int& error);

}  // namespace korvalin
