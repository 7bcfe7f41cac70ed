#include "platform/qt/Binder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "platform/qt/QtDialogs.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

using namespace controls;

class BinderTest : public ::testing::Test {
 protected:
  QApplication& app = test::QtApp();  // before any widget
  QWidget parent;
  Binder binder;
};

TEST_F(BinderTest, LabelAndGeometryFollowTheControlInTwips) {
  Label label("Label33", "OFF");
  label.Move(150, 300, 1500, 240);
  auto* w = new QLabel(&parent);
  binder.Bind(w, label);
  EXPECT_EQ(w->text(), "OFF");
  EXPECT_EQ(w->geometry(), QRect(10, 20, 100, 16));
  label.SetCaption("07.50 %");
  label.SetVisible(false);
  EXPECT_EQ(w->text(), "07.50 %");
  EXPECT_TRUE(w->isHidden());
}

TEST_F(BinderTest, ListSelectionRunsTheClickAndControlChangesReachTheWidget) {
  ListBox list("lstTracks");
  list.AddItem("Track  1 - 3:12");
  auto* w = new QListWidget(&parent);
  binder.Bind(w, list);
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  list.AddItem("Track  2 - 4:01");
  list.AddItem("Track  0 - 0:00", 0);
  ASSERT_EQ(w->count(), 3);
  EXPECT_EQ(w->item(0)->text(), "Track  0 - 0:00");
  w->setCurrentRow(2);  // as a user's choice
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(clicks, 1);
  list.RemoveItem(0);
  EXPECT_EQ(w->count(), 2);
  EXPECT_EQ(w->currentRow(), 1);
  list.Clear();
  EXPECT_EQ(w->count(), 0);
  EXPECT_EQ(clicks, 1);  // the program's own changes run no click
}

TEST_F(BinderTest, CheckBoxClickedByTheUserSetsTheValueAndRunsTheHandler) {
  CheckBox box("Check1", "CRC");
  auto* w = new QCheckBox(&parent);
  binder.Bind(w, box);
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  EXPECT_EQ(w->text(), "CRC");
  w->click();
  EXPECT_EQ(box.Value(), CheckBox::Checked);
  EXPECT_EQ(clicks, 1);
  box.SetValue(CheckBox::Grayed);
  EXPECT_EQ(w->checkState(), Qt::PartiallyChecked);
}

TEST_F(BinderTest, ComboAndMenuItemRunTheirHandlers) {
  ComboBox combo("cmbBitrate");
  for (const char* t : {"32", "40", "48"}) combo.AddItem(t);
  auto* w = new QComboBox(&parent);
  binder.Bind(w, combo);
  int clicks = 0;
  combo.OnClick = [&] { ++clicks; };
  combo.SetListIndex(1);
  EXPECT_EQ(w->currentIndex(), 1);
  emit w->activated(2);
  EXPECT_EQ(combo.ListIndex(), 2);
  EXPECT_EQ(clicks, 2);

  MenuItem item("mnuToolBar", "ToolBar");
  item.SetChecked(true);
  QAction action;
  binder.Bind(&action, item);
  int menuClicks = 0;
  item.OnClick = [&] { ++menuClicks; };
  action.trigger();
  EXPECT_EQ(menuClicks, 1);
  EXPECT_TRUE(action.isChecked());  // checking is left to the handler
  item.SetChecked(false);
  EXPECT_FALSE(action.isChecked());
}

// A close from the title bar asks the form, which may refuse it; a close the form asked for
// itself (it has unloaded already) runs neither handler.
TEST_F(BinderTest, AWindowCloseAsksTheFormAndACloseItRequestedDoesNot) {
  Window form("frmTest");
  bool refuse = true;
  std::vector<std::string> calls;
  form.OnQueryUnload = [&](bool& cancel) {
    calls.push_back("query");
    cancel = refuse;
  };
  form.OnUnload = [&] { calls.push_back("unload"); };
  QWidget window;
  binder.Bind(&window, &window, form);
  window.show();

  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  refuse = false;
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(calls, (std::vector<std::string>{"query", "query", "unload"}));

  window.show();
  form.RequestClose();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(BinderTest, MakeCreatesTheWidgetNamedAfterItsControlAndBindsIt) {
  Label label("lblStatus", "Ready");
  auto* w = binder.Make<QLabel>(&parent, label, Binder::Geometry::InLayout);
  EXPECT_EQ(w->parent(), &parent);
  EXPECT_EQ(w->objectName(), "lblStatus");
  EXPECT_EQ(w->text(), "Ready");
  label.SetCaption("Done");
  EXPECT_EQ(w->text(), "Done");
}

TEST(QtFileFilter, MatchesBothCasesOfTheExtension) {
  EXPECT_EQ(QtFileFilter("WAV, MP3|*.wav;*.mp3"), "WAV, MP3 (*.wav *.WAV *.mp3 *.MP3)");
  EXPECT_EQ(QtFileFilter("All|*.*"), "All (*.*)");
}

}  // namespace
}  // namespace korvalin
