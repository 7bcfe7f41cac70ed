#pragma once
// The main window's place in the notification area. Minimize puts the window away behind the tray
// form's icon; a desktop without a notification area gets it minimised to the task bar instead
// (and a word in the status line, once), so it can always be brought back. The end of a job and
// the tray menu bring it back. This is the tray form's host, so that the main window is none.

#include <string>

#include "controls/Label.h"
#include "controls/OwnedForms.h"
#include "controls/Window.h"
#include "desktop/frmpopup.h"
#include "joblife/JobControl.h"
#include "platform/Services.h"

namespace korvalin {

class WindowTray : public TrayHost {
 public:
  // `statusLine`: where the word about a missing tray goes. The tray form is made in `forms`, so
  // that the main window's view makes its view.
  WindowTray(Services& services, controls::Window& mainWindow, controls::Label& statusLine, JobControl& jobs,
             OwnedForms& forms);
  WindowTray(const WindowTray&) = delete;
  WindowTray& operator=(const WindowTray&) = delete;

  // The tray form: the icon in the notification area while the window is put away; never shown.
  frmpopup& trayForm;

  // Puts the main window away into the notification area (or the task bar).
  void MinimizeCommand();
  // The Preferences "desktop icon" box: ticked loads the tray form and hides the dialog; cleared
  // unloads the tray form and shows the dialog again.
  void SetDesktopIcon(bool shown, controls::Window& preferences);
  // The end of a job takes the window out of the tray (or back from the task bar).
  void RestoreAfterJob();

  // --- TrayHost ---
  std::string MainWindowCaption() override { return main_.Caption(); }
  void ShowMainWindow() override { main_.SetVisible(true); }
  void Command2_Click() override { jobs_.Cancel(); }
  void UnloadDecoderWindow() override { jobs_.CloseDecoderWindow(); }
  // The main window's close: query-unload (stops a job), then unload.
  void UnloadMainWindow() override;
  void EndProgram() override { main_.RequestClose(); }

 private:
  void SayNoTray();

  Services& services_;
  controls::Window& main_;
  controls::Label& statusLine_;
  JobControl& jobs_;
  bool minimisedToTaskBar_ = false;
  bool noTrayNoticeShown_ = false;
  // The program is closing: a window closed stays closed.
  bool closing_ = false;
  controls::Connection closingConnection_;
};

// The status line when the desktop has no notification area.
inline constexpr const char* kNoTrayNotice =
    "No tray on this desktop: Minimize uses the task bar";

}  // namespace korvalin
