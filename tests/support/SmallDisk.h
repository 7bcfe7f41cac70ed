#pragma once
// A real, small file system for fault injection: a tmpfs of a fixed size mounted on a fresh
// folder, so that writes really fail with "no space left" at the byte where the disk is full, and
// that can be made read-only as a whole (which also stops root). The process enters a mount
// namespace of its own the first time (a user namespace too when it is not root), so nothing is
// mounted for anyone else. Where the system allows neither, Available() is false and Why() says
// why: the test skips.

#include <cstdint>
#include <string>
#include <string_view>

#include "tests/support/TempDir.h"

namespace korvalin::test {

class SmallDisk {
 public:
  explicit SmallDisk(int64_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool Available() const { return mounted_; }
  const std::string& Why() const { return why_; }

  const std::string& Path() const { return folder_.Path(); }
  std::string operator/(std::string_view name) const { return folder_ / name; }

  // Bytes that can still be written.
  int64_t FreeBytes() const;
  // Fills the disk with a file of its own until no more than `bytes` stay free (whole pages).
  void LeaveFree(int64_t bytes);
  // Remounts the disk read-only: every later create or write fails, for root too.
  void MakeReadOnly();

 private:
  TempDir folder_;
  bool mounted_ = false;
  std::string why_;
  int fillers_ = 0;
};

}  // namespace korvalin::test
