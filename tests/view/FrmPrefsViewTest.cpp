// The Preferences dialog through the real widgets, opened from the main window's toolbar, with
// the settings in their INI file.

#include "settings/view/FrmPrefsView.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "app/view/Form1View.h"
#include "platform/qtcore/QtSettingsStore.h"
#include "tests/support/FakeServices.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

class FrmPrefsViewTest : public ::testing::Test {
 protected:
  FrmPrefsViewTest() { form.Form_Load(); }

  template <typename W>
  W* Child(const char* name) {
    auto* w = view.PrefsView()->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // The line of the INI file that holds `key`, "" when there is none.
  std::string IniLine(const std::string& key) {
    const std::string text = test::ReadFile(store.FilePath(kSettingsApplication));
    const std::size_t at = text.find("\n" + key + "=");
    return at == std::string::npos ? "" : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
  }
  void ClickBox(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
  }

  QApplication& app = test::QtApp();
  test::FakeServices fake;
  test::TempDir config;
  QtSettingsStore store{config.Path()};
  Services services = fake.With({.store = &store});
  ProgramJobs formJobs{services};
  Form1 form{services, formJobs};
  Form1View view{form};
};

TEST_F(FrmPrefsViewTest, OpenedFromTheToolbarItsTabsShowTheirControlsAndATickReachesTheIniFile) {
  FrmPrefsView* prefs = view.PrefsView();
  EXPECT_FALSE(prefs->isVisible());  // loaded hidden at start
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QTest::mouseClick(view.findChild<QToolButton*>("Copt"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(prefs));
  EXPECT_EQ(prefs->windowTitle(), "Preferences");

  auto* tabs = Child<QTabWidget>("SSTab1");
  ASSERT_EQ(tabs->count(), 6);
  EXPECT_EQ(tabs->tabText(0), "Disk Space");
  EXPECT_EQ(tabs->tabText(1), "Audio, Misc.");
  EXPECT_EQ(tabs->tabText(2), " Destination Path");
  EXPECT_EQ(Child<QCheckBox>("Check6")->text(), "Warn me when hard drive space falls below");
  EXPECT_EQ(Child<QLineEdit>("Text8")->text(), "50");

  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  EXPECT_EQ(form.windows.prefs.SSTab1.Tab(), 1);
  auto* deleteWav = Child<QCheckBox>("Check3");
  EXPECT_EQ(deleteWav->text(), "Delete WAV file after encoding (2 stage extraction only)");
  ASSERT_TRUE(deleteWav->isVisible());
  EXPECT_EQ(IniLine("Delete WAV"), "Delete WAV=1");  // ticked at load, as stored
  ClickBox(deleteWav);
  EXPECT_EQ(IniLine("Delete WAV"), "Delete WAV=0");
  EXPECT_EQ(form.settings.DeleteWAV, 0);
  ClickBox(deleteWav);
  EXPECT_EQ(IniLine("Delete WAV"), "Delete WAV=1");

  auto* mute = Child<QPushButton>("Check1");
  EXPECT_EQ(mute->toolTip(), "Mute (Silent copy)");
  EXPECT_TRUE(mute->isChecked());
  QTest::mouseClick(mute, Qt::LeftButton);
  EXPECT_EQ(mute->text(), "Play");
  EXPECT_EQ(IniLine("mute button"), "mute button=0");
  EXPECT_EQ(Child<QComboBox>("cbxFormat")->currentText(), "44.100Hz, 16bit Stereo, 172k/sec");

  // A threshold typed into its box is saved as the key is released.
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  auto* warning = Child<QLineEdit>("Text7");
  warning->selectAll();
  QTest::keyClicks(warning, "250");
  EXPECT_EQ(IniLine("HDWarningNo"), "HDWarningNo=250");
  EXPECT_EQ(form.settings.HDWarningNo, 250);

  // Closing saves the lists and unloads the dialog; the menu command shows it again.
  prefs->close();
  EXPECT_FALSE(form.windows.prefs.window.Loaded());
  EXPECT_EQ(IniLine("Encoding bitrate"), "Encoding bitrate=5");
  form.mnuGetMainPrefs.Click();
  EXPECT_TRUE(prefs->isVisible());
}

TEST_F(FrmPrefsViewTest, WhatTheBoxesShowIsWhatIsKeptAndTheMainWindowFollowsAtOnce) {
  FrmPrefsView* prefs = view.PrefsView();
  form.windows.prefs.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(prefs));

  // A threshold the setting cannot hold: the fifth key is refused, and the box keeps what is stored.
  auto* warning = Child<QLineEdit>("Text7");
  warning->selectAll();
  QTest::keyClicks(warning, "90000");
  EXPECT_EQ(warning->text(), "9000");
  EXPECT_EQ(IniLine("HDWarningNo"), "HDWarningNo=9000");
  EXPECT_EQ(form.settings.HDWarningNo, 9000);

  // Bitrate and quality chosen here show in the main window's lists and go into the next job.
  form.windows.prefs.SSTab1.SetTab(1);
  auto* bitrate = Child<QComboBox>("Combo2");
  auto* quality = Child<QComboBox>("Combo1");
  QTest::keyClick(bitrate, Qt::Key_Down);
  QTest::keyClick(quality, Qt::Key_Down);
  EXPECT_EQ(bitrate->currentText(), "96");
  EXPECT_EQ(view.findChild<QComboBox*>("cmbBitrate")->currentText(), "96");
  EXPECT_EQ(view.findChild<QComboBox*>("cmbQuality")->currentText(), quality->currentText());
  EXPECT_EQ(form.ReadJobOptions().bitrate, 96);
  EXPECT_EQ(form.ReadJobOptions().qualityIndex, quality->currentIndex());
  EXPECT_EQ(IniLine("Encoding bitrate"), "Encoding bitrate=6");
  // And the other way: the main window's choice is the one the dialog shows.
  form.options.cmbBitrate.SetListIndex(8);
  EXPECT_EQ(bitrate->currentText(), "128");

  // No mixer: said at the first opening that finds none, not at every one after it.
  fake.mixer.opens = false;
  for (int opening = 0; opening < 3; ++opening) {
    prefs->close();
    form.toolbar.Copt.Click();
  }
  const auto texts = fake.dialogs.MessageTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), kNoMixerMessage), 1);
}

TEST_F(FrmPrefsViewTest, TheAccuracyTabsBoxTurnsSecureReadingOnInTheIniFile) {
  form.windows.prefs.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.PrefsView()));
  auto* tabs = Child<QTabWidget>("SSTab1");
  EXPECT_EQ(tabs->tabText(3), "Accuracy");
  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
  auto* secure = Child<QCheckBox>("chkSecureReading");
  ASSERT_TRUE(secure->isVisible());
  EXPECT_EQ(secure->text(), "Secure reading");
  EXPECT_FALSE(secure->isChecked());
  EXPECT_TRUE(Child<QLabel>("lblSecureReading")->wordWrap());
  ClickBox(secure);
  EXPECT_EQ(IniLine("Secure reading"), "Secure reading=1");
  EXPECT_EQ(form.settings.SecureReading, 1);

  // The read offset beside it, typed.
  auto* offset = Child<QLineEdit>("txtReadOffset");
  ASSERT_TRUE(offset->isVisible());
  EXPECT_EQ(offset->text(), "0");
  offset->selectAll();
  QTest::keyClicks(offset, "+6");
  EXPECT_EQ(IniLine("Read offset correction"), "Read offset correction=6");
  EXPECT_EQ(form.settings.ReadOffset, 6);
}

TEST_F(FrmPrefsViewTest, TheDiscInformationTabTurnsTheLookUpOffAndTakesAnAddressAsTyped) {
  form.windows.prefs.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.PrefsView()));
  auto* tabs = Child<QTabWidget>("SSTab1");
  EXPECT_EQ(tabs->tabText(4), "Disc Information");
  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(4).center());
  auto* online = Child<QCheckBox>("chkLookupOnline");
  ASSERT_TRUE(online->isVisible());
  EXPECT_TRUE(online->isChecked());  // on unless turned off
  auto* address = Child<QLineEdit>("txtMusicBrainzUrl");
  EXPECT_EQ(address->text(), "https://musicbrainz.org");
  address->selectAll();
  QTest::keyClicks(address, "http://127.0.0.1:8000");
  EXPECT_EQ(IniLine("MusicBrainz URL"), "MusicBrainz URL=http://127.0.0.1:8000");
  ClickBox(online);
  EXPECT_EQ(IniLine("Look up disc information"), "Look up disc information=0");
  EXPECT_FALSE(address->isEnabled());
}

TEST_F(FrmPrefsViewTest, TheTagsAndNamesTabSavesTheTemplateAsTypedAndPreviewsTheNames) {
  form.windows.prefs.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.PrefsView()));
  auto* tabs = Child<QTabWidget>("SSTab1");
  EXPECT_EQ(tabs->tabText(5), "Tags and Names");
  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(5).center());
  auto* naming = Child<QCheckBox>("chkNameFromTags");
  ASSERT_TRUE(naming->isVisible());
  EXPECT_EQ(naming->text(), "Name files from the disc information");
  EXPECT_FALSE(naming->isChecked());
  EXPECT_EQ(Child<QComboBox>("cmbTagVersion")->currentText(), "ID3v2.3");
  auto* preview = Child<QListWidget>("lstNamePreview");
  ASSERT_GT(preview->count(), 0);
  EXPECT_EQ(preview->item(0)->text(), "The Example Band/First Light/01 - Morning Tide.mp3");

  auto* box = Child<QLineEdit>("txtNameTemplate");
  box->selectAll();
  QTest::keyClicks(box, "%year% %album%/%track%. %title%");
  EXPECT_EQ(IniLine("Name template"), "Name template=%year% %album%/%track%. %title%");
  EXPECT_EQ(preview->item(0)->text(), "2001 First Light/01. Morning Tide.mp3");
  ClickBox(naming);
  EXPECT_EQ(IniLine("Name files from the disc information"), "Name files from the disc information=1");
  EXPECT_EQ(form.ReadJobOptions().nameTemplate, "%year% %album%/%track%. %title%");
  EXPECT_TRUE(form.ReadJobOptions().nameFromTags);
}

TEST_F(FrmPrefsViewTest, TheDestinationTabCreatesTheNamedFolderInTheOneChosenInTheTree) {
  const std::string settled = fake.programFolder / "WAVFiles";
  EXPECT_EQ(form.settings.DecodePath, settled);
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  " + settled + "/");
  form.windows.prefs.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.PrefsView()));
  form.windows.prefs.SSTab1.SetTab(2);
  EXPECT_EQ(Child<QLineEdit>("Text9")->text().toStdString(), settled);
  EXPECT_FALSE(Child<QWidget>("Picture6")->isVisible());

  // A folder chosen in the tree.
  test::TempDir parent;
  auto* tree = Child<QTreeView>("Dir2");
  auto* model = static_cast<QFileSystemModel*>(tree->model());
  tree->setCurrentIndex(model->index(QString::fromStdString(parent.Path())));
  EXPECT_EQ(form.windows.prefs.Text9.Text(), parent.Path());
  EXPECT_EQ(IniLine("DecodePath"), "DecodePath=" + parent.Path());

  ClickBox(Child<QCheckBox>("Check2"));
  EXPECT_TRUE(Child<QWidget>("Picture6")->isVisible());
  EXPECT_EQ(Child<QLabel>("lblCreate2")->text(),
            "2. Use the file controls on your right to select a parent drive and directory.");
  auto* name = Child<QLineEdit>("Text10");
  EXPECT_EQ(name->text(), "WAVFiles");  // the name last settled
  name->selectAll();
  QTest::keyClicks(name, "Rips");
  QTest::mouseClick(Child<QPushButton>("Co111"), Qt::LeftButton);
  EXPECT_TRUE(test::Exists(parent / "Rips"));
  EXPECT_EQ(form.settings.DecodePath, parent / "Rips");
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  " + (parent / "Rips") + "/");  // at once
  EXPECT_EQ(IniLine("DecodePath"), "DecodePath=" + (parent / "Rips"));
  EXPECT_FALSE(Child<QWidget>("Picture6")->isVisible());
}

}  // namespace
}  // namespace korvalin
