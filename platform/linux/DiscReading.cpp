#include "platform/linux/DiscReading.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux/ReadAheadDisc.h"
#include "platform/linux/SimulatedDrive.h"

namespace korvalin {

bool ReadAheadWanted() {
  const char* value = std::getenv(kReadAheadVariable);
  if (!value) return true;
  const std::string v = value;
  return v != "0" && v != "off";
}

std::unique_ptr<DiscReader> ForReading(std::unique_ptr<DiscReader> disc, bool isImage) {
  const char* simulated = std::getenv(kSimulatedDriveVariable);
  if (isImage && simulated && *simulated) {
    if (const auto speed = ParseDriveSpeed(simulated)) {
      disc = std::make_unique<SimulatedDrive>(std::move(disc), *speed);
    } else {
      std::fprintf(stderr, "%s=\"%s\" is not a drive speed such as 37x or 37x,seek=75ms; the image is read as it is.\n",
                   kSimulatedDriveVariable, simulated);
    }
  }
  if (ReadAheadWanted()) disc = std::make_unique<ReadAheadDisc>(std::move(disc));
  return disc;
}

}  // namespace korvalin
