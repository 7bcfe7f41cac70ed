#include "desktop/StartArguments.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/FileKind.h"
#include "common/RaisedError.h"

namespace korvalin {
namespace {

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// "%20" and the like, as file addresses carry them.
std::string PercentDecoded(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The device an audio CD's address or mount folder stands for; "" when the text is neither.
std::string CdDeviceOf(const std::string& arg) {
  std::string host;
  if (StartsWith(arg, "cdda://")) {
    host = arg.substr(7);
  } else if (const auto at = arg.find("/cdda:host="); at != std::string::npos) {
    host = arg.substr(at + 11);
  } else {
    return "";
  }
  host = host.substr(0, host.find('/'));
  return host.empty() ? "" : "/dev/" + host;
}

// The file a path finally names, so that "/dev/cdrom" and "/dev/sr0" are one drive.
std::string Resolved(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

}  // namespace

StartArguments ReadStartArguments(const std::vector<std::string>& args, const std::vector<std::string>& drivePaths) {
  StartArguments out;
  for (const std::string& given : args) {
    if (given == "--help" || given == "-h") {
      out.help = true;
      continue;
    }
    if (StartsWith(given, "-")) {
      out.complaints.push_back("korvalin: \"" + given + "\" is not an option of this program; it is left out.");
      continue;
    }
    const std::string path = StartsWith(given, "file://") ? PercentDecoded(given.substr(7)) : given;
    const std::string device = CdDeviceOf(path);
    const std::string resolved = Resolved(device.empty() ? path : device);
    bool isDrive = false;
    for (std::size_t i = 0; i < drivePaths.size(); ++i) {
      if (Resolved(drivePaths[i]) != resolved) continue;
      out.drive = static_cast<int32_t>(i);
      isDrive = true;
      break;
    }
    if (isDrive) continue;
    struct stat st {};
    if (!device.empty() || (::stat(path.c_str(), &st) == 0 && S_ISBLK(st.st_mode))) {
      out.complaints.push_back("korvalin: \"" + given + "\" is not a CD drive this program can read; it is left out.");
    } else if (::stat(path.c_str(), &st) != 0) {
      out.complaints.push_back("korvalin: \"" + given + "\" cannot be opened (" + ErrorFromErrno(errno).Description() +
                               "); it is left out.");
    } else if (!S_ISREG(st.st_mode) || (!IsWavFile(path) && !IsMp3File(path))) {
      out.complaints.push_back("korvalin: \"" + given + "\" is neither a WAV nor an MP3 file; it is left out.");
    } else {
      out.files.push_back(path);
    }
  }
  return out;
}

}  // namespace korvalin
