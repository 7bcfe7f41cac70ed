#include "discinfo/OnlineSources.h"

#include "discinfo/GnudbSource.h"
#include "discinfo/MusicBrainzSource.h"

namespace korvalin {

std::vector<std::unique_ptr<DiscInfoSource>> MakeOnlineSources(HttpClient& http, EventLoop& loop,
                                                               const LookupOptions& options) {
  const auto gate = std::make_shared<HostGate>();
  OnlineSourceOptions musicBrainz;
  musicBrainz.baseUrl = options.musicBrainzUrl;
  musicBrainz.gate = gate;
  GnudbOptions gnudb;
  gnudb.baseUrl = options.gnudbUrl;
  gnudb.gate = gate;
  std::vector<std::unique_ptr<DiscInfoSource>> sources;
  sources.push_back(std::make_unique<MusicBrainzSource>(http, loop, musicBrainz));
  sources.push_back(std::make_unique<GnudbSource>(http, loop, gnudb));
  return sources;
}

}  // namespace korvalin
