#pragma once
// The AccurateRip database's answer for the disc being ripped. The request starts with the job
// and runs while the first track is read; the answer is awaited when the first track is judged.
// A usable answer is kept in the cache folder (beside the disc information's kept choices), so a
// disc is fetched once; a disc the database does not know, or an answer that cannot be used, is
// asked for again next time. Every way the look-up can fail gives one plain line, and the tracks
// are then "not verified", never accurate.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/HttpClient.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/AccurateRipVerdict.h"
#include "rip/DiscIds.h"

namespace korvalin {

// Where the database's answers are kept: UserDataFolder() + "/discinfo".
std::string AccurateRipCacheFolder();

// The audio tracks of the disc, and the place of the track at `index` among them (-1 for a data track).
int AudioTrackCount(const DiscToc& toc);
int AudioIndexOf(const DiscToc& toc, std::size_t index);

struct AccurateRipDisc {
  bool known = false;    // the database's responses are at hand
  bool absent = false;   // the database does not know the disc
  std::vector<DbarResponse> responses;
  std::string line;      // one plain line on the look-up's result

  // The verdict for audio track `audioIndex`.
  TrackVerdict Judge(int audioIndex, const RippedTrack& track) const;
};

class AccurateRipCheck {
 public:
  // `baseUrl`: the database's address ("" turns the look-up off); `cacheFolder`: "" keeps nothing.
  AccurateRipCheck(HttpClient& http, EventLoop& loop, std::string baseUrl, std::string cacheFolder);
  ~AccurateRipCheck();
  AccurateRipCheck(const AccurateRipCheck&) = delete;
  AccurateRipCheck& operator=(const AccurateRipCheck&) = delete;

  // Starts the look-up for the disc: from the cache at once, else a request that runs meanwhile.
  void Start(const DiscToc& toc);
  bool Started() const { return started_; }
  // The answer, yielding until the request has finished; `cancelled` is asked between yields
  // and ends the wait (the tracks are then not verified).
  const AccurateRipDisc& Answer(const std::function<bool()>& cancelled = {});

  // The address the disc's file is asked for at.
  std::string UrlOf(const DiscToc& toc) const;

 private:
  void Finish(const HttpResponse& response);
  std::string CachePath() const;

  HttpClient& http_;
  EventLoop& loop_;
  std::string baseUrl_;
  std::string cacheFolder_;
  bool started_ = false;
  bool answered_ = false;
  AccurateRipDiscId disc_;
  int audioTracks_ = 0;
  std::unique_ptr<HttpCall> call_;
  AccurateRipDisc answer_;
};

}  // namespace korvalin
