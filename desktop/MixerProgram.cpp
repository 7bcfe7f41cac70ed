#include "desktop/MixerProgram.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

// The graphical mixers, most common first; each with the arguments that open its sound page.
const std::vector<std::vector<std::string>>& Candidates() {
  static const std::vector<std::vector<std::string>> candidates{
      {"pavucontrol"},         {"pavucontrol-qt"},   {"pwvucontrol"}, {"mate-volume-control"},
      {"xfce4-mixer"},         {"kmix"},             {"gnome-alsamixer"},
      {"gnome-control-center", "sound"},
  };
  return candidates;
}

std::optional<std::string> OnPath(const std::string& name, const std::string& pathVariable) {
  std::size_t start = 0;
  while (start <= pathVariable.size()) {
    const std::size_t end = std::min(pathVariable.find(':', start), pathVariable.size());
    const std::string folder = pathVariable.substr(start, end - start);
    start = end + 1;
    if (folder.empty()) continue;  // the current folder is never searched
    const std::string candidate = folder + "/" + name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> FindMixerProgram(const std::string& pathVariable) {
  for (const auto& command : Candidates()) {
    if (auto found = OnPath(command.front(), pathVariable)) {
      std::vector<std::string> line = command;
      line.front() = *found;
      return line;
    }
  }
  const auto terminal = OnPath("x-terminal-emulator", pathVariable);
  const auto alsamixer = OnPath("alsamixer", pathVariable);
  if (terminal && alsamixer) return std::vector<std::string>{*terminal, "-e", *alsamixer};
  return std::nullopt;
}

bool StartDetached(const std::vector<std::string>& command, std::string& why) {
  if (command.empty()) return false;
  std::vector<char*> argv;
  for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  // A pipe closed on exec tells whether the program started: an exec that fails writes errno.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    why = ErrorFromErrno(errno).Description();
    return false;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    why = ErrorFromErrno(errno).Description();
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (child == 0) {
    // The child starts the program in a grandchild and ends at once, so the program is nobody's
    // child here and leaves no process behind when it ends.
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execv(argv[0], argv.data());
      const int err = errno;
      (void)!::write(report[1], &err, sizeof err);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t got = 0;
  do {
    got = ::read(report[0], &err, sizeof err);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    why = "it could not be started";
    return false;
  }
  if (got == static_cast<ssize_t>(sizeof err)) {
    why = ErrorFromErrno(err).Description();
    return false;
  }
  return true;
}

void OpenSoundMixer(Dialogs& dialogs) {
  const char* path = std::getenv("PATH");
  const auto mixer = FindMixerProgram(path ? path : "");
  std::string why;
  if (!mixer) {
    dialogs.MsgBox(kNoMixerProgram, MsgBoxButtons::OK, MsgBoxIcon::Information, "Sound Mixer");
  } else if (!StartDetached(*mixer, why)) {
    dialogs.MsgBox("The sound mixer " + mixer->front() + " could not be started: " + why, MsgBoxButtons::OK,
                   MsgBoxIcon::Exclamation, "Sound Mixer");
  }
}

}  // namespace korvalin
