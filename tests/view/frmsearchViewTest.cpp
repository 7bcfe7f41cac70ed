#include "finder/view/frmsearchView.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "tests/support/FileTree.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

QStringList Texts(const QListWidget* w) {
  QStringList out;
  for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
  return out;
}

class FinderViewTest : public ::testing::Test {
 protected:
  QApplication& app = test::QtApp();
  test::ScriptedEventLoop loop;
  test::ScriptedDialogs dialogs;
  controls::Screen screen;
  frmsearch form{loop, dialogs, screen};
  frmsearchView view{form};

  template <typename W>
  W* Child(const char* name) {
    auto* w = view.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
};

TEST_F(FinderViewTest, ASearchTypedAndClickedThroughTheWidgets) {
  test::TempDir dir;
  test::MakeTree(dir.Path(), {"one.wav", "Sub/Two.WAV", "three.mp3"});
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  EXPECT_EQ(view.windowTitle(), "File Finder");
  auto* tabs = Child<QTabWidget>("SSTab1");
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), "Local Search ");
  EXPECT_EQ(tabs->tabText(1), "Internet Search");

  auto* folder = Child<QLineEdit>("Dir1");
  folder->selectAll();
  QTest::keyClicks(folder, QString::fromStdString(dir.Path()));
  EXPECT_EQ(form.Dir1.Text(), dir.Path());

  auto* type = Child<QLineEdit>("zFileExt");
  EXPECT_TRUE(type->font().bold());
  EXPECT_EQ(type->maxLength(), 4);
  type->selectAll();
  QTest::keyClicks(type, "WAV");
  EXPECT_EQ(type->text(), "wav");  // lower-cased as typed

  auto* search = Child<QPushButton>("Command1");
  EXPECT_EQ(search->text(), "Search !");
  QTest::mouseClick(search, Qt::LeftButton);
  EXPECT_EQ(type->text(), ".wav");
  const QString root = QString::fromStdString(dir.Path());
  EXPECT_EQ(Texts(Child<QListWidget>("lstfiles")), (QStringList{root + "/one.wav", root + "/Sub/Two.WAV"}));
  EXPECT_EQ(Texts(Child<QListWidget>("List1")), (QStringList{root + "/", root + "/Sub/"}));
  EXPECT_EQ(Child<QListWidget>("lstdirs")->count(), 0);
  EXPECT_EQ(Child<QLabel>("Label1")->text(), "Directories: 2   Files:  2");
  EXPECT_TRUE(Child<QLabel>("lbltime")->text().startsWith("Time taken: "));
  EXPECT_EQ(search->text(), "Search !");
}

TEST_F(FinderViewTest, StopClickedDuringTheSearchAndCloseHidesTheWindow) {
  test::TempDir dir;
  test::MakeTree(dir.Path(), {"a.wav", "B/b.wav", "c.wav"});
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  form.Dir1.SetText(dir.Path());
  auto* search = Child<QPushButton>("Command1");
  QString during;
  loop.AtYield(1, [&] {
    during = search->text();
    QTest::mouseClick(search, Qt::LeftButton);  // "Stop!"
  });
  QTest::mouseClick(search, Qt::LeftButton);
  EXPECT_EQ(during, "Stop!");
  EXPECT_EQ(Child<QListWidget>("lstfiles")->count(), 2);  // B was never read
  QTest::mouseClick(Child<QPushButton>("cmdend"), Qt::LeftButton);
  EXPECT_FALSE(view.isVisible());
  EXPECT_FALSE(form.window.Loaded());
}

TEST_F(FinderViewTest, TheTabStripFollowsTheUserAndTheProgram) {
  form.Show();
  auto* tabs = Child<QTabWidget>("SSTab1");
  int clicks = 0;
  form.SSTab1.OnClick = [&] { ++clicks; };
  tabs->setCurrentIndex(1);  // as a user's click on the tab
  EXPECT_EQ(form.SSTab1.Tab(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(tabs->currentWidget(), view.InternetPage());
  form.SSTab1.SetTab(0);
  EXPECT_EQ(tabs->currentIndex(), 0);
  form.SSTab1.SetTabCaption(1, "Web");
  EXPECT_EQ(tabs->tabText(1), "Web");
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace korvalin
