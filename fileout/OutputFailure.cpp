#include "fileout/OutputFailure.h"

#include <cstring>

namespace korvalin {

std::string WriteFailureText(const std::string& path) {
  return "Could not write \"" + path + "\". The disk may be full or the folder not writable; the file holds what was written so far.";
}

std::string CannotCreateText(const std::string& path) {
  return "Could not create \"" + path + "\". The folder may be missing or not writable.";
}

std::string WriteFailureText(const std::string& path, const std::string& cause) {
  if (cause.empty()) return WriteFailureText(path);
  return "Could not write \"" + path + "\": " + cause + ". The file holds what was written so far.";
}

std::string CannotCreateText(const std::string& path, const std::string& cause) {
  if (cause.empty()) return CannotCreateText(path);
  return "Could not create \"" + path + "\": " + cause + ".";
}

std::string SystemReason(int error) { return error == 0 ? std::string() : std::strerror(error); }

}  // namespace korvalin
