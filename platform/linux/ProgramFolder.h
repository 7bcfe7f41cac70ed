#pragma once

#include <string>

namespace korvalin {

// The folder of the running executable, without a trailing "/".
std::string ProgramFolder();

}  // namespace korvalin
