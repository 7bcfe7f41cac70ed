// korvalin-cli find: the File Finder's local search without its window. Prints the files found,
// one path a line in the order found, then the search's summary line.

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "finder/LocalSearch.h"
#include "tools/CliCommand.h"

namespace korvalin::cli {
namespace {

int Find(const std::vector<std::string>& args) {
  if (args.size() < 2 || args.size() > 3) return Fail("find takes DIR EXT [NAME]");
  const std::string& folder = args[0];
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Fail("no such folder: " + folder);
  // The search passes over folders it cannot read; the one it was asked for must not be one.
  if (DIR* dir = ::opendir(folder.c_str())) {
    ::closedir(dir);
  } else {
    return Fail("cannot read the folder " + folder + ": " + std::strerror(errno));
  }
  LocalSearch search(folder, NormalizeTypeFilter(args[1]), args.size() == 3 ? args[2] : std::string());
  search.events.found = [](const std::string& path) { std::printf("%s\n", path.c_str()); };
  search.Run();
  std::printf("%s\n", SearchSummary(search.Directories(), static_cast<int64_t>(search.Results().size())).c_str());
  return std::ferror(stdout) ? Fail("cannot write the list") : 0;
}

const CliRegistration registration({"find", "DIR EXT [NAME]",
                                    "List the files below DIR of type EXT (wav, .mp3, *.* for all), only those "
                                    "named NAME when given, as the File Finder does.",
                                    Find});

}  // namespace
}  // namespace korvalin::cli
