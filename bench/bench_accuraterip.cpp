// Rips a 10-minute generated disc image (three tracks) to WAV through the extraction job twice in
// turns: with the AccurateRip database off, and judged against a database that a loopback server
// serves (the request runs while the first track is read; the answer is not kept, so every run
// asks). Prints the median of the ratios of neighbouring runs (on a busy machine the flushes after
// every block vary by more than the look-up costs), the whole look-up made and awaited on its own,
// and the verdicts alone.
//   bench_accuraterip [RUNS]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "common/TrackLine.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CurlHttpClient.h"
#include "rip/AccurateRipLookup.h"
#include "rip/ExtractionJob.h"
#include "tests/support/DbarBuilder.h"
#include "tests/support/FakeServices.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

int main(int argc, char** argv) {
  using namespace korvalin;
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  test::TempDir dir, dest, data;
  test::ScopedEnv env("XDG_DATA_HOME", data.Path().c_str());
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(90 * 75, 1), discgen::MusicCdFrames(420 * 75, 2),
                                           discgen::MusicCdFrames(90 * 75, 3)};
  CdioLibrary image({CdioLibrary::ImageDrive(discgen::WriteDiscImage(dir.Path(), "bench", tracks))});
  CurlHttpClient curl;
  test::FakeServices fake;
  Services services = fake.With(test::Replaced{.cdLibrary = &image, .http = &curl});
  test::StandInJobHost host(services);
  ExtractionJob job(host, services, host.cd);
  host.settings.DecodePath = dest.Path();
  host.options.toMp3 = false;
  host.options.discIdentity = 1;
  if (!host.cd.OpenDrive(0)) {
    std::fprintf(stderr, "bench_accuraterip: cannot open the image\n");
    return 1;
  }
  const DiscToc toc = TocOf(host.cd);
  const AccurateRipDiscId disc = AccurateRipIdOf(toc);
  std::vector<DbarTrack> response;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    TrackChecksums sums(static_cast<int64_t>(tracks[i].size() / 4), {toc.FirstAudio(i), toc.LastAudio(i)});
    sums.Add(reinterpret_cast<const uint8_t*>(tracks[i].data()), tracks[i].size());
    response.push_back({12, sums.AccurateRipV2(), 0});
  }
  const std::string body = test::DbarFileBytes(disc, {response, response, response});
  test::LoopbackHttpServer server;
  server.Serve([&](const test::RecordedRequest&) { return test::ScriptedAnswer{200, {}, body}; });
  const std::string kept = AccurateRipCacheFolder() + "/" + std::filesystem::path(DbarPath(disc, 3)).filename().string();

  const auto ripAll = [&](const std::string& url) {
    host.settings.AccurateRipUrl = url;
    std::filesystem::remove(kept);
    host.collection.ForgetTracks();
    for (int32_t n = 1; n <= 3; ++n) host.collection.AddAvailableTrack(TrackLine(n, "00:01"));
    host.collection.showfiles();
    host.collection.SelectText("Available Tracks");
    job.cmdStart_Click();
    for (const auto& entry : std::filesystem::directory_iterator(dest.Path())) std::filesystem::remove(entry.path());
  };
  ripAll("");  // untimed: the image in the page cache
  ripAll(server.BaseUrl());
  if (host.statusLine != "Track 3: Accurately ripped (confidence 36 of 36, v2)") {
    std::fprintf(stderr, "bench_accuraterip: unexpected verdict: %s\n", host.statusLine.c_str());
    return 1;
  }

  std::vector<double> ratios, plainTimes;
  for (int i = 0; i < runs; ++i) {
    const double plain = bench::MedianSeconds(1, [&] { ripAll(""); });
    const double judged = bench::MedianSeconds(1, [&] { ripAll(server.BaseUrl()); });
    ratios.push_back(judged / plain);
    plainTimes.push_back(plain);
  }
  std::sort(ratios.begin(), ratios.end());
  std::sort(plainTimes.begin(), plainTimes.end());
  std::vector<DbarResponse> responses(40);
  for (DbarResponse& r : responses) {
    r.tracks.assign(99, DbarTrack{3, 0x12345678u, 0});
  }
  const double verdicts = bench::MedianSeconds(runs, [&] {
    for (int t = 0; t < 99; ++t) (void)JudgeTrack(responses, t, {1, 2, 4, true, false});
  });
  // Everything the look-up costs the job, with none of it hidden behind the reading: the request
  // made and awaited at once, the answer parsed and kept, the three tracks judged.
  const double serial = bench::MedianSeconds(runs, [&] {
    std::filesystem::remove(kept);
    AccurateRipCheck check(curl, fake.loop, server.BaseUrl(), AccurateRipCacheFolder());
    check.Start(toc);
    const AccurateRipDisc& answer = check.Answer();
    for (int t = 0; t < 3; ++t) (void)answer.Judge(t, {1, 2, 4, true, false});
  });
  std::printf("rip of 3 tracks (%.1f MB), median of %d paired runs\n", (toc.leadOut * 2352.0) / 1e6, runs);
  std::printf("the AccurateRip look-up and verdicts add %.2f %% to the rip (rip without: %.3f s)\n",
              100.0 * (ratios[ratios.size() / 2] - 1), plainTimes[plainTimes.size() / 2]);
  std::printf("the look-up awaited at once: %.1f ms, %.2f %% of the rip without\n", serial * 1e3,
              100.0 * serial / plainTimes[plainTimes.size() / 2]);
  std::printf("99 tracks judged against 40 responses: %.1f us\n", verdicts * 1e6);
  return 0;
}
