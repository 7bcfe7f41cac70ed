#include "tools/TagOptions.h"

#include <stdexcept>

#include "tools/DriveOptions.h"

namespace korvalin::cli {

TagChoice TakeTagOptions(std::vector<std::string>& args, int track) {
  TagChoice choice;
  TrackTags& t = choice.tags;
  t.title = TakeOption(args, "--title");
  t.artist = TakeOption(args, "--artist");
  t.album = TakeOption(args, "--album");
  t.albumArtist = TakeOption(args, "--album-artist");
  t.year = TakeOption(args, "--year");
  t.genre = TakeOption(args, "--genre");
  t.isrc = TakeOption(args, "--isrc");
  t.comment = TakeOption(args, "--comment");
  auto count = [&](const char* name) {
    const std::string text = TakeOption(args, name);
    return text.empty() ? 0 : ParseCount(text, name);
  };
  t.trackCount = count("--tracks");
  t.disc = count("--disc");
  t.discCount = count("--discs");
  if (const auto version = TakeGivenOption(args, "--id3")) {
    if (*version != "3" && *version != "4" && *version != "0") {
      throw std::runtime_error("--id3 takes 3, 4 or 0 (no tags), not \"" + *version + "\"");
    }
    choice.version = std::stoi(*version);
  }
  if (!t.Empty()) t.track = track;
  return choice;
}

}  // namespace korvalin::cli
