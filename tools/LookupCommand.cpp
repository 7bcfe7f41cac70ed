// korvalin-cli lookup: what the disc's own text, the kept choice and the online databases say of
// a disc, ranked best first with the reasons, as plain text or as one JSON object.

#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>

#include "discinfo/CdTextSource.h"
#include "discinfo/DiscLookup.h"
#include "discinfo/LookupSettings.h"
#include "discinfo/OnlineSources.h"
#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "platform/linux/LibDiscId.h"
#include "platform/qtcore/QtSettingsStore.h"
#include "rip/DiscIds.h"
#include "settings/DiscInfoSettings.h"
#include "tools/CliCommand.h"
#include "tools/DriveOptions.h"

namespace korvalin::cli {
namespace {

// The look-up settings as the window keeps them in the user's settings file; the defaults where
// none are kept.
LookupOptions StoredLookupOptions() {
  QtSettingsStore store;
  Settings settings;
  LoadDiscInfoSettings(store, settings);
  return LookupOptionsFrom(settings);
}

constexpr const char* kUsage =
    "[--drive N | --image FILE.cue] [--json] [--offline] [--again] [--musicbrainz-url URL] [--gnudb-url URL]";

std::string TrackText(const TrackInfo& t) {
  std::string line = (t.number < 10 ? "    " : "   ") + std::to_string(t.number) + "  " + (t.title.empty() ? "(no title)" : t.title);
  if (!t.artist.empty()) line += " (" + t.artist + ")";
  return line;
}

void PrintText(const std::vector<DiscInfoCandidate>& ranked) {
  int place = 1;
  for (const DiscInfoCandidate& c : ranked) {
    std::string head = std::to_string(place++) + ". ";
    head += c.artist.empty() ? "(no artist)" : c.artist;
    head += " \xE2\x80\x93 ";
    head += c.album.empty() ? "(no album)" : c.album;
    if (!c.year.empty()) head += " (" + c.year + ")";
    head += "  [" + c.source + "]";
    std::printf("%s\n", head.c_str());
    for (const std::string& reason : c.reasons) std::printf("   - %s\n", reason.c_str());
    for (const auto& [field, source] : c.filledFrom) std::printf("   %s taken from %s\n", field.c_str(), source.c_str());
    for (const TrackInfo& t : c.tracks) std::printf("%s\n", TrackText(t).c_str());
  }
}

void PrintJson(const std::vector<DiscInfoCandidate>& ranked) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const DiscInfoCandidate& c : ranked) {
    nlohmann::ordered_json tracks = nlohmann::ordered_json::array();
    for (const TrackInfo& t : c.tracks) tracks.push_back({{"number", t.number}, {"title", t.title}, {"artist", t.artist}});
    list.push_back({{"source", c.source},
                    {"album", c.album},
                    {"artist", c.artist},
                    {"year", c.year},
                    {"tracks", tracks},
                    {"reasons", c.reasons}});
  }
  const nlohmann::ordered_json out = {{"candidates", list}};
  std::printf("%s\n", out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

int Lookup(const std::vector<std::string>& given) {
  try {
    std::vector<std::string> args = given;
    DriveChoice choice = TakeDriveOptions(args);
    const bool json = TakeFlag(args, "--json");
    const bool offline = TakeFlag(args, "--offline");
    const bool again = TakeFlag(args, "--again");
    const std::optional<std::string> mbUrl = TakeGivenOption(args, "--musicbrainz-url");
    const std::optional<std::string> gnudbUrl = TakeGivenOption(args, "--gnudb-url");
    if (!args.empty()) return Fail(std::string("usage: lookup ") + kUsage);

    modAKRip32 cd(*choice.library);
    if (!cd.OpenDrive(choice.drive)) {
      const std::string& fault = choice.library->LastFault();
      return Fail(fault.empty() ? "cannot read the disc in drive " + std::to_string(choice.drive) : fault);
    }
    LibDiscId discIds;
    LookupRequest request;
    request.disc.toc = TocOf(cd);
    request.disc.cddbId = CddbId(request.disc.toc);
    request.disc.musicBrainzId = MusicDatabaseIdOf(request.disc.toc, discIds);
    request.options = StoredLookupOptions();
    if (offline) request.options.online = false;
    if (mbUrl) request.options.musicBrainzUrl = *mbUrl;
    if (gnudbUrl) request.options.gnudbUrl = *gnudbUrl;
    request.again = again;
    CdTextSource discText(choice.library->ReadDiscText(cd.CurrentDriveHandle));
    cd.CloseDrive();

    const DiscInfoCache cache(DiscInfoCache::DefaultFolder());
    HeadlessEventLoop loop;
    CurlHttpClient http;
    const auto online = MakeOnlineSources(http, loop, request.options);
    LookupSources sources{&discText, &cache, {}};
    for (const auto& s : online) sources.online.push_back(s.get());
    const DiscLookupResult result = LookUpDisc(request, sources);

    for (const std::string& problem : result.problems) std::fprintf(stderr, "korvalin-cli: %s\n", problem.c_str());
    if (result.candidates.empty()) {
      return Fail(request.options.online || result.fromCache ? "nothing is known of this disc"
                                                             : "nothing is known of this disc offline (no CD-Text, no kept choice)");
    }
    if (json) {
      PrintJson(result.candidates);
    } else {
      PrintText(result.candidates);
    }
    return 0;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration registration({"lookup", kUsage,
                                    "Show what is known of a disc (CD-Text, the kept choice, online databases), best first.",
                                    Lookup});

}  // namespace
}  // namespace korvalin::cli
