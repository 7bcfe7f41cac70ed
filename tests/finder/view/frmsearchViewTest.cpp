#include "finder/view/frmsearchView.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QUrlQuery>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <filesystem>

#include "finder/InternetSearch.h"

#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"
#include "tests/support/ScriptedDialogs.h"
#include <QDeadlineTimer>
#include <algorithm>

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
  test::FakeServices fake;
  test::ScriptedEventLoop& loop = fake.loop;
  test::ScriptedDialogs& dialogs = fake.dialogs;
  frmsearch form{fake.services};
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

TEST_F(FinderViewTest, TheEngineBoxHoldsWhatWasTypedAndEnterAddsNoEntry) {
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  Child<QTabWidget>("SSTab1")->setCurrentIndex(1);
  auto* engine = Child<QComboBox>("search1");
  // Completion works only in the focused box of the active window, as a user types.
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  engine->setFocus();
  engine->lineEdit()->selectAll();
  QTest::keyClicks(engine->lineEdit(), "Go");  // "Goto" and "Google" begin so too
  EXPECT_EQ(engine->currentText(), "Go");
  EXPECT_EQ(form.search1.Text(), "Go");
  engine->lineEdit()->selectAll();
  QTest::keyClicks(engine->lineEdit(), "Lycos");  // no engine of the program
  QTest::keyClick(engine->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(engine->count(), 5);
  EXPECT_EQ(form.search1.ListCount(), 5);
  EXPECT_EQ(engine->currentText(), "Lycos");
}

// Records what the browser asks for and lets nothing through: the tests never reach a network,
// and a blocked request ends its load at once.
class BlockingRecorder : public QWebEngineUrlRequestInterceptor {
 public:
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    requested << info.requestUrl();
    info.block(true);
  }
  QList<QUrl> requested;
};

// Waits until the spy has caught a signal. A quit left over from an earlier test can end one
// wait early, so waiting goes on until the signal or the deadline.
bool WaitForSignal(QSignalSpy& spy) {
  QDeadlineTimer deadline(60000);
  while (spy.isEmpty() && !deadline.hasExpired()) spy.wait(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
  return !spy.isEmpty();
}

// A query value as a server reads it: "+" is a blank, %XX the byte it stands for.
QString ServerValue(const QUrl& url, const QString& key) {
  QString raw = QUrlQuery(url).queryItemValue(key, QUrl::FullyEncoded);
  raw.replace('+', ' ');
  return QUrl::fromPercentEncoding(raw.toUtf8());
}

TEST_F(FinderViewTest, TheBrowserShowsTheStartPageOnActivationAndASearchGoesToTheEnginesUrl) {
  test::TempDir programFolder;
  std::filesystem::create_directory(programFolder / "pictures");
  form.SetProgramFolder(programFolder.Path());
  QWebEngineView* web = view.WebView();
  ASSERT_EQ(web, Child<QWebEngineView>("Web1"));
  QSignalSpy loads(web, &QWebEngineView::loadFinished);
  form.Show();  // shown is activated
  ASSERT_TRUE(WaitForSignal(loads));
  EXPECT_TRUE(loads.takeFirst().at(0).toBool());
  EXPECT_EQ(web->url(), QUrl::fromLocalFile(QString::fromStdString(programFolder / "Templat1.htm")));
  EXPECT_EQ(web->title(), "title");

  BlockingRecorder recorder;
  web->page()->profile()->setUrlRequestInterceptor(&recorder);
  Child<QTabWidget>("SSTab1")->setCurrentIndex(1);
  EXPECT_EQ(Child<QLabel>("Label4")->text(), "ENGINE:");
  auto* engine = Child<QComboBox>("search1");
  ASSERT_EQ(engine->count(), 5);
  EXPECT_EQ(engine->currentText(), "search1");  // filled, yet showing its design text
  engine->setEditText("Google");
  auto* keywords = Child<QLineEdit>("Text3");
  keywords->selectAll();
  const QString typed = "rock & roll #1 100%";
  QTest::keyClicks(keywords, typed);
  QTest::mouseClick(Child<QPushButton>("Cmdwebsearch"), Qt::LeftButton);
  ASSERT_TRUE(WaitForSignal(loads));
  EXPECT_FALSE(loads.takeFirst().at(0).toBool());  // blocked: the browser's own error page, no message
  EXPECT_TRUE(dialogs.messages.empty());
  const QString expected = QString::fromStdString(*SearchUrl("Google", typed.toStdString()));
  EXPECT_EQ(web->url().toString(QUrl::FullyEncoded), expected);
  ASSERT_FALSE(recorder.requested.isEmpty());
  const QUrl sent = recorder.requested.first();
  EXPECT_EQ(sent.host(), "www.google.com");
  EXPECT_EQ(ServerValue(sent, "q"), typed);
  EXPECT_EQ(ServerValue(sent, "btnG"), "Google Search");
  web->page()->profile()->setUrlRequestInterceptor(nullptr);

  // Enter searches too, then empties the engine box: the next Enter has no engine.
  QTest::keyClick(keywords, Qt::Key_Return);
  EXPECT_EQ(engine->currentText(), "");
  QTest::keyClick(keywords, Qt::Key_Return);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Opps");
}

TEST_F(FinderViewTest, ARightPressOnTheResultsOpensTheMenuForTheSelectedEntryOnly) {
  test::TempDir dir;
  test::MakeTree(dir.Path(), {"a.wav", "b.wav", "notes.txt"});
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  for (const char* name : {"a.wav", "b.wav", "notes.txt"}) form.lstfiles.AddItem(dir / name);
  auto* list = Child<QListWidget>("lstfiles");
  auto rowCentre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };

  form.lstfiles.SetListIndex(2);  // notes.txt
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, rowCentre(0));
  EXPECT_FALSE(view.ResultMenu()->isVisible());
  EXPECT_EQ(form.lstfiles.ListIndex(), 2);  // a right press does not select

  form.lstfiles.SetListIndex(1);
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, rowCentre(0));
  ASSERT_TRUE(view.ResultMenu()->isVisible());
  EXPECT_EQ(list->currentRow(), 1);
  QStringList captions;
  for (QAction* a : view.ResultMenu()->actions()) captions << a->text();
  EXPECT_EQ(captions, (QStringList{"Select for Conversion", "Remove File from list", "Delete File", "Close Window"}));
  view.ResultMenu()->actions()[1]->trigger();  // "Remove File from list": b, the selected one
  view.ResultMenu()->close();
  EXPECT_EQ(Texts(list), (QStringList{QString::fromStdString(dir / "a.wav"), QString::fromStdString(dir / "notes.txt")}));
  EXPECT_TRUE(test::Exists(dir / "b.wav"));

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));  // a left press selects
  EXPECT_EQ(form.lstfiles.ListIndex(), 0);
}

}  // namespace
}  // namespace korvalin
