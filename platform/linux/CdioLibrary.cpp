#include "platform/linux/CdioLibrary.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "common/NameOrder.h"
#include "common/RaisedError.h"
#include "platform/linux/DiscReading.h"

namespace korvalin {
namespace {

using namespace cdrecord;

// libcdio reports through its own log; the program shows its own messages instead.
void QuietLog(cdio_log_level_t, const char*) {}

struct QuietLogging {
  QuietLogging() { cdio_log_set_handler(QuietLog); }
};
void KeepLibcdioQuiet() { static QuietLogging once; }

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

std::string Trimmed(const char* s) {
  std::string t(s);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  while (!t.empty() && t.front() == ' ') t.erase(t.begin());
  return t;
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr uint8_t kLeadOutTrack = 0xAA;

}  // namespace

std::vector<CdDriveSource> CdioLibrary::FindDrives(const std::vector<std::string>& discFolders) {
  KeepLibcdioQuiet();
  std::vector<CdDriveSource> drives;
  if (char** devices = cdio_get_devices(DRIVER_DEVICE)) {
    for (char** d = devices; *d; ++d) {
      CdDriveSource drive{*d, *d, false};
      if (CdIo_t* cdio = cdio_open(*d, DRIVER_DEVICE)) {
        cdio_hwinfo_t info{};
        if (cdio_get_hwinfo(cdio, &info)) {
          drive.identification = Trimmed(info.psz_vendor) + " " + Trimmed(info.psz_model) + " " + Trimmed(info.psz_revision);
        }
        cdio_destroy(cdio);
      }
      drives.push_back(std::move(drive));
    }
    cdio_free_device_list(devices);
  }
  for (const std::string& folder : discFolders) {
    std::vector<std::string> images;
    if (DIR* dir = ::opendir(folder.c_str())) {
      while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        struct stat st {};
        if (name.size() > 4 && LCase(name.substr(name.size() - 4)) == ".cue" &&
            ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)) {
          images.push_back(name);
        }
      }
      ::closedir(dir);
    }
    std::sort(images.begin(), images.end(), NameLess);
    for (const auto& name : images) drives.push_back(ImageDrive(folder + "/" + name));
  }
  return drives;
}

CdDriveSource CdioLibrary::ImageDrive(const std::string& cuePath) { return {cuePath, FileName(cuePath), true}; }

CdioLibrary::CdioLibrary(std::vector<CdDriveSource> drives) : drives_(std::move(drives)) { KeepLibcdioQuiet(); }

CdioLibrary::~CdioLibrary() = default;

int32_t CdioLibrary::Fail(int32_t code, int32_t result) {
  lastError_ = code;
  readFault_.clear();
  return result;
}

CdioLibrary::Slot* CdioLibrary::SlotOf(int32_t handle) {
  return const_cast<Slot*>(static_cast<const CdioLibrary*>(this)->SlotOf(handle));
}

const CdioLibrary::Slot* CdioLibrary::SlotOf(int32_t handle) const {
  if (handle < 1 || handle > kMaxHandles) return nullptr;
  const Slot& s = slots_[static_cast<std::size_t>(handle - 1)];
  return s.disc ? &s : nullptr;
}

int32_t CdioLibrary::GetNumAdapters() {
  // Without a drive or an image there is nothing to list: the caller sees the same failure as
  // for a library that cannot be used, and leaves its drive list empty.
  if (drives_.empty()) throw RaisedError(errnum::DeviceIoError, "No CD drive or disc image was found.", "GetNumAdapters");
  return static_cast<int32_t>(drives_.size());
}

int32_t CdioLibrary::GetCDList(uint8_t* list) {
  const std::size_t n = std::min(drives_.size(), kDriveEntries);
  for (std::size_t k = 0; k < n; ++k) {
    uint8_t* entry = list + 2 + k * kDriveEntrySize;
    entry[0] = static_cast<uint8_t>(k);  // each drive on its own host adapter, target 0, unit 0
    entry[1] = 0;
    entry[2] = 0;
    const std::string& id = drives_[k].identification;
    std::memset(entry + kIdentificationOffset, 0, kIdentificationSize);
    std::memcpy(entry + kIdentificationOffset, id.data(), std::min(id.size(), kIdentificationSize - 1));
  }
  list[0] = static_cast<uint8_t>(n);
  list[1] = 0;
  return 1;
}

int32_t CdioLibrary::GetCDHandle(const uint8_t* request) {
  if (!request) return Fail(kBadRequest);
  if (request[0] != kOpenRequestSizeByte || request[1] != kOpenRequestVersion) return Fail(kBadRequestVersion);
  const int drive = request[2];
  if (request[3] != 0 || request[4] != 0 || drive >= static_cast<int>(drives_.size())) return Fail(kNotACdDevice);
  Slot* free = nullptr;
  for (auto& s : slots_) {
    if (s.disc && s.drive == drive) return Fail(kAlreadyOpen);
    if (!s.disc && !free) free = &s;
  }
  if (!free) return Fail(kNoFreeHandle);
  OpenedDisc opened = OpenDisc(drives_[static_cast<std::size_t>(drive)]);
  if (!opened.reader) {
    lastFault_ = opened.fault;
    return Fail(kNotACdDevice);
  }
  free->disc = ForReading(std::move(opened.reader), drives_[static_cast<std::size_t>(drive)].isImage);
  free->drive = drive;
  lastError_ = 0;
  lastFault_.clear();
  return static_cast<int32_t>(free - slots_.data()) + 1;
}

int32_t CdioLibrary::ModifyCDParms(int32_t handle, int32_t, int32_t) {
  // Addresses are always those of the program area, the only mode the program asks for.
  if (!SlotOf(handle)) return Fail(kInvalidHandle);
  return 1;
}

int32_t CdioLibrary::ReadTOC(int32_t handle, uint8_t* toc) {
  Slot* s = SlotOf(handle);
  if (!s) return Fail(kInvalidHandle);
  std::memset(toc, 0, kTocSize);
  const std::vector<DiscTrack>& tracks = s->disc->Tracks();
  if (tracks.empty() || tracks.size() >= kTocEntries) return Fail(kReadFailed);
  const std::size_t entries = tracks.size() + 1;  // tracks and lead-out
  toc[0] = static_cast<uint8_t>((2 + 8 * entries) >> 8);
  toc[1] = static_cast<uint8_t>(2 + 8 * entries);
  toc[2] = static_cast<uint8_t>(tracks.front().number);
  toc[3] = static_cast<uint8_t>(tracks.back().number);
  for (std::size_t k = 0; k < entries; ++k) {
    const bool leadOut = k + 1 == entries;
    uint8_t* e = toc + 4 + 8 * k;
    e[1] = static_cast<uint8_t>(0x10 | (!leadOut && tracks[k].data ? 0x04 : 0x00));
    e[2] = leadOut ? kLeadOutTrack : static_cast<uint8_t>(tracks[k].number);
    PutBe32(e + 4, static_cast<uint32_t>(leadOut ? s->disc->LeadOut() : tracks[k].start));
  }
  lastError_ = 0;
  return 1;
}

int32_t CdioLibrary::ReadCDAudioLBA(int32_t handle, uint8_t* buffer) {
  Slot* s = SlotOf(handle);
  if (!s) return Fail(kInvalidHandle);
  const auto first = static_cast<int32_t>(Le32(buffer));
  const uint32_t count = Le32(buffer + 4);
  const uint32_t capacity = Le32(buffer + 8);
  if (count > capacity / kFrameSize) return Fail(kBufferTooSmall);
  if (count == 0) return 1;
  if (!s->disc->ReadAudio(first, static_cast<int32_t>(count), buffer + kTrackHeaderSize)) {
    Fail(kReadFailed);
    readFault_ = s->disc->ReadFault();
    readFaultOfImage_ = drives_[static_cast<std::size_t>(s->drive)].isImage;
    return 0;
  }
  lastError_ = 0;
  return 1;
}

void CdioLibrary::ReadsEnded(int32_t handle) {
  if (Slot* s = SlotOf(handle)) s->disc->ReadsEnded();
}

int32_t CdioLibrary::CloseCDHandle(int32_t handle) {
  Slot* s = SlotOf(handle);
  if (!s) return Fail(kInvalidHandle);
  *s = Slot{};
  lastError_ = 0;
  return 1;
}

int32_t CdioLibrary::GetAspiLibError() { return lastError_; }

std::unique_ptr<CorrectingReader> CdioLibrary::OpenCorrectingReader(int32_t handle) {
  Slot* s = SlotOf(handle);
  return s ? s->disc->OpenCorrectingReader() : nullptr;
}

std::string CdioLibrary::ExplainError(const std::string& codeText) const {
  if (lastError_ != kReadFailed || readFault_.empty()) return codeText;
  return readFaultOfImage_ ? readFault_ : codeText + " " + readFault_;
}

std::vector<std::string> CdioLibrary::SourceFiles(int32_t handle) const {
  const Slot* s = SlotOf(handle);
  return s ? s->disc->SourceFiles() : std::vector<std::string>{};
}

DiscText CdioLibrary::ReadDiscText(int32_t handle) {
  Slot* s = SlotOf(handle);
  return s ? s->disc->Text() : DiscText{};
}

}  // namespace korvalin
