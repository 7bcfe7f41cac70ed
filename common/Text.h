#pragma once
// Text helpers that count characters, not bytes: texts are UTF-8, and "the last four
// characters" of a name must never cut a character in half.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvalin {

// Number of characters in a UTF-8 text.
std::size_t Len(std::string_view s);

// The first / last n characters (the whole text when it is shorter).
std::string Left(std::string_view s, std::size_t n);
std::string Right(std::string_view s, std::size_t n);

// Characters from the 1-based position `start`, at most `count` of them (npos: to the end).
std::string Mid(std::string_view s, std::size_t start, std::size_t count = std::string_view::npos);

// The text without its last n characters; raises the invalid-argument error when it has fewer.
std::string DropRight(std::string_view s, std::size_t n);

// Lower-case form: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters.
std::string LCase(std::string_view s);

// The text without blanks at either end.
std::string Trim(std::string_view s);

}  // namespace korvalin
