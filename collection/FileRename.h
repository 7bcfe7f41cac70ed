#pragma once
// Renaming a file on disk without ever replacing another one.

#include <string>

namespace korvalin {

// Renames the file `from` to `to`. A name already in use is refused with the file-already-exists
// error (the plain system rename would silently replace that file); other failures raise the
// error the system reports.
void RenameFile(const std::string& from, const std::string& to);

}  // namespace korvalin
