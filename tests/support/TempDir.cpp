#include "tests/support/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvalin::test {
namespace fs = std::filesystem;

namespace {

std::string MakeTempFolder(const char* prefix) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
  return pattern;
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  // Give every folder back its write and search rights first, so nothing blocks the removal.
  for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path, ec);
}

std::string isolatedRoot;

}  // namespace

TempDir::TempDir() : path_(MakeTempFolder("korvalin-")) {}
TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

int64_t FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return st.st_size;
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    names.push_back(it->path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void IsolateEnvironment() {
  isolatedRoot = MakeTempFolder("korvalin-home-");
  const std::string home = isolatedRoot + "/home";
  const std::string runtime = isolatedRoot + "/runtime";
  for (const std::string& dir : {home, home + "/.config", home + "/.cache", runtime}) ::mkdir(dir.c_str(), 0700);
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // No test leaves the machine: a request to any other host (the AccurateRip database's default
  // address, say) goes to a port where nothing listens and fails at once; loopback servers are
  // reached directly.
  ::setenv("http_proxy", "http://127.0.0.1:9", 1);
  ::setenv("https_proxy", "http://127.0.0.1:9", 1);
  ::setenv("no_proxy", "127.0.0.1,localhost", 1);
  std::atexit([] { RemoveTree(isolatedRoot); });
}

}  // namespace korvalin::test
