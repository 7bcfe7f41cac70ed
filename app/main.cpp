// Start-up: the real services, the main window and its view, then the event loop.

#include <xcb/xcb.h>

#include <QApplication>
#include <QTimer>
#include <QIcon>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/view/Form1View.h"
#include "jobs/ProgramJobs.h"
#include "platform/linux/AlsaMixer.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/DiscFolders.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "platform/linux/Mpg123Player.h"
#include "platform/UserFolders.h"
#include "platform/linux/SignalExceptionFilter.h"
#include "platform/qtcore/QtSettingsStore.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/LibraryVersions.h"
#include "platform/linux/LibDiscId.h"
#include "platform/linux/TagLibTags.h"
#include "platform/linux/ProgramFolder.h"
#include "platform/qt/HelpWindow.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventLoop.h"
#include "settings/Settings.h"
#include "platform/qt/QtNotificationArea.h"
#include "platform/qt/QuitOnSignal.h"
#include "platform/qt/QtWebBrowser.h"

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Qt ends the process abruptly when it cannot reach a display; find out first and say so.
bool DisplayReachable(std::string& why) {
  if (!Env("QT_QPA_PLATFORM").empty() || !Env("WAYLAND_DISPLAY").empty()) return true;
  if (Env("DISPLAY").empty()) {
    why = "no display: DISPLAY and WAYLAND_DISPLAY are unset";
    return false;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const bool ok = c && xcb_connection_has_error(c) == 0;
  if (c) xcb_disconnect(c);
  if (!ok) why = "cannot connect to the display \"" + Env("DISPLAY") + "\"";
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      std::fputs(korvalin::kStartUsage, stdout);
      return 0;
    }
  }
  std::string why;
  if (!DisplayReachable(why)) {
    std::fprintf(stderr,
                 "korvalin: %s.\n"
                 "Start it from a desktop session, or run headless with QT_QPA_PLATFORM=offscreen;\n"
                 "korvalin-cli does the same jobs without a window.\n",
                 why.c_str());
    return 1;
  }

  // The finder's web browser: its flags are settled and its drawing contexts shared before the
  // application starts.
  korvalin::PrepareWebEngine();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Korvalin");
  QApplication::setOrganizationName("Korvalin");
  // Ties the windows to the desktop entry (its name and icon in task bars and docks).
  QGuiApplication::setDesktopFileName("org.korvalin.Korvalin");

  using namespace korvalin;
  QtEventLoop loop;
  QtDialogs dialogs;
  controls::Screen screen;
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    screen.SetSize(TwipsFromPixels(s->size().width()), TwipsFromPixels(s->size().height()));
  }
  const std::string programFolder = ProgramFolder();
  QApplication::setWindowIcon(QIcon::fromTheme(
      "org.korvalin.Korvalin", QIcon(QString::fromStdString(ProgramDataFolder(programFolder) + "/pictures/korvalin.svg"))));
  const std::vector<CdDriveSource> drives = CdioLibrary::FindDrives(DiscImageFolders(programFolder));
  CdioLibrary cdLibrary(drives);
  LameEncoderLibrary encoder;
  QtSettingsStore store;
  // The recorder's source: the sound card's input, or the loopback when KORVALIN_CAPTURE asks for it.
  MediaCommandInterpreter media(drives, "default", CaptureSourceFromEnvironment());
  SignalExceptionFilter exceptionFilter;
  QtHelpViewer help;
  AlsaMixer mixer;
  LibDiscId discIds;
  CurlHttpClient http;
  TagLibTags tags;
  QtNotificationArea tray(ProgramDataFolder(programFolder) + "/pictures");
  Services services{
      .loop = loop,
      .dialogs = dialogs,
      .screen = screen,
      .cdLibrary = cdLibrary,
      .encoder = encoder,
      .store = store,
      .media = media,
      .exceptionFilter = exceptionFilter,
      .help = help,
      .makeMp3Player = [] { return std::make_unique<Mpg123Player>(); },
      .programFolder = programFolder,
      .mixer = mixer,
      .notificationArea = tray,
      .libraries = LibraryVersions("Qt " + std::string(qVersion())),
      .discIds = discIds,
      .http = http,
      .tags = tags,
  };

  // The jobs run on one runner for the whole program; the main window starts them and follows them.
  ProgramJobs jobs(services);
  Form1 form(services, jobs);
  Form1View view(form);
  dialogs.SetParent(&view);
  // A request to end from outside (SIGTERM, SIGINT, SIGHUP) closes the window as the user would.
  // Nobody is there to answer a dialog: those open are closed and later ones answered at once,
  // so a box the load or a job is showing never keeps the program alive. One that comes while
  // the window loads is carried out once the event loop runs.
  bool loading = true, quitAsked = false;
  QuitOnSignal quitOnSignal([&] {
    dialogs.EndAll();
    if (!loading) {
      view.close();
      return;
    }
    quitAsked = true;
  });
  // What a file manager's "Open with" hands over; Qt has taken its own options out already.
  std::vector<std::string> args, drivePaths;
  for (const QString& a : QCoreApplication::arguments().mid(1)) args.push_back(a.toStdString());
  for (const auto& d : drives) drivePaths.push_back(d.path);
  const StartArguments given = ReadStartArguments(args, drivePaths);
  for (const auto& sentence : given.complaints) std::fprintf(stderr, "%s\n", sentence.c_str());
  form.Form_Load();
  ApplyStartArguments(form, given);
  loading = false;
  // A settings file that cannot be read is named (the defaults are in use and it is left as it is).
  if (const std::string problem = store.Problem(kSettingsApplication); !problem.empty()) {
    std::fprintf(stderr, "korvalin: %s\n", problem.c_str());
    QTimer::singleShot(0, &view, [&dialogs, problem] {
      dialogs.MsgBox(problem, MsgBoxButtons::OK, MsgBoxIcon::Exclamation, "Settings");
    });
  }
  if (quitAsked) QTimer::singleShot(0, &view, [&view] { view.close(); });
  return QApplication::exec();
}
