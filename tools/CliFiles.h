#pragma once
// What korvalin-cli says about the files a command is given and the files it writes.

#include <string>

namespace korvalin::cli {

// Empty when `path` is a regular file; otherwise why it cannot be read as one, naming it: "no such
// file: X", "X is a directory", "X is a FIFO, not a file", "cannot read X: Permission denied".
// Only the name is examined, so a FIFO never blocks the command.
std::string NotAFile(const std::string& path);

// Says on standard error that the output went to `written` because another file took the name
// `asked` while the job ran.
void NoteRenamed(const std::string& asked, const std::string& written);

}  // namespace korvalin::cli
