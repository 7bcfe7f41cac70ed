#pragma once
// The tray form on screen: a window that is never shown, with the form's icon, and the pop-up menu
// that opens at the pointer when the form asks for it.

#include <QWidget>
#include <string>

#include "desktop/frmpopup.h"
#include "platform/qt/Binder.h"

class QMenu;

namespace korvalin {

class frmpopupView : public QWidget {
 public:
  frmpopupView(frmpopup& form, const std::string& pictureFolder);

  QMenu* PopupMenu() const { return popup_; }

 private:
  frmpopup& form_;
  Binder binder_;
  QMenu* popup_ = nullptr;
  controls::Connection popupConnection_;
};

}  // namespace korvalin
