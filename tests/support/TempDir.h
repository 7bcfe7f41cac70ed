#pragma once
// Real folders for tests: each TempDir is a fresh folder under the system's temporary folder,
// removed with everything in it (write-protected entries included) when the object goes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvalin::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string operator/(std::string_view name) const;

 private:
  std::string path_;
};

// Small file helpers that fail the test (by throwing) when the file system refuses.
void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
int64_t FileSize(const std::string& path);
// The names in `folder`, sorted; none when it cannot be read.
std::vector<std::string> NamesIn(const std::string& folder);

// Gives the current process a home and XDG folders of its own, the offscreen Qt platform, and a
// proxy that keeps every request but those to the loopback address on the machine.
void IsolateEnvironment();

}  // namespace korvalin::test
