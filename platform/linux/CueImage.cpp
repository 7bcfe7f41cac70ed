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
  const int fd = ::open(cuePath.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    const int err = errno;
    if (fd >= 0) ::close(fd);
    Refuse(cuePath, std::string("the sheet cannot be read (") + std::strerror(err) + ").");
  }
  std::string text;
  bool ok = S_ISREG(st.st_mode) && st.st_size <= kMaxSheetBytes;
  if (ok) {
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    text.resize(done);
  }
  ::close(fd);
  if (!S_ISREG(st.st_mode)) Refuse(cuePath, "the sheet is not a file.");
  if (!ok) Refuse(cuePath, "the sheet is larger than any CUE sheet (over 1 MB).");
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
  int fileOrdinal = 0;
  std::string fileName, fileType;
  bool data = false;
  int64_t block = 0;
  int64_t index0 = -1, index1 = -1;  // in frames from the start of the file's data
  int64_t silenceBefore = 0, silenceAfter = 0;
};

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

int CueImage::AddFile(const std::string& name, const std::string& type, bool audioOnly) {
  AudioFile file;
  file.path = !name.empty() && name[0] == '/' ? name : FolderOf(cuePath_) + "/" + name;
  const std::string shown = "the file \"" + name + "\" named by the sheet";
  if (type == "WAVE") {
    if (!audioOnly) Refuse(cuePath_, shown + " is a WAVE file, which cannot hold a data track.");
    try {
      const WavInput wav(file.path);
      const WavAudioFormat& f = wav.Format();
      if (f.channels != 2 || f.sampleRate != 44100) throw RaisedError(kInvalidFileFormat, "");
      file.dataOffset = f.dataOffset;
      file.dataLength = f.dataLength;
    } catch (const RaisedError&) {
      struct stat st {};
      if (::stat(file.path.c_str(), &st) != 0) {
        Refuse(cuePath_, shown + " cannot be read (" + std::strerror(errno) + ").");
      }
      Refuse(cuePath_, shown + " is not CD audio (a WAV file of 16-bit 44.1 kHz stereo PCM).");
    }
  } else if (type != "BINARY" && type != "MOTOROLA") {
    Refuse(cuePath_, shown + " is of type " + (type.empty() ? std::string("(none)") : type) +
                         "; only BINARY, MOTOROLA and WAVE files of CD audio can be read.");
  }
  file.fd = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0) {
    const int err = errno;
    if (file.fd >= 0) ::close(file.fd);
    Refuse(cuePath_, shown + " cannot be read (" + std::strerror(err) + ").");
  }
  files_.push_back(file);  // from here on the destructor closes it
  if (!S_ISREG(st.st_mode)) Refuse(cuePath_, shown + " is not a regular file.");
  if (type != "WAVE") {
    files_.back().dataLength = st.st_size;
    files_.back().bigEndian = type == "MOTOROLA";
  }
  if (files_.back().dataLength <= 0) Refuse(cuePath_, shown + " holds no frames.");
  return static_cast<int>(files_.size()) - 1;
}

void CueImage::AddSegment(int32_t frames, int file, int64_t byteOffset, bool data) {
  if (frames <= 0) return;
  segments_.push_back({static_cast<int32_t>(discFrames_), frames, file, byteOffset, data});
  discFrames_ += frames;
  if (discFrames_ > kMaxDiscFrames) Refuse(cuePath_, "it is longer than 100 minutes, more than a CD holds.");
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
    const std::string name = "track " + std::to_string(t.number);
    const char* fileName = track_get_filename(track);
    if (!fileName || !*fileName || scanned.fileOrdinal < 0) Refuse(cuePath_, name + " names no file.");
    t.fileName = fileName;
    t.fileOrdinal = scanned.fileOrdinal;
    t.fileType = scanned.fileType;
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
    if (t.index0 >= 0 && t.index0 > t.index1) Refuse(cuePath_, "the indexes of " + name + " go backwards.");
    // libcue reports INDEX 00 pregaps and PREGAP silence alike; only the second is not in the file.
    const long pre = track_get_zero_pre(track), post = track_get_zero_post(track);
    if (t.index0 < 0 && pre > 0) t.silenceBefore = pre;
    if (post > 0) t.silenceAfter = post;
    if (t.silenceBefore > kMaxDiscFrames || t.silenceAfter > kMaxDiscFrames) {
      Refuse(cuePath_, "it is longer than 100 minutes, more than a CD holds.");
    }
    sheet.push_back(t);
  }

  // Tracks of one FILE line at a time: each track holds the frames from its first index (INDEX
  // 00, else 01) to the next track's, the last one to the end of the file.
  for (std::size_t g = 0; g < sheet.size();) {
    std::size_t end = g;
    bool audioOnly = true;
    while (end < sheet.size() && sheet[end].fileOrdinal == sheet[g].fileOrdinal) audioOnly &= !sheet[end++].data;
    const int file = AddFile(sheet[g].fileName, sheet[g].fileType, audioOnly);
    const int64_t fileBytes = files_[static_cast<std::size_t>(file)].dataLength;
    auto regionStart = [&](std::size_t j) { return sheet[j].index0 >= 0 ? sheet[j].index0 : sheet[j].index1; };

    // Frames before the first track's index belong to the disc just before it.
    int64_t frame = regionStart(g);
    int64_t byte = frame * sheet[g].block;
    if (byte > fileBytes) Refuse(cuePath_, "an index of track " + std::to_string(sheet[g].number) + " lies past the end of its file.");
    AddSegment(static_cast<int32_t>(frame), file, 0, sheet[g].data);
    for (std::size_t j = g; j < end; ++j) {
      const SheetTrack& t = sheet[j];
      const std::string name = "track " + std::to_string(t.number);
      if (j > g && regionStart(j) <= sheet[j - 1].index1) {
        Refuse(cuePath_, "the indexes of " + name + " go backwards or leave the track before it empty.");
      }
      if (j > g) AddSegment(static_cast<int32_t>(sheet[j - 1].silenceAfter), -1, 0, false);
      AddSegment(static_cast<int32_t>(t.silenceBefore), -1, 0, false);
      const int64_t first = (t.index1 - regionStart(j)) * t.block + byte;
      if (first >= fileBytes) Refuse(cuePath_, "the INDEX 01 of " + name + " lies past the end of its file.");
      tracks_.push_back({t.number, static_cast<int32_t>(discFrames_ + t.index1 - regionStart(j)), t.data});
      // The frames of this track: up to the next track's region, or to the end of the file (a
      // last frame that is cut short is completed with silence).
      const int64_t frames =
          j + 1 < end ? regionStart(j + 1) - regionStart(j) : (fileBytes - byte + t.block - 1) / t.block;
      if (byte + frames * t.block > fileBytes + t.block - 1 || frames > kMaxDiscFrames) {
        Refuse(cuePath_, "an index of track " + std::to_string(sheet[j + 1 < end ? j + 1 : j].number) +
                             " lies past the end of its file.");
      }
      AddSegment(static_cast<int32_t>(frames), file, byte, t.data);
      byte += frames * t.block;
      frame += frames;
    }
    AddSegment(static_cast<int32_t>(sheet[end - 1].silenceAfter), -1, 0, false);
    g = end;
  }
  leadOut_ = static_cast<int32_t>(discFrames_);
}

const CueImage::Segment* CueImage::SegmentAt(int32_t frame) const {
  auto it = std::upper_bound(segments_.begin(), segments_.end(), frame,
                             [](int32_t f, const Segment& s) { return f < s.discStart; });
  if (it == segments_.begin()) return nullptr;
  --it;
  return frame < it->discStart + it->frames ? &*it : nullptr;
}

bool CueImage::ReadFrame(const Segment& s, int32_t frame, uint8_t* out) const {
  if (s.file < 0) {
    std::memset(out, 0, kFrameBytes);
    return true;
  }
  const AudioFile& f = files_[static_cast<std::size_t>(s.file)];
  const int64_t at = s.byteOffset + static_cast<int64_t>(frame - s.discStart) * kFrameBytes;
  const int64_t wanted = std::min<int64_t>(kFrameBytes, f.dataLength - at);
  if (wanted <= 0) return false;
  int64_t done = 0;
  while (done < wanted) {
    const ssize_t n = ::pread(f.fd, out + done, static_cast<std::size_t>(wanted - done), f.dataOffset + at + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // the file is shorter than it was when the disc was opened
    done += n;
  }
  std::memset(out + wanted, 0, static_cast<std::size_t>(kFrameBytes - wanted));
  if (f.bigEndian) {
    for (int64_t i = 0; i + 1 < kFrameBytes; i += 2) std::swap(out[i], out[i + 1]);
  }
  return true;
}

bool CueImage::ReadAudio(int32_t first, int32_t count, uint8_t* out) {
  if (first < 0 || count < 0 || static_cast<int64_t>(first) + count > discFrames_) return false;
  for (int32_t k = 0; k < count; ++k) {
    const Segment* s = SegmentAt(first + k);
    if (!s || s->data || !ReadFrame(*s, first + k, out + static_cast<std::size_t>(k) * kFrameBytes)) return false;
  }
  return true;
}

}  // namespace korvalin
