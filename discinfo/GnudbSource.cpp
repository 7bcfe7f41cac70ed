#include "discinfo/GnudbSource.h"

#include "discinfo/CddbResponse.h"
#include "discinfo/TextEncoding.h"
#include "discinfo/XmcdRecord.h"

namespace korvalin {

namespace {

constexpr int32_t kLeadIn = 150;
constexpr int32_t kFramesPerSecond = 75;

std::string Prefixed(const std::string& problem) { return "gnudb: " + problem; }

// The record as a candidate for `disc`, or the reason it is none.
bool CandidateOf(const XmcdRecord& record, const DiscQuery& disc, const CddbMatch& match, DiscInfoCandidate& c,
                 std::string& problem) {
  const std::size_t count = record.trackTitles.size();
  const std::string entry = "the entry " + match.category + "/" + match.discId;
  if (count == 0) {
    problem = entry + " lists no tracks";
    return false;
  }
  if (count > disc.toc.tracks.size()) {
    problem = entry + " lists " + std::to_string(count) + " tracks; the disc has " +
              std::to_string(disc.toc.tracks.size());
    return false;
  }
  c.source = "gnudb";
  c.album = record.album;
  c.artist = record.artist;
  c.year = record.year;
  c.genre = record.genre.empty() ? match.category : record.genre;
  const bool lengthsKnown = record.frameOffsets.size() == count && record.discSeconds > 0;
  for (std::size_t i = 0; i < count; ++i) {
    TrackInfo t;
    t.number = disc.toc.tracks[i].number;
    t.title = record.trackTitles[i];
    t.artist = record.trackArtists[i] == record.artist ? "" : record.trackArtists[i];
    if (lengthsKnown) {
      const long long end = i + 1 < count ? record.frameOffsets[i + 1]
                                          : static_cast<long long>(record.discSeconds) * kFramesPerSecond;
      const long long frames = end - record.frameOffsets[i];
      if (frames > 0 && frames < 100LL * 60 * kFramesPerSecond) {
        t.lengthMs = static_cast<int32_t>(frames * 1000 / kFramesPerSecond);
      }
    }
    c.tracks.push_back(t);
  }
  return true;
}

}  // namespace

GnudbSource::GnudbSource(HttpClient& http, EventLoop& loop, GnudbOptions options)
    : http_(http), loop_(loop), options_(std::move(options)) {
  options_.baseUrl = WithoutTrailingSlash(options_.baseUrl);
  if (!options_.gate) options_.gate = std::make_shared<HostGate>();
}

std::string GnudbSource::Command(const std::string& command) const {
  return options_.baseUrl + "/~cddb/cddb.cgi?cmd=" + command + "&hello=" + QueryEncoded(options_.helloUser) + "+" +
         QueryEncoded(options_.helloHost) + "+Korvalin+" + QueryEncoded(KORVALIN_VERSION) + "&proto=6";
}

std::string GnudbSource::QueryUrl(const DiscQuery& disc) const {
  const DiscToc& toc = disc.toc;
  const uint32_t id = disc.cddbId ? disc.cddbId : CddbId(toc);
  std::string command = "cddb+query+" + Hex8(id) + "+" + std::to_string(toc.tracks.size());
  for (const DiscTocTrack& t : toc.tracks) command += "+" + std::to_string(t.start + kLeadIn);
  command += "+" + std::to_string((toc.leadOut + kLeadIn) / kFramesPerSecond);
  return Command(command);
}

std::string GnudbSource::ReadUrl(const std::string& category, const std::string& discId) const {
  return Command("cddb+read+" + QueryEncoded(category) + "+" + QueryEncoded(discId));
}

SourceAnswer GnudbSource::Look(const DiscQuery& disc, const std::function<bool()>& cancelled) {
  SourceAnswer answer;
  if (disc.toc.tracks.empty()) {
    answer.problem = Prefixed("the disc has no tracks");
    return answer;
  }
  const PoliteFetch via{http_, loop_, *options_.gate};
  HttpRequest request;
  request.timeoutSeconds = options_.timeoutSeconds;
  request.maxBodyBytes = options_.maxBodyBytes;
  request.url = QueryUrl(disc);
  const HttpResponse queried = FetchPolitely(via, request, cancelled);
  if (const std::string fault = HttpFault(queried); !fault.empty()) {
    answer.problem = Prefixed(fault);
    return answer;
  }
  const CddbQueryResult query = ReadCddbQuery(Utf8FromUtf8OrLatin1(queried.body));
  if (query.matches.empty()) {
    answer.problem = Prefixed(query.problem);
    return answer;
  }

  std::string firstProblem;
  std::size_t read = 0;
  for (const CddbMatch& match : query.matches) {
    if (read++ == options_.mostEntriesRead) break;
    request.url = ReadUrl(match.category, match.discId);
    const HttpResponse r = FetchPolitely(via, request, cancelled);
    std::string problem = HttpFault(r);
    if (problem.empty()) {
      // Protocol 6 is UTF-8, but old entries were stored in Latin-1 and are sent as they are.
      const CddbReadResult entry = ReadCddbRead(Utf8FromUtf8OrLatin1(r.body));
      problem = entry.problem;
      DiscInfoCandidate c;
      if (problem.empty() && CandidateOf(ParseXmcd(entry.record), disc, match, c, problem)) {
        answer.candidates.push_back(std::move(c));
      }
    }
    if (!problem.empty() && firstProblem.empty()) firstProblem = problem;
    if (r.status == 0 && r.problem == "cancelled") break;
  }
  if (answer.candidates.empty()) answer.problem = Prefixed(firstProblem);
  return answer;
}

}  // namespace korvalin
