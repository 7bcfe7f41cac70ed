#pragma once
// Timing for the benchmarks: run a job several times, report the median.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace korvalin::bench {

// Median wall-clock seconds of `runs` calls of `job`.
inline double MedianSeconds(int runs, const std::function<void()>& job) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    job();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Runs a shell command; a failure ends the benchmark with its reason.
inline void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "bench: command failed: %s\n", command.c_str());
    std::exit(1);
  }
}

inline void Report(const std::string& what, double ours, const std::string& theirsName, double theirs) {
  std::printf("%-40s %9.3f s   %-22s %9.3f s   ratio %.2f\n", what.c_str(), ours, theirsName.c_str(), theirs,
              ours / theirs);
}

}  // namespace korvalin::bench
