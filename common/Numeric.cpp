#include "common/Numeric.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest number at the start of `s` (sign, digits, point, exponent), and whether
// it held at least one digit of mantissa.
std::size_t NumberPrefix(std::string_view s, bool& hasDigits) {
  std::size_t i = 0;
  hasDigits = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && IsDigit(s[i])) {
    ++i;
    hasDigits = true;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) {
      ++i;
      hasDigits = true;
    }
  }
  if (hasDigits && i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

double ParseNumber(std::string_view s) {
  std::string text(s);
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  return std::strtod(text.c_str(), nullptr);
}

template <typename Int>
Int RoundChecked(double value) {
  if (std::isnan(value)) throw RaisedError::Of(errnum::Overflow);
  const double r = std::nearbyint(value);  // default rounding: halves to even
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw RaisedError::Of(errnum::Overflow);
  }
  return static_cast<Int>(r);
}

}  // namespace

double Val(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  const std::string_view rest = text.substr(start);
  bool hasDigits = false;
  const std::size_t len = NumberPrefix(rest, hasDigits);
  if (!hasDigits) return 0.0;
  return ParseNumber(rest.substr(0, len));
}

int16_t CInt16(double value) { return RoundChecked<int16_t>(value); }
int32_t CInt32(double value) { return RoundChecked<int32_t>(value); }

int16_t CInt16(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  const std::string_view core = text.substr(b, e - b);
  bool hasDigits = false;
  if (core.empty() || NumberPrefix(core, hasDigits) != core.size() || !hasDigits) {
    throw RaisedError::Of(errnum::TypeMismatch);
  }
  return CInt16(ParseNumber(core));
}

std::string Format(double value, std::string_view pattern) {
  int intDigits = 0, decimals = 0;
  bool afterPoint = false;
  for (char c : pattern) {
    if (c == '.') afterPoint = true;
    else if (c == '0') (afterPoint ? decimals : intDigits)++;
  }
  if (!std::isfinite(value)) return value != value ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");

  // Work on the decimal digits of the value (16 significant), as the value reads in decimal,
  // and round that text, so 1.005 formats as 1.01 rather than the binary 1.00499...
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15e", std::fabs(value));
  std::string digits;
  digits += buf[0];
  const char* p = buf + 2;
  while (*p && *p != 'e') digits += *p++;
  const int exponent = std::atoi(p + 1);

  // Digits kept: those before the point (exponent + 1) and `decimals` after it.
  int pointPos = exponent + 1;  // position of the decimal point within `digits`
  int keep = pointPos + decimals;
  if (keep < 0) {
    digits.assign(1, '0');
    pointPos = 1;
    keep = 1 + decimals;
  }
  while (static_cast<int>(digits.size()) <= keep) digits += '0';
  const bool roundUp = keep < static_cast<int>(digits.size()) && digits[keep] >= '5';
  digits.resize(keep);
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits = '1' + digits;
      ++pointPos;
    }
  }
  // Left-pad so that there is a place for every integer digit, then split at the point.
  if (pointPos < 0) {
    digits = std::string(static_cast<std::size_t>(-pointPos), '0') + digits;
    pointPos = 0;
  }
  std::string intPart = digits.substr(0, pointPos);
  std::string fracPart = digits.substr(pointPos, decimals);
  while (fracPart.size() < static_cast<std::size_t>(decimals)) fracPart += '0';
  std::size_t firstNonZero = intPart.find_first_not_of('0');
  intPart = firstNonZero == std::string::npos ? "" : intPart.substr(firstNonZero);
  if (intPart.size() < static_cast<std::size_t>(intDigits)) {
    intPart = std::string(static_cast<std::size_t>(intDigits) - intPart.size(), '0') + intPart;
  }

  const bool isZero = intPart.find_first_not_of('0') == std::string::npos &&
                      fracPart.find_first_not_of('0') == std::string::npos;
  std::string out = (value < 0 && !isZero) ? "-" : "";
  out += intPart;
  if (decimals > 0) out += "." + fracPart;
  return out;
}

std::string FormatGeneral(double value, int significant) {
  if (value == 0.0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", significant, value);
  std::string s(buf);
  const std::size_t e = s.find('e');
  if (e != std::string::npos) s[e] = 'E';
  return s;
}

}  // namespace korvalin
