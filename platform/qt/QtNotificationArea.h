#pragma once
// The notification area over QSystemTrayIcon: adding an icon shows one with the record's picture
// and tip, changing it sets the tip (and picture), removing it hides it. Clicks on an icon come
// back as the mouse messages of the program's own record: a right click as the release of the
// right button, which the owner answers with its pop-up menu (no menu is attached here).

#include <QObject>
#include <map>
#include <string>
#include <utility>

#include "platform/NotificationArea.h"

class QSystemTrayIcon;

namespace korvalin {

class QtNotificationArea : public NotificationArea {
 public:
  // Icon pictures are looked up in `pictureFolder`.
  explicit QtNotificationArea(std::string pictureFolder);
  ~QtNotificationArea() override;
  QtNotificationArea(const QtNotificationArea&) = delete;
  QtNotificationArea& operator=(const QtNotificationArea&) = delete;

  bool Available() override;
  bool Shell_NotifyIcon(NotifyMessage message, const NotifyIconData& data) override;

  // The shown icon of a window's identifier, or null (for tests).
  QSystemTrayIcon* IconOf(const controls::Window* window, uint32_t id) const;

 private:
  using Key = std::pair<const controls::Window*, uint32_t>;
  void Apply(QSystemTrayIcon* icon, const NotifyIconData& data);

  std::string pictureFolder_;
  std::map<Key, QSystemTrayIcon*> icons_;
};

}  // namespace korvalin
