#include "tests/support/AudioTools.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "encode/EncoderChoices.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "tests/support/TempDir.h"

namespace korvalin::test {
namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// The stored bitrate index that stands for `kbps`.
int32_t BitrateIndexOf(int kbps) {
  const auto& entries = BitrateListEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (BitrateFromIndex(static_cast<int32_t>(i)) == kbps) return static_cast<int32_t>(i);
  }
  throw std::invalid_argument("no bitrate entry for " + std::to_string(kbps) + " kbit/s");
}

}  // namespace

std::string EncodeMp3(std::string_view pcm, int rate, int channels, int kbps) {
  LameEncoderLibrary lib;
  const EncoderConfig config = WavEncodingConfig(BitrateIndexOf(kbps), 1, rate, channels);
  uint32_t perChunk = 0, outSize = 0, stream = 0;
  if (lib.beInitStream(config.Bytes(), &perChunk, &outSize, &stream) != 0) {
    throw std::runtime_error("the encoder refused the format");
  }
  std::vector<uint8_t> out(outSize);
  std::string mp3;
  for (std::size_t at = 0; at < pcm.size(); at += 2 * std::size_t{perChunk}) {
    const auto samples = static_cast<uint32_t>(std::min<std::size_t>(perChunk, (pcm.size() - at) / 2));
    uint32_t written = 0;
    if (lib.beEncodeChunk(stream, samples, reinterpret_cast<const uint8_t*>(pcm.data() + at), out.data(), &written)) {
      throw std::runtime_error("the encoder failed");
    }
    mp3.append(reinterpret_cast<const char*>(out.data()), written);
  }
  uint32_t written = 0;
  lib.beDeinitStream(stream, out.data(), &written);
  mp3.append(reinterpret_cast<const char*>(out.data()), written);
  lib.beCloseStream(stream);
  return mp3;
}

void WritePcmWav(const std::string& path, std::string_view pcm, int rate, int channels) {
  std::string wav = "RIFF";
  Put(wav, static_cast<uint32_t>(pcm.size() + 36), 4);
  wav += "WAVEfmt ";
  Put(wav, 16, 4);
  Put(wav, 1, 2);
  Put(wav, static_cast<uint32_t>(channels), 2);
  Put(wav, static_cast<uint32_t>(rate), 4);
  Put(wav, static_cast<uint32_t>(rate * channels * 2), 4);
  Put(wav, static_cast<uint32_t>(channels * 2), 2);
  Put(wav, 16, 2);
  wav += "data";
  Put(wav, static_cast<uint32_t>(pcm.size()), 4);
  wav += pcm;
  WriteFile(path, wav);
}

int RunTool(const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return 127;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace korvalin::test
