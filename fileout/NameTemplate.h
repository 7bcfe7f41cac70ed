#pragma once
// File names built from a template and a track's tags, such as "%albumartist%/%album%/%track% - %title%".
// "/" in the template makes sub-folders; what a field holds can never add a folder, climb out of
// the destination, or make a hidden or empty name, whatever the disc information says.

#include <cstddef>
#include <string>
#include <vector>

#include "common/TrackTags.h"

namespace korvalin {

// The template offered until the user writes another.
inline constexpr const char* kDefaultNameTemplate = "%albumartist%/%album%/%track% - %title%";
// The longest name of one folder or file most Linux file systems take, in bytes.
inline constexpr std::size_t kLongestNameBytes = 255;

// A name built from the template: the sub-folders under the destination and the file's name
// without its extension. Every part is a name a file system takes, none empty, none "." or "..".
struct TemplateName {
  std::vector<std::string> folders;
  std::string stem;

  bool operator==(const TemplateName&) const = default;
};

// The fields: %artist% %album% %year% %track% %title% %disc% %albumartist%. %track% is
// zero-padded to as many digits as the disc's track count has (`tags.trackCount`, else
// `trackCount`); %year% is the year alone of a full date. An empty album artist is the
// artist and the other way round. Text that names no field stays as written. `fatSafe` also
// replaces the characters FAT file systems refuse (\ : * ? " < > |) and drops trailing dots
// and blanks.
TemplateName NameFromTemplate(const std::string& nameTemplate, const TrackTags& tags, int trackCount, bool fatSafe);

// "folders/stem" + `tail` (" (2).mp3", ".wav"), the stem cut at a character boundary so that
// the file's name, tail included, fits kLongestNameBytes.
std::string RelativePath(const TemplateName& name, const std::string& tail);

// The names a rip of the whole disc would write in an empty destination, track by track (the
// tags' track number, else its place + 1): relative paths with `extension`; a name a track before
// it took already gets " (2)", " (3)"…, as the rip does.
std::vector<std::string> NamesForDisc(const std::string& nameTemplate, const std::vector<TrackTags>& tracks,
                                      const std::string& extension, bool fatSafe);

// An example disc shown in the preview while no disc information is known.
std::vector<TrackTags> ExampleDisc();

// `text` cut to at most `bytes` bytes, never inside a UTF-8 character.
std::string CutAtCharacter(const std::string& text, std::size_t bytes);

}  // namespace korvalin
