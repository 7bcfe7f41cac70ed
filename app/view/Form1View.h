#pragma once
// The main window on screen: every region, button, list and menu of Form1, bound to its controls.

#include <QMainWindow>
#include <memory>

#include "app/Form1.h"
#include "desktop/view/frmpopupView.h"
#include "finder/view/frmsearchView.h"
#include "platform/qt/Binder.h"

class QMenu;

namespace korvalin {

class Form1View : public QMainWindow {
 public:
  explicit Form1View(Form1& form);

  // The tree's pop-up menu, shown at the pointer.
  QMenu* PopupMenu() const { return popup_; }
  frmsearchView* FinderView() const { return finderView_.get(); }
  frmpopupView* TrayView() const { return trayView_.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Form1& form_;
  Binder binder_;
  QMenu* popup_ = nullptr;
  std::unique_ptr<frmsearchView> finderView_;  // a window of its own, shown when the form is
  controls::Connection popupConnection_;
  std::unique_ptr<frmpopupView> trayView_;  // never shown: owns the tray's pop-up menu
};

}  // namespace korvalin
