// Stopping a rip through the real window: each stop command ends it after the block in hand with
// a valid, shorter file, and closing the window during it ends the program's event loop.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "app/view/Form1View.h"
#include "fileout/StagedOutput.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/TrackBuffer.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/WavAnalysis.h"
#include "tests/view/QtTestApp.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

constexpr int64_t kBlockBytes = TrackBuffer::kFramesPerBlock * 2352;

// Until the job ends its output is a temporary file beside the final name: that file's size.
int64_t BytesWrittenFor(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('/')), dotName = "." + path.substr(folder.size() + 1);
  long pid = 0;
  for (const std::string& name : test::NamesIn(folder)) {
    if (IsStagedTemporaryName(name, pid) && name.rfind(dotName, 0) == 0) return test::FileSize(folder + "/" + name);
  }
  return -1;
}

// The main window on screen over a disc image of two long tracks, "Available Tracks" chosen,
// ripping to WAV.
struct RipWindow {
  RipWindow() {
    fake.media.trackMs = {20000, 20000};
    form.Form_Load();
    form.options.optWAV.SetValue(true);
    test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
  }
  // Runs `action` inside the n-th yield of the rip, noting how much of the file was on disk then.
  void At(int yield, std::function<void()> action) {
    fake.loop.AtYield(yield, [this, action = std::move(action)] {
      pathAtStop = form.jobs.state.CurrentOutputPath;
      bytesAtStop = BytesWrittenFor(pathAtStop);
      action();
    });
  }
  void ClickStart() { QTest::mouseClick(view.findChild<QToolButton*>("CmdSelectAction"), Qt::LeftButton); }

  test::FakeServices fake;
  test::TempDir discs;
  const std::string track1 = discgen::MusicCdFrames(75 * 20, 3);
  CdioLibrary library{{CdioLibrary::ImageDrive(
      discgen::WriteDiscImage(discs.Path(), "long", {track1, discgen::MusicCdFrames(75 * 20, 4)}))}};
  Services services = fake.With(library);
  ProgramJobs formJobs{services};
  Form1 form{services, formJobs};
  Form1View view{form};
  std::string pathAtStop;
  int64_t bytesAtStop = 0;
};

// The stopped track's file: one more block at most than was on disk at the stop, a header that
// tells the truth, and the disc's own audio. No second track was started.
void ExpectStoppedWithinOneBlock(RipWindow& rip) {
  ASSERT_EQ(test::Inside(rip.form.collection).List1.ListCount(), 1);
  const std::string path = test::Inside(rip.form.collection).List1.List(0);
  EXPECT_EQ(path, rip.pathAtStop);
  const std::string bytes = test::ReadFile(path);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav);
  EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_GT(rip.bytesAtStop, 44);
  EXPECT_LE(static_cast<int64_t>(bytes.size()), rip.bytesAtStop + kBlockBytes);
  EXPECT_TRUE(bytes.substr(44) == rip.track1.substr(0, bytes.size() - 44));
}

TEST(JobStopView, EveryStopCommandEndsARipAfterTheBlockInHand) {
  const std::pair<const char*, std::function<void(RipWindow&)>> stops[] = {
      {"Stop", [](RipWindow& r) { QTest::mouseClick(r.view.findChild<QToolButton*>("Command1"), Qt::LeftButton); }},
      {"Stop Everything", [](RipWindow& r) { QTest::mouseClick(r.view.findChild<QPushButton*>("Command8"), Qt::LeftButton); }},
      {"Action > Stop", [](RipWindow& r) { r.form.mnuStop.Click(); }}};
  for (const auto& [name, stop] : stops) {
    SCOPED_TRACE(name);
    RipWindow rip;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rip.view));
    rip.At(6, [&rip, &stop] { stop(rip); });
    rip.ClickStart();
    ExpectStoppedWithinOneBlock(rip);
    EXPECT_TRUE(rip.form.toolbar.CmdSelectAction.Enabled());
  }
}

TEST(JobStopView, ClosingTheWindowDuringARipEndsItAndTheEventLoop) {
  RipWindow rip;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&rip.view));
  rip.At(6, [&rip] { rip.view.close(); });
  QTimer::singleShot(0, [&rip] { rip.ClickStart(); });
  bool gaveUp = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    gaveUp = true;
    rip.form.jobs.flags.CancelRequested = kTrue;  // let a rip that did not stop end, so the test can
    QCoreApplication::exit(1);
  });
  guard.start(60000);
  const int result = test::QtApp().exec();
  EXPECT_FALSE(gaveUp) << "the event loop did not return";
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(rip.form.Unloaded());
  EXPECT_FALSE(rip.view.isVisible());  // the job's end does not show the window again
  ExpectStoppedWithinOneBlock(rip);
}

}  // namespace
}  // namespace korvalin
