#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QTimer>

#include "platform/linux/HeadlessEventLoop.h"

namespace korvalin {
namespace {

// Keeps a QTimer in step with a timer control: running while the control is enabled with a
// non-zero interval, restarted whenever either changes.
class QtTimerHandle : public EventLoop::TimerHandle {
 public:
  explicit QtTimerHandle(controls::Timer& timer) : timer_(timer) {
    qtimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&qtimer_, &QTimer::timeout, [this] {
      if (ticking_) return;  // a tick never starts while the same timer's last one runs
      ticking_ = true;
      timer_.Tick();
      ticking_ = false;
    });
    connection_ = timer_.Changed.Connect([this](controls::Change) { Sync(); });
    Sync();
  }

 private:
  void Sync() {
    if (timer_.Running()) {
      qtimer_.start(timer_.Interval());
    } else {
      qtimer_.stop();
    }
  }

  controls::Timer& timer_;
  QTimer qtimer_;
  bool ticking_ = false;
  controls::Connection connection_;
};

}  // namespace

void QtEventLoop::Yield() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventLoop::YieldWhileWaiting() {
  // Runs the event loop for a moment: events are handled as they come, and the thread sleeps in
  // between instead of spinning.
  QEventLoop wait;
  QTimer::singleShot(2, &wait, &QEventLoop::quit);
  wait.exec();
}

double QtEventLoop::Clock() { return LocalSecondsSinceMidnight(); }

std::unique_ptr<EventLoop::TimerHandle> QtEventLoop::Attach(controls::Timer& timer) {
  return std::make_unique<QtTimerHandle>(timer);
}

}  // namespace korvalin
