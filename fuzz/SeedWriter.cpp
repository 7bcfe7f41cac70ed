// Writes the seed corpus of every fuzz target: <folder>/<target>/<seed file>.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz/FuzzTargets.h"
#include "fuzz/Seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  for (const auto& target : korvalin::fuzz::AllTargets()) {
    const fs::path folder = fs::path(argv[1]) / target.name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& [name, bytes] : korvalin::fuzz::SeedsOf(target.name)) {
      std::ofstream out(folder / name, std::ios::binary);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
        return 1;
      }
    }
  }
  return 0;
}
