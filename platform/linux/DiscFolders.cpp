#include "platform/linux/DiscFolders.h"

#include "platform/UserFolders.h"
#include "platform/linux/ProgramFolder.h"

namespace korvalin {

std::vector<std::string> DiscImageFolders(const std::string& programFolder) { return DiscFolders(programFolder); }

std::vector<std::string> DiscImageFolders() { return DiscImageFolders(ProgramFolder()); }

}  // namespace korvalin
