#pragma once
// The disc information of the disc in the chosen drive, looked up in the background. A disc read
// (start, "Reset", another drive) only notes the disc and starts a timer; the look-up runs at the
// timer's tick, yielding while it waits, so the window stays live and the program's start is
// never held up. A look-up waits while a job runs (it would hold the job up in its yields), and
// one that a newer disc overtakes is dropped.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/Signal.h"
#include "controls/Timer.h"
#include "discinfo/DiscInfoLookup.h"
#include "platform/EventLoop.h"

namespace korvalin {

class DiscInfoSession {
 public:
  DiscInfoSession(EventLoop& loop, DiscInfoLookup& lookup);
  DiscInfoSession(const DiscInfoSession&) = delete;
  DiscInfoSession& operator=(const DiscInfoSession&) = delete;
  ~DiscInfoSession();

  // Read at each look-up's start.
  std::function<LookupOptions()> Options = [] { return LookupOptions{}; };
  // False while the look-up must wait (a job runs); asked at each tick.
  std::function<bool()> MayStart = [] { return true; };

  // A disc was read; none: no drive or no disc. The same disc again changes nothing.
  void DiscRead(const std::optional<DiscQuery>& disc);
  // Asks the sources again for the disc in hand.
  void LookAgain();
  // Ends a look-up in progress (the program ends); nothing starts after it.
  void Stop();
  // The user's choice becomes the disc's information and is kept for the disc; "" when kept,
  // else why not (the choice still holds until the program ends).
  std::string Use(const DiscInfoCandidate& chosen);

  const std::optional<DiscQuery>& Disc() const { return disc_; }
  const std::vector<DiscInfoCandidate>& Candidates() const { return result_.candidates; }
  const std::vector<std::string>& Problems() const { return result_.problems; }
  // The disc's information: the user's choice, else the best candidate; null when none.
  const DiscInfoCandidate* Known() const;
  // A look-up is due or running.
  bool Busy() const { return tmrLookup.Enabled() || running_; }

  // After every change of the above.
  controls::Signal<> Changed;

  controls::Timer tmrLookup{"tmrLookup", 100, false};

 private:
  void tmrLookup_Timer();
  void Schedule(bool fresh);

  EventLoop& loop_;
  DiscInfoLookup& lookup_;
  std::unique_ptr<EventLoop::TimerHandle> timer_;
  std::optional<DiscQuery> disc_;
  LookupResult result_;
  std::optional<DiscInfoCandidate> chosen_;
  unsigned generation_ = 0;  // counts discs read: a look-up for an older one is dropped
  bool fresh_ = false;
  bool running_ = false;
  bool stopped_ = false;
};

// "Artist – Album" (one of them when the other is empty); "" when both are.
std::string ArtistAlbumLine(const DiscInfoCandidate& info);

}  // namespace korvalin
