#include "fileout/OutputFailure.h"

namespace korvalin {

std::string WriteFailureText(const std::string& path) {
  return "Could not write \"" + path + "\". The disk may be full or the folder not writable; the file holds what was written so far.";
}

std::string CannotCreateText(const std::string& path) {
  return "Could not create \"" + path + "\". The folder may be missing or not writable.";
}

}  // namespace korvalin
