#pragma once
// Where a file named on a CUE sheet lies. Sheets are often written on other systems: their names
// use "\" between folders, differ in case from the files on disk, or carry the folder of the
// machine that wrote them. A name is tried as written, then with "\" as "/", then matching each
// part of the path without regard to case, then by its last part beside the sheet (as written,
// then without regard to case). Looking never opens a file.

#include <string>

namespace korvalin {

// The path of the file `name` (from a FILE line of the sheet in `sheetFolder`) reaches: the first
// of the tries above that names an existing entry of any kind, else the name as written (relative
// names beside the sheet), so that opening it says why it is not there.
std::string FindSheetFile(const std::string& sheetFolder, const std::string& name);

}  // namespace korvalin
