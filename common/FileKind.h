#pragma once
// What an audio file is, by its name: the last four characters, compared lower-cased, so
// "Song.WAV" is a WAV file. The name itself keeps its case wherever it is used.

#include <string>

namespace korvalin {

enum class AudioFileKind { None, Wav, Mp3 };

AudioFileKind AudioFileKindOf(const std::string& name);
inline bool IsWavFile(const std::string& name) { return AudioFileKindOf(name) == AudioFileKind::Wav; }
inline bool IsMp3File(const std::string& name) { return AudioFileKindOf(name) == AudioFileKind::Mp3; }

}  // namespace korvalin
