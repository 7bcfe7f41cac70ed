// The program's other windows stay where the user is: their message boxes belong to them, not to
// the main window, and a toolbar button brings an open window back to the front. Offscreen has
// no window manager, so stacking is checked through the owner each box is given and the active
// window.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/view/Form1View.h"
#include "platform/qt/QtDialogs.h"
#include "tests/support/AudioTools.h"
#include "tests/support/FakeServices.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

// What was on screen while a message box was open.
struct SeenBox {
  QWidget* owner = nullptr;
  QString text;
  bool ownerVisible = false;
  QString currentFile;
};

class WindowsInFront : public ::testing::Test {
 protected:
  WindowsInFront() {
    test::QtApp();
    // An earlier test that closed a main window outside the application's event loop leaves
    // its quit standing, and every message box's own loop would end at once: one turn of the
    // application's loop clears it.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    dialogs.SetParent(&view);
    fake.media.trackMs = {2000, 1500};  // a disc in the drive: the load asks nothing
    form.Form_Load();
  }
  // Answers the next message box with its last button (No, Cancel), noting what it showed.
  void AnswerNextBox(SeenBox& seen, QWidget* editor) {
    auto* poll = new QTimer(editor);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, editor] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen.owner = box->parentWidget();
      seen.text = box->text();
      seen.ownerVisible = editor->isVisible();
      seen.currentFile = editor->findChild<QLineEdit*>("Text5")->text();
      box->reject();
      poll->deleteLater();
    });
    poll->start(10);
  }
  void Press(const char* button) { QTest::mouseClick(view.findChild<QToolButton*>(button), Qt::LeftButton); }

  test::FakeServices fake;
  QtDialogs dialogs;
  Services services = fake.With({.dialogs = &dialogs});
  ProgramJobs formJobs{services};
  Form1 form{services, formJobs};
  Form1View view{form};
};

TEST_F(WindowsInFront, APlaylistEditorMessageBoxBelongsToTheEditorAndItsButtonBringsItBack) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  Press("C5555555");
  QWidget* editor = view.PlaylistEditorView();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
  QTRY_COMPARE(QApplication::activeWindow(), editor);

  test::TempDir dir;
  const std::string song = dir / "song.mp3";
  test::WriteFile(song, std::string(4096, 'x'));
  auto* current = editor->findChild<QLineEdit*>("Text5");
  QTest::keyClicks(current, QString::fromStdString(song));
  SeenBox seen;
  AnswerNextBox(seen, editor);
  QTest::mouseClick(editor->findChild<QPushButton*>("Command10"), Qt::LeftButton);
  EXPECT_EQ(seen.owner, editor);
  EXPECT_EQ(seen.text, "Are you sure you want to delete this file?");
  EXPECT_TRUE(seen.ownerVisible);
  EXPECT_EQ(seen.currentFile, QString::fromStdString(song));  // the file the question is about
  EXPECT_TRUE(test::Exists(song));

  // The main window comes up over the editor; the editor's button brings it back to the front.
  view.activateWindow();
  QTRY_COMPARE(QApplication::activeWindow(), &view);
  Press("C5555555");
  QTRY_COMPARE(QApplication::activeWindow(), editor);
  EXPECT_EQ(current->text(), QString::fromStdString(song));  // shown again, not loaded afresh

}

TEST_F(WindowsInFront, TheFinderAndPreferencesButtonsBringTheirOpenWindowsToTheFront) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  for (const char* button : {"C777", "Copt"}) {
    SCOPED_TRACE(button);
    Press(button);
    QWidget* window = std::string(button) == "C777" ? static_cast<QWidget*>(view.FinderView()) : view.PrefsView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTRY_COMPARE(QApplication::activeWindow(), window);
    EXPECT_EQ(dialogs.Owner(), window);
    view.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &view);
    Press(button);
    QTRY_COMPARE(QApplication::activeWindow(), window);
  }
}

}  // namespace
}  // namespace korvalin
