#pragma once
// The main window on screen: every region, button, list and menu of Form1, bound to its controls.

#include <QMainWindow>
#include <memory>
#include <utility>
#include <vector>

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
  // The views of the other windows.
  frmsearchView* FinderView() const { return ViewOfForm<frmsearchView>(&form_.windows.finder); }
  frmPlayListView* PlaylistEditorView() const { return ViewOfForm<frmPlayListView>(&form_.windows.playlistEditor); }
  FrmPrefsView* PrefsView() const { return ViewOfForm<FrmPrefsView>(&form_.windows.prefs); }
  frmpopupView* TrayView() const { return ViewOfForm<frmpopupView>(&form_.windows.tray.trayForm); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  template <typename View>
  View* ViewOfForm(const void* form) const {
    for (const auto& [owner, view] : views_) {
      if (owner == form) return static_cast<View*>(view.get());
    }
    return nullptr;
  }

  Form1& form_;
  Binder binder_;
  QMenu* popup_ = nullptr;
  // The views of the other windows, each a window of its own, shown when its form is.
  std::vector<std::pair<const void*, std::unique_ptr<QWidget>>> views_;
  controls::Connection popupConnection_;
};

}  // namespace korvalin
