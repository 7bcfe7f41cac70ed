#pragma once
// The tray form: a window that is never shown and owns the program's icon in the notification
// area. Loading it adds the icon, unloading it removes the icon. While it is loaded, the icon's tip
// follows the main window's caption every second, and a right click on the icon opens the pop-up
// menu that restores the main window, stops the conversion or ends the program.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ProgramTitle.h"
#include "controls/MenuItem.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "joblife/JobEvents.h"
#include "platform/EventLoop.h"
#include "platform/NotificationArea.h"
#include "platform/Services.h"

namespace korvalin {

// What the tray form asks of the main window.
class TrayHost {
 public:
  virtual ~TrayHost() = default;
  virtual std::string MainWindowCaption() = 0;
  virtual void ShowMainWindow() = 0;
  // The main window's cancel command: stops the running job and enables the commands again.
  virtual void Command2_Click() = 0;
  virtual void UnloadDecoderWindow() = 0;
  // Closes the main window as its own close does (a running job is stopped first).
  virtual void UnloadMainWindow() = 0;
  // Ends the program once the current event returns.
  virtual void EndProgram() = 0;
};

// A window's icon: the picture shown and the number that names it in the notification area.
struct IconObject {
  std::string picture;
  uint32_t handle = 0;
};

class frmpopup {
 public:
  // Takes the event loop and the notification area from `services`; unloads itself when the
  // program closes (`jobs`).
  frmpopup(Services& services, TrayHost& host, JobEvents& jobs);
  frmpopup(const frmpopup&) = delete;
  frmpopup& operator=(const frmpopup&) = delete;
  ~frmpopup();

  controls::Window window{"frmpopup", kProgramTitle};
  IconObject Icon{"korvalin.svg", 1};

  controls::Timer Timer1{"Timer1", 1000, false};  // the icon's tip follows the main caption
  controls::Timer Timer2{"Timer2", 1000, false};  // this window's caption follows it too

  controls::MenuItem mnuStopencoding{"mnuStopencoding", "Stop Conversion"};
  controls::MenuItem Exit{"Exit", "Restore Control panel"};
  controls::MenuItem mnuspace1{"mnuspace1", "-"};
  controls::MenuItem mnuEnd{"mnuEnd", "Shutdown program"};
  // Never in a menu bar: shown at the pointer on a right click on the icon.
  controls::MenuItem Popup{"Popup", "Popup", {&mnuStopencoding, &Exit, &mnuspace1, &mnuEnd}};

  // Adds the icon with the tip "Korvalin" and starts the timers. Loading a loaded form does nothing.
  void Form_Load();
  // Removes the icon and stops the timers. Never refused; unloading an unloaded form does nothing.
  void Form_Unload();
  bool Loaded() const { return window.Loaded(); }
  // Whether the notification area took the icon when the form was loaded.
  bool IconShown() const { return iconShown_; }

  void Timer1_Timer();
  void Timer2_Timer();
  // A mouse message from the icon: only the release of the right button opens the menu.
  void Icon_MouseMessage(int32_t message);

  void mnuStopencoding_Click();
  void Exit_Click();
  void mnuEnd_Click();

  // The record as the last call left it.
  const NotifyIconData& Record() const { return record_; }

 private:
  bool Notify(NotifyMessage message, uint32_t id, const IconObject& icon, const std::string& tip);
  void DeleteIcon(uint32_t id);

  EventLoop& loop_;
  NotificationArea& area_;
  TrayHost& host_;
  NotifyIconData record_;
  const IconObject* keptIcon_ = nullptr;
  bool iconShown_ = false;  // the icon object, held while the icon is shown
  std::vector<std::unique_ptr<EventLoop::TimerHandle>> timers_;
  controls::Connection mouse_;
  controls::Connection closing_;
};

}  // namespace korvalin
