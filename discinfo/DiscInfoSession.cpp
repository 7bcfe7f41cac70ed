#include "discinfo/DiscInfoSession.h"


namespace korvalin {
namespace {

bool SameDisc(const DiscQuery& a, const DiscQuery& b) {
  if (a.cddbId != b.cddbId || a.musicBrainzId != b.musicBrainzId || a.toc.leadOut != b.toc.leadOut) return false;
  if (a.toc.tracks.size() != b.toc.tracks.size()) return false;
  for (std::size_t i = 0; i < a.toc.tracks.size(); ++i) {
    if (a.toc.tracks[i].start != b.toc.tracks[i].start) return false;
  }
  return true;
}

}  // namespace

DiscInfoSession::DiscInfoSession(EventLoop& loop, DiscInfoLookup& lookup) : loop_(loop), lookup_(lookup) {
  tmrLookup.OnTimer = [this] { tmrLookup_Timer(); };
  timer_ = loop_.Attach(tmrLookup);
}

DiscInfoSession::~DiscInfoSession() { Stop(); }

void DiscInfoSession::DiscRead(const std::optional<DiscQuery>& disc) {
  if (disc && disc_ && SameDisc(*disc, *disc_)) return;
  ++generation_;
  disc_ = disc;
  result_ = {};
  chosen_.reset();
  tmrLookup.SetEnabled(false);
  if (disc_) Schedule(false);
  Changed.Emit();
}

void DiscInfoSession::LookAgain() {
  if (!disc_) return;
  ++generation_;  // a look-up still running is for the same disc, but its answer is older
  Schedule(true);
  Changed.Emit();
}

void DiscInfoSession::Schedule(bool fresh) {
  if (stopped_) return;
  fresh_ = fresh;
  tmrLookup.SetEnabled(true);
}

void DiscInfoSession::Stop() {
  stopped_ = true;
  ++generation_;
  tmrLookup.SetEnabled(false);
}

void DiscInfoSession::tmrLookup_Timer() {
  if (!disc_ || stopped_) {
    tmrLookup.SetEnabled(false);
    return;
  }
  if (!MayStart()) return;  // the next tick asks again
  tmrLookup.SetEnabled(false);
  const unsigned generation = generation_;
  const DiscQuery disc = *disc_;
  LookupResult result;
  running_ = true;
  try {
    result = lookup_.Look(disc, Options(), fresh_, [this, generation] { return generation != generation_ || stopped_; });
  } catch (const std::exception& e) {
    result = {{}, {e.what()}};  // a look-up that fails is one line, never the end of the program
  }
  running_ = false;
  if (generation != generation_) {
    // Overtaken by a newer disc or "Look up again" while it ran: that one's tick is due.
    if (disc_ && !stopped_) tmrLookup.SetEnabled(true);
    Changed.Emit();
    return;
  }
  result_ = std::move(result);
  Changed.Emit();
}

std::string DiscInfoSession::Use(const DiscInfoCandidate& chosen) {
  chosen_ = chosen;
  std::string problem;
  if (disc_) {
    try {
      problem = lookup_.Remember(*disc_, chosen);
    } catch (const std::exception& e) {
      problem = e.what();
    }
  }
  Changed.Emit();
  return problem;
}

const DiscInfoCandidate* DiscInfoSession::Known() const {
  if (chosen_) return &*chosen_;
  return result_.candidates.empty() ? nullptr : &result_.candidates.front();
}

std::string ArtistAlbumLine(const DiscInfoCandidate& info) {
  if (info.artist.empty()) return info.album;
  if (info.album.empty()) return info.artist;
  return info.artist + " \u2013 " + info.album;
}

}  // namespace korvalin
