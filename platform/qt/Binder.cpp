#include "platform/qt/Binder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QWindow>
#include <QTabWidget>

#include <QMenu>
#include <QMenuBar>
#include <QTreeView>
#include <QTreeWidget>

#include "common/RaisedError.h"
#include "platform/qt/Safely.h"
#include "platform/qt/TreeBinding.h"

namespace korvalin {
namespace {

using controls::Change;
using controls::Property;

QString Q(const std::string& s) { return QString::fromStdString(s); }


// The program's numbers for a press: button 1 left, 2 right, 4 middle; shift 1, control 2, alt 4.
int16_t ButtonOf(const QMouseEvent* e) {
  return e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : e->button() == Qt::MiddleButton ? 4 : 0;
}

int16_t ShiftOf(const QMouseEvent* e) {
  return static_cast<int16_t>((e->modifiers() & Qt::ShiftModifier ? 1 : 0) | (e->modifiers() & Qt::ControlModifier ? 2 : 0) |
                              (e->modifiers() & Qt::AltModifier ? 4 : 0));
}

// Reports the surface's size to the window control and runs the window's resize handler; passes
// presses on the surface itself (not on a control) to the window's mouse-down handler.
class SurfaceWatcher : public QObject {
 public:
  SurfaceWatcher(QObject* parent, controls::Window& window) : QObject(parent), window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) {
      const auto* e = static_cast<QResizeEvent*>(event);
      window_.SetScaleSize(TwipsFromPixels(e->size().width()), TwipsFromPixels(e->size().height()));
      Safely([&] { controls::Fire(window_.OnResize); });
    } else if (event->type() == QEvent::MouseButtonPress && watched == parent() && window_.OnMouseDown) {
      const auto* e = static_cast<QMouseEvent*>(event);
      // A press a control ignored reaches the surface too; only a press on the bare surface counts.
      if (static_cast<QWidget*>(watched)->childAt(e->position().toPoint()) != nullptr) return false;
      const int16_t button = ButtonOf(e);
      const int16_t shift = ShiftOf(e);
      const QPoint at = e->position().toPoint();
      Safely([&] { window_.OnMouseDown(button, shift, TwipsFromPixels(at.x()), TwipsFromPixels(at.y())); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  controls::Window& window_;
};

// Asks the form before its window closes from outside: its QueryUnload handler may cancel the
// close, its Unload handler runs when the close goes ahead. A close the form requested itself
// (it has unloaded already) passes straight through.
class CloseWatcher : public QObject {
 public:
  CloseWatcher(QWidget* window, controls::Window& control) : QObject(window), control_(control) {}
  void CloseOnRequest() {
    requested_ = true;
    static_cast<QWidget*>(parent())->close();
    requested_ = false;
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != parent() || event->type() != QEvent::Close || requested_) return false;
    bool cancel = false;
    Safely([&] {
      if (control_.OnQueryUnload) control_.OnQueryUnload(cancel);
    });
    if (cancel) {
      event->ignore();
      return true;
    }
    Safely([&] { controls::Fire(control_.OnUnload); });
    return false;
  }

 private:
  controls::Window& control_;
  bool requested_ = false;
};

// Runs the window's activate handler each time it becomes the program's active window: when it
// is shown, and when the user comes to it from another window of the program. Coming back from
// another program, a message box or a pop-up menu is no activation.
class ActivationWatcher : public QObject {
 public:
  ActivationWatcher(QWidget* window, controls::Window& control) : QObject(window), window_(window), control_(control) {
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) { FocusMovedTo(w); });
    window->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) Activate();
    if (event->type() == QEvent::Hide) active_ = false;
    return false;
  }

 private:
  void FocusMovedTo(QWindow* w) {
    if (w == nullptr) return;  // another program has the focus
    if (w == window_->windowHandle()) {
      Activate();
    } else if (w->type() == Qt::Window) {
      active_ = false;  // another main window of the program
    }
  }
  void Activate() {
    if (active_) return;
    active_ = true;
    Safely([&] { controls::Fire(control_.OnActivate); });
  }

  QWidget* window_;
  controls::Window& control_;
  bool active_ = false;
};

// Passes mouse presses on a list to its control. A right press leaves the selection alone, so a
// command of a pop-up menu acts on the entry the user had selected; other presses select first,
// as the list does, and reach the control after.
class ListPressWatcher : public QObject {
 public:
  ListPressWatcher(QListWidget* list, controls::ListBox& control) : QObject(list), list_(list), control_(control) {
    list->viewport()->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress) return false;
    const auto* e = static_cast<QMouseEvent*>(event);
    const int16_t button = ButtonOf(e), shift = ShiftOf(e);
    const QPoint at = e->position().toPoint();
    const int32_t x = TwipsFromPixels(at.x()), y = TwipsFromPixels(at.y());
    if (e->button() == Qt::RightButton) {
      Safely([&] { control_.MouseDown(button, shift, x, y); });
      return true;
    }
    QMetaObject::invokeMethod(
        list_, [this, button, shift, x, y] { Safely([&] { control_.MouseDown(button, shift, x, y); }); },
        Qt::QueuedConnection);
    return false;
  }

 private:
  QListWidget* list_;
  controls::ListBox& control_;
};

// Keeps the window control's state in step when the user minimises or restores the window
// through the window manager, so that the program's next minimise is not taken for a repeat.
class WindowStateWatcher : public QObject {
 public:
  WindowStateWatcher(QWidget* window, controls::Window& control) : QObject(window), control_(control) {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange) {
      const Qt::WindowStates s = static_cast<QWidget*>(watched)->windowState();
      const auto state = s & Qt::WindowMinimized   ? controls::Window::State::Minimized
                         : s & Qt::WindowMaximized ? controls::Window::State::Maximized
                                                   : controls::Window::State::Normal;
      Safely([&] { control_.SetWindowState(state); });
    }
    return false;
  }

 private:
  controls::Window& control_;
};

// Where the window manager cannot move the window itself, the window follows the pointer until
// the button is released.
class PointerFollower : public QObject {
 public:
  explicit PointerFollower(QWidget* window)
      : QObject(window), window_(window), offset_(QCursor::pos() - window->frameGeometry().topLeft()) {
    qApp->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) {
      window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - offset_);
    } else if (event->type() == QEvent::MouseButtonRelease) {
      qApp->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  QWidget* window_;
  QPoint offset_;
};

void StartMove(QWidget* window) {
  QWindow* handle = window->windowHandle();
  if (handle && handle->startSystemMove()) return;
  new PointerFollower(window);
}

Qt::CheckState CheckStateOf(int16_t value) {
  return value == controls::CheckBox::Checked  ? Qt::Checked
         : value == controls::CheckBox::Grayed ? Qt::PartiallyChecked
                                               : Qt::Unchecked;
}

int16_t ValueOf(Qt::CheckState state) {
  return state == Qt::Checked            ? controls::CheckBox::Checked
         : state == Qt::PartiallyChecked ? controls::CheckBox::Grayed
                                         : controls::CheckBox::Unchecked;
}

template <typename Widget>
void SyncItems(Widget* w, const controls::ItemList& list) {
  const QSignalBlocker block(w);
  w->clear();
  for (const auto& item : list.Items()) w->addItem(Q(item));
  if constexpr (std::is_same_v<Widget, QListWidget>) {
    w->setCurrentRow(list.ListIndex());
  } else {
    w->setCurrentIndex(list.ListIndex());
  }
}

// Passes a key released in a text box to the box's key-up handler.
class KeyUpWatcher : public QObject {
 public:
  KeyUpWatcher(QObject* parent, controls::TextBox& box) : QObject(parent), box_(box) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
      const auto* e = static_cast<QKeyEvent*>(event);
      const int16_t shift = static_cast<int16_t>((e->modifiers() & Qt::ShiftModifier ? 1 : 0) |
                                                 (e->modifiers() & Qt::ControlModifier ? 2 : 0) |
                                                 (e->modifiers() & Qt::AltModifier ? 4 : 0));
      Safely([&] { box_.KeyUp(static_cast<int16_t>(e->key() & 0x7fff), shift); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  controls::TextBox& box_;
};

}  // namespace

int PixelsFromTwips(int32_t twips) { return static_cast<int>((twips + controls::TwipsPerPixel / 2) / controls::TwipsPerPixel); }
int32_t TwipsFromPixels(int pixels) { return static_cast<int32_t>(pixels) * controls::TwipsPerPixel; }

void Binder::BindCommon(QWidget* w, controls::Control& c, Geometry g) {
  auto apply = [w, &c, g](Property p) {
    switch (p) {
      case Property::Enabled: w->setEnabled(c.Enabled()); break;
      case Property::Visible: w->setVisible(c.Visible()); break;
      case Property::ToolTip: w->setToolTip(Q(c.ToolTipText())); break;
      case Property::Geometry:
        if (g == Geometry::Placed) {
          w->setGeometry(PixelsFromTwips(c.Left()), PixelsFromTwips(c.Top()), PixelsFromTwips(c.Width()),
                         PixelsFromTwips(c.Height()));
        }
        break;
      default: break;
    }
  };
  for (Property p : {Property::Enabled, Property::Visible, Property::ToolTip, Property::Geometry}) apply(p);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
}

void Binder::Bind(QWidget* window, QWidget* surface, controls::Window& c) {
  auto apply = [window, &c](Property p) {
    switch (p) {
      case Property::Caption: window->setWindowTitle(Q(c.Caption())); break;
      case Property::Visible: window->setVisible(c.Visible()); break;
      case Property::Enabled: window->setEnabled(c.Enabled()); break;
      case Property::MousePointer:
        if (c.MousePointer() == controls::MousePointer::Hourglass) {
          window->setCursor(Qt::WaitCursor);
        } else {
          window->unsetCursor();
        }
        break;
      case Property::WindowState:
        window->setWindowState(c.WindowState() == controls::Window::State::Minimized   ? Qt::WindowMinimized
                               : c.WindowState() == controls::Window::State::Maximized ? Qt::WindowMaximized
                                                                                       : Qt::WindowNoState);
        break;
      case Property::Geometry:
        window->move(PixelsFromTwips(c.Left()), PixelsFromTwips(c.Top()));
        break;
      default: break;
    }
  };
  window->resize(PixelsFromTwips(c.Width()), PixelsFromTwips(c.Height()));
  for (Property p : {Property::Caption, Property::Enabled, Property::MousePointer, Property::Geometry}) apply(p);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  Keep(c.SystemMoveRequested.Connect([window] { StartMove(window); }));
  Keep(c.ActivateRequested.Connect([window] {
    if (!window->isVisible()) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
  }));
  auto* closeWatcher = new CloseWatcher(window, c);
  window->installEventFilter(closeWatcher);
  Keep(c.CloseRequested.Connect([closeWatcher] { closeWatcher->CloseOnRequest(); }));
  surface->installEventFilter(new SurfaceWatcher(surface, c));
  new ActivationWatcher(window, c);
  new WindowStateWatcher(window, c);
  // Shown last, once the widgets have their state.
  if (c.Visible()) window->show();
}

void Binder::Name(QWidget* widget, const std::string& name) { widget->setObjectName(Q(name)); }

void Binder::Bind(QWidget* w, controls::PictureBox& c, Geometry g) { BindCommon(w, c, g); }

void Binder::Bind(QLabel* w, controls::Label& c, Geometry g) {
  BindCommon(w, c, g);
  w->setTextFormat(Qt::PlainText);
  w->setText(Q(c.Caption()));
  Keep(c.Changed.Connect([w, &c](Change ch) {
    if (ch.what == Property::Caption) w->setText(Q(c.Caption()));
  }));
}

void Binder::Bind(QAbstractButton* w, controls::CommandButton& c, Geometry g) {
  BindCommon(w, c, g);
  auto apply = [this, w, &c](Property p) {
    if (p == Property::Caption) w->setText(Q(c.Caption()));
    if (p == Property::Picture) w->setIcon(c.Picture().empty() ? QIcon() : QIcon(Q(PicturePath(c.Picture()))));
  };
  apply(Property::Caption);
  apply(Property::Picture);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  QObject::connect(w, &QAbstractButton::clicked, w, [&c] { Safely([&] { c.Click(); }); });
}

void Binder::Bind(QCheckBox* w, controls::CheckBox& c, Geometry g) {
  BindCommon(w, c, g);
  auto apply = [w, &c](Property p) {
    const QSignalBlocker block(w);
    if (p == Property::Caption) w->setText(Q(c.Caption()));
    if (p == Property::Value) w->setCheckState(CheckStateOf(c.Value()));
  };
  apply(Property::Caption);
  apply(Property::Value);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  QObject::connect(w, &QCheckBox::clicked, w, [w, &c] { Safely([&] { c.SetValue(ValueOf(w->checkState())); }); });
}

void Binder::Bind(QRadioButton* w, controls::OptionButton& c, Geometry g) {
  BindCommon(w, c, g);
  auto apply = [w, &c](Property p) {
    const QSignalBlocker block(w);
    if (p == Property::Caption) w->setText(Q(c.Caption()));
    if (p == Property::Value) w->setChecked(c.Value());
  };
  apply(Property::Caption);
  apply(Property::Value);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  QObject::connect(w, &QRadioButton::toggled, w, [&c](bool on) {
    if (on) Safely([&] { c.SetValue(true); });
  });
}

void Binder::Bind(QListWidget* w, controls::ListBox& c, Geometry g) {
  BindCommon(w, c, g);
  SyncItems(w, c);
  Keep(c.Changed.Connect([w, &c](Change ch) {
    const QSignalBlocker block(w);
    switch (ch.what) {
      case Property::ItemInserted: w->insertItem(ch.index, Q(c.List(ch.index))); break;
      case Property::ItemRemoved: delete w->takeItem(ch.index); break;
      case Property::ItemChanged: w->item(ch.index)->setText(Q(c.List(ch.index))); break;
      case Property::Items: SyncItems(w, c); break;
      case Property::ListIndex: w->setCurrentRow(c.ListIndex()); break;
      default: break;
    }
  }));
  QObject::connect(w, &QListWidget::currentRowChanged, w, [&c](int row) { Safely([&] { c.SetListIndex(row); }); });
  QObject::connect(w, &QListWidget::itemDoubleClicked, w, [&c] { Safely([&] { c.DblClick(); }); });
  new ListPressWatcher(w, c);
}

void Binder::Bind(QComboBox* w, controls::ComboBox& c, Geometry g) {
  BindCommon(w, c, g);
  w->setEditable(c.GetStyle() == controls::ComboBox::Style::Editable);
  if (w->isEditable()) {
    // The box holds what was typed: no inline completion to an entry, and Enter adds no entry
    // (the control owns the list).
    w->setCompleter(nullptr);
    w->setInsertPolicy(QComboBox::NoInsert);
  }
  SyncItems(w, c);
  if (w->isEditable()) w->setEditText(Q(c.Text()));
  Keep(c.Changed.Connect([w, &c](Change ch) {
    const QSignalBlocker block(w);
    switch (ch.what) {
      case Property::ItemInserted: w->insertItem(ch.index, Q(c.List(ch.index))); break;
      case Property::ItemRemoved: w->removeItem(ch.index); break;
      case Property::ItemChanged: w->setItemText(ch.index, Q(c.List(ch.index))); break;
      case Property::Items: SyncItems(w, c); break;
      case Property::ListIndex: w->setCurrentIndex(c.ListIndex()); break;
      case Property::Text:
        if (w->isEditable() && w->currentText() != Q(c.Text())) w->setEditText(Q(c.Text()));
        break;
      default: break;
    }
    // Qt chooses the first entry of an empty box by itself when one is added, and keeps the
    // typed text of an editable box only while nothing is chosen: the box shows what its
    // control holds.
    if (w->currentIndex() != c.ListIndex()) w->setCurrentIndex(c.ListIndex());
    if (w->isEditable() && w->currentText() != Q(c.Text())) w->setEditText(Q(c.Text()));
  }));
  QObject::connect(w, QOverload<int>::of(&QComboBox::activated), w,
                   [&c](int index) { Safely([&] { c.SetListIndex(index); }); });
  if (w->isEditable()) {
    QObject::connect(w, &QComboBox::editTextChanged, w,
                     [&c](const QString& text) { Safely([&] { c.SetText(text.toStdString()); }); });
  }
}

void Binder::Bind(QProgressBar* w, controls::ProgressBar& c, Geometry g) {
  BindCommon(w, c, g);
  w->setRange(c.Min(), c.Max());
  w->setValue(c.Value());
  Keep(c.Changed.Connect([w, &c](Change ch) {
    if (ch.what == Property::Value) w->setValue(c.Value());
  }));
}

void Binder::Bind(QLineEdit* w, controls::TextBox& c, Geometry g) {
  BindCommon(w, c, g);
  auto apply = [w, &c](Property p) {
    const QSignalBlocker block(w);
    if (p == Property::Text && w->text() != Q(c.Text())) w->setText(Q(c.Text()));
    if (p == Property::MaxLength) w->setMaxLength(c.MaxLength() > 0 ? c.MaxLength() : 32767);
  };
  apply(Property::MaxLength);
  apply(Property::Text);
  if (c.Bold()) {
    QFont font = w->font();
    font.setBold(true);
    w->setFont(font);
  }
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  QObject::connect(w, &QLineEdit::textEdited, w,
                   [&c](const QString& text) { Safely([&] { c.SetText(text.toStdString()); }); });
  w->installEventFilter(new KeyUpWatcher(w, c));
  // Enter reaches the box's key handler as character 13; other keys stay with the line editor.
  QObject::connect(w, &QLineEdit::returnPressed, w, [&c] {
    int16_t key = 13;
    Safely([&] { c.KeyPress(key); });
  });
}

void Binder::Bind(QPlainTextEdit* w, controls::TextBox& c, Geometry g) {
  BindCommon(w, c, g);
  auto apply = [w, &c] {
    const QSignalBlocker block(w);
    QString text = Q(c.Text());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (w->toPlainText() != text) w->setPlainText(text);
  };
  apply();
  Keep(c.Changed.Connect([apply](Change ch) {
    if (ch.what == Property::Text) apply();
  }));
  QObject::connect(w, &QPlainTextEdit::textChanged, w,
                   [w, &c] { Safely([&] { c.SetText(w->toPlainText().toStdString()); }); });
}

void Binder::BindToggle(QAbstractButton* w, controls::CheckBox& c, Geometry g) {
  BindCommon(w, c, g);
  w->setCheckable(true);
  auto apply = [w, &c](Property p) {
    const QSignalBlocker block(w);
    if (p == Property::Caption) w->setText(Q(c.Caption()));
    if (p == Property::Value) w->setChecked(c.Value() == controls::CheckBox::Checked);
  };
  apply(Property::Caption);
  apply(Property::Value);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  QObject::connect(w, &QAbstractButton::clicked, w, [&c](bool down) {
    Safely([&] { c.SetValue(down ? controls::CheckBox::Checked : controls::CheckBox::Unchecked); });
  });
}

void Binder::Bind(QTreeView* w, controls::FolderList& c, Geometry g) {
  BindCommon(w, c, g);
  auto* model = new QFileSystemModel(w);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model->setRootPath(QStringLiteral("/"));
  w->setModel(model);
  w->setRootIndex(model->index(QStringLiteral("/")));
  w->setHeaderHidden(true);
  for (int column = 1; column < model->columnCount(); ++column) w->hideColumn(column);
  auto apply = [w, model, &c] {
    const QModelIndex at = model->index(Q(c.Path()));
    if (!at.isValid()) return;
    if (w->currentIndex() != at) {
      const QSignalBlocker block(w->selectionModel());
      w->setCurrentIndex(at);
    }
    w->scrollTo(at);
  };
  apply();
  // The model reads folders in the background: the control's folder can be shown once its
  // parents have been read.
  QObject::connect(model, &QFileSystemModel::directoryLoaded, w, [apply] { apply(); });
  Keep(c.Changed.Connect([apply](Change ch) {
    if (ch.what == Property::Text) apply();
  }));
  QObject::connect(w->selectionModel(), &QItemSelectionModel::currentChanged, w,
                   [model, &c](const QModelIndex& now) {
                     if (now.isValid()) Safely([&] { c.SetPath(model->filePath(now).toStdString()); });
                   });
}

void Binder::Bind(QAction* a, controls::MenuItem& c) {
  auto apply = [a, &c](Property p) {
    switch (p) {
      case Property::Caption:
        a->setSeparator(c.IsSeparator());
        a->setText(c.IsSeparator() ? QString() : Q(c.Caption()));  // a separator shows only its line
        break;
      case Property::Enabled: a->setEnabled(c.Enabled()); break;
      case Property::Visible: a->setVisible(c.Visible()); break;
      case Property::Checked:
        if (c.Checked()) a->setCheckable(true);
        a->setChecked(c.Checked());
        break;
      default: break;
    }
  };
  for (Property p : {Property::Caption, Property::Enabled, Property::Visible, Property::Checked}) apply(p);
  Keep(c.Changed.Connect([apply](Change ch) { apply(ch.what); }));
  QObject::connect(a, &QAction::triggered, a, [a, &c] {
    // Checking is the program's business: undo Qt's own toggle, then run the handler.
    if (a->isCheckable() && a->isChecked() != c.Checked()) a->setChecked(c.Checked());
    Safely([&] { c.Click(); });
  });
}

void Binder::Bind(QTabWidget* w, controls::TabStrip& c, Geometry g) {
  BindCommon(w, c, g);
  auto apply = [w, &c](Change ch) {
    const QSignalBlocker block(w);
    if (ch.what == Property::Caption) {
      for (int i = 0; i < w->count() && i < c.Tabs(); ++i) {
        if (ch.index < 0 || ch.index == i) w->setTabText(i, Q(c.TabCaption(i)));
      }
    }
    if (ch.what == Property::Value) w->setCurrentIndex(c.Tab());
  };
  apply(Change{Property::Caption});
  apply(Change{Property::Value});
  Keep(c.Changed.Connect(apply));
  QObject::connect(w, &QTabWidget::currentChanged, w, [&c](int index) {
    if (index >= 0 && index < c.Tabs()) Safely([&] { c.SetTab(index); });
  });
}

void Binder::Bind(controls::Screen& screen) {
  auto apply = [&screen] {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (screen.MousePointer() == controls::MousePointer::Hourglass) QApplication::setOverrideCursor(Qt::WaitCursor);
  };
  apply();
  Keep(screen.Changed.Connect([apply](Change ch) {
    if (ch.what == Property::MousePointer) apply();
  }));
}

std::string Binder::PicturePath(const std::string& name) const {
  return !name.empty() && name[0] == '/' ? name : pictureFolder_ + "/" + name;
}

void Binder::Bind(QTreeWidget* w, controls::TreeView& c, Geometry g) {
  BindCommon(w, c, g);
  new TreeBinding(w, c, pictureFolder_);
}

QMenu* Binder::BuildMenu(QWidget* parent, controls::MenuItem& menu) {
  auto* qmenu = new QMenu(Q(menu.Caption()), parent);
  for (controls::MenuItem* item : menu.Items()) {
    if (!item->Items().empty()) {
      QMenu* sub = BuildMenu(qmenu, *item);
      qmenu->addMenu(sub);
      Bind(sub->menuAction(), *item);
    } else {
      auto* action = new QAction(qmenu);
      qmenu->addAction(action);
      Bind(action, *item);
    }
  }
  return qmenu;
}

void Binder::BindMenuBar(QMenuBar* bar, const std::vector<controls::MenuItem*>& menus) {
  for (controls::MenuItem* menu : menus) {
    QMenu* qmenu = BuildMenu(bar, *menu);
    bar->addMenu(qmenu);
    Bind(qmenu->menuAction(), *menu);
  }
}

}  // namespace korvalin
