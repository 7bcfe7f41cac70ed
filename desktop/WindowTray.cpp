#include "desktop/WindowTray.h"

#include "common/RaisedError.h"

namespace korvalin {

WindowTray::WindowTray(Services& services, controls::Window& mainWindow, controls::Label& statusLine,
                       JobControl& jobs, OwnedForms& forms)
    : trayForm(forms.Make<frmpopup>(services, *this, jobs.Events())),
      services_(services),
      main_(mainWindow),
      statusLine_(statusLine),
      jobs_(jobs) {
  closingConnection_ = jobs.Events().closing.Connect([this] { closing_ = true; });
}

void WindowTray::MinimizeCommand() {
  IgnoreErrors([&] {
    if (services_.notificationArea.Available()) trayForm.Form_Load();
  });
  if (trayForm.IconShown()) {
    IgnoreErrors([&] { main_.SetVisible(false); });
    return;
  }
  // No icon to bring the window back with: a hidden window would be lost. Minimise it instead.
  IgnoreErrors([&] { main_.SetWindowState(controls::Window::State::Minimized); },
               [&] { minimisedToTaskBar_ = true; }, [&] { SayNoTray(); });
}

void WindowTray::SetDesktopIcon(bool shown, controls::Window& preferences) {
  if (shown) {
    // "Now": the dialog and the main window both go, into the tray (or the task bar).
    IgnoreErrors([&] { preferences.SetVisible(false); }, [&] { MinimizeCommand(); });
  } else {
    IgnoreErrors([&] { trayForm.Form_Unload(); },
                 [&] {
                   if (closing_) return;
                   main_.SetVisible(true);
                   if (!minimisedToTaskBar_) return;
                   minimisedToTaskBar_ = false;
                   main_.SetWindowState(controls::Window::State::Normal);
                 },
                 [&] { preferences.SetVisible(true); }, [&] { preferences.RequestActivate(); });
  }
}

void WindowTray::SayNoTray() {
  if (noTrayNoticeShown_) return;
  noTrayNoticeShown_ = true;
  statusLine_.SetCaption(kNoTrayNotice);
}

void WindowTray::RestoreAfterJob() {
  IgnoreErrors([&] { trayForm.Form_Unload(); },
               [&] {
                 // Only a minimise of our own is undone; a window closed during the job stays closed.
                 if (!minimisedToTaskBar_ || closing_) return;
                 minimisedToTaskBar_ = false;
                 main_.SetWindowState(controls::Window::State::Normal);
               });
}

void WindowTray::UnloadMainWindow() {
  bool cancel = false;
  IgnoreErrors([&] {
    if (main_.OnQueryUnload) main_.OnQueryUnload(cancel);
  });
  controls::Fire(main_.OnUnload);
}

}  // namespace korvalin
