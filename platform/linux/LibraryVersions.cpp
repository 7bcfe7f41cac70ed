#include "platform/linux/LibraryVersions.h"

#include <alsa/asoundlib.h>
#include <cdio/version.h>
#include <discid/discid.h>
#include <lame/lame.h>
#include <mpg123.h>

#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/TagLibTags.h"

namespace korvalin {

std::vector<std::string> LibraryVersions(const std::string& toolkit) {
  std::vector<std::string> lines;
  if (!toolkit.empty()) lines.push_back(toolkit);
  lines.push_back(std::string("libcdio ") + cdio_version_string);
  lines.push_back(discid_get_version_string());  // already "libdiscid x.y.z"
  lines.push_back(std::string("LAME ") + get_lame_version());
  lines.push_back("libmpg123 " KORVALIN_MPG123_VERSION);
  lines.push_back(std::string("ALSA ") + snd_asoundlib_version());
  lines.push_back(CurlHttpClient::Version());
  lines.push_back(TagLibTags::VersionText());
  return lines;
}

}  // namespace korvalin
