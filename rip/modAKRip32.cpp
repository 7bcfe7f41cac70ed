#include "rip/modAKRip32.h"

#include <cstring>

#include "common/RaisedError.h"

namespace korvalin {

using namespace cdrecord;

DriveEntry modAKRip32::GetDriveEntry(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(kDriveEntries)) throw RaisedError::Of(errnum::SubscriptOutOfRange);
  std::array<uint8_t, kDriveListSize> list{};
  library_.GetCDList(list.data());
  DriveEntry entry{};
  std::memcpy(entry.data(), list.data() + 2 + static_cast<std::size_t>(index) * kDriveEntrySize, kDriveEntrySize);
  return entry;
}

bool modAKRip32::OpenDrive(int32_t index) {
  const DriveEntry entry = GetDriveEntry(index);
  std::array<uint8_t, kOpenRequestSize> request{};
  request[0] = kOpenRequestSizeByte;
  request[1] = kOpenRequestVersion;
  request[2] = entry[0];  // host adapter
  request[3] = entry[1];  // target id
  request[4] = entry[2];  // logical unit
  CurrentDriveHandle = library_.GetCDHandle(request.data()) & 0xFF;
  if (CurrentDriveHandle == 0) return false;
  library_.ModifyCDParms(CurrentDriveHandle, 36, 0);  // addresses as logical block addresses
  return library_.ReadTOC(CurrentDriveHandle, CurrentToc.data()) == 1;
}

int16_t modAKRip32::CloseDrive() { return static_cast<int16_t>(library_.CloseCDHandle(CurrentDriveHandle) & 0xFFFF); }

std::string modAKRip32::LibraryErrorText() {
  return library_.ExplainError(AkripErrorText(library_.GetAspiLibError()));
}

int32_t modAKRip32::TrackAddress(const uint8_t* b) {
  if (b[0] >= 128) throw RaisedError::Of(errnum::Overflow);
  return static_cast<int32_t>(b[0]) << 24 | static_cast<int32_t>(b[1]) << 16 | static_cast<int32_t>(b[2]) << 8 | b[3];
}

int32_t modAKRip32::EntryAddress(int32_t entry) const {
  return TrackAddress(CurrentToc.data() + 4 + 8 * static_cast<std::size_t>(entry) + 4);
}

int32_t modAKRip32::TrackFirstFrame(int32_t track) const {
  if (track < 1 || track > 99) throw RaisedError::Of(errnum::SubscriptOutOfRange);
  return EntryAddress(track - 1);
}

int32_t modAKRip32::TrackEndFrame(int32_t track) const {
  if (track < 1 || track > 99) throw RaisedError::Of(errnum::SubscriptOutOfRange);
  return EntryAddress(track);
}

bool modAKRip32::IsDataTrack(int32_t track) const {
  if (track < 1 || track > 99) throw RaisedError::Of(errnum::SubscriptOutOfRange);
  constexpr uint8_t kDataControlBit = 0x04;
  return (CurrentToc[4 + 8 * static_cast<std::size_t>(track - 1) + 1] & kDataControlBit) != 0;
}

std::string DriveListText(const DriveEntry& entry) {
  std::string text;
  for (std::size_t i = 0; i < kIdentificationSize; ++i) {
    const uint8_t c = entry[kIdentificationOffset + i];
    if (c != 0) text += static_cast<char>(c);
  }
  return text;
}

std::string AkripErrorText(int32_t code) {
  switch (code) {
    case 0: return "No error...";
    case -1: return "Unable to load WNASPI32.DLL (95/98/NT/2000) or use SCSI passthrough (NT/2000)";
    case -2:
      return "Could not load ASPI function GetASPI32SupportInfo. Only occurs when an ASPI manager (WNASPI32.DLL) is "
             "found, but cannot be correctly loaded by the system. Most often indicates that ASPI is improperly "
             "installed.";
    case -3:
      return "Could not load ASPI function SendASPI32Command. Only occurs when an ASPI manager (WNASPI32.DLL) is "
             "found, but cannot be correctly loaded by the system. Most often indicates that ASPI is improperly "
             "installed.";
    case -4: return "An error was returned by the ASPI manager. Use GetAspiLibAspiError to retrieve the actual ASPI error.";
    case -5: return "Unused in the current implementation";
    case -6: return "The buffer passed to ReadCDAudioLBA or ReadCDAudioLBAEx is too small for the requested number of frames.";
    case -7: return "The handle to the CD-ROM unit is invalid.";
    case -8: return "All available slots for CD-ROM handles have been allocated.";
    case -9: return "Results from passing a bad buf parameter to GetCDId (ie. a NULL pointer)";
    case -10: return "The ha:tgt:lun values passed to GetCDHandle do not refer to a CD-ROM device.";
    case -11: return "Unable to obtain an exclusive lock on a CD handle.";
    case -12: return "Occurs when attempting to call GetCDHandle for a ha:tgt:lun value that has already been allocated.";
    case -13: return "Invalid value for the LPGETCDHAND parameter to GetCDHandle";
    case -14: return "Invalid version or size specified in LPGETCDHAND parameter to GetCDHandle";
    case -15: return "An automatic jitter adjust failed during a call to ReadCDAudioLBAEx";
    default: return {};
  }
}

}  // namespace korvalin
