#include "app/view/Form1View.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QTest>

#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

TEST(Form1View, ShowsTheMainWindowAndFollowsItsForm) {
  test::QtApp();
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  form.window.SetVisible(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  EXPECT_EQ(view.windowTitle(), "Korvalin V 2.1");

  auto* strip = view.findChild<QFrame*>("Picture5");
  ASSERT_NE(strip, nullptr);
  auto labels = strip->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels[0]->text(), "Next Action: Make a selection");

  // A new window size reaches the form as twips, and the form's layout reaches the widgets.
  view.resize(700, 500);
  QCoreApplication::processEvents();
  const QWidget* surface = view.centralWidget();
  EXPECT_EQ(form.window.ScaleWidth(), surface->width() * 15);
  auto* tree = view.findChild<QFrame*>("Picture7");
  EXPECT_EQ(tree->width(), surface->width() - form.Picture8.Width() / 15 - 3);  // 50 twips round to 3 px
  EXPECT_EQ(tree->y(), (form.Picture3.Height() + form.Picture5.Height()) / 15);

  form.window.SetCaption("Progress 07.50 %");
  EXPECT_EQ(view.windowTitle(), "Progress 07.50 %");
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(Form1View, ALeftDragOnTheSurfaceMovesTheWindowAndOtherPressesDoNot) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  form.window.SetVisible(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.move(100, 100);
  QWidget* surface = view.centralWidget();
  const QRect options = view.findChild<QFrame*>("Picture8")->geometry();
  const QPoint bare(options.left() - 1, options.top() + 10);  // the gap beside the options panel
  ASSERT_EQ(surface->childAt(bare), nullptr);

  QTest::mousePress(surface, Qt::RightButton, {}, bare);
  QTest::mouseMove(surface, bare + QPoint(40, 30));
  QTest::mouseRelease(surface, Qt::RightButton, {}, bare + QPoint(40, 30));
  EXPECT_EQ(view.pos(), QPoint(100, 100));

  // On a control the control gets the press: the window stays.
  auto dragFrom = [&](QWidget* w, QPoint at) {
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(40, 30)), QPointF(w->mapToGlobal(at + QPoint(40, 30))),
                     Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at + QPoint(40, 30));
  };
  dragFrom(view.findChild<QFrame*>("Picture5"), QPoint(5, 5));
  EXPECT_EQ(view.pos(), QPoint(100, 100));

  // Offscreen there is no window manager to move the window: it follows the pointer itself.
  dragFrom(surface, bare);
  EXPECT_NE(view.pos(), QPoint(100, 100));
}

TEST(Form1, OnlyTheLeftButtonStartsADrag) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  int moves = 0;
  auto c = form.window.SystemMoveRequested.Connect([&] { ++moves; });
  form.window.OnMouseDown(2, 0, 100, 100);
  form.window.OnMouseDown(4, 0, 100, 100);
  EXPECT_EQ(moves, 0);
  form.window.OnMouseDown(1, 0, 100, 100);
  EXPECT_EQ(moves, 1);
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(Form1View, TheHelpMenuShowsTheAboutBoxThroughItsOwnView) {
  test::QtApp();
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  QAction* about = nullptr;
  for (QAction* menu : view.menuBar()->actions()) {
    if (menu->text() != "Help") continue;
    for (QAction* item : menu->menu()->actions()) {
      if (item->text() == "About Korvalin") about = item;
    }
  }
  ASSERT_NE(about, nullptr);
  about->trigger();
  QWidget* box = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "frmAbout") box = w;
  }
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
  EXPECT_EQ(box->windowTitle(), "About Korvalin");
  EXPECT_EQ(box->findChild<QLabel*>("lblProgram")->text(), "Korvalin V " KORVALIN_VERSION);
  EXPECT_GE(box->findChild<QListWidget*>("lstLibraries")->count(), 5);
  box->close();  // the title bar's close unloads the form
  EXPECT_FALSE(form.windows.about.window.Visible());
  EXPECT_FALSE(form.windows.about.window.Loaded());
}

TEST(Form1View, ShowsTheLoadedCollectionAndClosesCleanly) {
  test::FakeServices fake;
  fake.media.trackMs = {61000, 5000};
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  form.Form_Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  auto* tree = view.findChild<QTreeWidget*>("TreeView1");
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  ASSERT_EQ(root->childCount(), 6);
  EXPECT_EQ(root->child(1)->text(0), "Available Tracks");
  ASSERT_EQ(root->child(1)->childCount(), 2);
  EXPECT_EQ(root->child(1)->child(0)->text(0), "Track  1 - 01:01");
  EXPECT_EQ(root->child(5)->text(0), "MP3 Files");
  EXPECT_EQ(view.menuBar()->actions().size(), 4);
  EXPECT_EQ(view.menuBar()->actions()[1]->text(), "Action");

  // A node the user picks becomes the tree's selected node.
  tree->setCurrentItem(root->child(3));
  ASSERT_NE(test::Inside(form.collection).TreeView1.SelectedItem(), nullptr);
  EXPECT_EQ(test::Inside(form.collection).TreeView1.SelectedItem()->Text(), "WAV Files");

  // Hiding the toolbar through its menu moves the tree area up.
  const int treeTop = view.findChild<QFrame*>("Picture7")->y();
  form.mnuToolbar.Click();
  EXPECT_LT(view.findChild<QFrame*>("Picture7")->y(), treeTop);

  view.close();
  EXPECT_TRUE(form.Unloaded());
  EXPECT_EQ(fake.exceptionFilter.installed, nullptr);
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

// Where a widget lies on the window's surface.
QRect OnSurface(const QWidget* w, const QWidget* surface) {
  return QRect(w->mapTo(surface, QPoint(0, 0)), w->size());
}

TEST(Form1View, InEveryBarCombinationAndSizeTheJobButtonsAndCaptionsShowWhole) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  form.Form_Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QWidget* surface = view.centralWidget();
  const QSize designSize = view.size();
  for (const QSize size : {designSize, QSize(1280, 900)}) {
    view.resize(size);
    for (bool toolbar : {true, false}) {
      for (bool cdBar : {true, false}) {
        SCOPED_TRACE(QString("%1x%2%3%4").arg(size.width()).arg(size.height()).arg(toolbar ? " toolbar" : "")
                         .arg(cdBar ? " CD bar" : "").toStdString());
        if (form.mnuToolbar.Checked() != toolbar) form.mnuToolbar.Click();
        if (form.mnuCDbar.Checked() != cdBar) form.mnuCDbar.Click();
        QCoreApplication::processEvents();
        const QRect panel = OnSurface(view.findChild<QFrame*>("Picture8"), surface);
        for (const char* name : {"cmdStart", "cmdEncFile", "CmdDecoder", "Command8"}) {
          const QRect button = OnSurface(view.findChild<QPushButton*>(name), surface);
          EXPECT_FALSE(button.intersects(panel)) << name;
          EXPECT_TRUE(surface->rect().contains(button)) << name;
        }
        for (const char* bar : {"Picture3", "Picture4", "Picture2", "Picture1"}) {
          const auto* frame = view.findChild<QFrame*>(bar);
          if (frame->isVisible()) {
            EXPECT_FALSE(OnSurface(frame, surface).intersects(panel)) << bar;
          }
        }
        // The list at the panel's foot stays inside it.
        EXPECT_TRUE(panel.contains(OnSurface(view.findChild<QListWidget*>("lstRecord"), surface)));
      }
    }
  }
  // "All Tracks" and "Select Tracks" fit their box.
  auto* allTracks = view.findChild<QCheckBox*>("Check3");
  for (const char* caption : {"All Tracks", "Select Tracks"}) {
    form.cdBar.Check3.SetCaption(caption);
    EXPECT_GE(allTracks->width(), allTracks->sizeHint().width()) << caption;
  }
}

TEST(Form1View, TheLowSpaceWarningIsARedLabelOnTheToolbarShownOnlyWhenTheFormShowsIt) {
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  form.window.SetVisible(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  auto* label = view.findChild<QFrame*>("Picture3")->findChild<QLabel*>("Label5");
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->isVisible());
  form.toolbar.Label5.SetVisible(true);
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), "Low Drive space");
  label->ensurePolished();
  EXPECT_EQ(label->palette().color(label->foregroundRole()), QColor(Qt::red));
}

}  // namespace
}  // namespace korvalin
