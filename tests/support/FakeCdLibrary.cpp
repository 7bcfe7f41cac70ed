#include "tests/support/FakeCdLibrary.h"

#include <algorithm>
#include <cstring>

namespace korvalin::test {

using namespace cdrecord;

std::string FakeCdLibrary::FrameBytes(int32_t address) {
  std::string frame(kFrameSize, '\0');
  for (std::size_t i = 0; i < kFrameSize; ++i) frame[i] = static_cast<char>((address * 31 + static_cast<int32_t>(i) * 7) & 0xFF);
  return frame;
}

void FakeCdLibrary::SetTrackLengths(const std::vector<int32_t>& lengths) {
  tocAddresses.assign(1, 0);
  for (int32_t len : lengths) tocAddresses.push_back(tocAddresses.back() + len);
}

int32_t FakeCdLibrary::GetNumAdapters() {
  return adapters >= 0 ? adapters : static_cast<int32_t>(identifications.size());
}

int32_t FakeCdLibrary::GetCDList(uint8_t* list) {
  for (std::size_t k = 0; k < identifications.size() && k < kDriveEntries; ++k) {
    uint8_t* e = list + 2 + k * kDriveEntrySize;
    e[0] = static_cast<uint8_t>(k);
    std::memcpy(e + kIdentificationOffset, identifications[k].data(), std::min(identifications[k].size(), kIdentificationSize));
  }
  return 1;
}

int32_t FakeCdLibrary::GetCDHandle(const uint8_t* request) {
  if (request[0] != kOpenRequestSizeByte || request[1] != kOpenRequestVersion) {
    lastError_ = kBadRequestVersion;
    return 0;
  }
  if (openFails || request[2] >= identifications.size()) {
    lastError_ = kNotACdDevice;
    return 0;
  }
  openHandle_ = 0x101;  // only the low 8 bits are the handle
  return openHandle_;
}

int32_t FakeCdLibrary::ModifyCDParms(int32_t, int32_t, int32_t) { return 1; }

int32_t FakeCdLibrary::ReadTOC(int32_t handle, uint8_t* toc) {
  if (handle != (openHandle_ & 0xFF) || tocAddresses.empty()) {
    lastError_ = kInvalidHandle;
    return 0;
  }
  std::memset(toc, 0, kTocSize);
  for (std::size_t k = 0; k < tocAddresses.size() && k < kTocEntries; ++k) {
    uint8_t* e = toc + 4 + 8 * k;
    const auto a = static_cast<uint32_t>(tocAddresses[k]);
    e[4] = static_cast<uint8_t>(a >> 24);
    e[5] = static_cast<uint8_t>(a >> 16);
    e[6] = static_cast<uint8_t>(a >> 8);
    e[7] = static_cast<uint8_t>(a);
    if (std::find(dataTracks.begin(), dataTracks.end(), static_cast<int>(k) + 1) != dataTracks.end()) e[1] = 0x14;
  }
  return 1;
}

int32_t FakeCdLibrary::ReadCDAudioLBA(int32_t handle, uint8_t* buffer) {
  int32_t address, frames;
  std::memcpy(&address, buffer, 4);
  std::memcpy(&frames, buffer + 4, 4);
  reads.emplace_back(address, frames);
  if (handle != (openHandle_ & 0xFF)) {
    lastError_ = kInvalidHandle;
    return 0;
  }
  if (readFails && readFails(address, frames)) {
    lastError_ = readError;
    return 0;
  }
  for (int32_t f = 0; f < frames; ++f) {
    const std::string bytes = FrameBytes(address + f);
    std::memcpy(buffer + kTrackHeaderSize + static_cast<std::size_t>(f) * kFrameSize, bytes.data(), kFrameSize);
  }
  return 1;
}

int32_t FakeCdLibrary::CloseCDHandle(int32_t) {
  ++closes;
  openHandle_ = 0;
  return 1;
}

}  // namespace korvalin::test
