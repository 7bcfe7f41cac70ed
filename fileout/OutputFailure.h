#pragma once
// The messages shown when an output file cannot be made or written, the same for every job that
// writes audio (rips, encoding, decoding).

#include <string>

namespace korvalin {

// The message shown when an output file cannot be written (a full disk, a removed folder).
std::string WriteFailureText(const std::string& path);
// The message shown when an output file cannot be created at all.
std::string CannotCreateText(const std::string& path);
// The same with the cause in words ("Permission denied", "it is a directory"); an empty cause
// gives the texts above.
std::string WriteFailureText(const std::string& path, const std::string& cause);
std::string CannotCreateText(const std::string& path, const std::string& cause);
// The system's words for error number `error`; empty for 0.
std::string SystemReason(int error);

}  // namespace korvalin
