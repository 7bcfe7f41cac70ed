#pragma once
// The program's help file, opened in the desktop's help viewer.

#include "platform/Services.h"

namespace korvalin {

// Opens the help file from the program's data folder (the program's own folder becomes the
// working folder first); says it cannot find the file when that folder or the file fails.
void ShowProgramHelp(Services& services);

}  // namespace korvalin
