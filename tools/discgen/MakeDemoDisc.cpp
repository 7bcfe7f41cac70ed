// Writes the demo disc that ships beside the program, so a new user without a CD drive can rip
// at once: five short tracks of generated music.
//   korvalin-make-demo-disc FOLDER

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: korvalin-make-demo-disc FOLDER\n");
    return 2;
  }
  try {
    // Lengths in seconds; odd frame counts on purpose, as on real discs.
    const std::vector<double> seconds = {21.3, 17.8, 26.1, 14.6, 19.9};
    std::vector<std::string> tracks;
    for (std::size_t i = 0; i < seconds.size(); ++i) {
      tracks.push_back(korvalin::discgen::MusicCdFrames(static_cast<long>(seconds[i] * 75), static_cast<uint32_t>(i + 1)));
    }
    korvalin::discgen::WriteDiscImage(argv[1], "Korvalin Demo Disc", tracks);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korvalin-make-demo-disc: %s\n", e.what());
    return 1;
  }
  return 0;
}
