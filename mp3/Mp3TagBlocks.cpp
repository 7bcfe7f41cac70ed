#include "mp3/Mp3TagBlocks.h"

#include <array>
#include <cctype>

#include "common/Text.h"
#include "mp3/Id3v1Tag.h"

namespace korvalin {
namespace {

constexpr std::size_t kCommentAt = 97;  // "TAG" + title, artist, album (30 each) + year (4)
constexpr std::size_t kTrackedCommentWidth = 28;

// The standard ID3v1 genre list, by number.
constexpr std::array<const char*, 80> kGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip",
    "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk",
    "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk",
    "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer",
    "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock"};

bool SameLetters(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return i == a.size() && !b[i];
}

}  // namespace

unsigned char Id3v1GenreNumber(const std::string& genre) {
  const std::string name = Trim(genre);
  for (std::size_t i = 0; i < kGenres.size(); ++i) {
    if (SameLetters(name, kGenres[i])) return static_cast<unsigned char>(i);
  }
  return GenreByte(name);
}

std::string Id3v1BlockFor(const TrackTags& tags) {
  Id3v1Fields fields;
  fields.title = tags.title;
  fields.artist = tags.artist.empty() ? tags.albumArtist : tags.artist;
  fields.album = tags.album;
  fields.year = tags.year.substr(0, 4);
  fields.comment = tags.comment;
  std::string block = BuildId3v1Block(fields);
  block.back() = static_cast<char>(Id3v1GenreNumber(tags.genre));
  if (tags.track > 0 && tags.track <= 255) {
    // ID3v1.1: a zero byte ends the comment early and the byte after it holds the track number.
    block[kCommentAt + kTrackedCommentWidth] = '\0';
    block[kCommentAt + kTrackedCommentWidth + 1] = static_cast<char>(tags.track);
  }
  return block;
}

Mp3TagBlocks RenderMp3TagBlocks(const TrackTags& tags, int tagVersion, TagLibrary& library) {
  Mp3TagBlocks blocks;
  if (tags.Empty() || (tagVersion != 3 && tagVersion != 4)) return blocks;
  blocks.id3v2 = library.RenderId3v2(tags, tagVersion == 4 ? Id3v2Version::v4 : Id3v2Version::v3);
  if (!blocks.id3v2.empty()) blocks.id3v2Version = tagVersion;
  blocks.id3v1 = Id3v1BlockFor(tags);
  return blocks;
}

std::string TagBlocksSummary(const Mp3TagBlocks& blocks, TagLibrary& library) {
  if (blocks.Empty()) return "no tags";
  std::string summary;
  if (!blocks.id3v2.empty()) {
    const std::size_t frames = library.ReadId3v2(blocks.id3v2).frames.size();
    summary = "ID3v2." + std::to_string(blocks.id3v2Version) + " (" + std::to_string(frames) +
              (frames == 1 ? " frame)" : " frames)");
  }
  if (!blocks.id3v1.empty()) summary += summary.empty() ? "ID3v1" : " and ID3v1";
  return summary;
}

}  // namespace korvalin
