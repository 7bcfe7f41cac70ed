#pragma once
// "Delete WAV": which WAV file the option may delete after it has been encoded. Only the
// program's own intermediate file goes, and only once its audio is safe in the MP3.

#include <cstdint>
#include <string>

namespace korvalin {

// True when `path` names an entry directly inside `folder` (not in a subfolder), both existing.
// The same folder however it is spelt (a trailing "/", "..", a link to it).
bool LiesDirectlyIn(const std::string& path, const std::string& folder);

// True when the WAV at `wav` is to be deleted: the option is on (1), the encoding took every
// sample, the name ends in ".wav" exactly (a ".WAV" name is never the program's own and is never
// deleted), and the file lies directly in the destination folder (a WAV the user brought from
// elsewhere stays). A stop, a failed encoding or any other file keeps it.
bool DeleteWavApplies(const std::string& wav, int16_t deleteWavOption, const std::string& destination, bool encoded);

}  // namespace korvalin
