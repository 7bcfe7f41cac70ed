#include "discinfo/Ranking.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace korvalin {
namespace {

// Weights: an exact disc id outweighs every other sign together; a choice the user made for this
// disc outweighs even that.
constexpr int kChosenBefore = 10000;
constexpr int kDiscIdMatches = 1000;
constexpr int kTrackCountAgrees = 100;
constexpr int kTrackCountDiffers = -300;
constexpr int kLengthsAgree = 200;
constexpr int kLengthsDiffer = -100;
constexpr int kCdTextAgrees = 50;
constexpr int kPreferredCountry = 20;
constexpr int kSourceStep = 1;  // the order of the sources only breaks ties

constexpr int32_t kLengthToleranceMs = 2000;
constexpr int32_t kDataSessionGap = 11400;  // frames between an audio session and a data session

std::string Folded(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (!std::isspace(static_cast<unsigned char>(c))) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string Plural(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

std::string Seconds(int32_t ms) {
  const int32_t s = (std::abs(ms) + 500) / 1000;
  return Plural(static_cast<std::size_t>(s), "second");
}

// The disc's tracks the candidate's list stands for: the audio tracks, or every track (a source
// that counts a data track too).
std::vector<int32_t> LengthsToCompare(const DiscToc& toc, std::size_t candidateTracks) {
  std::vector<int32_t> audio = AudioTrackLengthsMs(toc);
  if (candidateTracks == audio.size() || candidateTracks != toc.tracks.size()) return audio;
  std::vector<int32_t> all;
  for (std::size_t i = 0; i < toc.tracks.size(); ++i) all.push_back((toc.EndOf(i) - toc.tracks[i].start) * 1000 / 75);
  return all;
}

void Weigh(DiscInfoCandidate& c, const RankingEvidence& e) {
  auto add = [&](int points, std::string reason) {
    c.score += points;
    c.reasons.push_back(std::move(reason));
  };
  // A kept choice says so itself (and where it first came from).
  if (c.source == "cache") {
    c.score += kChosenBefore;
    if (c.reasons.empty()) c.reasons.push_back("chosen before for this disc");
  }
  if (!c.mediumDiscId.empty() && c.mediumDiscId == e.disc.musicBrainzId) add(kDiscIdMatches, "the medium's disc id matches exactly");

  // The disc's own text names its own tracks: nothing to check against the table.
  if (c.source != "CD-Text" && !c.tracks.empty() && !e.disc.toc.tracks.empty()) {
    const std::vector<int32_t> disc = LengthsToCompare(e.disc.toc, c.tracks.size());
    if (c.tracks.size() != disc.size()) {
      add(kTrackCountDiffers,
          "the track count differs: " + Plural(c.tracks.size(), "track") + ", the disc has " + std::to_string(disc.size()));
    } else {
      add(kTrackCountAgrees, "the track count agrees with the disc (" + Plural(disc.size(), "track") + ")");
      const bool allGiven = std::all_of(c.tracks.begin(), c.tracks.end(), [](const TrackInfo& t) { return t.lengthMs > 0; });
      if (allGiven) {
        std::size_t worst = 0;
        int32_t worstOff = 0;
        for (std::size_t i = 0; i < disc.size(); ++i) {
          const int32_t off = std::abs(c.tracks[i].lengthMs - disc[i]);
          if (off > worstOff) worstOff = off, worst = i;
        }
        if (worstOff <= kLengthToleranceMs) {
          add(kLengthsAgree, "every track length agrees with the disc within 2 seconds");
        } else {
          add(kLengthsDiffer, "track " + std::to_string(worst + 1) + "'s length differs from the disc by " + Seconds(worstOff));
        }
      }
    }
  }

  if (c.source != "CD-Text" && SameAlbum(c.album, e.cdTextAlbum)) add(kCdTextAgrees, "CD-Text agrees on the album title");
  if (!e.options.preferredCountry.empty() && Folded(c.country) == Folded(e.options.preferredCountry)) {
    add(kPreferredCountry, "released in your preferred country (" + c.country + ")");
  }

  const std::vector<std::string>& order = e.options.order;
  const auto at = std::find_if(order.begin(), order.end(), [&](const std::string& s) { return Folded(s) == Folded(c.source); });
  if (at != order.end()) {
    const auto place = static_cast<int>(at - order.begin());
    add(kSourceStep * (static_cast<int>(order.size()) - place),
        "from " + c.source + (place == 0 ? ", the first source to ask" : ", source " + std::to_string(place + 1) + " to ask"));
  } else if (c.source == "CD-Text") {
    add(0, "from CD-Text, the disc's own text");
  } else if (c.source != "cache") {
    add(0, "from " + c.source);
  }
}

void Fill(DiscInfoCandidate& best, std::string DiscInfoCandidate::*field, const DiscInfoCandidate& other, const char* name) {
  if (!(best.*field).empty() || (other.*field).empty()) return;
  best.*field = other.*field;
  best.filledFrom.emplace_back(name, other.source);
}

}  // namespace

bool SameAlbum(const std::string& a, const std::string& b) {
  const std::string fa = Folded(a);
  return !fa.empty() && fa == Folded(b);
}

std::vector<int32_t> AudioTrackLengthsMs(const DiscToc& toc) {
  std::vector<int32_t> lengths;
  for (std::size_t i = 0; i < toc.tracks.size(); ++i) {
    if (toc.tracks[i].data) continue;
    int32_t end = toc.EndOf(i);
    if (i + 1 < toc.tracks.size() && toc.tracks[i + 1].data && toc.tracks[i + 1].start - kDataSessionGap > toc.tracks[i].start) {
      end = toc.tracks[i + 1].start - kDataSessionGap;
    }
    lengths.push_back(static_cast<int32_t>(int64_t{end - toc.tracks[i].start} * 1000 / 75));
  }
  return lengths;
}

void RankCandidates(std::vector<DiscInfoCandidate>& candidates, const RankingEvidence& evidence) {
  for (DiscInfoCandidate& c : candidates) {
    c.score = 0;
    Weigh(c, evidence);
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const DiscInfoCandidate& a, const DiscInfoCandidate& b) { return a.score > b.score; });
}

void FillFromAgreeingCandidates(std::vector<DiscInfoCandidate>& ranked) {
  if (ranked.empty()) return;
  DiscInfoCandidate& best = ranked.front();
  for (std::size_t k = 1; k < ranked.size(); ++k) {
    const DiscInfoCandidate& other = ranked[k];
    if (!SameAlbum(best.album, other.album)) continue;
    Fill(best, &DiscInfoCandidate::artist, other, "artist");
    Fill(best, &DiscInfoCandidate::year, other, "year");
    Fill(best, &DiscInfoCandidate::genre, other, "genre");
    Fill(best, &DiscInfoCandidate::label, other, "label");
    Fill(best, &DiscInfoCandidate::catalogNumber, other, "catalogue number");
    Fill(best, &DiscInfoCandidate::country, other, "country");
    Fill(best, &DiscInfoCandidate::barcode, other, "barcode");
    for (const TrackInfo& from : other.tracks) {
      auto to = std::find_if(best.tracks.begin(), best.tracks.end(), [&](const TrackInfo& t) { return t.number == from.number; });
      if (to == best.tracks.end()) continue;
      const std::string which = "track " + std::to_string(from.number);
      if (to->title.empty() && !from.title.empty()) {
        to->title = from.title;
        best.filledFrom.emplace_back(which + " title", other.source);
      }
      if (to->artist.empty() && !from.artist.empty() && from.artist != best.artist) {
        to->artist = from.artist;
        best.filledFrom.emplace_back(which + " artist", other.source);
      }
    }
  }
}

}  // namespace korvalin
