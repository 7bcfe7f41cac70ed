// Start-up: the real services, the main window and its view, then the event loop.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/view/Form1View.h"
#include "jobs/ProgramJobs.h"
#include "platform/qt/CloseOnSignal.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/DisplayCheck.h"
#include "platform/qt/QtWebBrowser.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
  using namespace korvalin;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      std::fputs(kStartUsage, stdout);
      return 0;
    }
  }
  const DisplayCheck display;  // held while Qt connects
  if (!display.Problem().empty()) {
    std::fputs(display.Problem().c_str(), stderr);
    return 1;
  }

  // The finder's web browser: its flags are settled and its drawing contexts shared before the
  // application starts.
  PrepareWebEngine();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Korvalin");
  QApplication::setOrganizationName("Korvalin");
  // Ties the windows to the desktop entry (its name and icon in task bars and docks).
  QGuiApplication::setDesktopFileName("org.korvalin.Korvalin");

  DesktopServices desktop;
  // The jobs run on one runner for the whole program; the main window starts them and follows them.
  ProgramJobs jobs(desktop.services);
  Form1 form(desktop.services, jobs);
  Form1View view(form);
  QtDialogs& dialogs = desktop.Dialogs();
  dialogs.SetParent(&view);
  // SIGTERM, SIGINT and SIGHUP close the window as the user would, once it has loaded.
  CloseOnSignal closeOnSignal(dialogs, view);
  // What a file manager's "Open with" hands over; Qt has taken its own options out already.
  std::vector<std::string> args;
  for (const QString& a : QCoreApplication::arguments().mid(1)) args.push_back(a.toStdString());
  const StartArguments given = ReadStartArguments(args, desktop.DrivePaths());
  for (const auto& sentence : given.complaints) std::fprintf(stderr, "%s\n", sentence.c_str());
  form.Form_Load();
  ApplyStartArguments(form, given);
  // A settings file that cannot be read is named (the defaults are in use and it is left as it is).
  if (const std::string problem = desktop.SettingsProblem(kSettingsApplication); !problem.empty()) {
    std::fprintf(stderr, "korvalin: %s\n", problem.c_str());
    QTimer::singleShot(0, &view, [&dialogs, problem] {
      dialogs.MsgBox(problem, MsgBoxButtons::OK, MsgBoxIcon::Exclamation, "Settings");
    });
  }
  closeOnSignal.Loaded();
  return QApplication::exec();
}
