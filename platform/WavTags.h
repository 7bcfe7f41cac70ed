#pragma once
// A track's tags in a WAV file: the LIST/INFO chunk for every reader of WAV files, and the id3
// chunk with the whole ID3v2 tag (album artist, disc, ISRC and the online database's ids, which
// INFO has no place for) as the tag library renders and reads it.

#include <cstdint>
#include <string>
#include <vector>

#include "common/TrackTags.h"
#include "platform/TagLibrary.h"

namespace korvalin {

// The ID3v2 version of a job's tag choice: 4 for ID3v2.4, otherwise 2.3 (the default).
Id3v2Version Id3v2VersionOf(int tagVersion);

// The chunks that go after a WAV's audio for `tags`: LIST/INFO, then the id3 chunk. None when
// `tagVersion` is 0 (no tags) or `tags` gives no field; no id3 chunk when the library renders none.
std::vector<uint8_t> RenderWavTags(TagLibrary& library, const TrackTags& tags, int tagVersion);

// What `chunks` (made by RenderWavTags with `tagVersion`) hold, for a log line: "LIST/INFO and
// ID3v2.3 (id3 chunk)", "LIST/INFO"; "" for none.
std::string WavTagsSummary(const std::vector<uint8_t>& chunks, int tagVersion);

// The tags of the WAV file at `path`: the id3 chunk's where it gives a field, the LIST/INFO
// chunk's for the rest. Empty for a file with no readable tag chunk.
TrackTags ReadWavTags(TagLibrary& library, const std::string& path);

}  // namespace korvalin
