#include "common/FileKind.h"

#include "common/Text.h"

namespace korvalin {

AudioFileKind AudioFileKindOf(const std::string& name) {
  const std::string ext = LCase(Right(name, 4));
  if (ext == ".wav") return AudioFileKind::Wav;
  if (ext == ".mp3") return AudioFileKind::Mp3;
  return AudioFileKind::None;
}

}  // namespace korvalin
