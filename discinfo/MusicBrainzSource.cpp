#include "discinfo/MusicBrainzSource.h"

#include "discinfo/MusicBrainzJson.h"

namespace korvalin {

namespace {

constexpr const char* kIncludes = "inc=recordings+artist-credits+labels+release-groups&fmt=json";
constexpr int32_t kLeadIn = 150;
constexpr int32_t kSessionGap = 11400;  // frames between an enhanced CD's audio and data sessions

// The audio tracks the database identifies a disc by: all but the data tracks at its end.
std::size_t AudioEnd(const DiscToc& toc) {
  std::size_t end = toc.tracks.size();
  while (end > 0 && toc.tracks[end - 1].data) --end;
  return end;
}

std::string Prefixed(const std::string& problem) { return "MusicBrainz: " + problem; }

}  // namespace

MusicBrainzSource::MusicBrainzSource(HttpClient& http, EventLoop& loop, OnlineSourceOptions options)
    : http_(http), loop_(loop), options_(std::move(options)) {
  options_.baseUrl = WithoutTrailingSlash(options_.baseUrl);
  if (!options_.gate) options_.gate = std::make_shared<HostGate>();
}

std::string MusicBrainzSource::DiscIdUrl(const std::string& discId) const {
  return options_.baseUrl + "/ws/2/discid/" + QueryEncoded(discId) + "?" + kIncludes;
}

std::string MusicBrainzSource::TocUrl(const DiscToc& toc) const {
  const std::size_t end = AudioEnd(toc);
  if (end == 0) return {};
  int32_t leadOut = toc.leadOut;
  if (end < toc.tracks.size()) leadOut = toc.tracks[end].start - kSessionGap;
  std::string text = std::to_string(toc.tracks.front().number) + "+" + std::to_string(toc.tracks[end - 1].number) +
                     "+" + std::to_string(leadOut + kLeadIn);
  for (std::size_t i = 0; i < end; ++i) text += "+" + std::to_string(toc.tracks[i].start + kLeadIn);
  return options_.baseUrl + "/ws/2/discid/-?toc=" + text + "&cdstubs=no&" + kIncludes;
}

SourceAnswer MusicBrainzSource::Look(const DiscQuery& disc, const std::function<bool()>& cancelled) {
  SourceAnswer answer;
  const std::size_t audioEnd = AudioEnd(disc.toc);
  if (audioEnd == 0) {
    answer.problem = Prefixed("the disc holds no audio tracks");
    return answer;
  }
  MusicBrainzDisc expected;
  expected.trackCount = static_cast<int>(audioEnd);
  expected.firstTrack = disc.toc.tracks.front().number;

  const PoliteFetch via{http_, loop_, *options_.gate};
  HttpRequest request;
  request.timeoutSeconds = options_.timeoutSeconds;
  request.maxBodyBytes = options_.maxBodyBytes;
  request.headers = {{"Accept", "application/json"}};

  bool byToc = disc.musicBrainzId.empty();
  if (!byToc) {
    request.url = DiscIdUrl(disc.musicBrainzId);
    const HttpResponse r = FetchPolitely(via, request, cancelled);
    if (r.status == 404) {
      byToc = true;  // the id is unknown: ask by the table of contents
    } else if (const std::string fault = HttpFault(r); !fault.empty()) {
      answer.problem = Prefixed(fault);
      return answer;
    } else {
      expected.discId = disc.musicBrainzId;
      answer = ParseMusicBrainzDiscAnswer(r.body, expected);
    }
  }
  if (byToc) {
    request.url = TocUrl(disc.toc);
    const HttpResponse r = FetchPolitely(via, request, cancelled);
    if (const std::string fault = HttpFault(r); !fault.empty()) {
      answer.problem = Prefixed(r.status == 404 ? "no release holds this disc" : fault);
      return answer;
    }
    answer = ParseMusicBrainzDiscAnswer(r.body, expected);
  }
  if (!answer.problem.empty()) answer.problem = Prefixed(answer.problem);
  return answer;
}

}  // namespace korvalin
