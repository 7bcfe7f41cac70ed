#include "rip/AccurateRipLookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/UserFolders.h"
#include "rip/Frame450Window.h"

namespace korvalin {
namespace {

// Far above the largest real answer (904 bytes a response for 99 tracks, a few dozen responses).
constexpr std::size_t kMostBytes = std::size_t{1} << 20;
constexpr double kTimeoutSeconds = 20;
constexpr const char* kNotVerified = "; the rip is not verified";

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string ReadCached(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > static_cast<off_t>(kMostBytes)) return {};
  std::string bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
    std::fclose(f);
  }
  return bytes;
}

bool MakeFolders(const std::string& path) {
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    if (::mkdir(path.substr(0, at).c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// Keeps a usable answer: written to a temporary file beside it and moved to its name. It is not
// flushed to the disk: a kept file that a crash spoiled is refused when read and asked for again,
// and the rip need not wait for the disk. A file that cannot be written only means asking again.
void KeepInCache(const std::string& path, const std::string& bytes) {
  if (!MakeFolders(path.substr(0, path.rfind('/')))) return;
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool closed = ::close(fd) == 0;
  if (done != bytes.size() || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) ::unlink(temporary.c_str());
}

std::string Responses(std::size_t n) { return n == 1 ? "1 response" : std::to_string(n) + " responses"; }

}  // namespace

std::string AccurateRipCacheFolder() { return UserDataFolder() + "/discinfo"; }

int AudioTrackCount(const DiscToc& toc) {
  int n = 0;
  for (const DiscTocTrack& t : toc.tracks) n += t.data ? 0 : 1;
  return n;
}

int AudioIndexOf(const DiscToc& toc, std::size_t index) {
  if (index >= toc.tracks.size() || toc.tracks[index].data) return -1;
  int n = 0;
  for (std::size_t i = 0; i < index; ++i) n += toc.tracks[i].data ? 0 : 1;
  return n;
}

TrackVerdict AccurateRipDisc::Judge(int audioIndex, const RippedTrack& track) const {
  // A track cut short or empty says so first, whatever the database answered.
  if (known || track.bytes <= 0 || !track.complete) {
    TrackVerdict verdict = JudgeTrack(responses, audioIndex, track);
    if (known && track.complete && audioIndex >= 0) {
      DbarFile db;
      db.responses = responses;
      const auto matches = MatchingOffsets(track.frame450, kMaxReadOffset, db, static_cast<std::size_t>(audioIndex));
      if (const std::optional<int32_t> offset = OtherPressingOffset(matches)) verdict.otherPressing = OtherPressingLine(*offset);
    }
    return verdict;
  }
  if (absent) return AbsentTrack();
  return UnverifiedTrack("no answer from the database");
}

AccurateRipCheck::AccurateRipCheck(HttpClient& http, EventLoop& loop, std::string baseUrl, std::string cacheFolder)
    : http_(http), loop_(loop), baseUrl_(std::move(baseUrl)), cacheFolder_(std::move(cacheFolder)) {
  while (!baseUrl_.empty() && baseUrl_.back() == '/') baseUrl_.pop_back();
}

AccurateRipCheck::~AccurateRipCheck() {
  if (call_) call_->Cancel();
}

std::string AccurateRipCheck::UrlOf(const DiscToc& toc) const {
  return baseUrl_ + "/" + DbarPath(AccurateRipIdOf(toc), AudioTrackCount(toc));
}

std::string AccurateRipCheck::CachePath() const {
  return cacheFolder_ + "/" + FileName(DbarPath(disc_, audioTracks_));
}

void AccurateRipCheck::Start(const DiscToc& toc) {
  if (started_) return;
  started_ = true;
  disc_ = AccurateRipIdOf(toc);
  audioTracks_ = AudioTrackCount(toc);
  if (audioTracks_ == 0) {
    answered_ = true;
    answer_.line = "The disc has no audio tracks to look up in the AccurateRip database";
    return;
  }
  if (!cacheFolder_.empty()) {
    const std::string kept = ReadCached(CachePath());
    DbarFile file = kept.empty() ? DbarFile{} : ParseDbar(kept, disc_, audioTracks_);
    if (!file.responses.empty()) {
      answered_ = true;
      answer_.known = true;
      answer_.line = "The AccurateRip database holds " + Responses(file.responses.size()) +
                     " for this disc (kept from an earlier look-up)";
      answer_.responses = std::move(file.responses);
      return;
    }
  }
  if (baseUrl_.empty()) {
    answered_ = true;
    answer_.line = std::string("The AccurateRip look-up is off (no database address is set)") + kNotVerified;
    return;
  }
  HttpRequest request;
  request.url = baseUrl_ + "/" + DbarPath(disc_, audioTracks_);
  request.timeoutSeconds = kTimeoutSeconds;
  request.maxBodyBytes = kMostBytes;
  call_ = http_.Get(request);
}

const AccurateRipDisc& AccurateRipCheck::Answer(const std::function<bool()>& cancelled) {
  if (!started_) {
    answered_ = true;
    answer_.line = "No disc was looked up in the AccurateRip database";
  }
  if (answered_) return answer_;
  while (!call_->Finished()) {
    if (cancelled && cancelled()) {
      call_->Cancel();
      while (!call_->Finished()) loop_.YieldWhileWaiting();
      break;
    }
    loop_.YieldWhileWaiting();
  }
  Finish(call_->Result());
  call_.reset();
  answered_ = true;
  return answer_;
}

void AccurateRipCheck::Finish(const HttpResponse& response) {
  if (response.status == 0 || !response.problem.empty()) {
    answer_.line = "The AccurateRip look-up failed (" +
                   (response.problem.empty() ? std::string("no answer") : response.problem) + ")" + kNotVerified;
    return;
  }
  if (response.status == 404) {
    answer_.absent = true;
    answer_.line = std::string("The AccurateRip database does not know this disc") + kNotVerified;
    return;
  }
  if (response.status != 200) {
    answer_.line = "The AccurateRip database answered with HTTP status " + std::to_string(response.status) + kNotVerified;
    return;
  }
  DbarFile file = ParseDbar(response.body, disc_, audioTracks_);
  if (!file.problem.empty()) {
    std::string problem = file.problem;
    problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
    answer_.line = problem + kNotVerified;
    return;
  }
  answer_.known = true;
  answer_.line = "The AccurateRip database holds " + Responses(file.responses.size()) + " for this disc";
  answer_.responses = std::move(file.responses);
  if (!cacheFolder_.empty()) KeepInCache(CachePath(), response.body);
}

}  // namespace korvalin
