#include "platform/qt/QtNotificationArea.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace korvalin {

namespace {

// The mouse message a click on the icon stands for; 0 for none.
int32_t MessageOf(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Context: return traymouse::RightUp;
    case QSystemTrayIcon::Trigger: return traymouse::LeftUp;
    case QSystemTrayIcon::DoubleClick: return traymouse::LeftDoubleClick;
    case QSystemTrayIcon::MiddleClick: return traymouse::MiddleUp;
    default: return 0;
  }
}

}  // namespace

QtNotificationArea::QtNotificationArea(std::string pictureFolder) : pictureFolder_(std::move(pictureFolder)) {}

QtNotificationArea::~QtNotificationArea() {
  for (auto& [key, icon] : icons_) delete icon;
}

bool QtNotificationArea::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtNotificationArea::Apply(QSystemTrayIcon* icon, const NotifyIconData& data) {
  if (data.uFlags & NIF_ICON) icon->setIcon(QIcon(QString::fromStdString(pictureFolder_ + "/" + data.hIcon)));
  if (data.uFlags & NIF_TIP) icon->setToolTip(QString::fromStdString(data.Tip()));
}

bool QtNotificationArea::Shell_NotifyIcon(NotifyMessage message, const NotifyIconData& data) {
  const Key key{data.hWnd, data.uID};
  const auto found = icons_.find(key);
  switch (message) {
    case NotifyMessage::Add: {
      if (found != icons_.end() || !Available()) return false;
      auto* icon = new QSystemTrayIcon;
      Apply(icon, data);
      if (data.uFlags & NIF_MESSAGE) {
        QObject::connect(icon, &QSystemTrayIcon::activated, icon, [this, key](QSystemTrayIcon::ActivationReason r) {
          const int32_t m = MessageOf(r);
          if (m == 0) return;
          // The owner's handlers may throw; that must not unwind into Qt.
          try {
            MouseMessage.Emit(key.first, key.second, m);
          } catch (const std::exception&) {
          }
        });
      }
      icons_.emplace(key, icon);
      icon->show();
      return true;
    }
    case NotifyMessage::Modify:
      if (found == icons_.end()) return false;
      Apply(found->second, data);
      return true;
    case NotifyMessage::Delete:
      if (found == icons_.end()) return false;
      found->second->hide();
      // The icon may be the one whose click is being handled right now.
      found->second->deleteLater();
      icons_.erase(found);
      return true;
  }
  return false;
}

QSystemTrayIcon* QtNotificationArea::IconOf(const controls::Window* window, uint32_t id) const {
  const auto found = icons_.find(Key{window, id});
  return found == icons_.end() ? nullptr : found->second;
}

}  // namespace korvalin
