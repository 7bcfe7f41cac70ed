#include "fileout/NameTemplate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <string>
#include <vector>

namespace korvalin {
namespace {

TrackTags Track(std::string title, int track = 3, int count = 12) {
  TrackTags t;
  t.title = std::move(title);
  t.artist = "Ana Ray";
  t.albumArtist = "Ana Ray";
  t.album = "Blue Hours";
  t.year = "1994-05-02";
  t.track = track;
  t.trackCount = count;
  t.disc = 2;
  t.discCount = 2;
  return t;
}

const std::string k255(255, 'x');

TEST(NameTemplate, TemplateAndDiscInformationGiveThesePaths) {
  struct Row {
    const char* what;
    std::string nameTemplate;
    TrackTags tags;
    bool fatSafe;
    std::string expected;  // relative path, ".mp3" added
  };
  TrackTags compilation = Track("Song");
  compilation.artist = "Guest";
  compilation.albumArtist = "Various";
  TrackTags noAlbumArtist = Track("Song");
  noAlbumArtist.albumArtist.clear();
  TrackTags noArtist = Track("Song");
  noArtist.artist.clear();
  TrackTags nothingKnown;
  nothingKnown.track = 7;
  TrackTags shortYear = Track("Song");
  shortYear.year = "1994";
  const std::vector<Row> rows{
      {"the default", kDefaultNameTemplate, Track("Song"), false, "Ana Ray/Blue Hours/03 - Song.mp3"},
      {"every field", "%year% %disc%-%track% %artist% %albumartist% %album% %title%", Track("Song"), false,
       "1994 2-03 Ana Ray Ana Ray Blue Hours Song.mp3"},
      {"fields in any case", "%TITLE% (%Artist%)", Track("Song"), false, "Song (Ana Ray).mp3"},
      {"a year alone stays", "%year%", shortYear, false, "1994.mp3"},
      {"nine tracks: one digit", "%track%", Track("Song", 3, 9), false, "3.mp3"},
      {"a hundred tracks: three digits", "%track%", Track("Song", 3, 100), false, "003.mp3"},
      {"compilation: folder by album artist", "%albumartist%/%artist% - %title%", compilation, false,
       "Various/Guest - Song.mp3"},
      {"no album artist: the artist", "%albumartist%/%title%", noAlbumArtist, false, "Ana Ray/Song.mp3"},
      {"no track artist: the album artist", "%artist%", noArtist, false, "Ana Ray.mp3"},
      {"unknown fields and lone % stay", "100% %mood% %title%", Track("Song"), false, "100% %mood% Song.mp3"},
      {"nothing known: empty parts become _", "%artist%/%album%/%track% %title%", nothingKnown, false,
       "_/_/07.mp3"},
      {"empty template: the default", "  ", Track("Song"), false, "Ana Ray/Blue Hours/03 - Song.mp3"},
      {"a leading slash stays under the destination", "/%album%//%title%/", Track("Song"), false,
       "Blue Hours/Song.mp3"},
      {"a template's .. cannot climb", "../../%title%", Track("Song"), false, "__/__/Song.mp3"},
      // Unsafe text in the disc information.
      {"slash in a title", "%album%/%title%", Track("AC/DC"), false, "Blue Hours/AC_DC.mp3"},
      {"title ..", "%title%", Track(".."), false, "__.mp3"},
      {"title . and a folder", "%title%/x", Track("."), false, "_/x.mp3"},
      {"hidden title", "%title%", Track(".hidden"), false, "_hidden.mp3"},
      {"climbing title", "%title%", Track("../../etc/passwd"), false, "___.._etc_passwd.mp3"},
      {"newline and tab", "%title%", Track("One\nTwo\tThree\r"), false, "One Two Three.mp3"},
      {"control characters and NUL", "%title%", Track(std::string("a\x01" "b\x7f" "c\0d", 7)), false,
       "a_b_c_d.mp3"},
      {"C1 control", "%title%", Track("a\xc2\x85" "b"), false, "a_b.mp3"},
      {"malformed UTF-8", "%title%", Track("a\xff\xc3" "b"), false, "a__b.mp3"},
      {"blank title", "%title%", Track("   "), false, "_.mp3"},
      {"blanks around", "%title%", Track("  Song  "), false, "Song.mp3"},
      {"FAT characters kept without the box", "%title%", Track("What? \"Yes\": <a|b> *\\"), false,
       "What? \"Yes\": <a|b> *\\.mp3"},
      {"FAT characters replaced on request", "%title%", Track("What? \"Yes\": <a|b> *\\"), true,
       "What_ _Yes__ _a_b_ __.mp3"},
      {"FAT: trailing dots dropped", "%album%/%title%", Track("Song..."), true, "Blue Hours/Song.mp3"},
      {"right-to-left text stays", "%title%", Track("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d"), false,
       "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d.mp3"},
      {"a reordering mark goes", "%title%", Track("evil\xe2\x80\xaegpj.exe"), false, "evilgpj.exe.mp3"},
      {"emoji", "%title%", Track("Fire \xf0\x9f\x94\xa5"), false, "Fire \xf0\x9f\x94\xa5.mp3"},
      {"600 characters: cut to 255 bytes with the extension", "%title%", Track(std::string(600, 'x')), false,
       std::string(251, 'x') + ".mp3"},
      {"a long folder is cut too", "%album%/%title%", [] {
         TrackTags t = Track("Song");
         t.album = std::string(300, 'a');
         return t;
       }(), false, std::string(255, 'a') + "/Song.mp3"},
      {"emoji never cut in half", "%title%", Track("x" + [] {
         std::string s;
         for (int i = 0; i < 150; ++i) s += "\xf0\x9f\x94\xa5";
         return s;
       }()), false, "x" + [] {
         std::string s;
         for (int i = 0; i < 62; ++i) s += "\xf0\x9f\x94\xa5";  // 1 + 62 × 4 = 249 bytes, 4 more would be 257
         return s;
       }() + ".mp3"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const TemplateName name = NameFromTemplate(row.nameTemplate, row.tags, 12, row.fatSafe);
    const std::string path = RelativePath(name, ".mp3");
    EXPECT_EQ(path, row.expected);
    std::size_t start = 0;
    while (start <= path.size()) {  // every part a plain name a file system takes
      const std::size_t slash = std::min(path.find('/', start), path.size());
      const std::string part = path.substr(start, slash - start);
      EXPECT_FALSE(part.empty());
      EXPECT_NE(part[0], '.') << part;
      EXPECT_LE(part.size(), kLongestNameBytes);
      EXPECT_EQ(part.find('\0'), std::string::npos);
      start = slash + 1;
    }
  }
}

TEST(NameTemplate, CutsOnlyAtCharacterBoundaries) {
  struct Row {
    std::string text;
    std::size_t bytes;
    std::string expected;
  };
  const std::string e = "\xc3\xa9";  // é, two bytes
  const std::vector<Row> rows{
      {"abc", 5, "abc"}, {"abc", 2, "ab"}, {"a" + e, 2, "a"}, {"a" + e, 3, "a" + e}, {e + e, 3, e}, {"", 0, ""},
  };
  for (const Row& row : rows) EXPECT_EQ(CutAtCharacter(row.text, row.bytes), row.expected) << row.text;
}

TEST(NameTemplate, NamesForTheWholeDiscNumberTheNamesTakenTwice) {
  struct Row {
    const char* what;
    std::string nameTemplate;
    std::vector<std::string> expected;
  };
  std::vector<TrackTags> disc{Track("Intro", 1, 3), Track("Intro", 2, 3), Track("Outro", 0, 3)};
  const std::vector<Row> rows{
      {"distinct names", "%track% %title%", {"1 Intro.wav", "2 Intro.wav", "3 Outro.wav"}},
      {"the same title twice", "%album%/%title%", {"Blue Hours/Intro.wav", "Blue Hours/Intro (2).wav", "Blue Hours/Outro.wav"}},
      {"one name for all", "%album%", {"Blue Hours.wav", "Blue Hours (2).wav", "Blue Hours (3).wav"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(NamesForDisc(row.nameTemplate, disc, ".wav", false), row.expected);
  }
  const std::vector<std::string> numbered = NamesForDisc("%title%", {Track(k255, 1, 2), Track(k255, 2, 2)}, ".wav", false);
  ASSERT_EQ(numbered.size(), 2u);
  EXPECT_EQ(numbered[1], std::string(247, 'x') + " (2).wav");  // the number fits inside 255 bytes
}

TEST(NameTemplate, TheExampleDiscNamesEveryTrackApart) {
  const std::vector<TrackTags> disc = ExampleDisc();
  ASSERT_GE(disc.size(), 10u);
  const std::vector<std::string> names = NamesForDisc(kDefaultNameTemplate, disc, ".mp3", false);
  EXPECT_EQ(names.front(), "The Example Band/First Light/01 - Morning Tide.mp3");
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
}

}  // namespace
}  // namespace korvalin
