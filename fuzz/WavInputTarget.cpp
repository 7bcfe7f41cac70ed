// The WAV reader of the encoder over any file: it either refuses the file with a message or
// reports a format it can encode and then reads exactly the audio it promised, never more than
// the file holds. The file's tag chunks are read too: what they give is written back the same.

#include "common/RaisedError.h"
#include "fileout/WavInput.h"
#include "fileout/WavTagChunks.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

namespace korvalin::fuzz {

int FuzzWavInput(const uint8_t* data, std::size_t size) {
  const std::string path = ScratchPath("input.wav");
  WriteWholeFile(path, AsText(data, size));
  const WavTagChunks tags = ReadWavTagChunks(path);
  Check(tags.id3.size() + 8 <= size || tags.id3.empty(), "an id3 chunk lies inside the file");
  const std::vector<uint8_t> again = tags.info ? InfoListChunk(*tags.info) : std::vector<uint8_t>{};
  if (!again.empty()) {
    const auto reread = ParseInfoList(AsText(again.data() + 8, again.size() - 8));
    Check(reread && reread->title == tags.info->title && reread->artist == tags.info->artist &&
              reread->album == tags.info->album && reread->comment == tags.info->comment &&
              reread->genre == tags.info->genre && reread->year == tags.info->year,
          "the INFO texts read are written back the same");
  }
  try {
    WavInput wav(path);
    const WavAudioFormat& f = wav.Format();
    Check(f.channels == 1 || f.channels == 2, "an accepted WAV has one or two channels");
    Check(f.sampleRate >= 0, "the sample rate is not negative");
    Check(f.dataOffset >= 12 + 8 && f.dataLength >= 0, "the audio starts after the RIFF and chunk headers");
    Check(f.dataOffset + f.dataLength <= static_cast<int64_t>(size), "the audio lies inside the file");

    // Blocks of a few sizes, odd ones too, as callers may ask.
    static constexpr int32_t kBlocks[] = {4096, 1, 3, 1000};
    char buffer[4096];
    int64_t total = 0;
    for (int i = 0;; ++i) {
      const int32_t n = wav.Read(buffer, kBlocks[i % 4]);
      Check(n >= 0 && n <= kBlocks[i % 4], "a read returns at most what was asked");
      if (n == 0) break;
      Check(std::string_view(buffer, static_cast<std::size_t>(n)) ==
                AsText(data + f.dataOffset + total, static_cast<std::size_t>(n)),
            "the audio read is the file's bytes");
      total += n;
    }
    Check(total == f.dataLength, "the reads end with the audio");
    Check(wav.Read(buffer, sizeof buffer) == 0, "nothing follows the end");
  } catch (const RaisedError& e) {
    Check(!e.Description().empty(), "a refusal tells the user why");
  }
  return 0;
}

}  // namespace korvalin::fuzz
