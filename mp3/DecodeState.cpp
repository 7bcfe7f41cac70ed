#include "mp3/DecodeState.h"

#include <sys/stat.h>

#include "settings/PathHelpers.h"

namespace korvalin {

std::string WavPathFor(const std::string& folder, const std::string& mp3Path) {
  return folder + "/" + FileTitleNoExt(mp3Path) + ".wav";
}

int64_t RegularFileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

}  // namespace korvalin
