#include "platform/qt/CloseOnSignal.h"

#include <QTimer>
#include <QWidget>

#include "platform/qt/QtDialogs.h"

namespace korvalin {

CloseOnSignal::CloseOnSignal(QtDialogs& dialogs, QWidget& window)
    : window_(window), quitOnSignal_([this, &dialogs] {
        dialogs.EndAll();
        // Closing while the window loads would pull it from under the load.
        if (loading_) asked_ = true;
        else window_.close();
      }) {}

void CloseOnSignal::Loaded() {
  loading_ = false;
  if (asked_) QTimer::singleShot(0, &window_, [w = &window_] { w->close(); });
}

}  // namespace korvalin
