#include "fuzz/FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace korvalin::fuzz {
namespace {

std::string MakeScratch() {
  // Memory-backed when the system has it: the targets write a file for every input.
  const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/korvalin-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  static std::string removeAtExit;
  removeAtExit = pattern;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(removeAtExit, ignored);
  });
  return pattern;
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = MakeScratch();
  return folder;
}

std::string ScratchPath(std::string_view name) { return ScratchFolder() + "/" + std::string(name); }

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  std::size_t done = 0;
  while (fd >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (fd < 0 || done != bytes.size() || ::close(fd) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {
struct Offer {
  std::string path;
  std::string_view bytes;
};
Offer& TheOffer() {
  static Offer offer;
  return offer;
}
}  // namespace

void OfferInMemory(std::string path, std::string_view bytes) { TheOffer() = {std::move(path), bytes}; }

const std::string_view* InMemory(const char* path) {
  const Offer& offer = TheOffer();
  return path && !offer.path.empty() && offer.path == path ? &offer.bytes : nullptr;
}

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

std::vector<std::string_view> Lines(std::string_view input) {
  std::vector<std::string_view> lines;
  for (;;) {
    const std::size_t end = input.find('\n');
    lines.push_back(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace korvalin::fuzz
