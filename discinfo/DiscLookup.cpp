#include "discinfo/DiscLookup.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "discinfo/Ranking.h"

namespace korvalin {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// One source's answer; a source that throws has failed like one that says so.
SourceAnswer Ask(DiscInfoSource& source, const LookupRequest& request) {
  const std::function<bool()> cancelled = request.cancelled ? request.cancelled : [] { return false; };
  try {
    return source.Look(request.disc, cancelled);
  } catch (const std::exception& e) {
    return {{}, e.what()};
  }
}

void Take(SourceAnswer answer, const std::string& name, DiscLookupResult& result) {
  // Each line names its source once, whether or not the source named itself already.
  if (!answer.problem.empty()) {
    const std::string prefix = name + ": ";
    result.problems.push_back(answer.problem.rfind(prefix, 0) == 0 ? answer.problem : prefix + answer.problem);
  }
  for (DiscInfoCandidate& c : answer.candidates) {
    if (c.source.empty()) c.source = name;
    result.candidates.push_back(std::move(c));
  }
}

}  // namespace

DiscLookupResult LookUpDisc(const LookupRequest& request, const LookupSources& sources) {
  DiscLookupResult result;
  std::string cdTextAlbum;
  if (sources.discText) {
    SourceAnswer answer = Ask(*sources.discText, request);
    if (!answer.candidates.empty()) cdTextAlbum = answer.candidates.front().album;
    Take(std::move(answer), sources.discText->Name(), result);
  }

  if (sources.cache && !request.again) {
    CachedChoice kept = sources.cache->Load(request.disc);
    if (!kept.problem.empty()) result.problems.push_back(kept.problem);
    if (kept.candidate) {
      result.candidates.push_back(std::move(*kept.candidate));
      result.fromCache = true;
    }
  }

  if (request.options.online && !result.fromCache) {
    for (const std::string& name : request.options.order) {
      if (request.cancelled && request.cancelled()) break;
      const auto source = std::find_if(sources.online.begin(), sources.online.end(),
                                       [&](DiscInfoSource* s) { return s && SameName(s->Name(), name); });
      if (source == sources.online.end()) continue;
      const auto& asked = result.asked;
      if (std::find(asked.begin(), asked.end(), (*source)->Name()) != asked.end()) continue;
      result.asked.push_back((*source)->Name());
      Take(Ask(**source, request), (*source)->Name(), result);
    }
  }

  RankCandidates(result.candidates, {request.disc, request.options, cdTextAlbum});
  FillFromAgreeingCandidates(result.candidates);
  return result;
}

}  // namespace korvalin
