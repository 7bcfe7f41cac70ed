// A rip of a generated image judged against dBAR files built from that image's own checksums and
// served from a loopback server: the verdicts in the log and on the status line, the summary, the
// answer kept for the next rip, and every bad answer leaving the rip complete and unverified.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/TrackLine.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CurlHttpClient.h"
#include "rip/AccurateRipLookup.h"
#include "rip/ExtractionJob.h"
#include "tests/support/DbarBuilder.h"
#include "tests/support/FakeServices.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/SettledHttpClient.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::ScriptedAnswer;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Sums {
  uint32_t v1 = 0, v2 = 0;
};

// A three-track image (`ripped` is what it holds) and the checksums of `original`, the audio the
// database's rips were made from; a job host whose database is the loopback server, and a data
// folder of its own for the answers kept.
class ArRig {
 public:
  explicit ArRig(std::vector<std::string> ripped, const std::vector<std::string>& original = {})
      : tracks(std::move(ripped)) {
    env_.Set("XDG_DATA_HOME", data_.Path());
    image_ = std::make_unique<CdioLibrary>(
        std::vector<CdDriveSource>{CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs_.Path(), "disc", tracks))});
    services_ = std::make_unique<Services>(fake_.With(test::Replaced{.cdLibrary = image_.get(), .http = &http_}));
    host = std::make_unique<test::StandInJobHost>(*services_);
    job_ = std::make_unique<ExtractionJob>(*host, *services_, host->cd);
    host->settings.DecodePath = dest_.Path();
    host->settings.AccurateRipUrl = server.BaseUrl() + "/ar/";
    host->options.discIdentity = 1;
    host->options.toMp3 = false;
    EXPECT_TRUE(host->cd.OpenDrive(0));
    toc = TocOf(host->cd);
    disc = AccurateRipIdOf(toc);
    const std::vector<std::string>& source = original.empty() ? tracks : original;
    for (std::size_t i = 0; i < source.size(); ++i) {
      TrackChecksums s(static_cast<int64_t>(source[i].size() / 4), {toc.FirstAudio(i), toc.LastAudio(i)});
      s.Add(reinterpret_cast<const uint8_t*>(source[i].data()), source[i].size());
      sums.push_back({s.AccurateRipV1(), s.AccurateRipV2()});
    }
  }

  // One response: each track's entry made by `entry` from its checksums.
  std::vector<DbarTrack> Response(const std::function<DbarTrack(const Sums&)>& entry) const {
    std::vector<DbarTrack> r;
    for (const Sums& s : sums) r.push_back(entry(s));
    return r;
  }

  // Rips every track to WAV and returns the job's log.
  std::string RipAll() {
    host->collection.ForgetTracks();
    for (int32_t n = 1; n <= static_cast<int32_t>(tracks.size()); ++n) host->collection.AddAvailableTrack(TrackLine(n, "00:01"));
    host->collection.showfiles();
    host->collection.SelectText("Available Tracks");
    job_->cmdStart_Click();
    std::string log;
    for (const auto& entry : std::filesystem::directory_iterator(dest_.Path())) {
      const std::string name = entry.path().filename();
      if (name.ends_with("-rip.log")) log = test::ReadFile(entry.path());
      if (name.ends_with(".wav")) ++wavs;
      std::filesystem::remove(entry.path());
    }
    return log;
  }

  test::LoopbackHttpServer server;
  std::vector<std::string> tracks;
  DiscToc toc;
  AccurateRipDiscId disc;
  std::vector<Sums> sums;
  std::unique_ptr<test::StandInJobHost> host;
  int wavs = 0;  // WAV files the rips made

 private:
  test::TempDir data_;
  test::ScopedEnv env_;
  test::FakeServices fake_;
  CurlHttpClient curl_;
  test::SettledHttpClient http_{curl_, fake_.loop};
  test::TempDir discs_, dest_;
  std::unique_ptr<CdioLibrary> image_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<ExtractionJob> job_;
};

std::vector<std::string> Music() {
  return {discgen::MusicCdFrames(40, 31), discgen::MusicCdFrames(25, 32), discgen::MusicCdFrames(33, 33)};
}

// The verdict in the block of track `track` of the log.
std::string VerdictOf(const std::string& log, int track) {
  const std::size_t at = log.find("Track " + std::to_string(track) + "\n  File: ");
  if (at == std::string::npos) return "(no track)";
  const std::size_t v = log.find("  AccurateRip: ", at);
  if (v == std::string::npos) return "(no verdict)";
  return log.substr(v + 15, log.find('\n', v) - v - 15);
}

TEST(AccurateRipJob, EachTrackIsJudgedByTheRipsThatMatchItsChecksums) {
  const auto other = [](uint32_t crc) { return crc ^ 0x5a5a5a5au; };
  const struct {
    const char* name;
    std::vector<std::function<DbarTrack(const Sums&)>> responses;
    std::string verdict;
  } cases[] = {
      {"v2 matches", {[](const Sums& s) { return DbarTrack{7, s.v2, 0}; }, [&](const Sums& s) { return DbarTrack{2, other(s.v2), 0}; }},
       "Accurately ripped (confidence 7 of 9, v2)"},
      {"only v1 matches", {[&](const Sums& s) { return DbarTrack{4, other(s.v1), 0}; }, [](const Sums& s) { return DbarTrack{5, s.v1, 0}; }},
       "Accurately ripped (confidence 5 of 9, v1)"},
      {"two responses summed", {[](const Sums& s) { return DbarTrack{3, s.v2, 0}; }, [](const Sums& s) { return DbarTrack{4, s.v1, 0}; },
                                [&](const Sums& s) { return DbarTrack{2, other(s.v1), 0}; }},
       "Accurately ripped (confidence 7 of 9, v1 and v2)"},
  };
  for (const auto& c : cases) {
    ArRig rig(Music());
    std::vector<std::vector<DbarTrack>> responses;
    for (const auto& entry : c.responses) responses.push_back(rig.Response(entry));
    rig.server.Queue({200, {}, test::DbarFileBytes(rig.disc, responses)});
    const std::string log = rig.RipAll();
    for (int t = 1; t <= 3; ++t) EXPECT_EQ(VerdictOf(log, t), c.verdict) << c.name << " track " << t << "\n" << log;
    EXPECT_TRUE(log.ends_with("Outcome: completed\n3 of 3 tracks accurately ripped\n")) << c.name << "\n" << log;
    EXPECT_EQ(rig.host->statusLine, "Track 3: " + c.verdict) << c.name;
    const auto asked = rig.server.Requests();
    ASSERT_EQ(asked.size(), 1u) << c.name;
    EXPECT_EQ(asked[0].Path(), "/ar/" + DbarPath(rig.disc, 3)) << c.name;
  }
}

TEST(AccurateRipJob, AChangedSampleOrASilentTrackIsNeverAccurate) {
  const std::vector<std::string> original = Music();
  std::vector<std::string> oneSample = original, silent = original;
  oneSample[1][4 * 300] ^= 0x01;  // the left channel of one sample pair of track 2
  silent[1].assign(silent[1].size(), '\0');
  const struct {
    const char* name;
    std::vector<std::string> image;
    bool emptyEntries;  // the database's responses hold nothing (checksum 0) for track 2
    std::string verdict2;
  } cases[] = {
      {"one sample differs", oneSample, false, "NOT ACCURATE (6 other rips agree with each other)"},
      {"track made silent", silent, false, "NOT ACCURATE (6 other rips agree with each other)"},
      {"silent track, empty entries", silent, true, "Not present in the database"},
  };
  for (const auto& c : cases) {
    ArRig rig(c.image, original);
    std::vector<DbarTrack> response = rig.Response([](const Sums& s) { return DbarTrack{6, s.v2, 0}; });
    if (c.emptyEntries) response[1] = {9, 0, 0};
    rig.server.Queue({200, {}, test::DbarFileBytes(rig.disc, {response})});
    const std::string log = rig.RipAll();
    EXPECT_EQ(VerdictOf(log, 1), "Accurately ripped (confidence 6 of 6, v2)") << c.name;
    EXPECT_EQ(VerdictOf(log, 2), c.verdict2) << c.name << "\n" << log;
    EXPECT_TRUE(log.ends_with("2 of 3 tracks accurately ripped\n")) << c.name;
  }
}

TEST(AccurateRipJob, AKeptAnswerServesTheNextRipAndADamagedOneIsAskedForAgain) {
  ArRig rig(Music());
  const std::string body = test::DbarFileBytes(rig.disc, {rig.Response([](const Sums& s) { return DbarTrack{3, s.v2, 0}; })});
  rig.server.Queue({200, {}, body});
  rig.RipAll();
  const std::string kept = AccurateRipCacheFolder() + "/" + std::filesystem::path(DbarPath(rig.disc, 3)).filename().string();
  EXPECT_EQ(test::ReadFile(kept), body);
  const std::string again = rig.RipAll();
  EXPECT_EQ(rig.server.Requests().size(), 1u);
  EXPECT_TRUE(Has(again, "The AccurateRip database holds 1 response for this disc (kept from an earlier look-up)\n")) << again;
  EXPECT_EQ(VerdictOf(again, 2), "Accurately ripped (confidence 3 of 3, v2)");

  test::WriteFile(kept, body.substr(0, 20));
  rig.server.Queue({200, {}, body});
  const std::string third = rig.RipAll();
  EXPECT_EQ(rig.server.Requests().size(), 2u);
  EXPECT_EQ(VerdictOf(third, 2), "Accurately ripped (confidence 3 of 3, v2)");
  EXPECT_EQ(test::ReadFile(kept), body);
}

TEST(AccurateRipJob, EveryBadAnswerLeavesTheRipCompleteAndNotVerified) {
  ArRig rig(Music());
  const std::vector<DbarTrack> good = rig.Response([](const Sums& s) { return DbarTrack{5, s.v2, 0}; });
  const std::string body = test::DbarFileBytes(rig.disc, {good, good});
  AccurateRipDiscId another = rig.disc;
  another.id1 += 1;
  const struct {
    const char* name;
    ScriptedAnswer answer;
    std::string line;  // the log's line on the look-up
    std::string verdict;
  } cases[] = {
      {"404", ScriptedAnswer::Text(404, "Not Found"), "The AccurateRip database does not know this disc; the rip is not verified",
       "Not present in the database"},
      {"server error", ScriptedAnswer::Text(503, "busy"),
       "The AccurateRip database answered with HTTP status 503; the rip is not verified", "Not verified (no answer from the database)"},
      {"empty", {200, {}, ""}, "The AccurateRip database's answer is empty; the rip is not verified",
       "Not verified (no answer from the database)"},
      {"truncated", {200, {}, body.substr(0, body.size() - 4)},
       "The AccurateRip database's answer is cut short (" + std::to_string(body.size() - 4) +
           " bytes, not whole responses); the rip is not verified",
       "Not verified (no answer from the database)"},
      {"another disc's", {200, {}, test::DbarFileBytes(another, {good})},
       "The AccurateRip database answered for another disc (" + Hex8(another.id1) + "-" + Hex8(another.id2) + "-" +
           Hex8(another.cddb) + "); the rip is not verified",
       "Not verified (no answer from the database)"},
      {"wrong track count", {200, {}, test::DbarResponseBytes(rig.disc, {good[0], good[1]})},
       "The AccurateRip database's answer lists 2 tracks, the disc has 3; the rip is not verified",
       "Not verified (no answer from the database)"},
      {"huge", {200, {}, std::string((std::size_t{1} << 20) + 1, 'x')},
       "The AccurateRip look-up failed (answer too large); the rip is not verified", "Not verified (no answer from the database)"},
  };
  for (const auto& c : cases) {
    rig.server.Queue(c.answer);
    const int before = rig.wavs;
    const std::string log = rig.RipAll();
    EXPECT_EQ(rig.wavs - before, 3) << c.name;
    EXPECT_TRUE(Has(log, "\n" + c.line + "\n")) << c.name << "\n" << log;
    for (int t = 1; t <= 3; ++t) EXPECT_EQ(VerdictOf(log, t), c.verdict) << c.name << " track " << t;
    EXPECT_TRUE(log.ends_with("Outcome: completed\n0 of 3 tracks accurately ripped\n")) << c.name << "\n" << log;
  }
  // Nothing listens: the look-up fails at once and says why.
  rig.host->settings.AccurateRipUrl = "http://127.0.0.1:1/ar";
  const std::string log = rig.RipAll();
  EXPECT_TRUE(Has(log, "\nThe AccurateRip look-up failed (")) << log;
  EXPECT_EQ(VerdictOf(log, 2), "Not verified (no answer from the database)");
  EXPECT_TRUE(log.ends_with("Outcome: completed\n0 of 3 tracks accurately ripped\n")) << log;
}

}  // namespace
}  // namespace korvalin
