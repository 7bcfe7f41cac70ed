#pragma once
// Conversions between text and numbers, done one way everywhere in the program.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvalin {

// The numeric value of a text: leading blanks are skipped, then a number is read (sign, digits,
// decimal point, exponent) up to the first character that cannot continue it. No digits give 0.
double Val(std::string_view text);

// Conversion to a 16-bit (or 32-bit) integer: halves round to the even neighbour; a result
// outside the type's range raises an overflow error.
int16_t CInt16(double value);
int32_t CInt32(double value);

// Conversion of a stored text to a 16-bit integer: surrounding blanks are ignored and the whole
// rest must be a number (else a type-mismatch error), then as CInt16.
int16_t CInt16(std::string_view text);

// A number in a digit pattern such as "00.00" or "00.0": at least as many digits before the
// point as the pattern has, exactly as many after, rounded half away from zero.
std::string Format(double value, std::string_view pattern);

// A number in general form: up to `significant` significant digits, no trailing zeros,
// an exponent ("1.5E+07") only for very large or small values.
std::string FormatGeneral(double value, int significant = 7);

}  // namespace korvalin
