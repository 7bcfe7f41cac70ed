#include "common/Numeric.h"

#include <gtest/gtest.h>

#include "common/RaisedError.h"
#include "tests/support/RaisedErrors.h"

namespace korvalin {
namespace {

using test::ErrorNumberOf;

TEST(Val, ReadsTheLeadingNumberAndStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(Val("  42abc"), 42);
  EXPECT_EQ(Val(" 12"), 12);
  EXPECT_EQ(Val("Track 12"), 0);      // no leading number
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("-7.25 kb"), -7.25);
  EXPECT_EQ(Val("1e3x"), 1000);
  EXPECT_EQ(Val("3e"), 3);            // an exponent without digits is not read
  EXPECT_EQ(Val("."), 0);
  EXPECT_EQ(Val("4294967295"), 4294967295.0);
  EXPECT_EQ(Val(" 3-"), 3);           // characters 6 to 8 of "Track  3 - 4:05"
}

TEST(CInt16, RoundsHalvesToEvenAndRaisesOverflowOutsideTheRange) {
  EXPECT_EQ(CInt16(2.5), 2);
  EXPECT_EQ(CInt16(3.5), 4);
  EXPECT_EQ(CInt16(-2.5), -2);
  EXPECT_EQ(CInt16(0.49), 0);
  EXPECT_EQ(CInt16(32767.0), 32767);
  EXPECT_EQ(CInt16(-32768.0), -32768);
  EXPECT_EQ(CInt16(32767.4), 32767);
  EXPECT_EQ(ErrorNumberOf([] { CInt16(32767.5); }), errnum::Overflow);
  EXPECT_EQ(ErrorNumberOf([] { CInt16(-32768.6); }), errnum::Overflow);
  EXPECT_EQ(ErrorNumberOf([] { CInt32(2147483648.0); }), errnum::Overflow);
}

TEST(CInt16, FromTextIgnoresBlanksAndRefusesWhatIsNotANumber) {
  EXPECT_EQ(CInt16(std::string_view(" 8 ")), 8);
  EXPECT_EQ(CInt16(std::string_view("4.5")), 4);
  EXPECT_EQ(CInt16(std::string_view("-1")), -1);
  EXPECT_EQ(ErrorNumberOf([] { CInt16(std::string_view("abc")); }), errnum::TypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { CInt16(std::string_view("12x")); }), errnum::TypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { CInt16(std::string_view("")); }), errnum::TypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { CInt16(std::string_view("40000")); }), errnum::Overflow);
}

TEST(Format, PadsIntegerDigitsAndRoundsToTheDecimalsOfThePattern) {
  EXPECT_EQ(Format(7.5, "00.00"), "07.50");
  EXPECT_EQ(Format(7.5, "00.0"), "07.5");
  EXPECT_EQ(Format(100, "00.00"), "100.00");
  EXPECT_EQ(Format(0, "00.00"), "00.00");
  EXPECT_EQ(Format(99.999, "00.00"), "100.00");  // rounding carries into a new digit
  EXPECT_EQ(Format(1.005, "0.00"), "1.01");      // rounds the decimal reading, half away from zero
  EXPECT_EQ(Format(2.345, "00.0"), "02.3");
  EXPECT_EQ(Format(0.004, "00.00"), "00.00");
  EXPECT_EQ(Format(-3.25, "00.0"), "-03.3");
  EXPECT_EQ(Format(-0.001, "00.00"), "00.00");   // no sign on a value that rounds to zero
  EXPECT_EQ(Format(12345.678, "0"), "12346");
  EXPECT_EQ(Format(1e-9, "00.00"), "00.00");
}

TEST(FormatGeneral, ShowsSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(2.5), "2.5");
  EXPECT_EQ(FormatGeneral(100), "100");
  EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.3333333");
  EXPECT_EQ(FormatGeneral(15000000000.0), "1.5E+10");
}

}  // namespace
}  // namespace korvalin
