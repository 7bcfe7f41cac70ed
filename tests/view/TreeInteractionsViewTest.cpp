#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "app/view/Form1View.h"
#include "collection/TreeInteractions.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

using Texts = std::vector<std::string>;

// The main window on screen with the disc's three tracks and two WAV files in the destination
// folder (the program's folder), full paths shown.
class TreeOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.media.trackMs = {61000, 5000, 3000};
    test::MakeFile(fake.programFolder / "song.wav", 1000);
    test::MakeFile(fake.programFolder / "other.wav", 1000);
    fake.store.values[{kSettingsApplication, kSettingsSection, "DecodePath"}] = fake.programFolder.Path();
    view = std::make_unique<Form1View>(form);
    form.Form_Load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    tree = view->findChild<QTreeWidget*>("TreeView1");
    ASSERT_NE(tree, nullptr);
    tree->expandAll();
  }
  void TearDown() override {
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  }

  QTreeWidgetItem* Item(const std::string& text) {
    const auto found = tree->findItems(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found[0] : nullptr;
  }
  QPoint At(QTreeWidgetItem* item) {
    tree->scrollToItem(item);
    return tree->visualItemRect(item).center();
  }
  Texts ChildrenOf(const std::string& group) {
    Texts texts;
    QTreeWidgetItem* g = Item(group);
    for (int i = 0; g != nullptr && i < g->childCount(); ++i) texts.push_back(g->child(i)->text(0).toStdString());
    return texts;
  }
  void MoveWithLeftButton(QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(tree->viewport()->mapToGlobal(to)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(tree->viewport(), &move);
  }
  // The item editor open on the tree once the events waiting have run, if any. (An editor
  // commits on the next turn of the event loop, and a refused text reopens it on the turn after.)
  QLineEdit* Editor() {
    for (int turn = 0; turn < 3; ++turn) QCoreApplication::processEvents();
    for (QLineEdit* e : tree->viewport()->findChildren<QLineEdit*>()) {
      if (e->isVisible()) return e;
    }
    return nullptr;
  }

  QApplication& app = test::QtApp();
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
  TreeInteractions& interactions = form.treeInteractions;
  std::unique_ptr<Form1View> view;
  QTreeWidget* tree = nullptr;
  const std::string song = fake.programFolder / "song.wav";
};

TEST_F(TreeOnScreen, ADoubleClickMovesATrackToSelectedTracksAndBack) {
  QTreeWidgetItem* track = Item("Track  2 - 00:05");
  ASSERT_NE(track, nullptr);
  const QPoint at = At(track);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(form.displays.Label3.Caption(), "Next Action:  Process  Track  2 - 00:05");
  EXPECT_EQ(form.jobs.state.CurrentTrack, 2);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(track->parent(), Item("Selected Tracks"));
  EXPECT_EQ(form.collection.ChosenTracks(), Texts{"Track  2 - 00:05"});
  EXPECT_EQ(test::Inside(form.collection).lstTracks.Items(), (Texts{"Track  1 - 01:01", "Track  3 - 00:03"}));
  EXPECT_EQ(tree->currentItem(), track);  // still the selected node where it went

  const QPoint moved = At(track);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, moved);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, moved);
  EXPECT_EQ(ChildrenOf("Selected Tracks"), Texts{});
  EXPECT_EQ(ChildrenOf("Available Tracks"), (Texts{"Track  1 - 01:01", "Track  3 - 00:03", "Track  2 - 00:05"}));
  EXPECT_EQ(Editor(), nullptr);
}

TEST_F(TreeOnScreen, ThePlusSignOnlyFoldsTheGroup) {
  QTreeWidgetItem* tracks = Item("Available Tracks");
  const QRect row = tree->visualItemRect(tracks);
  const QPoint sign(row.left() - tree->indentation() / 2, row.center().y());
  const std::string next = form.displays.Label3.Caption();
  ASSERT_TRUE(tracks->isExpanded());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, sign);
  EXPECT_FALSE(tracks->isExpanded());
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, sign);
  EXPECT_EQ(form.displays.Label3.Caption(), next);
  EXPECT_EQ(test::Inside(form.collection).lstRecord.ListCount(), 0);  // a press on the group would list its tracks
  EXPECT_EQ(test::Inside(form.collection).TreeView1.SelectedItem(), nullptr);
  EXPECT_EQ(ChildrenOf("Available Tracks").size(), 3u);
}

TEST_F(TreeOnScreen, AWavFileDraggedOntoSelectedWavFilesMovesThereAtTheDrop) {
  QTreeWidgetItem* item = Item(song);
  QTreeWidgetItem* selected = Item("Selected WAV Files");
  ASSERT_NE(item, nullptr);
  const QPoint from = At(item);
  const QPoint to = At(selected);
  QWidget* viewport = tree->viewport();

  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  MoveWithLeftButton(from + QPoint(2, 1));  // a shaky press is no drag yet
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  MoveWithLeftButton(from + QPoint(0, 3 * QApplication::startDragDistance()));
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BitmapCursor);  // the drag picture
  MoveWithLeftButton(At(Item("MP3 Files")));  // no place for a WAV file
  EXPECT_EQ(Item("MP3 Files")->background(0).style(), Qt::NoBrush);
  MoveWithLeftButton(to);
  EXPECT_NE(selected->background(0).style(), Qt::NoBrush);  // drawn as the drop target
  EXPECT_EQ(item->parent(), Item("WAV Files"));  // nothing moves before the drop
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);

  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(item->parent(), selected);
  EXPECT_EQ(selected->background(0).style(), Qt::NoBrush);
  EXPECT_EQ(test::Inside(form.collection).List5.Items(), Texts{song});
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), Texts{fake.programFolder / "other.wav"});
  EXPECT_EQ(interactions.PressedNode, nullptr);

  // A group stays where it is.
  QTest::mousePress(viewport, Qt::LeftButton, {}, to);
  MoveWithLeftButton(At(Item("WAV Files")));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, At(Item("WAV Files")));
  EXPECT_EQ(selected->parent(), Item("CD Tracks, WAV, MP3 files"));
}

TEST_F(TreeOnScreen, ARightPressOpensThePopUpSetUpForTheNodeUnderThePointer) {
  QMenu* popup = view->PopupMenu();
  auto enabled = [&](const char* caption) {
    for (QAction* a : popup->actions()) {
      if (a->text() == caption) return a->isEnabled();
    }
    ADD_FAILURE() << caption;
    return false;
  };
  QTest::mousePress(tree->viewport(), Qt::RightButton, {}, At(Item(song)));
  ASSERT_TRUE(popup->isVisible());
  EXPECT_TRUE(enabled("Start!"));
  EXPECT_TRUE(enabled("Remove from List"));
  EXPECT_TRUE(enabled("Remove and Delete File"));
  popup->hide();

  const QPoint empty(5, tree->viewport()->height() - 5);
  ASSERT_EQ(tree->itemAt(empty), nullptr);
  QTest::mousePress(tree->viewport(), Qt::RightButton, {}, empty);
  ASSERT_TRUE(popup->isVisible());
  EXPECT_FALSE(enabled("Start!"));
  EXPECT_FALSE(enabled("Remove from List"));
  EXPECT_FALSE(enabled("Remove and Delete File"));
  popup->hide();
}

TEST_F(TreeOnScreen, TheLabelEditorRenamesTheFileOrOpensAgainWhenRefused) {
  QTreeWidgetItem* item = Item(song);
  tree->setCurrentItem(item);  // the user's choice reaches the tree control
  ASSERT_TRUE(test::Inside(form.collection).TreeView1.StartLabelEdit());
  QLineEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text().toStdString(), song);
  editor->setText("other.wav");  // in use
  QTest::keyClick(editor, Qt::Key_Return);
  editor = Editor();
  EXPECT_EQ(item->text(0).toStdString(), song);
  EXPECT_TRUE(test::Exists(song));
  ASSERT_NE(editor, nullptr);  // opened again
  editor->setText("renamed.wav");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(item->text(0), "renamed.wav");
  EXPECT_FALSE(test::Exists(song));
  EXPECT_TRUE(test::Exists(fake.programFolder / "renamed.wav"));
  EXPECT_EQ(test::Inside(form.collection).List1.List(0), fake.programFolder / "renamed.wav");

  // A track's label never opens.
  tree->setCurrentItem(Item("Track  1 - 01:01"));
  EXPECT_FALSE(test::Inside(form.collection).TreeView1.StartLabelEdit());
}

}  // namespace
}  // namespace korvalin
