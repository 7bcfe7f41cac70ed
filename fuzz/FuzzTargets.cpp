#include "fuzz/FuzzTargets.h"

namespace korvalin::fuzz {

const std::vector<Target>& AllTargets() {
  static const std::vector<Target> targets = {
      {"wav_input", FuzzWavInput},
      {"mp3_decode", FuzzMp3Decode},
      {"media_commands", FuzzMediaCommands},
      {"settings", FuzzSettings},
  };
  return targets;
}

}  // namespace korvalin::fuzz
