#include "common/Text.h"

#include <gtest/gtest.h>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

TEST(Text, CountsAndCutsCharactersNotBytes) {
  const std::string name = "Bj\xC3\xB6rk.wav";  // "Björk.wav": 9 characters, 10 bytes
  EXPECT_EQ(Len(name), 9u);
  EXPECT_EQ(Right(name, 4), ".wav");
  EXPECT_EQ(Left(name, 3), "Bj\xC3\xB6");
  EXPECT_EQ(Mid(name, 3, 3), "\xC3\xB6rk");
  EXPECT_EQ(Mid(name, 6), ".wav");
  EXPECT_EQ(Mid(name, 20), "");
  EXPECT_EQ(DropRight(name, 4), "Bj\xC3\xB6rk");
  EXPECT_EQ(Right("ab", 4), "ab");
  EXPECT_EQ(Left("ab", 0), "");
}

TEST(Text, RaisesInvalidArgumentForImpossibleCuts) {
  EXPECT_THROW(DropRight("abc", 4), RaisedError);
  EXPECT_EQ(DropRight("abcd", 4), "");
  try {
    Mid("abc", 0);
    FAIL();
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::InvalidArgument);
  }
}

TEST(Text, LowerCasesLettersBeyondAscii) {
  EXPECT_EQ(LCase("Song.WAV"), "song.wav");
  EXPECT_EQ(LCase("\xC3\x84RGER"), "\xC3\xA4rger");        // Ä -> ä
  EXPECT_EQ(LCase("\xD0\x9C\xD0\xA3"), "\xD0\xBC\xD1\x83");  // МУ -> му
  EXPECT_EQ(LCase("x\xFFy"), "x\xFFy");                      // a stray byte stays as it is
  EXPECT_EQ(Trim("  a b  "), "a b");
}

}  // namespace
}  // namespace korvalin
