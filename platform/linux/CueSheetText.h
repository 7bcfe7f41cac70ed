#pragma once
// A disc image's text: its CUE sheet's TITLE, PERFORMER and SONGWRITER lines at disc level
// (before the first TRACK) and track level, and the disc's REM DATE. Read from the sheet's text
// line by line: libcue's own accessor for these shares its name with one of libcdio's, and in a
// program that links both the call reaches the wrong library.

#include <string>

#include "platform/DiscText.h"

namespace korvalin {

DiscText SheetDiscText(const std::string& sheetText);

}  // namespace korvalin
