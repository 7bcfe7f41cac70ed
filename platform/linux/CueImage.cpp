#include "platform/linux/CueImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "common/RaisedError.h"
#include "encode/WavInput.h"
#include "platform/linux/CueSheetScan.h"
#include "platform/linux/CueSheetText.h"
#include "platform/linux/RegularFile.h"
#include "platform/linux/SheetFileLookup.h"

extern "C" {
#if __has_include(<libcue.h>)
#include <libcue.h>
#else
#include <libcue/libcue.h>
#endif
}

namespace korvalin {
namespace {

constexpr int64_t kFrameBytes = 2352;
constexpr int64_t kMaxSheetBytes = 1 << 20;

[[noreturn]] void Refuse(const std::string& cuePath, const std::string& why) {
  throw CueFault("The disc image \"" + cuePath + "\" cannot be used: " + why);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// The bytes a sector of each track mode holds in the image.
int64_t BlockBytes(TrackMode mode) {
  switch (mode) {
    case MODE_AUDIO:
    case MODE_MODE1_RAW:
    case MODE_MODE2_RAW: return 2352;
    case MODE_MODE1:
    case MODE_MODE2_FORM1: return 2048;
    case MODE_MODE2: return 2336;
    case MODE_MODE2_FORM2: return 2324;
    case MODE_MODE2_FORM_MIX: return 2332;
  }
  return 0;
}

// The whole sheet as text; refused when it cannot be read or cannot be a sheet.
std::string ReadSheet(const std::string& cuePath) {
  const RegularFile sheet = OpenRegularFile(cuePath);
  if (sheet.fd < 0) Refuse(cuePath, "the sheet " + sheet.fault + ".");
  std::string text;
  const bool small = sheet.size <= kMaxSheetBytes;
  if (small) {
    text.resize(static_cast<std::size_t>(sheet.size));
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::read(sheet.fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    text.resize(done);
  }
  ::close(sheet.fd);
  if (!small) Refuse(cuePath, "the sheet is larger than any CUE sheet (over 1 MB).");
  if (text.find('\0') != std::string::npos) Refuse(cuePath, "the sheet holds binary data, not text.");
  return text;
}

// libcue writes its complaints to stderr; the program says what is wrong in its own words. The
// parser keeps global state, so one sheet is parsed at a time.
Cd* ParseQuietly(const std::string& text) {
  static std::mutex parsing;
  std::lock_guard<std::mutex> lock(parsing);
  FILE* in = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  if (!in) return nullptr;
  FILE* quiet = std::fopen("/dev/null", "w");
  FILE* saved = stderr;
  if (quiet) stderr = quiet;
  Cd* cd = cue_parse_file(in);
  stderr = saved;
  if (quiet) std::fclose(quiet);
  std::fclose(in);
  return cd;
}

struct CdDeleter {
  void operator()(Cd* cd) const { cd_delete(cd); }
};

// What the sheet says of one track, from libcue and the scan together.
struct SheetTrack {
  int number = 0;
  bool data = false;
  int64_t block = 0;
  int64_t index0 = -1, index1 = -1;  // in frames from the start of the data of the file that holds them
  int index0File = -1, index1File = -1;
  int64_t silenceBefore = 0, silenceAfter = 0;
};

// A place in the files: which file, and how far into its data in frames.
struct FilePlace {
  int file = 0;
  int64_t frame = 0;
  bool operator<(const FilePlace& o) const { return file != o.file ? file < o.file : frame < o.frame; }
};

std::string WaveHoldsData(const std::string& name) {
  return "the file \"" + name + "\" named by the sheet is a WAVE file, which cannot hold a data track.";
}

std::string TrackName(int number) { return "track " + std::to_string(number); }

}  // namespace

std::unique_ptr<CueImage> CueImage::Open(const std::string& cuePath) {
  std::unique_ptr<CueImage> image(new CueImage(cuePath));
  image->Build();
  return image;
}

CueImage::~CueImage() {
  for (auto& f : files_) {
    if (f.fd >= 0) ::close(f.fd);
  }
}

std::vector<std::string> CueImage::SourceFiles() const {
  std::vector<std::string> sources{cuePath_};
  for (const auto& f : files_) sources.push_back(f.path);
  return sources;
}

void CueImage::AddFile(const std::string& name, const std::string& type) {
  const std::string shown = "the file \"" + name + "\" named by the sheet";
  if (type != "BINARY" && type != "MOTOROLA" && type != "WAVE") {
    Refuse(cuePath_, shown + " is of type " + (type.empty() ? std::string("(none)") : type) +
                         "; only BINARY, MOTOROLA and WAVE files of CD audio can be read.");
  }
  AudioFile file;
  file.name = name;
  file.path = FindSheetFile(FolderOf(cuePath_), name);
  const RegularFile opened = OpenRegularFile(file.path);
  if (opened.fd < 0) Refuse(cuePath_, shown + " " + opened.fault + ".");
  file.fd = opened.fd;
  file.dataLength = opened.size;
  file.bigEndian = type == "MOTOROLA";
  file.wave = type == "WAVE";
  files_.push_back(file);  // from here on the destructor closes it
  if (file.wave) {
    try {
      // Through the descriptor already checked, so that the header is read from that very file.
      const WavInput wav("/proc/self/fd/" + std::to_string(opened.fd));
      const WavAudioFormat& f = wav.Format();
      if (f.channels != 2 || f.sampleRate != 44100) throw RaisedError(kInvalidFileFormat, "");
      files_.back().dataOffset = f.dataOffset;
      files_.back().dataLength = f.dataLength;
    } catch (const RaisedError&) {
      Refuse(cuePath_, shown + " is not CD audio (a WAV file of 16-bit 44.1 kHz stereo PCM).");
    }
  }
  if (files_.back().dataLength <= 0) Refuse(cuePath_, shown + " holds no frames.");
}

void CueImage::AddSegment(int64_t frames, int file, int64_t byteOffset, bool data) {
  if (frames <= 0) return;
  if (discFrames_ + frames > kMaxDiscFrames) Refuse(cuePath_, "it is longer than 100 minutes, more than a CD holds.");
  if (data && file >= 0 && files_[static_cast<std::size_t>(file)].wave) {
    Refuse(cuePath_, WaveHoldsData(files_[static_cast<std::size_t>(file)].name));
  }
  segments_.push_back({static_cast<int32_t>(discFrames_), static_cast<int32_t>(frames), file, byteOffset, data});
  discFrames_ += frames;
}

void CueImage::Build() {
  const std::string text = ReadSheet(cuePath_);
  const CueSheetScan scan = ScanCueSheet(text);
  if (!scan.fault.empty()) Refuse(cuePath_, scan.fault);
  if (scan.tracks.size() > 99) Refuse(cuePath_, "it lists more than 99 tracks.");
  const std::unique_ptr<Cd, CdDeleter> cd(ParseQuietly(text));
  if (!cd) Refuse(cuePath_, "it is not a CUE sheet that can be read.");
  const int count = cd_get_ntrack(cd.get());
  if (count > 99) Refuse(cuePath_, "it lists more than 99 tracks.");
  if (count < 1 || scan.tracks.empty()) Refuse(cuePath_, "it lists no tracks.");
  if (static_cast<std::size_t>(count) != scan.tracks.size()) {
    Refuse(cuePath_, "it is damaged: not every TRACK line could be read.");
  }

  std::vector<SheetTrack> sheet;
  for (int i = 0; i < count; ++i) {
    const ScannedTrack& scanned = scan.tracks[static_cast<std::size_t>(i)];
    const Track* track = cd_get_track(cd.get(), i + 1);
    if (!track) Refuse(cuePath_, "it is damaged: not every TRACK line could be read.");
    SheetTrack t;
    t.number = scanned.number;
    if (t.number < 1 || t.number > 99) Refuse(cuePath_, "a track number is not between 1 and 99.");
    if (i > 0 && t.number != sheet.back().number + 1) {
      Refuse(cuePath_, "track " + std::to_string(t.number) + " follows track " + std::to_string(sheet.back().number) +
                           "; track numbers must follow one another.");
    }
    const std::string name = TrackName(t.number);
    const char* fileName = track_get_filename(track);
    if (!fileName || !*fileName || scanned.fileOrdinal < 0) Refuse(cuePath_, name + " names no file.");
    const TrackMode mode = track_get_mode(track);
    t.data = mode != MODE_AUDIO;
    t.block = BlockBytes(mode);
    if (t.block == 0) Refuse(cuePath_, name + " has a mode that cannot be read.");
    t.index0 = track_get_index(track, 0);
    t.index1 = track_get_index(track, 1);
    if (t.index1 < 0) Refuse(cuePath_, name + " has no INDEX 01.");
    if (t.index1 > kMaxDiscFrames || t.index0 > kMaxDiscFrames) {
      Refuse(cuePath_, "an index of " + name + " lies past the end of its file.");
    }
    // libcue names the file a track's INDEX 01 follows; the scan says which FILE line that is
    // and where INDEX 00 stands. Both must read the sheet alike.
    t.index0File = scanned.index0File;
    t.index1File = scanned.index1File;
    if (t.index1File < 0 || (t.index0 >= 0) != (t.index0File >= 0) ||
        scan.files[static_cast<std::size_t>(t.index1File)].name != fileName) {
      Refuse(cuePath_, "it is damaged: the FILE line of " + name + " could not be read.");
    }
    for (int file : {t.index0File, t.index1File}) {
      if (t.data && file >= 0 && scan.files[static_cast<std::size_t>(file)].type == "WAVE") {
        Refuse(cuePath_, WaveHoldsData(scan.files[static_cast<std::size_t>(file)].name));
      }
    }
    // libcue reports INDEX 00 pregaps and PREGAP silence alike; only the second is not in the file.
    const long pre = track_get_zero_pre(track), post = track_get_zero_post(track);
    if (t.index0 < 0 && pre > 0) t.silenceBefore = pre;
    if (post > 0) t.silenceAfter = post;
    if (t.silenceBefore > kMaxDiscFrames || t.silenceAfter > kMaxDiscFrames) {
      Refuse(cuePath_, "it is longer than 100 minutes, more than a CD holds.");
    }
    sheet.push_back(t);
  }

  text_ = SheetDiscText(text);

  for (const ScannedFile& file : scan.files) AddFile(file.name, file.type);

  // The files lie on the disc one after the other. Walk them in order, from one index to the
  // next: the frames up to an index belong to the track before it, each in that track's mode.
  FilePlace at;
  int64_t atByte = 0;  // the byte of `at` in its file's data
  int64_t block = sheet.front().block;
  bool data = sheet.front().data;
  auto fileBytes = [&](int file) { return files_[static_cast<std::size_t>(file)].dataLength; };
  // The rest of the file in hand; a last frame cut short still counts (its read will fail).
  auto finishFile = [&] {
    const int64_t rest = fileBytes(at.file) - atByte;
    AddSegment((rest + block - 1) / block, at.file, atByte, data);
    ++at.file;
    at.frame = 0;
    atByte = 0;
  };
  auto moveTo = [&](const FilePlace& place, const std::string& track) {
    while (at.file < place.file) finishFile();
    const int64_t bytes = (place.frame - at.frame) * block;
    if (atByte + bytes > fileBytes(at.file)) Refuse(cuePath_, "an index of " + track + " lies past the end of its file.");
    AddSegment(place.frame - at.frame, at.file, atByte, data);
    at.frame = place.frame;
    atByte += bytes;
  };

  int64_t previousStart = -1;
  for (std::size_t j = 0; j < sheet.size(); ++j) {
    const SheetTrack& t = sheet[j];
    const std::string name = TrackName(t.number);
    const FilePlace index1{t.index1File, t.index1};
    const FilePlace first = t.index0 >= 0 ? FilePlace{t.index0File, t.index0} : index1;
    if (first < at) Refuse(cuePath_, "the indexes of " + name + " go backwards or leave the track before it empty.");
    moveTo(first, name);
    if (j > 0) {
      if (discFrames_ <= previousStart) {
        Refuse(cuePath_, "the indexes of " + name + " go backwards or leave the track before it empty.");
      }
      // Silence that a sheet adds is part of the track whose frames it lies among, in its mode:
      // a data track's gap holds no audio either.
      AddSegment(sheet[j - 1].silenceAfter, -1, 0, sheet[j - 1].data);
    }
    block = t.block;
    data = t.data;
    if (index1 < at) Refuse(cuePath_, "the indexes of " + name + " go backwards.");
    moveTo(index1, name);
    AddSegment(t.silenceBefore, -1, 0, j > 0 ? sheet[j - 1].data : t.data);
    previousStart = discFrames_;
    tracks_.push_back({t.number, static_cast<int32_t>(discFrames_), t.data});
  }
  while (at.file < static_cast<int>(files_.size())) finishFile();
  if (discFrames_ <= previousStart) {
    Refuse(cuePath_, "the INDEX 01 of " + TrackName(sheet.back().number) + " lies past the end of its file.");
  }
  AddSegment(sheet.back().silenceAfter, -1, 0, sheet.back().data);
  leadOut_ = static_cast<int32_t>(discFrames_);
}

const CueImage::Segment* CueImage::SegmentAt(int32_t frame) const {
  auto it = std::upper_bound(segments_.begin(), segments_.end(), frame,
                             [](int32_t f, const Segment& s) { return f < s.discStart; });
  if (it == segments_.begin()) return nullptr;
  --it;
  return frame < it->discStart + it->frames ? &*it : nullptr;
}

bool CueImage::ReadFailed(int32_t frame, const std::string& why) {
  readFault_ = "The disc image \"" + cuePath_ + "\" cannot be read at frame " + std::to_string(frame) + ": " + why;
  return false;
}

bool CueImage::ReadFrame(const Segment& s, int32_t frame, uint8_t* out) {
  if (s.file < 0) {
    std::memset(out, 0, kFrameBytes);
    return true;
  }
  const AudioFile& f = files_[static_cast<std::size_t>(s.file)];
  const int64_t at = s.byteOffset + static_cast<int64_t>(frame - s.discStart) * kFrameBytes;
  // A frame the file holds only part of is short: its read fails rather than pad it with silence.
  const int64_t held = std::clamp<int64_t>(f.dataLength - at, 0, kFrameBytes);
  int64_t done = 0;
  while (done < held) {
    const ssize_t n = ::pread(f.fd, out + done, static_cast<std::size_t>(held - done), f.dataOffset + at + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadFailed(frame, "\"" + f.path + "\": " + std::strerror(errno) + ".");
    if (n == 0) break;  // the file has become shorter since the disc was opened
    done += n;
  }
  if (done < kFrameBytes) {
    return ReadFailed(frame, "the file \"" + f.path + "\" ends " +
                                 (done == 0 ? std::string("before that frame.")
                                            : std::to_string(done) + " bytes into that frame, which is short."));
  }
  if (f.bigEndian) {
    for (int64_t i = 0; i + 1 < kFrameBytes; i += 2) std::swap(out[i], out[i + 1]);
  }
  return true;
}

bool CueImage::ReadAudio(int32_t first, int32_t count, uint8_t* out) {
  if (first < 0 || count < 0 || static_cast<int64_t>(first) + count > discFrames_) {
    return ReadFailed(first < 0 ? first : static_cast<int32_t>(std::max<int64_t>(first, discFrames_)),
                      "the disc ends at frame " + std::to_string(discFrames_) + ".");
  }
  for (int32_t k = 0; k < count; ++k) {
    const Segment* s = SegmentAt(first + k);
    if (!s) return ReadFailed(first + k, "no frame of the disc stands there.");
    if (s->data) return ReadFailed(first + k, "it lies in a data track, which holds no audio.");
    if (!ReadFrame(*s, first + k, out + static_cast<std::size_t>(k) * kFrameBytes)) return false;
  }
  return true;
}

}  // namespace korvalin
