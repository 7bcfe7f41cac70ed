#include "desktop/frmpopup.h"

#include "common/RaisedError.h"

namespace korvalin {

frmpopup::frmpopup(Services& services, TrayHost& host, JobEvents& jobs)
    : loop_(services.loop), area_(services.notificationArea), host_(host) {
  closing_ = jobs.closing.Connect([this] { IgnoreErrors([&] { Form_Unload(); }); });
  Popup.SetVisible(false);
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  Timer2.OnTimer = [this] { Timer2_Timer(); };
  mnuStopencoding.OnClick = [this] { mnuStopencoding_Click(); };
  Exit.OnClick = [this] { Exit_Click(); };
  mnuEnd.OnClick = [this] { mnuEnd_Click(); };
  timers_.push_back(loop_.Attach(Timer1));
  timers_.push_back(loop_.Attach(Timer2));
  mouse_ = area_.MouseMessage.Connect([this](const controls::Window* owner, uint32_t, int32_t message) {
    if (owner == &window && Loaded()) Icon_MouseMessage(message);
  });
}

frmpopup::~frmpopup() {
  // An icon left behind would outlive the program's window; the service drops it now.
  if (Loaded()) IgnoreErrors([&] { Form_Unload(); });
}

bool frmpopup::Notify(NotifyMessage message, uint32_t id, const IconObject& icon, const std::string& tip) {
  record_.cbSize = NotifyIconData::kSize;
  record_.hWnd = &window;
  record_.uID = id;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = traymouse::Move;
  record_.hIcon = icon.picture;
  record_.SetTip(tip);
  return area_.Shell_NotifyIcon(message, record_);
}

void frmpopup::DeleteIcon(uint32_t id) {
  // Only the identifier changes; the rest of the record stays as the last call left it.
  record_.uID = id;
  area_.Shell_NotifyIcon(NotifyMessage::Delete, record_);
}

void frmpopup::Form_Load() {
  if (Loaded()) return;
  window.SetLoaded(true);
  keptIcon_ = &Icon;
  iconShown_ = Notify(NotifyMessage::Add, keptIcon_->handle, *keptIcon_, "Korvalin");
  window.SetVisible(false);
  Timer1.SetEnabled(true);
  Timer2.SetEnabled(true);
}

void frmpopup::Form_Unload() {
  if (!Loaded()) return;
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  const uint32_t kept = keptIcon_ ? keptIcon_->handle : Icon.handle;
  IgnoreErrors([&] { DeleteIcon(kept); }, [&] { DeleteIcon(Icon.handle); });
  keptIcon_ = nullptr;
  iconShown_ = false;
  window.SetLoaded(false);
}

void frmpopup::Timer1_Timer() {
  if (!Loaded()) return;
  Notify(NotifyMessage::Modify, Icon.handle, Icon, host_.MainWindowCaption());
  loop_.Yield();
}

void frmpopup::Timer2_Timer() {
  window.SetCaption(host_.MainWindowCaption());
  loop_.Yield();
}

void frmpopup::Icon_MouseMessage(int32_t message) {
  window.SetCaption(host_.MainWindowCaption());
  if (message == traymouse::RightUp) window.PopupMenu(Popup);
}

void frmpopup::Exit_Click() {
  host_.ShowMainWindow();
  Form_Unload();
}

void frmpopup::mnuStopencoding_Click() {
  host_.ShowMainWindow();
  host_.Command2_Click();
  Form_Unload();
}

void frmpopup::mnuEnd_Click() {
  IgnoreErrors([&] { host_.UnloadDecoderWindow(); }, [&] { host_.UnloadMainWindow(); }, [&] { Form_Unload(); },
               [&] { host_.EndProgram(); });
}

}  // namespace korvalin
