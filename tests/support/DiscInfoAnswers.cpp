#include "tests/support/DiscInfoAnswers.h"

#include <nlohmann/json.hpp>

namespace korvalin::test {

namespace {

using nlohmann::json;

constexpr int32_t kStarts[] = {150, 22767, 41887, 58317, 72102, 91375, 104652, 115380, 132165, 143932, 159870, 174597};
constexpr int32_t kLeadOut = 267257;

json Credit(const std::string& name, const std::string& id, const std::string& joinphrase = "") {
  return {{"name", name}, {"joinphrase", joinphrase}, {"artist", {{"id", id}, {"name", name}}}};
}

json Tracks(const std::string& prefix, int count) {
  json tracks = json::array();
  for (int n = 1; n <= count; ++n) {
    json recording = {{"id", "rec-" + prefix + std::to_string(n)},
                      {"title", "Recording " + std::to_string(n)},
                      {"length", 200000 + n}};
    tracks.push_back({{"id", "trk-" + prefix + std::to_string(n)},
                      {"position", n},
                      {"number", std::to_string(n)},
                      {"title", prefix + std::to_string(n)},
                      {"length", 180000 + n * 1000},
                      {"recording", recording}});
  }
  return tracks;
}

json Releases(bool withDiscIds) {
  const json discs = withDiscIds ? json::array({{{"id", kVectorMusicBrainzId}, {"sectors", kLeadOut}}}) : json::array();
  json albumTracks = Tracks("Vector ", 12);
  albumTracks[2]["artist-credit"] = json::array({Credit("Guest Singer", "artist-guest")});
  albumTracks[2]["recording"]["artist-credit"] = json::array({Credit("Someone Else", "artist-else")});
  albumTracks[4]["title"] = "";  // the track's own title missing: the recording's serves
  albumTracks[5]["recording"]["isrcs"] = json::array({"GBAAA9400006"});
  json album = {
      {"id", "release-album"},
      {"title", "Vector Album"},
      {"date", "1994-03-21"},
      {"country", "GB"},
      {"barcode", "5012345678900"},
      {"artist-credit", json::array({Credit("Anna Vector", "artist-anna", " & "), Credit("The Offsets", "artist-offsets")})},
      {"label-info", json::array({{{"catalog-number", "VEC 001"}, {"label", {{"id", "label-1"}, {"name", "Lead-Out Records"}}}}})},
      {"release-group", {{"id", "group-album"}}},
      {"media", json::array({{{"position", 1}, {"format", "CD"}, {"discs", discs}, {"tracks", albumTracks}}})}};
  json anthology = {
      {"id", "release-anthology"},
      {"title", "Vector Anthology"},
      {"date", "2001"},
      {"country", "DE"},
      {"barcode", nullptr},
      {"artist-credit", json::array({Credit("Anna Vector", "artist-anna")})},
      {"label-info", json::array()},
      {"release-group", {{"id", "group-anthology"}}},
      {"media", json::array({
                    {{"position", 1}, {"discs", json::array({{{"id", "OtherDiscId000000000000000-"}}})}, {"tracks", Tracks("Anthology 1-", 12)}},
                    {{"position", 2}, {"discs", discs}, {"tracks", Tracks("Anthology 2-", 12)}},
                })}};
  return json::array({album, anthology});
}

}  // namespace

DiscQuery VectorDisc() {
  DiscQuery q;
  int number = 1;
  for (int32_t start : kStarts) q.toc.tracks.push_back({number++, start - 150, false});
  q.toc.leadOut = kLeadOut - 150;
  q.musicBrainzId = kVectorMusicBrainzId;
  q.cddbId = kVectorCddbId;
  return q;
}

std::string MusicBrainzTwoReleases() {
  return json{{"id", kVectorMusicBrainzId}, {"sectors", kLeadOut}, {"offset-count", 12}, {"releases", Releases(true)}}.dump(2);
}

std::string MusicBrainzTocAnswer() {
  return json{{"release-count", 2}, {"release-offset", 0}, {"releases", Releases(false)}}.dump();
}

std::string GnudbQueryTwoMatches() {
  return "211 Found inexact matches, list follows (until terminating `.')\r\n"
         "rock a70de90c Anna Vector / Vector Album\r\n"
         "misc a70de90c Anna Vector / Vector Album (bootleg)\r\n"
         ".\r\n";
}

namespace {
std::string Entry(const std::string& category, int tracks) {
  std::string text = "210 " + category + " a70de90c CD database entry follows (until terminating `.')\r\n# xmcd\r\n#\r\n# Track frame offsets:\r\n";
  for (int32_t start : kStarts) text += "#\t" + std::to_string(start) + "\r\n";
  text += "#\r\n# Disc length: 3563 seconds\r\n#\r\nDISCID=a70de90c\r\nDTITLE=Anna Vector / Vector Album\r\nDYEAR=1994\r\nDGENRE=Synthpop\r\n";
  for (int n = 0; n < tracks; ++n) {
    if (n == 3) {
      text += "TTITLE3=A title long enough to be \r\nTTITLE3=split over two lines\r\n";
    } else {
      text += "TTITLE" + std::to_string(n) + "=Song " + std::to_string(n + 1) + "\r\n";
    }
  }
  text += "EXTD=Recorded\\nlive\r\nPLAYORDER=\r\n.\r\n";
  return text;
}
}  // namespace

std::string GnudbRockEntry() { return Entry("rock", 12); }
std::string GnudbThirteenTracks() { return Entry("misc", 13); }

}  // namespace korvalin::test
