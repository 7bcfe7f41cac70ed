#include "fuzz/Seeds.h"

#include "discinfo/DiscInfoCache.h"
#include "platform/linux/TagLibTags.h"
#include "tests/support/AudioTools.h"
#include "tests/support/DbarBuilder.h"
#include "tests/support/DiscInfoAnswers.h"
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
      {"tags-after-data.wav",
       RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"data", stereo},
                 {"LIST", std::string("INFOINAM\6\0\0\0Title\0ITRK\4\0\0\0" "3/9\0", 30)},
                 {"id3 ", std::string("ID3\3\0\0\0\0\0\0", 10)}})},
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

// A first frame that carries a Xing header with a frame count, as VBR encoders write it.
std::string XingFrame(uint32_t frames) {
  std::string frame("\xff\xfb\x90\x64", 4);
  frame.resize(4 + 32, '\0');  // MPEG-1 stereo: 32 bytes of side information
  frame += "Xing";
  frame += std::string("\0\0\0\x01", 4);
  for (int shift = 24; shift >= 0; shift -= 8) frame.push_back(static_cast<char>(frames >> shift));
  frame.resize(417, '\0');
  return frame;
}

std::string Id3v1(const std::string& title, char genre) {
  std::string tag = "TAG" + title;
  tag.resize(127, ' ');
  return tag + genre;
}

Seeds Mp3InfoSeeds() {
  const std::string stereo = test::EncodeMp3(Pcm(4000, 2), 44100, 2, 128);
  const std::string mono = test::EncodeMp3(Pcm(2000, 1, 32000), 32000, 1, 64);
  return {
      {"stereo-128.mp3", stereo},
      {"mono-32000.mp3", mono},
      {"xing.mp3", XingFrame(1234) + stereo},
      {"tagged.mp3", stereo + Id3v1("A title", '\x11')},
      {"lower-case-tag.mp3", stereo + "tag" + std::string(125, 'x')},
      {"mpeg2-only.mp3", test::EncodeMp3(Pcm(1000, 1, 22050), 22050, 1, 32)},
      {"short.mp3", stereo.substr(0, 200)},
  };
}

Seeds Id3TagSeeds() {
  const std::string mp3 = test::EncodeMp3(Pcm(1500, 2), 44100, 2, 128);
  const std::string fields = "A title\nAn artist\nAn album\n1999\nA comment\n17\n";
  return {
      {"untagged", fields + mp3},
      {"tagged", fields + mp3 + Id3v1("Old title", '\x03')},
      {"latin1-and-beyond", "Caf\xc3\xa9\n\xe2\x82\xac uro\n\xf0\x9f\x8e\xb5\n12345\n" + std::string(40, 'c') + "\nRock\n" + mp3},
      {"tag-word-in-audio", fields + mp3 + "tag tag TAG"},
      {"short-file", fields + "TAG"},
  };
}

Seeds Id3v2TagSeeds() {
  TagLibTags library;
  TrackTags tags;
  tags.title = "Caf\xc3\xa9 \xf0\x9f\x8c\x99";
  tags.artist = "An artist";
  tags.album = "An album";
  tags.year = "1994-05-02";
  tags.genre = "Rock";
  tags.track = 3;
  tags.trackCount = 12;
  tags.comment = "A comment";
  tags.albumId = "album-id";
  tags.recordingId = "recording-id";
  const std::vector<uint8_t> v3 = library.RenderId3v2(tags, Id3v2Version::v3);
  const std::vector<uint8_t> v4 = library.RenderId3v2(tags, Id3v2Version::v4);
  const std::string mp3 = test::EncodeMp3(Pcm(1500, 2), 44100, 2, 128);
  return {
      {"v2.3", std::string(v3.begin(), v3.end()) + mp3},
      {"v2.4", std::string(v4.begin(), v4.end())},
      {"cut-short", std::string(v3.begin(), v3.begin() + 60)},
      {"empty-v2.2", std::string("ID3\x02\x00\x00\x00\x00\x00\x00", 10)},
      {"untagged", mp3},
  };
}

// A sheet, a NUL, then the bytes of disc.bin (also inside disc.wav).
Seeds CueSeeds() {
  const std::string frames = discgen::MusicCdFrames(8, 5);
  const auto seed = [&](const std::string& sheet) { return sheet + std::string(1, '\0') + frames; };
  return {
      {"three-tracks.cue", seed("FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
                                "    INDEX 00 00:00:02\n    INDEX 01 00:00:03\n  TRACK 03 AUDIO\n    INDEX 01 00:00:06\n")},
      {"wave.cue", seed("REM GENRE Rock\nPERFORMER \"Someone\"\nTITLE \"Album\"\nFILE \"disc.wav\" WAVE\n  TRACK 01 AUDIO\n"
                        "    TITLE \"One\"\n    FLAGS DCP\n    ISRC ABCDE1234567\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
                        "    PREGAP 00:00:03\n    INDEX 01 00:00:04\n    POSTGAP 00:00:02\n")},
      {"two-files.cue", seed("FILE \"disc.bin\" MOTOROLA\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\nFILE \"disc.wav\" WAVE\n"
                             "  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n")},
      {"data-track.cue", seed("CATALOG 1234567890123\nFILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                              "  TRACK 02 AUDIO\n    INDEX 01 00:00:04\n")},
      {"refused.cue", seed("FILE \"missing.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:75\r\n")},
  };
}

Seeds DiscChoiceSeeds() {
  DiscQuery disc;
  disc.musicBrainzId = "I5l9cCSFccLKFEKS.7wqSZAorPU-";
  disc.cddbId = 0xa70de90c;
  DiscInfoCandidate chosen;
  chosen.source = "MusicBrainz";
  chosen.album = "Caf\xC3\xA9";
  chosen.artist = "Anna Vector";
  chosen.year = "1994";
  chosen.discNumber = 2;
  chosen.discCount = 2;
  chosen.artistIds = {"artist-anna"};
  chosen.tracks = {{1, "One", "", 180000, "GBAAA9400006", "rec-1", "trk-1", ""}, {2, "Two", "Guest", 0, "", "", "", "Bo"}};
  const std::string full = CacheText(disc, chosen);
  return {
      {"full.json", full},
      {"bare.json", "{\"format\": 1, \"cddbId\": \"a70de90c\", \"musicBrainzId\": \"I5l9cCSFccLKFEKS.7wqSZAorPU-\", \"tracks\": []}"},
      {"cut.json", full.substr(0, full.size() / 2)},
  };
}

Seeds MusicBrainzSeeds() {
  return {
      {"two-releases.json", test::MusicBrainzTwoReleases()},
      {"by-toc.json", test::MusicBrainzTocAnswer()},
      {"one-release.json", R"({"id":"r","title":"T","artist-credit":[{"name":"A","joinphrase":" & "},{"artist":{"name":"B"}}],)"
                           R"("media":[{"position":1,"discs":[{"id":"I5l9cCSFccLKFEKS.7wqSZAorPU-"}],"tracks":[{"title":"x"}]}]})"},
      {"error.json", R"({"error":"Not Found","help":"x"})"},
  };
}

Seeds CddbSeeds() {
  return {
      {"211-list", test::GnudbQueryTwoMatches()},
      {"200-match", "200 rock a70de90c Anna Vector / Vector Album\r\n"},
      {"210-read", test::GnudbRockEntry()},
      {"202", "202 No match found\r\n"},
      {"cut-short", "210 Found exact matches\nrock a70de90c A / B\n"},
  };
}

Seeds XmcdSeeds() {
  return {
      {"entry", test::GnudbRockEntry()},
      {"latin1-various", "DTITLE=Various / Caf\xe9\nTTITLE0=S\xfc / Song\nTTITLE0= continued\nEXTD=a\\nb\\t\\\\\n"},
      {"offsets", "# Track frame offsets:\n#  150\n#\t300\n#\n# Disc length: 12 seconds\nTTITLE1=b\n"},
  };
}

Seeds DbarSeeds() {
  const AccurateRipDiscId disc{0x0004a1b2u, 0x00c3d4e5u, 0x3e0a2c03u};
  const std::vector<DbarTrack> tracks = {{7, 0x11111111u, 0xa1a1a1a1u}, {2, 0, 0}, {200, 0x33333333u, 0xa3a3a3a3u}};
  const std::string two = test::DbarFileBytes(disc, {tracks, tracks});
  return {
      {"one-response.bin", test::DbarFileBytes(disc, {tracks})},
      {"two-responses.bin", two},
      {"cut-short.bin", two.substr(0, two.size() - 5)},
      {"another-disc.bin", test::DbarFileBytes({1, 2, 3}, {tracks})},
  };
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SeedsOf(const std::string& target) {
  if (target == "wav_input") return WavSeeds();
  if (target == "mp3_decode") return Mp3Seeds();
  if (target == "media_commands") return MediaCommandSeeds();
  if (target == "settings") return SettingsSeeds();
  if (target == "mp3_info") return Mp3InfoSeeds();
  if (target == "id3_tag") return Id3TagSeeds();
  if (target == "id3v2_tag") return Id3v2TagSeeds();
  if (target == "cue_image") return CueSeeds();
  if (target == "disc_choice") return DiscChoiceSeeds();
  if (target == "musicbrainz_json") return MusicBrainzSeeds();
  if (target == "cddb_response") return CddbSeeds();
  if (target == "xmcd_record") return XmcdSeeds();
  if (target == "dbar") return DbarSeeds();
  return {};
}

}  // namespace korvalin::fuzz
