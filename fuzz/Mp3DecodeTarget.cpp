// The player control's conversion of any file to WAV: it ends (no hang), and whatever it leaves
// behind is a WAV file whose header tells exactly what the file holds. The decoder takes the input
// from memory (Mpg123FromMemory.cpp); the file beside it holds the same bytes.

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/linux/Mpg123Player.h"

namespace korvalin::fuzz {
namespace {

constexpr std::size_t kBlockBytes = 16 * 1024;

uint32_t U32(const std::string& b, std::size_t at) {
  return uint32_t{static_cast<uint8_t>(b[at])} | uint32_t{static_cast<uint8_t>(b[at + 1])} << 8 |
         uint32_t{static_cast<uint8_t>(b[at + 2])} << 16 | uint32_t{static_cast<uint8_t>(b[at + 3])} << 24;
}
uint16_t U16(const std::string& b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

void CheckWav(const std::string& wav) {
  Check(wav.size() >= 44, "the WAV holds its whole header");
  Check(wav.compare(0, 4, "RIFF") == 0 && wav.compare(8, 8, "WAVEfmt ") == 0 && wav.compare(36, 4, "data") == 0,
        "the WAV header has its chunk ids");
  Check(U32(wav, 4) == wav.size() - 8, "the RIFF length is the file's length less 8");
  Check(U32(wav, 40) == wav.size() - 44, "the data length is what follows the header");
  const uint16_t channels = U16(wav, 22);
  Check(U16(wav, 20) == 1 && U16(wav, 34) == 16 && (channels == 1 || channels == 2), "16-bit PCM, mono or stereo");
  Check(U16(wav, 32) == channels * 2 && U32(wav, 28) == U32(wav, 24) * channels * 2, "block size and byte rate agree");
  Check((wav.size() - 44) % (channels * 2u) == 0, "the data holds whole sample frames");
}

}  // namespace

int FuzzMp3Decode(const uint8_t* data, std::size_t size) {
  const std::string source = ScratchPath("input.mp3");
  const std::string target = ScratchPath("output.wav");
  WriteWholeFile(source, AsText(data, size));
  if (Mp3DecoderReadsFromMemory()) OfferInMemory(source, AsText(data, size));  // the file holds them too
  std::remove(target.c_str());

  // A fresh player for every input: no memory of earlier ones. Small blocks keep its buffer out of
  // the sanitizer's page-mapped allocations, and a typical input then takes several of them.
  Mpg123Player player("hw:99,99", kBlockBytes);
  player.SetSourceFile(source);
  player.ConvertToWav(target);
  player.Wait();
  Check(!player.Busy(), "a conversion waited for has ended");

  using O = Mpg123Player::Outcome;
  const O outcome = player.LastOutcome();
  Check(outcome != O::None && outcome != O::Running, "a finished conversion says how it ended");
  Check(outcome != O::TargetUnwritable && outcome != O::WriteFailed && outcome != O::TooLong,
        "a small input in a writable folder converts without a write fault");
  Check(player.Position() <= player.Length(), "the position never passes the length");
  // No WAV (a source without audio never replaces or makes one), or one that tells the truth.
  if (::access(target.c_str(), F_OK) == 0) {
    Check(outcome != O::SourceUnreadable && outcome != O::NotMp3, "a source without audio leaves no WAV");
    CheckWav(ReadWholeFile(target));
  }
  for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder())) {
    const std::string name = entry.path().filename();
    Check(name.find("output.wav") == std::string::npos || name == "output.wav", "no temporary WAV is left behind");
  }
  OfferInMemory({}, {});
  return 0;
}

}  // namespace korvalin::fuzz
