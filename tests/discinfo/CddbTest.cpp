#include <gtest/gtest.h>

#include "discinfo/CddbResponse.h"
#include "discinfo/TextEncoding.h"
#include "discinfo/XmcdRecord.h"
#include "tests/support/DiscInfoAnswers.h"

namespace korvalin {
namespace {

TEST(CddbResponse, QueryAnswers) {
  const struct {
    const char* body;
    std::size_t matches;
    bool exact;
    const char* problem;
  } rows[] = {
      {"200 rock a70de90c Anna Vector / Vector Album\r\n", 1, true, ""},
      {"210 Found exact matches, list follows (until terminating `.')\nrock a70de90c A / B\njazz a70de90d C / D\n.\n", 2, true, ""},
      {"211 Found inexact matches, list follows (until terminating `.')\nrock a70de90c A / B\n.\n", 1, false, ""},
      {"211 Found inexact matches\nrock a70de90c A / B\n", 0, false, "the list of matches was cut short"},
      {"211 Found inexact matches\n.\n", 0, false, "the list of matches is empty"},
      {"211 x\nnot-hex zzzz A\n.\n", 0, false, "the list of matches is empty"},
      {"202 No match found\r\n", 0, false, "no entry for this disc"},
      {"403 Database entry is corrupt\r\n", 0, false, "the entry for this disc is corrupt"},
      {"500 Command syntax error\r\n", 0, false, "query refused (500 Command syntax error)"},
      {"409 No handshake\r\n", 0, false, "query refused (409 No handshake)"},
      {"<html>oops</html>", 0, false, "the answer is not a CDDB answer"},
      {"", 0, false, "the answer is not a CDDB answer"},
      {"2000 too many digits", 0, false, "the answer is not a CDDB answer"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.body);
    const CddbQueryResult r = ReadCddbQuery(row.body);
    EXPECT_EQ(r.matches.size(), row.matches);
    EXPECT_EQ(r.exact, row.exact);
    EXPECT_EQ(r.problem, row.problem);
  }
  const CddbQueryResult two = ReadCddbQuery(test::GnudbQueryTwoMatches());
  ASSERT_EQ(two.matches.size(), 2u);
  EXPECT_EQ(two.matches[1].category, "misc");
  EXPECT_EQ(two.matches[1].discId, "a70de90c");
  EXPECT_EQ(two.matches[1].title, "Anna Vector / Vector Album (bootleg)");
}

TEST(CddbResponse, ReadAnswers) {
  EXPECT_EQ(ReadCddbRead("210 rock a70de90c entry\nDTITLE=A / B\n.\n").record, "DTITLE=A / B");
  EXPECT_EQ(ReadCddbRead("210 rock a70de90c entry\nDTITLE=A / B\n").problem, "the entry was cut short");
  EXPECT_EQ(ReadCddbRead("401 Specified CDDB entry not found.\n").problem, "the listed entry cannot be found");
  EXPECT_EQ(ReadCddbRead("402 Server error.\n").problem, "entry refused (402 Server error.)");
}

TEST(XmcdRecord, TheEntryOfTheExampleDisc) {
  const XmcdRecord r = ParseXmcd(ReadCddbRead(test::GnudbRockEntry()).record);
  EXPECT_EQ(r.discId, "a70de90c");
  EXPECT_EQ(r.artist, "Anna Vector");
  EXPECT_EQ(r.album, "Vector Album");
  EXPECT_EQ(r.year, "1994");
  EXPECT_EQ(r.genre, "Synthpop");
  EXPECT_EQ(r.extended, "Recorded\nlive");
  ASSERT_EQ(r.trackTitles.size(), 12u);
  EXPECT_EQ(r.trackTitles[0], "Song 1");
  EXPECT_EQ(r.trackTitles[3], "A title long enough to be split over two lines");
  ASSERT_EQ(r.frameOffsets.size(), 12u);
  EXPECT_EQ(r.frameOffsets[11], 174597);
  EXPECT_EQ(r.discSeconds, 3563);
}

TEST(XmcdRecord, TitlesArtistsAndGaps) {
  const XmcdRecord same = ParseXmcd("DTITLE=Greatest Hits\nTTITLE2=Three\n");
  EXPECT_EQ(same.artist, "Greatest Hits");  // no " / ": artist and album are the same
  EXPECT_EQ(same.album, "Greatest Hits");
  EXPECT_EQ(same.trackTitles, (std::vector<std::string>{"", "", "Three"}));

  const XmcdRecord various = ParseXmcd("DTITLE=Various / Mix\nTTITLE0=Singer / Song\nTTITLE1=No Slash\n");
  EXPECT_EQ(various.trackArtists, (std::vector<std::string>{"Singer", ""}));
  EXPECT_EQ(various.trackTitles, (std::vector<std::string>{"Song", "No Slash"}));

  const XmcdRecord odd = ParseXmcd("TTITLE99999=far\nTTITLEx=y\nTTITLE-1=z\nDISCID=a,b\nDISCID=c\n");
  EXPECT_TRUE(odd.trackTitles.empty());
  EXPECT_EQ(odd.discId, "a");
}

TEST(TextEncoding, Utf8StaysLatin1IsConverted) {
  EXPECT_EQ(Utf8FromUtf8OrLatin1("Caf\xc3\xa9"), "Caf\xc3\xa9");
  EXPECT_EQ(Utf8FromUtf8OrLatin1("Caf\xe9 Bl\xfc"), "Caf\xc3\xa9 Bl\xc3\xbc");
  for (const char* invalid : {"\xc3", "\xe2\x82", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xff"}) {
    SCOPED_TRACE(invalid);
    EXPECT_FALSE(IsValidUtf8(invalid));
  }
  EXPECT_TRUE(IsValidUtf8("\xf0\x9f\x8e\xb5 \xe2\x82\xac"));
}

}  // namespace
}  // namespace korvalin
