// Where the tag writer puts a tag in files whose ends hold more than audio: other tag blocks
// before an ID3v1 tag stay byte for byte, and only a real tag at the very end is replaced.

#include <gtest/gtest.h>

#include <string>

#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// An APEv2 block: header, one text item, footer; both header and footer hold "APETAGEX".
std::string ApeBlock() {
  const std::string item = std::string("\x05\0\0\0\0\0\0\0", 8) + "Title" + '\0' + "Hello";
  const std::string frame = "APETAGEX" + std::string("\xD0\x07\0\0", 4) + std::string(20, '\x01');
  return frame + item + frame;
}

// A Lyrics3 v2 block: "LYRICSBEGIN", one field, the six-digit size and "LYRICS200".
std::string Lyrics3Block() { return "LYRICSBEGININD00002" "10" "000023LYRICS200"; }

std::string Tag(const std::string& marker, const std::string& title) {
  std::string tag = marker + title;
  tag.resize(kId3v1Size - 1, ' ');
  return tag + '\x0C';
}

TEST(Id3v1Placement, OnlyARealTagAtTheEndIsReplacedAndBlocksBeforeItStay) {
  TempDir dir;
  const std::string audio = std::string{'\xFF', '\xFB', '\x90', '\x00'} + std::string(4000, '\x55');
  struct Case {
    std::string name;
    std::string kept;  // bytes that must stay as they are, from the file's start
    std::string tail;  // what follows them: replaced when it is a tag, otherwise kept too
    bool replaced;
  } cases[] = {
      {"APEv2 then ID3v1", audio + ApeBlock(), Tag("TAG", "Old"), true},
      {"Lyrics3 then ID3v1", audio + Lyrics3Block(), Tag("TAG", "Old"), true},
      {"lower-case marker", audio, Tag("tag", "Old"), true},
      {"APEv2 without ID3v1", audio + ApeBlock(), "", false},
      {"taG in the audio", audio + "taG" + std::string(100, '\x33'), "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir / "song.mp3";
    WriteFile(path, c.kept + c.tail);
    WriteId3v1Tag(path, {"New", "Artist", "", "2024", "", "5"});
    const std::string after = ReadFile(path);
    ASSERT_EQ(after.size(), c.kept.size() + (c.replaced ? 0 : c.tail.size()) + kId3v1Size);
    EXPECT_EQ(after.substr(0, after.size() - kId3v1Size), c.replaced ? c.kept : c.kept + c.tail);
    Mp3Info info;
    GetMp3Info(path, info);
    EXPECT_TRUE(info.hasTag);
    EXPECT_EQ(info.title, "New");
  }
}

}  // namespace
}  // namespace korvalin
