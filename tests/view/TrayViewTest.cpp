// The tray's pop-up menu through the real widgets, and the Qt notification area where there is no
// tray (offscreen).

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "app/view/Form1View.h"
#include "platform/qt/QtNotificationArea.h"
#include "tests/support/FakeServices.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

QAction* ActionNamed(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->text() == text) return a;
  }
  return nullptr;
}

TEST(TrayView, ARightClickOnTheIconOpensTheMenuAndRestoreBringsTheWindowBack) {
  test::QtApp();
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
  Form1View view{form};
  form.Form_Load();
  form.windows.tray.MinimizeCommand();
  ASSERT_FALSE(view.isVisible());

  QMenu* menu = view.TrayView()->PopupMenu();
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(texts, (QStringList{"Stop Conversion", "Restore Control panel", "-", "Shutdown program"}));
  EXPECT_FALSE(view.TrayView()->isVisible());

  fake.tray.Mouse(&form.windows.tray.trayForm.window, form.windows.tray.trayForm.Icon.handle, traymouse::LeftUp);
  EXPECT_FALSE(menu->isVisible());
  fake.tray.Mouse(&form.windows.tray.trayForm.window, form.windows.tray.trayForm.Icon.handle, traymouse::RightUp);
  EXPECT_TRUE(menu->isVisible());
  ActionNamed(menu, "Restore Control panel")->trigger();
  menu->hide();
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(fake.tray.Shown(), 0u);
}

TEST(TrayView, AWindowTheUserRestoresCanBeMinimisedAgain) {
  test::QtApp();
  QWidget window;
  controls::Window control{"Form1"};
  Binder binder;
  binder.Bind(&window, &window, control);
  window.show();
  control.SetWindowState(controls::Window::State::Minimized);
  EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
  window.setWindowState(Qt::WindowNoState);  // restored through the task bar
  EXPECT_EQ(control.WindowState(), controls::Window::State::Normal);
  control.SetWindowState(controls::Window::State::Minimized);
  EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
}

TEST(QtNotificationArea, WithoutATrayNothingIsAddedAndNothingIsLeftToChange) {
  test::QtApp();
  QtNotificationArea area(KORVALIN_SOURCE_DIR "/pictures");
  ASSERT_FALSE(area.Available());  // offscreen has no tray
  controls::Window owner{"frmpopup"};
  NotifyIconData record;
  record.hWnd = &owner;
  record.uID = 1;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.hIcon = "korvalin.svg";
  record.SetTip("Korvalin");
  EXPECT_FALSE(area.Shell_NotifyIcon(NotifyMessage::Add, record));
  EXPECT_EQ(area.IconOf(&owner, 1), nullptr);
  EXPECT_FALSE(area.Shell_NotifyIcon(NotifyMessage::Modify, record));
  EXPECT_FALSE(area.Shell_NotifyIcon(NotifyMessage::Delete, record));
}

}  // namespace
}  // namespace korvalin
