#include "fileout/clsFileIo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "common/RaisedError.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

uint32_t Le32(const std::string& s, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}

std::string HeaderFor(const TempDir& dir, int64_t length) {
  clsFileIo f;
  EXPECT_TRUE(f.OpenFile(dir / "h.wav"));
  EXPECT_TRUE(f.writeWavHeader(length));
  EXPECT_TRUE(f.CloseFile());
  return ReadFile(dir / "h.wav");
}

TEST(clsFileIo, WritesTheCdWavHeaderByteForByte) {
  TempDir dir;
  const std::string empty = HeaderFor(dir, 0);
  const std::string expected0 = std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0data\0\0\0\0", 44);
  EXPECT_EQ(empty, expected0);

  const std::string million = HeaderFor(dir, 1000000);
  ASSERT_EQ(million.size(), 44u);
  EXPECT_EQ(Le32(million, 4), 1000036u);
  EXPECT_EQ(Le32(million, 40), 1000000u);
  EXPECT_EQ(million.substr(8, 32), expected0.substr(8, 32));

  EXPECT_EQ(Le32(HeaderFor(dir, 2147483611), 4), 2147483647u);
}

TEST(clsFileIo, HeaderLengthWhoseRiffLengthOverflowsRaisesAndWritesNothing) {
  TempDir dir;
  clsFileIo f;
  ASSERT_TRUE(f.OpenFile(dir / "o.wav"));
  try {
    f.writeWavHeader(2147483612);
    FAIL() << "no overflow raised";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::Overflow);
  }
  f.CloseFile();
  EXPECT_EQ(test::FileSize(dir / "o.wav"), 0);
}

TEST(clsFileIo, ReadPastTheEndSucceedsAndKeepsTheRealCount) {
  TempDir dir;
  WriteFile(dir / "in.bin", "0123456789");
  clsFileIo f;
  ASSERT_TRUE(f.OpenFile(dir / "in.bin"));
  char buf[64] = {};
  EXPECT_NE(f.ReadBytes(buf, 4), 0);
  EXPECT_EQ(f.TransferCount(), 4);
  EXPECT_NE(f.ReadBytes(buf, 64), 0);
  EXPECT_EQ(f.TransferCount(), 6);
  EXPECT_EQ(std::string(buf, 6), "456789");
  EXPECT_NE(f.ReadBytes(buf, 64), 0);  // at the end: still success, nothing read
  EXPECT_EQ(f.TransferCount(), 0);
  EXPECT_TRUE(f.CloseFile());
  EXPECT_EQ(ReadFile(dir / "in.bin"), "0123456789");  // an object that only read changes nothing
}

TEST(clsFileIo, AfterAFailedOpenEveryCallDoesNothingAndReportsFailure) {
  TempDir dir;
  clsFileIo f;
  EXPECT_EQ(f.Handle(), 0);
  EXPECT_FALSE(f.OpenFile(dir / "no-such-folder/x.wav"));
  EXPECT_EQ(f.Handle(), clsFileIo::kInvalidHandle);
  EXPECT_EQ(f.FileName(), "");
  char buf[4] = {};
  EXPECT_FALSE(f.WriteBytes(buf, 4));
  EXPECT_EQ(f.ReadBytes(buf, 4), 0);
  EXPECT_FALSE(f.writeWavHeader(0));
  EXPECT_FALSE(f.CloseFile());
  EXPECT_EQ(f.LastResult(), 0);  // no close call was made
}

TEST(clsFileIo, WritingAShorterFileOverALongerOneLeavesNoOldTail) {
  TempDir dir;
  WriteFile(dir / "t.mp3", std::string(5000, 'x'));
  clsFileIo f;
  ASSERT_TRUE(f.OpenFile(dir / "t.mp3"));
  EXPECT_TRUE(f.WriteBytes("abc", 3));
  EXPECT_TRUE(f.WriteBytes("de", 2));
  EXPECT_TRUE(f.CloseFile());
  EXPECT_EQ(ReadFile(dir / "t.mp3"), "abcde");
}

TEST(clsFileIo, HoldsTheFileExclusivelyUntilClosed) {
  TempDir dir;
  clsFileIo first, second;
  ASSERT_TRUE(first.OpenFile(dir / "x.wav"));
  EXPECT_FALSE(second.OpenFile(dir / "x.wav"));
  EXPECT_TRUE(first.CloseFile());
  EXPECT_TRUE(second.OpenFile(dir / "x.wav"));
}

TEST(clsFileIo, ReportsAFailedWriteWhenTheDiskIsFull) {
  if (!test::Exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  clsFileIo f;
  ASSERT_TRUE(f.OpenFile("/dev/full"));
  char block[512] = {};
  EXPECT_FALSE(f.WriteBytes(block, sizeof block));
  EXPECT_EQ(f.TransferCount(), 0);
  EXPECT_TRUE(f.CloseFile());
}

}  // namespace
}  // namespace korvalin
