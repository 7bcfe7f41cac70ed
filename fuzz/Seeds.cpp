#include "fuzz/Seeds.h"

#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"

namespace korvalin::fuzz {
namespace {

using test::ExtensibleFormatBody;
using test::FormatBody;
using test::RiffChunk;
using test::RiffFile;
using Seeds = std::vector<std::pair<std::string, std::string>>;

// A short piece of audio: seeds stay small so that the fuzzer mutates what matters.
std::string Pcm(int frames, int channels, int rate = 44100) { return discgen::MusicBytes(frames, 7, channels, rate); }

Seeds WavSeeds() {
  const std::string stereo = Pcm(200, 2), mono = Pcm(200, 1, 22050);
  return {
      {"stereo.wav", test::PcmWav(stereo, 44100, 2)},
      {"mono-22050.wav", test::PcmWav(mono, 22050, 1)},
      {"list-before-data.wav", RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"LIST", "INFOISFT\3\0\0\0ab"}, {"data", stereo}})},
      {"odd-chunk.wav", RiffFile({{"junk", "odd"}, {"fmt ", FormatBody(1, 1, 8000, 16)}, {"data", mono.substr(0, 101)}})},
      {"extensible.wav", RiffFile({{"fmt ", ExtensibleFormatBody(1, 2, 48000, 16)}, {"data", stereo}})},
      {"data-says-more.wav", RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"data", stereo, 1 << 20}})},
      {"data-before-format.wav", RiffFile({{"data", stereo}, {"fmt ", FormatBody(1, 2, 32000, 16)}})},
      {"24-bit.wav", RiffFile({{"fmt ", FormatBody(1, 2, 44100, 24)}, {"data", stereo.substr(0, 600)}})},
      {"float.wav", RiffFile({{"fmt ", FormatBody(3, 2, 44100, 32)}, {"data", stereo}})},
      {"no-data.wav", RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}})},
      {"cd-header-only.wav", test::PcmWav("", 44100, 2)},
  };
}

Seeds Mp3Seeds() {
  const std::string stereo = test::EncodeMp3(Pcm(4000, 2), 44100, 2, 128);
  const std::string mono = test::EncodeMp3(Pcm(2000, 1, 22050), 22050, 1, 32);
  const std::string low = test::EncodeMp3(Pcm(1000, 1, 8000), 8000, 1, 32);
  std::string tag = "TAG" + std::string(30, 'T') + std::string(30, 'A') + std::string(30, 'L') + "1999" +
                    std::string(30, 'C') + "\x11";
  tag.resize(128, '\0');
  return {
      {"stereo-128.mp3", stereo},
      {"mono-22050-32.mp3", mono},
      {"mono-8000-32.mp3", low},
      {"tagged.mp3", stereo + tag},
      {"id3v2-then-audio.mp3", std::string("ID3\3\0\0\0\0\0\12", 10) + std::string(10, '\0') + mono},
      {"cut-in-a-frame.mp3", stereo.substr(0, stereo.size() / 2 + 17)},
      {"two-rates.mp3", mono + stereo},
      {"garbage-then-audio.mp3", std::string(300, '\xff') + low},
      {"text.mp3", "not an mp3 at all\n"},
  };
}

Seeds MediaCommandSeeds() {
  // The first byte sizes the reply buffer (64 here); then one command a line, as the program sends them.
  return {
      {"cd-information",
       "@open cdaudio alias cd\nset cd time format milliseconds\ninfo cd identity\nstatus cd number of tracks\n"
       "status cd length track 1\nstatus cd length track 3\nset cd time format hms\nstatus cd length track 2\n"
       "close cd"},
      {"play-and-position",
       "@open cdaudio alias cd\nplay cd from 1500\nstatus cd position\nstatus cd current track\nstop cd\nplay cd\n"
       "stop cd\nclose cd"},
      {"small-reply", "\x03open cdaudio alias cd\ninfo cd identity\nstatus cd length track 2\nclose cd"},
      {"unknown", "@open cdaudio alias cd\nopen cdaudio alias cd\nstatus cd length track 99\nplay cd from 999999\n"
                  "open new type waveaudio alias capture\nrecord capture\nsave capture /tmp/x y.wav\nclose capture"},
  };
}

Seeds SettingsSeeds() {
  return {
      {"defaults", "1\n5\n5\n1\n100\n1\n50\n/home/user/Music\n0\n0\n1\n1\n1\n1"},
      {"blanks-and-fractions", " 2 \n2.5\n3.5\n-1\n1e3\n\x7f\n32767\n\n0\n1\n1.49\n-0.5\n  7\n1"},
      {"refused", "abc\n&H10\n40000\n-32769\n1 2\n\x7f\n1E+99\n/a path/with blanks\n.\n-\n+\n\t3\n0x10\n"},
  };
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SeedsOf(const std::string& target) {
  if (target == "wav_input") return WavSeeds();
  if (target == "mp3_decode") return Mp3Seeds();
  if (target == "media_commands") return MediaCommandSeeds();
  if (target == "settings") return SettingsSeeds();
  return {};
}

}  // namespace korvalin::fuzz
