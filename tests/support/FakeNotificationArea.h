#pragma once
// A notification area for tests: keeps the icons shown (and their tips), records every call with
// its record, and lets a test move the mouse over an icon.

#include <map>
#include <utility>
#include <vector>

#include "platform/NotificationArea.h"

namespace korvalin::test {

class FakeNotificationArea : public NotificationArea {
 public:
  struct Call {
    NotifyMessage message;
    NotifyIconData data;
    bool result;
  };

  bool Available() override { return available; }

  bool Shell_NotifyIcon(NotifyMessage message, const NotifyIconData& data) override {
    const Key key{data.hWnd, data.uID};
    const bool there = icons.count(key) != 0;
    bool ok = false;
    switch (message) {
      case NotifyMessage::Add:
        ok = available && takesIcons && !there;
        if (ok) icons[key] = data.Tip();
        break;
      case NotifyMessage::Modify:
        ok = there;
        if (ok && (data.uFlags & NIF_TIP)) icons[key] = data.Tip();
        break;
      case NotifyMessage::Delete:
        ok = there;
        icons.erase(key);
        break;
    }
    calls.push_back({message, data, ok});
    return ok;
  }

  // A click or move over the icon, as the desktop reports it.
  void Mouse(const controls::Window* window, uint32_t id, int32_t message) { MouseMessage.Emit(window, id, message); }

  std::size_t Shown() const { return icons.size(); }
  // The tip of the one icon shown; "" when none is.
  std::string Tip() const { return icons.empty() ? std::string() : icons.begin()->second; }

  bool available = true;   // the desktop has a tray
  bool takesIcons = true;  // false: the tray refuses new icons (its host went away, say)
  std::vector<Call> calls;

 private:
  using Key = std::pair<const controls::Window*, uint32_t>;
  std::map<Key, std::string> icons;
};

}  // namespace korvalin::test
