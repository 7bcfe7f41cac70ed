#pragma once
// The desktop's own sound mixer: a program found on PATH and started beside this one, to set the
// card's volumes and inputs where the program's few mixer controls do not reach.

#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace korvalin {

// The command line of the first mixer program installed (looked for in `pathVariable`, which is
// PATH's value): the mixers of the usual desktops and sound servers, then the terminal mixer
// inside a terminal. Nothing when none is installed.
std::optional<std::vector<std::string>> FindMixerProgram(const std::string& pathVariable);

// Starts the command on its own, not waiting for it and leaving no process behind when it ends.
// False, with the reason, when it could not be started.
bool StartDetached(const std::vector<std::string>& command, std::string& why);

// Starts the first mixer program installed on PATH; says so in a message box when there is none
// or when it could not be started.
void OpenSoundMixer(Dialogs& dialogs);

inline constexpr const char* kNoMixerProgram =
    "No sound mixer program was found. Install one (such as pavucontrol) to set the sound card's volumes.";

}  // namespace korvalin
