#pragma once
// Text from outside in the program's encoding, UTF-8. An old database entry may be Latin-1
// whatever its server claims; bytes that are not valid UTF-8 are taken as Latin-1.

#include <string>
#include <string_view>

namespace korvalin {

bool IsValidUtf8(std::string_view bytes);

// The bytes as they are when they are valid UTF-8; otherwise each byte as a Latin-1 character.
std::string Utf8FromUtf8OrLatin1(std::string_view bytes);

}  // namespace korvalin
