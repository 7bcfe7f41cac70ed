#pragma once
// The main window on screen: every region, button, list and menu of Form1, bound to its controls.

#include <QMainWindow>
#include <memory>

#include "app/Form1.h"
#include "desktop/view/frmpopupView.h"
#include "finder/view/frmsearchView.h"
#include "mp3/view/frmPlayListView.h"
#include "platform/qt/Binder.h"
#include "settings/view/FrmPrefsView.h"

class QMenu;

namespace korvalin {

class Form1View : public QMainWindow {
 public:
  explicit Form1View(Form1& form);

  // The tree's pop-up menu, shown at the pointer.
  QMenu* PopupMenu() const { return popup_; }
  frmsearchView* FinderView() const { return finderView_.get(); }
  frmPlayListView* PlaylistEditorView() const { return playlistView_.get(); }
  FrmPrefsView* PrefsView() const { return prefsView_.get(); }
  frmpopupView* TrayView() const { return trayView_.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Form1& form_;
  Binder binder_;
  QMenu* popup_ = nullptr;
  std::unique_ptr<frmsearchView> finderView_;  // a window of its own, shown when the form is
  std::unique_ptr<frmPlayListView> playlistView_;  // likewise
  std::unique_ptr<FrmPrefsView> prefsView_;    // likewise
  controls::Connection popupConnection_;
  std::unique_ptr<frmpopupView> trayView_;  // never shown: owns the tray's pop-up menu
};

}  // namespace korvalin
