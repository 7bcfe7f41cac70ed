#include "tools/CliFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvalin::cli {

std::string NotAFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return "no such file: " + path;
    return "cannot read " + path + ": " + std::strerror(errno);
  }
  if (S_ISREG(st.st_mode)) return {};
  if (S_ISDIR(st.st_mode)) return path + " is a directory";
  if (S_ISFIFO(st.st_mode)) return path + " is a FIFO, not a file";
  if (S_ISSOCK(st.st_mode)) return path + " is a socket, not a file";
  return path + " is a device, not a file";
}

void NoteRenamed(const std::string& asked, const std::string& written) {
  std::fprintf(stderr, "korvalin-cli: %s appeared while the job ran and was kept; the output is %s\n", asked.c_str(),
               written.c_str());
}

}  // namespace korvalin::cli
