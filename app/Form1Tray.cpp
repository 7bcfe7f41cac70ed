// The main window and the tray: putting the window away into the notification area and
// bringing it back.

#include "app/Form1.h"
#include "common/RaisedError.h"

namespace korvalin {

void Form1::MinimizeCommand() {
  IgnoreErrors([&] {
    if (services.notificationArea.Available()) trayForm.Form_Load();
  });
  if (trayForm.IconShown()) {
    IgnoreErrors([&] { window.SetVisible(false); });
    return;
  }
  // No icon to bring the window back with: a hidden window would be lost. Minimise it instead.
  IgnoreErrors([&] { window.SetWindowState(controls::Window::State::Minimized); },
               [&] { minimisedToTaskBar_ = true; }, [&] { SayNoTray(); });
}

void Form1::SetDesktopIcon(bool shown, controls::Window& preferences) {
  if (shown) {
    // "Now": the dialog and the main window both go, into the tray (or the task bar).
    IgnoreErrors([&] { preferences.SetVisible(false); }, [&] { MinimizeCommand(); });
  } else {
    IgnoreErrors([&] { trayForm.Form_Unload(); },
                 [&] {
                   if (unloaded_) return;
                   window.SetVisible(true);
                   if (!minimisedToTaskBar_) return;
                   minimisedToTaskBar_ = false;
                   window.SetWindowState(controls::Window::State::Normal);
                 },
                 [&] { preferences.SetVisible(true); }, [&] { preferences.RequestActivate(); });
  }
}

void Form1::SayNoTray() {
  if (noTrayNoticeShown_) return;
  noTrayNoticeShown_ = true;
  lblStatus.SetCaption(kNoTrayNotice);
}

void Form1::RestoreAfterJob() {
  IgnoreErrors([&] { trayForm.Form_Unload(); },
               [&] {
                 // Only a minimise of our own is undone; a window closed during the job stays closed.
                 if (!minimisedToTaskBar_ || unloaded_) return;
                 minimisedToTaskBar_ = false;
                 window.SetWindowState(controls::Window::State::Normal);
               });
}

}  // namespace korvalin
