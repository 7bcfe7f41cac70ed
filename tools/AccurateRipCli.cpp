#include "tools/AccurateRipCli.h"

#include <cstdio>

#include "platform/qtcore/QtSettingsStore.h"
#include "rip/DiscIds.h"
#include "settings/AccuracySettings.h"
#include "tools/DriveOptions.h"
#include "tools/StopSignals.h"

namespace korvalin::cli {

std::string TakeAccurateRipUrl(std::vector<std::string>& args) {
  if (std::optional<std::string> given = TakeGivenOption(args, "--accuraterip-url")) return *given;
  QtSettingsStore store;
  Settings settings;
  LoadAccuracySettings(store, settings);
  return settings.AccurateRipUrl;
}

CliAccurateRip::CliAccurateRip(const std::string& url, EventLoop& loop)
    : check_(http_, loop, url, AccurateRipCacheFolder()) {}

void CliAccurateRip::Start(const modAKRip32& cd) {
  toc_ = TocOf(cd);
  check_.Start(toc_);
}

TrackVerdict CliAccurateRip::Judge(int32_t position, const RippedTrack& track) {
  const AccurateRipDisc& disc = check_.Answer([] { return StopSignals::Received() != 0; });
  line_ = disc.line;
  const int audioIndex = AudioIndexOf(toc_, static_cast<std::size_t>(position - 1));
  return audioIndex < 0 ? UnverifiedTrack("not an audio track") : disc.Judge(audioIndex, track);
}

void PrintVerdict(const TrackVerdict& verdict, const std::string& line) {
  std::printf("  AccurateRip: %s\n", verdict.text.c_str());
  if (!verdict.otherPressing.empty()) std::printf("  %s\n", verdict.otherPressing.c_str());
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace korvalin::cli
