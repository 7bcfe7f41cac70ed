#pragma once
// What the decode batch and its decoder host share while MP3 files are converted to WAV: the
// busy flag the batch waits on, the MP3 in hand and the WAV of the last conversion.

#include <cstdint>
#include <string>

namespace korvalin {

struct DecodeState {
  // Set before a conversion starts; cleared when the decoder host unloads.
  bool DecodeBusy = false;
  // Full path of the MP3 being converted, exactly as the collection holds it.
  std::string DecodeSource;
  // Full path of the WAV file of the last conversion.
  std::string DecodeTarget;
  // The folder the WAV files go to, as it was when the batch started.
  std::string DecodeFolder;
  // The tags a WAV file keeps from its MP3, as the batch started: 0 none, 3 or 4 the ID3v2
  // version of its id3 chunk.
  int DecodeTagVersion = 3;
};

// A source this short holds no MP3 audio worth converting; it is skipped.
inline constexpr int64_t kSmallestDecodableMp3 = 100;

// The WAV file a conversion of `mp3Path` writes: folder + "/" + the MP3's name less its last four
// characters + ".wav". The name keeps its case.
std::string WavPathFor(const std::string& folder, const std::string& mp3Path);

// The length of the regular file at `path`, or -1 when there is none.
int64_t RegularFileLength(const std::string& path);

}  // namespace korvalin
