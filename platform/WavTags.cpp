#include "platform/WavTags.h"

#include "fileout/WavTagChunks.h"

namespace korvalin {

Id3v2Version Id3v2VersionOf(int tagVersion) { return tagVersion == 4 ? Id3v2Version::v4 : Id3v2Version::v3; }

std::vector<uint8_t> RenderWavTags(TagLibrary& library, const TrackTags& tags, int tagVersion) {
  if (tagVersion == 0 || tags.Empty()) return {};
  std::vector<uint8_t> chunks = InfoListChunk(tags);
  const std::vector<uint8_t> id3 = Id3Chunk(library.RenderId3v2(tags, Id3v2VersionOf(tagVersion)));
  chunks.insert(chunks.end(), id3.begin(), id3.end());
  return chunks;
}

std::string WavTagsSummary(const std::vector<uint8_t>& chunks, int tagVersion) {
  std::string summary;
  // The chunks lie end to end, each an id, a length and its padded body.
  for (std::size_t at = 0; at + 8 <= chunks.size();) {
    const std::string id(chunks.begin() + static_cast<std::ptrdiff_t>(at), chunks.begin() + static_cast<std::ptrdiff_t>(at + 4));
    const std::size_t length = chunks[at + 4] | chunks[at + 5] << 8 | chunks[at + 6] << 16 | std::size_t{chunks[at + 7]} << 24;
    const std::string name = id == "LIST" ? "LIST/INFO" : "ID3v2." + std::to_string(tagVersion) + " (id3 chunk)";
    summary += (summary.empty() ? "" : " and ") + name;
    at += 8 + length + (length & 1);
  }
  return summary;
}

TrackTags ReadWavTags(TagLibrary& library, const std::string& path) {
  const WavTagChunks chunks = ReadWavTagChunks(path);
  const TrackTags info = chunks.info.value_or(TrackTags{});
  if (chunks.id3.empty()) return info;
  const Id3v2Reading id3 = library.ReadId3v2(chunks.id3);
  return id3.readable ? WithGapsFilled(id3.tags, info) : info;
}

}  // namespace korvalin
