// The local search and the collection rebuild over generated trees, beside find(1) in one run:
//  - the search for .wav over 100,000 files in 5,000 folders, against
//    find DIR -type f -iname '*.wav' (the search core alone, and run through the File Finder
//    window's lists);
//  - showfiles over a destination folder with 10,000 WAV and MP3 files, against the two finds
//    it stands for;
//  - 1,000 Cmaddfile2 calls into that collection, on the virtual clock (the 0.3-second pauses
//    cost no time).
// Prints median times and ratios.
//   bench_search [RUNS]

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "collection/CollectionTree.h"
#include "finder/LocalSearch.h"
#include "finder/frmsearch.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace {

using namespace korvalin;

void MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) != 0) {
    std::fprintf(stderr, "bench_search: cannot make %s\n", path.c_str());
    std::exit(1);
  }
}

void MakeFile(const std::string& path, std::size_t size = 0) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    std::fprintf(stderr, "bench_search: cannot make %s\n", path.c_str());
    std::exit(1);
  }
  if (size > 0) {
    const std::string bytes(size, 'x');
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(size)) std::exit(1);
  }
  ::close(fd);
}

// 50 folders of 99 subfolders each (5,000 folders below the root), 20 files in every one of
// them: 8 WAV (one with its extension in capitals), 8 MP3 and 4 others.
void MakeSearchTree(const std::string& root) {
  auto fill = [](const std::string& folder) {
    char name[32];
    for (int i = 0; i < 20; ++i) {
      if (i < 8) std::snprintf(name, sizeof name, i == 0 ? "Track%02d.WAV" : "track%02d.wav", i);
      else if (i < 16) std::snprintf(name, sizeof name, "song %02d.mp3", i);
      else std::snprintf(name, sizeof name, "cover%d.jpg", i);
      MakeFile(folder + "/" + name);
    }
  };
  for (int d = 0; d < 50; ++d) {
    const std::string top = root + "/disc " + std::to_string(d);
    MakeFolder(top);
    fill(top);
    for (int e = 0; e < 99; ++e) {
      const std::string sub = top + "/cd" + std::to_string(e);
      MakeFolder(sub);
      fill(sub);
    }
  }
}

// 100 folders of 50 WAV and 50 MP3 files each (10,000 files), 200 bytes apiece.
void MakeDestination(const std::string& root) {
  for (int d = 0; d < 100; ++d) {
    const std::string folder = root + "/album" + std::to_string(d);
    MakeFolder(folder);
    for (int i = 0; i < 50; ++i) {
      MakeFile(folder + "/" + std::to_string(d) + "-" + std::to_string(i) + ".wav", 200);
      MakeFile(folder + "/" + std::to_string(d) + "-" + std::to_string(i) + ".mp3", 200);
    }
  }
}

struct Host : CollectionHost {
  void ShowMainWindow() override {}
};

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using bench::MedianSeconds;
  using bench::Report;
  using bench::Shell;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  test::TempDir dir;
  const std::string tree = dir / "tree";
  const std::string dest = dir / "dest";
  MakeFolder(tree);
  MakeFolder(dest);
  std::printf("generating 100,000 files in 5,000 folders and a destination of 10,000 files ...\n");
  MakeSearchTree(tree);
  MakeDestination(dest);

  // --- the search ---
  const std::string findWav = "find '" + tree + "' -type f -iname '*.wav' > /dev/null";
  std::size_t found = 0;
  long yields = 0;
  auto ours = [&] {
    LocalSearch search(tree, ".wav");
    search.yield = [&] { ++yields; };
    search.Run();
    found = search.Results().size();
  };
  ours();  // both walk a warm cache
  Shell(findWav);
  const double tFind = MedianSeconds(runs, [&] { Shell(findWav); });
  const double tOurs = MedianSeconds(runs, ours);
  std::printf("found %zu files (find: ", found);
  std::fflush(stdout);
  Shell("find '" + tree + "' -type f -iname '*.wav' | wc -l | tr -d '\\n'");
  std::printf(")\n");
  Report("search .wav, 100,000 files (core)", tOurs, "find -iname '*.wav'", tFind);

  test::FakeServices fake;
  test::ScriptedEventLoop& loop = fake.loop;
  frmsearch finder(fake.services);
  finder.Show();
  finder.Dir1.SetText(tree);
  const double tWindow = MedianSeconds(runs, [&] { finder.Command1.Click(); });
  Report("search .wav, 100,000 files (window)", tWindow, "find -iname '*.wav'", tFind);
  std::printf("  the core is %s 3x of find\n", tOurs <= 3 * tFind ? "within" : "NOT within");

  // --- the rebuild ---
  Settings settings;
  settings.DecodePath = dest;
  settings.ShowFullPath = 1;
  settings.DeleteWAV = 0;
  Host host;
  const std::string findBoth =
      "find '" + dest + "' -type f -iname '*.wav' > /dev/null && find '" + dest + "' -type f -iname '*.mp3' > /dev/null";
  const double tFind2 = MedianSeconds(runs, [&] { Shell(findBoth); });
  for (int16_t full : {1, 0}) {
    settings.ShowFullPath = full;
    CollectionTree collection(settings, loop, host);
    const double t = MedianSeconds(runs, [&] { collection.showfiles(); });
    Report(std::string("showfiles, 10,000 files, ") + (full ? "full paths" : "names"), t, "two finds", tFind2);
  }

  // --- adding files one by one ---
  const std::string added = dir / "added";
  MakeFolder(added);
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) {
    files.push_back(added + "/" + std::to_string(i) + (i % 2 ? ".mp3" : ".wav"));
    MakeFile(files.back(), 200);
  }
  settings.ShowFullPath = 1;
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    CollectionTree collection(settings, loop, host);
    collection.showfiles();
    const auto start = std::chrono::steady_clock::now();
    for (const auto& f : files) collection.Cmaddfile2(f);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  const double tAdd = Median(times);
  std::printf("%-40s %9.3f s   (%.3f ms a call, into a collection of 10,000 files)\n",
              "1,000 Cmaddfile2 (virtual clock)", tAdd, tAdd);
  return 0;
}
