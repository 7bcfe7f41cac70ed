#include "platform/TimerSchedule.h"

#include <algorithm>

namespace korvalin {

class TimerSchedule::Handle : public EventLoop::TimerHandle {
 public:
  Handle(std::weak_ptr<std::vector<std::shared_ptr<Entry>>> entries, std::shared_ptr<Entry> entry)
      : entries_(std::move(entries)), entry_(std::move(entry)) {}
  ~Handle() override {
    entry_->attached = false;
    entry_->connection.Disconnect();
    if (auto v = entries_.lock()) v->erase(std::remove(v->begin(), v->end(), entry_), v->end());
  }

 private:
  std::weak_ptr<std::vector<std::shared_ptr<Entry>>> entries_;
  std::shared_ptr<Entry> entry_;
};

void TimerSchedule::Arm(Entry& e, double now) {
  e.armed = e.timer->Running();
  if (e.armed) e.due = now + e.timer->Interval() / 1000.0;
}

std::unique_ptr<EventLoop::TimerHandle> TimerSchedule::Attach(controls::Timer& timer) {
  auto entry = std::make_shared<Entry>();
  entry->timer = &timer;
  Entry* raw = entry.get();
  entry->connection = timer.Changed.Connect([now = now_, raw](controls::Change) { Arm(*raw, now()); });
  Arm(*entry, now_());
  entries_->push_back(entry);
  return std::make_unique<Handle>(entries_, entry);
}

void TimerSchedule::FireDue(double now) {
  std::vector<std::shared_ptr<Entry>> due;
  for (const auto& e : *entries_) {
    if (e->armed && !e->ticking && e->due <= now) due.push_back(e);
  }
  std::stable_sort(due.begin(), due.end(), [](const auto& a, const auto& b) { return a->due < b->due; });
  for (const auto& e : due) {
    // An earlier tick may have stopped or detached this timer.
    if (!e->attached || !e->armed || e->ticking || e->due > now) continue;
    const double interval = e->timer->Interval() / 1000.0;
    e->due += interval;
    if (e->due <= now) e->due = now + interval;
    struct Ticking {
      Entry& e;
      explicit Ticking(Entry& entry) : e(entry) { e.ticking = true; }
      ~Ticking() { e.ticking = false; }
    } guard(*e);
    e->timer->Tick();
  }
}

double TimerSchedule::NextDue() const {
  double best = -1;
  for (const auto& e : *entries_) {
    if (e->armed && !e->ticking && (best < 0 || e->due < best)) best = e->due;
  }
  return best;
}

}  // namespace korvalin
