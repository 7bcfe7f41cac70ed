#include "discinfo/LookupSettings.h"

#include "settings/DiscInfoSettings.h"

namespace korvalin {

LookupOptions LookupOptionsFrom(const Settings& settings) {
  LookupOptions options;
  options.online = settings.LookupDiscInfo != 0;
  const auto sources = SourceList(settings.DiscInfoSources);
  if (!sources.empty()) options.order = sources;
  options.preferredCountry = CountryCode(settings.PreferredCountry);
  if (IsBaseUrl(settings.MusicBrainzUrl)) options.musicBrainzUrl = settings.MusicBrainzUrl;
  if (IsBaseUrl(settings.GnudbUrl)) options.gnudbUrl = settings.GnudbUrl;
  return options;
}

}  // namespace korvalin
