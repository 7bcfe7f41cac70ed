#pragma once
// A request to end from outside (SIGTERM, SIGINT, SIGHUP) closes the program's window as the user
// would. Nobody is there to answer a dialog: those open are closed and later ones answered at
// once, so a box the load or a job is showing never keeps the program alive. A request that comes
// while the window loads is carried out once it has loaded and the event loop runs.

#include "platform/qt/QuitOnSignal.h"

class QWidget;

namespace korvalin {

class QtDialogs;

class CloseOnSignal {
 public:
  CloseOnSignal(QtDialogs& dialogs, QWidget& window);
  // The window has loaded: a request that came meanwhile closes it from the event loop.
  void Loaded();

 private:
  QWidget& window_;
  bool loading_ = true;
  bool asked_ = false;
  QuitOnSignal quitOnSignal_;  // last: it calls back into the members above
};

}  // namespace korvalin
