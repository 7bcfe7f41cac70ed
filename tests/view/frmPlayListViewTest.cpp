// The Playlist Editor on screen, opened from the main window's toolbar: files typed in and added,
// one delisted, one clicked and its header read into the header view.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/view/Form1View.h"
#include "tests/support/AudioTools.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/ScopedEnv.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

QStringList Texts(const QListWidget* w) {
  QStringList out;
  for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
  return out;
}

TEST(frmPlayListView, OpenedFromTheMainWindowAddsDelistsAndReadsAHeader) {
  test::QtApp();
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  Form1View view(form);
  form.Form_Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  test::TempDir dir;
  const std::string one = dir / "one.mp3", two = dir / "two.mp3";
  const std::string mp3 = test::EncodeMp3(discgen::MusicBytes(44100, 7), 44100, 2, 160);
  test::WriteFile(one, mp3);
  test::WriteFile(two, mp3);

  QTest::mouseClick(view.findChild<QToolButton*>("C5555555"), Qt::LeftButton);
  QWidget* editor = view.PlaylistEditorView();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
  EXPECT_EQ(editor->windowTitle(), "Playlist Editor");
  auto* current = editor->findChild<QLineEdit*>("Text5");
  auto* add = editor->findChild<QPushButton*>("Command20");
  auto* playlist = editor->findChild<QListWidget*>("List2");
  ASSERT_TRUE(current && add && playlist);
  EXPECT_EQ(current->toolTip(), "Currently editing this file");
  EXPECT_EQ(add->text(), "Add to PlayList");
  for (const auto& path : {one, two}) {
    current->clear();
    QTest::keyClicks(current, QString::fromStdString(path));
    QTest::mouseClick(add, Qt::LeftButton);
  }
  EXPECT_EQ(Texts(playlist), (QStringList{QString::fromStdString(one), QString::fromStdString(two)}));
  EXPECT_EQ(current->text(), "");

  // Choosing the first line reads its header; "Delist" then removes it.
  QTest::mouseClick(playlist->viewport(), Qt::LeftButton, {}, playlist->visualItemRect(playlist->item(0)).center());
  EXPECT_EQ(current->text(), QString::fromStdString(one));
  auto* header = editor->findChild<QListWidget*>("List1");
  ASSERT_EQ(header->count(), 12);
  EXPECT_EQ(header->item(0)->text(), "Bitrate            160");
  EXPECT_EQ(editor->findChild<QLineEdit*>("Text4_7")->text(), "False");
  QTest::mouseClick(editor->findChild<QPushButton*>("Command6"), Qt::LeftButton);
  EXPECT_EQ(Texts(playlist), (QStringList{QString::fromStdString(two)}));
  const auto howMany = fake.store.values.find({"Korvalin v2.0", "music", "HowMany"});
  ASSERT_NE(howMany, fake.store.values.end());
  EXPECT_EQ(howMany->second, "1");

  // The Sound Mixer button unloads the editor (and finds no mixer program to start).
  test::TempDir noPrograms;
  test::ScopedEnv path("PATH", noPrograms.Path().c_str());
  QTest::mouseClick(view.findChild<QToolButton*>("Command4"), Qt::LeftButton);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_FALSE(form.windows.playlistEditor.window.Loaded());
}

}  // namespace
}  // namespace korvalin
