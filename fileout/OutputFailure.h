#pragma once
// The messages shown when an output file cannot be made or written, the same for every job that
// writes audio (rips, encoding, decoding).

#include <string>

namespace korvalin {

// The message shown when an output file cannot be written (a full disk, a removed folder).
std::string WriteFailureText(const std::string& path);
// The message shown when an output file cannot be created at all.
std::string CannotCreateText(const std::string& path);

}  // namespace korvalin
