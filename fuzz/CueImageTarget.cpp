// The disc image reader over any CUE sheet, beside small audio files: it either refuses the sheet
// with a sentence or describes a disc that could exist, and then reads every track's frames
// without leaving its files. Input: the sheet's text, then a NUL and the bytes of "disc.bin"
// (also given as "disc.wav" inside a WAV header, for WAVE files).

#include <cstring>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/linux/CueImage.h"
#include "platform/linux/CueSheetScan.h"

namespace korvalin::fuzz {
namespace {

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

std::string WavOf(std::string_view pcm) {
  std::string wav = "RIFF";
  Put32(wav, static_cast<uint32_t>(pcm.size() + 36));
  wav += "WAVEfmt ";
  Put32(wav, 16);
  wav += std::string("\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00", 16);
  wav += "data";
  Put32(wav, static_cast<uint32_t>(pcm.size()));
  wav += pcm;
  return wav;
}

}  // namespace

int FuzzCueImage(const uint8_t* data, std::size_t size) {
  const std::string_view input = AsText(data, size);
  const std::size_t nul = input.find('\0');
  const std::string sheet(input.substr(0, nul));
  const std::string_view audio = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
  const std::string cue = ScratchPath("disc.cue");
  WriteWholeFile(cue, sheet);
  WriteWholeFile(ScratchPath("disc.bin"), audio);
  WriteWholeFile(ScratchPath("disc.wav"), WavOf(audio));

  const CueSheetScan scan = ScanCueSheet(sheet);
  for (const ScannedTrack& t : scan.tracks) Check(t.fileOrdinal >= -1, "a track follows a FILE line or none");

  std::unique_ptr<CueImage> image;
  try {
    image = CueImage::Open(cue);
  } catch (const CueFault& fault) {
    Check(std::strlen(fault.what()) > 0, "a refused sheet says why");
    return 0;
  }
  const auto& tracks = image->Tracks();
  Check(!tracks.empty() && tracks.size() <= 99, "a disc has 1 to 99 tracks");
  Check(image->LeadOut() > 0 && image->LeadOut() <= CueImage::kMaxDiscFrames, "the lead-out lies on a disc");
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    Check(tracks[i].number >= 1 && tracks[i].number <= 99, "track numbers are 1 to 99");
    Check(tracks[i].start >= 0 && tracks[i].start < image->LeadOut(), "a track starts on the disc");
    if (i > 0) {
      Check(tracks[i].number > tracks[i - 1].number, "track numbers rise");
      Check(tracks[i].start > tracks[i - 1].start, "every track has a frame of its own");
    }
  }
  Check(!image->SourceFiles().empty(), "an image names the files it reads");

  // The first, a middle and the last frame of every track, and the frames around the lead-out.
  std::vector<uint8_t> frames(2 * 2352);
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    const int32_t end = i + 1 < tracks.size() ? tracks[i + 1].start : image->LeadOut();
    for (int32_t at : {tracks[i].start, tracks[i].start + (end - tracks[i].start) / 2, end - 1}) {
      const bool read = image->ReadAudio(at, 1, frames.data());
      if (tracks[i].data) Check(!read, "a data track holds no audio");
    }
  }
  Check(!image->ReadAudio(image->LeadOut(), 1, frames.data()), "nothing is read at the lead-out");
  Check(!image->ReadAudio(image->LeadOut() - 1, 2, frames.data()), "nothing is read across the lead-out");
  Check(!image->ReadAudio(-1, 1, frames.data()), "nothing is read before the disc");
  return 0;
}

}  // namespace korvalin::fuzz
