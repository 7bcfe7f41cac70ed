#pragma once
// Builds a tree of files under a folder from a list of relative paths: "a/b/c.wav" makes the
// folders a and a/b and a file c.wav holding `size` bytes; a path ending in "/" makes a folder.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace korvalin::test {

inline void MakeFile(const std::string& path, std::size_t size = 0) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string bytes(size, 'x');
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline void MakeTree(const std::string& root, std::initializer_list<const char*> paths, std::size_t size = 0) {
  for (std::string p : paths) {
    if (!p.empty() && p.back() == '/') {
      std::filesystem::create_directories(root + "/" + p);
    } else {
      MakeFile(root + "/" + p, size);
    }
  }
}

}  // namespace korvalin::test
