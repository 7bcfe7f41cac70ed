#include "fileout/NameTemplate.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <string_view>

#include "common/Text.h"

namespace korvalin {
namespace {

constexpr char kReplacement = '_';
constexpr std::string_view kFatRefused = "\\:*?\"<>|";

// One UTF-8 character at the start of `text`: its code point and length; length 0 when the bytes
// there are no well-formed character (a stray continuation byte, a cut or overlong sequence, a
// surrogate).
struct Character {
  uint32_t code = 0;
  std::size_t length = 0;
};

Character NextCharacter(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  uint32_t code = 0, smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, smallest = 0x10000;
  } else {
    return {};
  }
  if (text.size() < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, length};
}

// Characters that reorder the text around them on screen: a name holding one can show its
// extension somewhere else than at its end. Right-to-left letters themselves stay.
bool ReordersText(uint32_t code) { return (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069); }

// Text as it may stand inside one name: no "/" (it would make a folder), no NUL, no control
// character (line breaks and tabs become blanks), no malformed UTF-8; with `fatSafe`, none of
// the characters FAT refuses either.
std::string Cleaned(std::string_view text, bool fatSafe) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const Character c = NextCharacter(text);
    if (c.length == 0) {
      out += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    if (c.code == '\n' || c.code == '\r' || c.code == '\t') {
      out += ' ';
    } else if (c.code == '/' || c.code < 0x20 || (c.code >= 0x7F && c.code <= 0x9F) ||
               (fatSafe && c.code < 0x80 && kFatRefused.find(static_cast<char>(c.code)) != std::string_view::npos)) {
      out += kReplacement;
    } else if (!ReordersText(c.code)) {
      out.append(text.substr(0, c.length));
    }
    text.remove_prefix(c.length);
  }
  return out;
}

std::string Padded(int number, int width) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

int DigitsOf(int number) { return static_cast<int>(std::to_string(number < 1 ? 1 : number).size()); }

// The year of "1994-05-02"; other text as it is.
std::string YearOf(const std::string& year) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (year.size() > 4 && digit(year[0]) && digit(year[1]) && digit(year[2]) && digit(year[3]) && year[4] == '-') {
    return year.substr(0, 4);
  }
  return year;
}

// The text a field stands for; false when `field` (lower-cased, without its "%") names none.
bool FieldText(const std::string& field, const TrackTags& tags, int trackCount, std::string& text) {
  const int count = tags.trackCount > 0 ? tags.trackCount : trackCount;
  if (field == "artist") {
    text = tags.artist.empty() ? tags.albumArtist : tags.artist;
  } else if (field == "albumartist") {
    text = tags.albumArtist.empty() ? tags.artist : tags.albumArtist;
  } else if (field == "album") {
    text = tags.album;
  } else if (field == "title") {
    text = tags.title;
  } else if (field == "year") {
    text = YearOf(tags.year);
  } else if (field == "track") {
    text = tags.track > 0 ? Padded(tags.track, DigitsOf(count)) : "";
  } else if (field == "disc") {
    text = tags.disc > 0 ? std::to_string(tags.disc) : "";
  } else {
    return false;
  }
  return true;
}

// One part of the template between "/" with its fields filled in, cleaned.
std::string FilledPart(std::string_view part, const TrackTags& tags, int trackCount, bool fatSafe) {
  std::string out;
  std::size_t literal = 0;  // start of the text not yet copied
  for (std::size_t i = 0; i < part.size(); ++i) {
    if (part[i] != '%') continue;
    const std::size_t close = part.find('%', i + 1);
    if (close == std::string_view::npos) break;
    std::string text;
    if (!FieldText(LCase(part.substr(i + 1, close - i - 1)), tags, trackCount, text)) continue;
    out += Cleaned(part.substr(literal, i - literal), fatSafe);
    out += Cleaned(text, fatSafe);
    literal = close + 1;
    i = close;
  }
  out += Cleaned(part.substr(literal), fatSafe);
  return out;
}

bool IsBlank(char c) { return c == ' '; }

// A part made a name of its own: blanks at either end go (with `fatSafe` trailing dots too,
// which FAT drops), leading dots become "_" so that nothing is hidden or climbs out, and an empty
// part becomes "_".
std::string Settled(std::string name, bool fatSafe) {
  while (!name.empty() && IsBlank(name.front())) name.erase(0, 1);
  while (!name.empty() && (IsBlank(name.back()) || (fatSafe && name.back() == '.'))) name.pop_back();
  for (char& c : name) {
    if (c != '.') break;
    c = kReplacement;
  }
  return name.empty() ? std::string(1, kReplacement) : name;
}

}  // namespace

std::string CutAtCharacter(const std::string& text, std::size_t bytes) {
  if (text.size() <= bytes) return text;
  std::size_t end = bytes;
  // Back over continuation bytes to the start of the character that does not fit.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

TemplateName NameFromTemplate(const std::string& nameTemplate, const TrackTags& tags, int trackCount, bool fatSafe) {
  const std::string_view whole = Trim(nameTemplate).empty() ? std::string_view(kDefaultNameTemplate) : nameTemplate;
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= whole.size()) {
    const std::size_t slash = std::min(whole.find('/', start), whole.size());
    const std::string_view part = whole.substr(start, slash - start);
    // "//", a leading "/" or a trailing one makes no folder: every name stays under the destination.
    if (!Trim(part).empty()) parts.push_back(Settled(FilledPart(part, tags, trackCount, fatSafe), fatSafe));
    start = slash + 1;
  }
  TemplateName name;
  if (parts.empty()) parts.emplace_back(1, kReplacement);
  name.stem = parts.back();
  parts.pop_back();
  for (auto& folder : parts) name.folders.push_back(Settled(CutAtCharacter(folder, kLongestNameBytes), fatSafe));
  return name;
}

std::string RelativePath(const TemplateName& name, const std::string& tail) {
  std::string path;
  for (const auto& folder : name.folders) path += folder + "/";
  const std::size_t room = tail.size() < kLongestNameBytes ? kLongestNameBytes - tail.size() : 1;
  std::string stem = CutAtCharacter(name.stem, room);
  if (stem.empty()) stem = std::string(1, kReplacement);
  return path + stem + tail;
}

std::vector<std::string> NamesForDisc(const std::string& nameTemplate, const std::vector<TrackTags>& tracks,
                                      const std::string& extension, bool fatSafe) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    TrackTags tags = tracks[i];
    if (tags.track <= 0) tags.track = static_cast<int>(i) + 1;
    const TemplateName name = NameFromTemplate(nameTemplate, tags, static_cast<int>(tracks.size()), fatSafe);
    std::string path = RelativePath(name, extension);
    for (int n = 2; taken.count(path) != 0; ++n) path = RelativePath(name, " (" + std::to_string(n) + ")" + extension);
    taken.insert(path);
    names.push_back(path);
  }
  return names;
}

std::vector<TrackTags> ExampleDisc() {
  static const char* const kTitles[] = {"Morning Tide", "Paper Lanterns", "The Long Road", "Glass Harbour",
                                        "Quiet Engines", "Northern Line", "Salt and Cedar", "After the Rain",
                                        "Lighthouse", "Homeward"};
  std::vector<TrackTags> disc;
  const int count = static_cast<int>(std::size(kTitles));
  for (int i = 0; i < count; ++i) {
    TrackTags t;
    t.title = kTitles[i];
    t.artist = t.albumArtist = "The Example Band";
    t.album = "First Light";
    t.year = "2001";
    t.track = i + 1;
    t.trackCount = count;
    t.disc = 1;
    t.discCount = 1;
    disc.push_back(std::move(t));
  }
  return disc;
}

}  // namespace korvalin
