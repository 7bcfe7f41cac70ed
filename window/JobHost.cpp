#include "window/JobHost.h"

namespace korvalin {

JobOptions JobHost::ReadJobOptions() {
  JobOptions options = WindowOptions();
  options.destination = settings.DecodePath;
  options.encodingBitrate = settings.EncodingBitrate;
  options.encodingQuality = settings.EncodingQuality;
  options.deleteWav = settings.DeleteWAV;
  options.audioFormat = settings.AudioFormat;
  options.secureReading = settings.SecureReading != 0;
  return options;
}

}  // namespace korvalin
