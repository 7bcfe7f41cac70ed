#pragma once
// Drive and system information from the machine: file systems, memory, processors, names and
// versions. Drives are the mount points of real file systems (see MountTable.h); byte counts are
// 64-bit, so today's disks measure exactly.

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/DriveSource.h"

namespace korvalin {

class System : public DriveSource {
 public:
  // Total and free bytes of the file system holding strRoot. Free is what an ordinary user may
  // still write (blocks the system keeps for its own use are not counted). 0 and 0 on failure.
  void DriveInfo(const std::string& strRoot, int64_t& lngTotalSpace, int64_t& lngFreeSpace) override;

  // Adds 1 to the counter of each drive root's type; the counters are not reset first. "Fixed
  // drive" counts in intNotRemovable.
  void Drives(int16_t& intRemovable, int16_t& intNotRemovable, int16_t& intCD, int16_t& intRAM, int16_t& intNetwork);

  // "Removable drive" for a disk with removable media, "Fixed drive" for any other local disk
  // (and for local file systems without a single disk below them, such as an overlay), "CD-ROM
  // drive" for an optical drive, "Network drive" for a file system served by another machine,
  // "RAM-disk" for one kept in memory; "" for a path that does not exist or a pseudo file system.
  std::string DriveType(const std::string& strRoot) override;

  // The mount points of real file systems that are folders, in mount-table order.
  std::vector<std::string> DriveRoots() override;
  // From the whole mount table: a path on a pseudo file system gets that file system's mount
  // point, not the drive above it.
  std::string MountOf(const std::string& path) override;

  // The digits of a number with "." between groups of three from the right: 1234567 gives
  // "1.234.567"; up to three digits are unchanged.
  static std::string PutPoints(int64_t lngNumber);

  // The free bytes of the file system holding strRoot; 0 on any error.
  int64_t FastDiskSpace(const std::string& strRoot);

  // Memory in use in percent, total and available physical memory in kilobytes (rounded).
  void FreeMemory(uint8_t& btePercentUsed, int64_t& lngTotalRam, int64_t& lngFreeRam);

  // The keyboard: a PC keyboard here, which has 12 function keys.
  uint8_t FunctionKeys();
  std::string KeyboardType();
  // The name of a keyboard type number (1 to 7); "" for any other number.
  static std::string KeyboardTypeText(int32_t type);

  // The processor's model name (left unchanged when the system names none), the number of
  // processors online and the mask of those this program may run on.
  void SystemInfo(std::string& strProcessor, int32_t& lngNumOfProcessors, int64_t& lngActiveProcessor);

  // Folders, each ending in "/": the temporary folder (TMPDIR, else /tmp), the folder of the
  // system's shared libraries (/usr/lib) and the folder of the system's own settings (/etc).
  std::string TempDir();
  std::string SystemDir();
  std::string WinDir();

  // The machine's host name and the name of the user the program runs as; "" when unknown.
  std::string ComputerName();
  std::string UserName();

  // The first eight hex digits of the UUID of the file system holding strRoot, as "XXXX-XXXX";
  // "0000-0000" when the system gives no UUID for it.
  std::string SerialNumber(const std::string& strRoot);
  // The label of the file system holding strRoot; "NoName" when it has none; "" when strRoot
  // does not exist.
  std::string VolumeLabel(const std::string& strRoot);

  // The kernel's name and version: major and minor number, and e.g. "Linux 6.1"; 0, 0 and ""
  // when the query fails.
  void WinVer(int32_t& intMajor, int32_t& intMinor, std::string& strPlatform);

 private:
  // The text before the first NUL of a buffer filled by the system, or all of it.
  static std::string BeforeNul(const char* buffer, std::size_t size);
};

// What kind of drive a mounted file system is, from its type and, when it lies on a block device,
// the device's kernel name ("sda1", "sr0"; "" when none) and whether its medium is removable.
std::string DriveTypeText(const std::string& fsType, const std::string& blockName, bool removable);

// "XXXX-XXXX" from a file system UUID ("2f1c...-..." or a short "ABCD-1234"): its first eight hex
// digits, upper-cased; "0000-0000" when it has none.
std::string SerialFromUuid(const std::string& uuid);

// A device link name with the system's "\xHH" escapes decoded ("My\x20Disc" is "My Disc").
std::string DecodeLinkName(const std::string& name);

}  // namespace korvalin
