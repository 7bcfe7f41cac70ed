#pragma once
// Binds Qt widgets to the program's controls, both ways: a control's change updates its widget,
// a user's action on the widget calls the control (and so the form's handler). A window's view
// makes each widget with Make (created, named after its control, bound), lays them out and binds
// the window itself once; that is all it does. Closing the window from its title bar asks the
// form (its QueryUnload and Unload handlers) through that binding, so a view needs no close code.
//
// Positions and sizes are kept in twips on the control side (15 twips a pixel). A widget bound
// with Geometry::Placed follows its control's position and size; one inside a Qt layout does not.

#include <string>
#include <vector>

#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/FolderList.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/MenuItem.h"
#include "controls/OptionButton.h"
#include "controls/PictureBox.h"
#include "controls/ProgressBar.h"
#include "controls/TabStrip.h"
#include "controls/TextBox.h"
#include "controls/TreeView.h"
#include "controls/Window.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QTreeView;
class QWidget;

namespace korvalin {

int PixelsFromTwips(int32_t twips);
int32_t TwipsFromPixels(int pixels);

class Binder {
 public:
  enum class Geometry { Placed, InLayout };

  Binder() = default;
  Binder(const Binder&) = delete;
  Binder& operator=(const Binder&) = delete;

  // `surface` is the widget whose size is the window's inner size (its client area). A close from
  // outside (the title bar, the window manager) runs the form's QueryUnload handler, which may
  // cancel it, then its Unload handler; a close the form asked for itself runs neither.
  void Bind(QWidget* window, QWidget* surface, controls::Window& control);

  // Creates a widget of type W in `parent`, names it after its control and binds the two.
  template <typename W, typename C>
  W* Make(QWidget* parent, C& control, Geometry g = Geometry::Placed) {
    auto* widget = new W(parent);
    Name(widget, control.Name());
    Bind(widget, control, g);
    return widget;
  }
  void Bind(QWidget* widget, controls::PictureBox& control, Geometry g = Geometry::Placed);
  void Bind(QLabel* widget, controls::Label& control, Geometry g = Geometry::Placed);
  void Bind(QAbstractButton* widget, controls::CommandButton& control, Geometry g = Geometry::Placed);
  void Bind(QCheckBox* widget, controls::CheckBox& control, Geometry g = Geometry::Placed);
  void Bind(QRadioButton* widget, controls::OptionButton& control, Geometry g = Geometry::Placed);
  void Bind(QListWidget* widget, controls::ListBox& control, Geometry g = Geometry::Placed);
  void Bind(QComboBox* widget, controls::ComboBox& control, Geometry g = Geometry::Placed);
  void Bind(QProgressBar* widget, controls::ProgressBar& control, Geometry g = Geometry::Placed);
  void Bind(QLineEdit* widget, controls::TextBox& control, Geometry g = Geometry::Placed);
  // A text of several lines; CR LF line ends show as one line break.
  void Bind(QPlainTextEdit* widget, controls::TextBox& control, Geometry g = Geometry::Placed);
  // A check box drawn as a button (a push button, or a tool button with a picture): pressed in
  // while ticked.
  void BindToggle(QAbstractButton* widget, controls::CheckBox& control, Geometry g = Geometry::Placed);
  // A folder tree of the whole file system, opened at the control's folder.
  void Bind(QTreeView* widget, controls::FolderList& control, Geometry g = Geometry::Placed);
  void Bind(QAction* action, controls::MenuItem& control);
  void Bind(QTreeWidget* widget, controls::TreeView& control, Geometry g = Geometry::Placed);
  // Builds a menu bar from menus and binds every item; a hidden menu stays out of the bar.
  void BindMenuBar(QMenuBar* bar, const std::vector<controls::MenuItem*>& menus);
  // Builds a menu (for a pop-up) from a menu item's items and binds them.
  QMenu* BuildMenu(QWidget* parent, controls::MenuItem& menu);

  // Where pictures named by file name (button pictures, tree pictures) are found.
  void SetPictureFolder(std::string folder) { pictureFolder_ = std::move(folder); }
  const std::string& PictureFolder() const { return pictureFolder_; }
  // The widget's pages are the view's; the control gives their captions and the page in front.
  void Bind(QTabWidget* widget, controls::TabStrip& control, Geometry g = Geometry::Placed);
  // The program-wide mouse pointer: the busy pointer shows over every window.
  void Bind(controls::Screen& screen);

 private:
  // Enabled, visible, tool tip and (when placed) position and size.
  void BindCommon(QWidget* widget, controls::Control& control, Geometry g);
  void Keep(controls::Connection c) { connections_.push_back(std::move(c)); }
  std::string PicturePath(const std::string& name) const;
  static void Name(QWidget* widget, const std::string& name);

  std::vector<controls::Connection> connections_;
  std::string pictureFolder_ = ".";
};

}  // namespace korvalin
