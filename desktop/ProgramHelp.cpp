#include "desktop/ProgramHelp.h"

#include <unistd.h>

#include "common/RaisedError.h"
#include "platform/UserFolders.h"

namespace korvalin {

void ShowProgramHelp(Services& services) {
  try {
    if (::chdir(services.programFolder.c_str()) != 0) throw RaisedError::Of(errnum::PathNotFound);
    if (!services.help.ShowHelp(ProgramDataFolder(services.programFolder) + "/Tesmor2.chm")) throw RaisedError::Of(errnum::FileNotFound);
  } catch (const std::exception&) {
    services.dialogs.MsgBox("Can't find \"Tesmor2.chm\"");
    services.screen.SetMousePointer(controls::MousePointer::Default);
  }
}

}  // namespace korvalin
